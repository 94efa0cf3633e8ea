// orvo-cli export rtf: a hypertext's pages as one RTF document, one document per page, or the
// help-compiler variant with its project file.
#include <filesystem>
#include <string>
#include <vector>

#include "CmdExport.h"
#include "base/Cp1252.h"
#include "base/Paths.h"
#include "convert/RtfExport.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/FixedMetrics.h"

namespace orvo::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: orvo-cli export rtf FILE (OUT.rtf | --per-page DIR) [--help-project]";

int RunExportRtf(CliContext& context) {
    std::vector<std::string> names;
    std::string perPage;
    bool help = false;
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::string& arg = context.args[i];
        if (arg == "--per-page") {
            if (i + 1 >= context.args.size() || !perPage.empty()) return FailWith(context, kUsage);
            perPage = Utf8ToCp1252(context.args[++i]);
        } else if (arg == "--help-project") {
            help = true;
        } else if (!arg.starts_with("--") && names.size() < 2) {
            names.push_back(Utf8ToCp1252(arg));
        } else {
            return FailWith(context, kUsage);
        }
    }
    const bool single = perPage.empty();
    if (names.size() != (single ? 2u : 1u)) return FailWith(context, kUsage);
    if (help && !single) return FailWith(context, "--help-project writes one file: give OUT.rtf");
    TKYTset set(context.environment, context.messages);
    if (!set.LoadFromFile(names[0])) return 1;
    std::vector<std::int32_t> pages;
    for (const auto& page : set.KindList(TOggettiHel::testoHtml))
        if (page && !page->IsFree()) pages.push_back(page->Identifier());
    FixedMetrics metrics;
    TKYTtortf rtf(&set, metrics);
    Status done;
    if (!single) {
        rtf.ExportPath = perPage;
        std::error_code ec;
        std::filesystem::create_directories(NativePath(perPage), ec);
        done = rtf.ExportPerPage(pages);
    } else {
        rtf.ExportFileName = names[1];
        done = help ? rtf.ExportHelp(pages) : rtf.ExportPages(pages);
    }
    if (!done) return FailWith(context, done.failure().text);
    return 0;
}

const ExportFormatRegistration kRtf{
    {"rtf", "orvo-cli export rtf FILE (OUT.rtf | --per-page DIR) [--help-project]", &RunExportRtf}};

}  // namespace
}  // namespace orvo::cli
