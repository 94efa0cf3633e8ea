// The image object's record (kind immagineNew) and its 30 clickable-zone slots, read and written
// in one place for the views, the exporter, the command line and the undo steps.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/ObjectRecord.h"

namespace orvo {

class TKYToggetto;
class TKYTset;
class TKYTtesto;

/// One zone slot: 16 bytes. A link of -1 marks an empty slot.
struct ZoneRecord {
    std::int32_t link = -1;
    std::int32_t reserved = 0;  // always written 0
    std::int16_t left = 0;
    std::int16_t top = 0;
    std::int16_t width = 30;
    std::int16_t height = 30;
    bool Empty() const { return link == -1; }
    bool operator==(const ZoneRecord&) const = default;
};

/// The 480 bytes of a zone table (an image's or a picture's) as slots.
std::array<ZoneRecord, kZoneCount> ReadZoneTable(std::string_view bytes480);
std::string WriteZoneTable(const std::array<ZoneRecord, kZoneCount>& zones);

/// A zone of an image shown at `from` pixels moved and sized for the image shown at `to`, per
/// mille on each axis; a size of 0 on either axis (old or new) leaves it as it is.
ZoneRecord ScaledZone(const ZoneRecord& zone, std::int32_t fromWidth, std::int32_t fromHeight,
                      std::int32_t toWidth, std::int32_t toHeight);

/// The clipboard format of one zone: int32 2, then the zone's 16 bytes.
inline constexpr std::int32_t kZoneClipboardTag = 2;
inline constexpr std::size_t kZoneClipboardSize = 20;
std::string EncodeZoneClipboard(const ZoneRecord& zone);
/// The zone of clipboard data; none when the data is shorter than 20 bytes or does not start
/// with the tag 2 (the data may come from another program).
std::optional<ZoneRecord> DecodeZoneClipboard(std::string_view data);

/// Vertical alignment values of an image in its line.
inline constexpr std::uint8_t kImageAlignBottom = 3;  // "Basso"
inline constexpr std::uint8_t kImageAlignCentre = 4;  // "Centro"
inline constexpr std::uint8_t kImageAlignTop = 5;     // "Alto"

/// Typed access to an image object's record.
class ImageRecord {
public:
    explicit ImageRecord(TKYToggetto& image);
    /// For reading only: the setters must not be called.
    explicit ImageRecord(const TKYToggetto& image);

    std::int32_t Picture() const { return view_.I32(kImagePicture); }
    std::int32_t LowResPicture() const { return view_.I32(kImageLowRes); }
    std::int32_t RolloverPicture() const { return view_.I32(kImageRollover); }
    std::uint8_t Alignment() const { return view_.U8(kImageAlignment); }
    std::uint8_t Border() const { return view_.U8(kImageBorder); }
    std::int16_t NaturalWidth() const { return view_.I16(kImageNaturalWidth); }
    std::int16_t NaturalHeight() const { return view_.I16(kImageNaturalHeight); }
    std::int16_t Width() const { return view_.I16(kImageWidth); }
    std::int16_t Height() const { return view_.I16(kImageHeight); }
    bool Percent() const { return view_.U8(kImagePercent) != 0; }
    std::string AlternativeText() const { return view_.PStr(kImageName); }
    ZoneRecord Zone(int slot) const;
    std::array<ZoneRecord, kZoneCount> Zones() const;
    int ZoneCount() const;

    void SetPicture(std::int32_t id) { view_.SetI32(kImagePicture, id); }
    void SetLowResPicture(std::int32_t id) { view_.SetI32(kImageLowRes, id); }
    void SetRolloverPicture(std::int32_t id) { view_.SetI32(kImageRollover, id); }
    void SetAlignment(std::uint8_t a) { view_.SetU8(kImageAlignment, a); }
    void SetBorder(std::uint8_t b) { view_.SetU8(kImageBorder, b); }
    void SetNaturalSize(std::int16_t w, std::int16_t h);
    void SetSize(std::int16_t w, std::int16_t h);
    void SetPercent(bool on) { view_.SetU8(kImagePercent, on ? 1 : 0); }
    void SetAlternativeText(std::string_view text) {
        view_.SetPStr(kImageName, text.substr(0, 32));
    }
    void SetZone(int slot, const ZoneRecord& zone);
    void SetZones(const std::array<ZoneRecord, kZoneCount>& zones);
    /// Scales the zones that are used from the size stored now to `to` (the size itself is
    /// left to SetSize).
    void ScaleZonesTo(std::int32_t toWidth, std::int32_t toHeight);

private:
    RecordView view_;
};

/// A new image object (not registered) that shows `picture` (a picture object, or none): the
/// picture's identifier, its size as natural and shown size, centred, no border, no percent, no
/// low-resolution or roll-over picture, the picture's zones, and the picture's name as
/// alternative text when the hypertext's automatic alternative text is on. Without a picture:
/// identifier -1 and 100 x 100.
std::unique_ptr<TKYToggetto> NewImageObject(TKYTset& set, const TKYToggetto* picture);

/// The object a zone's link id names: 0x6F000000.. a link local to `text` (when given),
/// 0..0x07FFFFFF an object code of the hypertext, anything else (negative) none.
TKYToggetto* ZoneTarget(const TKYTset& set, const TKYTtesto* text, std::int32_t link);

/// The picture object an image shows (the roll-over picture when `rollover`), or none.
TKYToggetto* ImagePictureObject(const TKYTset& set, const TKYToggetto& image,
                                bool rollover = false);

}  // namespace orvo
