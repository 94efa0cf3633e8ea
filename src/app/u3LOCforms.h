// The localisation blocks compiled into the program, one per window, in the language the build
// carries (Italian).
#pragma once

#include <string_view>
#include <vector>

namespace orvo {

struct WindowBlock {
    std::string_view window;  // the window's name, as its block's keys write it
    std::string_view block;   // Windows-1252
};

/// Every window's block of this build.
const std::vector<WindowBlock>& LocalizationBlocks();

/// The block of the window of that name (case ignored); "" when the window has none.
std::string_view LocalizationBlock(std::string_view window);

}  // namespace orvo
