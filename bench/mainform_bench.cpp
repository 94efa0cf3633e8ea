// The main window's command flow: opening and saving a 1,000-page hypertext through the
// controller (what "Apri" and "Salva tutto" cost beyond the container), following page links
// that fill the history, and walking the history back and forth.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "app/AbsentServices.h"
#include "app/PageHistory.h"
#include "app/u3MainForm.h"
#include "base/Paths.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "platform/ISettings.h"
#include "platform/RecordingShell.h"

using namespace orvo;

namespace {

constexpr int kPages = 1000;

const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        char pattern[] = "/var/tmp/orvo-bench-mainform-XXXXXX";
        const std::filesystem::path made(::mkdtemp(pattern));
        ::setenv("ORVO_HOME", (made / "home").c_str(), 1);
        return made;
    }();
    return folder;
}

const std::string& Document() {
    static const std::string name = [] {
        FixedEnvironment environment;
        RecordingMessages messages;
        TKYTset set(environment, messages);
        for (int i = 0; i < kPages; ++i) {
            auto page = NewObjectOfKind(TOggettiHel::testoHtml, &set);
            page->TakeIntoUse();
            page->View().SetPStr(kPageTitle, "Pagina " + std::to_string(i));
            page->SetContent("<Z S0 >" + std::string(1500, 'a') + std::string(1, '\0'));
            set.Register(std::move(page));
        }
        const std::string file = NameOfPath(Folder() / "grande.kyt");
        if (!set.SaveToFile(file, 2)) std::abort();
        return file;
    }();
    return name;
}

class NullPrompter final : public IPrompter {
public:
    std::optional<std::string> InputBox(std::string_view, std::string_view) override { return {}; }
    std::optional<FileChoice> OpenDialog(const FileDialogRequest&) override { return {}; }
    std::optional<FileChoice> SaveDialog(const FileDialogRequest&) override { return {}; }
    void ShowErrorList(std::string_view, const std::vector<std::string>&) override {}
};

class NullEditor final : public IEditorView {
public:
    std::function<void(int)> changed;
    int current = -1;
    void ReleasePages() override { current = -1; }
    void ShowPage(int page) override {
        if (page == current) return;
        current = page;
        if (changed) changed(page);
    }
    int CurrentPage() const override { return current; }
    void SetReadOnly(bool) override {}
    bool Changed() const override { return false; }
    void ClearChanged() override {}
    bool PageHasUnsavedEdits() const override { return false; }
    void CommitPage() override {}
    bool Busy() const override { return false; }
    void SetEnabled(bool) override {}
    void HideContextToolbars() override {}
    void Refresh() override {}
    void GoToAnchor(int) override {}
    void SetAutoEngQuote(bool) override {}
    void ShowInFrameSet(int, int) override {}
    void ShowInSourceFrame(const LinkSource&, int, int) override {}
    void ShowInNamedFrame(std::string_view, int, int) override {}
    void ShowInSeparateWindow(std::string_view, int, int, const LinkedObject&) override {}
    void ShowInNewWindow(std::string_view, int, int) override {}
    void ShowInPopup(const LinkSource&, int, int, const LinkedObject&) override {}
    void CloseBrowseWindow(std::string_view) override {}
    std::optional<LinkedObject> ResolveTarget(const LinkedObject&) override { return {}; }
};

class NoLinks final : public ILinkedFiles {
public:
    void OpenLinkedFile(TKYToggetto&) override {}
    void RunRegisteredProgram(const std::string&, TKYToggetto*) override {}
};

class NoView final : public IMainWindowView {
public:
    void StateChanged() override {}
};

// A controller with every window absent, on a real container and settings.
struct Bench {
    FixedEnvironment environment;
    RecordingMessages messages;
    MemorySettings settings;
    ManualScheduler scheduler;
    RecordingShell shell;
    NullPrompter prompter;
    NullEditor editor;
    AbsentConverters converters;
    AbsentPrint print;
    AbsentPublish publish;
    AbsentWindows windows;
    NoLinks links;
    NoView view;
    TKYTset main{environment, messages};
    TKYTset library{environment, messages};
    TMainFormRules form{
        main, library,
        MainFormServices{environment, messages, settings, scheduler, shell, prompter, editor,
                         converters, print, publish, windows, links, view},
        Services{}};
    Bench() {
        editor.changed = [this](int page) { form.EditorPageChanged(page); };
        form.FormCreate();
    }
};

void BM_OpenThroughTheMainWindow(benchmark::State& state) {
    Bench bench;
    const std::string& file = Document();
    for (auto _ : state) {
        bench.form.openFile(file, false);
        if (bench.form.DocumentPath() != file) state.SkipWithError("not opened");
    }
    state.SetItemsProcessed(state.iterations() * kPages);
}
BENCHMARK(BM_OpenThroughTheMainWindow)->Unit(benchmark::kMillisecond);

void BM_SaveThroughTheMainWindow(benchmark::State& state) {
    Bench bench;
    const std::string copy = NameOfPath(Folder() / "copia.kyt");
    std::filesystem::copy_file(NativePath(Document()), NativePath(copy),
                               std::filesystem::copy_options::overwrite_existing);
    bench.form.openFile(copy, false);
    for (auto _ : state)
        if (!bench.form.FileSave()) state.SkipWithError("not saved");
    state.SetItemsProcessed(state.iterations() * kPages);
}
BENCHMARK(BM_SaveThroughTheMainWindow)->Unit(benchmark::kMillisecond);

// Following a link to every page in turn: the page menu and the history take each one.
void BM_FollowPageLinks(benchmark::State& state) {
    Bench bench;
    bench.form.openFile(Document(), false);
    LinkSource source;
    LinkedObject page;
    page.kind = TOggettiHel::testoHtml;
    for (auto _ : state) {
        for (int i = 1; i < kPages; ++i) {
            page.identifier = i;
            bench.form.EditorDoLink(source, page);
        }
        page.identifier = 0;
        bench.form.EditorDoLink(source, page);
    }
    state.SetItemsProcessed(state.iterations() * kPages);
}
// A fixed number of sweeps: the history keeps every entry, as the window does.
BENCHMARK(BM_FollowPageLinks)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_HistoryBackAndForward(benchmark::State& state) {
    PageHistory history;
    for (int i = 0; i < state.range(0); ++i) history.Record("/home/u/grande.kyt", i);
    for (auto _ : state) {
        while (history.Back()) {
        }
        while (history.Forward()) {
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * 2);
}
BENCHMARK(BM_HistoryBackAndForward)->Arg(1000)->Arg(10000);

}  // namespace
