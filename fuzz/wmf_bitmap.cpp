// Fuzzes reading the bitmap out of a WMF; what is read is written into a new WMF, which must
// give the same pixels back.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "PictureFuzzLimits.h"
#include "picture/WmfBitmap.h"

using namespace orvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Result<Bitmap> bitmap = ReadWmfBitmap(bytes, FuzzLimits());
    if (!bitmap) return 0;
    if (bitmap->Empty() ||
        bitmap->rgba.size() != std::size_t(bitmap->width) * std::size_t(bitmap->height) * 4)
        std::abort();
    if (std::int64_t(bitmap->width) * bitmap->height > 1 << 16) return 0;
    for (std::size_t i = 3; i < bitmap->rgba.size(); i += 4) bitmap->rgba[i] = 255;
    const std::string wmf = WriteBitmapWmf(*bitmap, bitmap->width, bitmap->height, 96);
    Result<Bitmap> again = ReadWmfBitmap(wmf, FuzzLimits());
    if (!again || again->rgba != bitmap->rgba) std::abort();
    return 0;
}
