// Scripted stand-ins for the windows, the editor and the converters the main window talks to,
// and a fixture that puts a real container, settings, scheduler and shell around it.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/u3MainForm.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "platform/ISettings.h"
#include "platform/RecordingShell.h"

namespace orvo::test {

/// Answers input boxes and file dialogs from queues; records what was asked.
class ScriptedPrompter final : public IPrompter {
public:
    std::optional<std::string> InputBox(std::string_view caption, std::string_view prompt) override;
    std::optional<FileChoice> OpenDialog(const FileDialogRequest& request) override;
    std::optional<FileChoice> SaveDialog(const FileDialogRequest& request) override;
    void ShowErrorList(std::string_view caption, const std::vector<std::string>& lines) override;

    std::deque<std::optional<std::string>> inputs;  // empty: cancelled
    std::deque<std::optional<FileChoice>> opens;    // empty: cancelled
    std::deque<std::optional<FileChoice>> saves;    // empty: cancelled
    std::vector<std::string> inputPrompts;          // "caption|prompt"
    std::vector<FileDialogRequest> openRequests, saveRequests;
    std::vector<std::pair<std::string, std::vector<std::string>>> errorLists;
};

/// An editor that records every call as a line ("ShowPage 3", "GoToAnchor 2") and reports
/// page changes the way the real one does.
class ScriptedEditor final : public IEditorView {
public:
    void ReleasePages() override;
    void ShowPage(int page) override;
    int CurrentPage() const override { return current; }
    void SetReadOnly(bool readOnly) override;
    bool Changed() const override { return changed; }
    void ClearChanged() override { changed = false; }
    bool PageHasUnsavedEdits() const override { return unsavedEdits; }
    void CommitPage() override;
    bool Busy() const override { return busy; }
    void SetEnabled(bool on) override { enabled = on; }
    void HideContextToolbars() override { Record("HideContextToolbars"); }
    void Refresh() override { Record("Refresh"); }
    void GoToAnchor(int anchor) override;
    void SetAutoEngQuote(bool on) override { autoEngQuote = on; }
    void ShowInFrameSet(int frameSet, int page) override;
    void ShowInSourceFrame(const LinkSource& source, int page, int anchor) override;
    void ShowInNamedFrame(std::string_view name, int page, int anchor) override;
    void ShowInSeparateWindow(std::string_view name, int page, int anchor,
                              const LinkedObject& link) override;
    void ShowInNewWindow(std::string_view name, int page, int anchor) override;
    void ShowInPopup(const LinkSource& source, int page, int anchor,
                     const LinkedObject& link) override;
    void CloseBrowseWindow(std::string_view name) override;
    std::optional<LinkedObject> ResolveTarget(const LinkedObject& link) override;

    void Record(std::string line) { calls.push_back(std::move(line)); }
    /// The calls recorded since the last Take, then forgets them.
    std::vector<std::string> Take();

    std::function<void(int)> onPageChanged;
    std::optional<LinkedObject> resolved;  // what ResolveTarget answers
    std::vector<std::string> calls;
    int current = -1;
    bool readOnly = false, changed = false, unsavedEdits = false, busy = false, enabled = true;
    bool autoEngQuote = false;
};

/// Converters that record their calls; an import adds `pagesPerImport` pages to the container.
class ScriptedConverters final : public IConverters {
public:
    explicit ScriptedConverters(TKYTset& set) : set_(set) {}
    bool CanImport(std::string_view extension) const override;
    Outcome ImportFiles(const std::vector<std::string>& files) override;
    Outcome ImportFollowingLinks(const std::string& root) override;
    Outcome OpenImportWindow() override;
    HtmlOpening ChooseHtmlOpening(const std::string& file) override;
    std::optional<std::pair<std::string, int>> ReadPageMarker(const std::string& file) override;
    Outcome OpenExportWindow(const std::string& path) override;
    Outcome ExportPage(PageFormat format, const std::string& path, int page,
                       const std::function<void(int, int, int)>& progress) override;
    PreviewExport ExportForPreview(const std::string& folder, bool allPages, int page) override;
    void MergeImportedStyles(int firstNewPage) override;
    std::optional<int> PageImportedFrom(const std::string& file) override;

    std::vector<std::string> importable{".txt", ".rtf", ".htm", ".html"};
    Outcome outcome = Outcome::Done;
    int pagesPerImport = 2;
    HtmlOpening opening;
    std::optional<std::pair<std::string, int>> marker;
    std::map<std::string, int> importedPages;
    std::vector<std::string> calls;

private:
    TKYTset& set_;
};

class ScriptedPrint final : public IPrintService {
public:
    bool PrinterAvailable() const override { return available; }
    Outcome SetupPrinter() override { return Record("SetupPrinter"); }
    Outcome SetupMargins() override { return Record("SetupMargins"); }
    Outcome OpenPrintWindow() override { return Record("OpenPrintWindow"); }
    Outcome PrintCurrentPage() override { return Record("PrintCurrentPage"); }
    Outcome PrintAll() override { return Record("PrintAll"); }
    Outcome Record(std::string call) {
        calls.push_back(std::move(call));
        return outcome;
    }
    bool available = true;
    Outcome outcome = Outcome::Done;
    std::vector<std::string> calls;
};

class ScriptedPublish final : public IPublishService {
public:
    void RunSetupWizard() override { calls.push_back("RunSetupWizard"); }
    Outcome PublishServer() override { return Record("PublishServer"); }
    Outcome PublishFtp() override { return Record("PublishFtp"); }
    Outcome Configurations() override { return Record("Configurations"); }
    Outcome Record(std::string call) {
        calls.push_back(std::move(call));
        return outcome;
    }
    Outcome outcome = Outcome::Done;
    std::vector<std::string> calls;
};

class ScriptedWindows final : public ISecondaryWindows {
public:
    void ShowSplash() override { calls.push_back("ShowSplash"); }
    void CloseSplash() override { calls.push_back("CloseSplash"); }
    void ShowTips(std::string_view caption) override;
    void RetitleTips(std::string_view caption) override;
    void CloseTips() override { calls.push_back("CloseTips"); }
    Outcome OpenAlbum(std::string_view tab) override;
    Outcome OpenKeywordSearch() override { return Record("OpenKeywordSearch"); }
    Outcome NewHypertext(const std::string& document, std::string& chosen) override;
    Outcome CopyPageIn(const std::string& document, int page, bool asFirstPage) override;
    Outcome OfferLinkToPage(const std::string& document, int page) override;
    Outcome InsertDroppedPicture(const std::string& file) override;
    Outcome RunCommand(CommandId command) override;
    Outcome Record(std::string call) {
        calls.push_back(std::move(call));
        return outcome;
    }
    Outcome outcome = Outcome::Done;
    std::string newHypertextChoice;
    std::vector<std::string> calls;
};

class ScriptedLinkedFiles final : public ILinkedFiles {
public:
    void OpenLinkedFile(TKYToggetto& genLink) override;
    void RunRegisteredProgram(const std::string& address, TKYToggetto* link) override;
    std::vector<std::string> calls;
};

class CountingView final : public IMainWindowView {
public:
    void StateChanged() override { ++changes; }
    int changes = 0;
};

/// Writes a document of `pages` pages (titles "Pagina 0", ...) to `path` with a real
/// container; `password` set locks it for editing.
void WriteDocument(TKYTset& scratch, const std::string& path, int pages,
                   const std::string& password = {});
/// Adds a page in use to `set` and returns its identifier.
int AddPage(TKYTset& set, std::string_view title);
/// The page count of the document file at `path`, read back with a fresh container.
int PagesInFile(const std::string& path);
/// The Windows-1252 name of a path under the test's folder.
std::string NameIn(std::string_view relative);

/// A main window with every service scripted and a real container, settings and shell.
class MainFormTest : public ::testing::Test {
protected:
    MainFormTest();
    ~MainFormTest() override;

    /// Makes the controller (services `built`), runs FormCreate and, unless told not to,
    /// FormShow with `line`.
    void Start(const CommandLine& line = {}, bool show = true, Services built = AllServices());
    static Services AllServices();

    FixedEnvironment environment_;
    RecordingMessages messages_;
    MemorySettings settings_;
    ManualScheduler scheduler_;
    RecordingShell shell_;
    ScriptedPrompter prompter_;
    ScriptedEditor editor_;
    TKYTset main_{environment_, messages_};
    TKYTset library_{environment_, messages_};
    TKYTset scratch_{environment_, messages_};
    ScriptedConverters converters_{main_};
    ScriptedPrint print_;
    ScriptedPublish publish_;
    ScriptedWindows windows_;
    ScriptedLinkedFiles links_;
    ILinkedFiles* linkedFiles_ = &links_;  // what Start hands the controller
    CountingView view_;
    int probeResult_ = 0;
    int probes_ = 0;
    std::unique_ptr<TMainFormRules> form_;
};

}  // namespace orvo::test
