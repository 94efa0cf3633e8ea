// The speller over Hunspell: words found in Windows-1252 buffers, the options, the lists, the
// user dictionary and its file, the registration of languages.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "SpellSupport.h"
#include "base/Cp1252.h"
#include "spell/HunspellEngine.h"
#include "spell/UserDictionary.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

using namespace orvo::literals;
using ::testing::ElementsAre;

struct Problem {
    int status;
    std::string text;
    bool operator==(const Problem&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Problem& p) {
    return out << "{" << p.status << ", \"" << Escaped(p.text) << "\"}";
}

// Every problem of a buffer, the check going on after each.
std::vector<Problem> Problems(TQzSpellChecker& checker, std::string_view buffer) {
    std::vector<Problem> out;
    std::size_t pointer = 0;
    int state = kSpellStateStart;
    while (pointer < buffer.size()) {
        const SpellVerdict v = checker.Verify(buffer.substr(pointer), state);
        state = kSpellStateContinue;
        if (v.status == kSpellOk) break;
        out.push_back({v.status, std::string(buffer.substr(pointer + v.offset, v.length))});
        pointer += SpellResumeAfter(v);
    }
    return out;
}

class Speller : public ::testing::Test {
protected:
    RecordingMessages messages_;
    std::unique_ptr<TQzSpellChecker> checker_ = OpenTestChecker(messages_);
};

TEST_F(Speller, FindsTheWordsOfWindows1252Text) {
    // Accented letters reach the UTF-8 dictionary converted; elided forms are one word and
    // pass whole through the dictionary's prefix; a part of an elided word that fails is the
    // error; the typographic apostrophe counts as "'".
    EXPECT_THAT(Problems(*checker_,
                         "Perch\xE9 il cane, la casa; dell'albero e dell\x92"
                         "anno."),
                ElementsAre(Problem{1, "e"}));
    EXPECT_THAT(
        Problems(*checker_, "perche casa xyz'albero casa'zzz l'"),
        ElementsAre(Problem{1, "perche"}, Problem{1, "xyz"}, Problem{1, "zzz"}, Problem{1, "l"}));
    // Offsets count from the start of the buffer given.
    const SpellVerdict v = checker_->Verify("  casa  gatto", kSpellStateStart);
    EXPECT_EQ(v.status, kSpellUnknownWord);
    EXPECT_EQ(v.offset, 8u);
    EXPECT_EQ(v.length, 5u);
}

TEST_F(Speller, OptionsSetWordsAside) {
    const std::string_view text = "NASA abc123 2024 XIV IIII Xiv";
    EXPECT_THAT(Problems(*checker_, text), ElementsAre(Problem{1, "Xiv"}));
    checker_->SetOptions(0);  // reaches the open session at once
    EXPECT_THAT(Problems(*checker_, text),
                ElementsAre(Problem{1, "NASA"}, Problem{1, "abc123"}, Problem{1, "XIV"},
                            Problem{1, "IIII"}, Problem{1, "Xiv"}));
    checker_->SetOptions(spoFindRepeatWord | spoFindExtraSpaces | spoFindUncappedSentences);
    EXPECT_THAT(Problems(*checker_, "il il cane.  la casa. Casa   casa"),
                ElementsAre(Problem{10, "il"}, Problem{11, "il"}, Problem{10, "la"},
                            Problem{12, "a   c"}, Problem{11, "casa"}));
}

TEST_F(Speller, ListsAndUserDictionary) {
    checker_->IgnoreAll("gatto");
    checker_->AddChange(kListChangeAlways, "cassa", "casa");
    checker_->AddChange(kListChangeOnce, "kane", "cane");
    const SpellVerdict always = checker_->Verify("gatto cassa", kSpellStateStart);
    EXPECT_EQ(always.status, kSpellAutoChange);
    EXPECT_EQ(always.replacement, "casa");
    EXPECT_EQ(checker_->Verify("kane", kSpellStateStart).replacement, "cane");
    EXPECT_EQ(checker_->Verify("kane", kSpellStateStart).status, kSpellChangeOnce);

    std::vector<std::string> list{"vecchio"};
    checker_->GetSuggestions("caza", list);
    EXPECT_THAT(list, ::testing::Contains("casa"));
    EXPECT_EQ(std::count(list.begin(), list.end(), "vecchio"), 0);

    // An added word passes at once, is written to the file in UTF-8 and survives reopening.
    checker_->AddToUserDictionary("citt\xE0");
    checker_->AddToUserDictionary("Orvo");
    checker_->AddToUserDictionary("Orvo");
    EXPECT_TRUE(checker_->WordPasses("citt\xE0"));
    EXPECT_EQ(ReadFile(checker_->UserDictionaryFile()), "citt\xC3\xA0\nOrvo\n");
    checker_.reset();
    auto again = OpenTestChecker(messages_, true);
    EXPECT_TRUE(again->WordPasses("Orvo"));
    EXPECT_TRUE(again->WordPasses("citt\xE0"));
    EXPECT_FALSE(again->WordPasses("gatto"));  // the ignore list lasts one session
    EXPECT_TRUE(messages_.Shown().empty());
}

TEST(SpellerEngine, SpeaksTheDictionarysOwnEncoding) {
    // A Latin-1 dictionary: words and suggestions go through its encoding, and a suggestion
    // Windows-1252 cannot write is left out.
    const std::filesystem::path folder = TestDir() / "latino";
    WriteFile(folder / "it_IT.aff", "SET ISO8859-1\nTRY e\xE9\n");
    WriteFile(folder / "it_IT.dic", "1\nperch\xE9\n");
    WriteFile(folder / "xx.aff", "SET ISO8859-15\nTRY e\xA4\n");
    WriteFile(folder / "xx.dic", "1\nperche\xA4\n");  // 0xA4 is the euro sign here
    auto latin = HunspellEngine::Load(folder / "it_IT.aff", folder / "it_IT.dic");
    ASSERT_TRUE(latin);
    EXPECT_EQ(latin->Encoding(), "ISO8859-1");
    EXPECT_TRUE(latin->WordPasses("perch\xE9"));
    EXPECT_FALSE(latin->WordPasses("perch\xE8"));
    EXPECT_THAT(latin->Suggest("perch\xE8"), ::testing::Contains("perch\xE9"));
    auto euro = HunspellEngine::Load(folder / "xx.aff", folder / "xx.dic");
    ASSERT_TRUE(euro);
    EXPECT_TRUE(euro->WordPasses("perche\x80"));  // the euro sign of Windows-1252
    EXPECT_THAT(euro->Suggest("perchee"), ::testing::Contains("perche\x80"));
}

TEST(UserDictionaryFile, ReadsLenientlyAndPassesOverWhatIsNotAWord) {
    EXPECT_THAT(ReadUserDictionary("\xEF\xBB\xBF"
                                   "citt\xC3\xA0\r\n  uno \n\n# nota\ndue parole\nOrvo\nuno\n"
                                   "\xC3\n\xE2\x82\xAC\x75ro\n\xE4\xB8\xAD\nctl\x01x\nultima"),
                ElementsAre("citt\xE0", "uno", "Orvo", "\x80uro", "ultima"));
    EXPECT_THAT(ReadUserDictionary(std::string(kUserWordMax + 1, 'a') + "\nok\n"),
                ElementsAre("ok"));
    const std::vector<std::string> words{"perch\xE9", "\x80uro", "l'albero"};
    EXPECT_EQ(ReadUserDictionary(WriteUserDictionary(words)), words);
}

TEST(SpellerRegistration, LanguagesAndTheirDictionaries) {
    RecordingMessages messages;
    const std::filesystem::path folder = WriteTestDictionary();
    WriteFile(folder / "en_US.aff", "SET UTF-8\n");
    WriteFile(folder / "en_US.dic", "1\nhello\n");
    WriteFile(folder / "xx_YY.aff", "SET UTF-8\n");  // no language of ours
    WriteFile(folder / "xx_YY.dic", "1\nx\n");
    const SpellerRegistry registry({TestDir() / "nessuna", folder});
    // Italian of Switzerland is served by the Italian dictionary.
    ASSERT_TRUE(registry.Find(2064));
    EXPECT_EQ(registry.Find(2064)->language, 1040);
    EXPECT_EQ(registry.Find(2064)->dic, folder / "it_IT.dic");
    EXPECT_FALSE(registry.Find(1036));
    EXPECT_THAT(registry.Languages(), ElementsAre(1033, 1040));

    TQzSpellChecker checker(messages, registry, TestDir() / "CUSTOM.DIC");
    std::vector<SpellerLanguageItem> list;
    EXPECT_EQ(checker.GetSpellerLanguages(list, 0), 2);
    EXPECT_THAT(list, ElementsAre(SpellerLanguageItem{"Inglese (Stati Uniti)", 1033},
                                  SpellerLanguageItem{"Italiano", 1040}));
    checker.GetSpellerLanguages(list, 3);
    EXPECT_EQ(list[1].name, "ITA");

    // A language without a dictionary: closed, nothing said. An identifier that names no
    // language is ignored; so is any change while open.
    checker.SetLanguage(1036);
    EXPECT_FALSE(checker.Open());
    checker.SetLanguage(12345);
    EXPECT_EQ(checker.Language(), 1036);
    checker.SetLanguage(2064);
    ASSERT_TRUE(checker.Open());
    checker.SetLanguage(1033);
    EXPECT_EQ(checker.Language(), 2064);
    EXPECT_EQ(checker.DialogCaption(), "Controllo ortografico Italiano (Svizzera)");
    EXPECT_TRUE(messages.Shown().empty());

    // A dictionary that cannot be loaded: the checker stays closed, with the message.
    checker.Close();
    WriteFile(folder / "it_IT.aff", "");
    checker.SetLanguage(1040);
    EXPECT_FALSE(checker.Open());
    EXPECT_FALSE(checker.IsOpen());
    EXPECT_THAT(messages.Shown(),
                ElementsAre(Message{
                    Box::Error, "Errore caricando Spell DLL " + (folder / "it_IT.dic").string()}));
    // A caption is never read as a format.
    checker.Caption = "%d %s %n";
    EXPECT_EQ(checker.DialogCaption(), "%d Italiano %n");
}

}  // namespace
}  // namespace orvo::test
