// The export window's rules and the HTML options in the settings.
#include "convert/ExportOptions.h"

#include <filesystem>
#include <system_error>

#include "base/Cp1252.h"
#include "base/Paths.h"
#include "convert/HtmlExport.h"
#include "model/uKYTset.h"
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
    for (const ExportFormat& format : ExportFormats(wordProcessorReachable))
        if (FormatExtensions(format.number).find(wanted) != std::string_view::npos)
            return format.number;
    return -1;
}

std::string_view FormatCaption(int format) {
    switch (format) {
        case 0:
            return "HTML";
        case 1:
            return "RTF (Word, Word Perfect, Publisher, ...): un solo file";
        case 2:
            return "RTF (Word, Word Perfect, Publisher, ...): un file per ogni pagina";
        case 3:
            return "RTF (WinHelp Compiler): un solo file";
        case 4:
            return "ASCII (Blocco note,...)";
        case 5:
            return "DOC (Word): un solo file";
        default:
            return {};
    }
}

std::vector<ExportFormat> ExportFormats(bool wordProcessorReachable) {
    std::vector<ExportFormat> formats;
    for (int number : {0, 1, 2, 3, 4, 5}) {
        if (number == 5 && !wordProcessorReachable) continue;
        formats.push_back({number, FormatCaption(number)});
    }
    return formats;
}

TListType ListTypeForFormat(int format) {
    if (format == 0) return TListType::ltHtml;
    if (format == 2 || format == 6) return TListType::ltManyFiles;
    return TListType::ltOneFile;
}

bool FormatTicksEveryRow(int format) {
    return format != 2 && format != 6;
}

bool FormatHasMainFile(int format) {
    return format == 1 || format == 3 || format == 4 || format == 5;
}

std::string ProposedMainFileName(std::string_view documentFile, int format) {
    std::string_view extension;
    switch (format) {
        case 0:
            extension = ".htm";
            break;
        case 1:
        case 3:
            extension = ".rtf";
            break;
        case 4:
            extension = ".txt";
            break;
        case 5:
            extension = ".doc";
            break;
        default:
            return {};
    }
    std::string stem(StemOf(LastComponent(documentFile)));
    if (stem.empty()) stem = kUntitled;
    return stem + std::string(extension);
}

std::string WithTrailingSeparator(std::string_view directory) {
    std::string out = FromWindowsPath(directory);
    if (out.empty() || out.back() != '/') out += '/';
    return out;
}

FormatSettings LoadFormatSettings(const ISettings& settings, int format,
                                  std::string_view defaultDirectory) {
    const std::string section = FormatSection(format);
    FormatSettings values;
    const std::string directory = settings.ReadString(section, "expPathInWindow");
    values.directory = WithTrailingSeparator(directory.empty() ? defaultDirectory : directory);
    auto number = [&](std::string_view name, int fallback) {
        return settings.ReadInt(section, name, fallback);
    };
    values.width = number("largh", values.width);
    values.height = number("lungh", values.height);
    values.top = number("top", values.top);
    values.bottom = number("bottom", values.bottom);
    values.left = number("sx", values.left);
    values.right = number("dx", values.right);
    values.runCompiler = number("runHcp", values.runCompiler);
    values.titlesAsKeywords = number("runTitKey", values.titlesAsKeywords);
    values.registeredCompiler = number("runDefaultHcp", values.registeredCompiler);
    return values;
}

void SaveFormatSettings(ISettings& settings, int format, const FormatSettings& values) {
    const std::string section = FormatSection(format);
    settings.Write(section, "expPathInWindow", WithTrailingSeparator(values.directory));
    settings.WriteInt(section, "largh", values.width);
    settings.WriteInt(section, "lungh", values.height);
    settings.WriteInt(section, "top", values.top);
    settings.WriteInt(section, "bottom", values.bottom);
    settings.WriteInt(section, "sx", values.left);
    settings.WriteInt(section, "dx", values.right);
    settings.WriteInt(section, "runHcp", values.runCompiler);
    settings.WriteInt(section, "runTitKey", values.titlesAsKeywords);
    settings.WriteInt(section, "runDefaultHcp", values.registeredCompiler);
}

std::string CompilerPath(const ISettings& settings) {
    return settings.ReadString("options", "HcpPath");
}

std::string DirectoryFailureText(std::string_view path) {
    return "Errore nella creazione directory: \"" + std::string(path) +
           "\" controlla la linguetta \"path\".";
}

Status RunHtmlExport(TKYTtoHtml& html, TKYTListHtmlToTx& list,
                     const std::function<void(const std::string&)>& status) {
    if (!html.LinkedKYTset) return Fail(DirectoryFailureText(html.ExportPath));
    html.PrefixOverride = html.LinkedKYTset->ExpPrefix();
    std::error_code ec;
    const std::filesystem::path folder = NativePath(html.ExportPath);
    if (!html.ExportPath.empty()) std::filesystem::create_directories(folder, ec);
    if (html.ExportPath.empty() || !std::filesystem::is_directory(folder, ec))
        return Fail(DirectoryFailureText(html.ExportPath));
    std::vector<std::int32_t> pages;
    for (const TListHtmlRow& row : list.Rows())
        if (row.checked && row.kind == TOggettiHel::testoHtml && row.code)
            pages.push_back(CodeIdentifier(*row.code));
    TMyExpProgressEvent saved = std::move(html.OnExpProgress);
    html.OnExpProgress = [&](TKYTconv&, int pag, int tot, int phase) {
        if (status) status(ProgressText(phase, pag, tot));
    };
    list.ExportedImages.clear();
    Status done = html.ExportPagesWithAliases(pages, list.ExportedImages);
    if (done) done = html.WriteObjectFiles(list.ExportedImages);
    html.OnExpProgress = std::move(saved);
    return done;
}

std::string_view PressAllRowsButton(std::string_view caption, TKYTListHtmlToTx& list) {
    const bool tick = caption == "Tutte";
    list.SetAllChecked(tick);
    return tick ? "Nessuna" : "Tutte";
}

void ShowFormatInList(TKYTListHtmlToTx& list, int format) {
    list.ListType = ListTypeForFormat(format);
    list.Rebuild();
    list.SetAllChecked(FormatTicksEveryRow(format));
}

bool RebuildKeepingTicks(TKYTListHtmlToTx& list) {
    std::vector<bool> before;
    for (const TListHtmlRow& row : list.Rows()) before.push_back(row.checked);
    list.Rebuild();
    auto& rows = list.MutableRows();
    if (rows.size() != before.size()) return false;
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i].checked = before[i];
    return true;
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
