// The offscreen page picture.
#include "ui/render/PageRender.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <memory>

#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "objects/ObjectViews.h"
#include "picture/TKYTpicture.h"
#include "platform/IScheduler.h"
#include "textbox/TKYTpage.h"
#include "textbox/TKYTpageHeadless.h"
#include "textbox/uKYTboxView.h"
#include "ui/QtConvert.h"
#include "ui/render/QPainterCanvas.h"
#include "ui/render/QtTextMeasurer.h"

namespace orvo {

void EnsureGuiApplication() {
    if (QGuiApplication::instance()) return;
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "orvo";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    (void)application;
}

Status RenderPageToPng(TKYTset& set, std::int32_t pageIdentifier,
                       const std::filesystem::path& output, const PageRenderOptions& options) {
    TKYToggetto* pageObject = set.ObjectByKind(TOggettiHel::testoHtml, pageIdentifier);
    if (!pageObject || pageObject->IsFree())
        return Fail("the hypertext has no page " + std::to_string(pageIdentifier));
    EnsureGuiApplication();

    const std::int32_t width = std::clamp(options.width, 20, 20000);
    QtTextMeasurer measurer(96);
    RecordingBoxHost surface(width, std::max(options.minHeight, 1));
    HeadlessFrameSet frameSet;
    RecordingUndoPurge undo;
    ManualSpellPacer spell;
    ManualScheduler scheduler;
    // The page's pictures and other objects are drawn by their views, made as the box meets
    // them.
    ObjectViewHost host(surface, set, set.Messages(), scheduler);
    host.SetReadOnly(!options.editMode);
    TKYTboxViewFactory views(measurer, host);
    TKYTpage page(set, frameSet, views, undo, spell, scheduler);
    page.SetReadOnly(!options.editMode);
    if (!page.ShowText(pageIdentifier) || !views.Last())
        return Fail("the page " + std::to_string(pageIdentifier) + " could not be shown");
    TKYTbox& box = views.Last()->Box();
    box.transparent = true;  // the page's background lies behind the text
    box.runMode = !options.editMode;
    box.drawObjectsOnCanvas = true;

    PageBackgroundPicture picture;
    SetPageBackground(set, *pageObject, page.Background(), picture);
    const TKYTsfondo& background = page.Background();

    const std::int32_t height =
        std::clamp(box.Height(), std::max(options.minHeight, 1), std::max(options.maxHeight, 1));
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        QPainterCanvas canvas(painter, measurer);
        const Rect all{0, 0, width, height};
        background.Paint(canvas, all);
        box.Paint(canvas, all);
    }
    host.Clear();
    page.CloseText();
    const QString name = QString::fromStdString(output.string());
    if (!image.save(name, "PNG")) return Fail("cannot write " + output.string());
    return Status::Ok();
}

}  // namespace orvo
