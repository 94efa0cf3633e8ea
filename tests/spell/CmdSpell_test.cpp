// orvo-cli spell against the hunspell program: the same misspelt words in the same pages'
// text export, once the words the options set aside are left out; and the command's output.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "base/Cp1252.h"
#include "convert/TextExport.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "spell/HunspellEngine.h"
#include "spell/SpellPages.h"
#include "support/ProgramRun.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t nl; (nl = text.find('\n', from)) != std::string::npos; from = nl + 1)
        lines.push_back(text.substr(from, nl - from));
    return lines;
}

// The words of orvo-cli spell's lines (the fourth field), counted.
std::map<std::string, int> OurWords(const std::string& out) {
    std::map<std::string, int> words;
    for (const std::string& line : Lines(out)) {
        std::size_t at = 0;
        for (int field = 0; field < 3; ++field) at = line.find('\t', at) + 1;
        ++words[line.substr(at, line.find('\t', at) - at)];
    }
    return words;
}

// hunspell -l over the text export of every page (a line end between pages), without the
// words the default options set aside: those in capitals only, Roman numerals and (where the
// dictionary counts digits as word characters, as the English one does) words with digits.
// The English dictionary also counts the typographic apostrophe as a word character, so a
// closing quote after a word ("Cb’") is part of the word for hunspell; not for us.
std::map<std::string, int> HunspellWords(const std::filesystem::path& kyt,
                                         const std::string& dictionary = "it_IT") {
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    EXPECT_TRUE(set.LoadFromFile(kyt.string()));
    std::string text;
    for (std::int32_t page : LivePages(set)) text += Cp1252ToUtf8(PageText(set, page)) + "\n";
    const ProgramRun run =
        RunProgram({"/usr/bin/hunspell", "-l", "-i", "utf-8", "-d", dictionary}, {}, text);
    EXPECT_EQ(run.status, 0) << run.err;
    std::map<std::string, int> words;
    for (const std::string& word : Lines(run.out)) {
        const std::string cp = Utf8ToCp1252(word);
        const bool digits = cp.find_first_of("0123456789") != std::string::npos;
        if (Upper1252(cp) != cp && !IsRomanNumeral(cp) && !digits &&
            !word.ends_with("\xE2\x80\x99"))
            ++words[word];
    }
    // Elided forms ("cos'\xE8", "nell'albero"): where the dictionary lists no apostrophe among
    // its word characters, hunspell splits them and flags the first part alone; we ask about
    // the whole form, which the dictionary's prefix rules know. Each form hunspell accepts
    // whole takes its first part off hunspell's list.
    std::string cp1252;
    for (std::int32_t page : LivePages(set)) cp1252 += PageText(set, page) + "\n";
    std::vector<std::pair<std::string, std::string>> elided;  // first part, whole form
    for (std::size_t i = 1; dictionary == "it_IT" && i + 1 < cp1252.size(); ++i) {
        if (!IsSpellApostrophe(static_cast<unsigned char>(cp1252[i])) ||
            !IsSpellWordChar(static_cast<unsigned char>(cp1252[i - 1])) ||
            !IsSpellWordChar(static_cast<unsigned char>(cp1252[i + 1])))
            continue;
        std::size_t from = i, to = i + 1;
        while (from > 0 && IsSpellWordChar(static_cast<unsigned char>(cp1252[from - 1]))) --from;
        while (to < cp1252.size() && IsSpellWordChar(static_cast<unsigned char>(cp1252[to]))) ++to;
        std::string whole = cp1252.substr(from, to - from);
        std::replace(whole.begin(), whole.end(), char(0x92), '\'');
        elided.emplace_back(Cp1252ToUtf8(cp1252.substr(from, i - from)), Cp1252ToUtf8(whole));
    }
    std::string forms;
    for (const auto& form : elided) forms += form.second + "\n";
    const ProgramRun wholes =
        RunProgram({"/usr/bin/hunspell", "-l", "-i", "utf-8", "-d", dictionary}, {}, forms);
    const std::vector<std::string> failing = Lines(wholes.out);
    for (const auto& [first, whole] : elided) {
        if (std::find(failing.begin(), failing.end(), whole) != failing.end()) continue;
        if (auto found = words.find(first); found != words.end() && --found->second == 0)
            words.erase(found);
    }
    return words;
}

TEST(CliSpell, FindsTheWordsTheHunspellProgramFinds) {
    for (const std::vector<std::string>& size :
         {std::vector<std::string>{},
          std::vector<std::string>{"--pages", "300", "--text-kb", "2"}}) {
        const std::filesystem::path kyt = TestDir() / "guida.kyt";
        std::vector<std::string> sample{"sample", kyt.string()};
        sample.insert(sample.end(), size.begin(), size.end());
        ASSERT_EQ(RunOrvoCli(sample).status, 0);
        const ProgramRun spell = RunOrvoCli({"spell", kyt.string(), "--language", "1040"});
        ASSERT_EQ(spell.status, 0) << spell.err;
        const std::map<std::string, int> ours = OurWords(spell.out);
        EXPECT_FALSE(ours.empty());
        EXPECT_EQ(ours, HunspellWords(kyt));
    }
}

TEST(CliSpell, FindsTheWordsOfARealEnglishDocumentAsTheHunspellProgramDoes) {
    // A long report written with a word processor, imported: names, units, hyphenations,
    // quotes, footnotes.
    const std::filesystem::path kyt = TestDir() / "rapporto.kyt";
    const ProgramRun import = RunOrvoCli(
        {"import", ORVO_SOURCE_DIR "/../shared/corpus/rtf/word_wmf_pictures_footnotes.rtf",
         kyt.string()});
    ASSERT_EQ(import.status, 0) << import.err;
    const ProgramRun spell = RunOrvoCli({"spell", kyt.string(), "--language", "1033"});
    ASSERT_EQ(spell.status, 0) << spell.err;
    const std::map<std::string, int> ours = OurWords(spell.out);
    EXPECT_GT(ours.size(), 30u);
    EXPECT_EQ(ours, HunspellWords(kyt, "en_US"));
}

TEST(CliSpell, ListsPlacesAndSuggestionsAsLinesOrJson) {
    const std::filesystem::path kyt = TestDir() / "guida.kyt";
    ASSERT_EQ(RunOrvoCli({"sample", kyt.string()}).status, 0);
    const ProgramRun all = RunOrvoCli({"spell", kyt.string(), "--language", "1040"});
    ASSERT_EQ(all.status, 0);
    const std::vector<std::string> lines = Lines(all.out);
    ASSERT_FALSE(lines.empty());
    // One page: only its lines, the same as in the full list.
    const std::string page = lines.front().substr(0, lines.front().find('\t'));
    const ProgramRun one =
        RunOrvoCli({"spell", kyt.string(), "--language", "1040", "--page", page});
    ASSERT_EQ(one.status, 0);
    for (const std::string& line : Lines(one.out)) {
        EXPECT_EQ(line.substr(0, line.find('\t')), page);
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    }
    // JSON: read back by Python, the same findings in the same order.
    const ProgramRun json = RunOrvoCli({"spell", kyt.string(), "--language", "1040", "--json"});
    ASSERT_EQ(json.status, 0);
    const ProgramRun read = RunProgram(
        {"/usr/bin/python3", "-c",
         "import json,sys\n"
         "for f in json.load(sys.stdin):\n"
         "    print(f['page'], f['paragraph'], f['offset'], f['word'], ', '.join(f['suggestions']),"
         " sep='\\t')"},
        {}, json.out);
    ASSERT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(read.out, all.out);

    const ProgramRun missing = RunOrvoCli({"spell", kyt.string(), "--page", "999"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Pagina inesistente: 999\n");
    const ProgramRun language = RunOrvoCli({"spell", kyt.string(), "--language", "77"});
    EXPECT_EQ(language.status, 1);
    EXPECT_EQ(language.err, "Lingua sconosciuta: 77\n");
    EXPECT_EQ(RunOrvoCli({"spell", kyt.string(), "--page"}).status, 1);
}

}  // namespace
}  // namespace orvo::test
