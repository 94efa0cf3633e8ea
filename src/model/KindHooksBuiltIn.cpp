// The kind behaviour the model gives the records it lays out itself: the special links that
// markers, images and buttons take with them when they are cleared, and the objects that
// tables, multimedia and database objects and floating windows name through their fields.
#include <algorithm>
#include <vector>

#include "model/KindHooks.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"

namespace orvo {

namespace {

using K = TOggettiHel;

constexpr std::uint8_t kWindowScriptSubtype = 13;  // a marker that opens or closes a window
constexpr std::int32_t kBackgroundPictureBase = 0x03000000;

// Reasons of a reference, as the deletion window names them.
constexpr int kReasonTableBackground = 3;
constexpr int kReasonMediaPicture = 7;
constexpr int kReasonFloatingWindow = 8;
constexpr int kReasonButton = 9;
constexpr int kReasonClickableZone = 11;
constexpr int kReasonWindowScript = 12;
constexpr int kReasonMedia = 14;
constexpr int kReasonPrototypeInstance = 15;
constexpr int kReasonDatabase = 16;

bool IsPictureCode(std::int32_t code) {
    return CodeKind(code) == KindIndex(K::immagine);
}

std::int32_t ZoneLink(const RecordView& record, int zone) {
    return record.I32At(kImageZones.offset + std::size_t(zone) * kZoneRecordSize);
}

// Links not to clear with the object being cleared (ClearKeeping).
thread_local const std::vector<std::int32_t>* keptLinks = nullptr;

}  // namespace

std::vector<std::int32_t> LinksNamedBy(const TKYToggetto& object) {
    const RecordView record = object.ReadView();
    switch (object.Kind()) {
        case K::shortObj:
            if (object.Subtype() == kWindowScriptSubtype) return {record.I32(kShortReference)};
            return {};
        case K::immagineNew: {
            std::vector<std::int32_t> links;
            for (int zone = 0; zone < kZoneCount; ++zone) links.push_back(ZoneLink(record, zone));
            return links;
        }
        case K::bottoneCGI:
            return {record.I32(kButtonLink)};
        default:
            return {};
    }
}

void ClearKeeping(TKYToggetto& object, const std::vector<std::int32_t>& kept) {
    const std::vector<std::int32_t>* outer = keptLinks;
    keptLinks = &kept;
    object.Clear();
    keptLinks = outer;
}

namespace {

// Whether an object in use other than `holder` names the link (a copy of the holder that has
// been registered in its place, or a damaged file that shares it).
bool NamedElsewhere(const TKYTset& set, const TKYToggetto& holder, std::int32_t code) {
    for (K kind : {K::shortObj, K::immagineNew, K::bottoneCGI})
        for (const auto& other : set.KindList(kind)) {
            if (!other || other.get() == &holder || !other->Registered() || other->IsFree())
                continue;
            const std::vector<std::int32_t> links = LinksNamedBy(*other);
            if (std::find(links.begin(), links.end(), code) != links.end()) return true;
        }
    return false;
}

// Before a registered marker, image or button is cleared: the special links it names are
// cleared with it, unless something else in use names them too.
void DropSpecialLinks(TKYToggetto& holder) {
    TKYTset* set = holder.Owner();
    if (!set || !holder.Registered()) return;
    for (std::int32_t code : LinksNamedBy(holder)) {
        if (code == -1 || CodeKind(code) != KindIndex(K::speclink)) continue;
        TKYToggetto* link = set->ObjectByCode(code);
        if (!link || link == &holder || !link->Registered() || link->IsFree()) continue;
        if (keptLinks && std::find(keptLinks->begin(), keptLinks->end(), code) != keptLinks->end())
            continue;
        if (!NamedElsewhere(*set, holder, code)) link->Clear();
    }
}

// A table's own background (offset 207) and its cells' list (the auxiliary stream, one
// 32-bit value a cell) name a picture as 0x03000000 + its identifier.
int TableRefers(const TKYToggetto& table, std::int32_t code) {
    if (!IsPictureCode(code)) return 0;
    const std::int32_t wanted = kBackgroundPictureBase + CodeIdentifier(code);
    if (table.ReadView().I32(kTableBackground) == wanted) return kReasonTableBackground;
    if (const auto& cells = table.Auxiliary()) {
        for (std::size_t at = 0; at + 4 <= cells->size(); at += 4) {
            std::uint32_t value = 0;
            for (int b = 3; b >= 0; --b)
                value = (value << 8) | static_cast<unsigned char>((*cells)[at + std::size_t(b)]);
            if (std::int32_t(value) == wanted) return kReasonTableBackground;
        }
    }
    return 0;
}

// Multimedia and database objects: the poster and the element's picture, the media file
// (a file link) and the prototype of a custom component.
int MediaRefers(const TKYToggetto& media, std::int32_t code, int pictureReason, int sourceReason) {
    const RecordView record = media.ReadView();
    const std::int32_t id = CodeIdentifier(code);
    if (IsPictureCode(code))
        return record.I32(kMediaPoster) == id || record.I32(kMediaElementPicture) == id
                   ? pictureReason
                   : 0;
    if (record.I32(kMediaSource) != id) return 0;
    if (CodeKind(code) == KindIndex(K::genLink)) return sourceReason;
    if (CodeKind(code) == KindIndex(K::custom)) return kReasonPrototypeInstance;
    return 0;
}

int MultimediaRefers(const TKYToggetto& media, std::int32_t code) {
    return MediaRefers(media, code, kReasonMediaPicture, kReasonMedia);
}

int DatabaseRefers(const TKYToggetto& database, std::int32_t code) {
    return MediaRefers(database, code, kReasonDatabase, kReasonDatabase);
}

int FormElementRefers(const TKYToggetto& element, std::int32_t code) {
    if (element.Subtype() != kFloatingWindowSubtype) return 0;
    return CodeKind(code) == KindIndex(K::testoHtml) &&
                   element.ReadView().I32(kFloatingPage) == CodeIdentifier(code)
               ? kReasonFloatingWindow
               : 0;
}

// Markers, images and buttons: the links their fields name.
int LinkHolderRefers(const TKYToggetto& holder, std::int32_t code) {
    if (code == -1) return 0;
    const std::vector<std::int32_t> links = LinksNamedBy(holder);
    if (std::find(links.begin(), links.end(), code) == links.end()) return 0;
    switch (holder.Kind()) {
        case K::shortObj:
            return kReasonWindowScript;
        case K::immagineNew:
            return kReasonClickableZone;
        default:
            return kReasonButton;
    }
}

}  // namespace

KindHooks BuiltInKindHooks(TOggettiHel kind) {
    KindHooks hooks;
    switch (kind) {
        case K::shortObj:
        case K::immagineNew:
        case K::bottoneCGI:
            hooks.dropReferences = &DropSpecialLinks;
            hooks.refers = &LinkHolderRefers;
            break;
        case K::tabellaHtml:
            hooks.refers = &TableRefers;
            break;
        case K::multiMedia:
            hooks.refers = &MultimediaRefers;
            break;
        case K::dbloc:
            hooks.refers = &DatabaseRefers;
            break;
        case K::inputStat:
            hooks.refers = &FormElementRefers;
            break;
        default:
            break;
    }
    return hooks;
}

}  // namespace orvo
