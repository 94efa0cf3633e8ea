// The main window's converters: text import and export, HTML export and preview, the page
// marker of HTML files.
#include "app/DocumentConverters.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>

#include "base/Cp1252.h"
#include "base/Paths.h"
#include "convert/TextWordProcessor.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/IMessages.h"
#include "platform/WordProcessor.h"

namespace orvo {

namespace {

constexpr std::array<std::string_view, 9> kPlainTextExtensions{
    ".txt", ".asc", ".pas", ".c", ".cpp", ".ini", ".h", ".inc", ".dpr"};

// The folder a path lies in, Windows-1252.
std::string FolderOfPath(const std::string& path) {
    return NameOfPath(NativePath(path).parent_path());
}

// Hands the converter's progress (pag, tot, phase) to the controller's (page, phase, total)
// for the time of one call.
class ProgressScope {
public:
    ProgressScope(TKYTconv& converter, const std::function<void(int, int, int)>& progress)
        : converter_(converter), saved_(converter.OnExpProgress) {
        if (progress)
            converter.OnExpProgress = [progress](TKYTconv&, int pag, int tot, int phase) {
                progress(pag, phase, tot);
            };
    }
    ~ProgressScope() { converter_.OnExpProgress = saved_; }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    TKYTconv& converter_;
    TMyExpProgressEvent saved_;
};

}  // namespace

bool IsPlainTextExtension(std::string_view extension) {
    const std::string lower = Lower1252(extension);
    return std::find(kPlainTextExtensions.begin(), kPlainTextExtensions.end(), lower) !=
           kPlainTextExtensions.end();
}

DocumentConverters::DocumentConverters(TKYTset& set, IMessages& messages, ITextMeasurer& measurer)
    : set_(set), messages_(messages), html_(&set), txt_(&set), rtf_(&set, measurer) {}

int DocumentConverters::ProbeWordProcessor() {
    const char* path = std::getenv("PATH");
    return FindOnPath("soffice", path ? path : "").empty() ? 0 : 1;
}

Outcome DocumentConverters::Report(const Status& status) {
    if (status) return Outcome::Done;
    messages_.Error(status.failure().text);
    return Outcome::Failed;
}

bool DocumentConverters::CanImport(std::string_view extension) const {
    const std::string lower = Lower1252(extension);
    if (IsPlainTextExtension(extension) || lower == ".rtf" || lower == ".htm" || lower == ".html")
        return true;
    return IsWordProcessorExtension(extension) && wordProcessor_;
}

Outcome DocumentConverters::ImportFiles(const std::vector<std::string>& files) {
    std::vector<std::string> texts, rtf, documents, pages;
    helpReport_ = {};
    lastImported_.clear();
    for (const std::string& file : files) {
        const std::string extension = ExtensionOf(file);
        if (IsPlainTextExtension(extension))
            texts.push_back(file);
        else if (extension == ".rtf")
            rtf.push_back(file);
        else if (extension == ".htm" || extension == ".html")
            pages.push_back(file);
        else if (IsWordProcessorExtension(extension) && CanImport(extension))
            documents.push_back(file);
    }
    if (texts.empty() && rtf.empty() && documents.empty() && pages.empty())
        return Outcome::NotSupported;
    std::vector<std::int32_t> made;
    if (!pages.empty()) {
        ImportHtml(pages);
        made = lastHtmlPages_;
    }
    if (!texts.empty()) {
        txt_.ImportFiles(texts);
        made.insert(made.end(), txt_.ImportedPages.begin(), txt_.ImportedPages.end());
    }
    if (!rtf.empty() || !documents.empty()) {
        TRtfImp importer(set_, RtfImport);
        if (!rtf.empty()) {
            importer.ImportFiles(rtf, RtfSplit);
            made.insert(made.end(), importer.ImportedPages.begin(), importer.ImportedPages.end());
            for (const std::string& failure : importer.Failures) messages_.Error(failure);
        }
        if (!documents.empty()) {
            importer.ImportDocuments(documents, RtfSplit, *wordProcessor_);
            made.insert(made.end(), importer.ImportedPages.begin(), importer.ImportedPages.end());
            for (const std::string& failure : importer.Failures) messages_.Error(failure);
        }
        helpReport_ = importer.Report;
    }
    lastImported_ = made;
    // Files that cannot be read are skipped (the RTF import lists them): nothing changed.
    if (made.empty()) return Outcome::Failed;
    if (editor_) editor_->ShowPage(made.front());
    const HelpImportReport& report = helpReport_;
    if (onHelpReport &&
        (!report.pages.empty() || !report.keywords.empty() || !report.failedLinks.empty()))
        onHelpReport(report);
    return Outcome::Done;
}

std::int32_t DocumentConverters::ImportHtml(const std::vector<std::string>& files,
                                            const std::filesystem::path& root) {
    HtmlImportOptions options;
    options.rootFolder = root;
    options.backgroundColour = HtmlColour;
    options.backgroundPicture = HtmlPicture;
    THt2Imp importer(set_, options);
    if (html_.OnExpProgress)
        importer.OnProgress = [this](int pag, int tot, int phase) {
            html_.OnExpProgress(html_, pag, tot, phase);
        };
    const std::int32_t first = importer.ImportFiles(files);
    lastHtmlPages_ = importer.ImportedPages;
    lastImported_ = lastHtmlPages_;
    ResolveImportedLinks(set_);
    return first;
}

Outcome DocumentConverters::ImportFollowingLinks(const std::string& root) {
    if (importWindow_) return importWindow_(root);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(NativePath(root), ec)) return Outcome::Failed;
    std::vector<std::string> pages;
    CollectLinkedPages(root, pages, HtmlLevels);
    pages.insert(pages.begin(), NameOfPath(std::filesystem::absolute(NativePath(root), ec)));
    ImportHtml(pages, std::filesystem::absolute(NativePath(root), ec).parent_path());
    if (lastHtmlPages_.empty()) return Outcome::Failed;
    if (editor_) editor_->ShowPage(lastHtmlPages_.front());
    return Outcome::Done;
}

Outcome DocumentConverters::OpenImportWindow() {
    if (importWindow_) return importWindow_({});
    return Outcome::NotSupported;
}

HtmlOpening DocumentConverters::ChooseHtmlOpening(const std::string& file) {
    const PageMarker marker = TKYTtoHtml::ReadPageMarker(file);
    if (htmlChooser_) return htmlChooser_(file, marker);
    // Without a window the page is imported into the open hypertext.
    return {Outcome::Done, 0, marker.documentFile, int(marker.page)};
}

std::optional<std::pair<std::string, int>> DocumentConverters::ReadPageMarker(
    const std::string& file) {
    const PageMarker marker = TKYTtoHtml::ReadPageMarker(file);
    if (marker.documentFile.empty()) return std::nullopt;
    return std::make_pair(marker.documentFile, int(marker.page));
}

Outcome DocumentConverters::OpenExportWindow(const std::string&) {
    return Outcome::NotSupported;
}

Outcome DocumentConverters::ExportPage(PageFormat format, const std::string& path, int page,
                                       const std::function<void(int, int, int)>& progress) {
    if (!LivePage(set_, page)) return Outcome::Failed;
    switch (format) {
        case PageFormat::Html: {
            ProgressScope scope(html_, progress);
            html_.ExportPath = FolderOfPath(path);
            std::vector<TKYToggetto*> images;
            std::vector<std::int32_t> exported;
            Status done = html_.ExportPage(images, exported, page);
            if (done) done = html_.WriteObjectFiles(images);
            return Report(done);
        }
        case PageFormat::Text: {
            ProgressScope scope(txt_, progress);
            txt_.ExportFileName = path;
            return Report(txt_.ExportPage(page));
        }
        case PageFormat::Rtf: {
            ProgressScope scope(rtf_, progress);
            rtf_.ExportFileName = path;
            return Report(rtf_.ExportPage(page));
        }
    }
    return Outcome::NotSupported;
}

PreviewExport DocumentConverters::ExportForPreview(const std::string& folder, bool allPages,
                                                   int page) {
    html_.ExportPath = folder;
    std::vector<TKYToggetto*> images;
    Status done = Status::Ok();
    const std::int32_t shown = allPages ? 0 : page;
    const TKYToggetto* main = LivePage(set_, shown);
    if (!main) return {Outcome::Failed, {}};
    if (allPages) {
        done = html_.ExportAllPages(images);
    } else {
        std::vector<std::int32_t> exported;
        done = html_.ExportPage(images, exported, shown);
    }
    if (done) done = html_.WriteObjectFiles(images);
    if (Report(done) != Outcome::Done) return {Outcome::Failed, {}};
    return {Outcome::Done,
            NameOfPath(NativePath(folder) / NativePath(html_.ObjectFileName(*main)))};
}

void DocumentConverters::MergeImportedStyles(int) {}

std::optional<int> DocumentConverters::PageImportedFrom(const std::string& file) {
    std::error_code ec;
    const std::string full = NameOfPath(std::filesystem::absolute(NativePath(file), ec));
    for (const auto& page : set_.KindList(TOggettiHel::testoHtml)) {
        if (!page || page->IsFree()) continue;
        if (SameText1252(ImportedFileOf(set_, page->Identifier()), full)) return page->Identifier();
    }
    return std::nullopt;
}

}  // namespace orvo
