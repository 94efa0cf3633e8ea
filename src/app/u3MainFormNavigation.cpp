// The main window's command flow, navigation: the page shown and its history, the browse
// sequence, and following links.
#include "app/u3MainForm.h"

#include "app/MainFormFiles.h"

#include "base/Cp1252.h"
#include "base/Paths.h"
#include "model/BrowseSequence.h"
#include "model/uKYTset.h"

namespace orvo {

using namespace mainform;

namespace fs = std::filesystem;

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
                    editor.ShowInPopup(source, page, link.anchor, link);
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
