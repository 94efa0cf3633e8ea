// orvo-cli export txt: every page of a hypertext as one Windows-1252 text file, or each page
// as its own file.
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

constexpr std::string_view kUsage = "Usage: orvo-cli export txt FILE (OUT.txt | --per-page DIR)";

int Run(CliContext& context) {
    std::vector<std::string> names;
    std::string perPage;
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::string& arg = context.args[i];
        if (arg == "--per-page") {
            if (i + 1 >= context.args.size() || !perPage.empty()) return FailWith(context, kUsage);
            perPage = context.args[++i];
        } else if (!arg.starts_with("--") && names.size() < 2) {
            names.push_back(arg);
        } else {
            return FailWith(context, kUsage);
        }
    }
    const bool single = perPage.empty();
    if (names.size() != (single ? 2u : 1u)) return FailWith(context, kUsage);
    std::error_code ec;
    if (single && std::filesystem::equivalent(names[0], names[1], ec))
        return FailWith(context, "OUT.txt names the hypertext itself");
    TKYTset set(context.environment, context.messages);
    if (!set.LoadFromFile(Utf8ToCp1252(names[0]))) return 1;
    std::vector<std::int32_t> pages;
    for (int i = 0; i < set.KindCount(TOggettiHel::testoHtml); ++i)
        if (LivePage(set, i)) pages.push_back(i);
    TKYTtoTxt txt(&set);
    if (single) {
        txt.ExportFileName = Utf8ToCp1252(names[1]);
        if (Status done = txt.ExportPages(pages); !done)
            return FailWith(context, done.failure().text);
        return 0;
    }
    // One file a page, named by the page's number: DIR/0.txt, DIR/1.txt, ...
    std::filesystem::create_directories(perPage, ec);
    if (ec || !std::filesystem::is_directory(perPage))
        return FailWith(context, "cannot make the folder " + Utf8ToCp1252(perPage));
    for (std::int32_t page : pages) {
        txt.ExportFileName = Utf8ToCp1252(
            (std::filesystem::path(perPage) / (std::to_string(page) + ".txt")).string());
        if (Status done = txt.ExportPage(page); !done)
            return FailWith(context, done.failure().text);
    }
    return 0;
}

const ExportFormatRegistration kTxt{
    {"txt", "orvo-cli export txt FILE (OUT.txt | --per-page DIR)", &Run}};

}  // namespace
}  // namespace orvo::cli
