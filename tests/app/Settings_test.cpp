// The settings readers, their defaults and bounds, the store operations and applySettings.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "app/u3Utils.h"
#include "base/Cp1252.h"
#include "base/Paths.h"
#include "platform/FileSettings.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::literals;
using namespace std::chrono_literals;
using ::testing::ElementsAre;

// A store on a real file, read back through a second store as the next run would.
class SettingsFile : public ::testing::Test {
protected:
    std::filesystem::path path_ = test::TestDir() / "hive" /
                                  ::testing::UnitTest::GetInstance()->current_test_info()->name() /
                                  "settings.reg";
    RecordingMessages messages_;
    FileSettings file_{path_};
    SettingsStore store_{file_, messages_};

    GlobalOptions ReadBack() {
        FileSettings again(path_);
        RecordingMessages m;
        return ReadGlobalOptions(SettingsStore(again, m));
    }
};

// ---------------------------------------------------------------------------------------------
// Every key: what is written is read back by its reader; missing, the reader's default.

struct KeyCase {
    const char* name;
    const char* group;  // "options" for the global options
    const char* key;
    const char* stored;
    std::function<std::string(const SettingsStore&)> reader;
    const char* whenStored;
    const char* whenMissing;
};

std::string Flag(bool b) {
    return b ? "on" : "off";
}

const FixedEnvironment& Env() {
    static FixedEnvironment env;
    return env;
}

std::vector<KeyCase> AllKeys() {
    auto g = [](auto member) {
        return [member](const SettingsStore& s) { return member(ReadGlobalOptions(s)); };
    };
    auto raw = [](const char* group, const char* key) {
        return [group, key](const SettingsStore& s) { return s.readGroupValue(group, key); };
    };
    auto search = [](auto member) {
        return [member](const SettingsStore& s) { return member(ReadSearchWindowSettings(s)); };
    };
    auto optFlag = [](std::optional<bool> b) { return b ? Flag(*b) : std::string("unchanged"); };
    auto spellBit = [](std::uint16_t bit) {
        return [bit](const SettingsStore& s) {
            return Flag(ReadSpellSettings(s, SpellSettings{0x0F0F, false, 1040}).options & bit);
        };
    };
    auto imp = [](auto member) {
        return [member](const SettingsStore& s) {
            return member(ReadImportWindowSettings(s, 2, Env()));
        };
    };
    const std::string temp = NameOfPath(Env().TempRoot()) + "/";
    static std::string tempText;
    tempText = temp;
    return {
        {"maxCacheImg", "options", "maxCacheImg", "150",
         g([](auto o) { return std::to_string(o.maxCacheImg); }), "150", "20"},
        {"undoDeep", "options", "undoDeep", "7",
         g([](auto o) { return std::to_string(o.undoDeep); }), "7", "20"},
        {"FormLim", "options", "formLim", "8", g([](auto o) { return std::to_string(o.formLim); }),
         "8", "3"},
        {"PromemSave", "options", "PromemSave", "1", g([](auto o) { return Flag(o.promemSave); }),
         "on", "off"},
        {"TimeSave", "options", "TimeSave", "12",
         g([](auto o) { return std::to_string(o.timeSave); }), "12", "5"},
        {"AtStartBlank", "options", "AtStartBlank", "1",
         g([](auto o) { return Flag(o.atStartBlank); }), "on", "off"},
        {"TipOfTheDay", "options", "tipOfTheDay", "0",
         g([](auto o) { return Flag(o.tipOfTheDay); }), "off", "on"},
        {"AutoHideTip", "options", "autoHideTip", "1",
         g([](auto o) { return Flag(o.autoHideTip); }), "on", "off"},
        {"Virgolette", "options", "Virgolette", "1", g([](auto o) { return Flag(o.virgolette); }),
         "on", "off"},
        {"Alt", "options", "Alt", "1", g([](auto o) { return Flag(o.alt); }), "on", "off"},
        {"Bak", "options", "Bak", "0", g([](auto o) { return Flag(o.bak); }), "off", "on"},
        {"BordoSx", "options", "BordoSx", "1", g([](auto o) { return Flag(o.bordoSx); }), "on",
         "off"},
        {"CercaTop", "options", "CercaTop", "1", g([](auto o) { return Flag(o.cercaTop); }), "on",
         "off"},
        {"Cursors", "options", "Cursors", "3", g([](auto o) { return std::to_string(o.cursors); }),
         "3", "0"},
        {"NotSaveTool", "options", "NotSaveTool", "0",
         g([](auto o) { return Flag(o.restoreToolbar); }), "on", "off"},
        {"clicprintprev", "options", "clicprintprev", "0",
         g([](auto o) { return Flag(o.clicPrintPrev); }), "off", "on"},
        {"MMAnte", "options", "MMAnte", "0", g([](auto o) { return Flag(o.mmAnte); }), "off", "on"},
        {"LastFile", "options", "LastFile", "/home/u/perché.kyt", raw("options", "LastFile"),
         "/home/u/perché.kyt", ""},
        {"DefaultLib", "options", "DefaultLib", "/lib.cus", raw("options", "DefaultLib"),
         "/lib.cus", ""},
        {"LastDetWord", "options", "LastDetWord", "10.30.00", raw("options", "LastDetWord"),
         "10.30.00", ""},
        {"LastDetWordN", "options", "LastDetWordN", "2", raw("options", "LastDetWordN"), "2", ""},
        {"HcpPath", "options", "HcpPath", "/usr/bin/hc", raw("options", "HcpPath"), "/usr/bin/hc",
         ""},
        {"liteOk", "options", "liteOk", "1", raw("options", "liteOk"), "1", ""},
        {"extComp", "ext\\.pdf", "comp", "3",
         [](const SettingsStore& s) { return std::to_string(fileTypeBehaviour(s, ".pdf", 9)); },
         "3", "9"},
        {"extAppPath", "ext\\.pdf", "appPath", "/usr/bin/evince",
         [](const SettingsStore& s) { return fileTypeApplication(s, ".pdf"); }, "/usr/bin/evince",
         ""},
        {"extNam", "ext\\.pdf", "nam", "Documento",
         [](const SettingsStore& s) { return ReadExtData(s, ".pdf").nam; }, "Documento", ""},
        {"browserNum", "Browser", "Num", "1",
         [](const SettingsStore& s) { return std::to_string(ReadBrowsers(s).size()); }, "1", "0"},
        {"orto lang", "orto", "lang", "1033",
         [](const SettingsStore& s) { return std::to_string(ReadSpellSettings(s, {}).language); },
         "1033", "1040"},
        {"orto userDic", "orto", "userDic", "0", spellBit(1), "off", "on"},
        {"orto caps", "orto", "caps", "0", spellBit(2), "off", "on"},
        {"orto roman", "orto", "roman", "0", spellBit(8), "off", "on"},
        {"orto start", "orto", "start", "1", spellBit(16), "on", "off"},
        {"orto repeat", "orto", "repeat", "1", spellBit(64), "on", "off"},
        {"orto point", "orto", "point", "0", spellBit(256), "off", "on"},
        {"orto rate", "orto", "rate", "0", spellBit(1024), "off", "on"},
        {"orto progr", "orto", "progr", "1",
         [](const SettingsStore& s) { return Flag(ReadSpellSettings(s, {}).progress); }, "on",
         "off"},
        {"finds wholeword", "finds", "wholeword", "1",
         search([=](auto f) { return optFlag(f.wholeWord); }), "on", "unchanged"},
        {"finds ignorecaps", "finds", "ignorecaps", "0",
         search([=](auto f) { return optFlag(f.ignoreCaps); }), "off", "unchanged"},
        {"finds conf1", "finds", "conf1", "1", search([=](auto f) { return optFlag(f.conf1); }),
         "on", "unchanged"},
        {"finds confAll", "finds", "confAll", "0",
         search([=](auto f) { return optFlag(f.confAll); }), "off", "unchanged"},
        {"finds startFrom", "finds", "startFrom", "1",
         search([](auto f) { return f.startFrom ? std::to_string(*f.startFrom) : "unchanged"; }),
         "1", "unchanged"},
        {"imp path", "imp\\2", "impPathInWindow", "/srv/import/",
         imp([](auto i) { return i.impPathInWindow; }), "/srv/import/", tempText.c_str()},
        {"imp allToGif", "imp\\2", "allToGif", "1", imp([](auto i) { return Flag(i.allToGif); }),
         "on", "off"},
        {"imp summary", "imp\\2", "summary", "1", imp([](auto i) { return Flag(i.summary); }), "on",
         "off"},
        {"imp comune", "imp\\2", "comune", "1", imp([](auto i) { return Flag(i.comune); }), "on",
         "off"},
        {"imp numParPerPag", "imp\\2", "numParPerPag", "30",
         imp([](auto i) { return i.numParPerPag; }), "30", "100"},
        {"imp titLevel", "imp\\2", "titLevel", "2", imp([](auto i) { return i.titLevel; }), "2",
         "4"},
        {"forms", "forms\\TMainForm", "Placement", "abc", raw("forms\\TMainForm", "Placement"),
         "abc", ""},
        {"toolbar", "toolbar", "State", "AAAA", raw("toolbar", "State"), "AAAA", ""},
        {"RecentFile", "RecentFile", "4", "/a.kyt", raw("RecentFile", "4"), "/a.kyt", ""},
        {"htmlexp", "htmlexp", "expOrigName", "1", raw("htmlexp", "expOrigName"), "1", ""},
        {"exp", "exp\\1", "path", "/out", raw("exp\\1", "path"), "/out", ""},
        {"ftpnet", "ftpnet\\0", "server", "ftp.example.org", raw("ftpnet\\0", "server"),
         "ftp.example.org", ""},
        {"orvonet", "orvonet\\1", "numSelectedConf", "2", raw("orvonet\\1", "numSelectedConf"), "2",
         ""},
    };
}

TEST_F(SettingsFile, EveryKeyRoundTripsAndHasItsReadersDefault) {
    const auto cases = AllKeys();
    {
        FileSettings empty(path_);
        RecordingMessages m;
        const SettingsStore missing(empty, m);
        for (const KeyCase& c : cases)
            EXPECT_EQ(c.reader(missing), c.whenMissing) << c.name << " when missing";
    }
    {
        FileSettings::Batch batch(file_);
        for (const KeyCase& c : cases) {
            // Stored texts are Windows-1252, as the core keeps them.
            store_.writeGroupValue(c.group, c.key, Utf8ToCp1252(c.stored));
        }
        store_.writeGroupValue("Browser\\0", "Name", "Firefox");
    }
    FileSettings again(path_);
    RecordingMessages m;
    const SettingsStore reread(again, m);
    for (const KeyCase& c : cases)
        EXPECT_EQ(Cp1252ToUtf8(c.reader(reread)), c.whenStored) << c.name << " when stored";
    EXPECT_TRUE(m.Shown().empty());
}

// ---------------------------------------------------------------------------------------------
// Readers

TEST(Readers, AnEmptyStoreGivesEveryDefault) {
    MemorySettings settings;
    RecordingMessages messages;
    const SettingsStore store(settings, messages);
    const GlobalOptions o = ReadGlobalOptions(store);
    EXPECT_EQ(o.maxCacheImg, 20);
    EXPECT_EQ(o.undoDeep, 20);
    EXPECT_EQ(SaveReminderInterval(o), std::nullopt);
    EXPECT_TRUE(o.bak);
    EXPECT_TRUE(o.tipOfTheDay);
    EXPECT_FALSE(o.virgolette);
    EXPECT_FALSE(o.restoreToolbar);
    EXPECT_TRUE(ReadBrowsers(store).empty());
    EXPECT_FALSE(BuildPreviewMenu(ReadBrowsers(store)).separatorVisible);
    EXPECT_EQ(fileTypeBehaviour(store, ".zip", 0), 0);  // "Collegamento a file" is shown
    EXPECT_EQ(fileTypeBehaviour(store, ".gif", 2), 2);  // the desktop's program edits it
    EXPECT_TRUE(settings.SubKeys("").empty());          // reading made no key
}

TEST(Readers, FlagsAreComparedExactly) {
    MemorySettings settings;
    RecordingMessages messages;
    const SettingsStore store(settings, messages);
    for (const char* v : {"no", "", " 0", "00"}) {
        settings.Write("options", "Bak", v);
        EXPECT_TRUE(ReadGlobalOptions(store).bak) << v;
    }
    settings.Write("options", "Virgolette", "yes");
    EXPECT_FALSE(ReadGlobalOptions(store).virgolette);
    settings.Write("options", "Virgolette", "1 ");
    EXPECT_FALSE(ReadGlobalOptions(store).virgolette);
    settings.Write("options", "TipOfTheDay", "");
    EXPECT_TRUE(ReadGlobalOptions(store).tipOfTheDay);
    settings.Write("options", "TipOfTheDay", "yes");
    EXPECT_FALSE(ReadGlobalOptions(store).tipOfTheDay);
    settings.Write("options", "NotSaveTool", "1");
    EXPECT_FALSE(ReadGlobalOptions(store).restoreToolbar);
}

TEST(Readers, NumbersThatWouldBreakTheProgramAreBounded) {
    MemorySettings settings;
    RecordingMessages messages;
    const SettingsStore store(settings, messages);
    auto with = [&](const char* name, const char* value) {
        settings.Write("options", name, value);
        return ReadGlobalOptions(store);
    };
    EXPECT_EQ(with("maxCacheImg", "0").maxCacheImg, 1);
    EXPECT_EQ(with("maxCacheImg", "-40").maxCacheImg, 1);
    EXPECT_EQ(with("maxCacheImg", "abc").maxCacheImg, 20);
    EXPECT_EQ(with("maxCacheImg", "99999999999").maxCacheImg, 20);
    EXPECT_EQ(with("undoDeep", "0").undoDeep, 1);
    EXPECT_EQ(with("undoDeep", "+7").undoDeep, 7);
    EXPECT_EQ(with("FormLim", "1").formLim, 3);
    EXPECT_EQ(with("Cursors", "9").cursors, 0);

    settings.Write("options", "PromemSave", "1");
    EXPECT_EQ(SaveReminderInterval(with("TimeSave", "x")), 300000ms);
    EXPECT_EQ(SaveReminderInterval(with("TimeSave", "0")), std::nullopt);
    EXPECT_EQ(SaveReminderInterval(with("TimeSave", "-3")), std::nullopt);
    EXPECT_EQ(SaveReminderInterval(with("TimeSave", "2000000000")),
              std::chrono::milliseconds(35791LL * 60000));
    EXPECT_LE(SaveReminderInterval(with("TimeSave", "2000000000"))->count(), 2147483647);
    settings.Write("options", "PromemSave", "yes");
    EXPECT_EQ(SaveReminderInterval(with("TimeSave", "5")), std::nullopt);
}

TEST(Readers, FileTypesMatchWithoutCase) {
    MemorySettings settings;
    RecordingMessages messages;
    SettingsStore store(settings, messages);
    settings.Write("ext\\.PDF", "comp", "2");
    settings.Write("ext\\.PDF", "appPath", "/usr/bin/evince");
    settings.Write("ext\\.doc", "comp", "");
    settings.Write("ext\\.odt", "comp", "seven");
    settings.Write("ext\\.bad", "comp", "7");
    EXPECT_EQ(fileTypeBehaviour(store, ".pdf", 0), 2);
    EXPECT_EQ(fileTypeBehaviour(store, ".Pdf", 0), 2);
    EXPECT_EQ(fileTypeApplication(store, ".pdf"), "/usr/bin/evince");
    EXPECT_EQ(fileTypeBehaviour(store, ".doc", 3), 0);
    EXPECT_EQ(fileTypeBehaviour(store, ".odt", 3), 0);
    EXPECT_EQ(fileTypeBehaviour(store, ".bad", 3), 0);
    EXPECT_EQ(fileTypeBehaviour(store, ".zip", 1), 1);
}

TEST(Readers, TheBrowsersMakeThePreviewMenu) {
    MemorySettings settings;
    RecordingMessages messages;
    SettingsStore store(settings, messages);
    settings.Write("Browser", "Num", "2");
    settings.Write("Browser\\0", "Name", "Firefox");
    settings.Write("Browser\\0", "appPath", "/usr/bin/firefox");
    settings.Write("Browser\\1", "name", "Chromium");
    const auto browsers = ReadBrowsers(store);
    EXPECT_THAT(browsers, ElementsAre(BrowserEntry{"Firefox", "/usr/bin/firefox"},
                                      BrowserEntry{"Chromium", ""}));
    const PreviewMenu menu = BuildPreviewMenu(browsers);
    EXPECT_TRUE(menu.separatorVisible);
    EXPECT_THAT(menu.items, ElementsAre(PreviewMenuItem{"Corrente pagina in Firefox", 0},
                                        PreviewMenuItem{"Tutto l'ipertesto in Firefox", 0},
                                        PreviewMenuItem{"Corrente pagina in Chromium", 1},
                                        PreviewMenuItem{"Tutto l'ipertesto in Chromium", 1}));
    settings.Write("Browser", "num", "-4");
    EXPECT_TRUE(ReadBrowsers(store).empty());
    settings.Write("Browser", "num", "2000000000");
    EXPECT_EQ(ReadBrowsers(store).size(), std::size_t(kMaxBrowsers));
}

TEST(Readers, SpellFlagsSetClearOrLeaveTheirBits) {
    MemorySettings settings;
    RecordingMessages messages;
    SettingsStore store(settings, messages);
    settings.Write("orto", "userDic", "1");
    settings.Write("orto", "caps", "0");
    settings.Write("orto", "roman", "yes");  // leaves bit 8
    settings.Write("orto", "progr", "0");
    bool languageSet = true;
    const SpellSettings s = ReadSpellSettings(store, {0x000A, true, 1033}, &languageSet);
    EXPECT_EQ(s.options, 0x0009);
    EXPECT_FALSE(s.progress);
    EXPECT_EQ(s.language, 1033);
    EXPECT_FALSE(languageSet);
    settings.Write("orto", "lang", "abc");
    EXPECT_EQ(ReadSpellSettings(store, {0, false, 1033}, &languageSet).language, 1040);
    EXPECT_TRUE(languageSet);
    settings.Write("orto", "lang", "70000");
    EXPECT_EQ(ReadSpellSettings(store, {0, false, 1033}).language, 1040);
}

TEST(Readers, TheSearchWindowTakesOnlyWhatItUnderstands) {
    MemorySettings settings;
    RecordingMessages messages;
    SettingsStore store(settings, messages);
    settings.Write("finds", "wholeword", "true");
    settings.Write("finds", "startFrom", "uno");
    const auto s = ReadSearchWindowSettings(store);
    EXPECT_EQ(s.wholeWord, std::nullopt);
    EXPECT_EQ(s.startFrom, std::nullopt);
}

TEST(Readers, TheWindowsTemporaryFolderIsTheUsersOwn) {
    FixedEnvironment env;
    env.SetTempRoot("/var/tmp/prova");
    EXPECT_EQ(DefaultFolder("c:\\temp\\", env), "/var/tmp/prova/");
    EXPECT_EQ(DefaultFolder("C:\\TEMP", env), "/var/tmp/prova/");
    EXPECT_EQ(DefaultFolder("", env), "/var/tmp/prova/");
    EXPECT_EQ(DefaultFolder("/home/u/import/", env), "/home/u/import/");
}

// ---------------------------------------------------------------------------------------------
// Store operations

TEST(StoreOperations, ReadAndWriteOptionsAndGroups) {
    MemorySettings settings;
    RecordingMessages messages;
    SettingsStore store(settings, messages);
    store.writeOptionFlag("Bak", false);
    store.writeOption("LastFile", "/a.kyt");
    store.writeGroupFlag("orto", "caps", true);
    store.writeGroupValue("ext\\.zip", "comp", "1");
    store.writeGroupValue("ext\\.gif", "comp", "2");
    EXPECT_EQ(store.readOption("bak"), "0");
    EXPECT_EQ(store.readOption("lastfile"), "/a.kyt");
    EXPECT_EQ(store.readGroupValue("ORTO", "Caps"), "1");
    EXPECT_EQ(store.readGroupValue("orto", "nothing"), "");
    EXPECT_THAT(store.listGroups("ext"), ElementsAre(".zip", ".gif"));
    store.deleteGroup("ext");
    EXPECT_TRUE(store.listGroups("ext").empty());
    EXPECT_EQ(store.readGroupValue("ext\\.zip", "comp"), "");
}

TEST(StoreOperations, ReadValuePathSplitsAtTheLastBackslash) {
    MemorySettings settings;
    RecordingMessages messages;
    SettingsStore store(settings, messages);
    settings.Write("ext\\.pdf", "appPath", "/usr/bin/evince");
    settings.Write("", "top", "root value");
    EXPECT_EQ(store.readValuePath("\\SOFTWARE\\QX\\Orvo3.0lite\\ext\\.pdf\\appPath"),
              "/usr/bin/evince");
    EXPECT_EQ(store.readValuePath("software\\qx\\orvo3.0LITE\\EXT\\.PDF\\APPPATH"),
              "/usr/bin/evince");
    EXPECT_EQ(store.readValuePath("\\SOFTWARE\\QX\\Orvo3.0lite\\top"), "root value");
    EXPECT_EQ(store.readValuePath("\\SOFTWARE\\QX\\Orvo3.0lite\\ext\\.pdf\\missing"), "");
    EXPECT_EQ(store.readValuePath("\\SOFTWARE\\QX\\Orvo3.0lite\\ext\\.pdf\\"), "");
    EXPECT_EQ(store.readValuePath("\\appPath"), "");
    EXPECT_EQ(store.readValuePath("noBackslash"), "");
    EXPECT_TRUE(messages.Shown().empty());

    EXPECT_EQ(store.readValuePath("\\SOFTWARE\\QX\\Orvo3.0lite\\ext\\.zip\\appPath"), "");
    EXPECT_EQ(store.readValuePath("\\SOFTWARE\\Microsoft\\Office\\Path"), "");
    EXPECT_EQ(store.readValuePath("\\SOFTWARE\\QX\\Orvo3.0liteX\\a"), "");
    EXPECT_THAT(
        messages.Shown(),
        ElementsAre(
            Message{Box::Information,
                    "Tmp err msg. Key non trovata nel registry:\\SOFTWARE\\QX\\"
                    "Orvo3.0lite\\ext\\.zip : appPath"},
            Message{
                Box::Information,
                "Tmp err msg. Key non trovata nel registry:\\SOFTWARE\\Microsoft\\Office : Path"},
            Message{Box::Information,
                    "Tmp err msg. Key non trovata nel registry:\\SOFTWARE\\QX\\Orvo3.0liteX : a"}));
}

// ---------------------------------------------------------------------------------------------
// applySettings

class RecordingTarget final : public ISettingsTarget {
public:
    std::vector<std::string> calls;
    SpellSettings spell{0x0001, false, 1033};
    PreviewMenu menu;

    void SetMaxCacheImg(int n) override { calls.push_back("cache " + std::to_string(n)); }
    void SetUndoDeep(int n) override { calls.push_back("undo " + std::to_string(n)); }
    void SetSaveReminder(std::optional<std::chrono::milliseconds> i) override {
        calls.push_back(i ? "reminder " + std::to_string(i->count()) : "reminder off");
    }
    SpellSettings CurrentSpellSettings() const override { return spell; }
    void SetSpellSettings(const SpellSettings& s) override {
        spell = s;
        calls.push_back("spell " + std::to_string(s.options) + " " + std::to_string(s.language));
    }
    void SetHeaderLanguage(std::uint16_t l) override {
        calls.push_back("header language " + std::to_string(l));
    }
    void SetAutomaticSpellCheck(bool on) override { calls.push_back("auto spell " + Flag(on)); }
    void SetAutoEngQuote(bool on) override { calls.push_back("quotes " + Flag(on)); }
    void SetAutomaticAltText(bool on) override { calls.push_back("alt " + Flag(on)); }
    void SetBackup(bool on) override { calls.push_back("backup " + Flag(on)); }
    void ShowBorderPanel(bool on) override { calls.push_back("border " + Flag(on)); }
    void SetSearchWindowOnTop(bool on) override { calls.push_back("search on top " + Flag(on)); }
    void SetPreviewMenu(const PreviewMenu& m) override {
        menu = m;
        calls.push_back("preview " + std::to_string(m.items.size()));
    }
    void LoadCursors(int set) override { calls.push_back("cursors " + std::to_string(set)); }
};

TEST(ApplySettings, SetsEverythingInOrder) {
    MemorySettings settings;
    RecordingMessages messages;
    SettingsStore store(settings, messages);
    settings.Write("options", "maxCacheImg", "50");
    settings.Write("options", "PromemSave", "1");
    settings.Write("options", "Virgolette", "1");
    settings.Write("options", "Bak", "0");
    settings.Write("options", "Cursors", "2");
    settings.Write("orto", "caps", "1");
    settings.Write("orto", "lang", "abc");
    settings.Write("Browser", "num", "1");
    settings.Write("Browser\\0", "Name", "Lynx");
    RecordingTarget target;
    applySettings(store, target);
    EXPECT_THAT(target.calls, ElementsAre("cache 50", "undo 20", "reminder 300000", "spell 3 1040",
                                          "header language 1040", "auto spell off", "quotes on",
                                          "alt off", "backup off", "border off",
                                          "search on top off", "preview 2", "cursors 2"));
}

TEST(ApplySettings, WithoutALanguageTheHeaderIsLeftAlone) {
    MemorySettings settings;
    RecordingMessages messages;
    SettingsStore store(settings, messages);
    RecordingTarget target;
    applySettings(store, target);
    EXPECT_THAT(target.calls,
                ElementsAre("cache 20", "undo 20", "reminder off", "spell 1 1033", "auto spell off",
                            "quotes off", "alt off", "backup on", "border off", "search on top off",
                            "preview 0", "cursors 0"));
}

}  // namespace
}  // namespace orvo
