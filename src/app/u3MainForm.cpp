// The main window's command flow: start-up, the document's life cycle, recent files, history,
// edit and preview, links, timers.
#include "app/u3MainForm.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <system_error>

#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Paths.h"
#include "model/BrowseSequence.h"
#include "model/uKYTset.h"

namespace orvo {

using namespace orvo::literals;

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kOptions = "options";
constexpr std::string_view kNotSupported = "Non definito o non supportato.";
constexpr std::string_view kNoPrinter =
    "Nessuna stampante raggiungibile nell'ambiente Windows.\rUscire dal programma ed usare il "
    "pannello di controllo per installare stampanti.";
constexpr std::string_view kSaveFailed = "Salvataggio non riuscito!";
constexpr std::string_view kOpenFilter = "Orvo hypertext (*.kyt)|*.kyt|Tutti i files (*.*)|*.*";
constexpr std::string_view kHtmlFilter = "HTML|*.htm;*.html";
constexpr std::size_t kPageMenuMax = 15;
constexpr auto kNextActionDelay = std::chrono::milliseconds(300);

constexpr std::array<std::string_view, 5> kImageExtensions{".gif", ".jpg", ".wmf", ".jpeg", ".bmp"};
constexpr std::array<std::string_view, 9> kTextExtensions{".txt", ".ini", ".asc", ".rtf", ".pas",
                                                          ".c",   ".cpp", ".doc", ".wri"};
constexpr std::array<std::string_view, 5> kPlainTextExtensions{".txt", ".c", ".pas", ".asc",
                                                               ".ini"};

template <std::size_t N>
bool OneOf(const std::array<std::string_view, N>& list, std::string_view value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool IsHtml(std::string_view extension) {
    return extension == ".htm" || extension == ".html";
}

bool FileExists(const std::string& name) {
    if (name.empty()) return false;
    std::error_code ec;
    return fs::is_regular_file(NativePath(name), ec);
}

std::string FolderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of('/');
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string WithExtension(const std::string& path, std::string_view extension) {
    const std::string folder = FolderOf(path);
    std::string name(StemOf(path));
    name += extension;
    return folder.empty() ? name : folder + "/" + name;
}

// True when `path` names something inside `folder` (by whole components, after resolving
// "..", "." and links).
bool LiesIn(const std::string& path, const fs::path& folder) {
    if (path.empty() || folder.empty()) return false;
    std::error_code ec;
    const fs::path file = fs::weakly_canonical(fs::absolute(NativePath(path), ec), ec);
    if (ec) return false;
    const fs::path base = fs::weakly_canonical(fs::absolute(folder, ec), ec);
    if (ec) return false;
    auto f = file.begin();
    for (auto b = base.begin(); b != base.end(); ++b, ++f) {
        if (b->empty()) continue;  // the trailing "/" of a folder
        if (f == file.end() || *f != *b) return false;
    }
    return f != file.end();
}

std::string Replace(std::string_view text, std::string_view token, std::string_view by) {
    std::string out(text);
    const std::size_t at = out.find(token);
    if (at != std::string::npos) out.replace(at, token.size(), by);
    return out;
}

std::string DateText(std::chrono::system_clock::time_point now) {
    const std::chrono::year_month_day day{std::chrono::floor<std::chrono::days>(now)};
    char text[16];
    std::snprintf(text, sizeof text, "%02u/%02u/%04d", unsigned(day.day()), unsigned(day.month()),
                  int(day.year()));
    return text;
}

}  // namespace

std::string FileUrlOf(const fs::path& file) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : file.string()) {
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (plain || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
            url += char(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

LinkedObject LinkedObjectOf(const TKYToggetto& object, const TKYTset& openDocument) {
    LinkedObject linked;
    linked.kind = object.Kind();
    linked.identifier = object.Identifier();
    linked.object = const_cast<TKYToggetto*>(&object);
    if (object.Owner() && object.Owner() != &openDocument)
        linked.documentFile = object.Owner()->KYTFileName();
    const RecordView record = object.ReadView();
    switch (object.Kind()) {
        case TOggettiHel::internetLink:
            linked.address = record.PStr(kLinkAddress);
            break;
        case TOggettiHel::genLink:
            linked.inUse = !object.IsFree();
            break;
        case TOggettiHel::speclink:
        case TOggettiHel::shortObj:
            linked.subtype = object.Subtype();
            linked.anchor = record.I32(kSpecAnchor);
            linked.targetFrame = record.U8(kSpecFrame);
            linked.action = record.U8(kSpecAction);
            linked.name = record.PStr(kSpecName);
            if (object.Kind() == TOggettiHel::speclink && linked.subtype == 6) {
                if (Result<std::string> bytes = object.ContentBytes(); bytes) {
                    std::string name = *bytes;
                    if (const std::size_t nul = name.find('\0'); nul != std::string::npos)
                        name.resize(nul);
                    linked.importFile = name;
                }
            }
            break;
        default:
            break;
    }
    return linked;
}

TMainFormRules::TMainFormRules(TKYTset& mainKYTset, TKYTset& KYTsetLib,
                               const MainFormServices& services, Services built)
    : mainKYTset_(mainKYTset), KYTsetLib_(KYTsetLib), services_(services), built_(built) {
    setCaption(std::string(kUntitled));
}

TMainFormRules::~TMainFormRules() {
    if (reminderTimer_) services_.scheduler.StopTimer(reminderTimer_);
    if (nextActionTimer_) services_.scheduler.StopTimer(nextActionTimer_);
}

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
// Small pieces of state

void TMainFormRules::UpdateView() {
    services_.view.StateChanged();
}

void TMainFormRules::NotSupported() {
    services_.messages.Inform(kNotSupported);
}

void TMainFormRules::ShowOutcome(Outcome outcome) {
    if (outcome == Outcome::NotSupported) NotSupported();
}

std::string TMainFormRules::DisplayPath() const {
    return captionPath_.empty() ? std::string(kUntitled) : captionPath_;
}

std::string TMainFormRules::HistoryName() const {
    return documentPath_.empty() ? std::string(kUntitled) : documentPath_;
}

bool TMainFormRules::DocumentChanged() const {
    return modified_ || mainKYTset_.Modified() || services_.editor.Changed();
}

void TMainFormRules::ClearModified() {
    modified_ = false;
    mainKYTset_.SetModified(false);
    services_.editor.ClearChanged();
}

int TMainFormRules::PageCount() const {
    return mainKYTset_.KindCount(TOggettiHel::testoHtml);
}

void TMainFormRules::MergeStylesIfGrown(int pagesBefore) {
    if (PageCount() > pagesBefore) services_.converters.MergeImportedStyles(pagesBefore);
}

std::string TMainFormRules::EditPassword() const {
    const std::string password = mainKYTset_.ReadOnlyPassword();
    return password.empty() ? std::string(".") : password;
}

void TMainFormRules::SetEditMode(bool on) {
    editMode_ = on;
    services_.editor.SetReadOnly(!on);
    if (on)
        everEdited_ = true;
    else
        services_.editor.HideContextToolbars();
    UpdateView();
}

bool TMainFormRules::EnterEditMode() {
    if (editMode_) return true;
    const std::string password = EditPassword();
    if (password != ".") {
        const std::optional<std::string> answer =
            services_.prompter.InputBox("Modo editor", "Introduci la password per l'edit");
        if (!answer) return false;
        if (*answer != password) {
            services_.messages.Error("Password errata!");
            return false;
        }
    }
    SetEditMode(true);
    return true;
}

void TMainFormRules::setCaption(const std::string& path) {
    captionPath_ = path == kUntitled ? std::string() : path;
    caption_ = std::string(LastComponent(path));
    if (!captionPath_.empty() && InExamples(path)) caption_ += " [esempio]";
    caption_ += " - ";
    caption_ += kApplicationTitle;
    UpdateView();
}

void TMainFormRules::addRecent(const std::string& path) {
    if (InExamples(path)) return;
    recent_.Add(path);
    UpdateView();
}

void TMainFormRules::removeRecent(const std::string& path) {
    if (recent_.Remove(path)) UpdateView();
}

void TMainFormRules::RebuildPageMenu() {
    pageMenu_.clear();
    const auto& pages = mainKYTset_.KindList(TOggettiHel::testoHtml);
    for (std::size_t i = 0; i < pages.size() && pageMenu_.size() < kPageMenuMax; ++i)
        if (!pages[i]->IsFree()) pageMenu_.push_back(int(i));
}

void TMainFormRules::AddToPageMenu(int page) {
    if (std::find(pageMenu_.begin(), pageMenu_.end(), page) != pageMenu_.end()) return;
    if (pageMenu_.size() >= kPageMenuMax) pageMenu_.erase(pageMenu_.begin());
    pageMenu_.push_back(page);
}

void TMainFormRules::ResetToEmpty() {
    IEditorView& editor = services_.editor;
    editor.ReleasePages();
    mainKYTset_.NewDocument();
    documentPath_.clear();
    importedFrom_.clear();
    setCaption(std::string(kUntitled));
    pageMenu_.clear();
    everEdited_ = false;
    ClearModified();
    editor.ShowPage(0);
}

std::vector<const MenuItem*> TMainFormRules::VisibleMenuItems() const {
    return VisibleItems(editMode_, built_);
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
// Closing

bool TMainFormRules::FormCloseQuery() {
    const bool mayClose = askSaveChanges();
    if (!mayClose) services_.editor.SetEnabled(true);
    return mayClose;
}

void TMainFormRules::FormClose() {
    closing_ = true;
    if (reminderTimer_) services_.scheduler.StopTimer(reminderTimer_);
    if (nextActionTimer_) services_.scheduler.StopTimer(nextActionTimer_);
    reminderTimer_ = nextActionTimer_ = 0;
    services_.editor.ReleasePages();
    services_.editor.SetReadOnly(true);
}

void TMainFormRules::FormDestroy(const std::optional<std::string>& toolbarLayout) {
    ISettings& settings = services_.settings;
    SettingsBatch batch(settings);
    if (FileExists(lastPath_)) settings.Write(kOptions, "LastFile", lastPath_);
    if (toolbarLayout) settings.Write(keys::kToolbar, "layout", *toolbarLayout);
    recent_.Save(settings);
}

// ---------------------------------------------------------------------------------------------
// Opening

void TMainFormRules::openFile(const std::string& path, bool askSave) {
    const std::string extension = ExtensionOf(path);
    if (extension == ".kyt") {
        if (askSave && !askSaveChanges()) return;
        loadDocument(path, false);
    } else if (OneOf(kImageExtensions, extension)) {
        services_.editor.Refresh();
    } else if (OneOf(kTextExtensions, extension)) {
        ImportTextFile(path, askSave);
    } else if (IsHtml(extension)) {
        OpenHtml(path);
    } else {
        services_.editor.Refresh();
    }
}

void TMainFormRules::ImportTextFile(const std::string& path, bool askSave) {
    if (!services_.converters.CanImport(ExtensionOf(path))) {
        NotSupported();
        return;
    }
    if (askSave && !askSaveChanges()) return;
    ResetToEmpty();
    // The imported hypertext has no file of its own: saving it asks for a name, so the
    // source is never overwritten with a hypertext.
    importedFrom_ = path;
    setCaption(path);
    addRecent(path);
    SetEditMode(true);
    const int pagesBefore = PageCount();
    const Outcome outcome = services_.converters.ImportFiles({path});
    ShowOutcome(outcome);
    if (outcome == Outcome::Done) modified_ = true;
    MergeStylesIfGrown(pagesBefore);
}

void TMainFormRules::OpenHtml(const std::string& path) {
    IConverters& converters = services_.converters;
    if (!converters.CanImport(ExtensionOf(path))) {
        NotSupported();
        return;
    }
    const HtmlOpening opening = converters.ChooseHtmlOpening(path);
    if (opening.outcome != Outcome::Done) {
        ShowOutcome(opening.outcome);
        return;
    }
    int choice = std::clamp(opening.choice, 0, 6);
    if (!FileExists(opening.document)) {
        if (choice == 3 || choice == 4) choice = 2;
        if (choice == 5) choice = 1;
        if (choice == 6) choice = 0;
    }
    const auto importInto = [&] {
        const int pagesBefore = PageCount();
        const Outcome outcome = converters.ImportFiles({path});
        ShowOutcome(outcome);
        if (outcome == Outcome::Done) modified_ = true;
        MergeStylesIfGrown(pagesBefore);
    };
    switch (choice) {
        case 0:
            importInto();
            return;
        case 1:
            if (!askSaveChanges()) return;
            ResetToEmpty();
            SetEditMode(true);
            importInto();
            return;
        case 2: {
            if (!askSaveChanges()) return;
            ResetToEmpty();
            SetEditMode(true);
            const Outcome outcome = converters.ImportFollowingLinks(path);
            ShowOutcome(outcome);
            if (outcome == Outcome::Done) modified_ = true;
            return;
        }
        case 3:
            openFile(opening.document, true);
            if (documentPath_ != opening.document) return;
            if (opening.page >= 0 && opening.page != services_.editor.CurrentPage())
                services_.editor.ShowPage(opening.page);
            EnterEditMode();
            return;
        case 4: {
            std::string chosen;
            const Outcome outcome = services_.windows.NewHypertext(opening.document, chosen);
            if (outcome != Outcome::Done) {
                ShowOutcome(outcome);
                return;
            }
            if (!askSaveChanges()) return;
            if (chosen.empty())
                ResetToEmpty();
            else
                loadDocument(chosen, true);
            EnterEditMode();
            return;
        }
        case 5: {
            if (!askSaveChanges()) return;
            ResetToEmpty();
            SetEditMode(true);
            const Outcome outcome =
                services_.windows.CopyPageIn(opening.document, opening.page, true);
            ShowOutcome(outcome);
            if (outcome == Outcome::Done) modified_ = true;
            return;
        }
        default: {
            const Outcome outcome =
                services_.windows.CopyPageIn(opening.document, opening.page, false);
            ShowOutcome(outcome);
            if (outcome == Outcome::Done) modified_ = true;
            return;
        }
    }
}

void TMainFormRules::loadDocument(const std::string& path, bool asNew) {
    IEditorView& editor = services_.editor;
    editor.ReleasePages();
    pageMenu_.clear();
    mainKYTset_.NewDocument();
    const bool read = mainKYTset_.LoadFromFile(path) && mainKYTset_.KYTFileName() == path;
    RebuildPageMenu();
    importedFrom_.clear();
    if (!read) {
        removeRecent(path);
        documentPath_.clear();
        setCaption(std::string(kUntitled));
    } else if (asNew) {
        documentPath_.clear();
        setCaption(std::string(kUntitled));
    } else {
        documentPath_ = path;
        lastPath_ = path;
        setCaption(path);
        addRecent(path);
    }
    everEdited_ = false;
    ClearModified();
    if (ISpellLanguage* speller = services_.speller) {
        const int language = mainKYTset_.HeaderView().U16(kHdrLanguage);
        const int previous = speller->Language();
        if (language != previous && !speller->SetLanguage(language)) speller->SetLanguage(previous);
    }
    if (EditPassword() == ".")
        SetEditMode(true);
    else
        SetEditMode(false);
    editor.ShowPage(0);
}

// ---------------------------------------------------------------------------------------------
// Saving

bool TMainFormRules::askSaveChanges() {
    if (!DocumentChanged() || !everEdited_) return true;
    const Answer answer = services_.messages.AskYesNoCancel(
        Replace("Salvo le modifiche fatte a %s?", "%s", DisplayPath()));
    if (answer == Answer::Cancel) return false;
    if (answer == Answer::No) return true;
    return FileSave();
}

bool TMainFormRules::FileSave() {
    if (documentPath_.empty()) return FileSaveAs();
    return saveAs(documentPath_, 1, true, false);
}

bool TMainFormRules::FileSaveAs() {
    FileDialogRequest request;
    const std::string named = !documentPath_.empty() ? documentPath_ : importedFrom_;
    request.folder = FolderOf(!named.empty() ? named : lastPath_);
    request.fileName = std::string(StemOf(named.empty() ? std::string(kUntitled) : named));
    if (documentPath_.empty() && !importedFrom_.empty()) request.fileName += ".kyt";
    request.filter = std::string(kSaveFilter);
    request.filterIndex = 1;
    const std::optional<FileChoice> choice = services_.prompter.SaveDialog(request);
    if (!choice || choice->path.empty()) return false;
    std::string path = choice->path;
    if (choice->filterIndex == 1 && ExtensionOf(path).empty()) path += ".kyt";
    mainKYTset_.SetExpPrefix(Lower1252(StemOf(path)).substr(0, 16));
    return saveAs(path, choice->filterIndex, true, false);
}

bool TMainFormRules::Salvacomemodello1Click() {
    const fs::path folder = TemplatesFolder();
    std::error_code ec;
    fs::create_directories(folder, ec);
    FileDialogRequest request;
    request.folder = NameOfPath(folder);
    request.fileName = documentPath_.empty() ? std::string("Senza titolo1.kyt")
                                             : std::string(StemOf(documentPath_));
    request.filter = std::string(kSaveFilter);
    request.filterIndex = 1;
    const std::optional<FileChoice> choice = services_.prompter.SaveDialog(request);
    if (!choice || choice->path.empty()) return false;
    std::string path = choice->path;
    if (choice->filterIndex == 1 && ExtensionOf(path).empty()) path += ".kyt";
    mainKYTset_.SetExpPrefix(Lower1252(StemOf(path)).substr(0, 16));
    return saveAs(path, choice->filterIndex, true, true);
}

bool TMainFormRules::saveAs(const std::string& path, int typeIndex, bool fromMenu,
                            bool asTemplate) {
    const std::string extension = ExtensionOf(path);
    if (OneOf(kPlainTextExtensions, extension)) typeIndex = 5;
    if (extension == ".kyt") typeIndex = 1;
    IEditorView& editor = services_.editor;
    IMessages& messages = services_.messages;
    switch (typeIndex) {
        case 1: {
            const auto confirm = [&](std::string_view question) -> std::optional<bool> {
                const Answer answer = messages.AskYesNoCancel(question);
                if (answer == Answer::Yes) return std::nullopt;
                if (answer == Answer::No) return FileSaveAs();
                return false;
            };
            if (InExamples(path)) {
                if (auto decided = confirm(
                        "Sei sicuro di voler salvare questo file nella directory degli esempi? "
                        "Scegli No per cambiare il path."))
                    return *decided;
            } else if (!asTemplate && InTemplates(path)) {
                if (auto decided = confirm("Sei sicuro di voler salvare questo file come "
                                           "modello? Scegli No per cambiare il path."))
                    return *decided;
            }
            // The page's edits go into the document before it is written.
            if (editor.PageHasUnsavedEdits()) editor.CommitPage();
            if (!mainKYTset_.SaveToFile(path, 2)) {
                services_.prompter.ShowErrorList(kSaveFailed, mainKYTset_.Errors());
                return false;
            }
            documentPath_ = path;
            importedFrom_.clear();
            lastPath_ = path;
            setCaption(path);
            ClearModified();
            addRecent(path);
            return true;
        }
        case 3:
        case 4:
        case 5: {
            if (fromMenu && editor.PageHasUnsavedEdits()) editor.CommitPage();
            const PageFormat format = typeIndex == 3   ? PageFormat::Html
                                      : typeIndex == 4 ? PageFormat::Rtf
                                                       : PageFormat::Text;
            const Outcome outcome = services_.converters.ExportPage(
                format, path, editor.CurrentPage(), [this](int page, int phase, int total) {
                    mainKYTtoHtmlExpProgress(page, phase, total);
                });
            ShowOutcome(outcome);
            return outcome == Outcome::Done;
        }
        default: {
            const Outcome outcome = services_.converters.OpenExportWindow(path);
            ShowOutcome(outcome);
            return outcome == Outcome::Done;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Commands

void TMainFormRules::FileNew() {
    if (!askSaveChanges()) return;
    ResetToEmpty();
    if (ISpellLanguage* speller = services_.speller)
        mainKYTset_.HeaderRecordView().SetU16(kHdrLanguage, std::uint16_t(speller->Language()));
    ClearModified();
    SetEditMode(true);
}

void TMainFormRules::Nuovoda1Click() {
    std::string chosen;
    const Outcome outcome = services_.windows.NewHypertext("", chosen);
    if (outcome != Outcome::Done) {
        ShowOutcome(outcome);
        return;
    }
    if (!askSaveChanges()) return;
    if (chosen.empty()) {
        ResetToEmpty();
        SetEditMode(true);
    } else {
        loadDocument(chosen, true);
    }
}

void TMainFormRules::FileOpen() {
    FileDialogRequest request;
    request.folder = FolderOf(!documentPath_.empty() ? documentPath_ : lastPath_);
    request.filter = std::string(kOpenFilter);
    const std::optional<FileChoice> choice = services_.prompter.OpenDialog(request);
    if (!choice || choice->path.empty()) return;
    openFile(choice->path, true);
}

void TMainFormRules::RecentFileClick(int index) {
    const auto& entries = recent_.Entries();
    if (index < 0 || index >= int(entries.size())) return;
    const std::string path = entries[std::size_t(index)];
    if (!askSaveChanges()) return;
    openFile(path, false);
}

void TMainFormRules::Importa1Click() {
    const int pagesBefore = PageCount();
    const Outcome outcome = services_.converters.OpenImportWindow();
    ShowOutcome(outcome);
    if (outcome == Outcome::Done) modified_ = true;
    MergeStylesIfGrown(pagesBefore);
}

void TMainFormRules::ExportDocumentAs(std::string_view extension) {
    const std::string base = documentPath_.empty() ? DisplayPath() : documentPath_;
    ShowOutcome(services_.converters.OpenExportWindow(WithExtension(base, extension)));
}

void TMainFormRules::BFileExportClick() {
    ExportDocumentAs(".htm");
}

void TMainFormRules::EsportaHtml1Click() {
    ExportDocumentAs(".htm");
}

void TMainFormRules::EsportaWinHelp1Click() {
    ExportDocumentAs(".rtf");
}

void TMainFormRules::EditButtonClick() {
    if (editMode_)
        SetEditMode(false);
    else
        EnterEditMode();
}

void TMainFormRules::EditorDropFile(const std::vector<std::string>& files) {
    if (files.empty()) return;
    const std::string& first = files.front();
    const std::string extension = ExtensionOf(first);
    if (extension == ".kyt") {
        openFile(first, true);
        return;
    }
    // Pictures and imported pages change the document: only while it is edited, so a
    // document with an edit password cannot be changed by dropping files on it.
    if (!editMode_) return;
    if (OneOf(kImageExtensions, extension)) {
        ShowOutcome(services_.windows.InsertDroppedPicture(first));
        return;
    }
    if (!OneOf(kTextExtensions, extension) && !IsHtml(extension)) return;
    IConverters& converters = services_.converters;
    if (IsHtml(extension)) {
        const auto marker = converters.ReadPageMarker(first);
        if (marker && FileExists(marker->first)) {
            ShowOutcome(services_.windows.OfferLinkToPage(marker->first, marker->second));
            return;
        }
    }
    std::vector<std::string> accepted;
    for (const std::string& file : files) {
        const std::string ext = ExtensionOf(file);
        if ((OneOf(kTextExtensions, ext) || IsHtml(ext)) && converters.CanImport(ext))
            accepted.push_back(file);
    }
    if (accepted.empty()) {
        NotSupported();
        return;
    }
    const int pagesBefore = PageCount();
    const Outcome outcome = converters.ImportFiles(accepted);
    ShowOutcome(outcome);
    if (outcome == Outcome::Done) modified_ = true;
    MergeStylesIfGrown(pagesBefore);
}

void TMainFormRules::PrintCommand(CommandId command) {
    IPrintService& print = services_.print;
    if (!print.PrinterAvailable()) {
        services_.messages.Error(kNoPrinter);
        return;
    }
    switch (command) {
        case CommandId::FilePrinterSetup:
            ShowOutcome(print.SetupPrinter());
            break;
        case CommandId::FileMargins:
            ShowOutcome(print.SetupMargins());
            break;
        case CommandId::FilePrintAll:
            if (services_.editor.PageHasUnsavedEdits()) services_.editor.CommitPage();
            ShowOutcome(print.PrintAll());
            break;
        default:
            ShowOutcome(print.PrintCurrentPage());
            break;
    }
}

void TMainFormRules::GoToPage(int page) {
    if (page < 0 || page >= PageCount()) return;
    const TKYToggetto* object = mainKYTset_.ObjectByKind(TOggettiHel::testoHtml, page);
    if (!object || object->IsFree()) return;
    if (page != services_.editor.CurrentPage()) services_.editor.ShowPage(page);
}

void TMainFormRules::Execute(CommandId command) {
    if (!ItemShows(MenuItemOf(command), editMode_, built_)) return;
    using C = CommandId;
    switch (command) {
        case C::FileNew:
            FileNew();
            return;
        case C::FileNewFrom:
            Nuovoda1Click();
            return;
        case C::FileOpen:
            FileOpen();
            return;
        case C::FileSave:
            FileSave();
            return;
        case C::FileSaveAs:
            FileSaveAs();
            return;
        case C::FileSaveAsTemplate:
            Salvacomemodello1Click();
            return;
        case C::FileImport:
            Importa1Click();
            return;
        case C::FileExportPages:
            BFileExportClick();
            return;
        case C::PublishExportHtml:
            EsportaHtml1Click();
            return;
        case C::PublishExportWinHelp:
            EsportaWinHelp1Click();
            return;
        case C::FilePrinterSetup:
        case C::FileMargins:
        case C::FilePrint:
        case C::FilePrintCurrent:
        case C::FilePrintAll:
            PrintCommand(command);
            return;
        case C::FileExit:
            return;  // the window closes itself and asks FormCloseQuery
        case C::HypertextCover:
            GoToPage(mainKYTset_.HeaderView().I32(kHdrCoverPage));
            return;
        case C::HypertextContents:
            GoToPage(mainKYTset_.HeaderView().I32(kHdrContentsPage));
            return;
        case C::HypertextReadOnly:
            EditButtonClick();
            return;
        case C::HypertextPreviousPage:
        case C::HypertextNextPage: {
            LinkSource source;
            source.page = services_.editor.CurrentPage();
            ShowSequencePage(source, command == C::HypertextNextPage);
            return;
        }
        case C::HypertextReloadPage: {
            const int page = services_.editor.CurrentPage();
            services_.editor.ReleasePages();
            services_.editor.ShowPage(page < 0 ? 0 : page);
            return;
        }
        case C::PublishFtp:
            ShowOutcome(services_.publish.PublishFtp());
            return;
        case C::PublishConfigurations:
            ShowOutcome(services_.publish.Configurations());
            return;
        case C::PreviewPageInBrowser:
            Correntepagina1Click();
            return;
        case C::PreviewAllInBrowser:
            Tuttolipertesto1Click();
            return;
        case C::ToolsOptions: {
            const Outcome outcome = services_.windows.RunCommand(command);
            ShowOutcome(outcome);
            if (outcome == Outcome::Done) ApplySettings();
            return;
        }
        default:
            ShowOutcome(services_.windows.RunCommand(command));
            return;
    }
}

// ---------------------------------------------------------------------------------------------
// Pages and history

void TMainFormRules::EditorPageChanged(int page) {
    pageNumber_ = page;
    if (page >= 0) AddToPageMenu(page);
    if (historyEnabled_ && !historyBusy_ && page >= 0) history_.Record(HistoryName(), page);
    UpdateView();
}

void TMainFormRules::GoToHistoryTarget(const std::optional<HistoryTarget>& target,
                                       int previousIndex) {
    if (!target) return;
    historyBusy_ = true;
    if (target->file == HistoryName()) {
        GoToPage(target->page);
    } else if (LastComponent(target->file) != kUntitled) {
        if (!askSaveChanges()) {
            history_.Select(previousIndex);
        } else {
            loadDocument(target->file, false);
            if (documentPath_ == target->file) GoToPage(target->page);
        }
    }
    historyBusy_ = false;
    UpdateView();
}

void TMainFormRules::BPrecedenteClick() {
    if (services_.editor.Busy()) return;
    const int previous = history_.Current();
    GoToHistoryTarget(history_.Back(), previous);
}

void TMainFormRules::BseguenteClick() {
    if (services_.editor.Busy()) return;
    const int previous = history_.Current();
    GoToHistoryTarget(history_.Forward(), previous);
}

void TMainFormRules::HistoryComboClick(int index) {
    if (services_.editor.Busy() || historyBusy_) return;
    const int previous = history_.Current();
    GoToHistoryTarget(history_.Select(index), previous);
}

void TMainFormRules::ShowSequencePage(const LinkSource& source, bool next) {
    if (!source.pageFile.empty() && source.pageFile != mainKYTset_.KYTFileName()) return;
    const int page = source.page >= 0 ? source.page : services_.editor.CurrentPage();
    if (page < 0) return;
    std::vector<SequenceEntry> entries;
    for (const auto& object : mainKYTset_.KindList(TOggettiHel::testoHtml)) {
        const RecordView record = object->ReadView();
        entries.push_back({object->Identifier(), record.I16(kPageGroup), record.I16(kPageOrder),
                           object->IsFree()});
    }
    const std::int32_t target =
        next ? NextInSequence(entries, page) : PreviousInSequence(entries, page);
    if (target != page) GoToPage(target);
}

// ---------------------------------------------------------------------------------------------
// Preview in a browser and export progress

std::string TMainFormRules::ExpProgressText(int page, int phase, int total) {
    const long long percent = total > 0 ? (long long)page * 100 / total : 0;
    return "Export in corso, fase " + std::to_string(phase) + ": " + std::to_string(percent) + "%";
}

void TMainFormRules::mainKYTtoHtmlExpProgress(int page, int phase, int total) {
    status_ = ExpProgressText(page, phase, total);
    UpdateView();
}

void TMainFormRules::Correntepagina1Click(int browser) {
    PreviewInBrowser(false, browser);
}

void TMainFormRules::Tuttolipertesto1Click(int browser) {
    PreviewInBrowser(true, browser);
}

void TMainFormRules::PreviewMenuClick(int index) {
    if (index < 0 || index >= int(previewMenu_.items.size())) return;
    const PreviewMenuItem& item = previewMenu_.items[std::size_t(index)];
    PreviewInBrowser(item.caption.starts_with("Tutto l'ipertesto in "), item.tag);
}

void TMainFormRules::PreviewInBrowser(bool allPages, int browser) {
    if (services_.messages.Ask("E' necessario salvare il file anche in locale,\rlo faccio?")) {
        if (!FileSave()) return;
    } else {
        services_.editor.CommitPage();
    }
    const fs::path folder = mainKYTset_.WorkingDirectory() / "TmpHP";
    std::error_code ec;
    fs::create_directories(folder, ec);
    const PreviewExport exported = services_.converters.ExportForPreview(
        NameOfPath(folder), allPages, services_.editor.CurrentPage());
    if (exported.outcome != Outcome::Done) {
        ShowOutcome(exported.outcome);
        return;
    }
    const fs::path page = NativePath(exported.mainPage);
    std::string program;
    if (browser >= 0)
        program = services_.settings.ReadString("Browser\\" + std::to_string(browser), "appPath");
    Status started = Status::Ok();
    if (program.empty()) {
        started = services_.shell.OpenWithDefault(page);
    } else {
        ShellCommand command;
        command.argv = {NativePath(FromWindowsPath(program)).string(), FileUrlOf(page)};
        const Result<int> process = services_.shell.Start(command);
        if (!process) started = process.failure();
    }
    if (!started) services_.messages.Error(started.failure().text);
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

// ---------------------------------------------------------------------------------------------
// Following links

void TMainFormRules::EditorDoLink(const LinkSource& source,
                                  const std::optional<LinkedObject>& object) {
    if (closing_ || !object || services_.editor.CurrentPage() < 0) return;
    if (source.kind == LinkSourceKind::Other) return;
    IEditorView& editor = services_.editor;
    editor.SetEnabled(false);
    switch (object->kind) {
        case TOggettiHel::testoHtml:
        case TOggettiHel::internetLink:
        case TOggettiHel::zipLink:
        case TOggettiHel::genLink:
            FollowTarget(source, *object, -1);
            break;
        case TOggettiHel::speclink:
            RunSpecialLink(source, *object);
            break;
        case TOggettiHel::shortObj:
            if (!editMode_ && source.kind == LinkSourceKind::PageSurface) {
                const std::optional<LinkedObject> target = editor.ResolveTarget(*object);
                if (target && target->kind == TOggettiHel::speclink)
                    RunSpecialLink(source, *target);
            }
            break;
        default:
            NotSupported();
            break;
    }
    editor.SetEnabled(true);
    editor.Refresh();
    UpdateView();
}

void TMainFormRules::FollowTarget(const LinkSource& source, const LinkedObject& target,
                                  int anchor) {
    switch (target.kind) {
        case TOggettiHel::testoHtml:
            if (!target.documentFile.empty() && target.documentFile != mainKYTset_.KYTFileName()) {
                if (askSaveChanges()) loadDocument(target.documentFile, false);
                return;
            }
            ShowLinkedPage(source, target, anchor);
            return;
        case TOggettiHel::internetLink: {
            const std::string& address = target.address;
            if (address.starts_with("orvo:")) {
                OpenDocumentLink(address);
            } else if (address.starts_with("prog:")) {
                services_.linkedFiles.RunRegisteredProgram(address, target.object);
            } else if (editMode_) {
                ShowOutcome(services_.windows.OpenAlbum("Collegamenti esterni"));
            } else {
                const Status opened =
                    services_.shell.OpenWithDefault(fs::path(Cp1252ToUtf8(address)));
                if (!opened) services_.messages.Error(opened.failure().text);
            }
            return;
        }
        case TOggettiHel::genLink:
            if (target.inUse && target.object) services_.linkedFiles.OpenLinkedFile(*target.object);
            return;
        case TOggettiHel::zipLink:
            return;
        default:
            NotSupported();
            return;
    }
}

void TMainFormRules::ShowLinkedPage(const LinkSource& source, const LinkedObject& page,
                                    int anchor) {
    IEditorView& editor = services_.editor;
    if (source.kind == LinkSourceKind::FrameSet)
        editor.ShowInFrameSet(source.frameSet, page.identifier);
    else if (page.identifier != editor.CurrentPage())
        GoToPage(page.identifier);
    if (anchor >= 0) editor.GoToAnchor(anchor);
}

bool TMainFormRules::AskSaveBeforeOtherFile() {
    if (!DocumentChanged()) return true;
    const Answer answer = services_.messages.AskYesNoCancel(
        "Sto per caricare un altro file: \rvuoi salvare il file attuale?");
    if (answer == Answer::Cancel) return false;
    if (answer == Answer::No) return true;
    return FileSave();
}

void TMainFormRules::OpenDocumentLink(const std::string& address) {
    const DocumentLink link = mainKYTset_.ParseDocumentLink(address);
    if (!link.isDocumentLink) return;
    // A relative name of the open document, once its folder is put in front, names it too.
    const bool current = link.isCurrentDocument || (!mainKYTset_.KYTFileName().empty() &&
                                                    link.file == mainKYTset_.KYTFileName());
    if (!current) {
        const std::string_view name = LastComponent(link.file);
        if (name == kUntitled) return;
        if (!AskSaveBeforeOtherFile()) return;
        if (name.empty()) {
            ResetToEmpty();
            SetEditMode(true);
        } else {
            loadDocument(link.file, false);
            if (documentPath_ != link.file) return;
        }
    }
    const int page = link.page == -2 ? mainKYTset_.HeaderView().I32(kHdrCoverPage) : int(link.page);
    if (page >= 0 && page != services_.editor.CurrentPage()) GoToPage(page);
}

void TMainFormRules::RunSpecialLink(const LinkSource& source, const LinkedObject& link) {
    IEditorView& editor = services_.editor;
    switch (link.subtype) {
        case 1: {
            const std::optional<LinkedObject> target = editor.ResolveTarget(link);
            if (!editMode_ && editor.PageHasUnsavedEdits() &&
                services_.messages.Ask("Salva modifiche a pagina corrente?")) {
                editor.CommitPage();
                return;
            }
            if (link.action == 6) {
                if (link.anchor >= 0) editor.GoToAnchor(link.anchor);
                return;
            }
            if (!target) return;
            if (editMode_ || link.action == 5 || target->kind != TOggettiHel::testoHtml ||
                !target->documentFile.empty()) {
                FollowTarget(source, *target, link.anchor);
                return;
            }
            const int page = target->identifier;
            switch (link.action) {
                case 0:
                    editor.ShowInSourceFrame(source, page, link.anchor);
                    break;
                case 1:
                    editor.ShowInNamedFrame(link.name, page, link.anchor);
                    break;
                case 2:
                    editor.ShowInSeparateWindow(link.name, page, link.anchor, link);
                    break;
                case 3:
                    editor.ShowInNewWindow(link.name, page, link.anchor);
                    break;
                case 4:
                    editor.ShowInPopup(source, page, link.anchor);
                    break;
                default:
                    NotSupported();
                    break;
            }
            return;
        }
        case 2:
            // Hiding the main window would leave a program nobody can see holding the
            // document; such a link is not run in this window.
            if (link.anchor == -2)
                NotSupported();
            else
                editor.CloseBrowseWindow(link.name);
            return;
        case 3:
            ShowOutcome(services_.windows.OpenKeywordSearch());
            return;
        case 4:
        case 5:
            ShowSequencePage(source, link.subtype == 5);
            return;
        case 6:
            if (editMode_) AutomaticImport(source, link);
            return;
        default:
            NotSupported();
            return;
    }
}

void TMainFormRules::AutomaticImport(const LinkSource& source, const LinkedObject& link) {
    IConverters& converters = services_.converters;
    std::string file = link.importFile.find('\\') != std::string::npos
                           ? FromWindowsPath(link.importFile)
                           : link.importFile;
    if (!file.empty() && file.front() != '/') {
        const std::string folder = NameOfPath(mainKYTset_.DocumentFolder());
        if (!folder.empty()) file = folder + "/" + file;
    }
    if (const std::optional<int> page = converters.PageImportedFrom(file)) {
        LinkedObject imported;
        imported.kind = TOggettiHel::testoHtml;
        imported.identifier = *page;
        FollowTarget(source, imported, -1);
        return;
    }
    if (!FileExists(file)) {
        const std::string question = "Il collegamento richiama il file \"" + link.importFile +
                                     "\", non presente. Vuoi suggerire un altro nome?";
        if (!services_.messages.Ask(question)) return;
        FileDialogRequest request;
        request.folder = FolderOf(file);
        request.fileName = std::string(LastComponent(file));
        request.filter = std::string(kHtmlFilter);
        const std::optional<FileChoice> choice = services_.prompter.OpenDialog(request);
        if (!choice || choice->path.empty()) return;
        file = choice->path;
    }
    if (!converters.CanImport(ExtensionOf(file))) {
        NotSupported();
        return;
    }
    const int pagesBefore = PageCount();
    const Outcome outcome = converters.ImportFiles({file});
    ShowOutcome(outcome);
    if (outcome == Outcome::Done) modified_ = true;
    MergeStylesIfGrown(pagesBefore);
}

}  // namespace orvo
