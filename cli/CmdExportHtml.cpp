// orvo-cli export html: a hypertext written as a web site.
#include <ostream>
#include <string>
#include <vector>

#include "CmdExport.h"
#include "base/Cp1252.h"
#include "convert/HtmlExport.h"
#include "convert/HtmlObjects.h"
#include "model/uKYTset.h"

namespace orvo::cli {
namespace {

int RunExportHtml(CliContext& context) {
    constexpr std::string_view kUsage =
        "Usage: orvo-cli export html FILE OUTDIR [--prefix P] [--ext htm|html] [--sep-images] "
        "[--orig-names]";
    std::vector<std::string> names;
    std::string prefix;
    bool hasPrefix = false, sepImages = false, origNames = false;
    int ext = 1;
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::string& arg = context.args[i];
        if (arg == "--prefix" || arg == "--ext") {
            if (i + 1 >= context.args.size()) return FailWith(context, kUsage);
            const std::string& value = context.args[++i];
            if (arg == "--prefix") {
                prefix = Utf8ToCp1252(value);
                hasPrefix = true;
            } else if (value == "htm") {
                ext = 0;
            } else if (value == "html") {
                ext = 1;
            } else {
                return FailWith(context, "--ext takes htm or html");
            }
        } else if (arg == "--sep-images") {
            sepImages = true;
        } else if (arg == "--orig-names") {
            origNames = true;
        } else if (!arg.starts_with("--") && names.size() < 2) {
            names.push_back(Utf8ToCp1252(arg));
        } else {
            return FailWith(context, kUsage);
        }
    }
    if (names.size() != 2) return FailWith(context, kUsage);
    TKYTset set(context.environment, context.messages);
    if (!set.LoadFromFile(names[0])) return 1;
    TKYTtoHtml html(&set);
    html.ExportPath = names[1];
    html.ExpTipoExt = ext;
    html.ExpSepImage = sepImages;
    html.ExpOrigName = origNames;
    if (hasPrefix) html.PrefixOverride = prefix;
    // Every page in number order, each followed by its alias page, then the files.
    std::vector<TKYToggetto*> images;
    Status done = html.ExportAllPages(images, true);
    if (done) done = html.WriteObjectFiles(images);
    if (!done) return FailWith(context, done.failure().text);
    // Objects that could not be written (an image whose picture is missing, a stored picture
    // met in a text): one warning a kind.
    for (const auto& [kind, count] : html.UnwrittenKinds)
        context.err << "warning: " << count << " object" << (count == 1 ? "" : "s") << " of kind "
                    << ObjectKindName(kind) << " not exported\n";
    return 0;
}

const ExportFormatRegistration kHtml{
    {"html",
     "orvo-cli export html FILE OUTDIR [--prefix P] [--ext htm|html] [--sep-images] "
     "[--orig-names]",
     &RunExportHtml}};

}  // namespace
}  // namespace orvo::cli
