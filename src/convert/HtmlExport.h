// TKYTtoHtml: the hypertext as a web site. One file per page (head, marker comment, body),
// secondary pages, image and object files and the generated style sheet.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "convert/uKYTexp.h"

namespace orvo {

class TKYToggetto;
struct FrameNode;

/// What the page writer hands to every body writer.
struct TExportContext {
    std::vector<TKYToggetto*>* images = nullptr;       // files still to be written, no duplicates
    std::vector<std::int32_t>* secondaries = nullptr;  // pages still to be exported (may be absent)
    std::vector<TKYToggetto*> rollovers;               // rollover images of this page
    int mode = 0;                                      // 0 normal page, 1 secondary page
    std::uint8_t scriptFlags = 0;  // 1 browser check, 2 rollover, 4 close, 8 open with features
    const TKYToggetto* page = nullptr;       // the page being written
    int forms = 0;                           // forms started so far on the page
    std::vector<std::int32_t> pagesWritten;  // pages whose text is being written into it
    int pageDepth = 0;
};

enum class TExpCSS { ecUseCSS, ecEmulateFF };

/// The message of a run whose folder cannot be made.
inline constexpr const char* kUnableToCreateDirectory = "Unable to create directory";

/// What ReadPageMarker finds in a page file.
struct PageMarker {
    std::int32_t page = 0;
    std::string documentFile;  // empty unless it names a ".kyt" file
};

class TKYTtoHtml : public TKYTconv {
public:
    explicit TKYTtoHtml(TKYTset* set = nullptr) : TKYTconv(set) {}

    bool ExpSepImage = false;
    bool ExpOrigName = false;
    int ExpTipoExt = 1;  // 0 ".htm", 1 ".html"
    TExpCSS ExpCSS = TExpCSS::ecUseCSS;
    bool ImpPreview = false;
    bool ExpAlt = true;
    /// Objects met that could not be written (an image whose picture is missing, a stored
    /// picture in a text), by kind, with how many.
    std::map<int, int> UnwrittenKinds;

    /// ".htm" or ".html".
    std::string PageExtension() const { return ExpTipoExt == 0 ? ".htm" : ".html"; }

    /// The relative name a page (mode 0 normal, 1 secondary, 2 as a file target), image or
    /// object file is written and referred to under; "/" separates folders.
    std::string ObjectFileName(const TKYToggetto& object, int mode = 0) const;
    /// The export prefix as the start of a file name (FilePrefix).
    std::string SafePrefix() const;

    Status ExportPages(const std::vector<std::int32_t>& numbers) override;
    /// Every page from 0 to the page count minus 1, with `withAliases` each followed by its
    /// alias page; images met are appended to `images` (the caller writes them with
    /// WriteObjectFiles).
    Status ExportAllPages(std::vector<TKYToggetto*>& images, bool withAliases = false);
    /// One page and its secondary pages; each page written is appended to `exported`.
    Status ExportPage(std::vector<TKYToggetto*>& images, std::vector<std::int32_t>& exported,
                      std::int32_t number);
    /// The export window's run: the listed pages as ExportPages does, each main page followed
    /// by its alias page when it has one; images met are appended to `images` (written by
    /// WriteObjectFiles).
    Status ExportPagesWithAliases(const std::vector<std::int32_t>& numbers,
                                  std::vector<TKYToggetto*>& images);
    /// Writes the collected image and object files (phase 3).
    Status WriteObjectFiles(const std::vector<TKYToggetto*>& images);

    /// Writes the style sheet file into the export folder.
    Status WriteStyleSheet();
    /// The style sheet's bytes.
    std::string StyleSheet() const;
    std::string StyleSheetName() const;

    /// One complete page file.
    std::string WritePage(const TKYToggetto& page, std::vector<std::int32_t>* secondaries,
                          std::vector<TKYToggetto*>& images, int mode);
    /// The body of a page: part 0 content only, 1 BODY tag and content, 6 BODY tag only.
    std::string WriteBody(int part, TExportContext& context, const TKYToggetto& page);

    /// The frame-set document of a frame tree; the pages its frames show join the secondary
    /// pages.
    std::string WriteFrameSet(const FrameNode& frame, TExportContext& context);

    /// Whether a file name is one the export writes itself (style sheet, page files in any
    /// mode, generated picture and object names), compared without case.
    bool IsGeneratedName(std::string_view name) const;
    /// The alias file name of a page, empty when it has none, the name is not a plain file
    /// name inside the export folder, or it is a name the export writes itself.
    std::string AliasFileName(const TKYToggetto& page) const;
    /// Writes the alias page into `directory`; returns its full path (empty when none).
    Result<std::string> WriteAliasPage(const TKYToggetto& page, const std::string& directory);
    std::string AliasPage(const TKYToggetto& page);

    /// Reads back the marker comment of a page file (at most 100 lines are read).
    static PageMarker ReadPageMarker(const std::string& file);
    static PageMarker ReadPageMarkerText(std::string_view text);

private:
    Status MakeExportFolder() const;
    /// The original last name component an object keeps, empty when it gets a generated one.
    std::string KeptFileName(const TKYToggetto& object) const;
    /// Whether an object before `object` in object order keeps `name` (without case).
    bool NameHeldBefore(const TKYToggetto& object, std::string_view name) const;
    Status WriteOne(const std::string& name, const std::string& bytes) const;
    std::string BodyTag(const TKYToggetto& page, TExportContext& context, bool withBase);
    std::string MarkerComment(const TKYToggetto& page) const;
    /// The full path of the document file.
    std::string DocumentPath() const;
    Status ExportList(const std::vector<std::int32_t>& numbers, std::vector<TKYToggetto*>& images,
                      std::vector<std::int32_t>* exported, bool single, bool aliases = false);
};

/// The HTML of one Windows-1252 character of a text.
std::string EscapeChar(unsigned char ch);
/// Text from data written into HTML (titles, keywords, attribute values): every character
/// escaped, the double quote as "&quot;".
std::string EscapeText(std::string_view text);

}  // namespace orvo
