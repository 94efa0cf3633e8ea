// Reducing a bitmap to at most 256 colours.
#include "picture/ColourReduction.h"

#include <gif_lib.h>

#include <algorithm>
#include <unordered_map>

namespace orvo {

namespace {

bool ExactColours(const Bitmap& bitmap, IndexedBitmap& out) {
    std::unordered_map<std::uint32_t, std::uint8_t> seen;
    const std::size_t count = std::size_t(bitmap.width) * std::size_t(bitmap.height);
    out.indices.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = &bitmap.rgba[i * 4];
        const std::uint32_t key = p[0] | (p[1] << 8) | (p[2] << 16);
        auto found = seen.find(key);
        if (found == seen.end()) {
            if (seen.size() == 256) return false;
            found = seen.emplace(key, std::uint8_t(seen.size())).first;
            out.palette.push_back({p[0], p[1], p[2]});
        }
        out.indices[i] = found->second;
    }
    return true;
}

int Distance(const Rgb& a, const std::uint8_t* p) {
    const int dr = int(a.r) - p[0], dg = int(a.g) - p[1], db = int(a.b) - p[2];
    return dr * dr + dg * dg + db * db;
}

// The palette entry nearest to `p`, searched outwards from its red value: entries whose red
// alone is farther than the best distance found cannot be nearer.
std::uint8_t Nearest(const std::vector<std::pair<std::uint8_t, std::uint8_t>>& byRed,
                     const Palette& palette, const std::uint8_t* p) {
    const auto start =
        std::lower_bound(byRed.begin(), byRed.end(), std::make_pair(p[0], std::uint8_t(0)));
    std::uint8_t best = byRed.front().second;
    int bestDistance = Distance(palette[best], p);
    auto up = start;
    auto down = start;
    while (bestDistance > 0 && (up != byRed.end() || down != byRed.begin())) {
        if (up != byRed.end()) {
            const int dr = int(up->first) - p[0];
            if (dr * dr >= bestDistance) {
                up = byRed.end();
            } else {
                const int d = Distance(palette[up->second], p);
                if (d < bestDistance) best = up->second, bestDistance = d;
                ++up;
            }
        }
        if (down != byRed.begin()) {
            const auto candidate = std::prev(down);
            const int dr = int(p[0]) - candidate->first;
            if (dr * dr >= bestDistance) {
                down = byRed.begin();
            } else {
                const int d = Distance(palette[candidate->second], p);
                if (d < bestDistance) best = candidate->second, bestDistance = d;
                down = candidate;
            }
        }
    }
    return best;
}

// GifQuantizeBuffer places each pixel by its 5-bit box, not by the nearest colour of the
// palette it chose; mapping every pixel to its nearest colour, moving each colour to the mean
// of its pixels and mapping again roughly halves the error.
void Refine(const Bitmap& bitmap, IndexedBitmap& out) {
    const std::size_t count = std::size_t(bitmap.width) * std::size_t(bitmap.height);
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<std::pair<std::uint8_t, std::uint8_t>> byRed;  // (red, index), sorted
        for (std::size_t c = 0; c < out.palette.size(); ++c) {
            byRed.emplace_back(out.palette[c].r, std::uint8_t(c));
        }
        std::sort(byRed.begin(), byRed.end());
        std::unordered_map<std::uint32_t, std::uint8_t> nearest;
        std::vector<std::uint64_t> sums(out.palette.size() * 4, 0);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t* p = &bitmap.rgba[i * 4];
            const std::uint32_t key = p[0] | (p[1] << 8) | (p[2] << 16);
            auto found = nearest.find(key);
            if (found == nearest.end()) {
                found = nearest.emplace(key, Nearest(byRed, out.palette, p)).first;
            }
            const std::uint8_t index = found->second;
            out.indices[i] = index;
            std::uint64_t* sum = &sums[std::size_t(index) * 4];
            sum[0] += p[0], sum[1] += p[1], sum[2] += p[2], sum[3] += 1;
        }
        if (pass == 1) break;
        for (std::size_t c = 0; c < out.palette.size(); ++c) {
            const std::uint64_t* sum = &sums[c * 4];
            if (sum[3] == 0) continue;
            out.palette[c] = {std::uint8_t((sum[0] + sum[3] / 2) / sum[3]),
                              std::uint8_t((sum[1] + sum[3] / 2) / sum[3]),
                              std::uint8_t((sum[2] + sum[3] / 2) / sum[3])};
        }
    }
}

}  // namespace

Result<IndexedBitmap> ReduceColours(const Bitmap& bitmap) {
    if (bitmap.Empty() ||
        bitmap.rgba.size() != std::size_t(bitmap.width) * std::size_t(bitmap.height) * 4) {
        return Fail("Immagine vuota");
    }
    IndexedBitmap out;
    out.width = bitmap.width;
    out.height = bitmap.height;
    if (ExactColours(bitmap, out)) return out;

    const std::size_t count = std::size_t(bitmap.width) * std::size_t(bitmap.height);
    std::vector<GifByteType> red(count), green(count), blue(count);
    for (std::size_t i = 0; i < count; ++i) {
        red[i] = bitmap.rgba[i * 4];
        green[i] = bitmap.rgba[i * 4 + 1];
        blue[i] = bitmap.rgba[i * 4 + 2];
    }
    int size = 256;
    GifColorType map[256] = {};
    out.palette.clear();
    if (GifQuantizeBuffer(unsigned(bitmap.width), unsigned(bitmap.height), &size, red.data(),
                          green.data(), blue.data(), out.indices.data(), map) == GIF_ERROR) {
        return Fail("Riduzione dei colori non riuscita");
    }
    for (int i = 0; i < size && i < 256; ++i) {
        out.palette.push_back({map[i].Red, map[i].Green, map[i].Blue});
    }
    if (out.palette.empty()) return Fail("Riduzione dei colori non riuscita");
    Refine(bitmap, out);
    return out;
}

}  // namespace orvo
