// orvo-cli spell: the misspelt words of a hypertext's pages, with their place and the first
// suggestions, as lines or as JSON.
#include <charconv>
#include <ostream>
#include <string>

#include "CliCommand.h"
#include "base/Cp1252.h"
#include "model/HeaderRecord.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "spell/QzSpellers.h"
#include "spell/SpellPages.h"

namespace orvo::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: orvo-cli spell FILE [--page N] [--language ID] [--json]\n"
    "Lists the misspelt words of every page (or of page N): page, paragraph, offset, word and\n"
    "the first suggestions, one a line separated by tabs, or as a JSON array. The language is\n"
    "the hypertext's unless ID (1040 Italian, 1033 English, ...) is given. The exit status is 0\n"
    "whether or not words were found.";

bool ParseNumber(const std::string& text, long& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

void JsonString(std::ostream& out, std::string_view cp1252) {
    out << '"';
    for (char c : Cp1252ToUtf8(cp1252)) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out << '\\' << c;
        } else if (b < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            out << "\\u00" << kHex[b >> 4] << kHex[b & 15];
        } else {
            out << c;
        }
    }
    out << '"';
}

int Run(CliContext& context) {
    std::string file;
    long page = -1, language = -1;
    bool json = false;
    const auto& args = context.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--json") {
            json = true;
        } else if (args[i] == "--page" || args[i] == "--language") {
            long& target = args[i] == "--page" ? page : language;
            if (i + 1 >= args.size() || !ParseNumber(args[i + 1], target) || target < 0 ||
                target > 0xFFFFFF)
                return FailWith(context, kUsage);
            ++i;
        } else if (args[i].starts_with("--") || !file.empty()) {
            return FailWith(context, kUsage);
        } else {
            file = args[i];
        }
    }
    if (file.empty()) return FailWith(context, kUsage);
    TKYTset set(context.environment, context.messages);
    if (!set.LoadFromFile(Utf8ToCp1252(file))) return 1;
    if (language < 0) language = set.HeaderView().U16(kHdrLanguage);
    if (!FindLanguage(std::uint16_t(language)) || language > 0xFFFF)
        return FailWith(context, "Lingua sconosciuta: " + std::to_string(language));
    TQzSpellChecker checker(context.environment, context.messages);
    checker.SetLanguage(std::uint16_t(language));
    if (!checker.Open()) {
        // A dictionary that failed to load has been reported already.
        if (!checker.Entry())
            context.err << "Nessun dizionario installato per la lingua " << language << '\n';
        return 1;
    }
    std::vector<std::int32_t> pages;
    if (page >= 0) {
        if (!LivePage(set, std::int32_t(page)))
            return FailWith(context, "Pagina inesistente: " + std::to_string(page));
        pages.push_back(std::int32_t(page));
    } else {
        pages = LivePages(set);
    }
    const std::vector<SpellFinding> findings = CheckPages(set, checker, pages);
    std::ostream& out = context.out;
    if (json) out << '[';
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const SpellFinding& f = findings[i];
        if (json) {
            out << (i ? ",\n " : "\n ") << "{\"page\": " << f.page
                << ", \"paragraph\": " << f.paragraph << ", \"offset\": " << f.offset
                << ", \"length\": " << f.length << ", \"status\": " << f.status << ", \"word\": ";
            JsonString(out, f.word);
            out << ", \"suggestions\": [";
            for (std::size_t k = 0; k < f.suggestions.size(); ++k) {
                if (k) out << ", ";
                JsonString(out, f.suggestions[k]);
            }
            out << "]}";
        } else {
            out << f.page << '\t' << f.paragraph << '\t' << f.offset << '\t' << Cp1252ToUtf8(f.word)
                << '\t';
            for (std::size_t k = 0; k < f.suggestions.size(); ++k)
                out << (k ? ", " : "") << Cp1252ToUtf8(f.suggestions[k]);
            out << '\n';
        }
    }
    if (json) out << (findings.empty() ? "]\n" : "\n]\n");
    return 0;
}

const CliRegistration kSpell{{"spell", "misspelt words of the pages", kUsage, &Run}};

}  // namespace
}  // namespace orvo::cli
