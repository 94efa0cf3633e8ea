// The main window's command flow: the controller's small state, its commands and the one
// entry the menus use (Execute). Its other parts: u3MainFormDocument.cpp (the document's life
// cycle), u3MainFormNavigation.cpp (pages, history and links), u3MainFormStartup.cpp (start-up,
// settings, timers), u3MainFormPreview.cpp (preview in a browser and export).
#include "app/u3MainForm.h"

#include "app/MainFormFiles.h"

#include <algorithm>

#include "base/Paths.h"
#include "model/uKYTset.h"

namespace orvo {

using namespace mainform;

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

std::string TMainFormRules::StatusLine() const {
    if (!status_.empty()) return status_;
    const int page = services_.editor.CurrentPage();
    const TKYToggetto* object =
        page >= 0 ? mainKYTset_.ObjectByKind(TOggettiHel::testoHtml, page) : nullptr;
    return object ? object->Name() : std::string();
}

DocumentStamp TMainFormRules::DocumentShown() const {
    return {mainKYTset_.KYTFileName(), mainKYTset_.SaveCounter(), PageCount()};
}

std::vector<const MenuItem*> TMainFormRules::VisibleMenuItems() const {
    return VisibleItems(editMode_, built_);
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

void TMainFormRules::EditButtonClick() {
    if (editMode_)
        SetEditMode(false);
    else
        EnterEditMode();
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
        case CommandId::FilePrintCurrent:
            ShowOutcome(print.PrintCurrentPage());
            break;
        default:
            ShowOutcome(print.OpenPrintWindow());
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

}  // namespace orvo
