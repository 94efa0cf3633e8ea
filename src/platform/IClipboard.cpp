// The clipboard kept in memory.
#include "platform/IClipboard.h"

namespace orvo {

bool MemoryClipboard::HasFormat(std::string_view format) const {
    return Data(format).has_value();
}

std::optional<std::string> MemoryClipboard::Data(std::string_view format) const {
    for (const auto& [name, bytes] : contents_)
        if (name == format) return bytes;
    return std::nullopt;
}

}  // namespace orvo
