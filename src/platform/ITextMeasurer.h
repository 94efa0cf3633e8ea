// Measuring text in a font: what the paragraphs, the layout and the exporters ask of the
// windowing system's fonts.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/u3MyFont.h"

namespace orvo {

/// The vertical metrics of a font, in screen pixels.
struct TextMetrics {
    std::int32_t height = 0;  // ascent plus descent
    std::int32_t ascent = 0;
    bool operator==(const TextMetrics&) const = default;
};

enum class FontPitch : std::uint8_t { Default, Fixed, Variable };
enum class FontFamily : std::uint8_t { DontCare, Roman, Swiss, Modern, Script, Decorative };

/// Measures Windows-1252 text in a font. Sizes are points; results are whole screen pixels.
/// An implementation measures a face that is not installed as "Times New Roman".
class ITextMeasurer {
public:
    virtual ~ITextMeasurer() = default;

    /// The advance width of `text` (Windows-1252 bytes) in `font`.
    virtual std::int32_t Extent(const TMyFont& font, std::string_view text) = 0;

    /// The height and ascent of `font`; the height is also the default line height of a
    /// paragraph whose style uses it.
    virtual TextMetrics Metrics(const TMyFont& font) = 0;

    /// True when a face of that name is installed.
    virtual bool IsInstalled(std::string_view faceName) = 0;

    virtual FontPitch Pitch(const TMyFont& font) = 0;
    virtual FontFamily Family(const TMyFont& font) = 0;

    /// The width `current` adds after `previous` in the same font: Extent(previous + current)
    /// minus Extent(previous); with `previous` below 0 the character is measured alone.
    /// Implementations may answer faster, but must give the same result.
    virtual std::int32_t PairWidth(const TMyFont& font, int previous, unsigned char current);

    /// The width of each byte of `text` in turn, as PairWidth gives it after the byte before
    /// (after `previous` for the first), into widths[0 .. text.size()). Implementations may
    /// answer faster, but must give the same result.
    virtual void RunWidths(const TMyFont& font, int previous, std::string_view text,
                           std::int32_t* widths);
};

}  // namespace orvo
