// TKYTtortf: pages of a hypertext as RTF. One document for a list of pages, one document per
// page, an RTF text for the clipboard, and the help-compiler variant in which every page is a
// topic with its footnotes, links are hidden jump texts and macros, pictures are bitmap
// references, and a help project file is written beside the RTF.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/Result.h"
#include "convert/uKYTexp.h"

namespace orvo {

class ITextMeasurer;
class IShell;
class ISettings;
class IWordProcessor;
class TKYToggetto;
class TKYTtesto;

/// The question asked once when the body of a one-file export grows past the limit.
inline constexpr std::string_view kRtfLargeQuestion =
    "Il file ha superato i 5Mb e potrebbe essere lento da consultare con un wordprocessor. "
    "Potrebbe essere consigliabile esportare due o tre gruppi di pagine, dividendo in pi\xF9 "
    "files. Proseguo l'export?";
inline constexpr std::string_view kWriteError = "Errore nella scrittura file ";
inline constexpr std::string_view kTempPictureError = "Problemi scrivendo il file temporaneo...";
/// The failure when the help compiler is to be started but no compiler is configured.
inline constexpr std::string_view kNoHelpCompiler =
    "Nessun compilatore di guide configurato (HcpPath).";

/// The captions of the export formats.
inline constexpr std::string_view kRtfOneFileCaption =
    "RTF (Word, Word Perfect, Publisher, ...): un solo file";
inline constexpr std::string_view kRtfPerPageCaption =
    "RTF (Word, Word Perfect, Publisher, ...): un file per ogni pagina";
inline constexpr std::string_view kRtfHelpCaption = "RTF (WinHelp Compiler): un solo file";

/// What the export dialog keeps for an RTF format in its settings section "exp\\" + format.
struct RtfFormatOptions {
    bool runCompiler = false;       // "runHcp"
    bool titlesAsKeywords = false;  // "runTitKey"
    bool useRegistered = true;      // "runDefaultHcp"
};
RtfFormatOptions ReadRtfFormatOptions(const ISettings& settings, int format);

/// The objects a text in working form names: a 0x6F code one of the text's links, a 0xFF code
/// one of its page objects, any other code an object of the hypertext (for ResolveObject).
std::function<TKYToggetto*(std::int32_t code)> WorkingTextObjects(const TKYTset& set,
                                                                  const TKYTtesto& text);

/// The parts WriteRtfBody writes.
enum RtfPart : int { rpPage = 0, rpHeader = 1, rpFooter = 2 };

class TKYTtortf : public TKYTconv {
public:
    /// `measurer` gives each font's family and pitch for the font table.
    TKYTtortf(TKYTset* set, ITextMeasurer& measurer);

    bool HelpMode = false;
    bool TitlesAsKeywords = false;
    std::int32_t PaperWidth = 11905, PaperHeight = 16837;
    std::int32_t MarginTop = 1417, MarginBottom = 1417, MarginLeft = 1417, MarginRight = 1417;
    /// The body size past which a one-file export asks whether to go on.
    std::int64_t LargeBodyLimit = 5000000;
    /// Resolves the object codes of a text given to ExportText (a clipboard text names its
    /// own objects); without it codes name the hypertext's objects.
    std::function<TKYToggetto*(std::int32_t code)> ResolveObject;

    bool FragmentMode() const { return fragment_; }

    /// Fragment mode: one markup text as a complete RTF document followed by one 0x00 byte.
    /// The fonts and styles used are forgotten afterwards; the colours are kept.
    std::string ExportText(std::string_view markup);
    /// Every listed page into ExportFileName, through "rtfBody.tmp" in the working folder.
    Status ExportPages(const std::vector<std::int32_t>& numbers) override;
    /// One page into ExportFileName.
    Status ExportPage(std::int32_t number);
    /// Each listed page into ExportPath + PageFileName(page) (progress phase 1).
    Status ExportPerPage(const std::vector<std::int32_t>& numbers);
    /// Help mode, ExportPages, then the ".HPJ" beside ExportFileName.
    Status ExportHelp(const std::vector<std::int32_t>& numbers);

    /// FilePrefix + "index.rtf" for the home page, else FilePrefix + 6 hexadecimal digits.
    std::string PageFileName(const TKYToggetto& page) const;
    /// The body of one markup text of a page (rpPage), a header (rpHeader) or a footer (rpFooter).
    std::string WriteRtfBody(std::string_view markup, int part);
    /// The document head: font, colour and style tables, information, page setup.
    std::string DocumentHeader();
    /// The ".HPJ" text of the last help export.
    std::string HelpProjectFile(const std::vector<std::int32_t>& numbers) const;
    /// ExportFileName with its extension replaced by ".HPJ".
    std::string HelpProjectName() const;

    /// The work of export format 1 (every page into `folder` + `mainFile`), 2 (one file per
    /// page into `folder`), 3 (the help variant into `folder` + `mainFile`, titles as keywords
    /// and the compiler as the settings of "exp\\3" say), 5 and 6 (formats 1 and 2 into the
    /// working folder's "rtftmp", then each file made a ".doc" document in `folder` by the word
    /// processor, progress phase 3). Other formats are refused.
    Status ExportFormat(int format, const std::vector<std::int32_t>& numbers,
                        const std::string& folder, const std::string& mainFile, IShell& shell,
                        const ISettings& settings, IWordProcessor* wordProcessor = nullptr);

    /// Deletes the old ".hlp" and starts the help compiler on the project file: the program
    /// registered for ".HPJ" files when `useRegistered`, else the "HcpPath" of the "options"
    /// settings with the project file as its one argument.
    Status StartHelpCompiler(IShell& shell, const ISettings& settings, bool useRegistered);

    /// The windows met by special links during the last help export.
    const std::vector<std::string>& Windows() const { return windows_; }
    const std::vector<std::string>& Fonts() const { return fonts_; }
    const std::vector<std::int32_t>& Colours() const { return colours_; }

    // Used by the body writer.
    int FontIndex(std::string_view name);
    int ColourIndex(std::int32_t bgr);
    int StyleIndex(std::int32_t number);
    void AddWindow(const std::string& name);
    TKYToggetto* Resolve(std::int32_t code) const;
    /// The context id of a page of this hypertext.
    std::string ContextIdOf(const TKYToggetto& page) const;
    /// Where pictures of the help variant are written: ExportFileName's folder.
    std::string PictureFolder() const;
    /// Names of bitmaps already written in this export.
    std::vector<std::string>& WrittenBitmaps() { return bitmaps_; }
    ITextMeasurer& Measurer() { return measurer_; }
    /// Reports a failure once per export.
    void Report(std::string_view text);

private:
    std::string HeaderFooterGroup(const char* word, std::int32_t page, int part);
    Status WriteTarget(const std::string& name, std::string_view head, std::string_view body);
    std::string StyleSheet();

    ITextMeasurer& measurer_;
    bool fragment_ = false;
    void ForgetFontsAndStyles();
    void ForgetColours();

    // Each list in order of first use, with the index of each entry.
    std::vector<std::string> fonts_;
    std::unordered_map<std::string, int> fontIndex_;
    std::vector<std::int32_t> colours_;
    std::unordered_map<std::int32_t, int> colourIndex_;
    std::vector<std::int32_t> styles_;
    std::unordered_map<std::int32_t, int> styleIndex_;
    std::vector<std::string> windows_;
    std::vector<std::string> bitmaps_;
    std::vector<std::string> reported_;
    bool perPage_ = false;
    int listCounter_ = 1;

    friend class RtfBodyWriter;
};

}  // namespace orvo
