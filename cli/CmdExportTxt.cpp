// orvo-cli export txt: every page of a hypertext as one Windows-1252 text file.
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "CmdExport.h"
#include "base/Cp1252.h"
#include "convert/TextExport.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"

namespace orvo::cli {
namespace {

constexpr std::string_view kUsage = "Usage: orvo-cli export txt FILE OUT.txt";

int Run(CliContext& context) {
    if (context.args.size() != 2) return FailWith(context, kUsage);
    for (const std::string& arg : context.args)
        if (arg.starts_with("--")) return FailWith(context, kUsage);
    std::error_code ec;
    if (std::filesystem::equivalent(context.args[0], context.args[1], ec))
        return FailWith(context, "OUT.txt names the hypertext itself");
    TKYTset set(context.environment, context.messages);
    if (!set.LoadFromFile(Utf8ToCp1252(context.args[0]))) return 1;
    std::vector<std::int32_t> pages;
    for (int i = 0; i < set.KindCount(TOggettiHel::testoHtml); ++i)
        if (LivePage(set, i)) pages.push_back(i);
    TKYTtoTxt txt(&set);
    txt.ExportFileName = Utf8ToCp1252(context.args[1]);
    if (Status done = txt.ExportPages(pages); !done) return FailWith(context, done.failure().text);
    return 0;
}

const ExportFormatRegistration kTxt{{"txt", "orvo-cli export txt FILE OUT.txt", &Run}};

}  // namespace
}  // namespace orvo::cli
