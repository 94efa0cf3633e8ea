// The 1978-byte header record at the start of a document file, and the layout of the file
// around it. The header's offsets live here only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "base/RecordView.h"

namespace orvo {

inline constexpr std::size_t kHeaderSize = 1978;
/// Each kind-table entry: int32 offset in the record area, int32 record size, int32 count.
inline constexpr std::size_t kKindEntrySize = 12;

inline constexpr FieldSpec kHdrMagic{"magic", 0, 4, Cell::Raw};  // "ZEBU"
inline constexpr FieldSpec kHdrTitle{"title", 4, 80, Cell::PStr};
inline constexpr FieldSpec kHdrInformation{"information", 84, 1258, Cell::Raw};  // NUL-ended
inline constexpr FieldSpec kHdrPageTree{"pageTree", 1342, 4, Cell::I32};
inline constexpr FieldSpec kHdrExportPrefix{"exportPrefix", 1346, 17, Cell::PStr};
inline constexpr FieldSpec kHdrPassword{"password", 1363, 17, Cell::PStr};
inline constexpr FieldSpec kHdrCompany{"company", 1380, 80, Cell::PStr};
inline constexpr FieldSpec kHdrCopyright{"copyright", 1460, 80, Cell::PStr};
inline constexpr FieldSpec kHdrAuthors{"authors", 1540, 80, Cell::PStr};
inline constexpr FieldSpec kHdrHighestKind{"highestKind", 1620, 1, Cell::U8};
inline constexpr FieldSpec kHdrVersion{"formatVersion", 1621, 2, Cell::I16};
inline constexpr FieldSpec kHdrReadOnly{"readOnly", 1623, 1, Cell::U8};
inline constexpr FieldSpec kHdrContentsPage{"contentsPage", 1624, 4, Cell::I32};
inline constexpr FieldSpec kHdrCoverPage{"coverPage", 1628, 4, Cell::I32};
inline constexpr FieldSpec kHdrSaveCounter{"saveCounter", 1632, 4, Cell::I32};
inline constexpr FieldSpec kHdrNavSommario{"navSommario", 1636, 1, Cell::U8};
inline constexpr FieldSpec kHdrNavCerca{"navCerca", 1637, 1, Cell::U8};
inline constexpr FieldSpec kHdrNavGuida{"navGuida", 1638, 1, Cell::U8};
inline constexpr FieldSpec kHdrNavCopertinaHidden{"navCopertinaHidden", 1639, 1, Cell::U8};
inline constexpr FieldSpec kHdrNavReserved{"navReserved", 1640, 1, Cell::U8};
inline constexpr FieldSpec kHdrNoNavigation{"noNavigation", 1641, 1, Cell::U8};
inline constexpr FieldSpec kHdrFixedFont{"fixedFont", 1642, 40, Cell::PStr};
inline constexpr FieldSpec kHdrProportionalFont{"proportionalFont", 1682, 40, Cell::PStr};
inline constexpr FieldSpec kHdrPixelsPerInch{"pixelsPerInch", 1722, 2, Cell::I16};
inline constexpr FieldSpec kHdrHeaderPage{"headerPage", 1724, 4, Cell::I32};
inline constexpr FieldSpec kHdrFooterPage{"footerPage", 1728, 4, Cell::I32};
inline constexpr FieldSpec kHdrPrototypeTree{"prototypeTree", 1732, 4, Cell::I32};
inline constexpr FieldSpec kHdrBackColour{"backgroundColour", 1736, 4, Cell::I32};
inline constexpr FieldSpec kHdrBackPicture{"backgroundPicture", 1740, 4, Cell::I32};
inline constexpr FieldSpec kHdrLanguage{"language", 1744, 2, Cell::U16};
inline constexpr FieldSpec kHdrTextColour{"textColour", 1746, 4, Cell::I32};
inline constexpr FieldSpec kHdrLinkColour{"linkColour", 1750, 4, Cell::I32};
inline constexpr FieldSpec kHdrVisitedColour{"visitedColour", 1754, 4, Cell::I32};
inline constexpr FieldSpec kHdrReserved{"reserved", 1758, 220, Cell::Raw};

inline constexpr std::array kHeaderFields{kHdrMagic,
                                          kHdrTitle,
                                          kHdrInformation,
                                          kHdrPageTree,
                                          kHdrExportPrefix,
                                          kHdrPassword,
                                          kHdrCompany,
                                          kHdrCopyright,
                                          kHdrAuthors,
                                          kHdrHighestKind,
                                          kHdrVersion,
                                          kHdrReadOnly,
                                          kHdrContentsPage,
                                          kHdrCoverPage,
                                          kHdrSaveCounter,
                                          kHdrNavSommario,
                                          kHdrNavCerca,
                                          kHdrNavGuida,
                                          kHdrNavCopertinaHidden,
                                          kHdrNavReserved,
                                          kHdrNoNavigation,
                                          kHdrFixedFont,
                                          kHdrProportionalFont,
                                          kHdrPixelsPerInch,
                                          kHdrHeaderPage,
                                          kHdrFooterPage,
                                          kHdrPrototypeTree,
                                          kHdrBackColour,
                                          kHdrBackPicture,
                                          kHdrLanguage,
                                          kHdrTextColour,
                                          kHdrLinkColour,
                                          kHdrVisitedColour,
                                          kHdrReserved};
static_assert(FieldsAscendAndFit(kHeaderFields, kHeaderSize));
static_assert(kHdrReserved.offset + kHdrReserved.width == kHeaderSize);

/// The save counter `step` saves on (or back, for a negative step). The stored counter is any
/// 32-bit value a file holds, so it wraps round rather than overflow.
constexpr std::int32_t SaveCounterStep(std::int32_t counter, std::int32_t step) {
    return std::int32_t(std::uint32_t(counter) + std::uint32_t(step));
}
static_assert(SaveCounterStep(INT32_MIN, -1) == INT32_MAX);
static_assert(SaveCounterStep(INT32_MAX, 1) == INT32_MIN);

/// The record area of a file whose highest kind is K starts here.
constexpr std::size_t RecordAreaStart(int highestKind) {
    return kHeaderSize + std::size_t(highestKind + 1) * kKindEntrySize + 4;
}
static_assert(RecordAreaStart(25) == 1994 + 12 * 25);

}  // namespace orvo
