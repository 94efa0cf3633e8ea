// The frame record (58 bytes) that describes one frame of a page's frame layout, the reading
// of a list of them into a tree, the frame-layout file (".frm") and TNonVisCornice, the frame
// tree of a stored frame map without any window.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/RecordView.h"
#include "base/Result.h"

namespace orvo {

class TKYToggetto;
class TKYTset;

inline constexpr std::size_t kFrameRecordSize = 58;
/// The first int32 of a frame-layout file.
inline constexpr std::int32_t kFrameLayoutMagic = 4660;
/// Records of older documents are shorter; anything shorter than this cannot hold the page a
/// frame shows, anything longer than the maximum is not a frame record.
inline constexpr std::int32_t kMinFrameRecordSize = 38;
inline constexpr std::int32_t kMaxFrameRecordSize = 4096;
/// Limits of a tree we accept from a file or a stored map.
inline constexpr std::size_t kMaxFrames = 1024;
inline constexpr int kMaxFrameDepth = 32;
inline constexpr std::int32_t kMaxFramePixels = 32767;
/// System colour 15 (button face) as a Windows colour value.
inline constexpr std::int32_t kFrameButtonFace = std::int32_t(0x8000000F);

inline constexpr FieldSpec kFrameId{"id", 0, 4, Cell::I32};
inline constexpr FieldSpec kFrameParent{"parent", 4, 4, Cell::I32};
inline constexpr FieldSpec kFrameName{"name", 8, 20, Cell::PStr};  // up to 19 characters
// 0 top, 1 left, 3 the rest below a top frame, 5 the rest right of a left frame; a split
// frame's children are rows with 1, 4, 5 and columns with 0, 2, 3
inline constexpr FieldSpec kFramePlacement{"placement", 28, 1, Cell::U8};
inline constexpr FieldSpec kFrameOldBorderA{"oldBorderA", 29, 1, Cell::U8};
inline constexpr FieldSpec kFrameOldBorderB{"oldBorderB", 30, 1, Cell::U8};
inline constexpr FieldSpec kFrameScroll{"scroll", 31, 1, Cell::U8};  // 1 automatic, 0 none
inline constexpr FieldSpec kFrameHasChildren{"hasChildren", 32, 1, Cell::U8};
inline constexpr FieldSpec kFrameResizable{"resizable", 33, 1, Cell::U8};
inline constexpr FieldSpec kFramePage{"page", 34, 4, Cell::I32};        // -1 none
inline constexpr FieldSpec kFramePercent{"percent", 38, 4, Cell::I32};  // of the parent
inline constexpr FieldSpec kFrameReserved42{"reserved42", 42, 4, Cell::Raw};
inline constexpr FieldSpec kFrameColour{"splitterColour", 46, 4, Cell::I32};
inline constexpr FieldSpec kFrameReserved50{"reserved50", 50, 1, Cell::U8};
inline constexpr FieldSpec kFrameBorder{"border", 51, 1, Cell::U8};  // 0 none, 1 single line
inline constexpr FieldSpec kFramePixels{"pixels", 52, 4, Cell::I32};
inline constexpr FieldSpec kFrameBorderWidth{"borderWidth", 56, 1, Cell::U8};
inline constexpr FieldSpec kFrameSizeKind{"sizeKind", 57, 1, Cell::U8};  // 0 %, 1 px, 2 rest
static_assert(FieldsAscendAndFit(std::array{kFrameId, kFrameParent, kFrameName, kFramePlacement,
                                            kFrameOldBorderA, kFrameOldBorderB, kFrameScroll,
                                            kFrameHasChildren, kFrameResizable, kFramePage,
                                            kFramePercent, kFrameReserved42, kFrameColour,
                                            kFrameReserved50, kFrameBorder, kFramePixels,
                                            kFrameBorderWidth, kFrameSizeKind},
                                 kFrameRecordSize));

/// The mappaFrame record field that notes the size of the frame records of its stream.
inline constexpr FieldSpec kFrameMapRecordSize{"recordSize", 89, 4, Cell::I32};

enum class FrameSizeKind : std::uint8_t { Percent = 0, Pixels = 1, Rest = 2 };

/// One frame record, kept as its bytes so that reserved bytes survive a round trip.
class FrameRecord {
public:
    /// A new frame's record: 0xFF, then the defaults (no parent, page -1, 100 %, 20 pixels,
    /// single border 3 wide, automatic scroll bars, resizable, button-face splitters).
    FrameRecord();
    /// Reads `bytes` (the record size a reader is told); a short record of an older document
    /// gets the defaults of the fields it lacks.
    static FrameRecord Read(std::string_view bytes);
    std::string_view Bytes() const {
        return {reinterpret_cast<const char*>(bytes_.data()), bytes_.size()};
    }

    std::int32_t Id() const { return View().I32(kFrameId); }
    void SetId(std::int32_t id) { View().SetI32(kFrameId, id); }
    std::int32_t Parent() const { return View().I32(kFrameParent); }
    void SetParent(std::int32_t id) { View().SetI32(kFrameParent, id); }
    std::string Name() const { return View().PStr(kFrameName); }
    void SetName(std::string_view name) { View().SetPStr(kFrameName, name); }
    std::uint8_t Placement() const { return View().U8(kFramePlacement); }
    void SetPlacement(std::uint8_t p) { View().SetU8(kFramePlacement, p); }
    bool ScrollBars() const { return View().U8(kFrameScroll) != 0; }
    void SetScrollBars(bool on) { View().SetU8(kFrameScroll, on ? 1 : 0); }
    bool HasChildren() const { return View().U8(kFrameHasChildren) == 1; }
    void SetHasChildren(bool on) { View().SetU8(kFrameHasChildren, on ? 1 : 0); }
    bool Resizable() const { return View().U8(kFrameResizable) == 1; }
    void SetResizable(bool on) { View().SetU8(kFrameResizable, on ? 1 : 0); }
    std::int32_t Page() const { return View().I32(kFramePage); }
    void SetPage(std::int32_t page) { View().SetI32(kFramePage, page); }
    std::int32_t Percent() const { return View().I32(kFramePercent); }
    void SetPercent(std::int32_t percent) { View().SetI32(kFramePercent, percent); }
    std::int32_t SplitterColour() const { return View().I32(kFrameColour); }
    std::uint8_t Border() const { return View().U8(kFrameBorder); }
    void SetBorder(std::uint8_t border) { View().SetU8(kFrameBorder, border); }
    std::int32_t Pixels() const { return View().I32(kFramePixels); }
    void SetPixels(std::int32_t pixels) { View().SetI32(kFramePixels, pixels); }
    std::uint8_t BorderWidth() const { return View().U8(kFrameBorderWidth); }
    FrameSizeKind SizeKind() const { return FrameSizeKind(View().U8(kFrameSizeKind)); }
    void SetSizeKind(FrameSizeKind kind) { View().SetU8(kFrameSizeKind, std::uint8_t(kind)); }
    std::uint8_t OldBorderA() const { return View().U8(kFrameOldBorderA); }
    std::uint8_t OldBorderB() const { return View().U8(kFrameOldBorderB); }

    /// Children stacked from the top (rows) for placements 1, 4, 5; side by side (columns) for
    /// 0, 2, 3; neither above 5.
    bool SplitsInRows() const { return Placement() == 1 || Placement() == 4 || Placement() == 5; }
    bool SplitsInColumns() const { return Placement() <= 3 && !SplitsInRows(); }

private:
    RecordView View() const {
        return RecordView(
            std::span<std::uint8_t>(const_cast<std::uint8_t*>(bytes_.data()), bytes_.size()));
    }
    std::array<std::uint8_t, kFrameRecordSize> bytes_;
};

/// A frame as read from a list of records: its record and its children, in stored order.
struct FrameNode {
    FrameRecord record;
    std::vector<FrameNode> children;
};

/// The message of a frame-layout file or a stored map that cannot be read.
inline constexpr std::string_view kFrameFormatError = "Formato file errato!";

/// Reads `data`, records of `recordSize` bytes written depth-first, into a tree. Everything is
/// checked before anything is returned: the record size, a whole number of records, one top
/// frame first (parent -1), ids unique, every other frame's parent read before it (so no
/// cycle), depth and count bounded, sizes within range. A failure carries kFrameFormatError.
Result<FrameNode> ReadFrameRecords(std::string_view data, std::int32_t recordSize);
/// A frame-layout file: int32 4660, int32 record size, then the records.
Result<FrameNode> ReadFrameLayout(std::string_view file);
/// The records of a tree, depth-first, each parent before its children, 58 bytes each; ids
/// and parent ids as the nodes hold them, "has children" from the tree.
std::string WriteFrameRecords(const FrameNode& top);
/// The frame-layout file of a tree.
std::string WriteFrameLayout(const FrameNode& top);

/// The frame tree of a page's frame map (a mappaFrame object), without windows: what the HTML
/// export writes its frame sets from.
class TNonVisCornice {
public:
    /// Reads the map's stream; fails (kFrameFormatError, or "Map problem." for a map without
    /// data) without a tree.
    static Result<TNonVisCornice> FromMap(const TKYToggetto& map);
    /// The map of a page, when the page hosts one.
    static Result<TNonVisCornice> FromPage(const TKYTset& set, std::int32_t page);
    const FrameNode& Top() const { return top_; }

private:
    explicit TNonVisCornice(FrameNode top) : top_(std::move(top)) {}
    FrameNode top_;
};

/// The message of a page whose frame map holds no data.
inline constexpr std::string_view kMapProblem = "Map problem.";

/// A tree as JSON (name, id, placement, direction, page, sizes, children), for orvo-cli.
std::string FrameTreeJson(const FrameNode& top, int indent = 0);

}  // namespace orvo
