// A server's version page through the version reader; the bytes also serve as a document path
// written into a page and read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "publish/VersionPage.h"

using namespace orvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto version = ParseVersionPage(bytes);
    if (version && bytes.find("<!--VER=") == std::string_view::npos) std::abort();
    // A path without a line break or a marker of its own never hides the page's version.
    if (bytes.find('\n') == std::string_view::npos &&
        bytes.find("<!--VER=") == std::string_view::npos) {
        const std::int32_t v = size > 0 ? std::int32_t(data[0]) * 1000 - 7 : 5;
        if (ParseVersionPage(VersionPageBytes(bytes, v)) != v) std::abort();
    }
    (void)ServerVersionText(version.value_or(-1));
    return 0;
}
