// TKYTpicture: a decoded picture shown from a file, as the picture cache and image objects
// hold it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "picture/Picture.h"

namespace orvo {

/// A picture loaded from a file. It keeps the file's bytes as well as the decoded picture, so
/// it goes on showing (and can be written again) after the file is deleted.
class TKYTpicture {
public:
    TKYTpicture() = default;
    explicit TKYTpicture(const DecodeLimits& limits) : limits_(limits) {}

    /// The file shown (Windows-1252).
    const std::string& ImageNameL() const { return imageName_; }
    /// Shows another file: a different name empties the picture and loads that file (a load
    /// error leaves the picture empty); an empty name empties it; the same name does nothing.
    void SetImageNameL(std::string_view cp1252Name);
    /// Loads the file again, or the bytes given, under the current name; on failure the
    /// picture is empty and the reason is returned.
    Status Reload();
    Status LoadBytes(std::string bytes);
    void Clear();

    bool HasGraphic() const { return graphic_.has_value(); }
    /// The decoded picture; only while HasGraphic().
    const Picture& Graphic() const { return *graphic_; }
    /// The bytes the picture was decoded from.
    const std::string& Bytes() const { return bytes_; }
    int Width() const { return graphic_ ? graphic_->width : 0; }
    int Height() const { return graphic_ ? graphic_->height : 0; }
    bool IsGif() const { return graphic_ && graphic_->IsGif(); }

    /// True without a graphic, false for a metafile, true for any other format but GIF; for a
    /// GIF the opposite of its first frame's transparency flag.
    bool IsOpaque() const;
    /// For a GIF with a file name: every frame's transparency turned on or off (a frame at
    /// least 2 pixels high taking its lower-left pixel's colour as transparent when turning
    /// on); the GIF is written to its file and loaded again. Other pictures are refused.
    Status SetTransparent(bool on);

private:
    DecodeLimits limits_;
    std::string imageName_;
    std::string bytes_;
    std::optional<Picture> graphic_;
};

}  // namespace orvo
