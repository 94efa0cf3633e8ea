// The converters of the desktop program and orvo-cli: the main window's HTML and text
// converters over its hypertext. What is not built yet answers "not supported", as
// AbsentConverters does.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/MainFormPorts.h"
#include "convert/HtmlExport.h"
#include "convert/HtmlImport.h"
#include "convert/RtfExport.h"
#include "convert/RtfImport.h"
#include "convert/TextExport.h"

namespace orvo {

class IMessages;
class ITextMeasurer;
class IWordProcessor;
class TKYTset;

/// The extensions of the text import ("ASCII (Blocco note,...)"), in small letters.
bool IsPlainTextExtension(std::string_view extension);

class DocumentConverters final : public IConverters {
public:
    /// `measurer` gives the RTF font table each font's family and pitch.
    DocumentConverters(TKYTset& set, IMessages& messages, ITextMeasurer& measurer);

    /// 1 when a word processor (LibreOffice's soffice on the PATH) can convert ".doc"
    /// documents, else 0: the desktop's probeWordProcessor.
    static int ProbeWordProcessor();

    /// The editor that shows the first page an import made (the desktop makes it after the
    /// converters); without one nothing is shown.
    void AttachEditor(IEditorView* editor) { editor_ = editor; }

    /// The main window's converters, for the options read from the settings.
    TKYTtoHtml& Html() { return html_; }
    TKYTtoTxt& Text() { return txt_; }
    TKYTtortf& Rtf() { return rtf_; }

    /// The options of RTF imports, and whether an RTF file makes several pages.
    RtfImportOptions RtfImport;
    bool RtfSplit = false;
    /// The word processor that turns ".doc", ".docx" and ".odt" into RTF; none: not imported.
    /// One that cannot run (no soffice) still takes them, to say why they are not imported.
    void AttachWordProcessor(IWordProcessor* processor) { wordProcessor_ = processor; }
    /// Levels of links followed from a root page ("Esamina n°", 0 to 200).
    int HtmlLevels = 2;
    /// The "Apri" chooser of the desktop; without one an HTML file is imported.
    using HtmlChooser = std::function<HtmlOpening(const std::string& file, const PageMarker&)>;
    void AttachHtmlChooser(HtmlChooser chooser) { htmlChooser_ = std::move(chooser); }
    /// The import window of the desktop (opened empty, or on the linked pages of a root);
    /// without one, a root's linked pages are imported at once.
    using ImportWindow = std::function<Outcome(const std::string& root)>;
    void AttachImportWindow(ImportWindow window) { importWindow_ = std::move(window); }
    /// Imports web pages as new pages and turns links between them into page links; the
    /// first page made, 0 when none.
    std::int32_t ImportHtml(const std::vector<std::string>& files,
                            const std::filesystem::path& root = {});
    /// Background colour (0x00BBGGRR) and picture (identifier, -1 none) of new web pages.
    std::int32_t HtmlColour = 0xFFFFFF;
    std::int32_t HtmlPicture = -1;
    /// The pages the last import made (any format), in order.
    const std::vector<std::int32_t>& LastImported() const { return lastImported_; }
    /// The editor shows `page` (an import's first page).
    void ShowImported(std::int32_t page) {
        if (editor_) editor_->ShowPage(page);
    }
    /// What the last help-mode RTF import reports ("Report importazione Win Help:").
    const HelpImportReport& LastHelpReport() const { return helpReport_; }
    /// Called after an import whose report lists anything (the desktop shows the report's
    /// window).
    std::function<void(const HelpImportReport&)> onHelpReport;

    bool CanImport(std::string_view extension) const override;
    /// Imports the text, RTF and word-processor files among `files` as new pages and shows
    /// the first page made.
    Outcome ImportFiles(const std::vector<std::string>& files) override;
    Outcome ImportFollowingLinks(const std::string& root) override;
    Outcome OpenImportWindow() override;
    HtmlOpening ChooseHtmlOpening(const std::string& file) override;
    std::optional<std::pair<std::string, int>> ReadPageMarker(const std::string& file) override;
    Outcome OpenExportWindow(const std::string& path) override;
    /// HTML: the page (and what it pulls in) into the folder of `path`; RTF and text: the page
    /// into `path` itself. Failures are shown with their text.
    Outcome ExportPage(PageFormat format, const std::string& path, int page,
                       const std::function<void(int, int, int)>& progress) override;
    /// The current page (or every page, the home page then being opened) as HTML in `folder`.
    PreviewExport ExportForPreview(const std::string& folder, bool allPages, int page) override;
    /// Text pages use style 0 only: nothing to merge.
    void MergeImportedStyles(int firstNewPage) override;
    std::optional<int> PageImportedFrom(const std::string& file) override;

private:
    Outcome Report(const Status& status);

    TKYTset& set_;
    IMessages& messages_;
    IEditorView* editor_ = nullptr;
    IWordProcessor* wordProcessor_ = nullptr;
    HelpImportReport helpReport_;
    HtmlChooser htmlChooser_;
    std::vector<std::int32_t> lastHtmlPages_;
    std::vector<std::int32_t> lastImported_;
    ImportWindow importWindow_;
    TKYTtoHtml html_;
    TKYTtoTxt txt_;
    TKYTtortf rtf_;
};

}  // namespace orvo
