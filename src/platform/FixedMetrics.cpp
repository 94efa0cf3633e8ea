// The fixed metrics of the headless measurer.
#include "platform/FixedMetrics.h"

#include <algorithm>

namespace orvo {

FixedMetrics::FixedMetrics()
    : FixedMetrics({"Times New Roman", "Arial", "Courier New", "Wingdings"}) {}

FixedMetrics::FixedMetrics(std::set<std::string> installedFaces)
    : installed_(installedFaces.begin(), installedFaces.end()) {}

std::int32_t FixedMetrics::ByteWidth(const TMyFont& font) {
    if (font.size <= 0) return 0;
    // Held at the size Metrics holds, so that a line's widths add up within the int range.
    const std::int32_t size = font.size > kLargestSize ? kLargestSize : font.size;
    return (size + 1) / 2 + ((font.styleBits & kFontBold) ? 1 : 0);
}

std::int32_t FixedMetrics::Extent(const TMyFont& font, std::string_view text) {
    const std::int64_t extent = std::int64_t(ByteWidth(font)) * std::int64_t(text.size());
    return extent > INT32_MAX ? INT32_MAX : std::int32_t(extent);
}

TextMetrics FixedMetrics::Metrics(const TMyFont& font) {
    if (font.size <= 0) return {};
    const std::int32_t size = font.size > kLargestSize ? kLargestSize : font.size;
    return {size + size / 4, size};
}

bool FixedMetrics::IsInstalled(std::string_view faceName) {
    return installed_.find(faceName) != installed_.end();
}

FontPitch FixedMetrics::Pitch(const TMyFont& font) {
    return font.name == "Courier New" ? FontPitch::Fixed : FontPitch::Variable;
}

FontFamily FixedMetrics::Family(const TMyFont& font) {
    if (font.name == "Courier New") return FontFamily::Modern;
    if (font.name == "Arial") return FontFamily::Swiss;
    return FontFamily::Roman;
}

std::int32_t FixedMetrics::PairWidth(const TMyFont& font, int, unsigned char) {
    return ByteWidth(font);
}

void FixedMetrics::RunWidths(const TMyFont& font, int, std::string_view text,
                             std::int32_t* widths) {
    std::fill(widths, widths + text.size(), ByteWidth(font));
}

}  // namespace orvo
