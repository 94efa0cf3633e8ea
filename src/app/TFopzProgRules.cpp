// The rules of the program options window.
#include "app/TFopzProgRules.h"

#include <algorithm>

#include "base/Cp1252.h"

namespace orvo {

using namespace orvo::literals;

namespace {

std::string ExtGroup(std::string_view extension) {
    return std::string(keys::kExt) + "\\" + std::string(extension);
}

// A number field: the value within the spin box's bounds, or nullopt when it is no number.
std::optional<int> SpinValue(const std::string& text, SpinBounds bounds) {
    const auto v = ParseSettingInt(text);
    if (!v) return std::nullopt;
    return std::clamp(*v, bounds.lo, bounds.hi);
}

}  // namespace

TFopzProgRules::TFopzProgRules(SettingsStore& store, IProgramOptionsHost& host)
    : store_(store), host_(host) {}

void TFopzProgRules::FormShow() {
    ProgramOptions o;
    o.windowCacheLimit = host_.WindowCacheLimit();

    for (const BrowserEntry& b : ReadBrowsers(store_)) o.browsers.push_back({b.name, b.appPath});
    for (const std::string& name : store_.listGroups(keys::kExt))
        o.fileTypes.push_back({name, ReadExtData(store_, name), name});

    auto onlyOne = [&](std::string_view name) { return store_.readOption(name) == "1"; };
    auto textOr = [&](std::string_view name, const char* fallback) {
        std::string v = store_.readOption(name);
        return v.empty() ? std::string(fallback) : v;
    };
    o.atStartBlank = onlyOne(keys::kAtStartBlank);
    const std::string tip = store_.readOption(keys::kTipOfTheDay);
    o.tipOfTheDay = tip == "1" || tip.empty();
    o.autoHideTip = onlyOne(keys::kAutoHideTip);
    o.virgolette = onlyOne(keys::kVirgolette);
    o.alt = onlyOne(keys::kAlt);
    o.promemSave = onlyOne(keys::kPromemSave);
    o.bak = store_.readOption(keys::kBak) != "0";
    o.bordoSx = onlyOne(keys::kBordoSx);
    o.cercaTop = onlyOne(keys::kCercaTop);
    o.notSaveTool = store_.readOption(keys::kNotSaveTool) != "0";
    o.maxCacheImg = textOr(keys::kMaxCacheImg, "20");
    o.undoDeep = textOr(keys::kUndoDeep, "20");
    o.timeSave = textOr(keys::kTimeSave, "5");
    o.cursors = ParseSettingInt(store_.readOption(keys::kCursors)).value_or(0);
    if (o.cursors < 0 || o.cursors > 3) o.cursors = 0;

    if (ISpellerOptions* speller = host_.Speller()) {
        o.spellPanelVisible = true;
        o.languages = speller->Languages();
        std::stable_sort(o.languages.begin(), o.languages.end(),
                         [](const SpellLanguage& a, const SpellLanguage& b) {
                             return CompareText1252(a.name, b.name) < 0;
                         });
        o.spellOptions = speller->Options();
        o.spellProgress = speller->Progress();
        for (std::size_t i = 0; i < o.languages.size(); ++i)
            if (o.languages[i].id == speller->Language()) o.selectedLanguage = int(i);
        if (o.selectedLanguage < 0 && !o.languages.empty()) o.selectedLanguage = 0;
    }
    options_ = std::move(o);
    SelectFileType(options_.fileTypes.empty() ? -1 : 0);
    SelectBrowser(options_.browsers.empty() ? -1 : 0);
}

void TFopzProgRules::SelectFileType(int row) {
    options_.selectedFileType = row >= 0 && row < int(options_.fileTypes.size()) ? row : -1;
}

void TFopzProgRules::ExtParChgClick(const TExtData& shown) {
    if (options_.selectedFileType < 0) return;
    options_.fileTypes[std::size_t(options_.selectedFileType)].data = shown;
}

void TFopzProgRules::RenameFileType(int row, std::string caption) {
    if (row < 0 || row >= int(options_.fileTypes.size())) return;
    options_.fileTypes[std::size_t(row)].caption = std::move(caption);
}

int TFopzProgRules::BaggiungiClick(const TExtData& shown) {
    // The new row gets the behaviour the choice is set back to, so what is shown is what is kept.
    options_.fileTypes.push_back({".new", TExtData{0, shown.appPath, shown.nam}, ""});
    options_.selectedFileType = int(options_.fileTypes.size()) - 1;
    return options_.selectedFileType;
}

void TFopzProgRules::BcancExtClick() {
    const int row = options_.selectedFileType;
    if (row < 0) return;
    const FileTypeRow removed = options_.fileTypes[std::size_t(row)];
    options_.fileTypes.erase(options_.fileTypes.begin() + row);
    store_.deleteGroup(ExtGroup(removed.caption));
    if (!removed.storedAs.empty() && !SameText1252(removed.storedAs, removed.caption))
        store_.deleteGroup(ExtGroup(removed.storedAs));
    SelectFileType(options_.fileTypes.empty() ? -1 : 0);
}

void TFopzProgRules::SelectBrowser(int row) {
    options_.selectedBrowser = row >= 0 && row < int(options_.browsers.size()) ? row : -1;
}

int TFopzProgRules::BaggiungiBClick(std::string program) {
    options_.browsers.push_back({"new", std::move(program)});
    options_.selectedBrowser = int(options_.browsers.size()) - 1;
    return options_.selectedBrowser;
}

void TFopzProgRules::BcancBrowserClick() {
    const int row = options_.selectedBrowser;
    if (row < 0) return;
    options_.browsers.erase(options_.browsers.begin() + row);
    SelectBrowser(options_.browsers.empty() ? -1 : 0);
}

void TFopzProgRules::BrowserPropChange(std::string program) {
    if (options_.selectedBrowser < 0) return;
    options_.browsers[std::size_t(options_.selectedBrowser)].program = std::move(program);
}

bool TFopzProgRules::BdelRegClick() {
    if (!store_.Messages().Ask(
            "Occorrerà chiudere il programma immediatamente in modo che l'azzeramento abbia luogo. Procedo con l'azzeramento?"_cp))
        return false;
    store_.deleteGroup(keys::kForms);
    host_.StopStoringWindowPositions();
    return true;
}

void TFopzProgRules::BOkClick() {
    ProgramOptions& o = options_;
    SettingsBatch batch(store_.Settings());

    // 1. The window cache.
    host_.SetWindowCacheLimit(
        std::clamp(o.windowCacheLimit, kWindowCacheBounds.lo, kWindowCacheBounds.hi));

    // 2. The browsers; the count written bounds what is read next time.
    for (std::size_t n = 0; n < o.browsers.size(); ++n) {
        const std::string group = std::string(keys::kBrowser) + "\\" + std::to_string(n);
        store_.writeGroupValue(group, keys::kName, o.browsers[n].caption);
        store_.writeGroupValue(group, keys::kAppPath, o.browsers[n].program);
    }
    store_.writeGroupValue(keys::kBrowser, "Num", std::to_string(o.browsers.size()));
    o.browsers.clear();
    o.selectedBrowser = -1;

    // 3. The file types. A row renamed in place leaves no group behind under its old name.
    for (const FileTypeRow& row : o.fileTypes)
        if (!row.storedAs.empty() && !SameText1252(row.storedAs, row.caption))
            store_.deleteGroup(ExtGroup(row.storedAs));
    for (const FileTypeRow& row : o.fileTypes) WriteExtData(store_, row.caption, row.data);
    o.fileTypes.clear();
    o.selectedFileType = -1;

    // 4. The "Editor" tab; a number field that holds no number is not written.
    store_.writeOptionFlag(keys::kAtStartBlank, o.atStartBlank);
    if (auto v = SpinValue(o.maxCacheImg, kMaxCacheImgBounds))
        store_.writeOption(keys::kMaxCacheImg, std::to_string(*v));
    store_.writeOption("formLim",
                       std::to_string(std::clamp(o.windowCacheLimit, kWindowCacheBounds.lo,
                                                 kWindowCacheBounds.hi)));
    if (auto v = SpinValue(o.undoDeep, kUndoDeepBounds))
        store_.writeOption(keys::kUndoDeep, std::to_string(*v));
    store_.writeOptionFlag(keys::kTipOfTheDay, o.tipOfTheDay);
    store_.writeOptionFlag(keys::kVirgolette, o.virgolette);
    store_.writeOptionFlag(keys::kAlt, o.alt);
    store_.writeOptionFlag(keys::kPromemSave, o.promemSave);
    store_.writeOptionFlag(keys::kAutoHideTip, o.autoHideTip);
    store_.writeOptionFlag(keys::kBordoSx, o.bordoSx);
    store_.writeOptionFlag(keys::kBak, o.bak);
    store_.writeOptionFlag(keys::kNotSaveTool, o.notSaveTool);
    store_.writeOptionFlag(keys::kCercaTop, o.cercaTop);
    store_.writeOption(keys::kCursors, std::to_string(std::clamp(o.cursors, 0, 3)));
    if (auto v = ParseSettingInt(o.timeSave))
        store_.writeOption(keys::kTimeSave, std::to_string(*v));

    // 5. Spell checking.
    ISpellerOptions* speller = host_.Speller();
    if (o.spellPanelVisible && speller) {
        const int current = speller->Language();
        const int chosen = o.selectedLanguage >= 0 && o.selectedLanguage < int(o.languages.size())
                               ? o.languages[std::size_t(o.selectedLanguage)].id
                               : current;
        if (chosen != current) {
            store_.writeGroupValue(keys::kOrto, keys::kLang, std::to_string(chosen));
            const bool wasReadOnly = host_.EditorReadOnly();
            host_.SetEditorReadOnly(true);
            speller->Close();
            speller->SetLanguage(chosen);
            if (!speller->Open()) {
                speller->SetLanguage(current);
                speller->Open();
            }
            if (!wasReadOnly) host_.SetEditorReadOnly(false);
        }
        for (const SpellFlag& flag : kSpellFlags)
            store_.writeGroupFlag(keys::kOrto, flag.name, (o.spellOptions & flag.bit) != 0);
        store_.writeGroupFlag(keys::kOrto, keys::kProgr, o.spellProgress);
    }
    batch.End();

    // 6. Into the running program.
    host_.ApplySettings();
    host_.ShowCurrentPageAgain();
}

void TFopzProgRules::BAnnullaClick() {}

}  // namespace orvo
