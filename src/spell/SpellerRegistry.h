// The speller registration: which dictionaries are installed for which language. Languages go by
// their 16-bit identifiers (1040 Italian, 1033 English of the United States, ...); a language
// is served by the Hunspell dictionary pair named after its locale (it_IT.aff and it_IT.dic)
// found in the dictionary folders, the user's first.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

class Environment;

/// A language the program can name: identifier, locale tag and its names.
struct LanguageInfo {
    std::uint16_t id;
    std::string_view tag;        // "it_IT"
    std::string_view localName;  // in the program's language (Windows-1252): "Italiano"
    std::string_view englishName;
    std::string_view nativeName;  // Windows-1252
    std::string_view abbreviation;
};

/// Every language the program knows, by identifier.
const std::vector<LanguageInfo>& KnownLanguages();
/// The language with that identifier, or none (an identifier that is not a valid locale).
const LanguageInfo* FindLanguage(std::uint16_t id);

/// A dictionary pair of one language.
struct SpellerEntry {
    std::uint16_t language = 0;
    std::filesystem::path aff;
    std::filesystem::path dic;
};

class SpellerRegistry {
public:
    /// Looks in `folders`, in order; the first pair found for a locale serves it.
    explicit SpellerRegistry(std::vector<std::filesystem::path> folders);

    /// The dictionary of the language; when it has none, that of its primary language with
    /// sub-language 1 ((id AND 0x3FF) + 0x400). None when neither is installed.
    std::optional<SpellerEntry> Find(std::uint16_t language) const;
    /// The identifiers of every language with a dictionary installed, in increasing order.
    std::vector<std::uint16_t> Languages() const;
    const std::vector<std::filesystem::path>& Folders() const { return folders_; }

private:
    std::optional<SpellerEntry> Exact(std::uint16_t language) const;
    std::vector<std::filesystem::path> folders_;
};

/// The dictionary folders of this machine: $DICPATH (colon-separated), the user's
/// ($XDG_DATA_HOME/hunspell, else ~/.local/share/hunspell), then /usr/local/share/hunspell,
/// /usr/share/hunspell and /usr/share/myspell/dicts.
std::vector<std::filesystem::path> SystemDictionaryFolders();

/// The user dictionary's file: "CUSTOM.DIC" in the user's data folder.
std::filesystem::path UserDictionaryPath(const Environment& environment);

}  // namespace orvo
