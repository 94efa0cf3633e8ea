// The exact number formats of stored files, markup and exports.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvo {

/// "RRGGBB", upper case, from a Windows colour value 0x00BBGGRR; the top byte is ignored.
std::string HexColour(std::uint32_t bgr);

/// Eight lower-case hexadecimal digits ("%08x"), as object codes are written.
std::string Hex8(std::uint32_t value);

/// Upper-case hexadecimal digits, zero-padded to `width`.
std::string HexUpper(std::uint32_t value, int width);

/// Parses up to `maxDigits` hexadecimal digits at the start of `text`; returns the number of
/// digits read (0 when none) and stores the value.
int ParseHex(std::string_view text, int maxDigits, std::uint32_t& value);

/// Parses an optionally signed decimal at the start of `text` into a wide type and clamps it
/// to [lo, hi]; returns the number of bytes read (0 when there is no digit).
int ParseClampedInt(std::string_view text, long long lo, long long hi, long long& value);

}  // namespace orvo
