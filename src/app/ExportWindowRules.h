// "Esportazione": what the export window shows and what "&Esporta" does, without its widgets.
// The window opens on a proposed file name, which chooses the format and fills the folder and
// the main file; each format keeps its folder, page size, margins and compiler choices in its
// own settings section; only the ticked page rows are exported.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "convert/ExportOptions.h"
#include "convert/TKYTListHtmlToTx.h"

namespace orvo {

class IMessages;
class ISettings;
class IShell;
class IWordProcessor;
class TKYTset;
class TKYTtoHtml;
class TKYTtortf;
class TKYTtoTxt;

/// The converters and services the export window works with (the main window's own).
struct ExportWindowParts {
    TKYTset& set;
    TKYTtoHtml& html;
    TKYTtortf& rtf;
    TKYTtoTxt& text;
    ISettings& settings;
    IShell& shell;
    IMessages& messages;
    IWordProcessor* wordProcessor = nullptr;  // null or unavailable: no DOC format
    /// The folder a format without a stored one starts in.
    std::string defaultDirectory = "/tmp/";
};

class ExportWindowRules {
public:
    explicit ExportWindowRules(ExportWindowParts parts);

    /// Opens on `proposedPath` (the main window proposes the document's name with ".htm" or
    /// ".rtf"): the first listed format whose extensions hold its extension (HTML when none
    /// does), that format's settings, and the path's folder and name when it has a folder.
    void Open(const std::string& proposedPath);

    const std::vector<ExportFormat>& Formats() const { return formats_; }
    int Format() const { return format_; }
    /// The user chose another format: its settings, its proposed main file, the list rebuilt
    /// and ticked as the format wants. The Tutte/Nessuna button starts again from "Tutte".
    void ChooseFormat(int format);

    /// The folder, page size, margins and compiler choices of the format shown; the window
    /// writes its fields back here before exporting.
    FormatSettings& Values() { return values_; }
    std::string& MainFile() { return mainFile_; }
    bool MainFileShown() const { return FormatHasMainFile(format_); }
    /// The HTML options button and the page size fields show for these formats.
    bool HtmlOptionsShown() const { return format_ == 0; }
    bool PageSizeShown() const { return format_ >= 1 && format_ <= 3; }
    bool CompilerShown() const { return format_ == 3; }

    TKYTListHtmlToTx& List() { return list_; }
    std::string_view AllCaption() const { return allCaption_; }
    /// "Tutte" / "Nessuna".
    void PressAll();
    /// The HTML options were confirmed: the list rebuilt, the ticks kept when the rows match.
    void HtmlOptionsConfirmed();

    /// "&Esporta": stores the format's settings, makes the folder (failing with "Errore nella
    /// creazione directory: ..." shown and nothing written) and exports the ticked pages in
    /// the list's order. Progress texts go to `status`. The failure is shown once, here or by
    /// the converter.
    Status Export(const std::function<void(const std::string&)>& status);

    /// The ticked page rows as page numbers, in the list's order.
    std::vector<std::int32_t> TickedPages() const;

private:
    ExportWindowParts parts_;
    std::vector<ExportFormat> formats_;
    int format_ = 0;
    FormatSettings values_;
    std::string mainFile_;
    std::string document_;
    TKYTListHtmlToTx list_;
    std::string_view allCaption_ = "Tutte";
};

}  // namespace orvo
