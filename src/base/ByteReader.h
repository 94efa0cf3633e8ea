// Checked reading of untrusted bytes, and little-endian writing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/Result.h"

namespace orvo {

/// Reads little-endian numbers and length-prefixed strings from a span of bytes; every read
/// past the end throws ParseError, so no read ever leaves the buffer.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

    std::size_t Position() const { return pos_; }
    std::size_t Size() const { return bytes_.size(); }
    std::size_t Remaining() const { return bytes_.size() - pos_; }
    bool AtEnd() const { return pos_ >= bytes_.size(); }
    bool Has(std::size_t n) const { return n <= Remaining(); }
    void Seek(std::size_t pos);
    void Skip(std::size_t n);

    std::uint8_t U8();
    std::int16_t I16();
    std::uint16_t U16();
    std::int32_t I32();
    std::uint32_t U32();
    std::string_view Bytes(std::size_t n);
    /// A length byte, then that many bytes; a length over `maxLength` is clamped to it.
    std::string PStr(std::size_t maxLength = 255);
    /// The next byte without consuming it; -1 at the end.
    int Peek() const { return AtEnd() ? -1 : static_cast<unsigned char>(bytes_[pos_]); }

private:
    void Need(std::size_t n) const;
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

/// Appends little-endian numbers and length-prefixed strings to a byte string.
class ByteWriter {
public:
    explicit ByteWriter(std::string& out) : out_(out) {}
    void U8(std::uint8_t v) { out_ += char(v); }
    void I16(std::int16_t v) { U16(std::uint16_t(v)); }
    void U16(std::uint16_t v);
    void I32(std::int32_t v) { U32(std::uint32_t(v)); }
    void U32(std::uint32_t v);
    void Bytes(std::string_view b) { out_ += b; }
    /// A length byte, then the bytes, cut to `maxLength`.
    void PStr(std::string_view s, std::size_t maxLength = 255);

private:
    std::string& out_;
};

}  // namespace orvo
