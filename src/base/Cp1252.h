// Windows-1252 text: the codec to and from UTF-8, case folding, and the compile-time
// conversion of UTF-8 source literals ("Non è"_cp).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvo {

/// The Unicode code point of a Windows-1252 byte. The five bytes the code page leaves
/// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same number, so
/// every byte survives a round trip through UTF-8.
char32_t Cp1252ToCodePoint(unsigned char byte);

/// The Windows-1252 byte of a code point, or -1 when the code page has none.
int CodePointToCp1252(char32_t codePoint);

std::string Cp1252ToUtf8(std::string_view cp1252);

/// Characters without a Windows-1252 byte, and malformed UTF-8, become `replacement`.
std::string Utf8ToCp1252(std::string_view utf8, char replacement = '?');

/// Case folding of the code page: A-Z, 0xC0-0xDE (but 0xD7) with 0xE0-0xFE (but 0xF7),
/// and the pairs 0x8A/0x9A, 0x8C/0x9C, 0x8E/0x9E, 0x9F/0xFF.
unsigned char LowerCase1252(unsigned char c);
unsigned char UpperCase1252(unsigned char c);
std::string Lower1252(std::string_view s);
std::string Upper1252(std::string_view s);
bool SameText1252(std::string_view a, std::string_view b);
/// <0, 0, >0 as a sorts before, with or after b, ignoring case.
int CompareText1252(std::string_view a, std::string_view b);

namespace detail {

constexpr char32_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr int EncodeCodePoint(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return int(cp);
    for (int i = 0; i < 32; ++i)
        if (kHighTable[i] == cp) return 0x80 + i;
    return -1;
}

// Decodes one UTF-8 sequence at s[i]; returns the code point and advances i, or returns
// 0xFFFFFFFF for a malformed sequence (i advances by one byte).
constexpr char32_t kBadSequence = 0xFFFFFFFF;

// Decodes one UTF-8 sequence at s[i] and advances i past it; a malformed sequence gives
// kBadSequence and advances i by one byte.
constexpr char32_t DecodeUtf8(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    const int extra = b0 < 0x80             ? 0
                      : (b0 & 0xE0) == 0xC0 ? 1
                      : (b0 & 0xF0) == 0xE0 ? 2
                      : (b0 & 0xF8) == 0xF0 ? 3
                                            : -1;
    if (extra <= 0) {
        ++i;
        return extra == 0 ? char32_t(b0) : kBadSequence;
    }
    char32_t cp = b0 & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) {
            ++i;
            return kBadSequence;
        }
        cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    }
    i += extra + 1;
    return cp;
}

template <std::size_t N>
struct Utf8Literal {
    char bytes[N]{};
    consteval Utf8Literal(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i) bytes[i] = s[i];
    }
    constexpr std::string_view View() const { return {bytes, N - 1}; }
};

template <std::size_t N>
consteval std::size_t ConvertedLength(const Utf8Literal<N>& lit) {
    std::size_t n = 0;
    const std::string_view s = lit.View();
    for (std::size_t i = 0; i < s.size(); ++n) DecodeUtf8(s, i);
    return n;
}

template <std::size_t M>
struct Cp1252Text {
    std::array<char, M + 1> bytes{};
};

template <Utf8Literal L>
consteval auto Convert() {
    Cp1252Text<ConvertedLength(L)> out;
    const std::string_view s = L.View();
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size();) {
        const char32_t cp = DecodeUtf8(s, i);
        const int byte = EncodeCodePoint(cp);
        if (byte < 0) throw "character without a Windows-1252 byte in a _cp literal";
        out.bytes[n++] = static_cast<char>(byte);
    }
    return out;
}

template <Utf8Literal L>
inline constexpr auto kConverted = Convert<L>();

}  // namespace detail

namespace literals {
/// "Non è stato possibile"_cp: the UTF-8 literal as Windows-1252 bytes, converted at compile
/// time; a character the code page lacks does not compile.
template <detail::Utf8Literal L>
constexpr std::string_view operator""_cp() {
    constexpr auto& text = detail::kConverted<L>;
    return {text.bytes.data(), text.bytes.size() - 1};
}
}  // namespace literals

}  // namespace orvo
