// A canvas that draws onto another one moved by (dx, dy): a box nested in an object (a table
// cell, the page of a floating frame) paints in its own coordinates.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/ICanvas.h"

namespace orvo {

class OffsetCanvas final : public ICanvas {
public:
    OffsetCanvas(ICanvas& inner, std::int32_t dx, std::int32_t dy)
        : inner_(inner), dx_(dx), dy_(dy) {}
    void FillRect(const Rect& area, std::int32_t colour) override {
        inner_.FillRect(area.Offset(dx_, dy_), colour);
    }
    void HatchRect(const Rect& area, Hatch hatch, std::int32_t colour) override {
        inner_.HatchRect(area.Offset(dx_, dy_), hatch, colour);
    }
    void Line(Point from, Point to, const Pen& pen) override {
        inner_.Line({from.x + dx_, from.y + dy_}, {to.x + dx_, to.y + dy_}, pen);
    }
    void SetFont(const TMyFont& font) override { inner_.SetFont(font); }
    void SetTextColour(std::int32_t colour) override { inner_.SetTextColour(colour); }
    void SetTextBackground(std::optional<std::int32_t> colour) override {
        inner_.SetTextBackground(colour);
    }
    void TextOut(std::int32_t x, std::int32_t top, std::string_view text) override {
        inner_.TextOut(x + dx_, top + dy_, text);
    }
    std::int32_t TextExtent(std::string_view text) override { return inner_.TextExtent(text); }
    void DrawImage(const CanvasImage& image, std::int32_t x, std::int32_t y) override {
        inner_.DrawImage(image, x + dx_, y + dy_);
    }
    void PushClip(const Rect& area) override { inner_.PushClip(area.Offset(dx_, dy_)); }
    void PopClip() override { inner_.PopClip(); }

private:
    ICanvas& inner_;
    std::int32_t dx_, dy_;
};

}  // namespace orvo
