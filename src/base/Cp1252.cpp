// Windows-1252 codec and case folding.
#include "base/Cp1252.h"

namespace orvo {

char32_t Cp1252ToCodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return detail::kHighTable[byte - 0x80];
    return byte;
}

int CodePointToCp1252(char32_t codePoint) {
    return detail::EncodeCodePoint(codePoint);
}

static void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 8);
    for (char c : cp1252) AppendUtf8(out, Cp1252ToCodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf8ToCp1252(std::string_view utf8, char replacement) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = detail::DecodeUtf8(utf8, i);
        const int byte = cp == detail::kBadSequence ? -1 : detail::EncodeCodePoint(cp);
        out += byte < 0 ? replacement : char(byte);
    }
    return out;
}

unsigned char LowerCase1252(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    switch (c) {
        case 0x8A:
            return 0x9A;
        case 0x8C:
            return 0x9C;
        case 0x8E:
            return 0x9E;
        case 0x9F:
            return 0xFF;
        default:
            return c;
    }
}

unsigned char UpperCase1252(unsigned char c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    switch (c) {
        case 0x9A:
            return 0x8A;
        case 0x9C:
            return 0x8C;
        case 0x9E:
            return 0x8E;
        case 0xFF:
            return 0x9F;
        default:
            return c;
    }
}

std::string Lower1252(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = char(LowerCase1252(static_cast<unsigned char>(c)));
    return out;
}

std::string Upper1252(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = char(UpperCase1252(static_cast<unsigned char>(c)));
    return out;
}

int CompareText1252(std::string_view a, std::string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int x = LowerCase1252(static_cast<unsigned char>(a[i]));
        const int y = LowerCase1252(static_cast<unsigned char>(b[i]));
        if (x != y) return x - y;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool SameText1252(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareText1252(a, b) == 0;
}

}  // namespace orvo
