// The bytes of an RTF document's code pages ("\ansicpg", a font's "\fcharset") and its Unicode
// characters ("\u") as Windows-1252, the code page of every text of a hypertext.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace orvo {

/// The Windows code page of a font's "\fcharset" value; 0 when the charset names none (the
/// document's code page then holds).
int CodePageOfCharset(int charset);

/// One code page as a table: each single byte as a Windows-1252 byte (-1: no such character),
/// and for double-byte code pages which bytes lead a pair.
class RtfCodePage {
public:
    /// Windows-1252 itself when `codePage` is 1252, 0 or unknown to the system.
    explicit RtfCodePage(int codePage);
    ~RtfCodePage();
    RtfCodePage(const RtfCodePage&) = delete;
    RtfCodePage& operator=(const RtfCodePage&) = delete;

    int CodePage() const { return codePage_; }
    bool IsIdentity() const { return identity_; }
    bool IsLeadByte(unsigned char byte) const { return lead_[byte]; }
    /// The Windows-1252 byte of a single byte, -1 when it has none.
    int Single(unsigned char byte) const { return single_[byte]; }
    /// The Windows-1252 byte of a double-byte character, -1 when it has none.
    int Pair(unsigned char lead, unsigned char trail) const;

private:
    int codePage_ = 1252;
    bool identity_ = true;
    std::array<std::int16_t, 256> single_{};
    std::array<bool, 256> lead_{};
    void* converter_ = nullptr;  // iconv_t of a double-byte code page
};

/// The code pages met in one document, made once each.
class RtfCodePages {
public:
    const RtfCodePage& Get(int codePage);

private:
    std::map<int, std::unique_ptr<RtfCodePage>> pages_;
};

/// A Unicode character as Windows-1252, -1 when the code page has no such character.
int UnicodeTo1252(char32_t codePoint);

}  // namespace orvo
