// The window features a link that opens a separate or pop-up window keeps in its content:
// position, size and the window's options, as the link window stored them.
#pragma once

#include <optional>
#include <string_view>

namespace orvo {

/// The 22-byte record: 16-bit little-endian values at 0 top, 2 left, 4 width, 6 height,
/// 8 screenX, 10 screenY (-20000 for a value not set), then one byte each at 13 dependent
/// and at 15..21 fullscreen, location, menubar, resizable, scrollbars, status, toolbar.
struct WindowFeatures {
    std::optional<int> top, left, width, height, screenX, screenY;
    bool dependent = false;
    bool fullscreen = false;
    bool location = false;
    bool menubar = false;
    bool resizable = false;
    bool scrollbars = false;
    bool status = false;
    bool toolbar = false;
    bool operator==(const WindowFeatures&) const = default;
};

inline constexpr int kWindowFeatureNotSet = -20000;
inline constexpr std::size_t kWindowFeaturesSize = 22;

/// Reads the record from a link's content. A value the bytes do not reach, or -20000, is not
/// set; so is a width or height below 1. Never reads past `bytes`.
WindowFeatures ReadWindowFeatures(std::string_view bytes);

}  // namespace orvo
