// TKYTtortf: the document frame of every mode (head, tables of fonts, colours and styles, the
// information group, header and footer groups, the temporary body file) and the help
// project. The body of a markup text is written by RtfBodyWriter (RtfBody.cpp).
#include "convert/RtfExport.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Paths.h"
#include "convert/HtmlText.h"
#include "convert/RtfBody.h"
#include "convert/RtfWriter.h"
#include "convert/TextWordProcessor.h"
#include "model/HeaderRecord.h"
#include "model/ObjectRecord.h"
#include "model/ParaStyle.h"
#include "model/StyleTable.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/ISettings.h"
#include "platform/IShell.h"
#include "platform/ITextMeasurer.h"

namespace orvo {

namespace {

std::string Hex6(std::uint32_t n) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%06x", n & 0xFFFFFFu);
    return digits;
}

// A name without control characters, for the lines of the project file.
std::string OneLine(std::string_view text) {
    std::string out;
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 32) out += c;
    return out;
}

std::string FamilyWord(FontFamily family) {
    switch (family) {
        case FontFamily::Roman:
            return "\\froman";
        case FontFamily::Swiss:
            return "\\fswiss";
        case FontFamily::Modern:
            return "\\fmodern";
        case FontFamily::Script:
            return "\\fscript";
        case FontFamily::Decorative:
            return "\\fdecor";
        default:
            return {};
    }
}

}  // namespace

TKYTtortf::TKYTtortf(TKYTset* set, ITextMeasurer& measurer) : TKYTconv(set), measurer_(measurer) {
    ForgetColours();
}

int TKYTtortf::FontIndex(std::string_view name) {
    const std::string key(name);
    if (const auto found = fontIndex_.find(key); found != fontIndex_.end()) return found->second;
    fonts_.push_back(key);
    return fontIndex_[key] = int(fonts_.size() - 1);
}

int TKYTtortf::ColourIndex(std::int32_t bgr) {
    const std::int32_t colour = std::int32_t(std::uint32_t(bgr) & 0xFFFFFFu);
    if (const auto found = colourIndex_.find(colour); found != colourIndex_.end())
        return found->second;
    colours_.push_back(colour);
    return colourIndex_[colour] = int(colours_.size());
}

int TKYTtortf::StyleIndex(std::int32_t number) {
    if (const auto found = styleIndex_.find(number); found != styleIndex_.end())
        return found->second;
    styles_.push_back(number);
    return styleIndex_[number] = int(styles_.size());
}

void TKYTtortf::ForgetFontsAndStyles() {
    fonts_.clear();
    fontIndex_.clear();
    styles_.clear();
    styleIndex_.clear();
}

void TKYTtortf::ForgetColours() {
    colours_.assign(1, 0);
    colourIndex_.clear();
    colourIndex_[0] = 1;
}

void TKYTtortf::AddWindow(const std::string& name) {
    if (std::find(windows_.begin(), windows_.end(), name) == windows_.end())
        windows_.push_back(name);
}

TKYToggetto* TKYTtortf::Resolve(std::int32_t code) const {
    if (ResolveObject) return ResolveObject(code);
    TKYToggetto* object = LinkedKYTset ? LinkedKYTset->ObjectByCode(code) : nullptr;
    return object && !object->IsFree() ? object : nullptr;
}

std::string TKYTtortf::ContextIdOf(const TKYToggetto& page) const {
    return HelpContextId(PageRecord::Read(page).Title(), page.Identifier());
}

std::string TKYTtortf::PictureFolder() const {
    const std::filesystem::path target = NativePath(ExportFileName);
    return NameOfPath(target.parent_path());
}

void TKYTtortf::Report(std::string_view text) {
    if (std::find(reported_.begin(), reported_.end(), text) != reported_.end()) return;
    reported_.emplace_back(text);
    if (LinkedKYTset) LinkedKYTset->Messages().Error(text);
}

std::string TKYTtortf::PageFileName(const TKYToggetto& page) const {
    const bool home =
        LinkedKYTset && page.Identifier() == LinkedKYTset->HeaderView().I32(kHdrCoverPage);
    return FilePrefix() + (home ? std::string("index") : Hex6(std::uint32_t(page.Identifier()))) +
           ".rtf";
}

std::string TKYTtortf::WriteRtfBody(std::string_view markup, int part) {
    RtfBodyWriter writer(*this, part);
    return writer.Write(markup);
}

std::string TKYTtortf::StyleSheet() {
    std::string sheet = "{\\stylesheet";
    // Styles met while writing the sheet (none: it writes no paragraph) keep their index.
    for (std::size_t i = 0; i < styles_.size(); ++i) {
        const std::int32_t number = styles_[i];
        const TKYToggetto* style = LinkedKYTset ? StyleByNumber(*LinkedKYTset, number) : nullptr;
        RtfBodyWriter writer(*this, rpPage);
        sheet += "{\\s" + std::to_string(i + 1) + " \\widctlpar " + writer.StyleCodes(style) +
                 RtfString(style ? style->Name() : std::string()) + ";}";
    }
    return sheet + "}";
}

std::string TKYTtortf::DocumentHeader() {
    // The style sheet may name fonts and colours the body did not: it is made first.
    const std::string sheet = StyleSheet();
    std::string head = "{\\rtf1\\ansi\\deff0{\\fonttbl";
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        TMyFont font;
        font.name = fonts_[i];
        const FontPitch pitch = measurer_.Pitch(font);
        head += "{\\f" + std::to_string(i) + FamilyWord(measurer_.Family(font)) +
                (pitch == FontPitch::Variable ? "\\fprq2" : "\\fprq1") + " " +
                RtfString(fonts_[i]) + ";}";
    }
    head += "}{\\colortbl;";
    for (std::int32_t c : colours_) {
        const std::uint32_t v = std::uint32_t(c);
        head += "\\red" + std::to_string(v & 0xFF) + "\\green" + std::to_string((v >> 8) & 0xFF) +
                "\\blue" + std::to_string((v >> 16) & 0xFF) + ";";
    }
    head += "}" + sheet;
    if (!fragment_ && LinkedKYTset) {
        const TKYTset& set = *LinkedKYTset;
        const RecordView header = set.HeaderView();
        std::string user = set.Env().UserName();
        if (user.size() > 79) user.resize(79);
        const std::time_t now = std::chrono::system_clock::to_time_t(set.Env().Now());
        std::tm local{};
        localtime_r(&now, &local);
        head += "{\\info{\\title " + RtfString(header.PStr(kHdrTitle)) + "}{\\author " +
                RtfString(header.PStr(kHdrAuthors)) + "}{\\operator " + RtfString(user) +
                "}{\\*\\copyright " + RtfString(header.PStr(kHdrCopyright)) + "}{\\company " +
                RtfString(header.PStr(kHdrCompany)) + "}{\\version" +
                std::to_string(set.SaveCounter()) + "}{\\revtim\\yr" +
                std::to_string(local.tm_year + 1900) + "\\mo" + std::to_string(local.tm_mon + 1) +
                "\\dy" + std::to_string(local.tm_mday) + "\\hr" + std::to_string(local.tm_hour) +
                "\\min" + std::to_string(local.tm_min) + "}}\\widowctrl";
    }
    head += "\\paperw" + std::to_string(PaperWidth) + "\\paperh" + std::to_string(PaperHeight) +
            "\\margt" + std::to_string(MarginTop) + "\\margb" + std::to_string(MarginBottom) +
            "\\margl" + std::to_string(MarginLeft) + "\\margr" + std::to_string(MarginRight) + " ";
    return head;
}

std::string TKYTtortf::ExportText(std::string_view markup) {
    reported_.clear();
    fragment_ = true;
    std::string body = WriteRtfBody(markup, rpPage);
    std::string out = DocumentHeader();
    out += body;
    out += "}";
    out += '\0';
    ForgetFontsAndStyles();
    fragment_ = false;
    return out;
}

std::string TKYTtortf::HeaderFooterGroup(const char* word, std::int32_t page, int part) {
    std::string group = std::string("{\\") + word + " ";
    if (TKYToggetto* shown = page >= 0 ? LivePage(*LinkedKYTset, page) : nullptr) {
        Result<std::string> text = shown->ContentBytes();
        if (text) group += WriteRtfBody(*text, part);
    }
    return group + "}";
}

Status TKYTtortf::WriteTarget(const std::string& name, std::string_view head,
                              std::string_view body) {
    std::string bytes;
    bytes.reserve(head.size() + body.size() + 1);
    bytes += head;
    bytes += body;
    bytes += "}";
    if (!name.empty()) {
        if (Result<std::filesystem::path> target = ReplaceableTarget(NativePath(name)); !target) {
            return target.failure();
        }
    }
    if (name.empty() || !ReplaceFile(NativePath(name), bytes)) {
        return Fail(std::string(kWriteError) + name);
    }
    return Status::Ok();
}

Status TKYTtortf::ExportPages(const std::vector<std::int32_t>& numbers) {
    windows_.clear();
    bitmaps_.clear();
    reported_.clear();
    ForgetFontsAndStyles();
    listCounter_ = 1;
    fragment_ = false;
    TKYTset& set = *LinkedKYTset;
    const std::filesystem::path temporary = set.WorkingDirectory() / "rtfBody.tmp";
    std::FILE* body = std::fopen(temporary.c_str(), "w+b");
    if (!body) {
        return Fail(std::string(kWriteError) + NameOfPath(temporary));
    }
    bool written = true;
    auto put = [&](const std::string& s) {
        written = written && std::fwrite(s.data(), 1, s.size(), body) == s.size();
    };
    std::int64_t size = 0;
    bool asked = false;
    std::int32_t previousHeader = -3, previousFooter = -3;
    const int total = int(numbers.size());
    bool first = true;
    for (int i = 0; i < total; ++i) {
        const TKYToggetto* page = LivePage(set, numbers[std::size_t(i)]);
        if (!page) continue;
        std::string chunk;
        if (!first) chunk += HelpMode ? "\\page" : "\\sect\\sectd ";
        if (!HelpMode) {
            const std::int32_t header = HeaderPageOf(set, *page);
            const std::int32_t footer = FooterPageOf(set, *page);
            if (first || header != previousHeader || footer != previousFooter) {
                chunk += HeaderFooterGroup("header", header, rpHeader);
                chunk += HeaderFooterGroup("footer", footer, rpFooter);
            }
            previousHeader = header;
            previousFooter = footer;
        }
        first = false;
        Progress(i, total, 1);
        Result<std::string> text = page->ContentBytes();
        RtfBodyWriter writer(*this, rpPage);
        writer.SetPage(page);
        chunk += writer.Write(text ? std::string_view(*text) : std::string_view());
        put(chunk);
        size += std::int64_t(chunk.size());
        if (size > LargeBodyLimit && !asked) {
            asked = true;
            if (!set.Messages().Ask(kRtfLargeQuestion)) break;
        }
    }
    std::string bytes;
    if (written) {
        std::fflush(body);
        bytes.resize(std::size_t(size));
        std::rewind(body);
        written = std::fread(bytes.data(), 1, bytes.size(), body) == bytes.size();
    }
    std::fclose(body);
    std::error_code ec;
    std::filesystem::remove(temporary, ec);
    if (!written) {
        return Fail(std::string(kWriteError) + NameOfPath(temporary));
    }
    return WriteTarget(ExportFileName, DocumentHeader(), bytes);
}

Status TKYTtortf::ExportPage(std::int32_t number) {
    // One file of a per-page export reports what the run has not reported yet.
    if (!perPage_) {
        reported_.clear();
        bitmaps_.clear();
    }
    fragment_ = false;
    ForgetFontsAndStyles();
    listCounter_ = 1;
    TKYTset& set = *LinkedKYTset;
    const TKYToggetto* page = LivePage(set, number);
    if (!page) return Fail(std::string(kWriteError) + ExportFileName);
    std::string body = "{";
    if (!HelpMode) {
        const std::int32_t header = HeaderPageOf(set, *page);
        const std::int32_t footer = FooterPageOf(set, *page);
        if (header >= 0) body += HeaderFooterGroup("header", header, rpHeader);
        if (footer >= 0) body += HeaderFooterGroup("footer", footer, rpFooter);
    }
    Result<std::string> text = page->ContentBytes();
    RtfBodyWriter writer(*this, rpPage);
    writer.SetPage(page);
    body += writer.Write(text ? std::string_view(*text) : std::string_view());
    body += "}";
    return WriteTarget(ExportFileName, DocumentHeader(), body);
}

Status TKYTtortf::ExportPerPage(const std::vector<std::int32_t>& numbers) {
    const std::string folder = ExportPath;
    const int total = int(numbers.size());
    reported_.clear();
    bitmaps_.clear();
    perPage_ = true;
    for (int i = 0; i < total; ++i) {
        const TKYToggetto* page = LivePage(*LinkedKYTset, numbers[std::size_t(i)]);
        if (!page) continue;
        Progress(i, total, 1);
        ExportFileName = NameOfPath(NativePath(folder) / NativePath(PageFileName(*page)));
        // Each file has its own colour table too.
        ForgetColours();
        if (Status s = ExportPage(page->Identifier()); !s) {
            perPage_ = false;
            return s;
        }
    }
    perPage_ = false;
    return Status::Ok();
}

std::string TKYTtortf::HelpProjectName() const {
    std::filesystem::path name = NativePath(ExportFileName);
    name.replace_extension(".HPJ");
    return NameOfPath(name);
}

std::string TKYTtortf::HelpProjectFile(const std::vector<std::int32_t>& numbers) const {
    const TKYTset& set = *LinkedKYTset;
    HelpProject project;
    project.title = OneLine(set.HeaderView().PStr(kHdrTitle));
    if (const TKYToggetto* home = LivePage(set, set.HeaderView().I32(kHdrCoverPage)))
        project.contents = ContextIdOf(*home);
    for (const std::string& window : windows_) project.windows.push_back(window);
    for (std::int32_t number : numbers)
        if (const TKYToggetto* page = LivePage(set, number))
            project.topics.push_back({ContextIdOf(*page), page->Identifier()});
    project.rtfFile = OneLine(std::string(LastComponent(ExportFileName)));
    return HelpProjectText(project);
}

Status TKYTtortf::ExportHelp(const std::vector<std::int32_t>& numbers) {
    HelpMode = true;
    Status done = ExportPages(numbers);
    if (done) {
        const std::string name = HelpProjectName();
        if (!ReplaceFile(NativePath(name), HelpProjectFile(numbers))) {
            done = Fail(std::string(kWriteError) + name);
        }
    }
    HelpMode = false;
    return done;
}

Status TKYTtortf::StartHelpCompiler(IShell& shell, const ISettings& settings, bool useRegistered) {
    std::filesystem::path help = NativePath(ExportFileName);
    help.replace_extension(".hlp");
    std::error_code ec;
    std::filesystem::remove(help, ec);
    const std::filesystem::path project = NativePath(HelpProjectName());
    if (useRegistered) return shell.OpenWithDefault(project);
    const std::string compiler = settings.ReadString("options", "HcpPath");
    if (compiler.empty()) return Fail(std::string(kNoHelpCompiler));
    ShellCommand command;
    command.argv = {NativePath(compiler).string(), project.string()};
    command.workingFolder = project.parent_path();
    Result<int> started = shell.Start(command);
    if (!started) return Fail(started.failure().text);
    return Status::Ok();
}

std::function<TKYToggetto*(std::int32_t code)> WorkingTextObjects(const TKYTset& set,
                                                                  const TKYTtesto& text) {
    return [&set, &text](std::int32_t code) -> TKYToggetto* {
        const std::size_t index = std::size_t(CodeIdentifier(code));
        const int kind = CodeKind(code);
        if (kind == kLocalLinkKind)
            return index < text.links.size() ? text.links[index].get() : nullptr;
        if (kind == kPageObjectKind)
            return index < text.pageObjects.size() ? text.pageObjects[index].get() : nullptr;
        TKYToggetto* object = set.ObjectByCode(code);
        return object && !object->IsFree() ? object : nullptr;
    };
}

RtfFormatOptions ReadRtfFormatOptions(const ISettings& settings, int format) {
    const std::string key = "exp\\" + std::to_string(format);
    RtfFormatOptions options;
    options.runCompiler = settings.ReadFlag(key, "runHcp", false);
    options.titlesAsKeywords = settings.ReadFlag(key, "runTitKey", false);
    options.useRegistered = settings.ReadFlag(key, "runDefaultHcp", true);
    return options;
}

Status TKYTtortf::ExportFormat(int format, const std::vector<std::int32_t>& numbers,
                               const std::string& folder, const std::string& mainFile,
                               IShell& shell, const ISettings& settings,
                               IWordProcessor* wordProcessor) {
    const std::string target = NameOfPath(NativePath(folder) / NativePath(mainFile));
    switch (format) {
        case 5:
        case 6: {
            if (!wordProcessor || !wordProcessor->Available())
                return Fail(std::string(kNoWordProcessor));
            const std::filesystem::path temporary = LinkedKYTset->WorkingDirectory() / "rtftmp";
            std::error_code ec;
            std::filesystem::create_directories(temporary, ec);
            std::vector<std::filesystem::path> files;
            if (format == 5) {
                std::filesystem::path rtf = temporary / NativePath(mainFile).filename();
                rtf.replace_extension(".rtf");
                if (Status done = ExportFormat(1, numbers, NameOfPath(temporary),
                                               NameOfPath(rtf.filename()), shell, settings);
                    !done)
                    return done;
                files.push_back(rtf);
            } else {
                if (Status done =
                        ExportFormat(2, numbers, NameOfPath(temporary), "", shell, settings);
                    !done)
                    return done;
                for (std::int32_t number : numbers)
                    if (const TKYToggetto* page = LivePage(*LinkedKYTset, number))
                        files.push_back(temporary / NativePath(PageFileName(*page)));
            }
            const Result<std::vector<std::filesystem::path>> made =
                ConvertToWordDocuments(*wordProcessor, files, NativePath(folder),
                                       [this](int pag, int tot) { Progress(pag, tot, 3); });
            for (const std::filesystem::path& rtf : files) std::filesystem::remove(rtf, ec);
            if (!made) return made.failure();
            return Status::Ok();
        }
        case 1:
            HelpMode = false;
            ExportFileName = target;
            return ExportPages(numbers);
        case 2:
            HelpMode = false;
            ExportPath = folder;
            return ExportPerPage(numbers);
        case 3: {
            const RtfFormatOptions options = ReadRtfFormatOptions(settings, 3);
            TitlesAsKeywords = options.titlesAsKeywords;
            ExportFileName = target;
            if (Status done = ExportHelp(numbers); !done) return done;
            if (!options.runCompiler) return Status::Ok();
            return StartHelpCompiler(shell, settings, options.useRegistered);
        }
        default:
            return Fail("Formato di esportazione sconosciuto: " + std::to_string(format));
    }
}

}  // namespace orvo
