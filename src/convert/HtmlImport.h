// Web pages as pages of a hypertext: one forward scan over a page's bytes with a stack of
// formatting states (no document tree, no validation), the text written as markup and the tags
// the model knows made into objects: links, pictures and their maps, tables, comments and
// scripts (kept as markers so the export can write them back). The head gives the page its
// title, keywords and head code; a linked style sheet gives paragraph styles. Links between the
// files of one run become links between their pages (ResolveImportedLinks).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvo {

class TKYTset;
class TKYToggetto;

/// The character and paragraph values of one level of the scan.
struct THt2State {
    std::string font = "Times New Roman";  // at most 32 characters
    int size = 12;                         // points
    std::int32_t colour = 0;               // 0x00BBGGRR
    int flags = 0;                         // 1 bold, 2 italic, 4 underline, 8 strike
    int position = 0;                      // 0 normal, 1 subscript, 2 superscript
    // Paragraph values, as a paragraph style holds them.
    int alignment = 0;
    int numbering = 0;
    int unit = 1;
    int lineHeight = -32000;
    int firstIndent = 0, left = 10, right = 10, top = 0, bottom = 0;
    std::int32_t linkColour = 0xFF0000;
    int linkSize = -1;
    int linkFlags = 4;
    int style = 0;
    bool classStyled = false;  // the style came from a style-sheet class
    int table = -1;            // the table open at this level (index into the scan's tables)

    void TakeCharacter(const THt2State& from);
    void TakeBlock(const THt2State& from);
};

/// The saved states of the scan, each tagged with the level that pushed it.
class THt2StateList {
public:
    enum Level : int { lTable = 0, lCell = 1, lBlock = 2, lCharacter = 3, lPosition = 4 };
    /// A hostile page cannot grow the stack beyond this; deeper pushes are not kept.
    static constexpr std::size_t kMaxDepth = 2000;

    THt2State current;

    /// Saves a copy of the current state under `level`.
    void Push(Level level);
    /// The end of a level: restores as that level's rule says; false when nothing matched.
    bool PopTable();
    bool PopCell();
    bool PopBlock();
    bool PopCharacter();
    bool PopPosition();
    std::size_t Depth() const { return saved_.size(); }
    /// The tables open on the stack, innermost first (the current state's first).
    std::vector<int> OpenTables() const;

private:
    struct Saved {
        Level level;
        THt2State state;
    };
    std::vector<Saved> saved_;
};

/// What one run of the importer is given.
struct HtmlImportOptions {
    /// Stop a page's scan once its markup exceeds 4999 characters (the link window's preview).
    bool ImpPreview = false;
    /// New pages' background colour (0x00BBGGRR) and picture (identifier, -1 none).
    std::int32_t backgroundColour = 0xFFFFFF;
    std::int32_t backgroundPicture = -1;
    /// Pictures, style sheets and linked pages are read only inside this folder; a link that
    /// leaves it stays a web link. Empty: each file's own folder.
    std::filesystem::path rootFolder;
};

/// One import run over a list of web pages.
class THt2Imp {
public:
    THt2Imp(TKYTset& set, HtmlImportOptions options = {});

    /// One page per existing file, in list order (a missing one is skipped, an error in one
    /// ends only that file's scan). Returns the number of the first page made, 0 when none.
    std::int32_t ImportFiles(const std::vector<std::string>& names);
    /// The markup, title and keywords the scan makes of one page's bytes, without a page
    /// (objects are registered). `fileName` places relative references.
    struct Scanned {
        std::string markup;
        std::string headCode;
        std::string title;
        std::vector<std::string> keywords;
        std::map<std::string, std::string> body;  // BGCOLOR, TEXT, LINK, VLINK, BACKGROUND
    };
    Scanned Scan(std::string_view bytes, const std::string& fileName);

    /// Paragraph styles from a style-sheet file into the class map of the page being read.
    void ImportStyleSheet(const std::string& file);

    /// Called with (index, count, phase) before each file.
    std::function<void(int pag, int tot, int phase)> OnProgress;
    /// The pages the last ImportFiles made, in order.
    std::vector<std::int32_t> ImportedPages;
    /// The language number last declared by a page ("ov_l").
    int language = 1033;
    /// Class name (small letters) to paragraph style, for the page being read.
    std::map<std::string, int> classMap;

    TKYTset& Set() { return set_; }
    const HtmlImportOptions& Options() const { return options_; }

    /// Registers an object a page's scan made in the first free entry of its kind. The entries
    /// this run filled are not searched again, so a page of many links costs one pass.
    std::int32_t Register(std::unique_ptr<TKYToggetto> object);
    /// An object of this run was made free again: the next of its kind may take its entry.
    void Freed(const TKYToggetto& object);
    /// The identifier of a web link: an equal one already in the document (the first in its
    /// list), else `link` registered.
    std::int32_t WebLink(std::unique_ptr<TKYToggetto> link);

private:
    /// What a run knows of the document is forgotten between calls (it may have changed).
    void StartRun();
    Scanned ScanPage(std::string_view bytes, const std::string& fileName);

    TKYTset& set_;
    HtmlImportOptions options_;
    std::array<std::size_t, 32> firstFree_{};                 // per kind: no free entry before it
    std::unordered_map<std::string, std::int32_t> webLinks_;  // name to first equal link
    bool webLinksRead_ = false;
};

/// A page's bytes as Windows-1252: the charset the page declares (a "charset=" in its first
/// 16 KB, or a UTF-8 byte-order mark) chooses the conversion; Windows-1252, ISO-8859-1 and
/// ASCII are taken as they are, other charsets go through iconv (a character Windows-1252 lacks
/// becomes "?"); an undeclared page that is well-formed UTF-8 is read as UTF-8.
std::string HtmlBytesToCp1252(std::string_view bytes);

/// Decodes the character reference at text[pos] ("&"): names of HTML 4 (those Windows-1252
/// holds), "&#" decimal and "&#x" hexadecimal numbers (";" optional). Moves pos past it and
/// returns the Windows-1252 byte ("?" for a character it lacks, -1 for nothing: an unknown
/// name leaves the "&" as text, pos moved past the "&" only).
int DecodeHtmlEntity(std::string_view text, std::size_t& pos);

/// True when `path` lies inside `folder` (both made absolute and normal, links not followed).
bool InsideFolder(const std::filesystem::path& path, const std::filesystem::path& folder);

/// The files one page links to: every tag's "HREF" (else "SRC") whose extension is ".htm",
/// ".html" or ".txt", placed by the last "BASE" before it and the page's folder, as full paths
/// in order (repeats kept). Fragments ("#...") are left out. A file that cannot be read adds
/// nothing; a reference that leaves `root` (when given) is left out.
void PageLinks(const std::string& file, std::vector<std::string>& list,
               const std::filesystem::path& root = {});

/// The files reachable from `root` in 1 to levels − 1 steps, each once, in order of discovery
/// (never `root` itself); 0 levels collects nothing. Links are followed only inside the root
/// file's folder.
void CollectLinkedPages(const std::string& root, std::vector<std::string>& pages, int levels);

/// After an import: a special link of automatic import (subtype 6) in a page's text, a zone,
/// a special link's target or a marker's target that names a file imported as a page (its
/// head code's header, compared in capitals) is made a direct link to that page. Links to
/// files not imported stay as they are. A page with no text gets "<Z S0 >".
void ResolveImportedLinks(TKYTset& set);

/// The file a page was imported from (its head code's header), empty when none.
std::string ImportedFileOf(const TKYTset& set, std::int32_t page);

}  // namespace orvo
