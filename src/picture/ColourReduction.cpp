// Reducing a bitmap to at most 256 colours.
#include "picture/ColourReduction.h"

#include <gif_lib.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
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

// Finds the palette entry nearest to a colour. The colour cube is cut into 32 × 32 × 32 cells;
// the first time a cell is met, the entries that can be nearest to some colour in it are listed
// (those not farther than the farthest point of the best entry), and only they are compared.
// The answer is the one a search of the whole palette gives, the lowest index on a tie.
class NearestColour {
public:
    explicit NearestColour(const Palette& palette)
        : palette_(palette), start_(kCells, -1), count_(kCells, 0) {}

    std::uint8_t Find(const std::uint8_t* p) {
        const int cell = ((p[0] >> 3) << 10) | ((p[1] >> 3) << 5) | (p[2] >> 3);
        if (start_[cell] < 0) List(cell);
        const std::uint8_t* candidate = &candidates_[std::size_t(start_[cell])];
        std::uint8_t best = candidate[0];
        int bestDistance = Distance(palette_[best], p);
        for (int i = 1; i < count_[cell] && bestDistance > 0; ++i) {
            const int d = Distance(palette_[candidate[i]], p);
            if (d < bestDistance) best = candidate[i], bestDistance = d;
        }
        return best;
    }

private:
    static constexpr int kCells = 32 * 32 * 32;

    static int Axis(int value, int low, bool farthest) {
        const int high = low + 7;
        if (farthest) return std::max(std::abs(value - low), std::abs(value - high));
        return value < low ? low - value : value > high ? value - high : 0;
    }

    void List(int cell) {
        const int low[3] = {(cell >> 10) << 3, ((cell >> 5) & 31) << 3, (cell & 31) << 3};
        auto bound = [&](const Rgb& c, bool farthest) {
            const int dr = Axis(c.r, low[0], farthest), dg = Axis(c.g, low[1], farthest),
                      db = Axis(c.b, low[2], farthest);
            return dr * dr + dg * dg + db * db;
        };
        int limit = INT_MAX;
        for (const Rgb& c : palette_) limit = std::min(limit, bound(c, true));
        start_[cell] = int(candidates_.size());
        for (std::size_t i = 0; i < palette_.size(); ++i) {
            if (bound(palette_[i], false) <= limit) candidates_.push_back(std::uint8_t(i));
        }
        count_[cell] = int(candidates_.size()) - start_[cell];
    }

    const Palette& palette_;
    std::vector<int> start_;
    std::vector<int> count_;
    std::vector<std::uint8_t> candidates_;
};

// GifQuantizeBuffer places each pixel by its 5-bit box, not by the nearest colour of the
// palette it chose; mapping every pixel to its nearest colour, moving each colour to the mean
// of its pixels and mapping again roughly halves the error.
void Refine(const Bitmap& bitmap, IndexedBitmap& out) {
    const std::size_t count = std::size_t(bitmap.width) * std::size_t(bitmap.height);
    for (int pass = 0; pass < 2; ++pass) {
        NearestColour nearest(out.palette);
        std::vector<std::uint64_t> sums(out.palette.size() * 4, 0);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t* p = &bitmap.rgba[i * 4];
            const std::uint8_t index = nearest.Find(p);
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
