// Frame records, the tree they describe and the frame-layout file.
#include "textbox/FrameRecord.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>

#include "base/Cp1252.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"

namespace orvo {
namespace {

std::int32_t I32At(std::string_view bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return std::int32_t(v);
}

void AppendI32(std::string& out, std::int32_t value) {
    const auto v = std::uint32_t(value);
    for (int i = 0; i < 4; ++i) out.push_back(char((v >> (8 * i)) & 0xFF));
}

bool SizesInRange(const FrameRecord& r) {
    const auto kind = std::uint8_t(r.SizeKind());
    return kind <= 2 && r.Percent() >= 0 && r.Percent() <= 100 && r.Pixels() >= 0 &&
           r.Pixels() <= kMaxFramePixels;
}

void WriteNode(const FrameNode& node, std::string& out) {
    FrameRecord record = node.record;
    record.SetHasChildren(!node.children.empty());
    out.append(record.Bytes());
    for (const FrameNode& child : node.children) WriteNode(child, out);
}

std::string JsonString(std::string_view cp1252) {
    std::string out = "\"";
    for (unsigned char c : Cp1252ToUtf8(cp1252)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

}  // namespace

FrameRecord::FrameRecord() {
    bytes_.fill(0xFF);
    SetParent(-1);
    SetName("");
    SetPlacement(0);
    View().SetU8(kFrameOldBorderA, 0);
    View().SetU8(kFrameOldBorderB, 0);
    SetScrollBars(true);
    SetHasChildren(false);
    SetResizable(true);
    SetPage(-1);
    SetPercent(100);
    View().SetI32(kFrameColour, kFrameButtonFace);
    SetBorder(1);
    SetPixels(20);
    View().SetU8(kFrameBorderWidth, 3);
    SetSizeKind(FrameSizeKind::Percent);
}

FrameRecord FrameRecord::Read(std::string_view bytes) {
    FrameRecord record;
    record.bytes_.fill(0xFF);
    const std::size_t n = std::min(bytes.size(), kFrameRecordSize);
    std::memcpy(record.bytes_.data(), bytes.data(), n);
    // A name's length byte never reaches past its field.
    if (record.bytes_[kFrameName.offset] > kFrameName.width - 1)
        record.bytes_[kFrameName.offset] = std::uint8_t(kFrameName.width - 1);
    if (n < kFrameRecordSize) {
        RecordView v = record.View();
        v.SetU8(kFrameSizeKind, 0);
        v.SetI32(kFramePixels, 20);
        v.SetU8(kFrameBorder, 1);
        v.SetU8(kFrameBorderWidth, 3);
        v.SetI32(kFrameColour, kFrameButtonFace);
        if (n <= kFramePercent.offset) v.SetI32(kFramePercent, 100);
        if (v.U8(kFrameOldBorderA) == 0 && v.U8(kFrameOldBorderB) == 0) {
            v.SetU8(kFrameBorder, 0);
            v.SetU8(kFrameBorderWidth, 0);
        }
        v.SetU8(kFrameOldBorderA, 0);
        v.SetU8(kFrameOldBorderB, 0);
    }
    return record;
}

Result<FrameNode> ReadFrameRecords(std::string_view data, std::int32_t recordSize) {
    const auto refuse = [] { return Fail(std::string(kFrameFormatError)); };
    if (recordSize < kMinFrameRecordSize || recordSize > kMaxFrameRecordSize) return refuse();
    const auto size = std::size_t(recordSize);
    if (data.empty() || data.size() % size != 0) return refuse();
    const std::size_t count = data.size() / size;
    if (count > kMaxFrames) return refuse();

    std::vector<FrameRecord> records;
    records.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        records.push_back(FrameRecord::Read(data.substr(i * size, size)));

    // Depth-first order: a frame's parent is the nearest open ancestor on the path from the
    // top; a parent id that is not on that path (unknown, later, or a closed branch) means
    // the records do not describe one tree.
    if (records[0].Parent() != -1 || !SizesInRange(records[0])) return refuse();
    std::set<std::int32_t> ids{records[0].Id()};
    std::vector<std::size_t> path{0};
    std::vector<std::vector<std::size_t>> children(count);
    for (std::size_t i = 1; i < count; ++i) {
        const FrameRecord& r = records[i];
        if (!SizesInRange(r) || !ids.insert(r.Id()).second) return refuse();
        while (!path.empty() && records[path.back()].Id() != r.Parent()) path.pop_back();
        if (path.empty()) return refuse();
        children[path.back()].push_back(i);
        path.push_back(i);
        if (path.size() > std::size_t(kMaxFrameDepth)) return refuse();
    }

    // Built bottom-up: records come parent first, so every child index is larger.
    std::vector<FrameNode> nodes(count);
    for (std::size_t i = count; i-- > 0;) {
        nodes[i].record = records[i];
        for (std::size_t c : children[i]) nodes[i].children.push_back(std::move(nodes[c]));
    }
    return std::move(nodes[0]);
}

Result<FrameNode> ReadFrameLayout(std::string_view file) {
    if (file.size() < 8 || I32At(file, 0) != kFrameLayoutMagic)
        return Fail(std::string(kFrameFormatError));
    return ReadFrameRecords(file.substr(8), I32At(file, 4));
}

std::string WriteFrameRecords(const FrameNode& top) {
    std::string out;
    WriteNode(top, out);
    return out;
}

std::string WriteFrameLayout(const FrameNode& top) {
    std::string out;
    AppendI32(out, kFrameLayoutMagic);
    AppendI32(out, std::int32_t(kFrameRecordSize));
    out += WriteFrameRecords(top);
    return out;
}

Result<TNonVisCornice> TNonVisCornice::FromMap(const TKYToggetto& map) {
    const auto& stream = map.Auxiliary();
    if (!stream || stream->empty()) return Fail(std::string(kMapProblem));
    std::int32_t recordSize = map.ReadView().I32(kFrameMapRecordSize);
    if (recordSize == -1) recordSize = std::int32_t(kFrameRecordSize);  // never noted
    auto tree = ReadFrameRecords(*stream, recordSize);
    if (!tree) return tree.failure();
    return TNonVisCornice(std::move(*tree));
}

Result<TNonVisCornice> TNonVisCornice::FromPage(const TKYTset& set, std::int32_t page) {
    TKYToggetto* pageObject = set.ObjectByKind(TOggettiHel::testoHtml, page);
    if (!pageObject || pageObject->IsFree()) return Fail(std::string(kMapProblem));
    const std::int32_t mapId = PageRecord::Read(*pageObject).FrameMap();
    TKYToggetto* map = mapId >= 0 ? set.ObjectByKind(TOggettiHel::mappaFrame, mapId) : nullptr;
    if (!map || map->IsFree()) return Fail(std::string(kMapProblem));
    return FromMap(*map);
}

std::string FrameTreeJson(const FrameNode& node, int indent) {
    const std::string pad(std::size_t(indent + 2), ' ');
    const FrameRecord& r = node.record;
    std::string out = "{\n";
    out += pad + "\"name\": " + JsonString(r.Name()) + ",\n";
    out += pad + "\"id\": " + std::to_string(r.Id()) + ",\n";
    out += pad + "\"placement\": " + std::to_string(r.Placement()) + ",\n";
    if (!node.children.empty())
        out += pad + "\"split\": \"" +
               std::string(r.SplitsInRows()      ? "rows"
                           : r.SplitsInColumns() ? "columns"
                                                 : "none") +
               "\",\n";
    out += pad + "\"page\": " + std::to_string(r.Page()) + ",\n";
    static constexpr const char* kKinds[] = {"percent", "pixels", "rest"};
    const auto kind = std::uint8_t(r.SizeKind());
    out += pad + "\"sizeKind\": \"" + (kind <= 2 ? kKinds[kind] : "unknown") + "\",\n";
    out += pad + "\"percent\": " + std::to_string(r.Percent()) + ",\n";
    out += pad + "\"pixels\": " + std::to_string(r.Pixels()) + ",\n";
    out += pad + "\"border\": " + std::to_string(r.Border()) + ",\n";
    out += pad + "\"borderWidth\": " + std::to_string(r.BorderWidth()) + ",\n";
    out += pad + "\"scrolling\": " + (r.ScrollBars() ? "true" : "false") + ",\n";
    out += pad + "\"resizable\": " + (r.Resizable() ? "true" : "false");
    if (!node.children.empty()) {
        out += ",\n" + pad + "\"children\": [";
        for (std::size_t i = 0; i < node.children.size(); ++i) {
            out += (i ? ", " : "") + FrameTreeJson(node.children[i], indent + 2);
        }
        out += "]";
    }
    out += "\n" + std::string(std::size_t(indent), ' ') + "}";
    return out;
}

}  // namespace orvo
