// orvo-cli markup: a page's text in working form, as the markup writer writes it.
#include <charconv>
#include <ostream>

#include "CliCommand.h"
#include "base/Cp1252.h"
#include "model/LegacyText.h"
#include "model/TextForms.h"
#include "model/uKYTset.h"
#include "platform/FixedMetrics.h"

namespace orvo::cli {
namespace {

int RunMarkup(CliContext& context) {
    std::vector<std::string> operands;
    bool raw = false;
    for (const std::string& arg : context.args) {
        if (arg == "--raw")
            raw = true;
        else
            operands.push_back(arg);
    }
    if (operands.size() != 2) return FailWith(context, "markup takes FILE and PAGE");
    int page = -1;
    const std::string& number = operands[1];
    const auto parsed = std::from_chars(number.data(), number.data() + number.size(), page);
    if (parsed.ec != std::errc() || parsed.ptr != number.data() + number.size() || page < 0)
        return FailWith(context, "PAGE must be a page number (0 or more)");

    TKYTset set(context.environment, context.messages);
    InstallLegacyConversion(set);
    if (!set.LoadFromFile(Utf8ToCp1252(operands[0])))
        return FailWith(context, "cannot read " + operands[0]);
    const TKYToggetto* object = set.ObjectByKind(TOggettiHel::testoHtml, page);
    if (!object || object->IsFree()) return FailWith(context, "the document has no page " + number);

    FixedMetrics metrics;
    std::string markup = WorkingMarkupOfPage(set, *object, metrics);
    if (!markup.empty() && markup.back() == '\0') markup.pop_back();
    if (raw)
        context.out << markup;
    else
        context.out << Cp1252ToUtf8(markup) << '\n';
    return context.out.good() ? 0 : FailWith(context, "cannot write the output");
}

const CliRegistration kRegistration{
    {"markup", "prints a page's text in working form",
     "Usage: orvo-cli markup FILE PAGE [--raw]\n"
     "Opens page PAGE (its number among the pages) of the document FILE, reads its text into\n"
     "paragraphs and prints them as the markup writer writes them: object codes in working\n"
     "form (0x6F local links, 0xFF page objects), without the final 0x00 byte. The text is\n"
     "printed as UTF-8 with a line end; --raw prints the Windows-1252 bytes exactly, alone.\n",
     &RunMarkup}};

}  // namespace
}  // namespace orvo::cli
