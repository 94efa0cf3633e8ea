// The rules of the export window and of the HTML options window without their widgets: the
// formats and their file extensions, each format's settings section, and the HTML options
// kept in the settings.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "convert/TKYTListHtmlToTx.h"

namespace orvo {

class ISettings;
class TKYTtoHtml;

/// One entry of the export window's format list.
struct ExportFormat {
    int number;
    std::string_view caption;
    bool operator==(const ExportFormat&) const = default;
};
/// The format list in its order: HTML (0), RTF one file (1), RTF a file per page (2), RTF for
/// the help compiler (3), ASCII (4) and, when a word processor is reachable, DOC (5).
std::vector<ExportFormat> ExportFormats(bool wordProcessorReachable);
/// The caption of a listed format; empty for any other number (6 is never listed).
std::string_view FormatCaption(int format);

/// The extension list of an export format ("*.htm;*.html;" for 0); empty for an unknown one.
std::string_view FormatExtensions(int format);
/// The first of the listed formats whose extension list holds the name's extension (small
/// letters) followed by ";"; -1 when none does.
int FormatForFileName(std::string_view fileName, bool wordProcessorReachable);
/// The settings section of an export format: "exp\\" + the number.
std::string FormatSection(int format);

/// How the list of exported items shows for a format: the site for HTML, a file per page for
/// 2 and 6, one file otherwise.
TListType ListTypeForFormat(int format);
/// Whether choosing the format ticks every row (all but 2 and 6, which tick none).
bool FormatTicksEveryRow(int format);
/// Whether the format writes one main file whose name the window asks for (1, 3, 4, 5).
bool FormatHasMainFile(int format);
/// The main file name proposed for a format: the document's name with ".htm" (0), ".rtf" (1,
/// 3), ".txt" (4), ".doc" (5); the folder and the old extension are dropped. Empty for the
/// formats that write a file per page; a document with no name yet is "Senza titolo", as the
/// main window calls it.
std::string ProposedMainFileName(std::string_view documentFile, int format);

/// The settings of one format, kept in its section "exp\\" + number.
struct FormatSettings {
    std::string directory;       // "expPathInWindow", always ending in "/"
    int width = 210;             // "largh", millimetres
    int height = 297;            // "lungh"
    int top = 15;                // "top"
    int bottom = 15;             // "bottom"
    int left = 15;               // "sx"
    int right = 15;              // "dx"
    int runCompiler = 0;         // "runHcp"
    int titlesAsKeywords = 0;    // "runTitKey"
    int registeredCompiler = 1;  // "runDefaultHcp"
    bool operator==(const FormatSettings&) const = default;
};
/// Reads a format's section; a missing or unreadable value gives its default, and a missing
/// folder gives `defaultDirectory` (the callers pass the user's temporary folder).
FormatSettings LoadFormatSettings(const ISettings& settings, int format,
                                  std::string_view defaultDirectory);
void SaveFormatSettings(ISettings& settings, int format, const FormatSettings& values);
/// The folder as the window keeps it: "\\" read as "/", ending in "/".
std::string WithTrailingSeparator(std::string_view directory);
/// The compiler path: the global key "HcpPath" of "options".
std::string CompilerPath(const ISettings& settings);

/// The export window's text when the folder cannot be made.
std::string DirectoryFailureText(std::string_view path);

/// The export window's HTML run: the prefix override set to the hypertext's own prefix, the
/// folder made (when it cannot be, DirectoryFailureText and nothing written), the ticked page
/// rows exported in the list's order, each with its alias page, then the image and object
/// files. Every progress step is shown through `status` as ProgressText. The images met are
/// left in list.ExportedImages, cleared first.
Status RunHtmlExport(TKYTtoHtml& html, TKYTListHtmlToTx& list,
                     const std::function<void(const std::string&)>& status);

/// A press of the button captioned "Tutte" ticks every row and gives its new caption
/// "Nessuna"; a press of "Nessuna" unticks every row and gives "Tutte".
std::string_view PressAllRowsButton(std::string_view caption, TKYTListHtmlToTx& list);
/// Choosing a format: the list shows the format's rows, rebuilt, and every row is ticked
/// except for formats 2 and 6, where none is.
void ShowFormatInList(TKYTListHtmlToTx& list, int format);
/// After the HTML options change the list is rebuilt; when it has as many rows as before,
/// every row keeps its tick (by position). Returns whether the ticks were kept.
bool RebuildKeepingTicks(TKYTListHtmlToTx& list);

/// Loads the "htmlexp" keys into the exporter: expOrigName and expSepImage only for "1",
/// expAlt unless "0", expTipoExt the number (0 when absent).
void LoadHtmlOptions(const ISettings& settings, TKYTtoHtml& html);
/// Stores the exporter's options under "htmlexp".
void SaveHtmlOptions(ISettings& settings, const TKYTtoHtml& html);

}  // namespace orvo
