#include "app/PictureWindowRules.h"

#include <algorithm>
#include <filesystem>

#include "base/ByteStream.h"
#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Paths.h"
#include "model/uKYTset.h"
#include "objects/ImageRecord.h"
#include "picture/BmpReader.h"
#include "picture/GifCodec.h"
#include "picture/JpegCodec.h"
#include "picture/TKYTpicture.h"
#include "textbox/uKYTattr.h"

using namespace orvo::literals;

namespace orvo {

using K = TOggettiHel;

PictureTabs TabsForMode(PictureWindowMode mode, bool hasPictures) {
    PictureTabs tabs;
    switch (mode) {
        case PictureWindowMode::AlbumOnly:
            tabs.album = true;
            tabs.active = PictureTab::Album;
            break;
        case PictureWindowMode::DiskOrOther:
            tabs.disk = tabs.other = true;
            tabs.active = PictureTab::Disk;
            break;
        case PictureWindowMode::DroppedFile:
            tabs.disk = true;
            tabs.active = PictureTab::Disk;
            break;
        case PictureWindowMode::Single:
        case PictureWindowMode::Several:
            tabs.album = tabs.disk = tabs.other = true;
            tabs.active = hasPictures ? PictureTab::Album : PictureTab::Disk;
            break;
    }
    return tabs;
}

int FindNameByPrefix(const std::vector<std::string>& names, std::string_view prefix, int start) {
    if (prefix.empty() || names.empty()) return -1;
    const int count = int(names.size());
    if (start < 0 || start >= count) start = 0;
    for (int step = 0; step < count; ++step) {
        const int at = (start + step) % count;
        const std::string& name = names[std::size_t(at)];
        if (name.size() >= prefix.size() &&
            SameText1252(std::string_view(name).substr(0, prefix.size()), prefix)) {
            return at;
        }
    }
    return -1;
}

std::string ClipartFolder(std::string_view programFolder, bool besideExists) {
    std::string folder(programFolder);
    if (!folder.empty() && folder.back() != '/') folder += '/';
    if (besideExists) return folder + "Clipart";
    // Cut after the fourth separator counted from the end.
    int seen = 0;
    for (std::size_t i = folder.size(); i-- > 0;) {
        if (folder[i] == '/' && ++seen == 4) {
            folder.resize(i + 1);
            break;
        }
    }
    return folder + "Clipart";
}

TKYToggetto* ChosenPicture::Register(TKYTset& set) {
    if (!fresh_) return existing_;
    fresh_->SetIdentifier(-1);
    TKYToggetto* object = fresh_.get();
    set.Register(std::move(fresh_));
    // The file field must not clash with another picture's.
    object->SetFileName(object->FileName());
    set.SetModified(true);
    existing_ = object;
    return object;
}

bool UsedUnchanged(std::string_view file) {
    const std::string extension = ExtensionOf(file);
    return extension == ".gif" || extension == ".jpg" || extension == ".jpeg" ||
           extension == ".wmf";
}

namespace {

DecodeLimits Limits(const TKYTset& set) {
    DecodeLimits limits;
    const double ppi = set.Env().PixelsPerInch();
    limits.pixelsPerInch = ppi > 0 ? ppi : 96;
    return limits;
}

std::int16_t Dimension(int pixels) {
    return std::int16_t(std::clamp(pixels, 0, 32767));
}

// The picture of `set` whose content is `bytes`.
TKYToggetto* PictureWithBytes(const TKYTset& set, const std::string& bytes) {
    for (const auto& candidate : set.KindList(K::immagine)) {
        if (candidate->IsFree()) continue;
        Result<std::string> held = candidate->ContentBytes();
        if (held && *held == bytes) return candidate.get();
    }
    return nullptr;
}

// `pixels` written as GIF or JPEG to the hypertext's temporary name of `stem` with ".gif" or
// ".jpg".
Result<ConvertedPicture> WriteConverted(TKYTset& set, const Bitmap& pixels, const std::string& stem,
                                        ConversionFormat format, int quality, bool transparent,
                                        std::int64_t sourceSize) {
    Result<std::string> converted = format == ConversionFormat::Gif
                                        ? BitmapToGif(pixels, transparent)
                                        : EncodeJpeg(pixels, std::clamp(quality, 0, 100));
    if (!converted) return converted.failure();
    ConvertedPicture out;
    out.file = set.TempFileName(stem + (format == ConversionFormat::Gif ? ".gif" : ".jpg"));
    out.sourceSize = sourceSize;
    out.convertedSize = std::int64_t(converted->size());
    if (Status written =
            WriteFileAtomically(NativePath(out.file), *converted, 0600u, set.FileSystem());
        !written) {
        return written.failure();
    }
    return out;
}

}  // namespace

Result<ConvertedPicture> ConvertPictureFile(TKYTset& set, const std::string& file,
                                            ConversionFormat format, int quality,
                                            bool transparent) {
    Result<std::string> source = ReadFileBytes(NativePath(file));
    if (!source) return source.failure();
    TKYTpicture decoded(Limits(set));
    if (Status loaded = decoded.LoadBytes(*source); !loaded) return loaded.failure();
    return WriteConverted(set, decoded.Graphic().pixels, std::string(StemOf(LastComponent(file))),
                          format, quality, transparent, std::int64_t(source->size()));
}

Result<ConvertedPicture> ConvertClipboardBitmap(TKYTset& set, const Bitmap& pixels,
                                                ConversionFormat format, int quality,
                                                bool transparent, std::int64_t metafileSize) {
    if (pixels.Empty()) return Fail("Nessuna immagine negli appunti");
    const std::int64_t sourceSize =
        metafileSize > 0 ? metafileSize : std::int64_t(pixels.width) * pixels.height * 2;
    return WriteConverted(set, pixels, std::string(StemOf(kClipBitmapFile)), format, quality,
                          transparent, sourceSize);
}

Result<ConvertedPicture> SaveClipboardMetafile(TKYTset& set, const std::string& bytes,
                                               bool enhanced) {
    ConvertedPicture out;
    out.file = set.TempFileName(std::string(kClipMetafileStem) + (enhanced ? ".emf" : ".wmf"));
    out.sourceSize = out.convertedSize = std::int64_t(bytes.size());
    if (Status written = WriteFileAtomically(NativePath(out.file), bytes, 0600u, set.FileSystem());
        !written)
        return written.failure();
    return out;
}

Result<ChosenPicture> PictureFromFile(TKYTset& set, const std::string& file,
                                      std::string_view name) {
    Result<std::string> bytes = ReadFileBytes(NativePath(file));
    if (!bytes) return bytes.failure();
    TKYTpicture decoded(Limits(set));
    if (Status loaded = decoded.LoadBytes(*bytes); !loaded) return loaded.failure();
    if (TKYToggetto* held = PictureWithBytes(set, *bytes)) return ChosenPicture(held);

    auto object = NewObjectOfKind(K::immagine, &set);
    object->Clear();
    object->TakeIntoUse();
    RecordView record = object->View();
    const bool gif = decoded.IsGif();
    record.SetU8(kRecSubtype, gif ? 0 : 1);
    object->SetName(name.substr(0, 71));
    // -1 marks a transparent GIF; every other picture is opaque.
    record.SetI32(kPictureTransparency, gif && decoded.Graphic().IsTransparentGif() ? -1 : -2);
    record.SetI16(kPictureWidth, Dimension(decoded.Width()));
    record.SetI16(kPictureHeight, Dimension(decoded.Height()));
    record.SetI32(kPictureSize, std::int32_t(bytes->size()));
    // The bytes are held in memory: a converted file is deleted when the window closes.
    object->SetContent(std::move(*bytes));
    object->SetFileName(std::string(name) + ExtensionOf(file));
    return ChosenPicture(std::move(object));
}

Result<ChosenPicture> CopyPictureFromOther(TKYTset& set, const TKYToggetto& picture) {
    if (picture.Kind() != K::immagine || picture.IsFree())
        return Fail(std::string("Non è un'immagine"_cp));
    MemoryStream stream;
    if (Status written = picture.WriteToStream(stream); !written) return written.failure();
    if (!stream.Seek(0)) return Fail("stream");
    auto copy = NewObjectOfKind(K::immagine, &set);
    if (Status read = copy->ReadFromStream(stream); !read) return read.failure();
    if (copy->Kind() != K::immagine || !copy->Content().Present()) return Fail("Immagine mancante");
    copy->SetIdentifier(-1);
    copy->SetOwner(&set);
    if (TKYToggetto* held = copy->FindEqual()) return ChosenPicture(held);
    return ChosenPicture(std::move(copy));
}

std::unique_ptr<TKYToggetto> AddImmagineNew(TKYTset& set, ChosenPicture& picture) {
    TKYToggetto* shown = picture.Get();
    if (!shown || shown->Owner() != &set) {
        set.Messages().Error(std::string(kForeignPicture));
        return nullptr;
    }
    shown = picture.Register(set);
    auto image = NewImageObject(set, shown);
    ImageRecord record(*image);
    record.SetAlignment(kImageAlignCentre);
    record.SetBorder(0);
    record.SetPercent(false);
    record.SetLowResPicture(-1);
    record.SetRolloverPicture(-1);
    const RecordView p = shown->ReadView();
    record.SetNaturalSize(p.I16(kPictureWidth), p.I16(kPictureHeight));
    record.SetSize(p.I16(kPictureWidth), p.I16(kPictureHeight));
    return image;
}

int InsertPictures(TKYTset& set, TKYTTextAttributes& text, std::vector<ChosenPicture>& pictures) {
    int inserted = 0;
    for (ChosenPicture& picture : pictures) {
        std::unique_ptr<TKYToggetto> image = AddImmagineNew(set, picture);
        if (image && text.InsertObject(std::move(image), false)) ++inserted;
    }
    return inserted;
}

}  // namespace orvo
