// orvo-cli import SOURCE FILE.kyt: a file of another format made into a new hypertext (or added
// to one), chosen by its extension as opening a file in the program does.
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
    "Usage: orvo-cli import SOURCE FILE.kyt [--split] [--index] [--help-rtf] [--into]";
constexpr std::string_view kNotSupported = "Non definito o non supportato.";

int RunImport(CliContext& context) {
    std::vector<std::string> files;
    bool split = false, index = false, help = false, into = false;
    for (const std::string& arg : context.args) {
        if (arg == "--split")
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
    if (files.size() != 2) return FailWith(context, kUsage);
    const std::string source = Utf8ToCp1252(files[0]);
    const std::string target = Utf8ToCp1252(files[1]);
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
    if (!converters.CanImport(ExtensionOf(source))) return FailWith(context, kNotSupported);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(NativePath(source), ec))
        return FailWith(context, "cannot read " + source);
    switch (converters.ImportFiles({source})) {
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
     "Usage: orvo-cli import SOURCE FILE.kyt [--split] [--index] [--help-rtf] [--into]\n"
     "Makes a new hypertext from SOURCE, chosen by its extension as opening a file does:\n"
     "  a text file (.txt .asc .pas .c .cpp .ini .h .inc .dpr, Windows-1252) gives one page,\n"
     "  one paragraph a line;\n"
     "  an RTF file (.rtf) gives one page with its styles, tables, pictures and notes;\n"
     "  .doc .docx .odt are made RTF by LibreOffice first (when soffice is installed).\n"
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
