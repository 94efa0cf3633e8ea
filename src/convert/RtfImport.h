// RTF documents as pages of a hypertext: fonts, colours and styles become paragraph styles, the
// text becomes markup, pictures, tables and annotations become objects. Long documents are cut
// into pages at their breaks, headings and a paragraph limit, with an optional index page;
// help-compiler RTF gives pages their context ids, titles and keywords, and its hidden jump
// texts become links between the imported pages. The same reader turns pasted RTF into markup.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace orvo {

class IWordProcessor;
class TKYTset;
class TKYToggetto;
class TRtfPage;

inline constexpr std::string_view kRtfOutOfMemory =
    "Memoria insufficiente per leggere il file. Per leggere il file, provate a dividere il testo "
    "in 2 o 3 capitoli, e a salvarli separatamente.";
inline constexpr std::string_view kRtfProblems =
    "Problemi con alcuni dei files da importare. Controllare che non siano in utilizzo in "
    "un'altra applicazione.\r\n";
inline constexpr std::string_view kRtfMisuse = "Mi sa che non stai usando l'oggetto correttamente.";
inline constexpr std::string_view kHelpReportCaption = "Report importazione Win Help:";
inline constexpr std::string_view kIndexPageText = "INDICE";

/// The options the import dialog sets before each run.
struct RtfImportOptions {
    /// Split at headings and build an index page ("usa i titoli nell' RTF per generare un
    /// indice e dividere in pagine").
    bool buildIndex = false;
    /// One index page for all the files of a run.
    bool commonIndex = false;
    /// Heading levels above this one do not split (1..15).
    int headingLimit = 4;
    /// A page holds at most this many paragraphs when splitting (6..300).
    int maxParagraphs = 100;
    /// Every picture is stored as a GIF, metafiles too.
    bool convertToGif = false;
    /// Background colour (0x00BBGGRR) and picture (an immagine identifier, -1 none) of new pages.
    std::int32_t backgroundColour = 0xFFFFFF;
    std::int32_t backgroundPicture = -1;
    /// Help-compiler RTF: topic footnotes and jump texts.
    bool helpMode = false;
    /// Fonts and styles of the document left out (never set by the dialogs).
    bool ignoreFonts = false;
    bool ignoreStyles = false;
};

/// What a help import reports in its window.
struct HelpImportReport {
    std::vector<std::string> pages;        // "(IDH_ONE:3)......" + ".." + title
    std::vector<std::string> keywords;     // the keywords made or reused
    std::vector<std::string> failedLinks;  // link texts without a target
    /// The window's text: the three headed lists, "nessuna" under links when none failed.
    std::string Text() const;
};

/// The formatting state of one RTF group, in the layout of a paragraph style's block.
struct TRtfState {
    std::string font = "Times New Roman";  // at most 32 characters
    int size = 12;                         // points
    std::int32_t colour = 0;
    int flags = 0;      // 1 bold, 2 italic, 4 underline, 8 strike
    int position = 0;   // 0 normal, 1 subscript, 2 superscript
    int alignment = 0;  // 0 left, 1 right, 2 centre
    int numbering = 0;  // 0 none, 6 decimal, 10 bullets
    int unit = 1;
    int lineHeight = -32000;                                          // not set
    int firstIndent = 0, left = 10, right = 10, top = 0, bottom = 0;  // pixels
    std::int32_t linkColour = 0xFF0000;
    int linkSize = -1;
    int linkFlags = 4;

    int rtfStyle = 0;       // the RTF style number
    int style = 0;          // the hypertext style it maps to
    bool linkText = false;  // double underline (jump text)
    bool hidden = false;
    bool inTable = false;

    // Reading only.
    int fontNumber = -1;
    int rawLeft = -100000;    // the "\li" value before the default margin, when given
    int unicodeSkip = 1;      // "\uc"
    int destination = 0;      // what the group's text is
    bool owner = false;       // this group opened its destination
    bool fieldOwner = false;  // this group's end ends a web link
};

/// The stack of group states: a group start pushes a copy, its end pops it.
class TRtfStateList {
public:
    TRtfStateList() { states_.emplace_back(); }
    TRtfState& Top() { return states_.back(); }
    const TRtfState& Top() const { return states_.back(); }
    std::size_t Depth() const { return states_.size(); }
    void Push() { states_.push_back(states_.back()); }
    /// Pops the top state into `popped`; false when only the outermost one is left.
    bool Pop(TRtfState& popped);

private:
    std::vector<TRtfState> states_;
};

/// The document head: font table, colour table, default font and style map.
class TRtfHeader {
public:
    struct Font {
        std::string name;
        int codePage = 0;  // 0: the document's
    };
    std::map<int, Font> fonts;
    std::vector<std::int32_t> colours;
    int defaultFont = 0;
    int codePage = 1252;
    /// RTF style number to the hypertext style and to the RTF style's name.
    std::map<int, int> styleMap;
    std::map<int, std::string> styleNames;
    /// The state each RTF style gives a paragraph.
    std::map<int, TRtfState> styleStates;

    /// The name of font `number`; "Times New Roman" for an unknown one.
    std::string FontName(int number) const;
    /// Colour `index` of the table; 0 for one the table does not hold.
    std::int32_t Colour(int index) const;
};

/// One import run over a list of files, or one fragment of pasted RTF.
class TRtfImp {
public:
    TRtfImp(TKYTset& set, RtfImportOptions options);
    ~TRtfImp();
    TRtfImp(const TRtfImp&) = delete;
    TRtfImp& operator=(const TRtfImp&) = delete;

    /// Imports each file: with `split` several pages per file (at page and section breaks,
    /// headings and the paragraph limit), else one page per file. Returns the number of the
    /// first page made (or of the index page), 0 when none was made. A file that cannot be read
    /// or is no RTF is listed in one failure at the end (kRtfProblems and the names).
    std::int32_t ImportFiles(const std::vector<std::string>& names, bool split);
    /// Word-processor documents (".doc", ".docx", ".odt", ...): each converted to RTF by the
    /// word processor into the working folder's "rtftmpI", imported as ImportFiles does, and
    /// the RTF deleted. Without a word processor, or when it fails, the failure is
    /// kNoWordProcessor and what was not converted is not imported.
    std::int32_t ImportDocuments(const std::vector<std::string>& names, bool split,
                                 IWordProcessor& processor);
    /// The markup of an RTF text (the clipboard's) whose objects (tables, pictures, comments,
    /// links) are registered with the hypertext and named by their codes; no page is made.
    /// Text that is not RTF gives one empty paragraph "<Z S0 >".
    std::string ImportFragment(std::string_view rtf, int* paragraphs = nullptr);

    /// Called with (index, count, phase) as files and pages are read.
    std::function<void(int pag, int tot, int phase)> OnProgress;

    /// Pages made by the last ImportFiles, in order (the index page first when there is one).
    std::vector<std::int32_t> ImportedPages;
    /// The files the last ImportFiles could not import.
    std::vector<std::string> Problems;
    /// What went wrong in the last import, in order, for the caller to show; the pages made
    /// despite it are in ImportedPages.
    std::vector<std::string> Failures;
    HelpImportReport Report;

    const RtfImportOptions& Options() const { return options_; }
    TKYTset& Set() { return set_; }

    // Shared by the pages of one run.
    int footnoteCounter = 1;
    int pictureCounter = 0;
    std::int32_t indexPage = -1;
    std::string indexMarkup;
    /// Pages of this hypertext by help context (in capitals).
    std::map<std::string, std::int32_t> contexts;
    void CompleteIndex();

private:
    TKYTset& set_;
    RtfImportOptions options_;
};

/// True for the extensions of documents a word processor converts to RTF first (".doc",
/// ".docx", ".odt", ".wpd", ".wri"), in any case.
bool IsWordProcessorExtension(std::string_view extension);

}  // namespace orvo
