// The hypertext options: every header field the window edits, saved and read back byte for
// byte; the limits of the texts; the pages, colours, background and navigation bytes; the
// language's fall-back at opening and its switch on Ok with a real spell checker.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/HypertextOptions.h"
#include "base/Paths.h"
#include "model/HeaderRecord.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/FileSettings.h"
#include "platform/IMessages.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

using K = TOggettiHel;

class HypertextOptionsRules : public ::testing::Test {
protected:
    HypertextOptionsRules() {
        for (const char* title : {"Prima", "Sommario", "Testa", "Piede"}) {
            auto page = NewObjectOfKind(K::testoHtml, &set_);
            page->Clear();
            page->TakeIntoUse();
            page->SetName(title);
            set_.Register(std::move(page));
        }
    }
    std::unique_ptr<TKYToggetto> Picture(const std::string& name, const std::string& bytes) {
        auto picture = NewObjectOfKind(K::immagine, &set_);
        picture->Clear();
        picture->TakeIntoUse();
        picture->SetName(name);
        picture->SetContent(bytes);
        return picture;
    }
    // The header as stored in a file saved now.
    std::string SavedHeader() {
        const std::string path = NameOfPath(TestDir() / "Opzioni.kyt");
        EXPECT_TRUE(set_.SaveToFile(path));
        return ReadFile(TestDir() / "Opzioni.kyt").substr(0, kHeaderSize);
    }
    FixedEnvironment environment_;
    RecordingMessages messages_;
    TKYTset set_{environment_, messages_};
};

std::string PStrAt(const std::string& header, std::size_t at) {
    return header.substr(at + 1, static_cast<unsigned char>(header[at]));
}

std::int32_t I32At(const std::string& header, std::size_t at) {
    std::uint32_t v = 0;
    for (int b = 3; b >= 0; --b)
        v = (v << 8) | static_cast<unsigned char>(header[at + std::size_t(b)]);
    return std::int32_t(v);
}

TEST_F(HypertextOptionsRules, EveryFieldReachesTheSavedHeaderWithinItsLimits) {
    const std::string before = SavedHeader();
    HypertextOptions options(set_, {});
    EXPECT_EQ(options.version, I32At(before, 1632));
    EXPECT_EQ(options.PageLabel(options.coverPage), "Prima");
    EXPECT_EQ(options.PageLabel(std::nullopt), "...");
    options.title = std::string(100, 'T');
    options.authors = std::string(150, 'a');
    options.company = "Societ\xE0 & C.";
    options.copyright = std::string(80, 'c');
    options.information = std::string(1300, 'i');
    options.prefix = "prefisso-lunghissimo";
    options.password = "parola d'ordine segreta";
    options.readOnly = true;
    options.contentsPage = 1;
    options.coverPage.reset();  // keeps the cover it had
    options.headerPage = 2;
    options.footerPage = 3;
    options.backgroundColour = 0x123456;
    options.textColour = 0x010203;
    options.linkColour = 0x0A0B0C;
    options.visitedColour = 0x00FF00;
    options.ChooseBackgroundPicture(Picture("Carta", "GIF89a-carta"));
    options.navContents = true;
    options.navCover = true;  // byte 1639 stored inverted
    options.navNone = false;
    int reshown = 0;
    HypertextOptionsHost host;
    host.reshowPage = [&](int page) {
        EXPECT_EQ(page, -1);
        ++reshown;
    };
    set_.SetModified(false);
    options.Apply(host);
    EXPECT_EQ(reshown, 1);  // header and footer pages changed
    EXPECT_TRUE(set_.Modified());
    ASSERT_EQ(set_.KindList(K::immagine).size(), 1u);  // the chosen picture registered on Ok

    const std::string after = SavedHeader();
    EXPECT_EQ(PStrAt(after, 4), std::string(79, 'T'));
    EXPECT_EQ(PStrAt(after, 1540), std::string(79, 'a'));
    EXPECT_EQ(PStrAt(after, 1380), "Societ\xE0 & C.");
    EXPECT_EQ(PStrAt(after, 1460), std::string(79, 'c'));
    EXPECT_EQ(after.substr(84, 1258), std::string(1256, 'i') + std::string(2, '\0'));
    EXPECT_EQ(after.substr(1342, 4), before.substr(1342, 4));  // the page-tree store code
    EXPECT_EQ(PStrAt(after, 1346), "prefisso-lunghis");
    EXPECT_EQ(PStrAt(after, 1363), "parola d'ordine ");
    EXPECT_EQ(after[1623], 1);
    EXPECT_EQ(I32At(after, 1624), 1);
    EXPECT_EQ(I32At(after, 1628), 0);
    EXPECT_EQ(I32At(after, 1724), 2);
    EXPECT_EQ(I32At(after, 1728), 3);
    EXPECT_EQ(I32At(after, 1736), 0x123456);
    EXPECT_EQ(I32At(after, 1740), 0);
    EXPECT_EQ(I32At(after, 1746), 0x010203);
    EXPECT_EQ(I32At(after, 1750), 0x0A0B0C);
    EXPECT_EQ(I32At(after, 1754), 0x00FF00);
    EXPECT_EQ(after.substr(1636, 6), std::string("\1\0\0\0\0\0", 6));
    // Nothing else of the header moved but the save counter.
    for (std::size_t at = 0; at < kHeaderSize; ++at) {
        const bool edited = (at >= 4 && at < 1342) || (at >= 1346 && at < 1620) ||
                            (at >= 1623 && at < 1632) || (at >= 1636 && at < 1642) ||
                            (at >= 1724 && at < 1732) || (at >= 1736 && at < 1758);
        if (!edited && !(at >= 1632 && at < 1636)) {
            EXPECT_EQ(after[at], before[at]) << "byte " << at;
        }
    }

    // The saved file opens read-only: its password is the one the edit mode asks for.
    ASSERT_TRUE(set_.LoadFromFile(NameOfPath(TestDir() / "Opzioni.kyt")));
    EXPECT_EQ(set_.ReadOnlyPassword(), "parola d'ordine ");
    HypertextOptions again(set_, {});
    EXPECT_EQ(again.PageLabel(again.contentsPage), "Sommario");
    EXPECT_TRUE(again.navCover);
    EXPECT_TRUE(again.useBackgroundPicture);
    ASSERT_NE(again.BackgroundPicture(), nullptr);
    EXPECT_EQ(again.BackgroundPicture()->Name(), "Carta");

    // Unticked, the background is none even with a picture chosen; no page changed: no reshow.
    again.useBackgroundPicture = false;
    again.contentsPage.reset();
    again.Apply(host);
    EXPECT_EQ(reshown, 1);
    EXPECT_EQ(set_.HeaderView().I32(kHdrBackPicture), -1);
    EXPECT_EQ(set_.HeaderView().I32(kHdrContentsPage), -1);
    {
        // A picture chosen and then cancelled is never registered.
        HypertextOptions cancelled(set_, {});
        cancelled.ChooseBackgroundPicture(Picture("Mai", "GIF89a-mai"));
    }
    EXPECT_EQ(set_.KindList(K::immagine).size(), 1u);
}

TEST_F(HypertextOptionsRules, LanguageFallsBackAtOpeningAndSwitchesTheOpenCheckerOnOk) {
    RecordingMessages spellMessages;
    TQzSpellChecker speller(spellMessages, SpellerRegistry({"/usr/share/hunspell"}),
                            TestDir() / "CUSTOM.DIC");
    std::vector<SpellerLanguageItem> languages;
    speller.GetSpellerLanguages(languages, 0);
    ASSERT_GE(languages.size(), 2u) << "hunspell-it and hunspell-en-us are needed";

    // A language without a dictionary becomes the first of the sorted list at once, even
    // when the window is cancelled; an empty list changes nothing.
    set_.HeaderRecordView().SetU16(kHdrLanguage, 1036);
    { HypertextOptions none(set_, {}); }
    EXPECT_EQ(set_.HeaderView().U16(kHdrLanguage), 1036);
    {
        HypertextOptions cancelled(set_, languages);
        ASSERT_EQ(cancelled.selectedLanguage, 0);
        EXPECT_EQ(cancelled.Languages()[0].name, "Inglese (Stati Uniti)");
    }
    EXPECT_EQ(set_.HeaderView().U16(kHdrLanguage), 1033);

    // With the checker closed the language stays as it is.
    HypertextOptions closed(set_, languages);
    closed.selectedLanguage = 1;  // "Italiano"
    closed.Apply({});
    EXPECT_EQ(set_.HeaderView().U16(kHdrLanguage), 1033);

    speller.SetLanguage(1033);
    ASSERT_TRUE(speller.Open());
    FileSettings settings(TestDir() / "lingua.ini");
    bool readOnly = false;
    std::vector<bool> readOnlySteps;
    int reshown = 0;
    HypertextOptionsHost host{&speller, &settings, [&] { return readOnly; },
                              [&](bool on) {
                                  readOnly = on;
                                  readOnlySteps.push_back(on);
                              },
                              [&](int) { ++reshown; }};
    HypertextOptions open(set_, languages);
    open.selectedLanguage = 1;
    open.Apply(host);
    EXPECT_EQ(speller.Language(), 1040);
    EXPECT_TRUE(speller.IsOpen());
    EXPECT_EQ(set_.HeaderView().U16(kHdrLanguage), 1040);
    EXPECT_EQ(settings.Read("orto", "lang"), "1040");
    EXPECT_EQ(readOnlySteps, (std::vector<bool>{true, false}));
    EXPECT_EQ(reshown, 1);
}

}  // namespace
}  // namespace orvo::test
