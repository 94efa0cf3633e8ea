// Stored codes of a pasted fragment turned into objects its stream carries.
#include "textbox/StoredFragment.h"

#include <map>
#include <memory>

#include "base/ByteStream.h"
#include "base/Format.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "textbox/SelectionStream.h"

namespace orvo {

namespace {

using K = TOggettiHel;

constexpr std::uint32_t kWorkingLink = 0x6F000000u;
constexpr std::uint32_t kWorkingObject = 0xFF000000u;

bool Embedded(K kind) {
    switch (kind) {
        case K::tabellaHtml:
        case K::shortObj:
        case K::dbloc:
        case K::immagineNew:
        case K::inputStat:
        case K::inputDin:
        case K::bottoneCGI:
        case K::inizioForm:
        case K::multiMedia:
            return true;
        default:
            return false;
    }
}

bool Linked(K kind) {
    return kind == K::internetLink || kind == K::speclink;
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The code of a complete "<$xxxxxxxx>" at pos.
bool CodeAt(std::string_view text, std::size_t pos, std::uint32_t& code) {
    if (pos + 11 > text.size() || text[pos + 10] != '>') return false;
    for (std::size_t k = 2; k < 10; ++k)
        if (!IsHexDigit(text[pos + k])) return false;
    return ParseHex(text.substr(pos + 2, 8), 8, code) == 8;
}

bool WriteI32(ByteStream& out, std::int32_t value) {
    const std::uint32_t v = std::uint32_t(value);
    const std::uint8_t b[4] = {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16),
                               std::uint8_t(v >> 24)};
    return out.Write(b, 4);
}

bool WriteEntries(ByteStream& out, const std::vector<SelectionStream::Entry>& entries,
                  bool withId) {
    if (!WriteI32(out, std::int32_t(entries.size()))) return false;
    for (const auto& e : entries)
        if (!WriteI32(out, e.kind) || (withId && !WriteI32(out, e.oldId)) ||
            !e.object->WriteToStream(out))
            return false;
    return true;
}

}  // namespace

RegisteredObjects::RegisteredObjects(const TKYTset& set) : inUse_(kKindCount) {
    for (int kind = 0; kind < kKindCount; ++kind) {
        if (!Embedded(KindOf(kind)) && !Linked(KindOf(kind))) continue;
        const auto& list = set.KindList(KindOf(kind));
        inUse_[std::size_t(kind)].resize(list.size());
        for (std::size_t i = 0; i < list.size(); ++i)
            inUse_[std::size_t(kind)][i] = list[i] && !list[i]->IsFree();
    }
}

bool RegisteredObjects::WasInUse(std::int32_t code) const {
    const std::size_t kind = std::uint32_t(code) >> 24;
    const std::size_t id = std::uint32_t(code) & 0xFFFFFFu;
    return kind < inUse_.size() && id < inUse_[kind].size() && inUse_[kind][id];
}

Result<std::string> CarryStoredObjects(std::string_view bytes, TKYTset& set,
                                       const RegisteredObjects& before) {
    Result<SelectionStream> parsed = ParseSelectionStream(bytes, set);
    if (!parsed) return parsed.failure();
    SelectionStream& stream = *parsed;
    // New entries are numbered after those the stream already has.
    std::int32_t nextLink = 0, nextObject = 0;
    for (const auto& e : stream.links)
        nextLink = std::max(nextLink, std::int32_t(std::uint32_t(e.oldId) & 0xFFFFFFu) + 1);
    for (const auto& e : stream.objects) nextObject = std::max(nextObject, e.oldId + 1);

    std::map<std::uint32_t, std::uint32_t> carried;  // stored code -> working code
    std::string& text = stream.markup;
    for (std::size_t at = text.find("<$"); at != std::string::npos; at = text.find("<$", at + 2)) {
        std::uint32_t code = 0;
        if (!CodeAt(text, at, code)) continue;
        const int kindIndex = int(code >> 24);
        if (kindIndex >= kKindCount) continue;
        const K kind = KindOf(kindIndex);
        if (!Embedded(kind) && !Linked(kind)) continue;
        auto found = carried.find(code);
        if (found == carried.end()) {
            TKYToggetto* object = set.ObjectByCode(std::int32_t(code));
            if (!object || object->IsFree() || object->Kind() != kind) continue;
            std::unique_ptr<TKYToggetto> travelling;
            if (!before.WasInUse(std::int32_t(code))) travelling = set.Unregister(*object);
            if (!travelling) {
                travelling = NewObjectOfKind(kind, &set);
                travelling->Assign(*object);
                travelling->SetRegistered(false);
            }
            SelectionStream::Entry entry;
            entry.kind = kindIndex;
            entry.object = std::move(travelling);
            std::uint32_t working;
            if (Linked(kind)) {
                working = kWorkingLink | std::uint32_t(nextLink++);
                entry.oldId = std::int32_t(working);
                stream.links.push_back(std::move(entry));
            } else {
                entry.oldId = nextObject++;
                working = kWorkingObject | std::uint32_t(entry.oldId);
                stream.objects.push_back(std::move(entry));
            }
            found = carried.emplace(code, working).first;
        }
        std::string digits = Hex8(found->second);
        if ((found->second >> 24) == 0xFF) digits.replace(0, 2, "FF");
        text.replace(at + 2, 8, digits);
    }

    MemoryStream out;
    if (!WriteI32(out, stream.contentCode) || !WriteEntries(out, stream.links, true) ||
        !WriteEntries(out, stream.shared, false) || !WriteEntries(out, stream.objects, true) ||
        !WriteI32(out, stream.paragraphCount) || !out.Write(text.data(), text.size()))
        return Fail("the fragment could not be written");
    return out.TakeBytes();
}

}  // namespace orvo
