// The caret on a page of 10,000 paragraphs. BM_CaretKeyInBox: a key that moves the caret, from
// the box input's KeyDown to the caret placed and the strips it invalidated painted again
// (text and bar) into an image. BM_CaretKeyInWidget: a key event sent to the page widget in edit
// mode, to the end of the repaint the event loop runs for it (the widget counts its paints; an
// iteration without one stops the benchmark with an error).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>

#include <cstdlib>
#include <memory>
#include <string>

#include "LongPageMarkup.h"
#include "model/TextForms.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IClipboard.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "textbox/IBoxEditing.h"
#include "textbox/IBoxHost.h"
#include "textbox/uKYTbox.h"
#include "textbox/uKYTboxInput.h"
#include "ui/QtConvert.h"
#include "ui/app/QtScheduler.h"
#include "ui/render/QPainterCanvas.h"
#include "ui/render/QtTextMeasurer.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo {
namespace {

constexpr int kParagraphs = 10000;

void EnsureApplication() {
    if (QCoreApplication::instance()) return;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "bench_caret";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);  // outlives the devices
    (void)app;
}

// A hypertext whose page 0 holds 10,000 short paragraphs.
struct LongDocument {
    LongDocument() {
        auto object = NewObjectOfKind(TOggettiHel::testoHtml, &set);
        object->Clear();
        object->TakeIntoUse();
        page = set.ObjectByKind(TOggettiHel::testoHtml, set.Register(std::move(object)));
        page->SetContent(LongPageMarkup(kParagraphs));
    }
    FixedEnvironment env;
    RecordingMessages messages;
    TKYTset set{env, messages};
    TKYToggetto* page = nullptr;
};

// The keys alternate so that the caret stays in the middle paragraph.
BoxKey KeyOfIteration(int i) {
    return i % 2 == 0 ? BoxKey::Right : BoxKey::Left;
}

void BM_CaretKeyInBox(benchmark::State& state) {
    EnsureApplication();
    LongDocument document;
    QtTextMeasurer measurer{96};
    auto text = OpenText(document.set, *document.page, false);
    TextMarkupHost markup(document.set, *text, measurer);
    RecordingBoxHost host(800, 600);
    TKYTbox box(markup, host);
    box.LoadText(std::nullopt, *text->ContentBytes(), std::nullopt);
    ManualScheduler scheduler;
    IBoxInputHost inputHost;
    MemoryClipboard clipboard;
    NoBoxEditing editing;
    TKYTboxInput input(box, scheduler, inputHost, clipboard, editing);
    input.FocusIn();
    TKYTTextPos start;
    start.paraIndex = kParagraphs / 2;
    start.charIndex = 5;
    input.PlaceCaret(box.ResolvePosition(start));
    QImage image(800, 600, QImage::Format_RGB32);
    int i = 0;
    for (auto _ : state) {
        host.ClearInvalidated();
        input.KeyDown(KeyOfIteration(i++), 0);
        // What the key invalidated is painted again, as the window would, with the bar.
        QPainter painter(&image);
        QPainterCanvas canvas(painter, measurer);
        const std::int32_t top = host.VerticalPosition();
        painter.translate(0, -top);
        for (const Rect& area : host.Invalidated()) box.Paint(canvas, area);
        if (input.Caret().BarVisible()) painter.fillRect(ToQRect(input.Caret().Bar()), Qt::black);
        benchmark::DoNotOptimize(image.constBits());
    }
    if (input.Caret().Pos().paraIndex != kParagraphs / 2)
        state.SkipWithError("the caret left its paragraph");
}
BENCHMARK(BM_CaretKeyInBox)->Unit(benchmark::kMicrosecond);

void BM_CaretKeyInWidget(benchmark::State& state) {
    EnsureApplication();
    LongDocument document;
    QtScheduler scheduler;
    PageViewWidget view(document.set);
    view.EnableEditing(scheduler, document.messages);
    view.resize(800, 600);
    view.show();
    if (!view.ShowPage(document.page->Identifier())) {
        state.SkipWithError("the page was not shown");
        return;
    }
    view.SetEditable(true);
    QApplication::processEvents();
    TKYTTextPos start;
    start.paraIndex = kParagraphs / 2;
    start.charIndex = 5;
    view.Input()->PlaceCaret(view.Box()->ResolvePosition(start));
    QApplication::processEvents();
    QWidget* surface = view.Surface();
    int i = 0;
    for (auto _ : state) {
        const int paints = view.Paints();
        const int key = i++ % 2 == 0 ? Qt::Key_Right : Qt::Key_Left;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(surface, &press);
        QApplication::processEvents();
        if (view.Paints() == paints) {
            state.SkipWithError("the key was not followed by a paint");
            break;
        }
    }
}
BENCHMARK(BM_CaretKeyInWidget)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvo
