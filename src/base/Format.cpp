// The exact number formats of stored files, markup and exports.
#include "base/Format.h"

#include <string_view>

namespace orvo {

static constexpr char kUpperDigits[] = "0123456789ABCDEF";
static constexpr char kLowerDigits[] = "0123456789abcdef";

std::string HexColour(std::uint32_t bgr) {
    const std::uint32_t red = bgr & 0xFF, green = (bgr >> 8) & 0xFF, blue = (bgr >> 16) & 0xFF;
    return HexUpper(red, 2) + HexUpper(green, 2) + HexUpper(blue, 2);
}

std::string Hex8(std::uint32_t value) {
    std::string out(8, '0');
    for (int i = 7; i >= 0; --i, value >>= 4) out[i] = kLowerDigits[value & 0xF];
    return out;
}

std::string HexUpper(std::uint32_t value, int width) {
    std::string out;
    do {
        out.insert(out.begin(), kUpperDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    while (int(out.size()) < width) out.insert(out.begin(), '0');
    return out;
}

static int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int ParseHex(std::string_view text, int maxDigits, std::uint32_t& value) {
    value = 0;
    int n = 0;
    while (n < maxDigits && std::size_t(n) < text.size()) {
        const int d = HexDigitValue(text[n]);
        if (d < 0) break;
        value = (value << 4) | std::uint32_t(d);
        ++n;
    }
    return n;
}

int ParseClampedInt(std::string_view text, long long lo, long long hi, long long& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    const std::size_t firstDigit = i;
    long long magnitude = 0;
    constexpr long long kCap = 1LL << 62;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        magnitude = magnitude < kCap / 10 ? magnitude * 10 + (text[i] - '0') : kCap;
        ++i;
    }
    if (i == firstDigit) {
        value = lo > 0 ? lo : (hi < 0 ? hi : 0);
        return 0;
    }
    long long v = negative ? -magnitude : magnitude;
    value = v < lo ? lo : (v > hi ? hi : v);
    return int(i);
}

}  // namespace orvo
