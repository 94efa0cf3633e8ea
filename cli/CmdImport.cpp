// orvo-cli import SOURCE FILE.kyt: a file of another format made into a new hypertext, chosen
// by its extension as opening a file in the program does.
#include <filesystem>
#include <string>

#include "CliCommand.h"
#include "app/DocumentConverters.h"
#include "base/Cp1252.h"
#include "base/Paths.h"
#include "model/uKYTset.h"
#include "platform/FixedMetrics.h"

namespace orvo::cli {
namespace {

constexpr std::string_view kUsage = "Usage: orvo-cli import SOURCE FILE.kyt";
constexpr std::string_view kNotSupported = "Non definito o non supportato.";

int RunImport(CliContext& context) {
    if (context.args.size() != 2) return FailWith(context, kUsage);
    for (const std::string& arg : context.args)
        if (arg.starts_with("--")) return FailWith(context, kUsage);
    const std::string source = Utf8ToCp1252(context.args[0]);
    const std::string target = Utf8ToCp1252(context.args[1]);
    TKYTset set(context.environment, context.messages);
    set.NewDocument();
    FixedMetrics metrics;
    DocumentConverters converters(set, context.messages, metrics);
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
    if (!set.SaveToFile(target)) {
        for (const std::string& error : set.Errors()) FailWith(context, error);
        return 1;
    }
    return 0;
}

const CliRegistration kRegistration{
    {"import", "makes a new hypertext from a text file",
     "Usage: orvo-cli import SOURCE FILE.kyt\n"
     "Makes a new hypertext from SOURCE, chosen by its extension as opening a file does: a text\n"
     "file (.txt .asc .pas .c .cpp .ini .h .inc .dpr, Windows-1252) gives one page, one\n"
     "paragraph a line. Other formats are not supported yet. The hypertext is written to\n"
     "FILE.kyt (an existing file is kept as FILE.bak).\n",
     &RunImport}};

}  // namespace
}  // namespace orvo::cli
