// The program's settings: the store operations every window uses, the readers of each setting
// with its default, and applySettings, which copies them into the running program.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Environment.h"
#include "platform/FileSettings.h"
#include "platform/IMessages.h"
#include "platform/ISettings.h"

namespace orvo {

/// Names of the groups and values, as the settings hold them.
namespace keys {
inline constexpr std::string_view kOptions = "options";
inline constexpr std::string_view kMaxCacheImg = "maxCacheImg";
inline constexpr std::string_view kUndoDeep = "undoDeep";
inline constexpr std::string_view kFormLim = "FormLim";
inline constexpr std::string_view kPromemSave = "PromemSave";
inline constexpr std::string_view kTimeSave = "TimeSave";
inline constexpr std::string_view kAtStartBlank = "AtStartBlank";
inline constexpr std::string_view kTipOfTheDay = "TipOfTheDay";
inline constexpr std::string_view kAutoHideTip = "AutoHideTip";
inline constexpr std::string_view kVirgolette = "Virgolette";
inline constexpr std::string_view kAlt = "Alt";
inline constexpr std::string_view kBak = "Bak";
inline constexpr std::string_view kBordoSx = "BordoSx";
inline constexpr std::string_view kCercaTop = "CercaTop";
inline constexpr std::string_view kCursors = "Cursors";
inline constexpr std::string_view kNotSaveTool = "NotSaveTool";
inline constexpr std::string_view kClicPrintPrev = "clicprintprev";
inline constexpr std::string_view kMMAnte = "MMAnte";
inline constexpr std::string_view kLastFile = "LastFile";
inline constexpr std::string_view kDefaultLib = "DefaultLib";
inline constexpr std::string_view kLastDetWord = "LastDetWord";
inline constexpr std::string_view kLastDetWordN = "LastDetWordN";
inline constexpr std::string_view kHcpPath = "HcpPath";
inline constexpr std::string_view kLiteOk = "liteOk";

inline constexpr std::string_view kExt = "ext";  // + "\\" + extension with its dot
inline constexpr std::string_view kComp = "comp";
inline constexpr std::string_view kAppPath = "appPath";
inline constexpr std::string_view kNam = "nam";

inline constexpr std::string_view kBrowser = "Browser";  // + "\\" + n
inline constexpr std::string_view kNum = "num";
inline constexpr std::string_view kName = "Name";

inline constexpr std::string_view kOrto = "orto";
inline constexpr std::string_view kLang = "lang";
inline constexpr std::string_view kProgr = "progr";

inline constexpr std::string_view kForms = "forms";
inline constexpr std::string_view kToolbar = "toolbar";
inline constexpr std::string_view kRecentFile = "RecentFile";

inline constexpr std::string_view kFinds = "finds";
inline constexpr std::string_view kWholeWord = "wholeword";
inline constexpr std::string_view kIgnoreCaps = "ignorecaps";
inline constexpr std::string_view kConf1 = "conf1";
inline constexpr std::string_view kConfAll = "confAll";
inline constexpr std::string_view kStartFrom = "startFrom";

inline constexpr std::string_view kHtmlExp = "htmlexp";
inline constexpr std::string_view kExp = "exp";  // + "\\" + format number
inline constexpr std::string_view kImp = "imp";  // + "\\" + format number
inline constexpr std::string_view kImpPathInWindow = "impPathInWindow";
inline constexpr std::string_view kAllToGif = "allToGif";
inline constexpr std::string_view kSummary = "summary";
inline constexpr std::string_view kComune = "comune";
inline constexpr std::string_view kNumParPerPag = "numParPerPag";
inline constexpr std::string_view kTitLevel = "titLevel";

inline constexpr std::string_view kFtpNet = "ftpnet";
inline constexpr std::string_view kOrvoNet = "orvonet";
}  // namespace keys

/// The store operations. Each reads or writes one value among the global options ("options")
/// or in a group (a path below the program's key, "ext\\.pdf"). A missing value reads as "";
/// reading never creates a key.
class SettingsStore {
public:
    SettingsStore(ISettings& settings, IMessages& messages)
        : settings_(settings), messages_(messages) {}

    std::string readOption(std::string_view name) const;
    void writeOption(std::string_view name, std::string_view value);
    void writeOptionFlag(std::string_view name, bool value);
    std::string readGroupValue(std::string_view group, std::string_view name) const;
    void writeGroupValue(std::string_view group, std::string_view name, std::string_view value);
    void writeGroupFlag(std::string_view group, std::string_view name, bool value);
    /// The names of the keys directly below `group`.
    std::vector<std::string> listGroups(std::string_view group) const;
    /// Deletes the group with everything below it.
    void deleteGroup(std::string_view path);
    /// Reads a value by its absolute registry path,
    /// "\\SOFTWARE\\QX\\Orvo3.0lite\\ext\\.pdf\\appPath": the key is everything before the last
    /// "\\", the value name what follows it. Nothing is read when either is empty. A key that is
    /// not there (this store holds only the program's key) shows "Tmp err msg. Key non trovata nel
    /// registry:" + key + " : " + name.
    std::string readValuePath(std::string_view path) const;

    ISettings& Settings() const { return settings_; }
    IMessages& Messages() const { return messages_; }

private:
    ISettings& settings_;
    IMessages& messages_;
};

/// Holds back the writes to a file store while it lives (or until End): the changes made
/// meanwhile replace the file once. Other stores write at once as usual.
class SettingsBatch {
public:
    explicit SettingsBatch(ISettings& settings);
    void End() { batch_.reset(); }

private:
    std::optional<FileSettings::Batch> batch_;
};

/// A decimal with an optional sign filling the whole text, in the range of int; nullopt
/// otherwise. Settings hold numbers this way.
std::optional<int> ParseSettingInt(std::string_view text);

/// The global options as their readers take them, each with its default.
struct GlobalOptions {
    int maxCacheImg = 20;  // at least 1
    int undoDeep = 20;     // at least 1
    int formLim = 3;       // at least 3
    bool promemSave = false;
    int timeSave = 5;  // minutes; 0 or less turns the reminder off
    bool atStartBlank = false;
    bool tipOfTheDay = true;
    bool autoHideTip = false;
    bool virgolette = false;
    bool alt = false;
    bool bak = true;
    bool bordoSx = false;
    bool cercaTop = false;
    int cursors = 0;              // 0..3
    bool restoreToolbar = false;  // "NotSaveTool" is "0"
    bool clicPrintPrev = true;
    bool mmAnte = true;
};
GlobalOptions ReadGlobalOptions(const SettingsStore& store);

/// The save reminder's interval: nullopt (off) unless "PromemSave" is "1" and "TimeSave" is
/// above 0. Minutes are bounded so the interval fits in 32 bits of milliseconds.
std::optional<std::chrono::milliseconds> SaveReminderInterval(const GlobalOptions& options);
inline constexpr int kMaxTimeSaveMinutes = 35791;

/// One file type's behaviour (a row of the options window's file-type list).
struct TExtData {
    std::int32_t comp = 0;  // 0 ask the user, 1 save, 2 run with the desktop's program, 3 run
                            // with appPath
    std::string appPath;
    std::string nam;  // description
    bool operator==(const TExtData&) const = default;
};
TExtData ReadExtData(const SettingsStore& store, std::string_view extension);
void WriteExtData(SettingsStore& store, std::string_view extension, const TExtData& data);

/// The behaviour for files of `extension` (".pdf", any case), `fallback` when the type is not
/// listed. A "comp" that is empty, not a number or outside 0..3 gives 0 (ask the user).
std::uint8_t fileTypeBehaviour(const SettingsStore& store, std::string_view extension,
                               std::uint8_t fallback);
std::string fileTypeApplication(const SettingsStore& store, std::string_view extension);

struct BrowserEntry {
    std::string name;     // shown in the preview menu
    std::string appPath;  // the browser's program
    bool operator==(const BrowserEntry&) const = default;
};
/// The configured browsers: "Browser" "num" of them (at most kMaxBrowsers).
std::vector<BrowserEntry> ReadBrowsers(const SettingsStore& store);
inline constexpr int kMaxBrowsers = 256;

/// The items the preview submenu gets after its item "n28", each tagged with its browser.
struct PreviewMenuItem {
    std::string caption;
    int tag = 0;
    bool operator==(const PreviewMenuItem&) const = default;
};
struct PreviewMenu {
    bool separatorVisible = false;
    std::vector<PreviewMenuItem> items;
};
PreviewMenu BuildPreviewMenu(const std::vector<BrowserEntry>& browsers);

/// The spell checker's options: a 16-bit set, the progress window switch and the language.
struct SpellSettings {
    std::uint16_t options = 0;
    bool progress = false;
    int language = 1040;
    bool operator==(const SpellSettings&) const = default;
};
/// The bits of the option set, by the flag of the "orto" group that keeps each.
struct SpellFlag {
    std::string_view name;
    std::uint16_t bit;
};
inline constexpr SpellFlag kSpellFlags[] = {{"userDic", 1}, {"roman", 8},  {"caps", 2},
                                            {"repeat", 64}, {"start", 16}, {"point", 256},
                                            {"rate", 1024}};
inline constexpr int kItalianLanguage = 1040;
inline constexpr int kEnglishLanguage = 1033;
/// Lays the "orto" group over `current`: a flag "1" sets its bit, "0" clears it, anything else
/// leaves it; likewise "progr". A non-empty "lang" becomes the language (1040 when it is not a
/// number from 0 to 65535). `languageSet` tells whether "lang" was there.
SpellSettings ReadSpellSettings(const SettingsStore& store, SpellSettings current,
                                bool* languageSet = nullptr);

/// What the search window takes from "finds" when shown: a flag only when it is "1" or "0", the
/// start only when it is a number.
struct SearchWindowSettings {
    std::optional<bool> wholeWord, ignoreCaps, conf1, confAll;
    std::optional<int> startFrom;  // 0 "Pagina 0", 1 "Pagina corrente"
};
SearchWindowSettings ReadSearchWindowSettings(const SettingsStore& store);

/// The import window of one format ("imp\\" + n).
struct ImportWindowSettings {
    std::string impPathInWindow;  // the user's temporary folder when missing or "c:\\temp\\"
    bool allToGif = false, summary = false, comune = false;
    std::string numParPerPag = "100";
    std::string titLevel = "4";
};
ImportWindowSettings ReadImportWindowSettings(const SettingsStore& store, int format,
                                              const Environment& environment);
/// A folder stored in Windows form as the default "c:\\temp\\" (any case, with or without the
/// last "\\") is the user's temporary folder; others are kept.
std::string DefaultFolder(std::string_view stored, const Environment& environment);

/// What applySettings sets in the running program; the main window implements it.
class ISettingsTarget {
public:
    virtual ~ISettingsTarget() = default;
    virtual void SetMaxCacheImg(int pictures) = 0;
    virtual void SetUndoDeep(int steps) = 0;
    /// Starts the save reminder with this interval, or stops it (nullopt).
    virtual void SetSaveReminder(std::optional<std::chrono::milliseconds> interval) = 0;
    virtual SpellSettings CurrentSpellSettings() const = 0;
    virtual void SetSpellSettings(const SpellSettings& settings) = 0;
    /// The edited hypertext's header takes the checker's language.
    virtual void SetHeaderLanguage(std::uint16_t language) = 0;
    virtual void SetAutomaticSpellCheck(bool on) = 0;
    virtual void SetAutoEngQuote(bool on) = 0;
    virtual void SetAutomaticAltText(bool on) = 0;
    virtual void SetBackup(bool on) = 0;
    virtual void ShowBorderPanel(bool visible) = 0;
    /// Hides the search window, if there is one, and sets whether it stays on top.
    virtual void SetSearchWindowOnTop(bool onTop) = 0;
    virtual void SetPreviewMenu(const PreviewMenu& menu) = 0;
    virtual void LoadCursors(int set) = 0;
};

/// Copies the stored options into the running program, in the order the program relies on:
/// picture cache and undo depth, save reminder, spell checking, quotes, alternative texts,
/// backups, border panel, search window, preview menu, pointers.
void applySettings(const SettingsStore& store, ISettingsTarget& target);

}  // namespace orvo
