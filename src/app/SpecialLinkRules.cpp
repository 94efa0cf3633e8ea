// The special-link window's rules: the record written from its tabs and read back into them.
#include "app/SpecialLinkRules.h"

#include <cstring>

#include "base/ByteStream.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "textbox/uKYTattr.h"

namespace orvo {

namespace {

using K = TOggettiHel;

constexpr std::uint8_t kActionNames[] = {5, 0, 3};  // Normal choices
constexpr std::uint8_t kActionWindows[] = {2, 4};   // Window choices
constexpr std::uint8_t kWindowScriptMarker = 13;
constexpr std::uint8_t kAnchorMarker = 14;

void PutI16(std::string& out, std::size_t at, int value) {
    const auto v = std::uint16_t(std::int16_t(value));
    out[at] = char(v & 0xFF);
    out[at + 1] = char(v >> 8);
}

bool IsIdentifierChar(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The auxiliary stream of a link's own HTML code: an empty header, then the code.
std::optional<std::string> CodeStream(const std::string& html) {
    if (html.empty()) return std::nullopt;
    std::string aux(4, '\0');
    return aux + html;
}

}  // namespace

std::pair<std::uint8_t, int> SpecSubtypeAndAction(SpecialTab tab, int choice) {
    switch (tab) {
        case SpecialTab::Anchor:
            return {1, 6};
        case SpecialTab::Normal:
            return {1, kActionNames[choice >= 0 && choice < 3 ? choice : 0]};
        case SpecialTab::Window:
            return {1, kActionWindows[choice == 1 ? 1 : 0]};
        case SpecialTab::Frame:
            return {1, 1};
        case SpecialTab::Close:
            return {2, -1};
        case SpecialTab::Misc:
            return {std::uint8_t(3 + (choice >= 0 && choice < 3 ? choice : 0)), -1};
        case SpecialTab::AutoImport:
            return {6, -1};
    }
    return {1, 6};
}

std::string WindowFeaturesBytes(const WindowFeatures& f) {
    std::string out(kWindowFeaturesSize, '\0');
    const auto value = [](const std::optional<int>& v) { return v ? *v : kWindowFeatureNotSet; };
    PutI16(out, 0, value(f.top));
    PutI16(out, 2, value(f.left));
    PutI16(out, 4, value(f.width));
    PutI16(out, 6, value(f.height));
    PutI16(out, 8, value(f.screenX));
    PutI16(out, 10, value(f.screenY));
    out[13] = char(f.dependent);
    const bool flags[] = {f.fullscreen, f.location, f.menubar, f.resizable,
                          f.scrollbars, f.status,   f.toolbar};
    for (std::size_t i = 0; i < std::size(flags); ++i) out[15 + i] = char(flags[i]);
    return out;
}

std::string ValidWindowName(std::string_view name) {
    std::string out;
    for (const char c : name) {
        if (out.size() >= kSpecNameMax) break;
        out += IsIdentifierChar(static_cast<unsigned char>(c)) ? c : '_';
    }
    if (!out.empty() && out[0] >= '0' && out[0] <= '9') {
        out.insert(out.begin(), 'w');
        if (out.size() > kSpecNameMax) out.resize(kSpecNameMax);
    }
    return out;
}

void WriteSpecialLink(TKYToggetto& link, const SpecialLinkChoice& c) {
    RecordView r = link.View();
    link.SetAuxiliary(CodeStream(c.html));
    r.SetU8(kSpecFrame, c.targetFrame > 1 ? 1 : c.targetFrame);
    const bool closeMain = c.tab == SpecialTab::Close && c.closeMain;
    r.SetPStr(kSpecName, closeMain ? kSpecMainWindow : ValidWindowName(c.name));
    const auto [subtype, action] = SpecSubtypeAndAction(c.tab, c.choice);
    r.SetU8(kRecSubtype, subtype);
    if (action >= 0) r.SetU8(kSpecAction, std::uint8_t(action));
    switch (c.tab) {
        case SpecialTab::Anchor:
            r.SetI32(kSpecAnchor, c.anchor);
            r.SetI32(kSpecTarget, -1);
            break;
        case SpecialTab::Window:
            link.SetContent(WindowFeaturesBytes(c.features));
            break;
        case SpecialTab::Close:
            r.SetI32(kSpecAnchor, closeMain ? -2 : -1);
            break;
        case SpecialTab::AutoImport:
            link.SetContent(c.importPath);
            break;
        default:
            break;
    }
}

SpecialLinkChoice ReadSpecialLink(const TKYToggetto& link) {
    SpecialLinkChoice c;
    const RecordView r = link.ReadView();
    c.targetFrame = r.U8(kSpecFrame) == 1 ? 1 : 0;
    c.name = r.PStr(kSpecName);
    c.anchor = r.I32(kSpecAnchor);
    c.html = link.AuxiliaryCode();
    const std::uint8_t action = r.U8(kSpecAction);
    switch (link.Subtype()) {
        case 2:
            c.tab = SpecialTab::Close;
            c.closeMain = c.anchor == -2 || c.name == kSpecMainWindow;
            c.anchor = -1;
            break;
        case 3:
        case 4:
        case 5:
            c.tab = SpecialTab::Misc;
            c.choice = link.Subtype() - 3;
            break;
        case 6: {
            c.tab = SpecialTab::AutoImport;
            Result<std::string> path = link.ContentBytes();
            if (path) c.importPath = *path;
            break;
        }
        default:
            switch (action) {
                case 0:
                case 3:
                case 5:
                    c.tab = SpecialTab::Normal;
                    c.choice = action == 5 ? 0 : action == 0 ? 1 : 2;
                    break;
                case 1:
                    c.tab = SpecialTab::Frame;
                    break;
                case 2:
                case 4: {
                    c.tab = SpecialTab::Window;
                    c.choice = action == 4 ? 1 : 0;
                    Result<std::string> bytes = link.ContentBytes();
                    if (bytes) c.features = ReadWindowFeatures(*bytes);
                    break;
                }
                default:
                    c.tab = SpecialTab::Anchor;
                    break;
            }
    }
    return c;
}

std::unique_ptr<TKYToggetto> NewSpecialLink(TKYTset& set) {
    auto link = NewObjectOfKind(K::speclink, &set);
    link->Clear();
    link->TakeIntoUse();
    link->View().SetI32(kSpecTarget, -1);
    return link;
}

bool SpecialLinkNeedsName(const TKYToggetto& link) {
    if (link.Subtype() != 1) return false;
    const std::uint8_t action = link.ReadView().U8(kSpecAction);
    return (action == 1 || action == 2) && link.ReadView().PStr(kSpecName).empty();
}

std::optional<std::string> AskWindowName(
    const std::function<std::optional<std::string>()>& prompt) {
    for (;;) {
        std::optional<std::string> answer = prompt();
        if (!answer) return std::nullopt;
        std::string name = ValidWindowName(*answer);
        if (!name.empty()) return name;
    }
}

bool SpecialLinkChoosesTarget(const TKYToggetto& link, int windowMode) {
    return link.Subtype() == 1 && (windowMode == 0 || windowMode == 1 || windowMode == 3);
}

int SpecialLinkTargetMode(const TKYToggetto& link, int windowMode) {
    if (windowMode == 1 || windowMode == 3) return 5;
    return link.ReadView().U8(kSpecAction) == 6 ? 3 : 1;
}

std::vector<std::string> CloseWindowNames(const TKYTset& set) {
    std::vector<std::string> names;
    const auto add = [&](const TKYToggetto* link) {
        if (!link || link->IsFree() || link->Subtype() != 1) return;
        std::string name = link->ReadView().PStr(kSpecName);
        if (name.empty()) return;
        for (const std::string& n : names)
            if (n == name) return;
        names.push_back(std::move(name));
    };
    for (const auto& link : set.KindList(K::speclink)) add(link.get());
    for (const auto& marker : set.KindList(K::shortObj)) {
        if (!marker || marker->IsFree() || marker->Subtype() != kWindowScriptMarker) continue;
        const std::int32_t code = marker->ReadView().I32(kShortReference);
        if (CodeKind(code) == KindIndex(K::speclink))
            add(set.ObjectByKind(K::speclink, CodeIdentifier(code)));
    }
    return names;
}

bool TextHasAnchors(const TKYTset& set, const TKYTtesto* working, std::string_view markup) {
    for (std::size_t at = markup.find("<$"); at != std::string_view::npos;
         at = markup.find("<$", at + 2)) {
        if (at + 11 > markup.size() || markup[at + 10] != '>') continue;
        std::uint32_t code = 0;
        bool hex = true;
        for (std::size_t i = at + 2; i < at + 10; ++i) {
            const char ch = markup[i];
            const int digit = ch >= '0' && ch <= '9'   ? ch - '0'
                              : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                              : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
                                                       : -1;
            if (digit < 0) {
                hex = false;
                break;
            }
            code = code * 16 + std::uint32_t(digit);
        }
        if (!hex) continue;
        const TKYToggetto* object = nullptr;
        const int kind = CodeKind(std::int32_t(code));
        const std::size_t index = CodeIdentifier(std::int32_t(code));
        if (kind == kLocalLinkKind && working && index < working->links.size())
            object = working->links[index].get();
        else if (kind == KindIndex(K::shortObj))
            object = set.ObjectByKind(K::shortObj, std::int32_t(index));
        if (object && object->Kind() == K::shortObj && !object->IsFree() &&
            object->Subtype() == kAnchorMarker)
            return true;
    }
    return false;
}

void ApplySpecialLinkToText(TKYTTextAttributes& text, TKYToggetto& link,
                            const TKYToggetto* target) {
    if (!text.HasSelection()) {
        text.ApplyLink(&link);  // refused with its message, nothing added to the text
        return;
    }
    const bool anchorHere = link.Subtype() == 1 && link.ReadView().U8(kSpecAction) == 6;
    if (anchorHere) {
        link.View().SetI32(kSpecTarget, -1);
    } else if (target) {
        link.View().SetI32(kSpecTarget, AddToText(text.Context().text, *target));
    }
    text.ApplyLink(&link);
}

}  // namespace orvo
