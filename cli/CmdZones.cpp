// orvo-cli zones: lists the clickable zones of an image, or adds one that leads to a page.
#include <charconv>
#include <memory>
#include <ostream>

#include "CliCommand.h"
#include "base/Cp1252.h"
#include "convert/HtmlObjects.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/ImageRecord.h"
#include "objects/uKYTvisu.h"
#include "platform/IScheduler.h"

namespace orvo::cli {
namespace {

bool ParseNumber(const std::string& text, int& value) {
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
    return parsed.ec == std::errc() && parsed.ptr == text.data() + text.size();
}

// The image's frame set on the command line: no window, nothing recorded.
class CliSite final : public IVisualSite {
public:
    CliSite(TKYTset& set, IMessages& messages) : set_(set), messages_(messages) {}
    TKYTset& LinkedKYTset() override { return set_; }
    IMessages& Messages() override { return messages_; }
    IScheduler& Scheduler() override { return scheduler_; }

private:
    TKYTset& set_;
    IMessages& messages_;
    ManualScheduler scheduler_;
};

void ListZones(std::ostream& out, const TMyyImage& image) {
    const auto& zones = image.Zones();
    // Front-most first: the order the slots are stored in.
    for (auto it = zones.rbegin(); it != zones.rend(); ++it) {
        const TMyyZona& zone = **it;
        const Rect& b = zone.Bounds();
        out << "zone " << zone.Slot() << ": " << b.left << " " << b.top << " " << b.right << " "
            << b.bottom << " -> ";
        if (const TKYToggetto* target = zone.Target()) {
            const std::string hint = zone.Hint();
            out << ObjectKindName(KindIndex(target->Kind())) << " " << target->Identifier() << " \""
                << Cp1252ToUtf8(hint.substr(0, hint.find('|'))) << "\"";
        } else {
            out << "none (" << zone.Link() << ")";
        }
        out << '\n';
    }
}

int RunZones(CliContext& context) {
    std::vector<std::string> operands;
    std::vector<std::string> add;
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        if (context.args[i] == "--add") {
            if (i + 5 >= context.args.size())
                return FailWith(context, "--add takes X1 Y1 X2 Y2 LINK");
            add.assign(context.args.begin() + std::ptrdiff_t(i) + 1,
                       context.args.begin() + std::ptrdiff_t(i) + 6);
            i += 5;
        } else {
            operands.push_back(context.args[i]);
        }
    }
    if (operands.size() != 2) return FailWith(context, "zones takes FILE and IMAGE");
    int imageId = -1;
    if (!ParseNumber(operands[1], imageId) || imageId < 0)
        return FailWith(context, "IMAGE must be an image number (0 or more)");
    const std::string document = Utf8ToCp1252(operands[0]);
    TKYTset set(context.environment, context.messages);
    if (!set.LoadFromFile(document)) return FailWith(context, "cannot read " + operands[0]);
    TKYToggetto* object = set.ObjectByKind(TOggettiHel::immagineNew, imageId);
    if (!object || object->IsFree())
        return FailWith(context, "the hypertext has no image " + std::to_string(imageId));

    CliSite site(set, context.messages);
    auto image = std::make_unique<TMyyImage>(context.messages);
    image->SetSite(&site);
    image->SetObject(object);

    if (!add.empty()) {
        int x1, y1, x2, y2, page;
        if (!ParseNumber(add[0], x1) || !ParseNumber(add[1], y1) || !ParseNumber(add[2], x2) ||
            !ParseNumber(add[3], y2) || x1 < 0 || y1 < 0 || x2 <= x1 || y2 <= y1 ||
            x2 > INT16_MAX || y2 > INT16_MAX)
            return FailWith(context,
                            "X1 Y1 X2 Y2 must be a rectangle: 0 <= X1 < X2, 0 <= Y1 < Y2, at most "
                            "32767");
        if (!ParseNumber(add[4], page) || page < 0)
            return FailWith(context, "LINK must be a page number (0 or more)");
        TKYToggetto* target = set.ObjectByKind(TOggettiHel::testoHtml, page);
        if (!target || target->IsFree())
            return FailWith(context, "the hypertext has no page " + std::to_string(page));
        if (!image->AddZone())
            return FailWith(context,
                            "the image holds " + std::to_string(kZoneCount) + " zones already");
        TMyyZona& zone = *image->Zones().back();
        zone.SetBounds({x1, y1, x2, y2});
        zone.SetLink(target->Code());
        image->StoreToObject();
        if (!set.SaveToFile(document)) {
            std::string errors;
            for (const std::string& e : set.Errors()) errors += (errors.empty() ? "" : "\n") + e;
            return FailWith(context, errors.empty() ? "cannot save " + document : errors);
        }
        // Saving read the file back: every object is a new one, shown by a new view.
        object = set.ObjectByKind(TOggettiHel::immagineNew, imageId);
        if (!object) return FailWith(context, "the image is gone after saving");
        image = std::make_unique<TMyyImage>(context.messages);
        image->SetSite(&site);
        image->SetObject(object);
    }
    ListZones(context.out, *image);
    return context.out.good() ? 0 : FailWith(context, "cannot write the output");
}

const CliRegistration kRegistration{
    {"zones", "lists or adds the clickable zones of an image",
     "Usage: orvo-cli zones FILE IMAGE [--add X1 Y1 X2 Y2 LINK]\n"
     "Lists the clickable zones of image IMAGE (its number, as orvo-cli addpicture --page\n"
     "prints it) of the hypertext FILE, front-most first: slot, left, top, right and bottom in\n"
     "the image's shown pixels, and the object the zone leads to. With --add a zone from\n"
     "(X1, Y1) to (X2, Y2) that leads to page LINK goes in front of the others and the\n"
     "hypertext is saved; an image holds at most 30 zones.\n",
     &RunZones}};

}  // namespace
}  // namespace orvo::cli
