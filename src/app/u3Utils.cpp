// The store operations, the readers of the settings and applySettings.
#include "app/u3Utils.h"

#include <algorithm>

#include "base/Cp1252.h"
#include "base/Paths.h"

namespace orvo {

using namespace orvo::literals;

namespace {

std::string Join(std::string_view group, std::string_view name) {
    std::string key(group);
    key += '\\';
    key += name;
    return key;
}

}  // namespace

SettingsBatch::SettingsBatch(ISettings& settings) {
    if (auto* file = dynamic_cast<FileSettings*>(&settings)) batch_.emplace(*file);
}

std::string SettingsStore::readOption(std::string_view name) const {
    return settings_.ReadString(keys::kOptions, name);
}

void SettingsStore::writeOption(std::string_view name, std::string_view value) {
    settings_.Write(keys::kOptions, name, value);
}

void SettingsStore::writeOptionFlag(std::string_view name, bool value) {
    settings_.WriteFlag(keys::kOptions, name, value);
}

std::string SettingsStore::readGroupValue(std::string_view group, std::string_view name) const {
    return settings_.ReadString(group, name);
}

void SettingsStore::writeGroupValue(std::string_view group, std::string_view name,
                                    std::string_view value) {
    settings_.Write(group, name, value);
}

void SettingsStore::writeGroupFlag(std::string_view group, std::string_view name, bool value) {
    settings_.WriteFlag(group, name, value);
}

std::vector<std::string> SettingsStore::listGroups(std::string_view group) const {
    return settings_.SubKeys(group);
}

void SettingsStore::deleteGroup(std::string_view path) {
    settings_.DeleteKey(path);
}

std::string SettingsStore::readValuePath(std::string_view path) const {
    const std::size_t cut = path.rfind('\\');
    if (cut == std::string_view::npos) return {};
    const std::string_view key = path.substr(0, cut);
    const std::string_view name = path.substr(cut + 1);
    if (key.empty() || name.empty()) return {};

    // The only hive is the program's own: strip its key to reach the store's groups.
    std::string_view relative = key;
    if (!relative.empty() && relative.front() == '\\') relative.remove_prefix(1);
    constexpr std::string_view kRoot = "SOFTWARE\\QX\\Orvo3.0lite";
    bool inside = false;
    if (relative.size() >= kRoot.size() && SameText1252(relative.substr(0, kRoot.size()), kRoot)) {
        relative.remove_prefix(kRoot.size());
        inside = relative.empty() || relative.front() == '\\';
    }
    if (!inside || !settings_.KeyExists(relative)) {
        messages_.Show(Box::Information, std::string("Tmp err msg. Key non trovata nel registry:") +
                                             std::string(key) + " : " + std::string(name));
        return {};
    }
    return settings_.ReadString(relative, name);
}

std::optional<int> ParseSettingInt(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 2147483647LL) return std::nullopt;
    return int(value);
}

GlobalOptions ReadGlobalOptions(const SettingsStore& store) {
    GlobalOptions o;
    auto number = [&](std::string_view name, int fallback) {
        return ParseSettingInt(store.readOption(name)).value_or(fallback);
    };
    auto onlyOne = [&](std::string_view name) { return store.readOption(name) == "1"; };
    auto unlessZero = [&](std::string_view name) { return store.readOption(name) != "0"; };

    // A cache or undo list of 0 would drop what was just added: at least 1.
    o.maxCacheImg = std::max(1, number(keys::kMaxCacheImg, 20));
    o.undoDeep = std::max(1, number(keys::kUndoDeep, 20));
    o.formLim = std::max(3, number(keys::kFormLim, 3));
    o.promemSave = onlyOne(keys::kPromemSave);
    o.timeSave = number(keys::kTimeSave, 5);
    o.atStartBlank = onlyOne(keys::kAtStartBlank);
    const std::string tip = store.readOption(keys::kTipOfTheDay);
    o.tipOfTheDay = tip == "1" || tip.empty();
    o.autoHideTip = onlyOne(keys::kAutoHideTip);
    o.virgolette = onlyOne(keys::kVirgolette);
    o.alt = onlyOne(keys::kAlt);
    o.bak = unlessZero(keys::kBak);
    o.bordoSx = onlyOne(keys::kBordoSx);
    o.cercaTop = onlyOne(keys::kCercaTop);
    o.cursors = number(keys::kCursors, 0);
    if (o.cursors < 0 || o.cursors > 3) o.cursors = 0;
    o.restoreToolbar = store.readOption(keys::kNotSaveTool) == "0";
    o.clicPrintPrev = unlessZero(keys::kClicPrintPrev);
    o.mmAnte = unlessZero(keys::kMMAnte);
    return o;
}

std::optional<std::chrono::milliseconds> SaveReminderInterval(const GlobalOptions& options) {
    if (!options.promemSave || options.timeSave <= 0) return std::nullopt;
    return std::chrono::milliseconds(std::int64_t(std::min(options.timeSave, kMaxTimeSaveMinutes)) *
                                     60000);
}

TExtData ReadExtData(const SettingsStore& store, std::string_view extension) {
    const std::string group = Join(keys::kExt, extension);
    TExtData data;
    data.appPath = store.readGroupValue(group, keys::kAppPath);
    data.nam = store.readGroupValue(group, keys::kNam);
    data.comp = ParseSettingInt(store.readGroupValue(group, keys::kComp)).value_or(0);
    return data;
}

void WriteExtData(SettingsStore& store, std::string_view extension, const TExtData& data) {
    const std::string group = Join(keys::kExt, extension);
    store.writeGroupValue(group, keys::kAppPath, data.appPath);
    store.writeGroupValue(group, keys::kNam, data.nam);
    store.writeGroupValue(group, keys::kComp, std::to_string(data.comp));
}

std::uint8_t fileTypeBehaviour(const SettingsStore& store, std::string_view extension,
                               std::uint8_t fallback) {
    const std::string lower = Lower1252(extension);
    for (const std::string& name : store.listGroups(keys::kExt)) {
        if (!SameText1252(name, lower)) continue;
        const auto comp =
            ParseSettingInt(store.readGroupValue(Join(keys::kExt, name), keys::kComp));
        if (!comp || *comp < 0 || *comp > 3) return 0;
        return std::uint8_t(*comp);
    }
    return fallback;
}

std::string fileTypeApplication(const SettingsStore& store, std::string_view extension) {
    return store.readGroupValue(Join(keys::kExt, extension), keys::kAppPath);
}

std::vector<BrowserEntry> ReadBrowsers(const SettingsStore& store) {
    const int count =
        std::clamp(ParseSettingInt(store.readGroupValue(keys::kBrowser, keys::kNum)).value_or(0), 0,
                   kMaxBrowsers);
    std::vector<BrowserEntry> browsers;
    for (int n = 0; n < count; ++n) {
        const std::string group = Join(keys::kBrowser, std::to_string(n));
        browsers.push_back({store.readGroupValue(group, keys::kName),
                            store.readGroupValue(group, keys::kAppPath)});
    }
    return browsers;
}

PreviewMenu BuildPreviewMenu(const std::vector<BrowserEntry>& browsers) {
    PreviewMenu menu;
    menu.separatorVisible = !browsers.empty();
    for (std::size_t n = 0; n < browsers.size(); ++n) {
        menu.items.push_back({"Corrente pagina in " + browsers[n].name, int(n)});
        menu.items.push_back({"Tutto l'ipertesto in " + browsers[n].name, int(n)});
    }
    return menu;
}

SpellSettings ReadSpellSettings(const SettingsStore& store, SpellSettings current,
                                bool* languageSet) {
    for (const SpellFlag& flag : kSpellFlags) {
        const std::string v = store.readGroupValue(keys::kOrto, flag.name);
        if (v == "1") current.options |= flag.bit;
        if (v == "0") current.options &= std::uint16_t(~flag.bit);
    }
    const std::string progress = store.readGroupValue(keys::kOrto, keys::kProgr);
    if (progress == "1") current.progress = true;
    if (progress == "0") current.progress = false;
    const std::string lang = store.readGroupValue(keys::kOrto, keys::kLang);
    if (languageSet) *languageSet = !lang.empty();
    if (!lang.empty()) {
        const auto id = ParseSettingInt(lang);
        current.language = id && *id >= 0 && *id <= 65535 ? *id : kItalianLanguage;
    }
    return current;
}

SearchWindowSettings ReadSearchWindowSettings(const SettingsStore& store) {
    SearchWindowSettings s;
    auto flag = [&](std::string_view name) -> std::optional<bool> {
        const std::string v = store.readGroupValue(keys::kFinds, name);
        if (v == "1") return true;
        if (v == "0") return false;
        return std::nullopt;
    };
    s.wholeWord = flag(keys::kWholeWord);
    s.ignoreCaps = flag(keys::kIgnoreCaps);
    s.conf1 = flag(keys::kConf1);
    s.confAll = flag(keys::kConfAll);
    s.startFrom = ParseSettingInt(store.readGroupValue(keys::kFinds, keys::kStartFrom));
    return s;
}

std::string DefaultFolder(std::string_view stored, const Environment& environment) {
    if (stored.empty() || SameText1252(stored, "c:\\temp\\") || SameText1252(stored, "c:\\temp"))
        return NameOfPath(environment.TempRoot()) + "/";
    return std::string(stored);
}

ImportWindowSettings ReadImportWindowSettings(const SettingsStore& store, int format,
                                              const Environment& environment) {
    const std::string group = Join(keys::kImp, std::to_string(format));
    ImportWindowSettings s;
    s.impPathInWindow =
        DefaultFolder(store.readGroupValue(group, keys::kImpPathInWindow), environment);
    s.allToGif = store.readGroupValue(group, keys::kAllToGif) == "1";
    s.summary = store.readGroupValue(group, keys::kSummary) == "1";
    s.comune = store.readGroupValue(group, keys::kComune) == "1";
    if (auto v = store.readGroupValue(group, keys::kNumParPerPag); !v.empty()) s.numParPerPag = v;
    if (auto v = store.readGroupValue(group, keys::kTitLevel); !v.empty()) s.titLevel = v;
    return s;
}

void applySettings(const SettingsStore& store, ISettingsTarget& target) {
    const GlobalOptions o = ReadGlobalOptions(store);
    target.SetMaxCacheImg(o.maxCacheImg);
    target.SetUndoDeep(o.undoDeep);
    target.SetSaveReminder(SaveReminderInterval(o));

    bool languageSet = false;
    const SpellSettings spell =
        ReadSpellSettings(store, target.CurrentSpellSettings(), &languageSet);
    target.SetSpellSettings(spell);
    if (languageSet) target.SetHeaderLanguage(std::uint16_t(spell.language));
    target.SetAutomaticSpellCheck(false);

    target.SetAutoEngQuote(o.virgolette);
    target.SetAutomaticAltText(o.alt);
    target.SetBackup(o.bak);
    target.ShowBorderPanel(o.bordoSx);
    target.SetSearchWindowOnTop(o.cercaTop);
    target.SetPreviewMenu(BuildPreviewMenu(ReadBrowsers(store)));
    target.LoadCursors(o.cursors);
}

}  // namespace orvo
