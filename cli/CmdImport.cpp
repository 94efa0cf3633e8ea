// orvo-cli import SOURCE FILE.kyt: a file of another format made into a new hypertext (or added
// to one), chosen by its extension as opening a file in the program does.
#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>

#include "CliCommand.h"
#include "app/DocumentConverters.h"
#include "base/Cp1252.h"
#include "base/Paths.h"
#include "model/uKYTset.h"
#include "platform/FixedMetrics.h"
#include "platform/PosixShell.h"
#include "platform/WordProcessor.h"

namespace orvo::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: orvo-cli import SOURCE... FILE.kyt [--split] [--index] [--help-rtf] [--into] "
    "[--follow-links] [--levels N]";
constexpr std::string_view kNotSupported = "Non definito o non supportato.";

int RunImport(CliContext& context) {
    std::vector<std::string> files;
    bool split = false, index = false, help = false, into = false, follow = false;
    int levels = 2;
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::string& arg = context.args[i];
        if (arg == "--follow-links") {
            follow = true;
        } else if (arg == "--levels") {
            if (i + 1 >= context.args.size()) return FailWith(context, kUsage);
            const std::string& value = context.args[++i];
            if (value.empty() || value.size() > 3 ||
                !std::all_of(value.begin(), value.end(),
                             [](char c) { return c >= '0' && c <= '9'; }))
                return FailWith(context, kUsage);
            levels = std::min(std::stoi(value), 200);
        } else if (arg == "--split")
            split = true;
        else if (arg == "--index")
            index = split = true;
        else if (arg == "--help-rtf")
            help = split = true;
        else if (arg == "--into")
            into = true;
        else if (arg.starts_with("--"))
            return FailWith(context, kUsage);
        else
            files.push_back(arg);
    }
    if (files.size() < 2) return FailWith(context, kUsage);
    const std::string target = Utf8ToCp1252(files.back());
    files.pop_back();
    // A folder stands for its web pages, in name order.
    std::vector<std::string> sources;
    for (const std::string& file : files) {
        std::error_code ec;
        if (std::filesystem::is_directory(file, ec)) {
            std::vector<std::string> found;
            for (const auto& entry : std::filesystem::directory_iterator(file, ec)) {
                const std::string ext = Lower1252(ExtensionOf(entry.path().filename().string()));
                if (entry.is_regular_file(ec) && (ext == ".htm" || ext == ".html"))
                    found.push_back(Utf8ToCp1252(entry.path().string()));
            }
            std::sort(found.begin(), found.end());
            sources.insert(sources.end(), found.begin(), found.end());
        } else {
            sources.push_back(Utf8ToCp1252(file));
        }
    }
    if (sources.empty()) return FailWith(context, "nothing to import");
    const std::string source = sources.front();
    TKYTset set(context.environment, context.messages);
    if (into) {
        if (!set.LoadFromFile(target)) return FailWith(context, "cannot read " + target);
    } else {
        set.NewDocument();
    }
    FixedMetrics metrics;
    DocumentConverters converters(set, context.messages, metrics);
    PosixShell shell;
    LibreOfficeWordProcessor processor(shell, set.WorkingDirectory() / "soffice-profile");
    converters.AttachWordProcessor(&processor);
    converters.RtfSplit = split;
    converters.RtfImport.buildIndex = index;
    converters.RtfImport.helpMode = help;
    converters.HtmlLevels = levels;
    for (const std::string& file : sources) {
        if (!converters.CanImport(ExtensionOf(file))) return FailWith(context, kNotSupported);
        std::error_code ec;
        if (!std::filesystem::is_regular_file(NativePath(file), ec))
            return FailWith(context, "cannot read " + file);
    }
    const std::string sourceExtension = Lower1252(ExtensionOf(source));
    if (follow && sourceExtension != ".htm" && sourceExtension != ".html")
        return FailWith(context, kUsage);
    const Outcome outcome =
        follow ? converters.ImportFollowingLinks(source) : converters.ImportFiles(sources);
    switch (outcome) {
        case Outcome::Done:
            break;
        case Outcome::NotSupported:
            return FailWith(context, kNotSupported);
        default:
            return FailWith(context, "cannot read " + source);
    }
    if (help) {
        context.out << Cp1252ToUtf8(std::string(kHelpReportCaption)) << '\n'
                    << Cp1252ToUtf8(converters.LastHelpReport().Text());
    }
    if (!set.SaveToFile(target)) {
        for (const std::string& error : set.Errors()) FailWith(context, error);
        return 1;
    }
    return 0;
}

const CliRegistration kRegistration{
    {"import", "makes a hypertext from a text, RTF or word-processor file",
     "Usage: orvo-cli import SOURCE... FILE.kyt [--split] [--index] [--help-rtf] [--into]\n"
     "                       [--follow-links] [--levels N]\n"
     "Makes a new hypertext from each SOURCE, chosen by its extension as opening a file does\n"
     "(a folder stands for its .htm and .html files):\n"
     "  a text file (.txt .asc .pas .c .cpp .ini .h .inc .dpr, Windows-1252) gives one page,\n"
     "  one paragraph a line;\n"
     "  an RTF file (.rtf) gives one page with its styles, tables, pictures and notes;\n"
     "  .doc .docx .odt are made RTF by LibreOffice first (when soffice is installed);\n"
     "  a web page (.htm .html) gives one page with its title, keywords, styles, pictures,\n"
     "  tables and links; links between the pages of one run become page links.\n"
     "  --follow-links  SOURCE is a root page: it and the pages its links reach inside its\n"
     "              folder (in N - 1 steps, --levels N, 2 by default) are imported\n"
     "  --split     several pages: at page and section breaks and every 100 paragraphs,\n"
     "              chained by \"continua...\" links\n"
     "  --index     split at headings (levels 1 to 4) instead, with an index page \"INDICE\"\n"
     "  --help-rtf  RTF written for a help compiler: each topic a page with its context id,\n"
     "              title and keywords, jumps made links; prints the import report\n"
     "  --into      adds the pages to the existing FILE.kyt instead of making a new one\n"
     "The hypertext is written to FILE.kyt (an existing file is kept as FILE.bak).\n",
     &RunImport}};

}  // namespace
}  // namespace orvo::cli
