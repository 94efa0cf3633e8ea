#include "app/WindowFeatures.h"

#include <cstdint>

namespace orvo {
namespace {

std::optional<int> Value(std::string_view bytes, std::size_t offset) {
    if (offset + 2 > bytes.size()) return std::nullopt;
    const auto low = std::uint8_t(bytes[offset]);
    const auto high = std::uint8_t(bytes[offset + 1]);
    const int value = std::int16_t(std::uint16_t(low | (high << 8)));
    if (value == kWindowFeatureNotSet) return std::nullopt;
    return value;
}

bool Flag(std::string_view bytes, std::size_t offset) {
    return offset < bytes.size() && bytes[offset] != 0;
}

}  // namespace

WindowFeatures ReadWindowFeatures(std::string_view bytes) {
    WindowFeatures f;
    f.top = Value(bytes, 0);
    f.left = Value(bytes, 2);
    f.width = Value(bytes, 4);
    f.height = Value(bytes, 6);
    f.screenX = Value(bytes, 8);
    f.screenY = Value(bytes, 10);
    if (f.width && *f.width < 1) f.width.reset();
    if (f.height && *f.height < 1) f.height.reset();
    f.dependent = Flag(bytes, 13);
    f.fullscreen = Flag(bytes, 15);
    f.location = Flag(bytes, 16);
    f.menubar = Flag(bytes, 17);
    f.resizable = Flag(bytes, 18);
    f.scrollbars = Flag(bytes, 19);
    f.status = Flag(bytes, 20);
    f.toolbar = Flag(bytes, 21);
    return f;
}

}  // namespace orvo
