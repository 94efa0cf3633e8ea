// The page of a frame over a page surface (TKYTpage) and the view factory it is given: what
// the frame set shows its pages through without a window (orvo-cli, tests).
#pragma once

#include <memory>
#include <string>

#include "textbox/TKYTpage.h"
#include "textbox/uKYTCornice.h"

namespace orvo {

class SurfaceFramePage final : public IFramePage {
public:
    SurfaceFramePage(TKYTset& set, IPageFrameSet& frameSet, ITextViewFactory& views,
                     IUndoPurge& undo, ISpellPacer& spell, IScheduler& scheduler);
    ~SurfaceFramePage() override;

    bool ShowPage(std::int32_t page) override;
    void ShowNewPage() override;
    bool Commit() override;
    void Close() override;
    bool Showing() const override { return page_.Showing(); }
    std::int32_t PageIdentifier() const override { return page_.PageIdentifier(); }
    bool IsNewPage() const override { return page_.IsNewPage(); }
    bool Edited() override;
    const TKYTtesto* WorkingText() const override { return page_.WorkingText(); }
    TKYTbox* Box() const override;
    void SetReadOnly(bool readOnly) override { page_.SetReadOnly(readOnly); }
    void SetAnimated(bool animated) override { page_.SetAnimated(animated); }
    void SetHidden(bool hidden) override { hidden_ = hidden; }
    void SetGeometry(const Rect& area, bool border) override;
    void DetachView() override { page_.DetachView(); }
    void ReattachView() override;

    TKYTpage& Surface() { return page_; }
    const Rect& Area() const { return area_; }
    bool Hidden() const { return hidden_; }
    bool Border() const { return border_; }

private:
    void Shown();

    TKYTpage page_;
    std::string shownMarkup_;
    Rect area_;
    bool hidden_ = false;
    bool border_ = true;
};

/// Makes SurfaceFramePage objects on the frame set's hypertext.
class SurfaceFramePageFactory final : public IFramePageFactory {
public:
    SurfaceFramePageFactory(ITextViewFactory& views, IUndoPurge& undo, ISpellPacer& spell,
                            IScheduler& scheduler)
        : views_(views), undo_(undo), spell_(spell), scheduler_(scheduler) {}
    std::unique_ptr<IFramePage> CreatePage(TKYTCustomFrameSet& frameSet) override;

private:
    ITextViewFactory& views_;
    IUndoPurge& undo_;
    ISpellPacer& spell_;
    IScheduler& scheduler_;
};

}  // namespace orvo
