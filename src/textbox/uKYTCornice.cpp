// The editor's frame set: the frame tree, its sizes and edits, page changes, layouts, links
// and routed commands.
#include "textbox/uKYTCornice.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "textbox/PageLinks.h"
#include "textbox/TKYTpage.h"
#include "textbox/uKYTbox.h"
#include "textbox/uKYTboxInput.h"

namespace orvo {
namespace {

constexpr std::int32_t kRefusedFrameSize = 60;
constexpr std::int32_t kLastChildMinimum = 20;
constexpr std::int32_t kGenerousSibling = 50;
constexpr std::int32_t kGivenUp = 30;
constexpr std::int32_t kFirstFallback = 10;

std::string PageName(std::int32_t page) {
    return "Pag" + std::to_string(page);
}

std::string SerialName(std::uint32_t serial) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "Frame%06X", serial & 0xFFFFFFu);
    return buf;
}

// Sizes stay within what a layout file may hold, so that what is written reads back.
std::int32_t PercentOf(std::int32_t size, std::int32_t space) {
    if (space <= 0) return 100;
    return std::int32_t(
        std::clamp<std::int64_t>((std::int64_t(size) * 100 + space / 2) / space, 0, 100));
}

std::int32_t Pixels(std::int32_t size) {
    return std::clamp(size, 0, kMaxFramePixels);
}

int Depth(const TKYTFrame& frame) {
    int depth = 1;
    for (const TKYTFrame* f = frame.parent; f; f = f->parent) ++depth;
    return depth;
}

std::int32_t Along(const Rect& r, bool rows) {
    return rows ? r.Height() : r.Width();
}

template <class F>
void Walk(TKYTFrame* frame, F&& visit) {
    if (!frame) return;
    visit(*frame);
    for (auto& child : frame->children) Walk(child.get(), visit);
}

}  // namespace

// ---- panels -------------------------------------------------------------------------------

template <class F>
void TKYTFramePanel::PassDown(F&& apply) {
    for (TKYTFramePanel* child : PanelChildren()) {
        apply(*child);
        child->PassDown(apply);
        child->FlagsChanged();
    }
}

void TKYTFramePanel::SetReadOnly(bool on) {
    readOnly_ = on;
    FlagsChanged();
    PassDown([on](TKYTFramePanel& p) { p.readOnly_ = on; });
}

void TKYTFramePanel::SetAnimated(bool on) {
    animated_ = on;
    FlagsChanged();
    PassDown([on](TKYTFramePanel& p) { p.animated_ = on; });
}

void TKYTFramePanel::SetShowFramesOnly(bool on) {
    showFramesOnly_ = on;
    FlagsChanged();
    PassDown([on](TKYTFramePanel& p) { p.showFramesOnly_ = on; });
}

void TKYTFramePanel::SetBarWidth(std::int32_t width) {
    barWidth_ = width;
    PassDown([width](TKYTFramePanel& p) { p.barWidth_ = width; });
}

void TKYTFramePanel::SetLineStep(std::int32_t step) {
    if (step <= 0) return;
    lineStep_ = step;
    PassDown([step](TKYTFramePanel& p) { p.lineStep_ = step; });
}

void TKYTFramePanel::SetTigerBevel(int bevel) {
    tigerBevel_ = bevel;
    PassDown([bevel](TKYTFramePanel& p) { p.tigerBevel_ = bevel; });
}

// ---- frames -------------------------------------------------------------------------------

TKYTFrame::TKYTFrame(TKYTCustomFrameSet& set, TKYTFrame* parentFrame)
    : frameSet(set), parent(parentFrame), serial_(set.NextSerial()) {
    record.SetName(SerialName(serial_));
    // A new frame takes the flags of the panel it sits in.
    const TKYTFramePanel& from =
        parentFrame ? static_cast<const TKYTFramePanel&>(*parentFrame) : set;
    TKYTFramePanel::SetReadOnly(from.ReadOnly());
    TKYTFramePanel::SetAnimated(from.Animated());
    TKYTFramePanel::SetShowFramesOnly(from.ShowFramesOnly());
    SetBarWidth(from.BarWidth());
    SetLineStep(from.LineStep());
    SetTigerBevel(from.TigerBevel());
}

TKYTFrame::~TKYTFrame() = default;

std::vector<TKYTFramePanel*> TKYTFrame::PanelChildren() {
    std::vector<TKYTFramePanel*> out;
    for (auto& child : children) out.push_back(child.get());
    return out;
}

void TKYTFrame::FlagsChanged() {
    if (!page) return;
    page->SetReadOnly(ReadOnly());
    page->SetAnimated(Animated());
    page->SetHidden(ShowFramesOnly());
}

bool TKYTFrame::ShowsTopBar() const {
    return !ReadOnly() && (barMode == 0 || barMode == 2);
}

bool TKYTFrame::ShowsLeftBar() const {
    return !ReadOnly() && (barMode == 1 || barMode == 2);
}

Rect TKYTFrame::TopBarRect() const {
    if (!ShowsTopBar()) return {};
    return {bounds.left, bounds.top, bounds.right,
            std::min(bounds.bottom, bounds.top + BarWidth())};
}

Rect TKYTFrame::LeftBarRect() const {
    if (!ShowsLeftBar()) return {};
    const std::int32_t top = ShowsTopBar() ? TopBarRect().bottom : bounds.top;
    return {bounds.left, top, std::min(bounds.right, bounds.left + BarWidth()), bounds.bottom};
}

Rect TKYTFrame::ContentRect() const {
    Rect r = bounds;
    if (ShowsTopBar()) r.top = std::min(r.bottom, r.top + BarWidth());
    if (ShowsLeftBar()) r.left = std::min(r.right, r.left + BarWidth());
    return r;
}

Rect TKYTFrame::SplitterRect() const {
    if (!parent || parent->children.back().get() == this) return {};
    if (parent->SplitInRows())
        return {bounds.left, bounds.bottom, bounds.right, bounds.bottom + parent->splitterWidth};
    return {bounds.right, bounds.top, bounds.right + parent->splitterWidth, bounds.bottom};
}

std::int32_t TKYTFrame::ChildSpace() const {
    const auto n = std::int32_t(children.size());
    return Along(ContentRect(), SplitInRows()) - std::max(0, n - 1) * splitterWidth;
}

// ---- the frame set ------------------------------------------------------------------------

TKYTCustomFrameSet::TKYTCustomFrameSet(IMessages& messages, IScheduler& scheduler,
                                       IFramePageFactory& pages)
    : messages_(messages), scheduler_(scheduler), pages_(pages) {}

TKYTCustomFrameSet::~TKYTCustomFrameSet() {
    RemoveFromFloatingPage();
    *alive_ = false;
    currentControl_ = nullptr;
    ReleasePages(false);
}

void TKYTCustomFrameSet::RemoveFromFloatingPage() {
    if (floatingPage_) floatingPage_->RemoveFloatingFrameSet(*this);
    floatingPage_ = nullptr;
}

std::vector<TKYTFramePanel*> TKYTCustomFrameSet::PanelChildren() {
    if (!top_) return {};
    return {top_.get()};
}

void TKYTCustomFrameSet::SetLinkedKYTset(TKYTset* set) {
    if (set == set_) return;
    SetCurrentControl(nullptr);
    ReleasePages(false);
    FreeTree();
    history_.clear();
    set_ = set;
    mainPage_ = -2;
}

void TKYTCustomFrameSet::SetAutoJump(bool on) {
    autoJump_ = on;
    history_.clear();
}

std::unique_ptr<TKYTFrame> TKYTCustomFrameSet::NewFrame(TKYTFrame* parent, std::string_view name) {
    auto frame = std::make_unique<TKYTFrame>(*this, parent);
    if (!name.empty()) frame->record.SetName(name);
    return frame;
}

std::vector<TKYTFrame*> TKYTCustomFrameSet::Leaves() const {
    std::vector<TKYTFrame*> out;
    Walk(top_.get(), [&](TKYTFrame& f) {
        if (!f.IsSplit()) out.push_back(&f);
    });
    return out;
}

TKYTFrame* TKYTCustomFrameSet::FrameNamed(std::string_view name) const {
    TKYTFrame* found = nullptr;
    Walk(top_.get(), [&](TKYTFrame& f) {
        if (!found && f.Name() == name) found = &f;
    });
    return found;
}

TKYTFrame* TKYTCustomFrameSet::FrameWithSerial(std::uint32_t serial) const {
    TKYTFrame* found = nullptr;
    Walk(top_.get(), [&](TKYTFrame& f) {
        if (f.Serial() == serial) found = &f;
    });
    return found;
}

TKYTFrame* TKYTCustomFrameSet::FrameOfBox(const TKYTbox* box) const {
    if (!box) return nullptr;
    for (TKYTFrame* f : Leaves())
        if (f->page && f->page->Box() == box) return f;
    return nullptr;
}

// ---- sizes --------------------------------------------------------------------------------

void TKYTCustomFrameSet::SetClientSize(std::int32_t width, std::int32_t height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    Arrange();
}

void TKYTCustomFrameSet::Arrange() {
    if (!top_) return;
    top_->bounds = ClientRect();
    ArrangeFrame(*top_);
}

void TKYTCustomFrameSet::ArrangeFrame(TKYTFrame& frame) {
    if (!frame.IsSplit()) {
        if (frame.page) frame.page->SetGeometry(frame.ContentRect(), frame.record.Border() == 1);
        return;
    }
    const bool rows = frame.SplitInRows();
    const Rect content = frame.ContentRect();
    const std::int32_t space = frame.ChildSpace();
    const std::size_t n = frame.children.size();
    std::vector<std::int32_t> sizes(n, 0);
    std::optional<std::size_t> rest;
    std::int32_t used = 0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        FrameRecord& r = frame.children[i]->record;
        switch (r.SizeKind()) {
            case FrameSizeKind::Pixels:
                sizes[i] = r.Pixels();
                if (space > 0) r.SetPercent(PercentOf(sizes[i], space));
                break;
            case FrameSizeKind::Rest:
                if (!rest) {
                    rest = i;
                    continue;
                }
                [[fallthrough]];
            default:
                sizes[i] = std::int32_t(std::int64_t(std::max(space, 0)) * r.Percent() / 100);
                r.SetPixels(Pixels(sizes[i]));
                break;
        }
        used += sizes[i];
    }
    if (rest && space - used > 0) {
        sizes[*rest] = space - used;
        used = space;
    }
    std::int32_t at = rows ? content.top : content.left;
    for (std::size_t i = 0; i < n; ++i) {
        TKYTFrame& child = *frame.children[i];
        std::int32_t size = sizes[i];
        const std::int32_t end = rows ? content.bottom : content.right;
        at = std::min(at, end);           // children that no longer fit lie empty at the far edge
        if (i + 1 == n) size = end - at;  // the last child fills the rest
        size = std::clamp(size, 0, end - at);
        if (rows)
            child.bounds = {content.left, at, content.right, at + size};
        else
            child.bounds = {at, content.top, at + size, content.bottom};
        at += size + frame.splitterWidth;
        ArrangeFrame(child);
    }
}

void TKYTCustomFrameSet::RecomputePercents(TKYTFrame& container) {
    const std::int32_t space = container.ChildSpace();
    if (space <= 0) return;  // collapsed below its splitters: the percents stay
    for (auto& child : container.children) {
        const std::int32_t size = Along(child->bounds, container.SplitInRows());
        child->record.SetPercent(PercentOf(size, space));
    }
}

// ---- splitting and deleting ---------------------------------------------------------------

bool TKYTCustomFrameSet::DragBar(TKYTFrame& frame, FrameBar bar, std::int32_t distance) {
    if (ReadOnly() || frame.busy) return false;
    if (distance <= 4 * BarWidth()) return false;
    const bool shown = bar == FrameBar::Top ? frame.ShowsTopBar() : frame.ShowsLeftBar();
    if (!shown) return false;
    // The new frames must fit what a layout file may hold.
    std::size_t count = 0;
    Walk(top_.get(), [&](TKYTFrame&) { ++count; });
    if (Depth(frame) + 1 > kMaxFrameDepth || count + 2 > kMaxFrames) return false;
    frame.busy = true;
    if (frame.IsSplit())
        InsertFirst(frame, distance);
    else
        SplitLeaf(frame, bar, distance);
    frame.busy = false;
    layoutChanged_ = true;
    Arrange();
    if (OnFrameSetChanged) OnFrameSetChanged();
    return true;
}

void TKYTCustomFrameSet::SplitLeaf(TKYTFrame& frame, FrameBar bar, std::int32_t distance) {
    const bool rows = bar == FrameBar::Top;
    const int otherBar = rows ? 1 : 0;
    // The frame that showed both bars takes the placement that gives its split's direction;
    // any other frame's placement gives it already.
    if (frame.barMode == 2) frame.record.SetPlacement(rows ? 1 : 0);
    frame.barMode = rows ? 0 : 1;

    auto first = NewFrame(&frame, {});
    first->record.SetPlacement(rows ? 0 : 1);
    first->barMode = otherBar;
    auto rest = NewFrame(&frame, {});
    rest->record.SetPlacement(rows ? 3 : 5);
    rest->record.SetSizeKind(FrameSizeKind::Rest);  // "*" in an exported frame set
    rest->barMode = otherBar;

    // The frame that fills the rest takes over the old page.
    rest->page = std::move(frame.page);
    rest->record.SetPage(frame.record.Page());
    if (frame.parent) frame.record.SetPage(-1);
    first->page = pages_.CreatePage(*this);
    if (first->page) {
        first->page->ShowNewPage();
        first->FlagsChanged();
    } else {
        messages_.Error(kFrameWithoutPage);
    }
    frame.children.push_back(std::move(first));
    frame.children.push_back(std::move(rest));

    const std::int32_t space = frame.ChildSpace();
    FrameRecord& r = frame.children[0]->record;
    r.SetSizeKind(FrameSizeKind::Percent);
    r.SetPixels(Pixels(distance));
    r.SetPercent(space > 0 ? PercentOf(distance, space) : 50);
}

void TKYTCustomFrameSet::InsertFirst(TKYTFrame& frame, std::int32_t distance) {
    const bool rows = frame.SplitInRows();
    auto first = NewFrame(&frame, {});
    first->record.SetPlacement(rows ? 0 : 1);
    first->barMode = rows ? 1 : 0;
    first->page = pages_.CreatePage(*this);
    if (first->page) {
        first->page->ShowNewPage();
        first->FlagsChanged();
    } else {
        messages_.Error(kFrameWithoutPage);
    }
    // The children keep their sizes, the new one takes its distance from them, then every
    // percent follows the sizes.
    frame.children.insert(frame.children.begin(), std::move(first));
    const std::int32_t space = frame.ChildSpace();
    std::int32_t left = std::max(0, space - distance);
    std::int32_t before = 0;
    for (std::size_t i = 1; i < frame.children.size(); ++i)
        before += Along(frame.children[i]->bounds, rows);
    for (std::size_t i = 0; i < frame.children.size(); ++i) {
        FrameRecord& r = frame.children[i]->record;
        std::int32_t size = distance;
        if (i > 0)
            size = before > 0 ? std::int32_t(std::int64_t(Along(frame.children[i]->bounds, rows)) *
                                             left / before)
                              : left / std::int32_t(frame.children.size() - 1);
        if (r.SizeKind() == FrameSizeKind::Pixels || i == 0) r.SetPixels(Pixels(size));
        if (space > 0) r.SetPercent(PercentOf(size, space));
    }
    frame.children[0]->record.SetSizeKind(FrameSizeKind::Percent);
}

void TKYTCustomFrameSet::MoveSplitter(TKYTFrame& frame, std::int32_t size) {
    TKYTFrame* parent = frame.parent;
    if (!parent || frame.busy) return;
    const bool rows = parent->SplitInRows();
    const std::int32_t other = rows ? frame.bounds.Width() : frame.bounds.Height();
    if (size < BarWidth() || other < BarWidth()) {
        if (!ReadOnly() || ShowFramesOnly()) DeleteFrame(frame);
        return;
    }
    const std::int32_t space = parent->ChildSpace();
    // Every child before the last keeps its size; the moved one takes the new size.
    std::vector<std::int32_t> sizes;
    for (auto& child : parent->children) sizes.push_back(Along(child->bounds, rows));
    const auto index = std::size_t(std::find_if(parent->children.begin(), parent->children.end(),
                                                [&](const auto& c) { return c.get() == &frame; }) -
                                   parent->children.begin());
    sizes[index] = size;
    std::int32_t used = 0;
    for (std::size_t i = 0; i + 1 < sizes.size(); ++i) used += sizes[i];
    if (space - used < kLastChildMinimum) {
        // The last child would be too narrow: an earlier sibling wider than 50 gives up 30,
        // else the first becomes 10 wide.
        bool given = false;
        for (std::size_t i = 0; i + 1 < sizes.size() && !given; ++i) {
            if (i != index && sizes[i] > kGenerousSibling) {
                sizes[i] -= kGivenUp;
                given = true;
            }
        }
        if (!given) sizes[0] = kFirstFallback;
    }
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        FrameRecord& r = parent->children[i]->record;
        r.SetPixels(Pixels(sizes[i]));
        if (space > 0) r.SetPercent(PercentOf(sizes[i], space));
    }
    layoutChanged_ = true;
    Arrange();
    if (OnFrameSetChanged) OnFrameSetChanged();
}

bool TKYTCustomFrameSet::DeleteFrame(TKYTFrame& frame) {
    TKYTFrame* parent = frame.parent;
    if (!parent || frame.busy) return false;
    const bool rows = parent->SplitInRows();
    const auto refuse = [&](std::string_view text) {
        frame.record.SetPixels(kRefusedFrameSize);
        frame.record.SetSizeKind(FrameSizeKind::Pixels);
        Arrange();
        // 60 × 60: along the split the record gives it; across it the frame is as wide as
        // its parent.
        if (rows)
            frame.bounds.bottom = frame.bounds.top + kRefusedFrameSize;
        else
            frame.bounds.right = frame.bounds.left + kRefusedFrameSize;
        messages_.Warn(text);
        return false;
    };
    if (frame.IsSplit()) return refuse(kDeleteChildrenFirst);
    if (parent->children.size() == 2) {
        TKYTFrame& other =
            *(parent->children[0].get() == &frame ? parent->children[1] : parent->children[0]);
        if (other.IsSplit()) return refuse(kDeleteOthersFirst);
    }
    frame.busy = true;
    if (frame.page && frame.page->IsNewPage() && frame.page->Edited() &&
        messages_.AskYesNoCancel(kSaveDeletedFrame) == Answer::Yes) {
        frame.page->Commit();
        changed_ = true;
    }
    ForgetControlIn(frame);
    if (frame.page) frame.page->Close();

    if (parent->children.size() == 2) {
        auto& kept =
            parent->children[0].get() == &frame ? parent->children[1] : parent->children[0];
        std::unique_ptr<TKYTFrame> remaining = std::move(kept);
        parent->children.clear();
        parent->page = std::move(remaining->page);
        if (parent->parent) parent->record.SetPage(remaining->record.Page());
        parent->barMode =
            parent->parent ? (parent->parent->SplitInRows() ? 1 : 0) : (ShowNested ? 2 : 3);
        parent->FlagsChanged();
    } else {
        auto it = std::find_if(parent->children.begin(), parent->children.end(),
                               [&](const auto& c) { return c.get() == &frame; });
        parent->children.erase(it);
        Arrange();
        RecomputePercents(*parent);
    }
    layoutChanged_ = true;
    Arrange();
    if (OnFrameSetChanged) OnFrameSetChanged();
    FocusCurrent();
    return true;
}

void TKYTCustomFrameSet::ClickFrame(TKYTFrame& frame) {
    if (ShowFramesOnly() && OnClickFrame) OnClickFrame(frame);
}

// ---- pages --------------------------------------------------------------------------------

void TKYTCustomFrameSet::ForgetControlIn(TKYTFrame& frame) {
    if (currentControl_ && frame.page && frame.page->Box() == &currentControl_->Box())
        SetCurrentControl(nullptr);
}

void TKYTCustomFrameSet::ReleasePage(TKYTFrame& frame, bool save) {
    if (!frame.page) return;
    ForgetControlIn(frame);
    if (save && frame.page->Showing() && frame.page->Commit()) changed_ = true;
    frame.page->Close();
}

void TKYTCustomFrameSet::ReleasePages(bool save) {
    for (TKYTFrame* leaf : Leaves()) ReleasePage(*leaf, save);
}

bool TKYTCustomFrameSet::CommitPages() {
    bool stored = false;
    for (TKYTFrame* leaf : Leaves()) {
        if (!leaf->page || !leaf->page->Showing()) continue;
        if (!leaf->page->Commit()) continue;
        stored = true;
        // The page is shown again from what was stored, so further edits commit again.
        const std::int32_t id = leaf->page->PageIdentifier();
        if (id >= 0) {
            leaf->record.SetPage(id);
            leaf->page->ShowPage(id);
            leaf->FlagsChanged();
        }
    }
    if (stored) changed_ = true;
    return stored;
}

bool TKYTCustomFrameSet::StoreLayout() {
    if (!LayoutUnstored() || pageChanging_) return false;
    for (TKYTFrame* leaf : Leaves())
        if (leaf->page && leaf->page->Showing() && leaf->page->IsNewPage()) {
            if (leaf->page->Commit()) changed_ = true;
            leaf->record.SetPage(leaf->page->PageIdentifier());
        }
    WriteMap();
    layoutChanged_ = false;
    return true;
}

void TKYTCustomFrameSet::DetachPages() {
    for (TKYTFrame* leaf : Leaves())
        if (leaf->page && leaf->page->Showing()) leaf->page->DetachView();
}

void TKYTCustomFrameSet::ReattachPages() {
    for (TKYTFrame* leaf : Leaves())
        if (leaf->page && leaf->page->Showing()) leaf->page->ReattachView();
}

void TKYTCustomFrameSet::FreeTree() {
    if (top_) Walk(top_.get(), [&](TKYTFrame& f) { ForgetControlIn(f); });
    top_.reset();
}

std::int32_t TKYTCustomFrameSet::NewEmptyPage() {
    auto page = NewObjectOfKind(TOggettiHel::testoHtml, set_);
    page->Clear();
    page->TakeIntoUse();
    page->SetContent(std::string("<Z S0 >\0", 8));
    set_->SetModified(true);
    return set_->Register(std::move(page));
}

void TKYTCustomFrameSet::WriteMap() {
    TKYToggetto* master = LivePage(*set_, mainPage_);
    if (!master) {
        messages_.Error(kNoMasterPage);
        return;
    }
    PageRecord record(*master);
    const std::int32_t mapId = record.FrameMap();
    TKYToggetto* map = mapId >= 0 ? set_->ObjectByKind(TOggettiHel::mappaFrame, mapId) : nullptr;
    if (!Split()) {
        if (mapId < 0) return;
        if (map) {
            map->Clear();
            map->SetAuxiliary(std::nullopt);
        } else {
            messages_.Error(kMapFreeProblem);
        }
        record.SetFrameMap(-1);
        set_->SetModified(true);
        return;
    }
    std::string records = WriteFrameRecords(TreeNode(true));
    if (!map || map->IsFree()) {
        auto fresh = NewObjectOfKind(TOggettiHel::mappaFrame, set_);
        fresh->Clear();
        fresh->TakeIntoUse();
        map = fresh.get();
        set_->Register(std::move(fresh));
    }
    map->SetAuxiliary(std::move(records));
    map->View().SetI32(kFrameMapRecordSize, std::int32_t(kFrameRecordSize));
    record.SetFrameMap(map->Identifier());
    set_->SetModified(true);
}

void TKYTCustomFrameSet::ShowAlone() {
    top_ = NewFrame(nullptr, PageName(mainPage_));
    top_->barMode = ShowNested ? 2 : 3;
    top_->record.SetPage(mainPage_);
    top_->page = pages_.CreatePage(*this);
    if (!top_->page) {
        messages_.Error(kFrameWithoutPage);
        return;
    }
    top_->page->ShowPage(mainPage_);
    top_->FlagsChanged();
}

std::unique_ptr<TKYTFrame> TKYTCustomFrameSet::FrameFrom(const FrameNode& node, TKYTFrame* parent,
                                                         bool clearPages) {
    auto frame = NewFrame(parent, {});
    frame->record = node.record;
    frame->storedId = node.record.Id();
    if (clearPages) frame->record.SetPage(-1);
    if (!node.children.empty()) {
        frame->barMode = frame->record.SplitsInRows() ? 0 : 1;
        for (const FrameNode& child : node.children)
            frame->children.push_back(FrameFrom(child, frame.get(), clearPages));
    } else if (parent) {
        frame->barMode = parent->SplitInRows() ? 1 : 0;
    }
    return frame;
}

void TKYTCustomFrameSet::ShowTreePages(TKYTFrame& frame) {
    if (frame.IsSplit()) {
        for (auto& child : frame.children) ShowTreePages(*child);
        return;
    }
    frame.page = pages_.CreatePage(*this);
    if (!frame.page) {
        messages_.Error(kFrameWithoutPage);
        return;
    }
    const std::int32_t page = frame.record.Page();
    if (page < 0 || !LivePage(*set_, page) || !frame.page->ShowPage(page))
        frame.page->ShowNewPage();
    frame.FlagsChanged();
}

void TKYTCustomFrameSet::SetMainPageNumber(std::int32_t page) {
    if (top_ && page == mainPage_ && !pageChanging_) {
        FocusCurrent();
        return;
    }
    SetCurrentControl(nullptr);
    pageChanging_ = true;
    if (!set_) {
        FreeTree();
        pageChanging_ = false;
        return;
    }
    const bool animated = Animated();
    SetAnimated(false);
    if (top_) {
        if (SaveOnExit) {
            for (TKYTFrame* leaf : Leaves())
                if (leaf->page && leaf->page->Showing() && leaf->page->Commit()) {
                    changed_ = true;
                    // A new page committed in a frame is named in the map by its number.
                    leaf->record.SetPage(leaf->page->PageIdentifier());
                }
            if (layoutChanged_) WriteMap();
        }
        ReleasePages(false);
    }
    FreeTree();
    layoutChanged_ = false;

    mainPage_ = page;
    if (page != -1) {
        if (!LivePage(*set_, page)) mainPage_ = NewEmptyPage();
        TKYToggetto* pageObject = LivePage(*set_, mainPage_);
        const std::int32_t mapId = PageRecord::Read(*pageObject).FrameMap();
        std::optional<FrameNode> tree;
        if (ShowNested && mapId >= 0) {
            TKYToggetto* map = set_->ObjectByKind(TOggettiHel::mappaFrame, mapId);
            auto read = map && !map->IsFree()
                            ? TNonVisCornice::FromMap(*map)
                            : Result<TNonVisCornice>(Fail(std::string(kMapProblem)));
            if (read)
                tree = read->Top();
            else
                messages_.Error(read.failure().text);
        }
        if (tree) {
            top_ = FrameFrom(*tree, nullptr, false);
            top_->record.SetName(PageName(mainPage_));
            top_->record.SetPage(mainPage_);
            ShowTreePages(*top_);
        } else {
            ShowAlone();
        }
        if (top_) {
            TKYTFramePanel& panel = *top_;
            panel.SetReadOnly(ReadOnly());
            panel.SetShowFramesOnly(ShowFramesOnly());
            panel.SetBarWidth(BarWidth());
        }
        Arrange();
    }
    SetAnimated(animated);
    pageChanging_ = false;
    FocusCurrent();
    if (OnPageChanged) OnPageChanged();
}

bool TKYTCustomFrameSet::ShowPageInFrame(TKYTFrame& frame, std::int32_t page) {
    if (frame.IsSplit() || !set_ || !LivePage(*set_, page)) return false;
    if (frame.page && frame.page->Showing() && frame.page->PageIdentifier() == page) return true;
    ReleasePage(frame, SaveOnExit);
    if (!frame.page) frame.page = pages_.CreatePage(*this);
    if (!frame.page) {
        messages_.Error(kFrameWithoutPage);
        return false;
    }
    if (!frame.page->ShowPage(page)) return false;
    frame.record.SetPage(page);
    frame.FlagsChanged();
    layoutChanged_ = true;
    Arrange();
    if (OnFrameSetChanged) OnFrameSetChanged();
    return true;
}

void TKYTCustomFrameSet::Back() {
    if (history_.empty()) return;
    const std::int32_t page = history_.back();
    history_.pop_back();
    if (!set_ || !LivePage(*set_, page)) return;
    backing_ = true;
    SetMainPageNumber(page);
    backing_ = false;
}

void TKYTCustomFrameSet::RequestLink(std::int32_t code, TKYTFrame* source) {
    FrameLink link;
    link.code = code;
    link.sourceFrame = source ? source->Serial() : 0;
    if (set_) {
        const TKYTtesto* text = source && source->page ? source->page->WorkingText() : nullptr;
        if (const TKYToggetto* object = LinkObjectOf(*set_, text, code)) {
            link.kind = int(object->Kind());
            link.identifier = object->Identifier();
            if (object->Kind() == TOggettiHel::speclink) {
                link.type = object->ReadView().U8(kRecSubtype);
                link.target = object->ReadView().I32(kSpecTarget);
            }
        }
    }
    std::weak_ptr<bool> alive = alive_;
    scheduler_.Post([this, alive, link] {
        if (auto a = alive.lock(); a && *a) FollowLink(link);
    });
}

void TKYTCustomFrameSet::FollowLink(const FrameLink& link) {
    const auto show = [&](std::int32_t page) {
        if (!backing_ && top_) history_.push_back(mainPage_);
        SetMainPageNumber(page);
    };
    if (link.kind == int(TOggettiHel::testoHtml) && link.sourceFrame != 0) {
        if (autoJump_) show(link.identifier);
    } else if (link.kind == int(TOggettiHel::speclink) && autoJump_) {
        // A special link's target is the code of a page; page 0 is a page like any other.
        std::int32_t page = -1;
        if (link.type == 1 && (std::uint32_t(link.target) >> 24) == 0) page = link.target;
        if (page >= 0 && page < 16777216 && set_ && LivePage(*set_, page)) show(page);
    }
    if (OnDoLink) OnDoLink(link);
}

void TKYTCustomFrameSet::ShowTemporary(bool on) {
    if (on) {
        if (temporary_) {
            messages_.Error(kTemporaryShown);
            return;
        }
        temporary_ = Temporary{ReadOnly(), SaveOnExit, mainPage_};
        if (!ReadOnly()) {
            SetCurrentControl(nullptr);
            if (SaveOnExit) CommitPages();
            SaveOnExit = false;
            SetReadOnly(true);
            const std::int32_t page = mainPage_;
            mainPage_ = -2;  // shown again, not only focused
            SetMainPageNumber(page);
        }
        SaveOnExit = false;
        return;
    }
    if (!temporary_) return;
    const Temporary was = *temporary_;
    temporary_.reset();
    ReleasePages(false);
    FreeTree();
    if (set_ && set_->KindCount(TOggettiHel::testoHtml) > 0) {
        SetReadOnly(was.readOnly);
        mainPage_ = -2;
        SetMainPageNumber(was.page);
        SaveOnExit = was.saveOnExit;
    }
}

// ---- layouts ------------------------------------------------------------------------------

FrameNode TKYTCustomFrameSet::TreeNode(bool forMap) const {
    // Ids: the one a frame was read with, else its serial (moved on past the ids taken), so
    // they stay unique among the frames written.
    std::set<std::int32_t> taken;
    Walk(top_.get(), [&](TKYTFrame& f) {
        if (f.storedId != -1) taken.insert(f.storedId);
    });
    std::map<const TKYTFrame*, std::int32_t> ids;
    std::int32_t next = 0;
    Walk(top_.get(), [&](TKYTFrame& f) {
        if (f.storedId != -1) {
            ids[&f] = f.storedId;
            return;
        }
        next = std::max(next, std::int32_t(f.Serial() & 0x7FFFFFFF));
        while (taken.count(next)) ++next;
        taken.insert(next);
        ids[&f] = next;
    });
    const std::function<FrameNode(const TKYTFrame&, std::int32_t)> node =
        [&](const TKYTFrame& frame, std::int32_t parentId) {
            FrameNode out;
            const std::int32_t id = ids.at(&frame);
            out.record = frame.record;
            out.record.SetId(id);
            out.record.SetParent(parentId);
            if (frame.IsSplit()) {
                out.record.SetPage(frame.parent ? -1 : mainPage_);
                for (const auto& child : frame.children) out.children.push_back(node(*child, id));
            } else if (frame.page && frame.page->Showing()) {
                const bool unsaved = frame.page->IsNewPage();
                out.record.SetPage(unsaved && !forMap ? -1 : frame.page->PageIdentifier());
            }
            out.record.SetHasChildren(frame.IsSplit());
            return out;
        };
    return node(*top_, -1);
}

bool TKYTCustomFrameSet::SaveLayout(std::string& out) {
    if (!top_) {
        messages_.Error(kFrameSaveError);
        return false;
    }
    if (!Split()) return false;
    out = WriteFrameLayout(TreeNode(false));
    return true;
}

bool TKYTCustomFrameSet::LoadLayout(std::string_view file, bool clearPages) {
    if (file.empty()) return true;
    Result<FrameNode> tree = ReadFrameLayout(file);
    if (!tree) {
        messages_.Error(tree.failure().text);
        return false;
    }
    if (!set_) return false;
    SetCurrentControl(nullptr);
    pageChanging_ = true;
    if (top_) ReleasePages(SaveOnExit);
    FreeTree();
    top_ = FrameFrom(*tree, nullptr, clearPages);
    top_->record.SetName(PageName(mainPage_));
    top_->record.SetPage(mainPage_);
    if (!top_->IsSplit()) top_->barMode = ShowNested ? 2 : 3;
    ShowTreePages(*top_);
    TKYTFramePanel& panel = *top_;
    panel.SetReadOnly(ReadOnly());
    panel.SetShowFramesOnly(ShowFramesOnly());
    panel.SetBarWidth(BarWidth());
    layoutChanged_ = true;
    Arrange();
    pageChanging_ = false;
    if (OnFrameSetChanged) OnFrameSetChanged();
    FocusCurrent();
    return true;
}

std::unique_ptr<TKYToggetto> TKYTCustomFrameSet::CurrentMap() {
    if (!Split()) return nullptr;
    auto map = NewObjectOfKind(TOggettiHel::mappaFrame, set_);
    map->Clear();
    map->TakeIntoUse();
    map->SetAuxiliary(WriteFrameRecords(TreeNode(true)));
    map->View().SetI32(kFrameMapRecordSize, std::int32_t(kFrameRecordSize));
    return map;
}

// ---- the current control ------------------------------------------------------------------

void TKYTCustomFrameSet::SetCurrentControl(TKYTboxInput* control) {
    if (control == currentControl_) return;
    TKYTboxInput* old = currentControl_;
    currentControl_ = control;
    if (old && OnEditStop) OnEditStop(*old);
    if (control && OnEditStart) OnEditStart(*control);
}

TKYTbox* TKYTCustomFrameSet::MainBox() const {
    if (currentControl_) return &currentControl_->Box();
    if (top_ && top_->page)
        if (TKYTbox* box = top_->page->Box()) return box;
    for (TKYTFrame* leaf : Leaves())
        if (leaf->page)
            if (TKYTbox* box = leaf->page->Box()) return box;
    return nullptr;
}

void TKYTCustomFrameSet::FocusCurrent() {
    if (pageChanging_ || ReadOnly() || ShowFramesOnly()) return;
    TKYTbox* box = MainBox();
    if (!box) return;
    if (currentControl_ && currentControl_->Focused()) return;
    if (OnFocusBox) OnFocusBox(*box);
}

bool TKYTCustomFrameSet::CutCurrent() {
    if (pageChanging_ || !currentControl_) return false;
    const bool done = currentControl_->CutSelection();
    if (done) changed_ = true;
    return done;
}

bool TKYTCustomFrameSet::CopyCurrent() {
    if (pageChanging_ || !currentControl_) return false;
    return currentControl_->CopySelection();
}

bool TKYTCustomFrameSet::PasteCurrent() {
    if (pageChanging_ || !currentControl_) return false;
    const bool done = currentControl_->Paste();
    if (done) changed_ = true;
    return done;
}

bool TKYTCustomFrameSet::SelectAllCurrent() {
    if (pageChanging_ || !currentControl_) return false;
    currentControl_->SelectAll();
    return true;
}

bool TKYTCustomFrameSet::ClearSelectionCurrent() {
    if (pageChanging_ || !currentControl_) return false;
    currentControl_->ClearSelection();
    return true;
}

}  // namespace orvo
