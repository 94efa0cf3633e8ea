// What the editor needs of the background check's results: the stretches of a paragraph that
// its spelling flags mark (underlined in red), the misspelt word under a point, and the
// spelling menu offered on it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

class TQzSpellChecker;

/// A marked stretch of a paragraph: its first and last character index (both included).
struct SpellStretch {
    std::size_t first = 0;
    std::size_t last = 0;
    bool operator==(const SpellStretch&) const = default;
};

/// Every maximal run of "!" in a paragraph's spelling flags, in order.
std::vector<SpellStretch> SpellStretches(std::string_view spellFlags);
/// The stretch that holds character `index`; none when that character is not marked.
std::optional<SpellStretch> SpellStretchAt(std::string_view spellFlags, std::size_t index);

/// The items of the spelling menu.
enum class SpellMenuAction { Replace, None, Separator, IgnoreAll, Add, CheckSpelling };

struct SpellMenuItem {
    std::string caption;  // Windows-1252
    SpellMenuAction action = SpellMenuAction::None;
    bool enabled = true;
    std::string shortcut;
    bool operator==(const SpellMenuItem&) const = default;
};

inline constexpr std::string_view kNoSuggestion = "(nessun suggerimento)";

/// The menu for a misspelt word: the speller's suggestions (each replaces the word), or a
/// disabled "(nessun suggerimento)"; then "&Ignora tutti", "&Aggiungi" and "&Controllo
/// ortografia" (F7) between separators.
std::vector<SpellMenuItem> SpellMenuItems(TQzSpellChecker& checker, std::string_view word);

/// Carries out "&Ignora tutti" or "&Aggiungi" for the word; true when it was one of them (the
/// page's background check then starts again).
bool ApplySpellMenuAction(TQzSpellChecker& checker, SpellMenuAction action, std::string_view word);

}  // namespace orvo
