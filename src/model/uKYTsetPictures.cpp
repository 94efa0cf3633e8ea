// TKYTset's pictures: import from files (bitmaps converted), the first-in-first-out cache of
// decoded pictures, and transparency.
#include <algorithm>
#include <filesystem>

#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Paths.h"
#include "model/uKYTset.h"
#include "picture/BmpReader.h"
#include "picture/GifCodec.h"
#include "picture/JpegCodec.h"
#include "picture/TKYTpicture.h"

namespace orvo {

using namespace orvo::literals;
using K = TOggettiHel;

namespace {

// The quality a bitmap is written with when it cannot become a GIF (the picture window's
// default for "Qualità:").
constexpr int kBitmapJpegQuality = 25;

DecodeLimits LimitsFor(const Environment& environment) {
    DecodeLimits limits;
    limits.pixelsPerInch = environment.PixelsPerInch() > 0 ? environment.PixelsPerInch() : 96;
    return limits;
}

std::int16_t Dimension(int pixels) {
    return std::int16_t(std::clamp(pixels, 0, 32767));
}

// The size of an object's content: in memory or in the document file, else as its record says.
std::int64_t ContentSizeOf(const TKYToggetto& object) {
    if (object.Content().Present()) return object.Content().Size();
    return object.ReadView().I32(kPictureSize);
}

}  // namespace

Result<TKYToggetto*> TKYTset::AddPictureFromFile(const std::string& fileName) {
    const std::filesystem::path source = NativePath(fileName);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(source, ec)) return Fail(fileName + " non esiste");

    const std::string extension = ExtensionOf(fileName);
    const DecodeLimits limits = LimitsFor(environment_);
    std::string loadedName = fileName;  // the file the picture is loaded from
    std::string bytes;
    if (extension == ".gif" || extension == ".jpeg" || extension == ".jpg" || extension == ".wmf" ||
        extension == ".emf") {
        Result<std::string> read = ReadFileBytes(source);
        if (!read) return read.failure();
        bytes = std::move(*read);
    } else if (extension == ".bmp") {
        // A bitmap becomes a GIF (a JPEG when that fails), written to the working folder and
        // read back from there; the object keeps the bytes, so the file can go at once.
        Result<std::string> read = ReadFileBytes(source);
        if (!read) return read.failure();
        Result<Picture> bitmap = DecodeBmp(*read, limits);
        if (!bitmap) return bitmap.failure();
        std::string converted;
        std::string convertedExtension = ".gif";
        if (Result<std::string> gif = BitmapToGif(bitmap->pixels, false)) {
            converted = std::move(*gif);
        } else {
            Result<std::string> jpeg = EncodeJpeg(bitmap->pixels, kBitmapJpegQuality);
            if (!jpeg) return jpeg.failure();
            converted = std::move(*jpeg);
            convertedExtension = ".jpg";
        }
        loadedName = TempFileName(std::string(StemOf(fileName)) + convertedExtension);
        const std::filesystem::path temporary = NativePath(loadedName);
        if (Status written = WriteFileAtomically(temporary, converted, 0600u, fileSystem_);
            !written) {
            return written.failure();
        }
        Result<std::string> back = ReadFileBytes(temporary);
        std::filesystem::remove(temporary, ec);
        if (!back) return back.failure();
        bytes = std::move(*back);
    } else {
        return Fail("Formato di immagine non ammesso: " + fileName);
    }

    TKYTpicture picture(limits);
    if (Status decoded = picture.LoadBytes(bytes); !decoded) return decoded.failure();

    // The hypertext may hold these bytes already: then that picture is the one.
    for (const auto& candidate : lists_[KindIndex(K::immagine)]) {
        if (candidate->IsFree() || ContentSizeOf(*candidate) != std::int64_t(bytes.size())) {
            continue;
        }
        Result<std::string> existing = candidate->ContentBytes();
        if (existing && *existing == bytes) return candidate.get();
    }

    const bool isGif = ExtensionOf(loadedName) == ".gif";
    auto object = NewObjectOfKind(K::immagine, this);
    object->Clear();
    object->TakeIntoUse();
    RecordView record = object->View();
    record.SetU8(kRecSubtype, isGif ? 0 : 1);
    object->SetName(StemOf(fileName));
    record.SetI32(kPictureTransparency,
                  isGif && picture.IsGif() && picture.Graphic().IsTransparentGif() ? -1 : -2);
    record.SetI16(kPictureWidth, Dimension(picture.Width()));
    record.SetI16(kPictureHeight, Dimension(picture.Height()));
    record.SetI32(kPictureSize, std::int32_t(bytes.size()));
    object->SetContent(std::move(bytes));
    object->SetFileName(loadedName);
    TKYToggetto* added = object.get();
    Register(std::move(object));
    modified_ = true;  // the hypertext holds a new picture, to be saved
    return added;
}

Status TKYTset::AddToPictureCache(TKYToggetto& object, std::shared_ptr<TKYTpicture> picture) {
    if (object.Kind() != K::immagine) {
        messages_.Error("What happens? Image cache bug?");
        return Fail("What happens? Image cache bug?");
    }
    DropCachedPicture(object.Identifier());
    const std::size_t capacity = std::size_t(std::max(1, MaxCacheImg));
    while (pictureCache.size() >= capacity) pictureCache.erase(pictureCache.begin());
    pictureCache.emplace_back(object.Identifier(), std::move(picture));
    return Status::Ok();
}

Result<std::shared_ptr<TKYTpicture>> TKYTset::PictureOf(TKYToggetto& object) {
    if (object.Kind() == K::immagineNew) {
        TKYToggetto* shown = ObjectByKind(K::immagine, object.ReadView().I32(kImagePicture));
        if (!shown || shown->IsFree()) return Fail("Immagine mancante");
        return PictureOf(*shown);
    }
    if (object.Kind() != K::immagine) return Fail("Oggetto senza immagine");

    // Only registered pictures have an identifier that names them in the cache.
    const bool cacheable = object.Registered() && object.Owner() == this;
    if (cacheable) {
        for (const auto& [identifier, cached] : pictureCache) {
            if (identifier == object.Identifier()) return cached;
        }
    }

    std::string path = object.ExtractContent();
    if (path.empty() && !object.Content().Present()) path = object.ContentSourceFile();
    if (path.empty()) return Fail("Immagine mancante");
    auto picture = std::make_shared<TKYTpicture>(LimitsFor(environment_));
    picture->SetImageNameL(path);
    if (!picture->HasGraphic()) return Fail("Immagine non valida: " + path);

    RecordView record = object.View();
    record.SetI16(kPictureWidth, Dimension(picture->Width()));
    record.SetI16(kPictureHeight, Dimension(picture->Height()));
    if (cacheable) {
        if (Status added = AddToPictureCache(object, picture); !added) return added.failure();
    }
    return picture;
}

Result<bool> TKYTset::IsOpaque(TKYToggetto& object) {
    Result<std::shared_ptr<TKYTpicture>> picture = PictureOf(object);
    if (!picture) return picture.failure();
    return (*picture)->IsOpaque();
}

Status TKYTset::SetTransparent(TKYToggetto& object, bool on) {
    TKYToggetto* target = &object;
    if (object.Kind() == K::immagineNew) {
        target = ObjectByKind(K::immagine, object.ReadView().I32(kImagePicture));
        if (!target || target->IsFree()) return Fail("Immagine mancante");
    }
    Result<std::shared_ptr<TKYTpicture>> picture = PictureOf(*target);
    if (!picture) return picture.failure();
    TKYTpicture& shown = **picture;
    if (Status changed = shown.SetTransparent(on); !changed) return changed;
    // The object holds the rewritten GIF itself, so it no longer depends on the file.
    target->SetContent(shown.Bytes());
    RecordView record = target->View();
    record.SetI32(kPictureTransparency, shown.IsOpaque() ? -2 : -1);
    record.SetI32(kPictureSize, std::int32_t(shown.Bytes().size()));
    modified_ = true;
    return Status::Ok();
}

}  // namespace orvo
