// What a text box asks of the surface that hosts it: the page (page text) or the table that
// owns a cell box. Headless hosts for tests and for offscreen pictures are below.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "platform/ICanvas.h"

namespace orvo {

class IInlineObject;
class TKYToggetto;

/// The page surface (or, for a cell box, the page the table sits on).
class IBoxHost {
public:
    virtual ~IBoxHost() = default;

    /// The width and height of the page's visible client area.
    virtual std::int32_t ClientWidth() const = 0;
    virtual std::int32_t ClientHeight() const = 0;

    /// Scroll ranges and positions of the page, in pixels.
    virtual std::int32_t HorizontalRange() const = 0;
    virtual std::int32_t HorizontalPosition() const = 0;
    virtual std::int32_t VerticalRange() const = 0;
    virtual std::int32_t VerticalPosition() const = 0;
    virtual void SetHorizontalScroll(std::int32_t range, std::int32_t position) = 0;
    virtual void SetVerticalScroll(std::int32_t range, std::int32_t position) = 0;

    /// Where the box's client origin lies in the page's scrolled content (the offsets of
    /// nested parents added up).
    virtual Point BoxOriginInPage() const = 0;
    /// The box took this size.
    virtual void BoxResized(std::int32_t width, std::int32_t height) = 0;

    /// `area` of the box must be painted again.
    virtual void Invalidate(const Rect& area) = 0;

    /// Stops the page's background spell check at once / starts its timer again.
    virtual void StopSpellCheck() = 0;
    virtual void RearmSpellCheck() = 0;

    /// The frame set's properties that painting follows.
    virtual bool ShowBoundaries() const = 0;
    virtual bool ReadOnly() const = 0;
    /// The frame set refreshes its tools (the text was loaded, the selection changed).
    virtual void RefreshTools() = 0;

    /// The view of an inline page object, or none when the object has no view.
    virtual IInlineObject* ViewOf(const TKYToggetto& object) = 0;
};

/// What a cell box asks of the table that owns it.
class ITableHost {
public:
    virtual ~ITableHost() = default;
    /// The cell boxes changed size: the table arranges its cells again.
    virtual void ArrangeCells() = 0;
    /// The box that holds the table lays out the table's paragraph again (the table asks its
    /// cells for its new size).
    virtual void RelayoutTableParagraph() = 0;
};

/// A page surface without a window: fixed client size, scroll bars as numbers, and every call
/// recorded. Serves tests and offscreen pictures.
class RecordingBoxHost : public IBoxHost {
public:
    RecordingBoxHost(std::int32_t clientWidth = 600, std::int32_t clientHeight = 400)
        : clientWidth_(clientWidth), clientHeight_(clientHeight) {}

    std::int32_t ClientWidth() const override { return clientWidth_; }
    std::int32_t ClientHeight() const override { return clientHeight_; }
    std::int32_t HorizontalRange() const override { return hRange_; }
    std::int32_t HorizontalPosition() const override { return hPos_; }
    std::int32_t VerticalRange() const override { return vRange_; }
    std::int32_t VerticalPosition() const override { return vPos_; }
    void SetHorizontalScroll(std::int32_t range, std::int32_t position) override;
    void SetVerticalScroll(std::int32_t range, std::int32_t position) override;
    Point BoxOriginInPage() const override { return origin_; }
    void BoxResized(std::int32_t width, std::int32_t height) override;
    void Invalidate(const Rect& area) override { invalidated_.push_back(area); }
    void StopSpellCheck() override { ++spellStops_; }
    void RearmSpellCheck() override { ++spellRearms_; }
    bool ShowBoundaries() const override { return showBoundaries_; }
    bool ReadOnly() const override { return readOnly_; }
    void RefreshTools() override { ++toolRefreshes_; }
    IInlineObject* ViewOf(const TKYToggetto& object) override;

    void SetClientSize(std::int32_t width, std::int32_t height) {
        clientWidth_ = width;
        clientHeight_ = height;
    }
    void SetOrigin(Point origin) { origin_ = origin; }
    void SetShowBoundaries(bool on) { showBoundaries_ = on; }
    void SetReadOnly(bool on) { readOnly_ = on; }
    void SetView(const TKYToggetto* object, IInlineObject* view) { views_[object] = view; }

    const std::vector<Rect>& Invalidated() const { return invalidated_; }
    void ClearInvalidated() { invalidated_.clear(); }
    int SpellStops() const { return spellStops_; }
    int SpellRearms() const { return spellRearms_; }
    int ToolRefreshes() const { return toolRefreshes_; }
    std::int32_t BoxWidth() const { return boxWidth_; }
    std::int32_t BoxHeight() const { return boxHeight_; }

private:
    std::int32_t clientWidth_, clientHeight_;
    std::int32_t hRange_ = 0, hPos_ = 0, vRange_ = 1024, vPos_ = 0;
    std::int32_t boxWidth_ = 0, boxHeight_ = 0;
    Point origin_;
    bool showBoundaries_ = true;
    bool readOnly_ = false;
    std::vector<Rect> invalidated_;
    int spellStops_ = 0, spellRearms_ = 0, toolRefreshes_ = 0;
    std::map<const TKYToggetto*, IInlineObject*> views_;
};

}  // namespace orvo
