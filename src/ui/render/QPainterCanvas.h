// The canvas over a QPainter: the screen, an offscreen picture or a printer page.
#pragma once

#include <QFont>
#include <QPainter>

#include <vector>

#include "platform/ICanvas.h"
#include "ui/render/QtTextMeasurer.h"

namespace orvo {

/// Draws in the painter's device pixels. Text is measured and drawn with the fonts of the
/// measurer given, so drawn widths agree with the widths the layout stored.
class QPainterCanvas final : public ICanvas {
public:
    QPainterCanvas(QPainter& painter, QtTextMeasurer& measurer);
    ~QPainterCanvas() override;

    void FillRect(const Rect& area, std::int32_t colour) override;
    void HatchRect(const Rect& area, Hatch hatch, std::int32_t colour) override;
    void Line(Point from, Point to, const Pen& pen) override;
    void SetFont(const TMyFont& font) override;
    void SetTextColour(std::int32_t colour) override { textColour_ = colour; }
    void SetTextBackground(std::optional<std::int32_t> colour) override { background_ = colour; }
    void TextOut(std::int32_t x, std::int32_t top, std::string_view cp1252) override;
    std::int32_t TextExtent(std::string_view cp1252) override;
    void DrawImage(const CanvasImage& image, std::int32_t x, std::int32_t y) override;
    void PushClip(const Rect& area) override;
    void PopClip() override;

private:
    QPainter& painter_;
    QtTextMeasurer& measurer_;
    TMyFont font_;
    QFont qfont_;
    std::int32_t textColour_ = 0;
    std::optional<std::int32_t> background_;
    std::size_t clipDepth_ = 0;
};

}  // namespace orvo
