// orvo-cli export FORMAT ...: the exports of a hypertext, one registered format each.
#include "CmdExport.h"

#include <algorithm>
#include <string>

namespace orvo::cli {

static std::vector<ExportFormat>& Formats() {
    static std::vector<ExportFormat> formats;
    return formats;
}

void ExportFormats::Add(const ExportFormat& format) {
    Formats().push_back(format);
}

const std::vector<ExportFormat>& ExportFormats::All() {
    auto& formats = Formats();
    std::sort(formats.begin(), formats.end(),
              [](const ExportFormat& a, const ExportFormat& b) { return a.name < b.name; });
    return formats;
}

namespace {

std::string Usage() {
    std::string usage;
    for (const ExportFormat& format : ExportFormats::All()) {
        usage += usage.empty() ? "Usage: " : "       ";
        usage += format.usage;
        usage += '\n';
    }
    return usage;
}

int RunExport(CliContext& context) {
    if (context.args.empty()) return FailWith(context, Usage());
    const std::string name = context.args.front();
    CliContext rest{{context.args.begin() + 1, context.args.end()},
                    context.out,
                    context.err,
                    context.environment,
                    context.messages};
    for (const ExportFormat& format : ExportFormats::All())
        if (format.name == name) return format.run(rest);
    return FailWith(context, "Unknown export format: " + name + "\n" + Usage());
}

const CliRegistration kRegistration{
    {"export", "exports a hypertext (html: a web site; rtf: RTF documents; txt: plain text)",
     "Usage: orvo-cli export FORMAT FILE ...  (orvo-cli export with no format lists them all)\n"
     "  html FILE OUTDIR [--prefix P] [--ext htm|html] [--sep-images] [--orig-names]\n"
     "        every page of FILE as a web site in OUTDIR, with its style sheet and the files\n"
     "        of its linked objects.\n"
     "        --prefix P     the prefix of every file name instead of the document's own\n"
     "        --ext E        page files end in .htm or .html (the default)\n"
     "        --sep-images   images and other files go into OUTDIR/images\n"
     "        --orig-names   images and other files keep their original names\n"
     "  rtf FILE OUT.rtf [--help-project]   every page in one RTF document (with\n"
     "        --help-project: the help compiler's variant and its .HPJ project file)\n"
     "  rtf FILE --per-page DIR              one RTF document a page in DIR\n"
     "  txt FILE OUT.txt                     every page as plain text (Windows-1252, CR LF)\n",
     &RunExport}};

}  // namespace
}  // namespace orvo::cli
