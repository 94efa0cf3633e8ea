// The QPainter canvas.
#include "ui/render/QPainterCanvas.h"

#include <QBrush>
#include <QImage>
#include <QPen>

#include "ui/QtConvert.h"

namespace orvo {

QPainterCanvas::QPainterCanvas(QPainter& painter, QtTextMeasurer& measurer)
    : painter_(painter), measurer_(measurer) {
    painter_.save();
    qfont_ = measurer_.ToQFont(font_);
}

QPainterCanvas::~QPainterCanvas() {
    while (clipDepth_ > 0) PopClip();
    painter_.restore();
}

void QPainterCanvas::FillRect(const Rect& area, std::int32_t colour) {
    if (area.Empty()) return;
    painter_.fillRect(ToQRect(area), ToQColor(colour));
}

void QPainterCanvas::HatchRect(const Rect& area, Hatch hatch, std::int32_t colour) {
    if (area.Empty()) return;
    const Qt::BrushStyle style =
        hatch == Hatch::ForwardDiagonal ? Qt::FDiagPattern : Qt::BDiagPattern;
    painter_.fillRect(ToQRect(area), QBrush(ToQColor(colour), style));
}

void QPainterCanvas::Line(Point from, Point to, const Pen& pen) {
    if (from == to) return;
    // The end point is not drawn: stop one pixel short along the line's main direction.
    QPoint end(to.x, to.y);
    const int dx = to.x - from.x, dy = to.y - from.y;
    if (std::abs(dx) >= std::abs(dy))
        end.rx() -= dx > 0 ? 1 : -1;
    else
        end.ry() -= dy > 0 ? 1 : -1;
    if (pen.style == LineStyle::Dotted && pen.gapColour) {
        QPen gap(ToQColor(*pen.gapColour));
        gap.setWidth(0);
        painter_.setPen(gap);
        painter_.drawLine(QPoint(from.x, from.y), end);
    }
    QPen qpen(ToQColor(pen.colour));
    qpen.setWidth(0);
    if (pen.style == LineStyle::Dotted) qpen.setDashPattern({1.0, 1.0});
    painter_.setPen(qpen);
    painter_.drawLine(QPoint(from.x, from.y), end);
}

void QPainterCanvas::SetFont(const TMyFont& font) {
    font_ = font;
    qfont_ = measurer_.ToQFont(font);
    textColour_ = font.colour;
}

void QPainterCanvas::TextOut(std::int32_t x, std::int32_t top, std::string_view cp1252) {
    if (cp1252.empty()) return;
    const TextMetrics metrics = measurer_.Metrics(font_);
    if (background_)
        painter_.fillRect(QRect(x, top, TextExtent(cp1252), metrics.height),
                          ToQColor(*background_));
    painter_.setFont(qfont_);
    painter_.setPen(ToQColor(textColour_));
    painter_.drawText(QPoint(x, top + metrics.ascent), ToQString(cp1252));
}

std::int32_t QPainterCanvas::TextExtent(std::string_view cp1252) {
    return measurer_.Extent(font_, cp1252);
}

void QPainterCanvas::DrawImage(const CanvasImage& image, std::int32_t x, std::int32_t y) {
    if (image.Empty()) return;
    const QImage view(image.rgba, image.width, image.height, image.width * 4,
                      QImage::Format_RGBA8888);
    painter_.drawImage(QPoint(x, y), view);
}

void QPainterCanvas::PushClip(const Rect& area) {
    painter_.save();
    painter_.setClipRect(ToQRect(area),
                         painter_.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    ++clipDepth_;
}

void QPainterCanvas::PopClip() {
    if (clipDepth_ == 0) return;
    painter_.restore();
    --clipDepth_;
}

}  // namespace orvo
