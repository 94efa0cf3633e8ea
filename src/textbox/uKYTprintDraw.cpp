// Printing: drawing paragraphs, backgrounds, pictures and place holders on a sheet.
#include <algorithm>
#include <cstdlib>

#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "picture/TKYTpicture.h"
#include "textbox/LineBreaker.h"
#include "textbox/ListNumbering.h"
#include "textbox/uKYTprint.h"

namespace orvo {

namespace {

constexpr std::int32_t kDriftTolerance = 4;
constexpr std::string_view kFallbackFace = "Times New Roman";
// Tiles of a background on one sheet: more than this and the colour alone is used.
constexpr std::int64_t kMaxTiles = 20000;

std::int32_t FloorDiv(std::int32_t a, std::int32_t b) {
    std::int32_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

}  // namespace

const Bitmap* TKYTpageP::PictureOnWhite(std::int32_t pictureIdentifier) {
    auto it = pictures_.find(pictureIdentifier);
    if (it != pictures_.end()) return it->second.get();
    std::unique_ptr<Bitmap> pixels;
    TKYToggetto* object = set_.ObjectByKind(TOggettiHel::immagine, pictureIdentifier);
    if (object && !object->IsFree()) {
        auto decoded = set_.PictureOf(*object);
        if (decoded.ok() && *decoded && (*decoded)->HasGraphic()) {
            Bitmap bitmap = RenderPicture((*decoded)->Graphic());
            if (!bitmap.Empty()) {
                // Transparent pixels print white.
                for (std::size_t i = 0; i + 3 < bitmap.rgba.size(); i += 4) {
                    const unsigned a = bitmap.rgba[i + 3];
                    for (int c = 0; c < 3; ++c)
                        bitmap.rgba[i + c] =
                            std::uint8_t((bitmap.rgba[i + c] * a + 255 * (255 - a)) / 255);
                    bitmap.rgba[i + 3] = 255;
                }
                pixels = std::make_unique<Bitmap>(std::move(bitmap));
            }
        }
    }
    return pictures_.emplace(pictureIdentifier, std::move(pixels)).first->second.get();
}

void TKYTboxP::FillBackground(const Rect& area) {
    if (transparent || area.Empty()) return;
    ICanvas& canvas = page_.Canvas();
    if (backPicture >= 0) {
        TKYToggetto* object = page_.Set().ObjectByKind(TOggettiHel::immagine, backPicture);
        const Bitmap* pixels = page_.PictureOnWhite(backPicture);
        if (object && pixels) {
            const std::int32_t tw = object->ReadView().I16(kPictureWidth);
            const std::int32_t th = object->ReadView().I16(kPictureHeight);
            const std::int64_t tileW = std::int64_t(tw) * page_.scaleX / 100;
            const std::int64_t tileH = std::int64_t(th) * page_.scaleY / 100;
            const std::int64_t tiles =
                tileW > 0 && tileH > 0 ? (area.Width() / tileW + 2) * (area.Height() / tileH + 2)
                                       : kMaxTiles + 1;
            if (tiles <= kMaxTiles) {
                const std::int32_t w = std::int32_t(tileW), h = std::int32_t(tileH);
                std::int32_t x0 = w * FloorDiv(area.left, w);
                std::int32_t y0 = h * FloorDiv(area.top, h);
                if (IsCellBox()) {
                    x0 -= ((x % w) + w) % w;
                    y0 -= ((y % h) + h) % h;
                }
                const CanvasImage image{pixels->width, pixels->height, pixels->rgba.data(),
                                        std::uint64_t(backPicture) + 1, true};
                for (std::int32_t ty = y0; ty < area.bottom; ty += h)
                    for (std::int32_t tx = x0; tx < area.right; tx += w)
                        page_.Device().StretchImage(image, {tx, ty, tx + w, ty + h});
                return;
            }
        }
    }
    canvas.FillRect(area, backColour);
}

void TKYTboxP::DrawParagraph(TKYTparag& paragraph, std::int32_t bandTop, std::int32_t bandBottom) {
    if (paragraph.lines.empty()) return;
    ICanvas& canvas = page_.Canvas();
    ITextMeasurer& measurer = page_.Measurer();
    const TKYTParaStyle& style = paragraph.style;
    const Point abs = Absolute();
    const std::int32_t contentTop = style.SpaceBefore() + paragraph.top + abs.y;
    const std::int32_t left = page_.LeftOffset() + abs.x;
    const std::int32_t paperDy = page_.TopOffset();

    auto withFallback = [&](TMyFont font) {
        if (!measurer.IsInstalled(font.name)) font.name = std::string(kFallbackFace);
        return font;
    };
    TMyFont runFont = style.AsMyFont();
    std::int32_t link = -1;
    auto displayed = [&] {
        return withFallback(link >= 0 ? LinkAppearance(runFont, style) : runFont);
    };
    auto subOffsetOf = [&](const TMyFont& font) {
        return font.position == kPositionSubscript ? std::abs(measurer.Metrics(font).height) / 2
                                                   : 0;
    };
    canvas.SetFont(displayed());
    canvas.SetTextBackground(std::nullopt);
    std::int32_t subOffset = subOffsetOf(runFont);

    // The list mark, from the margin and indent without the padding.
    const std::uint8_t listKind = style.ListKind();
    if (const auto markOffset = ListMarkOffset(paragraph)) {
        const std::int32_t markTop = contentTop + *markOffset;
        const TKYTline& first = paragraph.lines.front();
        const std::int32_t printTop = PrintTop(first, contentTop + first.top, markTop);
        const std::int32_t L = LayoutExtent(style.LeftMargin());
        const std::int32_t F = LayoutExtent(style.FirstIndent());
        if (printTop >= bandTop && printTop < bandBottom) {
            if (listKind == kListNumbered) {
                const std::string mark = ListNumberMark(paragraph.listNumber);
                canvas.TextOut(left + NumberMarkX(L, F, canvas.TextExtent(mark)), paperDy + markTop,
                               mark);
            } else {
                const std::int32_t markX = F < 0   ? L + F
                                           : F > 9 ? L
                                                   : L - page_.AcrossFromScreen(10);
                if (measurer.IsInstalled("Wingdings")) {
                    TMyFont bullet = displayed();
                    bullet.name = "Wingdings";
                    canvas.SetFont(bullet);
                    canvas.TextOut(left + markX, paperDy + markTop, "w");
                    canvas.SetFont(displayed());
                } else {
                    canvas.TextOut(left + markX, paperDy + markTop, "\x95");
                }
            }
        }
    }

    const std::int32_t measured = std::min<std::int32_t>(std::int32_t(paragraph.text.size()),
                                                         std::int32_t(paragraph.metrics.size()));
    for (const TKYTline& line : paragraph.lines) {
        const std::int32_t lineTop = contentTop + line.top;
        // The line's characters and small objects print on the sheet its top lies on (on a
        // line taller than a sheet, the sheet their own top lies on); a table prints its part
        // on every sheet it meets.
        auto here = [&](const TKYTcharMetric& m) {
            const std::int32_t top = PrintTop(line, lineTop, lineTop + line.ascent - m.ascent);
            return top >= bandTop && top < bandBottom;
        };
        const std::int32_t end = std::min(line.first + line.count, measured);
        std::int32_t x = left + line.alignOffset + line.indent;
        const std::int32_t baseline = paperDy + lineTop + line.ascent;
        std::int32_t k = std::max(line.first, 0);
        while (k < end) {
            TKYTcharMetric& m = paragraph.metrics[std::size_t(k)];
            bool changed = false;
            if (m.fontIndex >= 0 && std::size_t(m.fontIndex) < paragraph.fonts.size()) {
                runFont = paragraph.fonts[std::size_t(m.fontIndex)].AsMyFont();
                changed = true;
            }
            if (m.linkId != link) {
                link = m.linkId;
                changed = true;
            }
            // A format set on a line of an earlier sheet stays in force on this one.
            if (changed) {
                canvas.SetFont(displayed());
                subOffset = subOffsetOf(displayed());
            }
            if (m.objectIndex >= 0 && std::size_t(m.objectIndex) < paragraph.objects.size()) {
                const TKYToggetto* object = paragraph.objects[std::size_t(m.objectIndex)];
                TPrintual* view = object ? page_.PrintViewOf(*object) : nullptr;
                const std::int32_t objectTop = lineTop + line.ascent - m.ascent;
                const auto* table = dynamic_cast<TMyyTableP*>(view);
                // A table's cells may reach above its top (negative spacing).
                const bool meets =
                    here(m) || (table && objectTop + table->reachAbove < bandBottom &&
                                objectTop + view->height > bandTop);
                // An object is placed where it is first met and drawn only there: named again,
                // or inside one of its own cells, it takes its room and prints nothing.
                auto* inlineView = dynamic_cast<IInlineObject*>(view);
                if (view && meets && inlineView && inlineView->NeedsPlacing() &&
                    !view->Contains(this)) {
                    inlineView->PlaceAt(x - left, objectTop - abs.y);
                    view->parent = this;
                    view->anchorParagraph = &paragraph;
                    view->anchorIndex = k;
                }
                if (view && meets && view->anchorParagraph == &paragraph &&
                    view->anchorIndex == k) {
                    view->Print();
                    canvas.SetFont(displayed());
                }
                x += m.width;
                ++k;
                continue;
            }
            std::int32_t j = k + 1;
            while (j < end) {
                const TKYTcharMetric& n = paragraph.metrics[std::size_t(j)];
                if (n.fontIndex >= 0 || n.objectIndex >= 0 || n.linkId != link) break;
                ++j;
            }
            std::int32_t stored = 0;
            for (std::int32_t i = k; i < j; ++i) stored += paragraph.metrics[std::size_t(i)].width;
            if (here(m)) {
                const std::string_view run(paragraph.text.data() + k, std::size_t(j - k));
                const std::int32_t top = baseline + subOffset - m.ascent;
                if (std::abs(canvas.TextExtent(run) - stored) > kDriftTolerance) {
                    // The printer measures differently from the stored widths: each character
                    // after the previous one's fresh pair width, and those widths are kept.
                    std::int32_t cx = x;
                    for (std::int32_t i = k; i < j; ++i) {
                        const std::string_view one(paragraph.text.data() + i, 1);
                        const std::int32_t w = i == k ? canvas.TextExtent(one)
                                                      : canvas.TextExtent(std::string_view(
                                                            paragraph.text.data() + i - 1, 2)) -
                                                            canvas.TextExtent(std::string_view(
                                                                paragraph.text.data() + i - 1, 1));
                        canvas.TextOut(cx, top, one);
                        paragraph.metrics[std::size_t(i)].width = w;
                        cx += w;
                    }
                } else {
                    canvas.TextOut(x, top, run);
                }
            }
            x += stored;
            k = j;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Page objects.

TMyyPrintual::TMyyPrintual(TKYTpageP& page) : TPrintual(page) {
    width = 105;
    height = 105;
}

void TMyyPrintual::SetObject(const TKYToggetto* object) {
    if (object == object_) return;
    object_ = object;
    ObjectChanged();
}

ObjectSize TMyyPrintual::Size() const {
    return {std::int32_t(std::int64_t(width) * page_.scaleX / 100),
            std::int32_t(std::int64_t(height) * page_.scaleY / 100)};
}

void TMyyPrintual::PlaceAt(std::int32_t left, std::int32_t top) {
    x = left;
    y = top;
    placing_ = false;
}

ObjectSize TMyyRectangleP::Size() const {
    constexpr std::uint8_t kMarkerSubtype = 15;
    if (object_ && object_->Kind() == TOggettiHel::shortObj && object_->Subtype() == kMarkerSubtype)
        return TMyyPrintual::Size();
    return {0, 10};
}

TMyyImageP::TMyyImageP(TKYTpageP& page, TKYTset& set) : TMyyPrintual(page), set_(set) {}

void TMyyImageP::UpdateSize(std::int32_t available) {
    if (available > 0) available_ = available;
    if (!object_) return;
    const RecordView record = object_->ReadView();
    std::int32_t w1 = record.I16(kImageWidth), h1 = record.I16(kImageHeight);
    naturalWidth_ = naturalHeight_ = 0;
    if (const TKYToggetto* picture =
            set_.ObjectByKind(TOggettiHel::immagine, record.I32(kImagePicture))) {
        naturalWidth_ = picture->ReadView().I16(kPictureWidth);
        naturalHeight_ = picture->ReadView().I16(kPictureHeight);
        // A picture whose size changed since the image recorded it shows at its own size.
        if (naturalWidth_ != record.I16(kImageNaturalWidth) ||
            naturalHeight_ != record.I16(kImageNaturalHeight)) {
            w1 = naturalWidth_;
            h1 = naturalHeight_;
        }
    }
    width = std::max(w1, 0);
    height = std::max(h1, 0);
}

ObjectSize TMyyImageP::Size() const {
    std::int64_t w = std::int64_t(width) * page_.scaleX / 100;
    std::int64_t h = std::int64_t(height) * page_.scaleY / 100;
    // A picture larger than the sheet is scaled down to fit it, keeping its proportions.
    const std::int64_t maxW = available_ > 0 ? available_ : page_.printWidth;
    const std::int64_t maxH = page_.printHeight;
    if (maxW > 0 && maxH > 0 && (w > maxW || h > maxH)) {
        if (w * maxH > h * maxW) {
            h = h * maxW / w;
            w = maxW;
        } else {
            w = w * maxH / h;
            h = maxH;
        }
    }
    return {std::int32_t(w), std::int32_t(h)};
}

int TMyyImageP::VerticalAlignment() const {
    return object_ ? object_->ReadView().U8(kImageAlignment) : 0;
}

bool TMyyImageP::CoversArea() const {
    if (!object_) return true;
    TKYToggetto* picture =
        set_.ObjectByKind(TOggettiHel::immagine, object_->ReadView().I32(kImagePicture));
    if (!picture) return true;
    auto decoded = set_.PictureOf(*picture);
    return !decoded.ok() || !*decoded || (*decoded)->IsOpaque();
}

bool TMyyImageP::Draws() {
    if (!object_) return false;
    const ObjectSize size = Size();
    return size.width > 0 && size.height > 0 &&
           page_.PictureOnWhite(object_->ReadView().I32(kImagePicture)) != nullptr;
}

void TMyyImageP::Print() {
    if (!object_) return;
    const ObjectSize size = Size();
    if (size.width <= 0 || size.height <= 0) return;
    const std::int32_t pictureId = object_->ReadView().I32(kImagePicture);
    const Bitmap* pixels = page_.PictureOnWhite(pictureId);
    if (!pixels) return;
    const Point abs = Absolute();
    const std::int32_t left = page_.LeftOffset() + abs.x;
    const std::int32_t top = page_.TopOffset() + abs.y;
    const CanvasImage image{pixels->width, pixels->height, pixels->rgba.data(),
                            std::uint64_t(pictureId) + 1, true};
    page_.Device().StretchImage(image, {left, top, left + size.width, top + size.height});
}

}  // namespace orvo
