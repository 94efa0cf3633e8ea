// PNG pictures as pixels, through libpng's simplified reading interface.
#include "picture/PngReader.h"

#include <png.h>

#include <cstring>

namespace orvo {

bool IsPng(std::string_view bytes) {
    return bytes.size() >= 8 && std::memcmp(bytes.data(), "\x89PNG\r\n\x1A\n", 8) == 0;
}

Result<Bitmap> DecodePng(std::string_view bytes, const DecodeLimits& limits) {
    if (!IsPng(bytes)) return Fail("PNG non valido");
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return Fail("PNG non valido");
    const std::int64_t w = image.width, h = image.height;
    if (w <= 0 || h <= 0 || w > limits.maxSide || h > limits.maxSide || w * h > limits.maxPixels) {
        png_image_free(&image);
        return Fail("PNG troppo grande");
    }
    image.format = PNG_FORMAT_RGBA;
    Bitmap bitmap{int(w), int(h)};
    if (!png_image_finish_read(&image, nullptr, bitmap.rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return Fail("PNG non valido");
    }
    return bitmap;
}

}  // namespace orvo
