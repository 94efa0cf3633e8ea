// The choices of "Nuovo ipertesto:" and the tips.
#include "app/NewHypertextRules.h"

#include <algorithm>
#include <iterator>
#include <system_error>

#include "base/Cp1252.h"
#include "base/Paths.h"
#include "platform/ISettings.h"

namespace orvo {

using namespace orvo::literals;

std::vector<NewHypertextChoice> NewHypertextChoices(
    const std::vector<std::filesystem::path>& folders, const std::string& preset) {
    std::vector<NewHypertextChoice> choices{{std::string(kEmptyHypertextCaption), ""}};
    std::vector<std::string> seen;
    for (const std::filesystem::path& folder : folders) {
        std::error_code ec;
        std::vector<std::filesystem::path> files;
        for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
             it.increment(ec)) {
            std::error_code kind;
            if (!it->is_regular_file(kind)) continue;
            const std::string name = NameOfPath(it->path().filename());
            if (ExtensionOf(name) != ".kyt") continue;
            files.push_back(it->path());
        }
        std::sort(files.begin(), files.end());
        for (const std::filesystem::path& file : files) {
            const std::string name = NameOfPath(file.filename());
            if (std::any_of(seen.begin(), seen.end(),
                            [&](const std::string& s) { return SameText1252(s, name); }))
                continue;
            seen.push_back(name);
            choices.push_back({std::string(StemOf(name)), NameOfPath(file)});
        }
    }
    if (!preset.empty() && PresetChoice(choices, preset) == 0)
        choices.insert(choices.begin() + 1, {std::string(StemOf(LastComponent(preset))), preset});
    return choices;
}

int PresetChoice(const std::vector<NewHypertextChoice>& choices, const std::string& preset) {
    if (preset.empty()) return 0;
    for (std::size_t i = 1; i < choices.size(); ++i)
        if (choices[i].document == preset) return int(i);
    return 0;
}

// A plain array first: clang 14 crashes on a vector braced from these literals.
constexpr std::string_view kTips[] = {
    "Per modificare un ipertesto passa al modo editor con il pulsante della barra "
    "strumenti; in anteprima i collegamenti si seguono con un clic."_cp,
    "Trascina un'immagine (.gif, .jpg, .bmp) su una pagina aperta in modifica per "
    "inserirla dove si trova il cursore."_cp,
    "\"Esporta Html...\" nel menu Pubblica scrive tutte le pagine scelte come sito, con "
    "le immagini e il foglio di stile."_cp,
    "La pubblicazione via FTP invia solo le pagine modificate dopo l'ultima versione "
    "presente sul server."_cp,
    "Nel pannello a sinistra l'indice mostra le pagine come albero; l'elenco le mostra "
    "tutte in ordine."_cp,
    "\"Nuovo da...\" crea un ipertesto partendo da un modello della cartella "
    "HypTemplates."_cp,
};

const std::vector<std::string_view>& Tips() {
    static const std::vector<std::string_view> tips(std::begin(kTips), std::end(kTips));
    return tips;
}

int NextTip(ISettings& settings) {
    const int count = int(Tips().size());
    int last = -1;
    if (auto stored = settings.Read("options", "TipNumber")) {
        const std::string& text = *stored;
        if (!text.empty() && text.size() < 6 &&
            std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
            last = std::stoi(text);
    }
    const int next = last < 0 ? 0 : (last + 1) % count;
    settings.Write("options", "TipNumber", std::to_string(next));
    return next;
}

}  // namespace orvo
