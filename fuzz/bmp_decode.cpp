// Fuzzes the BMP reader, and converts what it read to a GIF as picture import does.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "PictureFuzzLimits.h"
#include "picture/BmpReader.h"
#include "picture/GifCodec.h"

using namespace orvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Result<Picture> bmp = DecodeBmp(bytes, FuzzLimits());
    if (!bmp) return 0;
    if (bmp->pixels.rgba.size() != std::size_t(bmp->width) * std::size_t(bmp->height) * 4) {
        std::abort();
    }
    if (std::int64_t(bmp->width) * bmp->height <= 1 << 14) {
        Result<std::string> gif = BitmapToGif(bmp->pixels, size % 2 == 1);
        if (!gif) std::abort();
        Result<Picture> again = DecodeGif(*gif, FuzzLimits());
        if (!again || again->width != bmp->width || again->height != bmp->height) std::abort();
    }
    return 0;
}
