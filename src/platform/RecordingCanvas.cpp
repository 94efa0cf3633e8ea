// The recording canvas, and the standard colours of the system colour indices.
#include "platform/RecordingCanvas.h"

#include <algorithm>
#include <cstdint>

namespace orvo {

std::int32_t SystemColour(int index) {
    switch (index) {
        case kColourHighlight:
            return 0x00D77800;  // RGB(0, 120, 215)
        case kColourHighlightText:
            return 0x00FFFFFF;
        case kColourButtonFace:
            return 0x00F0F0F0;
        case kColourButtonShadow:
            return 0x00A0A0A0;
        case kColourButtonHighlight:
            return 0x00FFFFFF;
        default:
            return 0;
    }
}

std::optional<Rect> RecordingCanvas::Clip() const {
    if (clips_.empty()) return std::nullopt;
    return clips_.back();
}

void RecordingCanvas::FillRect(const Rect& area, std::int32_t colour) {
    CanvasOp op;
    op.kind = CanvasOpKind::Fill;
    op.area = area;
    op.colour = colour;
    op.clip = Clip();
    ops_.push_back(std::move(op));
}

void RecordingCanvas::HatchRect(const Rect& area, Hatch hatch, std::int32_t colour) {
    CanvasOp op;
    op.kind = CanvasOpKind::Hatch;
    op.area = area;
    op.colour = colour;
    op.hatch = hatch;
    op.clip = Clip();
    ops_.push_back(std::move(op));
}

void RecordingCanvas::Line(Point from, Point to, const Pen& pen) {
    CanvasOp op;
    op.kind = CanvasOpKind::Line;
    op.from = from;
    op.to = to;
    op.pen = pen;
    op.colour = pen.colour;
    op.clip = Clip();
    ops_.push_back(std::move(op));
}

void RecordingCanvas::SetFont(const TMyFont& font) {
    font_ = font;
    textColour_ = font.colour;
}

void RecordingCanvas::TextOut(std::int32_t x, std::int32_t top, std::string_view cp1252) {
    CanvasOp op;
    op.kind = CanvasOpKind::Text;
    const TextMetrics metrics = measurer_.Metrics(font_);
    // Held in the int range: a hostile text can be wider than the plane.
    const auto held = [](std::int64_t v) {
        return std::int32_t(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    op.area = {x, top, held(std::int64_t(x) + TextExtent(cp1252)),
               held(std::int64_t(top) + metrics.height)};
    op.colour = textColour_;
    op.text = std::string(cp1252);
    op.font = font_;
    op.background = background_;
    op.clip = Clip();
    ops_.push_back(std::move(op));
}

std::int32_t RecordingCanvas::TextExtent(std::string_view cp1252) {
    const std::int64_t extent =
        std::int64_t(measurer_.Extent(font_, cp1252)) + std::int64_t(extraPerByte_) * cp1252.size();
    return std::int32_t(std::min<std::int64_t>(extent, INT32_MAX));
}

void RecordingCanvas::DrawImage(const CanvasImage& image, std::int32_t x, std::int32_t y) {
    CanvasOp op;
    op.kind = CanvasOpKind::Image;
    op.area = {x, y, x + image.width, y + image.height};
    op.imageKey = image.key;
    op.clip = Clip();
    ops_.push_back(std::move(op));
}

void RecordingCanvas::PushClip(const Rect& area) {
    clips_.push_back(clips_.empty() ? area : clips_.back().Intersection(area));
}

void RecordingCanvas::PopClip() {
    if (!clips_.empty()) clips_.pop_back();
}

std::vector<CanvasOp> RecordingCanvas::OpsOf(CanvasOpKind kind) const {
    std::vector<CanvasOp> out;
    for (const CanvasOp& op : ops_)
        if (op.kind == kind) out.push_back(op);
    return out;
}

std::vector<std::string> RecordingCanvas::Texts() const {
    std::vector<std::string> out;
    for (const CanvasOp& op : ops_)
        if (op.kind == CanvasOpKind::Text) out.push_back(op.text);
    return out;
}

std::string RecordingCanvas::AllText() const {
    std::string out;
    for (const CanvasOp& op : ops_)
        if (op.kind == CanvasOpKind::Text) out += op.text;
    return out;
}

}  // namespace orvo
