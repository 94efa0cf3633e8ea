// The pages of a floating frame's frame set. Each frame of the nested frame set shows its page
// on a surface of its own, with the views of that page's objects; the floating frame draws
// them into the page that holds it. Nothing here keeps an object across a save: the pages
// are detached and reattached with the page that holds the frame.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "objects/ObjectViews.h"
#include "textbox/FramePages.h"
#include "textbox/TKYTsfondo.h"
#include "textbox/uKYTboxView.h"

namespace orvo {

/// Floating frames inside floating frames stop this deep: a page that shows itself in a
/// floating frame is drawn this many times, not forever.
inline constexpr int kMaxFloatingDepth = 3;

/// What the pages of one floating frame share: the frame that holds them.
struct FloatingFrameContext {
    IMessages& messages;
    IScheduler& scheduler;
    ITextMeasurer& measurer;
    /// How deep the pages lie: the holding page's depth plus one.
    int depth = 1;
    /// A part of the frame set (its coordinates) must be painted again.
    std::function<void(const Rect&)> invalidate;
};

/// The page of one frame: read-only, painted on the holder's canvas.
class FloatingFramePage final : public IFramePage {
public:
    FloatingFramePage(TKYTset& set, TKYTCustomFrameSet& frames, FloatingFrameContext& context);
    ~FloatingFramePage() override;

    bool ShowPage(std::int32_t page) override;
    void ShowNewPage() override;
    bool Commit() override { return false; }
    void Close() override;
    bool Showing() const override { return surface_.Showing(); }
    std::int32_t PageIdentifier() const override { return surface_.PageIdentifier(); }
    bool IsNewPage() const override { return surface_.IsNewPage(); }
    bool Edited() override { return false; }
    const TKYTtesto* WorkingText() const override { return surface_.WorkingText(); }
    TKYTbox* Box() const override { return surface_.Box(); }
    void SetReadOnly(bool) override {}
    void SetAnimated(bool animated) override;
    void SetHidden(bool hidden) override { hidden_ = hidden; }
    void SetGeometry(const Rect& area, bool border) override;
    void DetachView() override;
    void ReattachView() override;

    /// Draws the page with the frame set's origin at (left, top).
    void Paint(ICanvas& canvas, std::int32_t left, std::int32_t top);
    TKYTpage& Surface() { return surface_.Surface(); }
    ObjectViewHost& Objects() { return objects_; }
    const Rect& Area() const { return area_; }

private:
    class Host final : public IBoxHost {
    public:
        explicit Host(FloatingFramePage& page) : page_(page) {}
        std::int32_t ClientWidth() const override { return page_.area_.Width(); }
        std::int32_t ClientHeight() const override { return page_.area_.Height(); }
        std::int32_t HorizontalRange() const override { return 0; }
        std::int32_t HorizontalPosition() const override { return 0; }
        std::int32_t VerticalRange() const override { return 0; }
        std::int32_t VerticalPosition() const override { return 0; }
        void SetHorizontalScroll(std::int32_t, std::int32_t) override {}
        void SetVerticalScroll(std::int32_t, std::int32_t) override {}
        Point BoxOriginInPage() const override { return {0, 0}; }
        void BoxResized(std::int32_t, std::int32_t) override {}
        void Invalidate(const Rect& area) override;
        void StopSpellCheck() override {}
        void RearmSpellCheck() override {}
        bool ShowBoundaries() const override { return false; }
        bool ReadOnly() const override { return true; }
        void RefreshTools() override {}
        IInlineObject* ViewOf(const TKYToggetto&) override { return nullptr; }

    private:
        FloatingFramePage& page_;
    };
    class NoUndo final : public IUndoPurge {
    public:
        void PurgePage(const TKYTpage&) override {}
    };
    class NoSpelling final : public ISpellPacer {
    public:
        void Start(TKYTpage&, std::unique_ptr<TParInfoForThread>) override {}
        void Stop() override {}
        bool Running() const override { return false; }
    };
    void Shown();

    TKYTset& set_;
    FloatingFrameContext& context_;
    Rect area_;
    bool hidden_ = false;
    bool border_ = false;
    Host host_{*this};
    ObjectViewHost objects_;
    TKYTboxViewFactory views_;
    NoUndo undo_;
    NoSpelling spell_;
    PageBackgroundPicture picture_;
    SurfaceFramePage surface_;  // last: its page goes before the views it was shown through
};

class FloatingFramePages final : public IFramePageFactory {
public:
    explicit FloatingFramePages(FloatingFrameContext context) : context_(std::move(context)) {}
    std::unique_ptr<IFramePage> CreatePage(TKYTCustomFrameSet& frames) override;
    FloatingFrameContext& Context() { return context_; }

private:
    FloatingFrameContext context_;
};

}  // namespace orvo
