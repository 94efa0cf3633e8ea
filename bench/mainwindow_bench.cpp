// The main window. BM_OpenToFirstPaint: openFile on the sample hypertext to the end of the
// page view's first paint, as the window itself times it (QElapsedTimer), the font cache warm;
// two documents are opened in turn so that every iteration really loads one.
// BM_TypingInMainWindow: a letter typed, then taken back with Backspace, in the middle of a
// 10,000-paragraph page the window edits, from the key event to the end of the repaint the
// event loop runs for it (an iteration without a paint stops the benchmark). Offscreen unless
// QT_QPA_PLATFORM names another platform (QT_QPA_PLATFORM=xcb with DISPLAY set: a real X
// server such as Xvfb).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "LongPageMarkup.h"
#include "app/u3MainForm.h"
#include "base/Paths.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/ISettings.h"
#include "platform/RecordingShell.h"
#include "textbox/uKYTbox.h"
#include "textbox/uKYTboxInput.h"
#include "ui/app/MainWindow.h"
#include "ui/textbox/PageViewWidget.h"

namespace {

constexpr int kParagraphs = 10000;

void EnsureApplication() {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "bench_mainwindow";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);  // outlives the pointing devices
    (void)app;
}

// The sample hypertext; with `longCover`, its cover holds 10,000 short paragraphs.
std::string WriteSample(const std::filesystem::path& folder, const std::string& name, int pages,
                        bool longCover = false) {
    orvo::FixedEnvironment environment;
    orvo::RecordingMessages messages;
    orvo::TKYTset set(environment, messages);
    orvo::SampleOptions options;
    options.pages = pages;
    options.fileName = name;
    orvo::MakeSampleHypertext(set, options);
    if (longCover) orvo::LivePage(set, 0)->SetContent(orvo::LongPageMarkup(kParagraphs));
    const std::string path = orvo::NameOfPath(folder / name);
    set.SaveToFile(path);
    return path;
}

struct WindowOn {
    explicit WindowOn(const std::string& path) : window(environment, settings, shell, Options()) {
        window.resize(960, 680);
        orvo::CommandLine line;
        line.file = orvo::NativePath(path);
        window.Start(line);
        QApplication::processEvents();
    }
    orvo::MainWindowOptions Options() {
        orvo::MainWindowOptions options;
        options.messages = &messages;
        options.desktopDataHome = std::filesystem::temp_directory_path() / "orvo-bench-desktop";
        return options;
    }
    orvo::FixedEnvironment environment;
    orvo::RecordingMessages messages;
    orvo::MemorySettings settings;
    orvo::RecordingShell shell;
    orvo::MainWindow window;
};

void BM_OpenToFirstPaint(benchmark::State& state) {
    EnsureApplication();
    const auto folder = std::filesystem::temp_directory_path() / "orvo-bench-mainwindow";
    std::filesystem::create_directories(folder);
    const std::string paths[2] = {WriteSample(folder, "Esempio.kyt", 7),
                                  WriteSample(folder, "Altro.kyt", 7)};
    WindowOn on(paths[0]);
    orvo::MainWindow& window = on.window;
    int next = 1;
    double totalMs = 0;
    for (auto _ : state) {
        window.OpenFile(paths[next]);
        next ^= 1;
        window.PageView().Surface()->repaint();
        const double ms = double(window.OpenToPaintNanoseconds()) / 1e6;
        totalMs += ms;
        state.SetIterationTime(ms / 1000.0);
    }
    state.counters["open_to_paint_ms"] = totalMs / double(state.iterations());
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_OpenToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_TypingInMainWindow(benchmark::State& state) {
    EnsureApplication();
    const auto folder = std::filesystem::temp_directory_path() / "orvo-bench-typing";
    std::filesystem::create_directories(folder);
    WindowOn on(WriteSample(folder, "Lungo.kyt", 7, true));
    orvo::PageViewWidget& view = on.window.PageView();
    if (!on.window.Rules().EditMode() || !view.Input() || !view.Box()) {
        state.SkipWithError("the window does not edit the page");
        return;
    }
    orvo::TKYTTextPos middle;
    middle.paraIndex = kParagraphs / 2;
    middle.charIndex = 5;
    view.Input()->PlaceCaret(view.Box()->ResolvePosition(middle));
    QApplication::processEvents();
    QWidget* surface = view.Surface();
    int i = 0;
    for (auto _ : state) {
        const int paints = view.Paints();
        const bool letter = i++ % 2 == 0;
        QKeyEvent press(QEvent::KeyPress, letter ? Qt::Key_A : Qt::Key_Backspace, Qt::NoModifier,
                        letter ? QStringLiteral("a") : QString());
        QApplication::sendEvent(surface, &press);
        QApplication::processEvents();
        if (view.Paints() == paints) {
            state.SkipWithError("the key was not followed by a paint");
            break;
        }
    }
    // Each letter was taken back by the next key: the paragraph reads as it was stored.
    std::string expected = "Paragrafo " + std::to_string(kParagraphs / 2) + " con un po' di testo";
    if (i % 2 == 1) expected = expected.substr(0, 5) + "a" + expected.substr(5);
    if (view.Box()->ParagraphCount() != kParagraphs ||
        view.Box()->Paragraph(kParagraphs / 2).text != expected)
        state.SkipWithError("the typing did not reach the page as typed");
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_TypingInMainWindow)->Unit(benchmark::kMicrosecond);

}  // namespace
