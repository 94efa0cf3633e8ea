// The export window's rules and the HTML options in the settings.
#include "convert/ExportOptions.h"

#include <array>

#include "base/Cp1252.h"
#include "base/Paths.h"
#include "convert/HtmlExport.h"
#include "platform/ISettings.h"

namespace orvo {

std::string_view FormatExtensions(int format) {
    switch (format) {
        case 0:
            return "*.htm;*.html;";
        case 1:
        case 2:
        case 3:
            return "*.rtf;";
        case 4:
            return "*.txt;*.asc;*.pas;*.c;*.cpp;*.ini;";
        case 5:
        case 6:
            return "*.doc;*.wri;*.rtf;";
        default:
            return {};
    }
}

int FormatForFileName(std::string_view fileName, bool wordProcessorReachable) {
    const std::string extension = ExtensionOf(fileName);
    if (extension.empty()) return -1;
    const std::string wanted = extension + ";";
    // The formats in the order of the window's list; format 3 is not listed.
    constexpr std::array<int, 5> kListed{0, 1, 2, 4, 5};
    for (int format : kListed) {
        if (format == 5 && !wordProcessorReachable) continue;
        if (FormatExtensions(format).find(wanted) != std::string_view::npos) return format;
    }
    return -1;
}

std::string FormatSection(int format) {
    return "exp\\" + std::to_string(format);
}

void LoadHtmlOptions(const ISettings& settings, TKYTtoHtml& html) {
    html.ExpOrigName = settings.ReadString("htmlexp", "expOrigName") == "1";
    html.ExpSepImage = settings.ReadString("htmlexp", "expSepImage") == "1";
    html.ExpAlt = settings.ReadString("htmlexp", "expAlt") != "0";
    html.ExpTipoExt = settings.ReadInt("htmlexp", "expTipoExt", 0, 0, 1);
}

void SaveHtmlOptions(ISettings& settings, const TKYTtoHtml& html) {
    settings.WriteFlag("htmlexp", "expOrigName", html.ExpOrigName);
    settings.WriteFlag("htmlexp", "expSepImage", html.ExpSepImage);
    settings.WriteFlag("htmlexp", "expAlt", html.ExpAlt);
    settings.WriteInt("htmlexp", "expTipoExt", html.ExpTipoExt);
}

}  // namespace orvo
