// The main window: openFile on the sample hypertext to the end of the page view's first
// paint, as the window itself times it (QElapsedTimer), the font cache warm. Two documents
// are opened in turn so that every iteration really loads one. Offscreen unless
// QT_QPA_PLATFORM names another platform (QT_QPA_PLATFORM=xcb with DISPLAY set: a real X
// server such as Xvfb).
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "base/Paths.h"
#include "model/SampleHypertext.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/ISettings.h"
#include "platform/RecordingShell.h"
#include "ui/app/MainWindow.h"
#include "ui/textbox/PageViewWidget.h"

namespace {

std::string WriteSample(const std::filesystem::path& folder, const std::string& name, int pages) {
    orvo::FixedEnvironment environment;
    orvo::RecordingMessages messages;
    orvo::TKYTset set(environment, messages);
    orvo::SampleOptions options;
    options.pages = pages;
    options.fileName = name;
    orvo::MakeSampleHypertext(set, options);
    const std::string path = orvo::NameOfPath(folder / name);
    set.SaveToFile(path);
    return path;
}

void BM_OpenToFirstPaint(benchmark::State& state) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "bench_mainwindow";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);  // outlives the pointing devices
    (void)app;

    const auto folder = std::filesystem::temp_directory_path() / "orvo-bench-mainwindow";
    std::filesystem::create_directories(folder);
    const std::string paths[2] = {WriteSample(folder, "Esempio.kyt", 7),
                                  WriteSample(folder, "Altro.kyt", 7)};
    orvo::FixedEnvironment environment;
    orvo::RecordingMessages messages;
    orvo::MemorySettings settings;
    orvo::RecordingShell shell;
    orvo::MainWindowOptions options;
    options.messages = &messages;
    options.desktopDataHome = folder / "desktop";
    orvo::MainWindow window(environment, settings, shell, options);
    window.resize(960, 680);
    orvo::CommandLine line;
    line.file = orvo::NativePath(paths[0]);
    window.Start(line);
    QApplication::processEvents();
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

}  // namespace
