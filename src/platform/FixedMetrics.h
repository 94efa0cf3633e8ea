// A text measurer with fixed, documented metrics: the headless measurer of tests and of
// orvo-cli.
#pragma once

#include <set>
#include <string>

#include "platform/ITextMeasurer.h"

namespace orvo {

/// Every byte of a font of size s points advances (s + 1) / 2 pixels, one more when the font
/// is bold (no kerning: a pair measures as the sum of its bytes). The ascent is s and the
/// height s + s / 4 (size 12: 6 px per byte, ascent 12, height 15). A size of 0 or less
/// measures 0 everywhere; a size above 1,000,000 measures as 1,000,000. "Courier New" is of fixed
/// pitch and modern, "Arial" swiss, every other face roman and of variable pitch. The installed
/// faces are "Times New Roman", "Arial", "Courier New" and "Wingdings" unless others are given; a
/// face that is not installed measures as "Times New Roman", which here changes nothing.
class FixedMetrics final : public ITextMeasurer {
public:
    FixedMetrics();
    explicit FixedMetrics(std::set<std::string> installedFaces);

    std::int32_t Extent(const TMyFont& font, std::string_view text) override;
    TextMetrics Metrics(const TMyFont& font) override;
    bool IsInstalled(std::string_view faceName) override;
    FontPitch Pitch(const TMyFont& font) override;
    FontFamily Family(const TMyFont& font) override;
    std::int32_t PairWidth(const TMyFont& font, int previous, unsigned char current) override;
    void RunWidths(const TMyFont& font, int previous, std::string_view text,
                   std::int32_t* widths) override;

    static constexpr std::int32_t kLargestSize = 1000000;
    /// The advance of one byte in `font`.
    static std::int32_t ByteWidth(const TMyFont& font);

private:
    std::set<std::string, std::less<>> installed_;
};

}  // namespace orvo
