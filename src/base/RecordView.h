// A typed view over a fixed-size byte record: little-endian fields at offsets given by one
// table per record kind.
#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace orvo {

/// How a field is stored. PStr: one length byte, then up to width-1 bytes.
enum class Cell : std::uint8_t { U8, I16, U16, I32, PStr, Raw };

struct FieldSpec {
    std::string_view name;
    std::uint16_t offset;
    std::uint16_t width;
    Cell cell;
};

constexpr std::uint16_t CellWidth(Cell cell) {
    switch (cell) {
        case Cell::U8:
            return 1;
        case Cell::I16:
        case Cell::U16:
            return 2;
        case Cell::I32:
            return 4;
        default:
            return 0;
    }
}

/// True when the fields ascend, do not overlap, fit in `recordSize` and have their cell's width.
template <std::size_t N>
constexpr bool FieldsAscendAndFit(const std::array<FieldSpec, N>& fields, std::size_t recordSize) {
    std::size_t end = 0;
    for (const FieldSpec& f : fields) {
        if (f.offset < end) return false;
        if (CellWidth(f.cell) != 0 && CellWidth(f.cell) != f.width) return false;
        if (f.width == 0) return false;
        end = std::size_t(f.offset) + f.width;
        if (end > recordSize) return false;
    }
    return true;
}

/// Reads and writes the fields of one record in place. A field outside the record is our own
/// mistake (the tables are checked at compile time); it reads 0 and writes nothing.
class RecordView {
public:
    explicit RecordView(std::span<std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Size() const { return bytes_.size(); }
    std::span<std::uint8_t> Bytes() const { return bytes_; }
    void Fill(std::uint8_t byte);

    std::uint8_t U8(const FieldSpec& f) const { return U8At(f.offset); }
    std::int16_t I16(const FieldSpec& f) const { return I16At(f.offset); }
    std::uint16_t U16(const FieldSpec& f) const { return std::uint16_t(I16At(f.offset)); }
    std::int32_t I32(const FieldSpec& f) const { return I32At(f.offset); }
    /// The string of a PStr field, its length clamped to width-1.
    std::string PStr(const FieldSpec& f) const;
    std::string_view Raw(const FieldSpec& f) const;

    void SetU8(const FieldSpec& f, std::uint8_t v) { SetU8At(f.offset, v); }
    void SetI16(const FieldSpec& f, std::int16_t v) { SetI16At(f.offset, v); }
    void SetU16(const FieldSpec& f, std::uint16_t v) { SetI16At(f.offset, std::int16_t(v)); }
    void SetI32(const FieldSpec& f, std::int32_t v) { SetI32At(f.offset, v); }
    /// Writes the length byte and the string cut to width-1; the rest of the field is kept.
    void SetPStr(const FieldSpec& f, std::string_view s);
    void SetRaw(const FieldSpec& f, std::string_view s);

    std::uint8_t U8At(std::size_t offset) const;
    std::int16_t I16At(std::size_t offset) const;
    std::int32_t I32At(std::size_t offset) const;
    void SetU8At(std::size_t offset, std::uint8_t v);
    void SetI16At(std::size_t offset, std::int16_t v);
    void SetI32At(std::size_t offset, std::int32_t v);

private:
    bool Fits(std::size_t offset, std::size_t width) const {
        const bool fits = offset + width <= bytes_.size();
        assert(fits && "record field outside its record");
        return fits;
    }
    std::span<std::uint8_t> bytes_;
};

}  // namespace orvo
