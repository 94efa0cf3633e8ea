// A canvas that draws nothing and records every call: the canvas of headless painting tests.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/ICanvas.h"
#include "platform/ITextMeasurer.h"

namespace orvo {

enum class CanvasOpKind : std::uint8_t { Fill, Hatch, Line, Text, Image };

/// One recorded drawing call, with the state it was drawn in.
struct CanvasOp {
    CanvasOpKind kind = CanvasOpKind::Fill;
    Rect area;                // Fill, Hatch; Text: the text's cell; Image: the image's place
    std::int32_t colour = 0;  // Fill, Hatch, Line (the pen's colour), Text (the text colour)
    Hatch hatch = Hatch::ForwardDiagonal;
    Point from, to;                          // Line
    Pen pen;                                 // Line
    std::string text;                        // Text, Windows-1252
    TMyFont font;                            // Text: the current font
    std::optional<std::int32_t> background;  // Text
    std::uint64_t imageKey = 0;              // Image
    std::optional<Rect> clip;                // the clip in force, none when nothing is clipped
};

/// Text extents come from the measurer given, in the current font, plus `extraPerByte` pixels
/// a byte (to stand for a device that measures differently from the layout).
class RecordingCanvas final : public ICanvas {
public:
    explicit RecordingCanvas(ITextMeasurer& measurer) : measurer_(measurer) {}

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

    void SetExtraWidthPerByte(std::int32_t extra) { extraPerByte_ = extra; }

    const std::vector<CanvasOp>& Ops() const { return ops_; }
    /// The recorded calls of one kind, in order.
    std::vector<CanvasOp> OpsOf(CanvasOpKind kind) const;
    /// The texts drawn, in order.
    std::vector<std::string> Texts() const;
    /// Every text drawn, joined without separators.
    std::string AllText() const;
    void Clear() { ops_.clear(); }
    const TMyFont& CurrentFont() const { return font_; }
    std::size_t ClipDepth() const { return clips_.size(); }

private:
    std::optional<Rect> Clip() const;

    ITextMeasurer& measurer_;
    std::vector<CanvasOp> ops_;
    std::vector<Rect> clips_;
    TMyFont font_;
    std::int32_t textColour_ = 0;
    std::optional<std::int32_t> background_;
    std::int32_t extraPerByte_ = 0;
};

}  // namespace orvo
