// Fuzzes the recognition of picture formats and every reader behind it, metafiles included.
#include <cstdint>
#include <string_view>

#include "PictureFuzzLimits.h"
#include "picture/Picture.h"

using namespace orvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (Result<Picture> picture = DecodePicture(bytes, FuzzLimits())) {
        if (!picture->IsGif() || picture->frames.size() <= 50) (void)RenderPicture(*picture);
    }
    return 0;
}
