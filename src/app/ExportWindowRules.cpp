// The export window's rules.
#include "app/ExportWindowRules.h"

#include <filesystem>
#include <system_error>

#include "base/Paths.h"
#include "convert/HtmlExport.h"
#include "convert/RtfExport.h"
#include "convert/TextExport.h"
#include "model/ObjectRecord.h"
#include "model/uKYTset.h"
#include "platform/IMessages.h"
#include "platform/ISettings.h"
#include "platform/WordProcessor.h"

namespace orvo {

namespace {

// Millimetres as twentieths of a point, as the RTF writer keeps paper and margins.
std::int32_t Twips(int millimetres) {
    return std::int32_t((std::int64_t(millimetres) * 1440 * 10 + 127) / 254);
}

}  // namespace

ExportWindowRules::ExportWindowRules(ExportWindowParts parts)
    : parts_(parts),
      formats_(ExportFormats(parts.wordProcessor && parts.wordProcessor->Available())),
      list_(&parts.html) {}

void ExportWindowRules::Open(const std::string& proposedPath) {
    document_ = proposedPath;
    const bool wordProcessor = formats_.size() > 5;
    const int format = FormatForFileName(proposedPath, wordProcessor);
    ChooseFormat(format < 0 ? 0 : format);
    const std::string folder =
        proposedPath.substr(0, proposedPath.size() - LastComponent(proposedPath).size());
    if (!folder.empty()) values_.directory = WithTrailingSeparator(folder);
    if (MainFileShown()) mainFile_ = std::string(LastComponent(proposedPath));
}

void ExportWindowRules::ChooseFormat(int format) {
    format_ = format;
    values_ = LoadFormatSettings(parts_.settings, format, parts_.defaultDirectory);
    mainFile_ = ProposedMainFileName(document_, format);
    // The list shows where the pages would go, so that the sizes of files already there show.
    parts_.html.ExportPath = values_.directory;
    ShowFormatInList(list_, format);
    allCaption_ = "Tutte";
}

void ExportWindowRules::PressAll() {
    allCaption_ = PressAllRowsButton(allCaption_, list_);
}

void ExportWindowRules::HtmlOptionsConfirmed() {
    parts_.html.ExportPath = values_.directory;
    RebuildKeepingTicks(list_);
}

std::vector<std::int32_t> ExportWindowRules::TickedPages() const {
    std::vector<std::int32_t> pages;
    for (const TListHtmlRow& row : list_.Rows())
        if (row.checked && row.kind == TOggettiHel::testoHtml && row.code)
            pages.push_back(CodeIdentifier(*row.code));
    return pages;
}

Status ExportWindowRules::Export(const std::function<void(const std::string&)>& status) {
    values_.directory = WithTrailingSeparator(values_.directory);
    SaveFormatSettings(parts_.settings, format_, values_);
    std::error_code ec;
    const std::filesystem::path folder = NativePath(values_.directory);
    if (!values_.directory.empty()) std::filesystem::create_directories(folder, ec);
    if (values_.directory.empty() || !std::filesystem::is_directory(folder, ec)) {
        const std::string text = DirectoryFailureText(values_.directory);
        parts_.messages.Error(text);
        return Fail(text);
    }
    if (MainFileShown() && (mainFile_.empty() || !IsSafeName(mainFile_))) {
        const std::string text = DirectoryFailureText(values_.directory + mainFile_);
        parts_.messages.Error(text);
        return Fail(text);
    }
    auto progress = [&status](TKYTconv&, int pag, int tot, int phase) {
        if (status) status(ProgressText(phase, pag, tot));
    };
    if (format_ == 0) {
        parts_.html.ExportPath = values_.directory;
        Status done = RunHtmlExport(parts_.html, list_, status);
        if (!done) {
            parts_.messages.Error(done.failure().text);
            return done;
        }
        RebuildKeepingTicks(list_);
        return done;
    }
    const std::vector<std::int32_t> pages = TickedPages();
    if (format_ == 4) {
        TMyExpProgressEvent saved = std::move(parts_.text.OnExpProgress);
        parts_.text.OnExpProgress = progress;
        parts_.text.ExportFileName = NameOfPath(folder / NativePath(mainFile_));
        Status done = parts_.text.ExportPages(pages);
        parts_.text.OnExpProgress = std::move(saved);
        if (!done) parts_.messages.Error(done.failure().text);
        return done;
    }
    TKYTtortf& rtf = parts_.rtf;
    rtf.PaperWidth = Twips(values_.width);
    rtf.PaperHeight = Twips(values_.height);
    rtf.MarginTop = Twips(values_.top);
    rtf.MarginBottom = Twips(values_.bottom);
    rtf.MarginLeft = Twips(values_.left);
    rtf.MarginRight = Twips(values_.right);
    TMyExpProgressEvent saved = std::move(rtf.OnExpProgress);
    rtf.OnExpProgress = progress;
    Status done = rtf.ExportFormat(format_, pages, values_.directory, mainFile_, parts_.shell,
                                   parts_.settings, parts_.wordProcessor);
    rtf.OnExpProgress = std::move(saved);
    if (!done) parts_.messages.Error(done.failure().text);
    return done;
}

}  // namespace orvo
