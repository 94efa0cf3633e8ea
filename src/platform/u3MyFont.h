// The plain, complete font description used by measuring, printing, the converters and the
// markup writer: no reference to a style.
#pragma once

#include <cstdint>
#include <string>

namespace orvo {

/// The style bits of a font (the same bits in style records, markup and override records).
inline constexpr std::uint8_t kFontBold = 1;
inline constexpr std::uint8_t kFontItalic = 2;
inline constexpr std::uint8_t kFontUnderline = 4;
inline constexpr std::uint8_t kFontStrikeOut = 8;

/// Vertical positions of a font.
inline constexpr std::uint8_t kPositionNormal = 0;
inline constexpr std::uint8_t kPositionSubscript = 1;
inline constexpr std::uint8_t kPositionSuperscript = 2;

struct TMyFont {
    std::string name;            // Windows-1252
    std::uint8_t styleBits = 0;  // kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut
    std::int32_t colour = 0;     // Windows colour value 0x00BBGGRR
    std::int32_t size = 10;      // points
    std::uint8_t position = 0;   // kPositionNormal, kPositionSubscript, kPositionSuperscript

    bool operator==(const TMyFont&) const = default;
};

}  // namespace orvo
