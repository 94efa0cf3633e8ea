// Decoding a 1000 × 1000 GIF, JPEG and BMP, and the two conversions picture import makes.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "base/ByteReader.h"
#include "picture/BmpReader.h"
#include "picture/ColourReduction.h"
#include "picture/GifCodec.h"
#include "picture/JpegCodec.h"

using namespace orvo;

namespace {

constexpr int kSide = 1000;

// A photograph-like bitmap: smooth gradients with some noise, far more than 256 colours.
const Bitmap& Photo() {
    static const Bitmap bitmap = [] {
        Bitmap b(kSide, kSide);
        unsigned seed = 12345;
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                seed = seed * 1103515245u + 12345u;
                const int noise = int((seed >> 16) % 17) - 8;
                auto clamp = [](int v) { return std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); };
                b.Set(x, y,
                      {clamp(x * 255 / kSide + noise), clamp(y * 255 / kSide - noise),
                       clamp((x + y) * 127 / kSide + 64 + noise)});
            }
        }
        return b;
    }();
    return bitmap;
}

const std::string& GifFile() {
    static const std::string bytes = *BitmapToGif(Photo(), false);
    return bytes;
}

const std::string& JpegFile() {
    static const std::string bytes = *EncodeJpeg(Photo(), 75);
    return bytes;
}

const std::string& BmpFile() {
    static const std::string bytes = [] {
        std::string out = "BM";
        ByteWriter w(out);
        const std::uint32_t stride = kSide * 3, data = stride * kSide;
        w.U32(54 + data), w.U32(0), w.U32(54), w.U32(40), w.I32(kSide), w.I32(kSide);
        w.U16(1), w.U16(24), w.U32(0), w.U32(data), w.I32(2835), w.I32(2835), w.U32(0), w.U32(0);
        for (int y = kSide - 1; y >= 0; --y) {
            for (int x = 0; x < kSide; ++x) {
                const Rgb c = Photo().ColourAt(x, y);
                w.U8(c.b), w.U8(c.g), w.U8(c.r);
            }
        }
        return out;
    }();
    return bytes;
}

void DecodeGif1000(benchmark::State& state) {
    const std::string& bytes = GifFile();
    for (auto _ : state) {
        Result<Picture> p = DecodeGif(bytes);
        if (!p) std::abort();
        benchmark::DoNotOptimize(p->frames.front().indices.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
    state.counters["file_bytes"] = double(bytes.size());
}
BENCHMARK(DecodeGif1000)->Unit(benchmark::kMillisecond);

void DecodeJpeg1000(benchmark::State& state) {
    const std::string& bytes = JpegFile();
    for (auto _ : state) {
        Result<Picture> p = DecodeJpeg(bytes);
        if (!p) std::abort();
        benchmark::DoNotOptimize(p->pixels.rgba.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
    state.counters["file_bytes"] = double(bytes.size());
}
BENCHMARK(DecodeJpeg1000)->Unit(benchmark::kMillisecond);

void DecodeBmp1000(benchmark::State& state) {
    const std::string& bytes = BmpFile();
    for (auto _ : state) {
        Result<Picture> p = DecodeBmp(bytes);
        if (!p) std::abort();
        benchmark::DoNotOptimize(p->pixels.rgba.data());
    }
}
BENCHMARK(DecodeBmp1000)->Unit(benchmark::kMillisecond);

void RenderGif1000(benchmark::State& state) {
    const Picture gif = *DecodeGif(GifFile());
    for (auto _ : state) {
        Bitmap b = RenderPicture(gif);
        benchmark::DoNotOptimize(b.rgba.data());
    }
}
BENCHMARK(RenderGif1000)->Unit(benchmark::kMillisecond);

// A bitmap converted on import: colour reduction and the GIF writer.
void BitmapToGif1000(benchmark::State& state) {
    for (auto _ : state) {
        Result<std::string> gif = BitmapToGif(Photo(), false);
        if (!gif) std::abort();
        benchmark::DoNotOptimize(gif->data());
    }
}
BENCHMARK(BitmapToGif1000)->Unit(benchmark::kMillisecond);

void ReduceColours1000(benchmark::State& state) {
    for (auto _ : state) {
        Result<IndexedBitmap> reduced = ReduceColours(Photo());
        if (!reduced) std::abort();
        benchmark::DoNotOptimize(reduced->indices.data());
    }
}
BENCHMARK(ReduceColours1000)->Unit(benchmark::kMillisecond);

void EncodeJpeg1000(benchmark::State& state) {
    for (auto _ : state) {
        Result<std::string> jpeg = EncodeJpeg(Photo(), 25);
        if (!jpeg) std::abort();
        benchmark::DoNotOptimize(jpeg->data());
    }
}
BENCHMARK(EncodeJpeg1000)->Unit(benchmark::kMillisecond);

}  // namespace
