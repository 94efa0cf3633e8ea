#include "app/AlbumRules.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/WhereUsed.h"
#include "base/Cp1252.h"
#include "base/Paths.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "picture/TKYTpicture.h"
#include "platform/IMessages.h"

namespace orvo {

using K = TOggettiHel;

namespace {

std::optional<std::string> ReadAll(const std::string& path) {
    std::ifstream in(NativePath(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

}  // namespace

int AlbumTabOfCaption(std::string_view caption) {
    if (caption == "Files") return 1;
    if (caption == "Prototipi") return 2;
    if (caption == "Pagine") return 3;
    if (caption == "Collegamenti esterni") return 4;
    if (caption == "Alt") return 5;
    return 0;
}

std::vector<AlbumItem> AlbumItems(const TKYTset& set, TOggettiHel kind) {
    std::vector<AlbumItem> items;
    for (const auto& object : set.KindList(kind)) {
        if (!object || object->IsFree()) continue;
        const std::string name = object->Name();
        if (kind == K::internetLink && SameText1252(std::string_view(name).substr(0, 5), "orvo:"))
            continue;
        items.push_back({name, object->Code()});
    }
    std::stable_sort(items.begin(), items.end(), [](const AlbumItem& a, const AlbumItem& b) {
        return CompareText1252(a.caption, b.caption) < 0;
    });
    return items;
}

std::string RenameAlbumObject(TKYToggetto& object, std::string_view name) {
    object.SetName(name);
    return object.Name();
}

int AlbumSearch(const std::vector<std::string>& captions, std::string_view text) {
    const std::string wanted = Lower1252(text);
    for (std::size_t i = 0; i < captions.size(); ++i)
        if (Lower1252(captions[i]).rfind(wanted, 0) == 0) return int(i);
    return -1;
}

bool UsedByPrototype(const TKYTset& set, std::int32_t code) {
    for (const auto& prototype : set.KindList(K::custom))
        if (!prototype->IsFree() && ReferenceReason(*prototype, code)) return true;
    return false;
}

bool ReplaceFileContent(TKYToggetto& file, const std::string& path) {
    std::optional<std::string> bytes = ReadAll(path);
    if (!bytes) return false;
    file.View().SetI32(kGenLinkSize, std::int32_t(bytes->size()));
    file.SetContent(std::move(*bytes));
    file.SetContentFileName({});
    file.SetFileName(LastComponent(path));
    if (TKYTset* set = file.Owner()) file.SetVersionStamp(set->SaveCounter());
    return true;
}

bool ReplacePictureContent(TKYTset& set, TKYToggetto& picture, const std::string& bytes) {
    if (Result<std::string> old = picture.ContentBytes(); old && *old == bytes) return true;
    TKYTpicture decoded;
    if (!decoded.LoadBytes(bytes) || !decoded.HasGraphic()) return false;
    RecordView r = picture.View();
    const bool gif = decoded.IsGif();
    r.SetU8(kRecSubtype, gif ? 0 : 1);
    r.SetI32(kPictureTransparency, gif && decoded.Graphic().IsTransparentGif() ? -1 : -2);
    r.SetI16(kPictureWidth, std::int16_t(decoded.Width()));
    r.SetI16(kPictureHeight, std::int16_t(decoded.Height()));
    r.SetI32(kPictureSize, std::int32_t(bytes.size()));
    picture.SetContent(bytes);
    picture.SetContentFileName({});
    picture.SetVersionStamp(set.SaveCounter());
    set.DropCachedPicture(picture.Identifier());
    return true;
}

std::optional<OutsideEdit> StartOutsideEdit(TKYTset& set, TKYToggetto& object) {
    if (object.Kind() != K::genLink && object.Kind() != K::immagine) return std::nullopt;
    std::string working = object.ExtractContent();
    if (working.empty()) return std::nullopt;
    OutsideEdit edit{object.Code(), set.TempFileName(object.FileName())};
    if (!object.SaveContentAs(edit.temporary)) return std::nullopt;
    return edit;
}

bool ApplyOutsideEdit(TKYTset& set, const OutsideEdit& edit, IMessages& messages) {
    TKYToggetto* object = set.ObjectByCode(edit.code);
    if (!object || object->IsFree()) return false;
    std::optional<std::string> bytes = ReadAll(edit.temporary);
    bool applied = false;
    if (bytes && object->Kind() == K::genLink) {
        // The working copy is what the document embeds when it is saved.
        std::error_code ec;
        const std::string working = object->ContentFileName();
        applied =
            !working.empty() &&
            std::filesystem::copy_file(NativePath(edit.temporary), NativePath(working),
                                       std::filesystem::copy_options::overwrite_existing, ec) &&
            !ec;
        if (applied) object->View().SetI32(kGenLinkSize, std::int32_t(bytes->size()));
    } else if (bytes && object->Kind() == K::immagine) {
        applied = ReplacePictureContent(set, *object, *bytes);
    }
    if (!applied) {
        // The author's edits stay in the temporary copy.
        messages.Error("Errore nella scrittura file " + edit.temporary);
        return false;
    }
    std::error_code ec;
    std::filesystem::remove(NativePath(edit.temporary), ec);
    set.SetModified(true);
    return true;
}

}  // namespace orvo
