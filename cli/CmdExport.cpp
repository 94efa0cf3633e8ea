// orvo-cli export FORMAT ...: the exports of a hypertext, one function per format.
#include <string>

#include "CliCommand.h"
#include "CmdExport.h"

namespace orvo::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: orvo-cli export html FILE OUTDIR [--prefix P] [--ext htm|html] [--sep-images] "
    "[--orig-names]";

int RunExport(CliContext& context) {
    if (context.args.empty()) return FailWith(context, kUsage);
    const std::string format = context.args.front();
    CliContext rest{{context.args.begin() + 1, context.args.end()},
                    context.out,
                    context.err,
                    context.environment,
                    context.messages};
    if (format == "html") return RunExportHtml(rest);
    return FailWith(context, "Unknown export format: " + format + "\n" + std::string(kUsage));
}

const CliRegistration kRegistration{
    {"export", "exports a hypertext (html: a web site in a folder)",
     "Usage: orvo-cli export html FILE OUTDIR [--prefix P] [--ext htm|html] [--sep-images] "
     "[--orig-names]\n"
     "  html: every page of FILE as a web site in OUTDIR, with its style sheet and the files\n"
     "        of its linked objects.\n"
     "  --prefix P     the prefix of every file name instead of the document's own\n"
     "  --ext E        page files end in .htm or .html (the default)\n"
     "  --sep-images   images and other files go into OUTDIR/images\n"
     "  --orig-names   images and other files keep their original names\n",
     &RunExport}};

}  // namespace
}  // namespace orvo::cli
