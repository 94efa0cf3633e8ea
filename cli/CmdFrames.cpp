// orvo-cli frames: a page's frame map as JSON, and the frame set's edits on it: splitting a
// frame by dragging a bar, showing a page in a frame, frame-layout files, storing the map.
#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>

#include "CliCommand.h"
#include "base/Cp1252.h"
#include "model/LegacyText.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/FixedMetrics.h"
#include "platform/IScheduler.h"
#include "textbox/FramePages.h"
#include "textbox/FrameRecord.h"
#include "textbox/TKYTpageHeadless.h"
#include "textbox/uKYTCornice.h"

namespace orvo::cli {
namespace {

std::optional<std::int32_t> Number(const std::string& text) {
    std::int32_t value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<std::string> ReadFile(const std::string& utf8) {
    std::ifstream in(utf8, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool WriteFile(const std::string& utf8, const std::string& bytes) {
    std::ofstream out(utf8, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(out.flush());
}

// One step of the command line, run in order once the page is shown.
struct Step {
    enum Kind { Split, Show, Load, Save } kind;
    std::string frame;  // Split, Show
    FrameBar bar = FrameBar::Top;
    std::int32_t number = 0;  // distance or page
    std::string file;         // Load, Save
    bool clearPages = false;
};

int RunFrames(CliContext& context) {
    std::vector<std::string> operands;
    std::vector<Step> steps;
    bool store = false;
    std::int32_t width = 800, height = 600;
    const auto& a = context.args;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto more = [&](std::size_t n) { return i + n < a.size(); };
        if (a[i] == "--split") {
            if (!more(3) || (a[i + 2] != "top" && a[i + 2] != "left") || !Number(a[i + 3]))
                return FailWith(context, "--split takes a frame name, top or left and a distance");
            steps.push_back({Step::Split,
                             Utf8ToCp1252(a[i + 1]),
                             a[i + 2] == "top" ? FrameBar::Top : FrameBar::Left,
                             *Number(a[i + 3]),
                             {},
                             false});
            i += 3;
        } else if (a[i] == "--show") {
            if (!more(2) || !Number(a[i + 2]) || *Number(a[i + 2]) < 0)
                return FailWith(context, "--show takes a frame name and a page number");
            steps.push_back(
                {Step::Show, Utf8ToCp1252(a[i + 1]), FrameBar::Top, *Number(a[i + 2]), {}, false});
            i += 2;
        } else if (a[i] == "--load-layout" || a[i] == "--save-layout") {
            if (!more(1)) return FailWith(context, a[i] + " takes a file name");
            steps.push_back({a[i] == "--load-layout" ? Step::Load : Step::Save,
                             {},
                             FrameBar::Top,
                             0,
                             a[i + 1],
                             false});
            ++i;
        } else if (a[i] == "--clear-pages") {
            if (steps.empty() || steps.back().kind != Step::Load)
                return FailWith(context, "--clear-pages follows --load-layout");
            steps.back().clearPages = true;
        } else if (a[i] == "--store") {
            store = true;
        } else if (a[i] == "--size") {
            const auto w = more(2) ? Number(a[i + 1]) : std::nullopt;
            const auto h = more(2) ? Number(a[i + 2]) : std::nullopt;
            if (!w || !h || *w < 20 || *h < 20 || *w > 100000 || *h > 100000)
                return FailWith(context,
                                "--size takes a width and a height of 20 to 100000 pixels");
            width = *w;
            height = *h;
            i += 2;
        } else {
            operands.push_back(a[i]);
        }
    }
    if (operands.size() != 2) return FailWith(context, "frames takes FILE and PAGE");
    const auto page = Number(operands[1]);
    if (!page || *page < 0) return FailWith(context, "PAGE must be a page number (0 or more)");

    TKYTset set(context.environment, context.messages);
    InstallLegacyConversion(set);
    const std::string file = Utf8ToCp1252(operands[0]);
    if (!set.LoadFromFile(file)) return FailWith(context, "cannot read " + operands[0]);
    if (!LivePage(set, *page)) return FailWith(context, "the document has no page " + operands[1]);

    if (steps.empty() && !store) {
        if (PageRecord::Read(*LivePage(set, *page)).FrameMap() < 0) {
            context.out << "null\n";
            return context.out.good() ? 0 : FailWith(context, "cannot write the output");
        }
        Result<TNonVisCornice> tree = TNonVisCornice::FromPage(set, *page);
        if (!tree) return FailWith(context, tree.failure().text);
        context.out << FrameTreeJson(tree->Top()) << '\n';
        return context.out.good() ? 0 : FailWith(context, "cannot write the output");
    }

    FixedMetrics metrics;
    HeadlessTextViewFactory views(metrics);
    RecordingUndoPurge undo;
    ManualSpellPacer spell;
    ManualScheduler scheduler;
    SurfaceFramePageFactory pages(views, undo, spell, scheduler);
    TKYTframeSet frames(context.messages, scheduler, pages);
    frames.SetLinkedKYTset(&set);
    frames.SaveOnExit = store;
    frames.SetClientSize(width, height);
    frames.SetMainPageNumber(*page);
    if (!frames.Top()) return FailWith(context, "cannot show page " + operands[1]);

    for (const Step& step : steps) {
        TKYTFrame* frame = nullptr;
        if (step.kind == Step::Split || step.kind == Step::Show) {
            frame = frames.FrameNamed(step.frame);
            if (!frame)
                return FailWith(context, "the page has no frame named " + Cp1252ToUtf8(step.frame));
        }
        switch (step.kind) {
            case Step::Split:
                if (!frames.DragBar(*frame, step.bar, step.number))
                    return FailWith(context, "frame " + Cp1252ToUtf8(step.frame) +
                                                 " was not split (a drag of more than 4 bar "
                                                 "widths along a bar it shows splits it)");
                break;
            case Step::Show:
                if (!frames.ShowPageInFrame(*frame, step.number))
                    return FailWith(context, "cannot show page " + std::to_string(step.number) +
                                                 " in frame " + Cp1252ToUtf8(step.frame));
                break;
            case Step::Load: {
                const auto bytes = ReadFile(step.file);
                if (!bytes) return FailWith(context, "cannot read " + step.file);
                if (!frames.LoadLayout(*bytes, step.clearPages)) return 1;  // the box said why
                break;
            }
            case Step::Save: {
                std::string bytes;
                if (!frames.SaveLayout(bytes))
                    return FailWith(context, "the page is not split: no layout to save");
                if (!WriteFile(step.file, bytes))
                    return FailWith(context, "cannot write " + step.file);
                break;
            }
        }
    }
    const FrameNode tree = frames.TreeNode(true);
    if (store) {
        frames.SetMainPageNumber(-1);  // leaving the page stores its pages and its map
        if (!set.SaveToFile(file)) return FailWith(context, "cannot save " + operands[0]);
    }
    context.out << FrameTreeJson(tree) << '\n';
    return context.out.good() ? 0 : FailWith(context, "cannot write the output");
}

const CliRegistration kRegistration{
    {"frames", "prints a page's frame map as JSON; splits frames, saves and loads layouts",
     "Usage: orvo-cli frames FILE PAGE [--size W H] [--split FRAME top|left DISTANCE]...\n"
     "                      [--show FRAME PAGE]... [--load-layout F.frm [--clear-pages]]\n"
     "                      [--save-layout F.frm] [--store]\n"
     "Without options, prints the frame map of page PAGE of the document FILE as JSON (null\n"
     "when the page has none). With options, shows the page in a frame set of W x H pixels\n"
     "(800 x 600 by default), runs the options in order and prints the frame tree:\n"
     "  --split FRAME top|left D  drags the top or left bar of FRAME by D pixels (more than\n"
     "                            4 bar widths, 40 pixels, splits it)\n"
     "  --show FRAME PAGE         shows page PAGE in FRAME\n"
     "  --load-layout F.frm       replaces the frames by a frame-layout file; with\n"
     "                            --clear-pages every frame shows a new page\n"
     "  --save-layout F.frm       writes the frames to a frame-layout file\n"
     "  --store                   stores the pages of the frames and the page's frame map in\n"
     "                            the document and saves it\n"
     "The page shown alone is the frame \"PagN\"; new frames are named \"Frame\" and 6\n"
     "hexadecimal digits (see the printed tree).\n",
     RunFrames}};

}  // namespace
}  // namespace orvo::cli
