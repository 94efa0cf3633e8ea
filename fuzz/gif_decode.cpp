// Fuzzes the GIF reader, the composition of frames, the transparency rewrite and the writer.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "PictureFuzzLimits.h"
#include "picture/GifCodec.h"

using namespace orvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const DecodeLimits limits = FuzzLimits();
    Result<Picture> gif = DecodeGif(bytes, limits);
    if (!gif) return 0;
    if (gif->frames.size() <= 50) {
        (void)RenderPicture(*gif, 0);
        (void)RenderPicture(*gif, gif->frames.size());
    }
    // A rewrite that succeeds leaves a file whose every frame has the flag asked for.
    for (const bool on : {true, false}) {
        Result<std::string> rewritten = RewriteGifTransparency(bytes, on, limits);
        if (!rewritten) continue;
        Result<Picture> again = DecodeGif(*rewritten, limits);
        if (!again || again->frames.size() != gif->frames.size()) std::abort();
        for (const GifFrame& f : again->frames) {
            if (f.transparent != on) std::abort();
        }
    }
    if (Result<std::string> written = EncodeGif(*gif)) {
        if (!DecodeGif(*written, limits)) std::abort();
    }
    return 0;
}
