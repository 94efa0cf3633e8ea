// The image record and its zone slots.
#include "objects/ImageRecord.h"

#include <algorithm>

#include <cstring>

#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"

namespace orvo {
namespace {

constexpr std::int32_t kLocalLinkEnd = kLocalLinkBase + 0x1000000;
constexpr std::int32_t kObjectCodeEnd = 0x08000000;

std::int32_t GetI32(const char* p) {
    return std::int32_t(std::uint32_t(std::uint8_t(p[0])) | std::uint32_t(std::uint8_t(p[1])) << 8 |
                        std::uint32_t(std::uint8_t(p[2])) << 16 |
                        std::uint32_t(std::uint8_t(p[3])) << 24);
}
std::int16_t GetI16(const char* p) {
    return std::int16_t(std::uint16_t(std::uint8_t(p[0]) | std::uint8_t(p[1]) << 8));
}
void PutI32(std::string& out, std::int32_t v) {
    for (int i = 0; i < 4; ++i) out += char((std::uint32_t(v) >> (8 * i)) & 0xFF);
}
void PutI16(std::string& out, std::int16_t v) {
    out += char(std::uint16_t(v) & 0xFF);
    out += char(std::uint16_t(v) >> 8);
}

ZoneRecord ZoneAt(const char* p) {
    ZoneRecord z;
    z.link = GetI32(p);
    z.reserved = GetI32(p + 4);
    z.left = GetI16(p + 8);
    z.top = GetI16(p + 10);
    z.width = GetI16(p + 12);
    z.height = GetI16(p + 14);
    return z;
}

std::string ZoneBytes(const ZoneRecord& z) {
    std::string out;
    out.reserve(kZoneRecordSize);
    PutI32(out, z.link);
    PutI32(out, z.reserved);
    PutI16(out, z.left);
    PutI16(out, z.top);
    PutI16(out, z.width);
    PutI16(out, z.height);
    return out;
}

}  // namespace

std::array<ZoneRecord, kZoneCount> ReadZoneTable(std::string_view bytes) {
    std::array<ZoneRecord, kZoneCount> zones{};
    for (int i = 0; i < kZoneCount; ++i) {
        const std::size_t at = std::size_t(i) * kZoneRecordSize;
        if (at + kZoneRecordSize > bytes.size()) break;
        zones[std::size_t(i)] = ZoneAt(bytes.data() + at);
    }
    return zones;
}

std::string WriteZoneTable(const std::array<ZoneRecord, kZoneCount>& zones) {
    std::string out;
    out.reserve(std::size_t(kZoneCount) * kZoneRecordSize);
    for (const ZoneRecord& z : zones) out += ZoneBytes(z);
    return out;
}

std::string EncodeZoneClipboard(const ZoneRecord& zone) {
    std::string out;
    PutI32(out, kZoneClipboardTag);
    ZoneRecord z = zone;
    z.reserved = 0;
    return out + ZoneBytes(z);
}

std::optional<ZoneRecord> DecodeZoneClipboard(std::string_view data) {
    if (data.size() < kZoneClipboardSize || GetI32(data.data()) != kZoneClipboardTag)
        return std::nullopt;
    ZoneRecord z = ZoneAt(data.data() + 4);
    z.reserved = 0;
    return z;
}

ImageRecord::ImageRecord(TKYToggetto& image) : view_(image.View()) {}
ImageRecord::ImageRecord(const TKYToggetto& image) : view_(image.ReadView()) {}

ZoneRecord ImageRecord::Zone(int slot) const {
    if (slot < 0 || slot >= kZoneCount) return {};
    const std::string_view all = view_.Raw(kImageZones);
    return ZoneAt(all.data() + std::size_t(slot) * kZoneRecordSize);
}

std::array<ZoneRecord, kZoneCount> ImageRecord::Zones() const {
    return ReadZoneTable(view_.Raw(kImageZones));
}

int ImageRecord::ZoneCount() const {
    int n = 0;
    for (const ZoneRecord& z : Zones()) n += z.Empty() ? 0 : 1;
    return n;
}

void ImageRecord::SetNaturalSize(std::int16_t w, std::int16_t h) {
    view_.SetI16(kImageNaturalWidth, w);
    view_.SetI16(kImageNaturalHeight, h);
}

void ImageRecord::SetSize(std::int16_t w, std::int16_t h) {
    view_.SetI16(kImageWidth, w);
    view_.SetI16(kImageHeight, h);
}

void ImageRecord::SetZone(int slot, const ZoneRecord& zone) {
    if (slot < 0 || slot >= kZoneCount) return;
    const std::string bytes = ZoneBytes(zone);
    std::memcpy(view_.Bytes().data() + kImageZones.offset + std::size_t(slot) * kZoneRecordSize,
                bytes.data(), bytes.size());
}

void ImageRecord::SetZones(const std::array<ZoneRecord, kZoneCount>& zones) {
    view_.SetRaw(kImageZones, WriteZoneTable(zones));
}

void ImageRecord::ScaleZonesTo(std::int32_t toWidth, std::int32_t toHeight) {
    std::array<ZoneRecord, kZoneCount> zones = Zones();
    for (ZoneRecord& z : zones)
        if (!z.Empty()) z = ScaledZone(z, Width(), Height(), toWidth, toHeight);
    SetZones(zones);
}

ZoneRecord ScaledZone(const ZoneRecord& zone, std::int32_t fromWidth, std::int32_t fromHeight,
                      std::int32_t toWidth, std::int32_t toHeight) {
    if (fromWidth <= 0 || fromHeight <= 0 || toWidth <= 0 || toHeight <= 0) return zone;
    const std::int64_t fx = std::int64_t(toWidth) * 1000 / fromWidth;
    const std::int64_t fy = std::int64_t(toHeight) * 1000 / fromHeight;
    auto coordinate = [](std::int64_t v, std::int64_t f, std::int64_t low) {
        return std::int16_t(std::clamp<std::int64_t>(v * f / 1000, low, INT16_MAX));
    };
    ZoneRecord z = zone;
    z.left = coordinate(zone.left, fx, INT16_MIN);
    z.width = coordinate(zone.width, fx, 0);
    z.top = coordinate(zone.top, fy, INT16_MIN);
    z.height = coordinate(zone.height, fy, 0);
    return z;
}

std::unique_ptr<TKYToggetto> NewImageObject(TKYTset& set, const TKYToggetto* picture) {
    auto image = NewObjectOfKind(TOggettiHel::immagineNew, &set);
    if (picture && picture->Kind() == TOggettiHel::immagine && !picture->IsFree()) {
        image->Assign(*picture);
        ImageRecord record(*image);
        record.SetZones(ReadZoneTable(picture->ReadView().Raw(kPictureZones)));
        record.SetAlternativeText(
            set.AutomaticAlternativeText ? picture->ReadView().PStr(kPictureName) : std::string());
        return image;
    }
    image->Clear();
    image->View().Fill(0xFF);
    ImageRecord record(*image);
    record.SetPicture(-1);
    image->View().SetU8(kRecSubtype, 1);
    record.SetLowResPicture(-1);
    record.SetRolloverPicture(-1);
    record.SetAlignment(kImageAlignCentre);
    record.SetBorder(0);
    record.SetNaturalSize(100, 100);
    record.SetSize(100, 100);
    record.SetPercent(false);
    image->View().SetI32(kImageColour, 0xFF0000);
    record.SetAlternativeText({});
    return image;
}

TKYToggetto* ZoneTarget(const TKYTset& set, const TKYTtesto* text, std::int32_t link) {
    if (link >= kLocalLinkBase && link < kLocalLinkEnd) {
        if (!text) return nullptr;
        const std::size_t index = std::size_t(link - kLocalLinkBase);
        return index < text->links.size() ? text->links[index].get() : nullptr;
    }
    if (link < 0 || link >= kObjectCodeEnd) return nullptr;
    TKYToggetto* target = set.ObjectByCode(link);
    return target && !target->IsFree() ? target : nullptr;
}

TKYToggetto* ImagePictureObject(const TKYTset& set, const TKYToggetto& image, bool rollover) {
    if (image.Kind() != TOggettiHel::immagineNew) return nullptr;
    const ImageRecord record(image);
    const std::int32_t id = rollover ? record.RolloverPicture() : record.Picture();
    if (id < 0) return nullptr;
    TKYToggetto* picture = set.ObjectByKind(TOggettiHel::immagine, id);
    return picture && !picture->IsFree() ? picture : nullptr;
}

}  // namespace orvo
