// The image properties window ("Proprietà immagine") without its widgets: the fields of an
// image object (alternative text, alignment, border, size in pixels or in percent of the
// picture's own size, low-resolution and roll-over pictures, the parameters written into its
// IMG tag), what Ok writes into the image record, and a picture replaced everywhere in the
// hypertext.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/PictureWindowRules.h"

namespace orvo {

class TKYTset;
class TKYToggetto;

/// The choices of "Posizione:", in order; the record stores 3 + the index.
inline constexpr std::string_view kImagePositions[] = {"Basso", "Centro", "Alto"};
inline constexpr std::string_view kImgParametersNote =
    "E' possibile inserire  parametri HTML che saranno inseriti nel tag <IMG>, senza alcun "
    "controllo.";
/// The caption of "Rimpiazza" and the mark its blinking adds and removes.
inline constexpr std::string_view kReplaceCaption = "Rimpiazza";

/// A picture's content and record given to another picture, which keeps its identifier: every
/// image that shows it shows the new picture. A picture given itself, or the same bytes,
/// changes nothing (false). Only pictures take another's content.
bool ReplaceContent(TKYTset& set, TKYToggetto& picture, const TKYToggetto& source);

/// The codes of the pages whose stored text shows `picture` in an image (as picture,
/// low-resolution or roll-over picture), in page order. `editedPage` (a page code, -1 none) is
/// the page being edited that holds the image whose properties are shown: it is listed in its
/// place even while its stored text does not show the picture yet.
std::vector<std::int32_t> PagesShowingPicture(const TKYTset& set, std::int32_t pictureId,
                                              std::int32_t editedPage = -1);

/// An image of `picture` after the picture took another's content: its natural and shown size
/// become the picture's, its clickable zones scaled from the old shown size. False when its
/// natural size was the picture's already (nothing changes).
bool FitImageToPicture(TKYToggetto& image, const TKYToggetto& picture);

class ImagePropertiesRules {
public:
    explicit ImagePropertiesRules(TKYTset& set) : set_(set) {}

    /// An existing image; `pasted` (when given) is a pasted picture that replaces the one the
    /// image shows, its size becoming the natural size.
    void LoadImage(const TKYToggetto& image, ChosenPicture pasted = {});
    /// A new image for a picture: "IMG " + its name, centred, no border, its own size.
    void LoadNew(ChosenPicture picture);

    // The fields, as the window shows them.
    std::string alternativeText;  // Windows-1252
    int position = 1;             // index of kImagePositions
    bool border = false;

    /// The two size fields (pixels, or percent while Percent()).
    int SizeX() const { return sizeX_; }
    int SizeY() const { return sizeY_; }
    void SetSize(int x, int y) {
        sizeX_ = x;
        sizeY_ = y;
    }
    bool Percent() const { return percent_; }
    /// Turns the fields into percent of the natural size or back into pixels. Refused (false)
    /// for a picture with no size on an axis.
    bool SetPercent(bool on);
    /// Whether "Percentuale" can be ticked.
    bool PercentAllowed() const { return naturalW_ > 0 && naturalH_ > 0; }
    int NaturalWidth() const { return naturalW_; }
    int NaturalHeight() const { return naturalH_; }
    /// The size in pixels Ok stores (1..32767 on each axis).
    std::pair<int, int> ShownSize() const;

    /// The picture shown, and the low-resolution and roll-over pictures (may be empty).
    const ChosenPicture& Picture() const { return picture_; }
    const ChosenPicture& LowRes() const { return lowRes_; }
    const ChosenPicture& Rollover() const { return rollover_; }
    void SetLowRes(ChosenPicture p) { lowRes_ = std::move(p); }
    void SetRollover(ChosenPicture p) { rollover_ = std::move(p); }

    /// The text written into the IMG tag; the stream keeps the header it was loaded with.
    std::string ImgParameters() const { return imgCode_; }
    void SetImgParameters(std::string code) { imgCode_ = std::move(code); }

    /// The replacement chosen for "Rimpiazza".
    const ChosenPicture& Replacement() const { return replacement_; }
    void SetReplacement(ChosenPicture p) { replacement_ = std::move(p); }
    /// "Rimpiazza": a registered picture takes the replacement's content everywhere, every image
    /// that shows it the new natural size with its clickable zones scaled to it; an
    /// unregistered one is the replacement from now on. The size becomes the new natural size
    /// in pixels. False with no replacement or when nothing changed.
    bool ReplaceEverywhere();

    /// Ok. `image` is the image edited (its record changed in place) or none: then a new image
    /// object is made and returned. The pictures not yet in the hypertext are registered.
    std::unique_ptr<TKYToggetto> Apply(TKYToggetto* image);

private:
    void LoadPictureSize();

    TKYTset& set_;
    ChosenPicture picture_;
    ChosenPicture lowRes_;
    ChosenPicture rollover_;
    ChosenPicture replacement_;
    int sizeX_ = 0, sizeY_ = 0;
    int naturalW_ = 0, naturalH_ = 0;
    bool percent_ = false;
    bool pictureChanged_ = false;          // new, pasted or replaced: the zones follow the picture
    const TKYToggetto* edited_ = nullptr;  // the image loaded (none for a new one)
    bool scaleZones_ = false;  // its picture replaced everywhere: its zones follow its size
    std::string auxHeader_;    // the stream's header as loaded (int32 length and header bytes)
    std::string imgCode_;
};

}  // namespace orvo
