// orvo-cli search, replace and keywords: the search window's work on a hypertext file, the
// pages found with where the word stands, replacing a word in every page (or one) and saving,
// and the keywords with the pages that hold them.
#include <charconv>
#include <ostream>
#include <string>

#include "CliCommand.h"
#include "base/Cp1252.h"
#include "model/LegacyText.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "search/SearchPages.h"

namespace orvo::cli {
namespace {

std::string Json(std::string_view cp1252) {
    std::string out = "\"";
    for (char c : Cp1252ToUtf8(cp1252)) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (b < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[b >> 4];
            out += kHex[b & 15];
        } else {
            out += c;
        }
    }
    return out + '"';
}

std::string TitleOf(const TKYTset& set, std::int32_t page) {
    const TKYToggetto* object = LivePage(set, page);
    return object ? PageRecord::Read(*object).Title() : std::string();
}

constexpr std::string_view kSearchUsage =
    "Usage: orvo-cli search FILE TERM [--and T2] [--or T3 [--and T4]] [--whole-word]\n"
    "                       [--match-case] [--json]\n"
    "Lists the pages whose text holds TERM (and T2), or else T3 (and T4), as the search window's\n"
    "\"Tutte le pagine che rispondono al criterio\" does: one line a page with its number, the\n"
    "term found, its title and where the term stands in the page's text export (LINE:COLUMN,\n"
    "from 1), separated by tabs; or a JSON array. Case is ignored unless --match-case is given;\n"
    "--whole-word finds the term only as a word of its own. The exit status is 0 whether or\n"
    "not pages were found.";

int RunSearch(CliContext& context) {
    std::vector<std::string> operands;
    SearchTerms terms;
    int options = 0;
    bool json = false, inOr = false;
    bool haveSecond = false, haveThird = false, haveFourth = false;
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::string& arg = context.args[i];
        if (arg == "--and" || arg == "--or") {
            if (i + 1 >= context.args.size()) return FailWith(context, kSearchUsage);
            std::string term = Utf8ToCp1252(context.args[++i]);
            if (arg == "--or") {
                if (haveThird) return FailWith(context, kSearchUsage);
                terms.third = std::move(term);
                haveThird = inOr = true;
            } else if (inOr) {
                if (haveFourth) return FailWith(context, kSearchUsage);
                terms.fourth = std::move(term);
                haveFourth = true;
            } else {
                if (haveSecond) return FailWith(context, kSearchUsage);
                terms.second = std::move(term);
                haveSecond = true;
            }
        } else if (arg == "--whole-word") {
            options |= stWholeWord;
        } else if (arg == "--match-case") {
            options |= stMatchCase;
        } else if (arg == "--json") {
            json = true;
        } else if (arg.starts_with("--") || operands.size() == 2 || inOr || haveSecond) {
            return FailWith(context, kSearchUsage);
        } else {
            operands.push_back(arg);
        }
    }
    if (operands.size() != 2 || operands[1].empty()) return FailWith(context, kSearchUsage);
    terms.first = Utf8ToCp1252(operands[1]);
    TKYTset set(context.environment, context.messages);
    if (!set.LoadFromFile(Utf8ToCp1252(operands[0]))) return 1;
    TPagesText texts(set);
    const std::vector<std::int32_t> pages = PagesMatching(texts, terms, options);
    if (json) context.out << '[';
    bool first = true;
    for (std::int32_t page : pages) {
        const std::string term = MatchPageTerms(texts, page, terms, options);
        const std::vector<TextHit> hits = HitsInPage(texts, page, term, options);
        if (json) {
            context.out << (first ? "" : ",") << "\n  {\"page\": " << page
                        << ", \"term\": " << Json(term)
                        << ", \"title\": " << Json(TitleOf(set, page)) << ", \"hits\": [";
            for (std::size_t h = 0; h < hits.size(); ++h)
                context.out << (h ? ", " : "") << "{\"line\": " << hits[h].line
                            << ", \"column\": " << hits[h].column << '}';
            context.out << "]}";
        } else {
            context.out << page << '\t' << Cp1252ToUtf8(term) << '\t'
                        << Cp1252ToUtf8(TitleOf(set, page)) << '\t';
            for (std::size_t h = 0; h < hits.size(); ++h)
                context.out << (h ? " " : "") << hits[h].line << ':' << hits[h].column;
            context.out << '\n';
        }
        first = false;
    }
    if (json) context.out << (pages.empty() ? "]\n" : "\n]\n");
    return context.out.good() ? 0 : FailWith(context, "cannot write the output");
}

constexpr std::string_view kReplaceUsage =
    "Usage: orvo-cli replace FILE WORD REPLACEMENT [--page N] [--whole-word] [--match-case]\n"
    "                        [--dry-run]\n"
    "Replaces WORD with REPLACEMENT in every page (or in page N) through the editor's\n"
    "operations, as \"Tutte nell' ipertesto\" of the search window does without asking, and\n"
    "saves the document; prints \"replaced R in P pages\". --dry-run replaces in memory only\n"
    "and leaves the file as it was. Case is ignored unless --match-case is given.";

int RunReplace(CliContext& context) {
    std::vector<std::string> operands;
    int options = 0;
    bool dryRun = false;
    std::vector<std::int32_t> pages;
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::string& arg = context.args[i];
        if (arg == "--page") {
            if (i + 1 >= context.args.size() || !pages.empty())
                return FailWith(context, kReplaceUsage);
            const std::string& text = context.args[++i];
            std::int32_t page = -1;
            const auto r = std::from_chars(text.data(), text.data() + text.size(), page);
            if (r.ec != std::errc() || r.ptr != text.data() + text.size() || page < 0)
                return FailWith(context, "N must be a page number (0 or more)");
            pages.push_back(page);
        } else if (arg == "--whole-word") {
            options |= stWholeWord;
        } else if (arg == "--match-case") {
            options |= stMatchCase;
        } else if (arg == "--dry-run") {
            dryRun = true;
        } else if (arg.starts_with("--") || operands.size() == 3) {
            return FailWith(context, kReplaceUsage);
        } else {
            operands.push_back(arg);
        }
    }
    if (operands.size() != 3) return FailWith(context, kReplaceUsage);
    const std::string word = Utf8ToCp1252(operands[1]);
    const std::string replacement = Utf8ToCp1252(operands[2]);
    if (word.empty() || replacement.empty())
        return FailWith(context, "WORD and REPLACEMENT must both be given");
    TKYTset set(context.environment, context.messages);
    InstallLegacyConversion(set);
    const std::string file = Utf8ToCp1252(operands[0]);
    if (!set.LoadFromFile(file)) return 1;
    if (!pages.empty() && !LivePage(set, pages[0]))
        return FailWith(context, "the document has no page " + std::to_string(pages[0]));
    const PagesReplaced done = ReplaceInPages(set, word, replacement, options, pages);
    if (!dryRun && done.pages > 0 && !set.SaveToFile(file))
        return FailWith(context, "cannot save " + operands[0]);
    context.out << "replaced " << done.replaced << " in " << done.pages << " pages\n";
    return context.out.good() ? 0 : FailWith(context, "cannot write the output");
}

constexpr std::string_view kKeywordsUsage =
    "Usage: orvo-cli keywords FILE [KEYWORD]\n"
    "Lists the keywords of the hypertext (identifier and word, separated by a tab), or the pages\n"
    "that hold KEYWORD (number and title): the keyword of that word, case ignored, else the\n"
    "first that begins with it, as the search window's \"Cerca\" chooses.";

int RunKeywords(CliContext& context) {
    for (const std::string& arg : context.args)
        if (arg.starts_with("--")) return FailWith(context, kKeywordsUsage);
    if (context.args.empty() || context.args.size() > 2) return FailWith(context, kKeywordsUsage);
    TKYTset set(context.environment, context.messages);
    if (!set.LoadFromFile(Utf8ToCp1252(context.args[0]))) return 1;
    const std::vector<KeywordEntry> list = KeywordList(set);
    if (context.args.size() == 1) {
        for (const KeywordEntry& entry : list)
            context.out << entry.identifier << '\t' << Cp1252ToUtf8(entry.word) << '\n';
        return context.out.good() ? 0 : FailWith(context, "cannot write the output");
    }
    const std::string typed = Utf8ToCp1252(context.args[1]);
    std::optional<std::size_t> chosen;
    for (std::size_t i = 0; i < list.size() && !chosen; ++i)
        if (Lower1252(list[i].word) == Lower1252(typed)) chosen = i;
    if (!chosen) chosen = KeywordByPrefix(list, typed);
    if (!chosen) return FailWith(context, "no keyword " + typed);
    for (std::int32_t page : PagesWithKeyword(set, list[*chosen].identifier))
        context.out << page << '\t' << Cp1252ToUtf8(TitleOf(set, page)) << '\n';
    return context.out.good() ? 0 : FailWith(context, "cannot write the output");
}

const CliRegistration kSearch{
    {"search", "lists the pages that hold words, with where they stand", kSearchUsage, &RunSearch}};
const CliRegistration kReplace{
    {"replace", "replaces a word in every page (or one) and saves", kReplaceUsage, &RunReplace}};
const CliRegistration kKeywords{
    {"keywords", "lists the keywords, or the pages that hold one", kKeywordsUsage, &RunKeywords}};

}  // namespace
}  // namespace orvo::cli
