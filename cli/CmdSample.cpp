// orvo-cli sample FILE [--pages N] [--text-kb K]: writes the sample hypertext.
#include <ostream>
#include <string>

#include "CliCommand.h"
#include "base/Cp1252.h"
#include "base/Format.h"
#include "model/SampleHypertext.h"
#include "model/uKYTset.h"

namespace orvo::cli {
namespace {

constexpr std::string_view kUsage = "Usage: orvo-cli sample FILE [--pages N] [--text-kb K]";

// A whole-argument decimal within [lo, hi].
bool Number(const std::string& text, long long lo, long long hi, int& value) {
    long long parsed = 0;
    if (text.empty() || ParseClampedInt(text, lo - 1, hi + 1, parsed) != int(text.size()) ||
        parsed < lo || parsed > hi)
        return false;
    value = int(parsed);
    return true;
}

int RunSample(CliContext& context) {
    SampleOptions options;
    std::string file;
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::string& arg = context.args[i];
        const bool pages = arg == "--pages", text = arg == "--text-kb";
        if (pages || text) {
            if (i + 1 >= context.args.size()) return FailWith(context, kUsage);
            const std::string& value = context.args[++i];
            const bool ok = pages ? Number(value, 1, kSampleMaxPages, options.pages)
                                  : Number(value, 0, kSampleMaxTextKb, options.textKb);
            if (!ok)
                return FailWith(context,
                                arg + " needs a number from " + (pages ? "1 to " : "0 to ") +
                                    std::to_string(pages ? kSampleMaxPages : kSampleMaxTextKb));
        } else if (file.empty() && !arg.starts_with("--")) {
            file = Utf8ToCp1252(arg);
        } else {
            return FailWith(context, kUsage);
        }
    }
    if (file.empty()) return FailWith(context, kUsage);
    options.fileName = file;
    TKYTset set(context.environment, context.messages);
    MakeSampleHypertext(set, options);
    if (!set.SaveToFile(file)) {
        for (const std::string& error : set.Errors()) FailWith(context, error);
        return 1;
    }
    return 0;
}

const CliRegistration kRegistration{
    {"sample", "writes the sample hypertext",
     "Usage: orvo-cli sample FILE [--pages N] [--text-kb K]\n"
     "Writes the sample hypertext, a small guide in Italian, to FILE (.kyt): a cover page, a\n"
     "header and a footer page, and the other pages in two chapters of the page tree, with\n"
     "styles, formatted runs, links, keywords and browse sequences.\n"
     "  --pages N     ordinary pages, the cover included (default 7, at most 100000)\n"
     "  --text-kb K   fill every ordinary page's text to at least K KiB (at most 4096)\n",
     &RunSample}};

}  // namespace
}  // namespace orvo::cli
