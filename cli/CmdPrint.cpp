// orvo-cli print: pages printed into a PDF file, as the desktop prints them on paper.
#ifdef ORVO_HAVE_UI_RENDER

#include <filesystem>
#include <ostream>

#include "CliCommand.h"
#include "base/Cp1252.h"
#include "base/Format.h"
#include "model/LegacyText.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "textbox/TFprintRules.h"
#include "textbox/TPageSetupDialog.h"
#include "ui/render/PageRender.h"
#include "ui/render/QtPrintDevice.h"

namespace orvo::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: orvo-cli print FILE --pdf OUT.pdf [--pages LIST] [--margins L,T,R,B]\n"
    "                          [--per-page DIR] [--paper W,H] [--dpi N] [--scale S]\n"
    "                          [--background] [--table-background]";

bool Number(std::string_view text, long long lo, long long hi, long long& value) {
    return !text.empty() && ParseClampedInt(text, lo - 1, hi + 1, value) == int(text.size()) &&
           value >= lo && value <= hi;
}

// "0,3-5,2": pages in the order given.
bool ParsePages(std::string_view list, std::vector<std::int32_t>& pages) {
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view item = list.substr(0, comma);
        const std::size_t dash = item.find('-');
        long long first = 0, last = 0;
        if (dash == std::string_view::npos) {
            if (!Number(item, 0, kMaxPageNumber - 1, first)) return false;
            last = first;
        } else if (!Number(item.substr(0, dash), 0, kMaxPageNumber - 1, first) ||
                   !Number(item.substr(dash + 1), 0, kMaxPageNumber - 1, last) || last < first ||
                   last - first > 1000000) {
            return false;
        }
        for (long long p = first; p <= last; ++p) pages.push_back(std::int32_t(p));
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
        if (list.empty()) return false;
    }
    return !pages.empty();
}

// Numbers separated by commas, each within [lo, hi].
bool ParseNumbers(std::string_view text, std::size_t count, long long lo, long long hi,
                  std::vector<long long>& out) {
    while (true) {
        const std::size_t comma = text.find(',');
        long long value = 0;
        if (!Number(text.substr(0, comma), lo, hi, value)) return false;
        out.push_back(value);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return out.size() == count;
}

int RunPrint(CliContext& context) {
    std::string file, pdf, perPage;
    std::vector<std::int32_t> pages;
    std::vector<long long> margins, paperSize;
    PdfPaper paper;
    PrintOptions options;
    const auto& args = context.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> const std::string* {
            return i + 1 < args.size() ? &args[++i] : nullptr;
        };
        if (arg == "--pdf" || arg == "--per-page") {
            const std::string* v = value();
            if (!v) return FailWith(context, kUsage);
            (arg == "--pdf" ? pdf : perPage) = *v;
        } else if (arg == "--pages") {
            const std::string* v = value();
            if (!v || !ParsePages(*v, pages))
                return FailWith(context, "--pages takes page numbers and ranges: 0,3-5,2");
        } else if (arg == "--margins") {
            const std::string* v = value();
            if (!v || !ParseNumbers(*v, 4, 0, 100000, margins))
                return FailWith(context, "--margins takes four millimetres: left,top,right,bottom");
        } else if (arg == "--paper") {
            const std::string* v = value();
            if (!v || !ParseNumbers(*v, 2, 20, 2000, paperSize))
                return FailWith(context, "--paper takes the sheet in millimetres: width,height");
            paper.widthMm = double(paperSize[0]);
            paper.heightMm = double(paperSize[1]);
        } else if (arg == "--dpi") {
            const std::string* v = value();
            long long dpi = 0;
            if (!v || !Number(*v, 72, 2400, dpi))
                return FailWith(context, "--dpi takes a resolution from 72 to 2400");
            paper.pixelsPerInch = int(dpi);
        } else if (arg == "--scale") {
            const std::string* v = value();
            long long scale = 0;
            if (!v || !Number(*v, 20, 20000, scale))
                return FailWith(context, "--scale takes an image scale from 20 to 20000");
            options.imageScale = std::int32_t(scale);
        } else if (arg == "--background") {
            options.background = true;
        } else if (arg == "--table-background") {
            options.tableBackground = true;
        } else if (file.empty() && !arg.starts_with("--")) {
            file = arg;
        } else {
            return FailWith(context, kUsage);
        }
    }
    if (file.empty() || (pdf.empty() == perPage.empty())) return FailWith(context, kUsage);

    TKYTset set(context.environment, context.messages);
    InstallLegacyConversion(set);
    if (!set.LoadFromFile(Utf8ToCp1252(file))) return FailWith(context, "cannot read " + file);
    if (pages.empty()) pages = DefaultPageOrder(set);
    for (std::int32_t page : pages)
        if (!LivePage(set, page))
            return FailWith(context, "the document has no page " + std::to_string(page));

    TPageSetupDialog setup;
    if (!margins.empty()) {
        // Millimetres as hundredths; a left margin of 0 is refused by its minimum of 0.
        setup.SetMarginLeft(std::int32_t(margins[0] * 100));
        setup.SetMarginTop(std::int32_t(margins[1] * 100));
        setup.SetMarginRight(std::int32_t(margins[2] * 100));
        setup.SetMarginBottom(std::int32_t(margins[3] * 100));
    }
    EnsureGuiApplication();
    if (!pdf.empty()) {
        PdfPrintDevice device(std::filesystem::path(pdf), paper);
        const int printed = PrintPages(set, pages, device, setup, options);
        if (!device.Finish() || printed != int(pages.size()))
            return FailWith(context, "cannot print into " + pdf);
        context.out << printed << " pages, " << device.Sheets() << " sheets: " << pdf << '\n';
        return 0;
    }
    std::error_code error;
    std::filesystem::create_directories(perPage, error);
    if (error) return FailWith(context, "cannot make the folder " + perPage);
    int sheets = 0;
    for (std::int32_t page : pages) {
        const std::filesystem::path out =
            std::filesystem::path(perPage) / (std::to_string(page) + ".pdf");
        PdfPrintDevice device(out, paper);
        if (PrintPages(set, {page}, device, setup, options) != 1 || !device.Finish())
            return FailWith(context, "cannot print into " + out.string());
        sheets += device.Sheets();
    }
    context.out << pages.size() << " pages, " << sheets << " sheets: " << perPage << '\n';
    return 0;
}

const CliRegistration kRegistration{
    {"print", "prints pages into a PDF file",
     "Usage: orvo-cli print FILE --pdf OUT.pdf [--pages LIST] [--margins L,T,R,B]\n"
     "                          [--per-page DIR] [--paper W,H] [--dpi N] [--scale S]\n"
     "                          [--background] [--table-background]\n"
     "Prints pages of the document FILE as the desktop prints them on paper: each page with its\n"
     "header and footer, laid out at the sheet's resolution and cut into sheets, into one PDF\n"
     "file OUT.pdf (or, with --per-page DIR, one file DIR/N.pdf a page).\n"
     "  --pages LIST        page numbers and ranges, in the order to print (0,3-5,2); every\n"
     "                      page in the page tree's order unless given\n"
     "  --margins L,T,R,B   margins in millimetres (25 each unless given)\n"
     "  --paper W,H         the sheet in millimetres (210,297: A4)\n"
     "  --dpi N             the resolution pages are laid out at (600)\n"
     "  --scale S           hundredths of a millimetre for 100 pixels of a picture (2500)\n"
     "  --background        fill every sheet with the page's background\n"
     "  --table-background  fill table cells with their backgrounds\n",
     &RunPrint}};

}  // namespace
}  // namespace orvo::cli

#endif  // ORVO_HAVE_UI_RENDER
