// The recording box host.
#include "textbox/IBoxHost.h"

#include <algorithm>

namespace orvo {

void RecordingBoxHost::SetHorizontalScroll(std::int32_t range, std::int32_t position) {
    hRange_ = std::max(0, range);
    hPos_ = std::clamp(position, 0, std::max(0, hRange_ - clientWidth_));
}

void RecordingBoxHost::SetVerticalScroll(std::int32_t range, std::int32_t position) {
    vRange_ = std::max(0, range);
    vPos_ = std::clamp(position, 0, std::max(0, vRange_ - clientHeight_));
}

void RecordingBoxHost::BoxResized(std::int32_t width, std::int32_t height) {
    boxWidth_ = width;
    boxHeight_ = height;
}

IInlineObject* RecordingBoxHost::ViewOf(const TKYToggetto& object) {
    auto it = views_.find(&object);
    return it == views_.end() ? nullptr : it->second;
}

}  // namespace orvo
