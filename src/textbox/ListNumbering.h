// Numbers of numbered paragraphs and the marks of list paragraphs.
#pragma once

#include <cstdint>
#include <string>

#include "model/Markup.h"

namespace orvo {

inline constexpr std::uint8_t kListNone = 0;
inline constexpr std::uint8_t kListNumbered = 6;
inline constexpr std::uint8_t kListBulleted = 10;

/// Gives every numbered paragraph its listNumber: consecutive numbered paragraphs count 1, 2,
/// 3, ...; any other paragraph starts the count again at 1.
void NumberParagraphs(Paragraphs& paragraphs);

/// The mark of a numbered paragraph: the number followed by ". ".
std::string ListNumberMark(std::int32_t number);

/// The x of a numbered paragraph's mark, from the style's left margin L and first-line
/// indent F (as stored) and the mark's width: L + F when F < 0, L - width when F is below
/// the width, else L.
std::int32_t NumberMarkX(std::int32_t left, std::int32_t firstIndent, std::int32_t markWidth);
/// The x of a bullet: L + F when F < 0, L when F > 9, else L - 10.
std::int32_t BulletMarkX(std::int32_t left, std::int32_t firstIndent);

}  // namespace orvo
