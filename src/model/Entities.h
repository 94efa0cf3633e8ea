// The decoder of "&" character references shared by the markup reader, the HTML export and
// the legacy text conversion.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace orvo {

struct EntityName {
    std::string_view name;
    unsigned char byte;
};

/// The 104 names, in the order they are tried: the four markup escapes in lower and upper
/// case, then the Latin-1 names of 0xA0..0xFF (0xAF is "hibar").
extern const std::array<EntityName, 104> kEntityNames;

/// Decodes the reference that starts with the "&" at text[pos] and moves pos past what it
/// consumed. The text ends at its end or at its first 0x00 byte; nothing past that is read or
/// consumed.
///   "&#" and up to three characters before ";": their decimal value's low 8 bits (a
///   non-number gives "A"); a following ";" is consumed.
///   "&name": the first table name that the text starts with; a following ";" is consumed.
///   "&&": "&"; the byte after the two "&" is consumed too, and a ";" after those three.
///   Otherwise a blank, and only the "&" (and a ";" right after it) is consumed.
unsigned char DecodeEntity(std::string_view text, std::size_t& pos);

}  // namespace orvo
