#include "app/ImagePropertiesRules.h"

#include <algorithm>
#include <cstring>

#include "app/WhereUsed.h"
#include "base/ByteStream.h"
#include "model/uKYTset.h"
#include "objects/ImageRecord.h"

namespace orvo {

using K = TOggettiHel;

namespace {

constexpr std::size_t kShownAltText = 75;
constexpr std::size_t kStoredAltText = 32;

int Clamped(std::int64_t v) {
    return int(std::clamp<std::int64_t>(v, 1, 32767));
}

std::pair<int, int> SizeOfPicture(const TKYToggetto* picture) {
    if (!picture) return {0, 0};
    const RecordView r = picture->ReadView();
    return {r.I16(kPictureWidth), r.I16(kPictureHeight)};
}

ChosenPicture HeldPicture(const TKYTset& set, std::int32_t id) {
    if (id < 0) return {};
    TKYToggetto* picture = set.ObjectByKind(K::immagine, id);
    return picture && !picture->IsFree() ? ChosenPicture(picture) : ChosenPicture();
}

std::int32_t RegisteredId(TKYTset& set, ChosenPicture& picture) {
    TKYToggetto* held = picture ? picture.Register(set) : nullptr;
    return held ? held->Identifier() : -1;
}

}  // namespace

bool ReplaceContent(TKYTset& set, TKYToggetto& picture, const TKYToggetto& source) {
    if (&picture == &source) return false;
    if (picture.Kind() != K::immagine || source.Kind() != K::immagine) {
        set.Messages().Inform("ReplaceContent called improperly...");
        return false;
    }
    Result<std::string> bytes = source.ContentBytes();
    if (!bytes) return false;
    const std::string fileName = source.FileName();
    std::memcpy(picture.Record().data(), source.Record().data(), picture.Record().size());
    picture.SetContent(std::move(*bytes));
    picture.SetContentFileName({});
    picture.SetAuxiliary(source.Auxiliary());
    picture.SetFileName(fileName);  // unique among the hypertext's pictures and files
    picture.SetVersionStamp(set.SaveCounter());
    set.DropCachedPicture(picture.Identifier());
    set.SetModified(true);
    return true;
}

std::vector<std::int32_t> PagesShowingPicture(const TKYTset& set, std::int32_t pictureId,
                                              std::int32_t editedPage) {
    std::vector<std::int32_t> pages;
    for (const Referrer& r : FindReferrers(set, MakeCode(K::immagine, pictureId)))
        if (CodeKind(r.code) == int(KindIndex(K::testoHtml))) pages.push_back(r.code);
    if (editedPage >= 0 && CodeKind(editedPage) == int(KindIndex(K::testoHtml)) &&
        std::find(pages.begin(), pages.end(), editedPage) == pages.end()) {
        // Pages come in identifier order, which is their codes' order (one kind).
        pages.insert(std::lower_bound(pages.begin(), pages.end(), editedPage), editedPage);
    }
    return pages;
}

bool FitImageToPicture(TKYToggetto& image, const TKYToggetto& picture) {
    const RecordView p = picture.ReadView();
    const std::int16_t w = p.I16(kPictureWidth), h = p.I16(kPictureHeight);
    ImageRecord record(image);
    if (record.NaturalWidth() == w && record.NaturalHeight() == h) return false;
    record.ScaleZonesTo(w, h);
    record.SetNaturalSize(w, h);
    record.SetSize(w, h);
    return true;
}

void ImagePropertiesRules::LoadPictureSize() {
    const auto [w, h] = SizeOfPicture(picture_.Get());
    naturalW_ = w;
    naturalH_ = h;
}

void ImagePropertiesRules::LoadImage(const TKYToggetto& image, ChosenPicture pasted) {
    const ImageRecord record(image);
    // The stream's header is kept as it was loaded; the text after it is the IMG's parameters.
    auxHeader_.clear();
    imgCode_.clear();
    if (const auto& aux = image.Auxiliary(); aux && aux->size() >= 4) {
        std::int32_t length = 0;
        std::memcpy(&length, aux->data(), 4);
        if (length >= 0 && std::size_t(length) <= aux->size() - 4) {
            auxHeader_ = aux->substr(0, 4 + std::size_t(length));
            imgCode_ = aux->substr(4 + std::size_t(length));
        } else {
            imgCode_ = *aux;
        }
    }
    alternativeText = record.AlternativeText();
    const int alignment = record.Alignment();
    position = alignment >= 3 && alignment <= 5 ? alignment - 3 : 1;
    border = record.Border() != 0;
    pictureChanged_ = bool(pasted);
    edited_ = &image;
    scaleZones_ = false;
    if (pasted) {
        picture_ = std::move(pasted);
        LoadPictureSize();
    } else {
        picture_ = ChosenPicture(ImagePictureObject(set_, image, false));
        naturalW_ = record.NaturalWidth();
        naturalH_ = record.NaturalHeight();
    }
    lowRes_ = HeldPicture(set_, record.LowResPicture());
    rollover_ = HeldPicture(set_, record.RolloverPicture());
    replacement_.Reset();
    percent_ = false;
    sizeX_ = record.Width();
    sizeY_ = record.Height();
    if (record.Percent()) SetPercent(true);
}

void ImagePropertiesRules::LoadNew(ChosenPicture picture) {
    picture_ = std::move(picture);
    pictureChanged_ = true;
    edited_ = nullptr;
    scaleZones_ = false;
    const TKYToggetto* shown = picture_.Get();
    alternativeText = "IMG " + (shown ? shown->Name() : std::string());
    if (alternativeText.size() > kShownAltText) alternativeText.resize(kShownAltText);
    position = 1;
    border = false;
    percent_ = false;
    LoadPictureSize();
    sizeX_ = naturalW_;
    sizeY_ = naturalH_;
    lowRes_.Reset();
    rollover_.Reset();
    replacement_.Reset();
    auxHeader_.clear();
    imgCode_.clear();
}

bool ImagePropertiesRules::SetPercent(bool on) {
    if (on == percent_) return true;
    if (!PercentAllowed()) return false;
    if (on) {
        sizeX_ = int(std::int64_t(sizeX_) * 100 / naturalW_);
        sizeY_ = int(std::int64_t(sizeY_) * 100 / naturalH_);
    } else {
        sizeX_ = int(std::int64_t(sizeX_) * naturalW_ / 100);
        sizeY_ = int(std::int64_t(sizeY_) * naturalH_ / 100);
    }
    percent_ = on;
    return true;
}

std::pair<int, int> ImagePropertiesRules::ShownSize() const {
    if (percent_ && PercentAllowed())
        return {Clamped(std::int64_t(sizeX_) * naturalW_ / 100),
                Clamped(std::int64_t(sizeY_) * naturalH_ / 100)};
    return {Clamped(sizeX_), Clamped(sizeY_)};
}

bool ImagePropertiesRules::ReplaceEverywhere() {
    if (!replacement_) return false;
    if (picture_.Registered()) {
        if (!ReplaceContent(set_, *picture_.Get(), *replacement_.Get())) {
            replacement_.Reset();
            return false;
        }
        replacement_.Reset();
        // Every image of the picture takes its new size, as a page that shows one would: the
        // pages not shown since are exported at the new size too.
        // Their clickable zones are scaled with them, the edited image's too: it keeps its own
        // zones, since it shows the same picture as before.
        TKYToggetto& picture = *picture_.Get();
        bool editedSized = false;
        for (const auto& object : set_.KindList(TOggettiHel::immagineNew)) {
            if (!object || object->IsFree() || ImagePictureObject(set_, *object, false) != &picture)
                continue;
            editedSized = editedSized || object.get() == edited_;
            FitImageToPicture(*object, picture);
        }
        // An edited image the hypertext does not hold has its zones scaled when Ok stores it.
        scaleZones_ = scaleZones_ || (edited_ && !editedSized && !pictureChanged_);
    } else {
        picture_ = std::move(replacement_);
        replacement_ = ChosenPicture();
        pictureChanged_ = true;
    }
    LoadPictureSize();
    percent_ = false;
    sizeX_ = naturalW_;
    sizeY_ = naturalH_;
    return true;
}

std::unique_ptr<TKYToggetto> ImagePropertiesRules::Apply(TKYToggetto* image) {
    std::unique_ptr<TKYToggetto> made;
    if (!image) {
        made = NewImageObject(set_, nullptr);
        image = made.get();
    }
    if (auxHeader_.empty() && imgCode_.empty()) {
        image->SetAuxiliary(std::nullopt);
    } else {
        std::string header = auxHeader_;
        if (header.empty()) header.assign(4, '\0');  // a header of no bytes
        image->SetAuxiliary(header + imgCode_);
    }
    ImageRecord record(*image);
    record.SetAlternativeText(std::string_view(alternativeText).substr(0, kStoredAltText));
    record.SetAlignment(std::uint8_t(3 + std::clamp(position, 0, 2)));
    record.SetBorder(border ? 1 : 0);
    const auto [w, h] = ShownSize();
    if (scaleZones_ && image == edited_) record.ScaleZonesTo(w, h);
    record.SetSize(std::int16_t(w), std::int16_t(h));
    record.SetPercent(percent_ && PercentAllowed());
    if (picture_) {
        // The picture's zones are taken only when the image shows another picture now: an
        // image's own zones are the author's work on the page.
        if (pictureChanged_ && picture_.Registered())
            record.SetZones(ReadZoneTable(picture_.Get()->ReadView().Raw(kPictureZones)));
        record.SetPicture(RegisteredId(set_, picture_));
        record.SetNaturalSize(std::int16_t(std::clamp(naturalW_, 0, 32767)),
                              std::int16_t(std::clamp(naturalH_, 0, 32767)));
    }
    record.SetLowResPicture(RegisteredId(set_, lowRes_));
    record.SetRolloverPicture(RegisteredId(set_, rollover_));
    set_.SetModified(true);
    return made;
}

}  // namespace orvo
