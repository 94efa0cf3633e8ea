// A link's content read as the window-feature record of a separate or pop-up window.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/WindowFeatures.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const orvo::WindowFeatures f = orvo::ReadWindowFeatures(bytes);
    for (const auto& v : {f.top, f.left, f.screenX, f.screenY})
        if (v && (*v < -32768 || *v > 32767 || *v == orvo::kWindowFeatureNotSet)) std::abort();
    for (const auto& v : {f.width, f.height})
        if (v && (*v < 1 || *v > 32767)) std::abort();
    if (size < 2 && f.top) std::abort();
    return 0;
}
