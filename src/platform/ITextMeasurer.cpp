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

}  // namespace orvo
