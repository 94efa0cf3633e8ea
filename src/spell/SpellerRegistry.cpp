// The speller registration over the dictionary folders.
#include "spell/SpellerRegistry.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "platform/Environment.h"

namespace orvo {

// Letters beyond ASCII are written as octal escapes (Windows-1252), which take at most three
// digits and so never run into the letters that follow.
const std::vector<LanguageInfo>& KnownLanguages() {
    static const std::vector<LanguageInfo> languages{
        {1026, "bg_BG", "Bulgaro", "Bulgarian", "balgarski", "BGR"},
        {1027, "ca_ES", "Catalano", "Catalan", "catal\340", "CAT"},
        {1029, "cs_CZ", "Ceco", "Czech", "\350e\232tina", "CSY"},
        {1030, "da_DK", "Danese", "Danish", "dansk", "DAN"},
        {1031, "de_DE", "Tedesco (Germania)", "German (Germany)", "Deutsch (Deutschland)", "DEU"},
        {1032, "el_GR", "Greco", "Greek", "Greek", "ELL"},
        {1033, "en_US", "Inglese (Stati Uniti)", "English (United States)",
         "English (United States)", "ENU"},
        {1035, "fi_FI", "Finlandese", "Finnish", "suomi", "FIN"},
        {1036, "fr_FR", "Francese (Francia)", "French (France)", "fran\347ais (France)", "FRA"},
        {1038, "hu_HU", "Ungherese", "Hungarian", "magyar", "HUN"},
        {1039, "is_IS", "Islandese", "Icelandic", "\355slenska", "ISL"},
        {1040, "it_IT", "Italiano", "Italian (Italy)", "italiano (Italia)", "ITA"},
        {1043, "nl_NL", "Olandese", "Dutch (Netherlands)", "Nederlands (Nederland)", "NLD"},
        {1044, "nb_NO", "Norvegese (Bokm\345l)", "Norwegian (Bokm\345l)", "norsk (bokm\345l)",
         "NOR"},
        {1045, "pl_PL", "Polacco", "Polish", "polski", "PLK"},
        {1046, "pt_BR", "Portoghese (Brasile)", "Portuguese (Brazil)", "portugu\352s (Brasil)",
         "PTB"},
        {1048, "ro_RO", "Rumeno", "Romanian", "rom\342n\343", "ROM"},
        {1049, "ru_RU", "Russo", "Russian", "Russian", "RUS"},
        {1050, "hr_HR", "Croato", "Croatian", "hrvatski", "HRV"},
        {1051, "sk_SK", "Slovacco", "Slovak", "sloven\350ina", "SKY"},
        {1053, "sv_SE", "Svedese", "Swedish (Sweden)", "svenska (Sverige)", "SVE"},
        {1055, "tr_TR", "Turco", "Turkish", "T\374rk\347e", "TRK"},
        {1060, "sl_SI", "Sloveno", "Slovenian", "sloven\232\350ina", "SLV"},
        {1061, "et_EE", "Estone", "Estonian", "eesti", "ETI"},
        {1062, "lv_LV", "Lettone", "Latvian", "latvie\232u", "LVI"},
        {1063, "lt_LT", "Lituano", "Lithuanian", "lietuviu", "LTH"},
        {1069, "eu_ES", "Basco", "Basque", "euskara", "EUQ"},
        {1110, "gl_ES", "Galiziano", "Galician", "galego", "GLC"},
        {2055, "de_CH", "Tedesco (Svizzera)", "German (Switzerland)", "Deutsch (Schweiz)", "DES"},
        {2057, "en_GB", "Inglese (Regno Unito)", "English (United Kingdom)",
         "English (United Kingdom)", "ENG"},
        {2058, "es_MX", "Spagnolo (Messico)", "Spanish (Mexico)", "espa\361ol (M\351xico)", "ESM"},
        {2060, "fr_BE", "Francese (Belgio)", "French (Belgium)", "fran\347ais (Belgique)", "FRB"},
        {2064, "it_CH", "Italiano (Svizzera)", "Italian (Switzerland)", "italiano (Svizzera)",
         "ITS"},
        {2067, "nl_BE", "Olandese (Belgio)", "Dutch (Belgium)", "Nederlands (Belgi\353)", "NLB"},
        {2068, "nn_NO", "Norvegese (Nynorsk)", "Norwegian (Nynorsk)", "norsk (nynorsk)", "NON"},
        {2070, "pt_PT", "Portoghese (Portogallo)", "Portuguese (Portugal)",
         "portugu\352s (Portugal)", "PTG"},
        {3079, "de_AT", "Tedesco (Austria)", "German (Austria)", "Deutsch (\326sterreich)", "DEA"},
        {3081, "en_AU", "Inglese (Australia)", "English (Australia)", "English (Australia)", "ENA"},
        {3082, "es_ES", "Spagnolo (Spagna)", "Spanish (Spain)", "espa\361ol (Espa\361a)", "ESN"},
        {3084, "fr_CA", "Francese (Canada)", "French (Canada)", "fran\347ais (Canada)", "FRC"},
        {4105, "en_CA", "Inglese (Canada)", "English (Canada)", "English (Canada)", "ENC"},
        {4108, "fr_CH", "Francese (Svizzera)", "French (Switzerland)", "fran\347ais (Suisse)",
         "FRS"},
        {5129, "en_NZ", "Inglese (Nuova Zelanda)", "English (New Zealand)", "English (New Zealand)",
         "ENZ"},
        {7177, "en_ZA", "Inglese (Sudafrica)", "English (South Africa)", "English (South Africa)",
         "ENS"},
    };
    return languages;
}

const LanguageInfo* FindLanguage(std::uint16_t id) {
    for (const LanguageInfo& language : KnownLanguages())
        if (language.id == id) return &language;
    return nullptr;
}

SpellerRegistry::SpellerRegistry(std::vector<std::filesystem::path> folders)
    : folders_(std::move(folders)) {}

std::optional<SpellerEntry> SpellerRegistry::Exact(std::uint16_t language) const {
    const LanguageInfo* info = FindLanguage(language);
    if (!info) return std::nullopt;
    for (const auto& folder : folders_) {
        std::error_code ec;
        const auto aff = folder / (std::string(info->tag) + ".aff");
        const auto dic = folder / (std::string(info->tag) + ".dic");
        if (std::filesystem::is_regular_file(aff, ec) && std::filesystem::is_regular_file(dic, ec))
            return SpellerEntry{language, aff, dic};
    }
    return std::nullopt;
}

std::optional<SpellerEntry> SpellerRegistry::Find(std::uint16_t language) const {
    if (auto exact = Exact(language)) return exact;
    const std::uint16_t primary = std::uint16_t((language & 0x3FF) + 0x400);
    if (primary != language) return Exact(primary);
    return std::nullopt;
}

std::vector<std::uint16_t> SpellerRegistry::Languages() const {
    std::vector<std::uint16_t> out;
    for (const LanguageInfo& language : KnownLanguages())
        if (Exact(language.id)) out.push_back(language.id);
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::filesystem::path> SystemDictionaryFolders() {
    std::vector<std::filesystem::path> folders;
    if (const char* dicpath = std::getenv("DICPATH")) {
        std::string_view list(dicpath);
        while (!list.empty()) {
            const std::size_t colon = list.find(':');
            const std::string_view one = list.substr(0, colon);
            if (!one.empty()) folders.emplace_back(std::string(one));
            if (colon == std::string_view::npos) break;
            list.remove_prefix(colon + 1);
        }
    }
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        folders.push_back(std::filesystem::path(data) / "hunspell");
    else if (const char* home = std::getenv("HOME"); home && *home)
        folders.push_back(std::filesystem::path(home) / ".local/share/hunspell");
    folders.emplace_back("/usr/local/share/hunspell");
    folders.emplace_back("/usr/share/hunspell");
    folders.emplace_back("/usr/share/myspell/dicts");
    return folders;
}

std::filesystem::path UserDictionaryPath(const Environment& environment) {
    return environment.UserDataDir() / "CUSTOM.DIC";
}

}  // namespace orvo
