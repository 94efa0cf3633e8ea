// The views of a shown page's objects: a box host that creates the view of each object the
// text box meets, on first use, and drops them all when the page closes (animations stop then).
#pragma once

#include <map>
#include <memory>

#include "objects/VisualUndo.h"
#include "objects/uKYTtable.h"
#include "objects/uKYTvisu.h"
#include "textbox/IBoxHost.h"

namespace orvo {

/// Wraps the page's own box host; every call but ViewOf goes to it.
class ObjectViewHost final : public IBoxHost, public IVisualSite {
public:
    ObjectViewHost(IBoxHost& inner, TKYTset& set, IMessages& messages, IScheduler& scheduler)
        : inner_(inner), set_(set), messages_(messages), scheduler_(scheduler) {}
    ~ObjectViewHost() override;

    /// Views made from now on start read-only (browsed) or not, animated or not.
    void SetReadOnly(bool on) { readOnly_ = on; }
    /// Anchor markers stay shown on a browsed page (a preview where anchors are picked).
    void SetAnchorPreview(bool on) { anchorPreview_ = on; }
    void SetAnimated(bool on);
    /// The opened text whose local links zones may name.
    void SetText(const TKYTtesto* text) { text_ = text; }
    /// Drops every view (the page closed or shows another text).
    void Clear();
    std::size_t ViewCount() const { return views_.size(); }
    /// The view made for `object`, if any.
    TMyyVisual* Find(const TKYToggetto& object) const;
    /// Every view made so far.
    std::vector<TMyyVisual*> Views() const;
    /// Undo steps recorded by the views while no undo list is given.
    std::vector<VisualUndoStep>& UndoSteps() { return undo_; }
    /// Links the views asked to follow, in order.
    std::vector<const TKYToggetto*>& RequestedLinks() { return links_; }
    /// Table undo steps recorded by the tables, in order (while no undo list is given).
    std::vector<TableUndoStep>& TableUndoSteps() { return tableUndo_; }
    /// Views made from now on take a number in `controls` (the page's control index), and the
    /// tables' steps join `list` (none: they are kept here). Both outlive the views.
    void SetUndo(TKYTundoList* list, TKYTundoIndiciList* controls);
    /// The page shown and the frame showing it, which the steps recorded from now on name.
    void SetUndoPage(std::int32_t pageId, std::int32_t frameId) {
        undoPage_ = pageId;
        undoFrame_ = frameId;
    }
    /// The page's text box: an object that changed size has its paragraph laid out again in
    /// it (or in the table cell that holds it).
    void SetBox(TKYTbox* box) { box_ = box; }
    /// The table view whose cell is `box`, or none.
    TMyyTable* TableOfCell(const TKYTbox& box) const;
    /// The table views made so far.
    std::vector<TMyyTable*> Tables() const;
    TKYTbox* Box() const { return box_; }
    /// The page surface the views sit on, and what their nested texts are measured with
    /// (none: the box's own measurer); both outlive the views.
    void SetPage(TKYTpage* page) { page_ = page; }
    void SetMeasurer(ITextMeasurer* measurer) { measurer_ = measurer; }
    /// The views sit on the page of a floating frame that is `depth` frames deep.
    void SetFloatingDepth(int depth) { depth_ = depth; }

    // IBoxHost
    std::int32_t ClientWidth() const override { return inner_.ClientWidth(); }
    std::int32_t ClientHeight() const override { return inner_.ClientHeight(); }
    std::int32_t HorizontalRange() const override { return inner_.HorizontalRange(); }
    std::int32_t HorizontalPosition() const override { return inner_.HorizontalPosition(); }
    std::int32_t VerticalRange() const override { return inner_.VerticalRange(); }
    std::int32_t VerticalPosition() const override { return inner_.VerticalPosition(); }
    void SetHorizontalScroll(std::int32_t range, std::int32_t position) override {
        inner_.SetHorizontalScroll(range, position);
    }
    void SetVerticalScroll(std::int32_t range, std::int32_t position) override {
        inner_.SetVerticalScroll(range, position);
    }
    Point BoxOriginInPage() const override { return inner_.BoxOriginInPage(); }
    void BoxResized(std::int32_t width, std::int32_t height) override {
        inner_.BoxResized(width, height);
    }
    void Invalidate(const Rect& area) override { inner_.Invalidate(area); }
    void StopSpellCheck() override { inner_.StopSpellCheck(); }
    void RearmSpellCheck() override { inner_.RearmSpellCheck(); }
    bool ShowBoundaries() const override { return inner_.ShowBoundaries(); }
    bool ReadOnly() const override { return inner_.ReadOnly(); }
    void RefreshTools() override { inner_.RefreshTools(); }
    IInlineObject* ViewOf(const TKYToggetto& object) override;

    // IVisualSite
    TKYTset& LinkedKYTset() override { return set_; }
    IMessages& Messages() override { return messages_; }
    IScheduler& Scheduler() override { return scheduler_; }
    bool AnchorPreview() const override { return anchorPreview_; }
    const TKYTtesto* Text() override { return text_; }
    void RecordUndo(VisualUndoStep step) override;
    void RequestLink(const TKYToggetto& target) override { links_.push_back(&target); }
    void InvalidateObject(const Rect& bounds) override { inner_.Invalidate(bounds); }
    void RecordTableUndo(const TableUndoStep& step) override;
    IBoxHost* BoxHost() override { return this; }
    void RelayoutObject(const TKYToggetto& object) override;
    TKYTpage* Page() override { return page_; }
    ITextMeasurer* Measurer() override;
    int FloatingDepth() const override { return depth_; }

private:
    IBoxHost& inner_;
    TKYTset& set_;
    IMessages& messages_;
    IScheduler& scheduler_;
    const TKYTtesto* text_ = nullptr;
    bool readOnly_ = false;
    bool anchorPreview_ = false;
    bool animated_ = true;
    // Objects without a view are remembered too, so they are asked once. The kind and
    // identifier guard against an address that a freed object left to another one.
    struct Entry {
        std::unique_ptr<TMyyVisual> view;
        std::unique_ptr<VisualUndoControl> control;  // goes before the view
        int kind = -1;
        std::int32_t identifier = -1;
    };
    std::map<const TKYToggetto*, Entry> views_;
    std::vector<VisualUndoStep> undo_;
    std::vector<const TKYToggetto*> links_;
    std::vector<TableUndoStep> tableUndo_;
    TKYTundoList* undoList_ = nullptr;
    TKYTundoIndiciList* controls_ = nullptr;
    std::int32_t undoPage_ = -1;
    std::int32_t undoFrame_ = -1;
    TKYTbox* box_ = nullptr;
    TKYTpage* page_ = nullptr;
    ITextMeasurer* measurer_ = nullptr;
    int depth_ = 0;
};

/// Lays out again the paragraph of `box` that holds `object`; false when none does.
bool RelayoutObjectParagraph(TKYTbox& box, const TKYToggetto& object);

}  // namespace orvo
