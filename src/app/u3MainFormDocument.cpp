// The main window's command flow, the document's life cycle: opening (documents, texts, HTML),
// loading, saving and exporting under a name, new documents, importing, dropping files, closing.
#include "app/u3MainForm.h"

#include "app/MainFormFiles.h"

#include <algorithm>

#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Paths.h"
#include "model/uKYTset.h"

namespace orvo {

using namespace mainform;

namespace fs = std::filesystem;

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
    // The tips window has no owner: left open it would keep the program running.
    services_.windows.CloseTips();
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
    mainKYTset_.SetExpPrefix(ExportPrefixFromName(path));
    return saveAs(path, choice->filterIndex, true, false);
}

bool TMainFormRules::Salvacomemodello1Click() {
    const fs::path folder = TemplatesFolder();
    std::error_code ec;
    fs::create_directories(folder, ec);
    FileDialogRequest request;
    request.folder = NameOfPath(folder);
    request.fileName = documentPath_.empty() ? std::string(kUntitled) + "1.kyt"
                                             : std::string(StemOf(documentPath_));
    request.filter = std::string(kSaveFilter);
    request.filterIndex = 1;
    const std::optional<FileChoice> choice = services_.prompter.SaveDialog(request);
    if (!choice || choice->path.empty()) return false;
    std::string path = choice->path;
    if (choice->filterIndex == 1 && ExtensionOf(path).empty()) path += ".kyt";
    mainKYTset_.SetExpPrefix(ExportPrefixFromName(path));
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

}  // namespace orvo
