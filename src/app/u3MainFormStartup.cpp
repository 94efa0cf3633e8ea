// The main window's command flow, start-up and settings: the folders beside the program, the
// first run, FormCreate and FormShow, applying the stored options, the timers.
#include "app/u3MainForm.h"

#include "app/MainFormFiles.h"

#include <algorithm>

#include "base/Files.h"
#include "base/Paths.h"
#include "model/uKYTset.h"

namespace orvo {

using namespace mainform;

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------------------------
// Folders beside the program: shipped ones under the share folder, writable ones in the
// user's data folder.

fs::path TMainFormRules::ExamplesFolder() const {
    return services_.environment.UserDataDir() / "es_kyt";
}

fs::path TMainFormRules::SharedExamplesFolder() const {
    return services_.environment.ShareDir() / "es_kyt";
}

fs::path TMainFormRules::TemplatesFolder() const {
    return services_.environment.UserDataDir() / "HypTemplates";
}

fs::path TMainFormRules::StartDocumentPath() const {
    return services_.environment.UserDataDir() / "Docs" / "index.kyt";
}

fs::path TMainFormRules::LibraryPath() const {
    const std::string named = services_.settings.ReadString(kOptions, "DefaultLib");
    if (!named.empty() && ExtensionOf(named) == ".cus") return NativePath(FromWindowsPath(named));
    return services_.environment.UserDataDir() / "Custom" / "default.cus";
}

bool TMainFormRules::InExamples(const std::string& path) const {
    return LiesIn(path, ExamplesFolder()) || LiesIn(path, SharedExamplesFolder());
}

bool TMainFormRules::InTemplates(const std::string& path) const {
    const Environment& env = services_.environment;
    for (const fs::path& base : {env.UserDataDir(), env.ShareDir()})
        if (LiesIn(path, base / "Templates") || LiesIn(path, base / "HypTemplates")) return true;
    return false;
}

// ---------------------------------------------------------------------------------------------
// Start-up

GlobalOptions TMainFormRules::Options() const {
    return ReadGlobalOptions(SettingsStore(services_.settings, services_.messages));
}

void TMainFormRules::ProgramStart() {
    ISettings& settings = services_.settings;
    if (settings.ReadString(kOptions, "liteOk") != "1") services_.publish.RunSetupWizard();
    if (!Options().tipOfTheDay) {
        services_.windows.ShowSplash();
        splashShown_ = true;
    } else {
        services_.windows.ShowTips("Caricamento in corso");
        splashShown_ = false;
    }
}

void TMainFormRules::WriteFirstRunDefaults() {
    ISettings& s = services_.settings;
    SettingsBatch batch(s);
    if (!s.Read("orvonet", "numConfTot")) {
        s.Write("orvonet", "numConfTot", "1");
        s.Write("orvonet", "numSelectedConf", "0");
        const std::string_view k = "orvonet\\0";
        s.Write(k, "directoryGet", "c:\\temp");
        s.Write(k, "orvoBaseDir", "/scripts/cgi-orvo/");
        s.Write(k, "orvoBaseDir2", "/scripts/cgi-orvo/");
        s.Write(k, "orvoCGI", "orvod.dll");
        s.Write(k, "orvoUpCGI", "orvoupd.dll");
        s.Write(k, "nomeConf", "DefaultNT");
        s.Write(k, "port", "80");
        s.Write(k, "server", "www.example.com");
        s.Write(k, "sezione", "0");
        s.Write(k, "timeout", "30");
        s.Write(k, "user", "default");
    }
    if (!s.Read("ftpnet", "numConfTot")) {
        s.Write("ftpnet", "numConfTot", "1");
        for (std::string_view name :
             {"numSelectedConf", "numSelectedConf0", "numSelectedConf1", "numSelectedConf2"})
            s.Write("ftpnet", name, "0");
        const std::string_view k = "ftpnet\\0";
        s.Write(k, "BaseDir", "/");
        s.Write(k, "nomeConf", "Default");
        s.Write(k, "port", "21");
        s.Write(k, "savePass", "0");
        s.Write(k, "server", "ftp.example.com");
        s.Write(k, "timeout", "30");
        s.Write(k, "user", "anonymous");
        s.Write(k, "useScript", "0");
    }
}

void TMainFormRules::FormCreate() {
    ISettings& settings = services_.settings;
    const GlobalOptions options = Options();
    frameLimit_ = std::max(3, options.formLim);
    toolbarLayout_.reset();
    if (options.restoreToolbar) toolbarLayout_ = settings.Read(keys::kToolbar, "layout");
    htmlOptions_.keepImageNames = settings.ReadString("htmlexp", "expOrigName") == "1";
    htmlOptions_.separateImages = settings.ReadString("htmlexp", "expSepImage") == "1";
    htmlOptions_.altTexts = settings.ReadString("htmlexp", "expAlt") != "0";
    htmlOptions_.extensionType = settings.ReadInt("htmlexp", "expTipoExt", 0);
    std::error_code ec;
    fs::create_directories(services_.environment.UserDataDir() / "ModelliCornici", ec);
    setCaption(std::string(kUntitled));
    WriteFirstRunDefaults();
    services_.editor.HideContextToolbars();
    ApplySettings();
    recent_.Load(settings);
    UpdateView();
}

void TMainFormRules::FormShow(const CommandLine& commandLine) {
    // The prototype library.
    const fs::path library = LibraryPath();
    std::error_code ec;
    if (fs::is_regular_file(library, ec)) {
        KYTsetLib_.LoadFromFile(NameOfPath(library));
    } else {
        KYTsetLib_.NewDocument();
        fs::create_directories(library.parent_path(), ec);
        if (!KYTsetLib_.SaveToFile(NameOfPath(library), 2))
            services_.prompter.ShowErrorList(kSaveFailed, KYTsetLib_.Errors());
    }

    if (commandLine.install) {
        const Status registered = RegisterWithDesktop(services_.desktopDataHome,
                                                      services_.programPath, services_.programIcon);
        if (!registered) services_.messages.Error(registered.failure().text);
    }
    nextAction_ = commandLine.nextAction;
    fs::path file = commandLine.file;
    if (!file.empty() && file.is_relative()) file = fs::absolute(file, ec);
    if (!file.empty() && fs::is_regular_file(file, ec))
        openFile(NameOfPath(file), false);
    else
        OpenLastDocument();

    ISecondaryWindows& windows = services_.windows;
    if (nextAction_ != NextAction::ProbeWordProcessor || Options().autoHideTip)
        windows.CloseTips();
    else
        windows.RetitleTips("Suggerimenti");
    if (nextActionTimer_) services_.scheduler.StopTimer(nextActionTimer_);
    nextActionTimer_ =
        services_.scheduler.StartTimer(kNextActionDelay, false, [this] { TimerNextActionTimer(); });
    if (splashShown_) {
        windows.CloseSplash();
        splashShown_ = false;
    }
    UpdateView();
}

void TMainFormRules::OpenLastDocument() {
    mainKYTset_.NewDocument();
    const std::string last = services_.settings.ReadString(kOptions, keys::kLastFile);
    if (!last.empty() && !Options().atStartBlank) {
        openFile(last, false);
        return;
    }
    const fs::path index = StartDocumentPath();
    std::error_code ec;
    fs::create_directories(index.parent_path(), ec);
    // An empty file reads as a new document; an existing one is never emptied.
    if (!fs::exists(index, ec)) {
        if (Status made = WriteFileAtomically(index, ""); !made)
            services_.messages.Error(made.failure().text);
    }
    openFile(NameOfPath(index), false);
}

// ---------------------------------------------------------------------------------------------
// Timers

// What applySettings sets: the containers, the reminder, the editor and the window's state.
class TMainFormRules::SettingsTarget final : public ISettingsTarget {
public:
    explicit SettingsTarget(TMainFormRules& form) : form_(form) {}
    void SetMaxCacheImg(int pictures) override {
        form_.mainKYTset_.MaxCacheImg = pictures;
        form_.KYTsetLib_.MaxCacheImg = pictures;
    }
    void SetUndoDeep(int steps) override { form_.mainKYTset_.UndoDeep = steps; }
    void SetSaveReminder(std::optional<std::chrono::milliseconds> interval) override {
        IScheduler& scheduler = form_.services_.scheduler;
        if (form_.reminderTimer_) scheduler.StopTimer(form_.reminderTimer_);
        form_.reminderTimer_ = 0;
        form_.reminderInterval_ = interval.value_or(std::chrono::milliseconds(0));
        form_.StartReminder();
    }
    SpellSettings CurrentSpellSettings() const override {
        SpellSettings current = form_.spell_;
        if (form_.services_.speller) current.language = form_.services_.speller->Language();
        return current;
    }
    void SetSpellSettings(const SpellSettings& settings) override {
        form_.spell_ = settings;
        ISpellLanguage* speller = form_.services_.speller;
        if (speller && speller->Language() != settings.language) {
            const int previous = speller->Language();
            if (!speller->SetLanguage(settings.language)) speller->SetLanguage(previous);
            form_.spell_.language = speller->Language();
        }
    }
    void SetHeaderLanguage(std::uint16_t language) override {
        form_.mainKYTset_.HeaderRecordView().SetU16(kHdrLanguage, language);
    }
    void SetAutomaticSpellCheck(bool on) override { form_.autoSpellCheck_ = on; }
    void SetAutoEngQuote(bool on) override { form_.services_.editor.SetAutoEngQuote(on); }
    void SetAutomaticAltText(bool on) override { form_.mainKYTset_.AutomaticAlternativeText = on; }
    void SetBackup(bool on) override { form_.mainKYTset_.Backups = on; }
    void ShowBorderPanel(bool visible) override { form_.borderPanel_ = visible; }
    void SetSearchWindowOnTop(bool onTop) override { form_.searchOnTop_ = onTop; }
    void SetPreviewMenu(const PreviewMenu& menu) override {
        form_.previewMenu_ = form_.built_.Has(Service::HtmlExport) ? menu : PreviewMenu{};
    }
    void LoadCursors(int set) override { form_.cursors_ = set; }

private:
    TMainFormRules& form_;
};

void TMainFormRules::ApplySettings() {
    SettingsStore store(services_.settings, services_.messages);
    SettingsTarget target(*this);
    applySettings(store, target);
    UpdateView();
}

void TMainFormRules::StartReminder() {
    if (reminderInterval_.count() <= 0 || closing_) return;
    reminderTimer_ =
        services_.scheduler.StartTimer(reminderInterval_, false, [this] { TimerSaveTimer(); });
}

void TMainFormRules::TimerSaveTimer() {
    reminderTimer_ = 0;
    if (closing_) return;
    if (services_.messages.Ask("Promemoria: vuoi salvare?")) FileSave();
    StartReminder();
}

void TMainFormRules::TimerNextActionTimer() {
    nextActionTimer_ = 0;
    switch (nextAction_) {
        case NextAction::ProbeWordProcessor:
            ProbeWordProcessor();
            break;
        case NextAction::Print:
            PrintCommand(CommandId::FilePrintAll);
            break;
        case NextAction::PublishServer:
            ShowOutcome(services_.publish.PublishServer());
            break;
        case NextAction::PublishFtp:
            ShowOutcome(services_.publish.PublishFtp());
            break;
    }
}

void TMainFormRules::ProbeWordProcessor() {
    ISettings& settings = services_.settings;
    // The probe runs at most once a day: "LastDetWord" holds the date of the last success.
    const std::string today = DateText(services_.environment.Now());
    if (settings.ReadString(kOptions, "LastDetWord") == today) {
        wordProcessor_ = settings.ReadInt(kOptions, "LastDetWordN", 1, 1, 2);
        return;
    }
    const int found = services_.probeWordProcessor ? services_.probeWordProcessor() : 0;
    wordProcessor_ = found == 1 || found == 2 ? found : 0;
    if (wordProcessor_ > 0) {
        settings.WriteInt(kOptions, "LastDetWordN", wordProcessor_);
        settings.Write(kOptions, "LastDetWord", today);
    }
}

}  // namespace orvo
