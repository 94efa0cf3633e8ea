// The page parts of orvo-cli dump.
#include "PageDump.h"

#include "base/Format.h"
#include "model/TKYTorderedTree.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"

namespace orvo::cli {

std::string PageRecordJson(const TKYToggetto& page, JsonString json) {
    const PageRecord r = PageRecord::Read(page);
    auto colour = [&](std::int32_t c) { return json(HexColour(std::uint32_t(c))); };
    auto flag = [](bool on) { return on ? std::string("true") : std::string("false"); };
    std::string out;
    out += ", \"group\": " + std::to_string(r.Group());
    out += ", \"order\": " + std::to_string(r.Order());
    out += ", \"inSequence\": " + flag(r.InSequence());
    out += ", \"frameMap\": " + std::to_string(r.FrameMap());
    out += ", \"textColour\": " + colour(r.TextColour());
    out += ", \"linkColour\": " + colour(r.LinkColour());
    out += ", \"visitedColour\": " + colour(r.VisitedColour());
    out += ", \"backgroundColour\": " + colour(r.BackgroundColour());
    out += ", \"backgroundPicture\": " + std::to_string(r.BackgroundPicture());
    out += ", \"fixedBackground\": " + flag(r.FixedBackground());
    out += ", \"keywords\": [";
    bool first = true;
    for (const std::int32_t keyword : r.Keywords()) {
        if (keyword < 0) continue;
        out += (first ? "" : ", ") + std::to_string(keyword);
        first = false;
    }
    out += "]";
    out += ", \"header\": " + std::to_string(r.Header());
    out += ", \"footer\": " + std::to_string(r.Footer());
    out += ", \"alias\": " + json(r.Alias());
    out += ", \"redirect\": {\"seconds\": " + std::to_string(r.RedirectSeconds()) +
           ", \"target\": " + std::to_string(r.RedirectTarget()) + "}";
    out += ", \"textVersion\": " + std::to_string(r.TextVersion());
    out += ", \"versionStamp\": " + std::to_string(r.VersionStamp());
    return out;
}

std::string PageTreeJson(TKYTset& set, JsonString json) {
    TKYTorderedTree tree(&set);
    tree.LoadTree();
    std::string out = "[";
    bool first = true;
    tree.Nodes().ForEach([&](TreeNode& node) {
        std::string entry;
        if (node.Kind() == TreeNodeKind::Chapter)
            entry = "{\"chapter\": " + json(node.Text());
        else if (node.Kind() == TreeNodeKind::Object)
            entry = "{\"page\": " + std::to_string(CodeIdentifier(node.Code()));
        else
            return;
        out += (first ? "\n    " : ",\n    ") + entry +
               ", \"level\": " + std::to_string(node.Level()) + "}";
        first = false;
    });
    return out + "]";
}

}  // namespace orvo::cli
