// Drawing onto a screen surface, an offscreen picture or a printer page: what the text box,
// the page background and printing ask of the windowing system's graphics. Measuring is
// ITextMeasurer's job; a canvas measures only the text it draws, in its current font.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/u3MyFont.h"

namespace orvo {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const Point&) const = default;
};

/// A rectangle of whole pixels; right and bottom lie just outside it.
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool Intersects(const Rect& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    Rect Intersection(const Rect& other) const {
        return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom)};
    }
    Rect Offset(std::int32_t dx, std::int32_t dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    bool operator==(const Rect&) const = default;
};

/// The system colours the painting uses, by their Windows index.
inline constexpr int kColourHighlight = 13;
inline constexpr int kColourHighlightText = 14;
inline constexpr int kColourButtonFace = 15;
inline constexpr int kColourButtonShadow = 16;
inline constexpr int kColourButtonHighlight = 20;

/// The Windows colour value (0x00BBGGRR) of a system colour in the standard desktop scheme;
/// black for an index this program does not use.
std::int32_t SystemColour(int index);

/// A colour value as plain 0x00BBGGRR: the palette-relative flag (0x02000000) and the other
/// top-byte flags carry no colour and are dropped.
inline std::int32_t PlainColour(std::int32_t colour) {
    return colour & 0x00FFFFFF;
}

enum class Hatch : std::uint8_t {
    ForwardDiagonal,   // lines from the upper left down to the lower right
    BackwardDiagonal,  // lines from the lower left up to the upper right
};

enum class LineStyle : std::uint8_t { Solid, Dotted };

struct Pen {
    std::int32_t colour = 0;
    LineStyle style = LineStyle::Solid;
    /// The colour between the dots of a dotted pen; none leaves the gaps as they are.
    std::optional<std::int32_t> gapColour;
    bool operator==(const Pen&) const = default;
};

/// Pixels to draw: RGBA, 4 bytes a pixel, rows top to bottom, not owned. `key` names the
/// pixels for caches (two images with the same key hold the same pixels).
struct CanvasImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    const std::uint8_t* rgba = nullptr;
    std::uint64_t key = 0;
    bool opaque = true;  // no pixel has an alpha below 255
    bool Empty() const { return width <= 0 || height <= 0 || rgba == nullptr; }
};

/// A surface to draw on, in whole pixels. Colours are Windows colour values (0x00BBGGRR); a
/// palette-relative flag in the top byte is ignored.
class ICanvas {
public:
    virtual ~ICanvas() = default;

    /// Fills `area` with a solid colour.
    virtual void FillRect(const Rect& area, std::int32_t colour) = 0;
    /// Draws hatch lines of `colour` over `area`, leaving the pixels between them.
    virtual void HatchRect(const Rect& area, Hatch hatch, std::int32_t colour) = 0;
    /// A line from `from` to `to`, the end point not drawn.
    virtual void Line(Point from, Point to, const Pen& pen) = 0;

    /// Makes `font` current for TextOut and TextExtent: name, size, style bits and colour
    /// (the colour becomes the text colour). A face that is not installed draws as
    /// "Times New Roman".
    virtual void SetFont(const TMyFont& font) = 0;
    virtual void SetTextColour(std::int32_t colour) = 0;
    /// With a colour, text is drawn on a filled cell of that colour; without, on what is there.
    virtual void SetTextBackground(std::optional<std::int32_t> colour) = 0;
    /// Draws Windows-1252 text whose cell's top left corner is (x, top).
    virtual void TextOut(std::int32_t x, std::int32_t top, std::string_view cp1252) = 0;
    /// The advance width of the text in the current font.
    virtual std::int32_t TextExtent(std::string_view cp1252) = 0;

    /// Draws `image` with its top left corner at (x, y), inside the current clip.
    virtual void DrawImage(const CanvasImage& image, std::int32_t x, std::int32_t y) = 0;

    /// Restricts drawing to `area` (within any earlier clip) until PopClip.
    virtual void PushClip(const Rect& area) = 0;
    virtual void PopClip() = 0;
};

/// Keeps a clip pushed for the lifetime of the guard.
class ClipGuard {
public:
    ClipGuard(ICanvas& canvas, const Rect& area) : canvas_(canvas) { canvas_.PushClip(area); }
    ~ClipGuard() { canvas_.PopClip(); }
    ClipGuard(const ClipGuard&) = delete;
    ClipGuard& operator=(const ClipGuard&) = delete;

private:
    ICanvas& canvas_;
};

}  // namespace orvo
