// The picture window ("Inserisci immagine:") without its widgets: which tabs a mode shows, the
// search in a list of names, bitmaps converted to GIF or JPEG in the working folder, the
// picture objects made from a file or copied from another hypertext, and the image objects
// that show a picture, inserted at the caret of the box being edited.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "model/uKYTogge.h"

namespace orvo {

class TKYTTextAttributes;
struct Bitmap;
class TKYTset;

/// What the caller wants from the window.
enum class PictureWindowMode : int {
    Single = 0,       // one picture from any source
    AlbumOnly = 1,    // one picture of the internal album
    DiskOrOther = 2,  // one picture from disk or from another hypertext
    DroppedFile = 3,  // one picture from disk, the file given in advance
    Several = 4,      // several pictures from any source, to be inserted into a page
};

enum class PictureTab : int { Album = 0, Disk = 1, Other = 2 };

/// The tabs a mode shows and the one that is active when the window opens.
struct PictureTabs {
    bool album = false;
    bool disk = false;
    bool other = false;
    PictureTab active = PictureTab::Album;
};
/// `hasPictures`: whether the open hypertext holds a picture (modes 0 and 4 open on
/// "Da disco" when it does not).
PictureTabs TabsForMode(PictureWindowMode mode, bool hasPictures);

/// The file masks of "Da disco" and "Da altri ipertesti".
inline constexpr std::string_view kPictureFileMask = "*.gif;*.jpg;*.jpeg;*.bmp;*.wmf;";
inline constexpr std::string_view kHypertextFileMask = "*.kyt;";
inline constexpr int kDefaultImportQuality = 25;
inline constexpr std::string_view kForeignPicture = "Different AEHset in AddImmagineNew!";

/// The first name, from `start` on and wrapping round, that begins with `prefix` (ignoring
/// case, Windows-1252); -1 when none does or the prefix is empty.
int FindNameByPrefix(const std::vector<std::string>& names, std::string_view prefix, int start = 0);

/// The "Clipart" folder: beside the program, else the program's folder cut after the fourth
/// separator counted from its end (whole when it has fewer) followed by "Clipart".
std::string ClipartFolder(std::string_view programFolder, bool besideExists);

/// A picture the window hands back: one the hypertext holds already, or a new one not
/// registered yet (owned here until it is registered or dropped).
class ChosenPicture {
public:
    ChosenPicture() = default;
    explicit ChosenPicture(TKYToggetto* existing) : existing_(existing) {}
    explicit ChosenPicture(std::unique_ptr<TKYToggetto> fresh) : fresh_(std::move(fresh)) {}

    TKYToggetto* Get() const { return fresh_ ? fresh_.get() : existing_; }
    explicit operator bool() const { return Get() != nullptr; }
    /// Whether the picture is one the hypertext holds.
    bool Registered() const { return existing_ != nullptr; }
    /// Registers a new picture in its hypertext (nothing for one held already) and returns
    /// the object the hypertext holds.
    TKYToggetto* Register(TKYTset& set);
    /// Hands a new picture over to the caller (none for a held one, which stays chosen).
    std::unique_ptr<TKYToggetto> Release() { return std::move(fresh_); }
    /// Drops a new picture; forgets a held one.
    void Reset() {
        fresh_.reset();
        existing_ = nullptr;
    }

private:
    std::unique_ptr<TKYToggetto> fresh_;
    TKYToggetto* existing_ = nullptr;
};

/// Whether a file on "Da disco" is used as it is (".gif", ".jpg", ".jpeg", ".wmf", any case).
bool UsedUnchanged(std::string_view file);

enum class ConversionFormat { Gif, Jpeg };

/// A bitmap converted for the import panel.
struct ConvertedPicture {
    std::string file;  // in the hypertext's working folder (Windows-1252)
    std::int64_t sourceSize = 0;
    std::int64_t convertedSize = 0;
};
/// Converts a picture file (a bitmap) into the working folder: the hypertext's temporary name
/// of the file's name with ".gif" or ".jpg"; a GIF made transparent when `transparent`, a JPEG
/// at `quality` (0..100).
Result<ConvertedPicture> ConvertPictureFile(TKYTset& set, const std::string& file,
                                            ConversionFormat format, int quality, bool transparent);

/// The clipboard picture window ("Da cartella appunti"): a bitmap is converted to the
/// hypertext's temporary name of "tmpclip" with ".gif" or ".jpg", a metafile saved to that of
/// "tmpClip" with ".emf" or ".wmf"; a metafile larger than 100000 bytes is shown in red.
inline constexpr std::string_view kClipBitmapFile = "tmpclip.pip";
inline constexpr std::string_view kClipMetafileStem = "tmpClip";
inline constexpr std::int64_t kLargeMetafile = 100000;
/// A bitmap taken from the clipboard converted as ConvertPictureFile converts a file; its
/// source size is the metafile's size when one was offered (`metafileSize` > 0), otherwise
/// width x height x 2.
Result<ConvertedPicture> ConvertClipboardBitmap(TKYTset& set, const Bitmap& pixels,
                                                ConversionFormat format, int quality,
                                                bool transparent, std::int64_t metafileSize = 0);
/// A metafile taken from the clipboard saved as it is (both sizes are its own).
Result<ConvertedPicture> SaveClipboardMetafile(TKYTset& set, const std::string& bytes,
                                               bool enhanced);

/// A picture object of `set` made from a picture file as the hypertext makes one when a file
/// is added, but not registered: named `name` (cut to 71), the file's bytes held in memory
/// (the file may go at once), its size, subtype 0 for a GIF, transparency -1 only for a
/// transparent GIF. The hypertext's picture with the same bytes when it holds one.
Result<ChosenPicture> PictureFromFile(TKYTset& set, const std::string& file, std::string_view name);

/// A picture of another hypertext copied into `set` through the object stream, or the
/// picture of `set` with the same content. Only pictures are copied.
Result<ChosenPicture> CopyPictureFromOther(TKYTset& set, const TKYToggetto& picture);

/// A new image object that shows `picture` (registered first when it is new): centred, no
/// border, the picture's size as natural and shown size, its clickable zones, its name as
/// alternative text while the hypertext's automatic alternative text is on. None, with the
/// error box "Different AEHset in AddImmagineNew!", for a picture of another hypertext.
std::unique_ptr<TKYToggetto> AddImmagineNew(TKYTset& set, ChosenPicture& picture);

/// Inserts an image of each picture, in order, at the caret of the box `text` edits (each an
/// undo step of the box). Returns how many were inserted.
int InsertPictures(TKYTset& set, TKYTTextAttributes& text, std::vector<ChosenPicture>& pictures);

}  // namespace orvo
