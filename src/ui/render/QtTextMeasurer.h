// Measuring Windows-1252 text with Qt's fonts at a fixed resolution: 96 pixels per inch on
// screen, the printer's resolution when printing.
#pragma once

#include <QFont>
#include <QFontMetricsF>

#include <array>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/ITextMeasurer.h"

namespace orvo {

/// Sizes in points become pixel sizes at the measurer's resolution, rounded as the desktop
/// rounds them (size × ppi / 72 to the nearest pixel). A face that fontconfig cannot give, by
/// its name or by a metric-compatible alias, is measured as "Times New Roman". Widths are
/// cached per font, so measuring a character again costs a table look-up.
class QtTextMeasurer final : public ITextMeasurer {
public:
    explicit QtTextMeasurer(int pixelsPerInch = 96);
    ~QtTextMeasurer() override;

    std::int32_t Extent(const TMyFont& font, std::string_view text) override;
    TextMetrics Metrics(const TMyFont& font) override;
    bool IsInstalled(std::string_view faceName) override;
    FontPitch Pitch(const TMyFont& font) override;
    FontFamily Family(const TMyFont& font) override;
    std::int32_t PairWidth(const TMyFont& font, int previous, unsigned char current) override;

    int PixelsPerInch() const { return pixelsPerInch_; }

    /// The Qt font a TMyFont is drawn with at this resolution (fallback applied).
    QFont ToQFont(const TMyFont& font);
    /// The name of the face really used: the font's own or "Times New Roman".
    std::string EffectiveFace(std::string_view faceName);

private:
    struct Face;
    Face& FaceFor(const TMyFont& font);
    struct FaceInfo {
        bool installed = false;
        FontPitch pitch = FontPitch::Variable;
        FontFamily family = FontFamily::DontCare;
    };
    const FaceInfo& InfoFor(std::string_view faceName);

    int pixelsPerInch_;
    std::unordered_map<std::string, std::unique_ptr<Face>> faces_;
    std::unordered_map<std::string, FaceInfo> info_;
    Face* last_ = nullptr;
    TMyFont lastFont_;
};

}  // namespace orvo
