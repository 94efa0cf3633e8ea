// The rules of the export window and of the HTML options window without their widgets: the
// formats and their file extensions, each format's settings section, and the HTML options
// kept in the settings.
#pragma once

#include <string>
#include <string_view>

namespace orvo {

class ISettings;
class TKYTtoHtml;

/// The extension list of an export format ("*.htm;*.html;" for 0); empty for an unknown one.
std::string_view FormatExtensions(int format);
/// The first of the listed formats whose extension list holds the name's extension (small
/// letters) followed by ";"; -1 when none does.
int FormatForFileName(std::string_view fileName, bool wordProcessorReachable);
/// The settings section of an export format: "exp\\" + the number.
std::string FormatSection(int format);

/// Loads the "htmlexp" keys into the exporter: expOrigName and expSepImage only for "1",
/// expAlt unless "0", expTipoExt the number (0 when absent).
void LoadHtmlOptions(const ISettings& settings, TKYTtoHtml& html);
/// Stores the exporter's options under "htmlexp".
void SaveHtmlOptions(ISettings& settings, const TKYTtoHtml& html);

}  // namespace orvo
