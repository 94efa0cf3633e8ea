// The QPainter canvas.
#include "ui/render/QPainterCanvas.h"

#include <QBrush>
#include <QFontMetricsF>
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
    QFont glyphs = qfont_;
    glyphs.setUnderline(false);
    glyphs.setStrikeOut(false);
    painter_.setFont(glyphs);
    painter_.setPen(ToQColor(textColour_));
    // Each character at the whole-pixel advance the layout measured for it (its pair width
    // after the previous one), so that drawn text lines up with stored widths, as on a device
    // with integer advances.
    std::int32_t cx = x;
    int previous = -1;
    const int baseline = top + metrics.ascent;
    for (char c : cp1252) {
        const auto byte = static_cast<unsigned char>(c);
        const std::int32_t advance = measurer_.PairWidth(font_, previous, byte);
        painter_.drawText(QPoint(cx, baseline), QString(QChar(char16_t(Cp1252ToCodePoint(byte)))));
        cx += advance;
        previous = byte;
    }
    // Underline and strike-out go through the whole text in one line each.
    if (qfont_.underline() || qfont_.strikeOut()) {
        const QFontMetricsF fm(qfont_);
        const qreal thickness = std::max<qreal>(1.0, fm.lineWidth());
        const QColor colour = ToQColor(textColour_);
        if (qfont_.underline())
            painter_.fillRect(QRectF(x, baseline + fm.underlinePos(), cx - x, thickness), colour);
        if (qfont_.strikeOut())
            painter_.fillRect(QRectF(x, baseline - fm.strikeOutPos(), cx - x, thickness), colour);
    }
}

std::int32_t QPainterCanvas::TextExtent(std::string_view cp1252) {
    std::int32_t width = 0;
    int previous = -1;
    for (char c : cp1252) {
        const auto byte = static_cast<unsigned char>(c);
        width += measurer_.PairWidth(font_, previous, byte);
        previous = byte;
    }
    return width;
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
