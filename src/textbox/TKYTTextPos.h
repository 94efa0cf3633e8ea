// A position in the text of a box, with the geometry of the line it lies on.
#pragma once

#include <cstdint>

namespace orvo {

class TKYTparag;

/// Copied by value. A position lies before the character at charIndex.
struct TKYTTextPos {
    const TKYTparag* paragraph = nullptr;  // none when not resolved
    std::int32_t paraIndex = -1;           // index in the box's paragraphs; -1 = no position
    std::int32_t lineIndex = -1;           // -1: not known (resolving picks the line)
    std::int32_t charIndex = 0;            // 0 .. length of the paragraph's text
    std::int32_t y = 0;                    // top of the line, box pixels
    std::int32_t height = -1;              // line height; -1 = geometry not resolved
    std::int32_t x = 0;                    // x of the position
    std::int32_t xRight = 0;               // right edge of the character at the position

    bool Valid() const { return paraIndex >= 0; }
    bool Resolved() const { return paraIndex >= 0 && height >= 0; }
};

/// Orders two positions by paragraph, then character.
inline bool PositionBefore(const TKYTTextPos& a, const TKYTTextPos& b) {
    return a.paraIndex != b.paraIndex ? a.paraIndex < b.paraIndex : a.charIndex < b.charIndex;
}

}  // namespace orvo
