// The spelling marks of a paragraph and the spelling menu.
#include "spell/SpellMarks.h"

#include "spell/QzSpellers.h"

namespace orvo {

std::vector<SpellStretch> SpellStretches(std::string_view spellFlags) {
    std::vector<SpellStretch> stretches;
    for (std::size_t i = 0; i < spellFlags.size(); ++i) {
        if (spellFlags[i] != '!') continue;
        const std::size_t first = i;
        while (i + 1 < spellFlags.size() && spellFlags[i + 1] == '!') ++i;
        stretches.push_back({first, i});
    }
    return stretches;
}

std::optional<SpellStretch> SpellStretchAt(std::string_view spellFlags, std::size_t index) {
    if (index >= spellFlags.size() || spellFlags[index] != '!') return std::nullopt;
    std::size_t first = index, last = index;
    while (first > 0 && spellFlags[first - 1] == '!') --first;
    while (last + 1 < spellFlags.size() && spellFlags[last + 1] == '!') ++last;
    return SpellStretch{first, last};
}

std::vector<SpellMenuItem> SpellMenuItems(TQzSpellChecker& checker, std::string_view word) {
    std::vector<SpellMenuItem> items;
    std::vector<std::string> suggestions;
    checker.GetSuggestions(word, suggestions);
    for (std::string& suggestion : suggestions)
        items.push_back({std::move(suggestion), SpellMenuAction::Replace, true, {}});
    if (items.empty())
        items.push_back({std::string(kNoSuggestion), SpellMenuAction::None, false, {}});
    items.push_back({"-", SpellMenuAction::Separator, true, {}});
    items.push_back({"&Ignora tutti", SpellMenuAction::IgnoreAll, true, {}});
    items.push_back({"&Aggiungi", SpellMenuAction::Add, true, {}});
    items.push_back({"-", SpellMenuAction::Separator, true, {}});
    items.push_back({"&Controllo ortografia", SpellMenuAction::CheckSpelling, true, "F7"});
    return items;
}

bool ApplySpellMenuAction(TQzSpellChecker& checker, SpellMenuAction action, std::string_view word) {
    switch (action) {
        case SpellMenuAction::IgnoreAll:
            checker.IgnoreAll(word);
            return true;
        case SpellMenuAction::Add:
            checker.AddToUserDictionary(word);
            return true;
        default:
            return false;
    }
}

}  // namespace orvo
