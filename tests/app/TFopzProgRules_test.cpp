// The program options window's rules: what it shows, what its buttons change, what Ok writes.
#include "app/TFopzProgRules.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/Cp1252.h"

namespace orvo {
namespace {

using namespace orvo::literals;
using ::testing::ElementsAre;

class FakeSpeller final : public ISpellerOptions {
public:
    std::vector<SpellLanguage> languages{
        {"Italiano", 1040}, {"English (US)", 1033}, {"deutsch", 1031}};
    std::uint16_t options = 0x0041;
    bool progress = true;
    int language = 1033;
    std::vector<int> unopenable;
    std::vector<std::string> calls;

    std::vector<SpellLanguage> Languages() const override { return languages; }
    std::uint16_t Options() const override { return options; }
    bool Progress() const override { return progress; }
    int Language() const override { return language; }
    void SetLanguage(int l) override {
        language = l;
        calls.push_back("language " + std::to_string(l));
    }
    void Close() override { calls.push_back("close"); }
    bool Open() override {
        const bool ok =
            std::find(unopenable.begin(), unopenable.end(), language) == unopenable.end();
        calls.push_back(ok ? "open" : "open failed");
        return ok;
    }
};

class FakeHost final : public IProgramOptionsHost {
public:
    int cacheLimit = 4;
    FakeSpeller speller;
    bool spellerAvailable = true;
    bool readOnly = false;
    std::vector<std::string> calls;

    int WindowCacheLimit() const override { return cacheLimit; }
    void SetWindowCacheLimit(int n) override {
        cacheLimit = n;
        calls.push_back("cache " + std::to_string(n));
    }
    ISpellerOptions* Speller() override { return spellerAvailable ? &speller : nullptr; }
    bool EditorReadOnly() const override { return readOnly; }
    void SetEditorReadOnly(bool r) override {
        readOnly = r;
        calls.push_back(r ? "read-only" : "editable");
    }
    void ApplySettings() override { calls.push_back("apply"); }
    void ShowCurrentPageAgain() override { calls.push_back("show page"); }
    void StopStoringWindowPositions() override { calls.push_back("no positions"); }
};

class ProgramOptionsWindow : public ::testing::Test {
protected:
    MemorySettings settings_;
    RecordingMessages messages_;
    SettingsStore store_{settings_, messages_};
    FakeHost host_;
    TFopzProgRules rules_{store_, host_};

    std::string Value(const char* key, const char* name) {
        return settings_.ReadString(key, name, "<missing>");
    }
};

TEST_F(ProgramOptionsWindow, ShowsWhatIsStored) {
    settings_.Write("options", "maxCacheImg", "abc");
    settings_.Write("options", "TimeSave", "12");
    settings_.Write("options", "Bak", "no");
    settings_.Write("options", "TipOfTheDay", "0");
    settings_.Write("options", "NotSaveTool", "0");
    settings_.Write("options", "Cursors", "2");
    settings_.Write("ext\\.pdf", "comp", "3");
    settings_.Write("ext\\.pdf", "appPath", "/usr/bin/evince");
    settings_.Write("ext\\.pdf", "nam", "Documento PDF");
    settings_.Write("ext\\.zip", "comp", "x");
    settings_.Write("Browser", "num", "1");
    settings_.Write("Browser\\0", "Name", "Firefox");
    settings_.Write("Browser\\0", "appPath", "/usr/bin/firefox");
    rules_.FormShow();
    const ProgramOptions& o = rules_.Options();
    EXPECT_EQ(o.windowCacheLimit, 4);
    EXPECT_EQ(o.maxCacheImg, "abc");  // the stored text as it is
    EXPECT_EQ(o.undoDeep, "20");
    EXPECT_EQ(o.timeSave, "12");
    EXPECT_TRUE(o.bak);
    EXPECT_FALSE(o.tipOfTheDay);
    EXPECT_FALSE(o.notSaveTool);
    EXPECT_EQ(o.cursors, 2);
    ASSERT_EQ(o.fileTypes.size(), 2u);
    EXPECT_EQ(o.fileTypes[0].caption, ".pdf");
    EXPECT_EQ(o.fileTypes[0].data, (TExtData{3, "/usr/bin/evince", "Documento PDF"}));
    EXPECT_EQ(o.fileTypes[1].data.comp, 0);
    EXPECT_EQ(o.selectedFileType, 0);
    ASSERT_EQ(o.browsers.size(), 1u);
    EXPECT_EQ(o.browsers[0].caption, "Firefox");
    EXPECT_TRUE(o.spellPanelVisible);
    EXPECT_THAT(o.languages,
                ElementsAre(SpellLanguage{"deutsch", 1031}, SpellLanguage{"English (US)", 1033},
                            SpellLanguage{"Italiano", 1040}));
    EXPECT_EQ(o.selectedLanguage, 1);
    EXPECT_EQ(o.spellOptions, 0x0041);
}

TEST_F(ProgramOptionsWindow, WithoutASpellCheckerThePanelIsHidden) {
    host_.spellerAvailable = false;
    rules_.FormShow();
    EXPECT_FALSE(rules_.Options().spellPanelVisible);
    rules_.BOkClick();
    EXPECT_TRUE(settings_.ValueNames("orto").empty());
}

TEST_F(ProgramOptionsWindow, OkWritesEveryValueAndAppliesThem) {
    rules_.FormShow();
    ProgramOptions& o = rules_.Options();
    o.windowCacheLimit = 12;  // above the spin box's 10
    o.maxCacheImg = "5";      // below its 10
    o.undoDeep = "tanti";     // no number: not written
    o.timeSave = "-2";
    o.virgolette = true;
    o.bak = false;
    o.cursors = 3;
    o.spellOptions = 0x0102;  // caps and point
    o.spellProgress = false;
    rules_.BOkClick();
    EXPECT_EQ(Value("options", "maxCacheImg"), "10");
    EXPECT_EQ(Value("options", "FormLim"), "10");
    EXPECT_EQ(Value("options", "undoDeep"), "<missing>");
    EXPECT_EQ(Value("options", "TimeSave"), "-2");
    EXPECT_EQ(Value("options", "Virgolette"), "1");
    EXPECT_EQ(Value("options", "Bak"), "0");
    EXPECT_EQ(Value("options", "TipOfTheDay"), "1");
    EXPECT_EQ(Value("options", "NotSaveTool"), "1");
    EXPECT_EQ(Value("options", "Cursors"), "3");
    EXPECT_EQ(Value("Browser", "num"), "0");
    EXPECT_THAT(settings_.ValueNames("orto"), ElementsAre("userDic", "roman", "caps", "repeat",
                                                          "start", "point", "rate", "progr"));
    EXPECT_EQ(Value("orto", "caps"), "1");
    EXPECT_EQ(Value("orto", "point"), "1");
    EXPECT_EQ(Value("orto", "userDic"), "0");
    EXPECT_EQ(Value("orto", "progr"), "0");
    EXPECT_EQ(Value("orto", "lang"), "<missing>");  // the language did not change
    EXPECT_THAT(host_.calls, ElementsAre("cache 10", "apply", "show page"));
}

TEST_F(ProgramOptionsWindow, FileTypesAreAddedEditedAndWritten) {
    settings_.Write("ext\\.pdf", "comp", "1");
    rules_.FormShow();
    rules_.SelectFileType(0);
    rules_.ExtParChgClick({3, "/usr/bin/okular", "PDF"});
    const int added = rules_.BaggiungiClick({2, "/usr/bin/gimp", "Immagine"});
    EXPECT_EQ(added, 1);
    EXPECT_EQ(rules_.Options().fileTypes[1].caption, ".new");
    EXPECT_EQ(rules_.Options().fileTypes[1].data, (TExtData{0, "/usr/bin/gimp", "Immagine"}));
    rules_.RenameFileType(1, ".xcf");
    rules_.BOkClick();
    EXPECT_THAT(settings_.SubKeys("ext"), ElementsAre(".pdf", ".xcf"));
    EXPECT_EQ(Value("ext\\.pdf", "comp"), "3");
    EXPECT_EQ(Value("ext\\.pdf", "appPath"), "/usr/bin/okular");
    EXPECT_EQ(Value("ext\\.xcf", "comp"), "0");
    EXPECT_EQ(Value("ext\\.xcf", "nam"), "Immagine");
    EXPECT_TRUE(rules_.Options().fileTypes.empty());
}

TEST_F(ProgramOptionsWindow, ARenamedTypeLeavesNoGroupUnderItsOldName) {
    settings_.Write("ext\\.jpeg", "comp", "2");
    rules_.FormShow();
    rules_.RenameFileType(0, ".jpg");
    rules_.BOkClick();
    EXPECT_THAT(settings_.SubKeys("ext"), ElementsAre(".jpg"));
    EXPECT_EQ(Value("ext\\.jpg", "comp"), "2");
}

TEST_F(ProgramOptionsWindow, ADeletedTypeStaysDeletedWhenTheWindowIsCancelled) {
    settings_.Write("ext\\.pdf", "comp", "1");
    settings_.Write("ext\\.zip", "comp", "2");
    settings_.Write("ext\\.gif", "comp", "3");
    rules_.FormShow();
    rules_.SelectFileType(1);
    rules_.BcancExtClick();
    EXPECT_EQ(rules_.Options().selectedFileType, 0);
    rules_.Options().virgolette = true;
    rules_.BAnnullaClick();
    EXPECT_THAT(settings_.SubKeys("ext"), ElementsAre(".pdf", ".gif"));
    EXPECT_EQ(Value("options", "Virgolette"), "<missing>");
    EXPECT_TRUE(host_.calls.empty());
}

TEST_F(ProgramOptionsWindow, BrowsersAreCountedWhenWritten) {
    settings_.Write("Browser", "num", "2");
    settings_.Write("Browser\\0", "Name", "Uno");
    settings_.Write("Browser\\1", "Name", "Due");
    rules_.FormShow();
    rules_.SelectBrowser(0);
    rules_.BcancBrowserClick();
    rules_.BaggiungiBClick("/usr/bin/lynx");
    rules_.BrowserPropChange("/usr/local/bin/lynx");
    rules_.BOkClick();
    EXPECT_EQ(Value("Browser", "num"), "2");
    EXPECT_EQ(Value("Browser\\0", "Name"), "Due");
    EXPECT_EQ(Value("Browser\\1", "Name"), "new");
    EXPECT_EQ(Value("Browser\\1", "appPath"), "/usr/local/bin/lynx");
}

TEST_F(ProgramOptionsWindow, ResettingWindowPositionsAsksFirst) {
    settings_.Write("forms\\TMainForm", "Placement", "x");
    rules_.FormShow();
    messages_.ScriptAnswers({Answer::No, Answer::Yes});
    EXPECT_FALSE(rules_.BdelRegClick());
    EXPECT_TRUE(settings_.KeyExists("forms\\TMainForm"));
    EXPECT_TRUE(rules_.BdelRegClick());
    EXPECT_FALSE(settings_.KeyExists("forms"));
    EXPECT_THAT(host_.calls, ElementsAre("no positions"));
    const std::string question(
        "Occorrerà chiudere il programma immediatamente in modo che l'azzeramento abbia luogo. Procedo con l'azzeramento?"_cp);
    EXPECT_THAT(messages_.Questions(), ElementsAre(question, question));
}

TEST_F(ProgramOptionsWindow, ANewLanguageReopensTheChecker) {
    host_.speller.language = 1040;
    rules_.FormShow();
    rules_.Options().selectedLanguage = 1;  // English (US)
    rules_.BOkClick();
    EXPECT_EQ(Value("orto", "lang"), "1033");
    EXPECT_THAT(host_.speller.calls, ElementsAre("close", "language 1033", "open"));
    EXPECT_THAT(host_.calls, ElementsAre("cache 4", "read-only", "editable", "apply", "show page"));
}

TEST_F(ProgramOptionsWindow, ALanguageThatWillNotOpenGivesWayToTheOldOne) {
    host_.speller.language = 1040;
    host_.speller.unopenable = {1031};
    host_.readOnly = true;
    rules_.FormShow();
    rules_.Options().selectedLanguage = 0;  // deutsch
    rules_.BOkClick();
    EXPECT_EQ(Value("orto", "lang"), "1031");
    EXPECT_THAT(host_.speller.calls,
                ElementsAre("close", "language 1031", "open failed", "language 1040", "open"));
    EXPECT_TRUE(host_.readOnly);  // it was read-only before
    EXPECT_THAT(host_.calls, ElementsAre("cache 4", "read-only", "apply", "show page"));
}

}  // namespace
}  // namespace orvo
