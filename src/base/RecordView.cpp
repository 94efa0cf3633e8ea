// A typed view over a fixed-size byte record.
#include "base/RecordView.h"

#include <algorithm>

namespace orvo {

void RecordView::Fill(std::uint8_t byte) {
    std::fill(bytes_.begin(), bytes_.end(), byte);
}

std::uint8_t RecordView::U8At(std::size_t offset) const {
    return Fits(offset, 1) ? bytes_[offset] : 0;
}

std::int16_t RecordView::I16At(std::size_t offset) const {
    if (!Fits(offset, 2)) return 0;
    return std::int16_t(bytes_[offset] | (bytes_[offset + 1] << 8));
}

std::int32_t RecordView::I32At(std::size_t offset) const {
    if (!Fits(offset, 4)) return 0;
    return std::int32_t(std::uint32_t(bytes_[offset]) | (std::uint32_t(bytes_[offset + 1]) << 8) |
                        (std::uint32_t(bytes_[offset + 2]) << 16) |
                        (std::uint32_t(bytes_[offset + 3]) << 24));
}

void RecordView::SetU8At(std::size_t offset, std::uint8_t v) {
    if (Fits(offset, 1)) bytes_[offset] = v;
}

void RecordView::SetI16At(std::size_t offset, std::int16_t v) {
    if (!Fits(offset, 2)) return;
    bytes_[offset] = std::uint8_t(v & 0xFF);
    bytes_[offset + 1] = std::uint8_t((std::uint16_t(v) >> 8) & 0xFF);
}

void RecordView::SetI32At(std::size_t offset, std::int32_t v) {
    if (!Fits(offset, 4)) return;
    auto u = std::uint32_t(v);
    for (int i = 0; i < 4; ++i, u >>= 8) bytes_[offset + i] = std::uint8_t(u & 0xFF);
}

std::string RecordView::PStr(const FieldSpec& f) const {
    if (!Fits(f.offset, f.width) || f.width == 0) return {};
    std::size_t length = bytes_[f.offset];
    if (length > std::size_t(f.width) - 1) length = std::size_t(f.width) - 1;
    return std::string(reinterpret_cast<const char*>(bytes_.data()) + f.offset + 1, length);
}

std::string_view RecordView::Raw(const FieldSpec& f) const {
    if (!Fits(f.offset, f.width)) return {};
    return {reinterpret_cast<const char*>(bytes_.data()) + f.offset, f.width};
}

void RecordView::SetPStr(const FieldSpec& f, std::string_view s) {
    if (!Fits(f.offset, f.width) || f.width == 0) return;
    const std::size_t length = std::min<std::size_t>(s.size(), std::size_t(f.width) - 1);
    bytes_[f.offset] = std::uint8_t(length);
    std::copy_n(s.data(), length, bytes_.begin() + f.offset + 1);
}

void RecordView::SetRaw(const FieldSpec& f, std::string_view s) {
    if (!Fits(f.offset, f.width)) return;
    std::copy_n(s.data(), std::min<std::size_t>(s.size(), f.width), bytes_.begin() + f.offset);
}

}  // namespace orvo
