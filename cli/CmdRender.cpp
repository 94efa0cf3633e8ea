// orvo-cli render: a page drawn offscreen into a PNG picture, as a reader would see it.
#ifdef ORVO_HAVE_UI_RENDER

#include <charconv>

#include "CliCommand.h"
#include "base/Cp1252.h"
#include "model/LegacyText.h"
#include "model/uKYTset.h"
#include "ui/render/PageRender.h"

namespace orvo::cli {
namespace {

bool ParseNumber(const std::string& text, int& value) {
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
    return parsed.ec == std::errc() && parsed.ptr == text.data() + text.size();
}

int RunRender(CliContext& context) {
    std::vector<std::string> operands;
    PageRenderOptions options;
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::string& arg = context.args[i];
        if (arg == "--edit") {
            options.editMode = true;
        } else if (arg == "--width") {
            if (i + 1 >= context.args.size() || !ParseNumber(context.args[i + 1], options.width) ||
                options.width < 20 || options.width > 20000)
                return FailWith(context, "--width takes a number of pixels from 20 to 20000");
            ++i;
        } else {
            operands.push_back(arg);
        }
    }
    if (operands.size() != 3) return FailWith(context, "render takes FILE, PAGE and OUT.png");
    int page = -1;
    if (!ParseNumber(operands[1], page) || page < 0)
        return FailWith(context, "PAGE must be a page number (0 or more)");

    TKYTset set(context.environment, context.messages);
    InstallLegacyConversion(set);
    if (!set.LoadFromFile(Utf8ToCp1252(operands[0])))
        return FailWith(context, "cannot read " + operands[0]);
    const Status rendered = RenderPageToPng(set, page, std::filesystem::path(operands[2]), options);
    if (!rendered.ok()) return FailWith(context, rendered.failure().text);
    return 0;
}

const CliRegistration kRegistration{
    {"render", "draws a page into a PNG picture",
     "Usage: orvo-cli render FILE PAGE OUT.png [--width PIXELS] [--edit]\n"
     "Shows page PAGE (its number among the pages) of the document FILE as a read-only page\n"
     "shows it, with its header and footer, background colour and picture, laid out with the\n"
     "desktop's fonts at 96 pixels per inch in a page PIXELS wide (800 unless given), and\n"
     "writes the picture to OUT.png. With --edit the page is drawn as it is edited: header and\n"
     "footer hatched.\n",
     &RunRender}};

}  // namespace
}  // namespace orvo::cli

#endif  // ORVO_HAVE_UI_RENDER
