// Fuzzes the JPEG reader, and writes what it read back as a JPEG.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "PictureFuzzLimits.h"
#include "picture/JpegCodec.h"

using namespace orvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Result<Picture> jpeg = DecodeJpeg(bytes, FuzzLimits());
    if (!jpeg) return 0;
    if (jpeg->pixels.width != jpeg->width || jpeg->pixels.height != jpeg->height) std::abort();
    if (std::int64_t(jpeg->width) * jpeg->height <= 1 << 16) {
        Result<std::string> written = EncodeJpeg(jpeg->pixels, 50);
        if (!written) std::abort();
        Result<Picture> again = DecodeJpeg(*written, FuzzLimits());
        if (!again || again->width != jpeg->width || again->height != jpeg->height) std::abort();
    }
    return 0;
}
