// The link actions of orvo-cli edit.
#include "EditLinks.h"

#include <charconv>

#include "app/LinkWindowRules.h"
#include "app/SpecialLinkRules.h"
#include "base/Cp1252.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "textbox/uKYTattr.h"

namespace orvo::cli {

namespace {

std::optional<std::int32_t> Int(const std::string& text) {
    std::int32_t value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

// "WxH" or "WxH+LEFT+TOP".
bool ParseGeometry(const std::string& text, WindowFeatures& f) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos) return false;
    const std::size_t plus = text.find('+', x);
    const auto w = Int(text.substr(0, x));
    const auto h = Int(text.substr(x + 1, plus == std::string::npos ? plus : plus - x - 1));
    if (!w || !h || *w < 1 || *h < 1 || *w > 32767 || *h > 32767) return false;
    f.width = *w;
    f.height = *h;
    if (plus != std::string::npos) {
        const std::size_t second = text.find('+', plus + 1);
        if (second == std::string::npos) return false;
        const auto left = Int(text.substr(plus + 1, second - plus - 1));
        const auto top = Int(text.substr(second + 1));
        if (!left || !top || *left < 0 || *top < 0 || *left > 32767 || *top > 32767) return false;
        f.left = *left;
        f.top = *top;
    }
    f.resizable = f.scrollbars = true;
    return true;
}

}  // namespace

std::optional<std::string> LinkAction(TKYTset& set, TKYTTextAttributes& text,
                                      const std::string& target) {
    if (target.empty()) return "link takes a target";
    if (!text.HasSelection()) return Cp1252ToUtf8(kSelectFirst);
    Result<NamedTarget> named = TargetNamed(set, Utf8ToCp1252(target));
    if (!named) return Cp1252ToUtf8(named.failure().text);
    text.ApplyLink(named->object);
    return std::nullopt;
}

std::optional<std::string> SpecialLinkAction(TKYTset& set, TKYTTextAttributes& text,
                                             std::vector<std::string> words) {
    SpecialLinkChoice choice;
    std::erase_if(words, [&](const std::string& w) {
        if (w != "--frameset") return false;
        choice.targetFrame = 1;
        return true;
    });
    if (words.empty()) return "speclink takes a kind (orvo-cli edit --help)";
    if (!text.HasSelection()) return Cp1252ToUtf8(kSelectFirst);
    const std::string kind = words[0];
    std::vector<std::string> args(words.begin() + 1, words.end());
    std::optional<std::string> targetWords;
    std::optional<std::string> anchorWord;
    const auto count = [&](std::size_t least, std::size_t most) {
        return args.size() >= least && args.size() <= most;
    };
    const std::string bad = "speclink " + kind + ": wrong arguments (orvo-cli edit --help)";
    if (kind == "anchor") {
        if (!count(1, 1)) return bad;
        choice.tab = SpecialTab::Anchor;
        anchorWord = args[0];
    } else if (kind == "jump" || kind == "replace" || kind == "browser") {
        if (!count(1, 2)) return bad;
        choice.tab = SpecialTab::Normal;
        choice.choice = kind == "jump" ? 0 : kind == "replace" ? 1 : 2;
        targetWords = args[0];
        if (args.size() == 2) anchorWord = args[1];
    } else if (kind == "frame") {
        if (!count(2, 3)) return bad;
        choice.tab = SpecialTab::Frame;
        choice.name = Utf8ToCp1252(args[0]);
        targetWords = args[1];
        if (args.size() == 3) anchorWord = args[2];
    } else if (kind == "window" || kind == "popup") {
        const bool window = kind == "window";
        if (!count(window ? 2 : 1, window ? 3 : 2)) return bad;
        choice.tab = SpecialTab::Window;
        choice.choice = window ? 0 : 1;
        if (window) choice.name = Utf8ToCp1252(args[0]);
        targetWords = args[window ? 1 : 0];
        if (args.size() == (window ? 3u : 2u) && !ParseGeometry(args.back(), choice.features))
            return "speclink " + kind + ": the size is WxH or WxH+LEFT+TOP";
    } else if (kind == "close") {
        if (!count(1, 1)) return bad;
        choice.tab = SpecialTab::Close;
        choice.closeMain = args[0] == kSpecMainWindow;
        choice.name = Utf8ToCp1252(args[0]);
    } else if (kind == "keywords" || kind == "previous" || kind == "next") {
        if (!count(0, 0)) return bad;
        choice.tab = SpecialTab::Misc;
        choice.choice = kind == "keywords" ? 0 : kind == "previous" ? 1 : 2;
    } else if (kind == "import") {
        if (!count(1, 1)) return bad;
        choice.tab = SpecialTab::AutoImport;
        choice.importPath = Utf8ToCp1252(args[0]);
    } else {
        return "speclink: unknown kind \"" + kind + "\"";
    }
    if (anchorWord) {
        const auto n = Int(*anchorWord);
        if (!n || *n < 0) return "speclink: an anchor is a number (0 or more)";
        choice.anchor = *n;
    }
    std::unique_ptr<TKYToggetto> link = NewSpecialLink(set);
    WriteSpecialLink(*link, choice);
    if (anchorWord && choice.tab != SpecialTab::Anchor)
        link->View().SetI32(kSpecAnchor, choice.anchor);
    if (SpecialLinkNeedsName(*link)) return "speclink " + kind + ": the window needs a name";
    Result<NamedTarget> target = Fail("");
    if (targetWords) {
        target = TargetNamed(set, Utf8ToCp1252(*targetWords));
        if (!target) return Cp1252ToUtf8(target.failure().text);
    }
    ApplySpecialLinkToText(text, *link, targetWords ? target->object : nullptr);
    return std::nullopt;
}

}  // namespace orvo::cli
