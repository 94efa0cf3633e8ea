// Scripted services of the main window's tests.
#include "MainFormSupport.h"

#include <algorithm>

#include "base/Paths.h"
#include "model/uKYTogge.h"
#include "support/TestSupport.h"

namespace orvo::test {

namespace {

std::string Line(std::string_view what, int page, int anchor) {
    return std::string(what) + " " + std::to_string(page) + " #" + std::to_string(anchor);
}

template <class T>
std::optional<T> Next(std::deque<std::optional<T>>& queue) {
    if (queue.empty()) return std::nullopt;
    std::optional<T> answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

std::optional<std::string> ScriptedPrompter::InputBox(std::string_view caption,
                                                      std::string_view prompt) {
    inputPrompts.push_back(std::string(caption) + "|" + std::string(prompt));
    return Next(inputs);
}

std::optional<FileChoice> ScriptedPrompter::OpenDialog(const FileDialogRequest& request) {
    openRequests.push_back(request);
    return Next(opens);
}

std::optional<FileChoice> ScriptedPrompter::SaveDialog(const FileDialogRequest& request) {
    saveRequests.push_back(request);
    return Next(saves);
}

void ScriptedPrompter::ShowErrorList(std::string_view caption,
                                     const std::vector<std::string>& lines) {
    errorLists.emplace_back(std::string(caption), lines);
}

// ---------------------------------------------------------------------------------------------

void ScriptedEditor::ReleasePages() {
    Record("ReleasePages");
    current = -1;
}

void ScriptedEditor::ShowPage(int page) {
    Record("ShowPage " + std::to_string(page));
    if (page == current) return;
    current = page;
    if (onPageChanged) onPageChanged(page);
}

void ScriptedEditor::SetReadOnly(bool on) {
    readOnly = on;
}

void ScriptedEditor::CommitPage() {
    Record("CommitPage");
    unsavedEdits = false;
}

void ScriptedEditor::GoToAnchor(int anchor) {
    Record("GoToAnchor " + std::to_string(anchor));
}

void ScriptedEditor::ShowInFrameSet(int frameSet, int page) {
    Record("ShowInFrameSet " + std::to_string(frameSet) + " " + std::to_string(page));
}

void ScriptedEditor::ShowInSourceFrame(const LinkSource&, int page, int anchor) {
    Record(Line("ShowInSourceFrame", page, anchor));
}

void ScriptedEditor::ShowInNamedFrame(std::string_view name, int page, int anchor) {
    Record(Line("ShowInNamedFrame " + std::string(name), page, anchor));
}

void ScriptedEditor::ShowInSeparateWindow(std::string_view name, int page, int anchor,
                                          const LinkedObject&) {
    Record(Line("ShowInSeparateWindow " + std::string(name), page, anchor));
}

void ScriptedEditor::ShowInNewWindow(std::string_view name, int page, int anchor) {
    Record(Line("ShowInNewWindow " + std::string(name), page, anchor));
}

void ScriptedEditor::ShowInPopup(const LinkSource&, int page, int anchor, const LinkedObject&) {
    Record(Line("ShowInPopup", page, anchor));
}

void ScriptedEditor::CloseBrowseWindow(std::string_view name) {
    Record("CloseBrowseWindow " + std::string(name));
}

std::optional<LinkedObject> ScriptedEditor::ResolveTarget(const LinkedObject&) {
    return resolved;
}

std::vector<std::string> ScriptedEditor::Take() {
    std::vector<std::string> taken;
    taken.swap(calls);
    return taken;
}

// ---------------------------------------------------------------------------------------------

bool ScriptedConverters::CanImport(std::string_view extension) const {
    return std::find(importable.begin(), importable.end(), extension) != importable.end();
}

Outcome ScriptedConverters::ImportFiles(const std::vector<std::string>& files) {
    std::string line = "ImportFiles";
    for (const std::string& f : files) line += " " + std::string(LastComponent(f));
    calls.push_back(line);
    if (outcome == Outcome::Done)
        for (int i = 0; i < pagesPerImport; ++i) AddPage(set_, "Importata");
    return outcome;
}

Outcome ScriptedConverters::ImportFollowingLinks(const std::string& root) {
    calls.push_back("ImportFollowingLinks " + std::string(LastComponent(root)));
    return outcome;
}

Outcome ScriptedConverters::OpenImportWindow() {
    calls.push_back("OpenImportWindow");
    return outcome;
}

HtmlOpening ScriptedConverters::ChooseHtmlOpening(const std::string& file) {
    calls.push_back("ChooseHtmlOpening " + std::string(LastComponent(file)));
    return opening;
}

std::optional<std::pair<std::string, int>> ScriptedConverters::ReadPageMarker(
    const std::string& file) {
    calls.push_back("ReadPageMarker " + std::string(LastComponent(file)));
    return marker;
}

Outcome ScriptedConverters::OpenExportWindow(const std::string& path) {
    calls.push_back("OpenExportWindow " + path);
    return outcome;
}

Outcome ScriptedConverters::ExportPage(PageFormat format, const std::string& path, int page,
                                       const std::function<void(int, int, int)>& progress) {
    const char* name = format == PageFormat::Html  ? "Html"
                       : format == PageFormat::Rtf ? "Rtf"
                                                   : "Text";
    calls.push_back(std::string("ExportPage ") + name + " " + std::string(LastComponent(path)) +
                    " " + std::to_string(page));
    if (progress) progress(1, 2, 4);
    return outcome;
}

PreviewExport ScriptedConverters::ExportForPreview(const std::string& folder, bool allPages,
                                                   int page) {
    calls.push_back(std::string("ExportForPreview ") + (allPages ? "all " : "page ") +
                    std::to_string(page));
    const std::string mainPage = folder + "/index.htm";
    WriteFile(NativePath(mainPage), "<HTML></HTML>");
    return {outcome, mainPage};
}

void ScriptedConverters::MergeImportedStyles(int firstNewPage) {
    calls.push_back("MergeImportedStyles " + std::to_string(firstNewPage));
}

std::optional<int> ScriptedConverters::PageImportedFrom(const std::string& file) {
    const auto it = importedPages.find(file);
    if (it == importedPages.end()) return std::nullopt;
    return it->second;
}

// ---------------------------------------------------------------------------------------------

void ScriptedWindows::ShowTips(std::string_view caption) {
    calls.push_back("ShowTips " + std::string(caption));
}

void ScriptedWindows::RetitleTips(std::string_view caption) {
    calls.push_back("RetitleTips " + std::string(caption));
}

Outcome ScriptedWindows::OpenAlbum(std::string_view tab) {
    return Record("OpenAlbum " + std::string(tab));
}

Outcome ScriptedWindows::NewHypertext(const std::string& document, std::string& chosen) {
    chosen = newHypertextChoice;
    return Record("NewHypertext " + std::string(LastComponent(document)));
}

Outcome ScriptedWindows::CopyPageIn(const std::string& document, int page, bool asFirstPage) {
    return Record("CopyPageIn " + std::string(LastComponent(document)) + " " +
                  std::to_string(page) + (asFirstPage ? " first" : " last"));
}

Outcome ScriptedWindows::OfferLinkToPage(const std::string& document, int page) {
    return Record("OfferLinkToPage " + std::string(LastComponent(document)) + " " +
                  std::to_string(page));
}

Outcome ScriptedWindows::InsertDroppedPicture(const std::string& file) {
    return Record("InsertDroppedPicture " + std::string(LastComponent(file)));
}

Outcome ScriptedWindows::RunCommand(CommandId command) {
    return Record("RunCommand " + std::to_string(int(command)));
}

void ScriptedLinkedFiles::OpenLinkedFile(TKYToggetto& genLink) {
    calls.push_back("OpenLinkedFile " + genLink.FileName());
}

void ScriptedLinkedFiles::RunRegisteredProgram(const std::string& address, TKYToggetto*) {
    calls.push_back("RunRegisteredProgram " + address);
}

// ---------------------------------------------------------------------------------------------

int AddPage(TKYTset& set, std::string_view title) {
    auto page = NewObjectOfKind(TOggettiHel::testoHtml, &set);
    page->TakeIntoUse();
    page->View().SetPStr(kPageTitle, title);
    return set.Register(std::move(page));
}

void WriteDocument(TKYTset& scratch, const std::string& path, int pages,
                   const std::string& password) {
    scratch.NewDocument();
    for (int i = 0; i < pages; ++i) AddPage(scratch, "Pagina " + std::to_string(i));
    if (!password.empty()) {
        scratch.HeaderRecordView().SetU8(kHdrReadOnly, 1);
        scratch.HeaderRecordView().SetPStr(kHdrPassword, password);
    }
    std::error_code ec;
    std::filesystem::create_directories(NativePath(path).parent_path(), ec);
    ASSERT_TRUE(scratch.SaveToFile(path, 2)) << path;
    scratch.NewDocument();
}

int PagesInFile(const std::string& path) {
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    if (!set.LoadFromFile(path)) return -1;
    return set.KindCount(TOggettiHel::testoHtml);
}

std::string NameIn(std::string_view relative) {
    return NameOfPath(TestDir()) + "/" + std::string(relative);
}

// ---------------------------------------------------------------------------------------------

MainFormTest::MainFormTest() {
    editor_.onPageChanged = [this](int page) {
        if (form_) form_->EditorPageChanged(page);
    };
}

MainFormTest::~MainFormTest() = default;

Services MainFormTest::AllServices() {
    return {Service::Printing,         Service::Editing,        Service::Search,
            Service::Insertion,        Service::Tables,         Service::Formatting,
            Service::HypertextOptions, Service::Album,          Service::Publishing,
            Service::HtmlExport,       Service::RtfExport,      Service::Import,
            Service::SpellCheck,       Service::ProgramOptions, Service::ExportWindow};
}

void MainFormTest::Start(const CommandLine& line, bool show, Services built) {
    MainFormServices services{environment_, messages_,     settings_,   scheduler_, shell_,
                              prompter_,    editor_,       converters_, print_,     publish_,
                              windows_,     *linkedFiles_, view_};
    services.probeWordProcessor = [this] {
        ++probes_;
        return probeResult_;
    };
    services.programPath = "/usr/bin/orvo";
    services.desktopDataHome = TestDir() / "desktop";
    form_ = std::make_unique<TMainFormRules>(main_, library_, services, built);
    form_->FormCreate();
    if (show) form_->FormShow(line);
}

}  // namespace orvo::test
