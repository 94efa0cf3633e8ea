// The kind behaviour the model gives the records it lays out itself: the special links that
// markers, images and buttons take with them when they are cleared, and the objects that
// tables, multimedia and database objects and floating windows name through their fields.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "base/Paths.h"

#include "model/FormFields.h"
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

// Descriptions of form inputs, buttons, form starts and media: the name or caption, "|", what
// the object is and its name; the object's own HTML code after a rule when it holds some.
std::string WithOwnCode(std::string description, const TKYToggetto& object) {
    const std::string code = object.AuxiliaryCode();
    if (code.size() > 5) description += "\r\n----------\r\n" + code;
    return description;
}

std::optional<std::string> DescribeFormElement(const TKYToggetto& element) {
    const std::string name = element.ReadView().PStr(kInputName);
    std::string what;
    if (element.Kind() == K::inputStat) {
        switch (element.Subtype()) {
            case 1:
                what = "Casella: ";
                break;
            case 2:
                what = "Casella password: ";
                break;
            case 3:
                what = "Casella file: ";
                break;
            case 4:
                what = "Box testo: ";
                break;
            case 5:
                what = "Invisibile: ";
                break;
            case 6:
                what = "Bottone radio: ";
                break;
            case 7:
                what = "Check box: ";
                break;
            case 8:
                what = "Lista: ";
                break;
            case 9:
                what = "Combo box: ";
                break;
            case kFloatingWindowSubtype: {
                const TKYTset* set = element.Owner();
                const TKYToggetto* page =
                    set ? set->ObjectByKind(K::testoHtml, element.ReadView().I32(kFloatingPage))
                        : nullptr;
                const std::string title = page && !page->IsFree() ? page->Name() : std::string();
                return WithOwnCode(title + "|Cornice indipendente: " + title, element);
            }
            default:
                return std::nullopt;
        }
    } else {
        switch (element.Subtype()) {
            case 2:
                what = "Box testo dinamico: ";
                break;
            case 6:
                what = "Lista dinamica: ";
                break;
            case 7:
                what = "Combo box dinamico: ";
                break;
            case 11:
                return WithOwnCode(name + "|Lista viva server side", element);
            case 12:
                return WithOwnCode(name + "|HTML server side", element);
            default:
                return std::nullopt;
        }
    }
    return WithOwnCode(name + "|" + what + name, element);
}

std::optional<std::string> DescribeButton(const TKYToggetto& button) {
    const std::string caption = button.ReadView().PStr(kButtonCaption);
    const std::string what = button.Subtype() == 1   ? "Bottone di immissione"
                             : button.Subtype() == 3 ? "Bottone di cancellazione dati"
                                                     : "Bottone";
    return WithOwnCode(caption + "|" + what + ": " + caption, button);
}

std::optional<std::string> DescribeFormStart(const TKYToggetto& form) {
    const std::string action = form.ReadView().PStr(kFormAction);
    return WithOwnCode("Modulo|Inizio modulo: " + action, form);
}

std::optional<std::string> DescribeMedia(const TKYToggetto& media) {
    const TKYTset* set = media.Owner();
    const std::int32_t source = media.ReadView().I32(kMediaSource);
    const TKYToggetto* file = set && source >= 0 ? set->ObjectByKind(K::genLink, source) : nullptr;
    const std::string name =
        file && !file->IsFree() ? std::string(LastComponent(file->FileName())) : std::string();
    switch (media.Subtype()) {
        case 1:
        case 2:
            return name + "|Suono: " + name;
        case 3:
        case 4:
            return name + "|Video: " + name;
        case 5:
            return "Embed|Java / ActiveX / Embed: \r\n" + media.AuxiliaryCode();
        case 6: {
            const TKYToggetto* prototype =
                set && source >= 0 ? set->ObjectByKind(K::custom, source) : nullptr;
            const std::string title =
                prototype && !prototype->IsFree() ? prototype->Name() : std::string();
            return title + "|Componente: " + title;
        }
        default:
            return std::nullopt;
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
            if (kind == K::bottoneCGI) hooks.describe = &DescribeButton;
            break;
        case K::tabellaHtml:
            hooks.refers = &TableRefers;
            break;
        case K::multiMedia:
            hooks.refers = &MultimediaRefers;
            hooks.describe = &DescribeMedia;
            break;
        case K::dbloc:
            hooks.refers = &DatabaseRefers;
            break;
        case K::inputStat:
            hooks.refers = &FormElementRefers;
            hooks.describe = &DescribeFormElement;
            break;
        case K::inputDin:
            hooks.describe = &DescribeFormElement;
            break;
        case K::inizioForm:
            hooks.describe = &DescribeFormStart;
            break;
        default:
            break;
    }
    return hooks;
}

}  // namespace orvo
