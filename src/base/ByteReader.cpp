// Checked reading of untrusted bytes, and little-endian writing.
#include "base/ByteReader.h"

namespace orvo {

void ByteReader::Need(std::size_t n) const {
    if (n > Remaining()) throw ParseError("unexpected end of data");
}

void ByteReader::Seek(std::size_t pos) {
    if (pos > bytes_.size()) throw ParseError("position outside the data");
    pos_ = pos;
}

void ByteReader::Skip(std::size_t n) {
    Need(n);
    pos_ += n;
}

std::uint8_t ByteReader::U8() {
    Need(1);
    return static_cast<std::uint8_t>(bytes_[pos_++]);
}

std::uint16_t ByteReader::U16() {
    Need(2);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes_.data() + pos_);
    pos_ += 2;
    return std::uint16_t(p[0] | (p[1] << 8));
}

std::int16_t ByteReader::I16() {
    return std::int16_t(U16());
}

std::uint32_t ByteReader::U32() {
    Need(4);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes_.data() + pos_);
    pos_ += 4;
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

std::int32_t ByteReader::I32() {
    return std::int32_t(U32());
}

std::string_view ByteReader::Bytes(std::size_t n) {
    Need(n);
    const std::string_view out = bytes_.substr(pos_, n);
    pos_ += n;
    return out;
}

std::string ByteReader::PStr(std::size_t maxLength) {
    std::size_t length = U8();
    if (length > maxLength) length = maxLength;
    return std::string(Bytes(length));
}

void ByteWriter::U16(std::uint16_t v) {
    out_ += char(v & 0xFF);
    out_ += char(v >> 8);
}

void ByteWriter::U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i, v >>= 8) out_ += char(v & 0xFF);
}

void ByteWriter::PStr(std::string_view s, std::size_t maxLength) {
    if (maxLength > 255) maxLength = 255;
    if (s.size() > maxLength) s = s.substr(0, maxLength);
    U8(std::uint8_t(s.size()));
    out_ += s;
}

}  // namespace orvo
