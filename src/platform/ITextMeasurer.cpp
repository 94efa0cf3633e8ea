// The pair measuring every measurer shares unless it knows a faster way.
#include "platform/ITextMeasurer.h"

namespace orvo {

std::int32_t ITextMeasurer::PairWidth(const TMyFont& font, int previous, unsigned char current) {
    if (previous < 0) {
        const char one = static_cast<char>(current);
        return Extent(font, std::string_view(&one, 1));
    }
    const char pair[2] = {static_cast<char>(previous), static_cast<char>(current)};
    return Extent(font, std::string_view(pair, 2)) - Extent(font, std::string_view(pair, 1));
}

void ITextMeasurer::RunWidths(const TMyFont& font, int previous, std::string_view text,
                              std::int32_t* widths) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto current = static_cast<unsigned char>(text[i]);
        widths[i] = PairWidth(font, previous, current);
        previous = current;
    }
}

}  // namespace orvo
