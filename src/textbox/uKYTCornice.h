// The editor's frame set: one page, or a page split into frames that each show a page. The
// frame tree, its sizes, splitting and deleting frames, the page change with its frame map,
// the frame-layout file, link following with the history, and the routing of the clipboard
// commands to the control being edited. Widgets only mirror it: they place what Arrange
// computed and forward bar drags, splitter moves and clicks.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ICanvas.h"
#include "textbox/FrameRecord.h"
#include "textbox/TKYTpageHosts.h"

namespace orvo {

class IMessages;
class IScheduler;
class TKYTbox;
class TKYTboxInput;
class TKYTCustomFrameSet;
class TKYTFrame;
class TKYTpage;
class TKYTset;
class TKYTtesto;
class TKYToggetto;

/// The page a frame shows: a page surface with its view. The frame set creates one per frame
/// that shows a page; the desktop's is a page widget, the headless one a TKYTpage.
class IFramePage {
public:
    virtual ~IFramePage() = default;
    /// Shows the live page with that identifier; false (nothing shown) when there is none.
    virtual bool ShowPage(std::int32_t page) = 0;
    /// Shows a new empty page (stored under a new identifier when committed).
    virtual void ShowNewPage() = 0;
    /// Stores the edits into the hypertext; true when something was stored.
    virtual bool Commit() = 0;
    /// Releases the text unsaved.
    virtual void Close() = 0;
    virtual bool Showing() const = 0;
    /// The identifier of the page shown; -1 while nothing or a new page is shown.
    virtual std::int32_t PageIdentifier() const = 0;
    virtual bool IsNewPage() const = 0;
    /// Whether the text differs from what was shown.
    virtual bool Edited() = 0;
    /// The working text (for the page's own link codes), or nullptr.
    virtual const TKYTtesto* WorkingText() const = 0;
    virtual TKYTbox* Box() const = 0;
    virtual void SetReadOnly(bool readOnly) = 0;
    virtual void SetAnimated(bool animated) = 0;
    /// Hidden in the layout view.
    virtual void SetHidden(bool hidden) = 0;
    /// Where the page lies, in frame-set coordinates, and whether it has a single border.
    virtual void SetGeometry(const Rect& area, bool border) = 0;
    /// Around a save or a load of the hypertext: the view lets the objects go, then comes back.
    virtual void DetachView() = 0;
    virtual void ReattachView() = 0;
};

class IFramePageFactory {
public:
    virtual ~IFramePageFactory() = default;
    /// The page surface of a frame of `frameSet`.
    virtual std::unique_ptr<IFramePage> CreatePage(TKYTCustomFrameSet& frameSet) = 0;
};

enum class FrameBar : std::uint8_t { Top, Left };

/// Common to the frame set and its frames: the flags passed down the tree and the bars.
class TKYTFramePanel {
public:
    virtual ~TKYTFramePanel() = default;

    /// Which bars show while editing: 0 top bar, 1 left bar, 2 both, 3 none.
    int barMode = 3;

    bool ReadOnly() const { return readOnly_; }
    bool Animated() const { return animated_; }
    bool ShowFramesOnly() const { return showFramesOnly_; }
    std::int32_t BarWidth() const { return barWidth_; }
    std::int32_t LineStep() const { return lineStep_; }
    int TigerBevel() const { return tigerBevel_; }
    virtual void SetReadOnly(bool on);
    virtual void SetAnimated(bool on);
    virtual void SetShowFramesOnly(bool on);
    void SetBarWidth(std::int32_t width);
    /// Values of 0 or less are ignored.
    void SetLineStep(std::int32_t step);
    void SetTigerBevel(int bevel);

protected:
    virtual std::vector<TKYTFramePanel*> PanelChildren() = 0;
    /// A flag changed on this panel (the page of a frame follows it).
    virtual void FlagsChanged() {}

private:
    template <class F>
    void PassDown(F&& apply);

    bool readOnly_ = false;
    bool animated_ = true;
    bool showFramesOnly_ = false;
    std::int32_t barWidth_ = 10;
    std::int32_t lineStep_ = 10;
    int tigerBevel_ = 1;  // raised
};

class TKYTFrame final : public TKYTFramePanel {
public:
    TKYTFrame(TKYTCustomFrameSet& frameSet, TKYTFrame* parent);
    ~TKYTFrame() override;

    TKYTCustomFrameSet& frameSet;
    TKYTFrame* parent;
    FrameRecord record;
    std::vector<std::unique_ptr<TKYTFrame>> children;
    /// The page shown in a frame that is not split.
    std::unique_ptr<IFramePage> page;
    std::int32_t splitterWidth = 3;
    bool busy = false;
    /// Where the frame lies in the frame set, as Arrange placed it.
    Rect bounds;
    /// The id the frame had in the map or layout file it was read from (written again, so a
    /// map read and written keeps its bytes); -1 for a frame made in this run.
    std::int32_t storedId = -1;

    /// Unique to the frame object for the whole run: "Frame" + its 6 hexadecimal digits.
    std::uint32_t Serial() const { return serial_; }
    std::string Name() const { return record.Name(); }
    bool IsSplit() const { return !children.empty(); }
    /// A split frame's children stand in rows (stacked from the top) or side by side.
    bool SplitInRows() const { return barMode == 0; }
    bool ShowsTopBar() const;
    bool ShowsLeftBar() const;
    /// The bounds without the bars shown.
    Rect ContentRect() const;
    /// The bar rectangles (empty when not shown).
    Rect TopBarRect() const;
    Rect LeftBarRect() const;
    /// The splitter after this frame (between it and the next sibling); empty for the last.
    Rect SplitterRect() const;
    /// The space a split frame shares among its children.
    std::int32_t ChildSpace() const;

    /// The page follows the frame's run mode, animation and layout view.
    void FlagsChanged() override;

protected:
    std::vector<TKYTFramePanel*> PanelChildren() override;

private:
    std::uint32_t serial_;
};

/// A page link (kind 0) or special link (kind 10) to follow, resolved when it is requested:
/// the frame set keeps values, never the link object itself.
struct FrameLink {
    std::int32_t code = -1;         // as the page's text holds it (maybe a local code)
    int kind = -1;                  // the linked object's kind (0 page, 10 special link)
    std::int32_t identifier = -1;   // the linked object's identifier
    int type = 0;                   // a special link's type (its subtype byte)
    std::int32_t target = -1;       // a special link's target page
    std::uint32_t sourceFrame = 0;  // the serial of the frame the link was clicked in, 0 none
};

class TKYTCustomFrameSet : public TKYTFramePanel, public IPageFrameSet {
public:
    TKYTCustomFrameSet(IMessages& messages, IScheduler& scheduler, IFramePageFactory& pages);
    ~TKYTCustomFrameSet() override;
    TKYTCustomFrameSet(const TKYTCustomFrameSet&) = delete;
    TKYTCustomFrameSet& operator=(const TKYTCustomFrameSet&) = delete;

    // Properties.
    TKYTset* LinkedKYTset() const { return set_; }
    /// Showing another hypertext frees the frame tree first.
    void SetLinkedKYTset(TKYTset* set);
    std::int32_t MainPageNumber() const { return mainPage_; }
    bool ShowNested = true;
    bool SaveOnExit = false;
    bool ShowBoundaries = true;
    bool ActivePreview = false;
    bool AnchorPreview = false;
    bool AutoSpellCheck = false;
    bool AutoEngQuote = false;
    bool Wrapper = false;
    /// Whether committing raises a page's version stamp.
    bool RaiseVersionStamps = false;
    bool AutoJump() const { return autoJump_; }
    /// Changing it empties the history.
    void SetAutoJump(bool on);
    const std::vector<std::int32_t>& History() const { return history_; }
    bool Changed() const { return changed_; }
    void SetChanged(bool changed) { changed_ = changed; }
    bool PageChanging() const { return pageChanging_; }
    bool LayoutChanged() const { return layoutChanged_; }

    // Events.
    std::function<void(TKYTboxInput&)> OnEditStart;
    std::function<void(TKYTboxInput&)> OnEditStop;
    std::function<void(const FrameLink&)> OnDoLink;
    std::function<void()> OnPageChanged;
    std::function<void()> OnFrameSetChanged;
    std::function<void(TKYTFrame&)> OnClickFrame;
    /// The box that should take the keyboard focus (the widget's focus follows).
    std::function<void(TKYTbox&)> OnFocusBox;

    // Pages.
    /// Shows a page (-1 none); a number that names no page shows a new empty page stored in
    /// the hypertext. The page already shown only gives the focus to the current control.
    void SetMainPageNumber(std::int32_t page);
    /// Shows the last page of the history, when it still exists.
    void Back();
    /// Shows a page in one frame (the frame's old page saved or released first).
    bool ShowPageInFrame(TKYTFrame& frame, std::int32_t page);
    /// Follows the link with that code of the page shown in `source` once the current event
    /// has finished (a task posted to the scheduler).
    void RequestLink(std::int32_t code, TKYTFrame* source);
    /// A temporary run-mode view of the page shown, and back.
    void ShowTemporary(bool on);
    bool ShowingTemporary() const { return temporary_.has_value(); }
    /// Every page shown commits its edits; true when one stored something.
    bool CommitPages();
    /// Writes the page's frame map when its layout changed since it was shown or stored, and
    /// the frame set saves what it shows (SaveOnExit); true when written. The pages' edits are
    /// committed first, so that a new page in a frame is named by its number.
    bool StoreLayout();
    /// The layout changed and would be written by StoreLayout.
    bool LayoutUnstored() const { return SaveOnExit && layoutChanged_ && top_ && set_; }
    /// Around a save or a load of the hypertext.
    void DetachPages();
    void ReattachPages();

    // The current control and the routed commands.
    TKYTboxInput* CurrentControl() const { return currentControl_; }
    /// A box takes the focus (nullptr: none); OnEditStop and OnEditStart fire.
    void SetCurrentControl(TKYTboxInput* control);
    /// The box commands act on: the current control's, else the top frame's page's, else the
    /// box of the first frame that shows a page.
    TKYTbox* MainBox() const;
    void FocusCurrent();
    bool CutCurrent();
    bool CopyCurrent();
    bool PasteCurrent();
    bool SelectAllCurrent();
    bool ClearSelectionCurrent();

    // The frame tree.
    TKYTFrame* Top() const { return top_.get(); }
    bool Split() const { return top_ && top_->IsSplit(); }
    /// The frames that show pages, depth-first.
    std::vector<TKYTFrame*> Leaves() const;
    TKYTFrame* FrameNamed(std::string_view name) const;
    TKYTFrame* FrameWithSerial(std::uint32_t serial) const;
    TKYTFrame* FrameOfBox(const TKYTbox* box) const;
    /// The client area; the tree is arranged again.
    void SetClientSize(std::int32_t width, std::int32_t height);
    Rect ClientRect() const { return {0, 0, width_, height_}; }
    /// Places every frame (sizes of the children by their size kinds) and its page.
    void Arrange();
    /// A bar of `frame` dragged by `distance` pixels: more than 4 × BarWidth splits the frame
    /// there. True when a frame was made.
    bool DragBar(TKYTFrame& frame, FrameBar bar, std::int32_t distance);
    /// The splitter after `frame` moved so that the frame measures `size` pixels along its
    /// parent's direction; smaller than BarWidth deletes the frame.
    void MoveSplitter(TKYTFrame& frame, std::int32_t size);
    /// Deletes a frame (refusals are shown); true when it went.
    bool DeleteFrame(TKYTFrame& frame);
    /// A click on a frame in the layout view.
    void ClickFrame(TKYTFrame& frame);

    // Layouts.
    /// The frame-layout file of the tree; false (nothing written) when there is no split tree,
    /// with "Errore in salvataggio frames." when there is no tree at all.
    bool SaveLayout(std::string& out);
    /// Replaces the tree by a frame-layout file, checked whole first ("Formato file errato!"
    /// and the tree kept otherwise). An empty file is ignored. With `clearPages` every frame
    /// shows a new page; otherwise the pages the file names, where they exist.
    bool LoadLayout(std::string_view file, bool clearPages);
    /// A new (unregistered) frame map object holding the tree, or nullptr when not split.
    std::unique_ptr<TKYToggetto> CurrentMap();
    /// The tree as records would hold it (for a layout file or for the page's map).
    FrameNode TreeNode(bool forMap) const;

    // What a page asks of the frame set that shows it.
    void RegisterPage(TKYTpage&) override {}
    bool RaiseVersionStamp() const override { return RaiseVersionStamps; }
    bool AutomaticSpellCheck() const override { return AutoSpellCheck; }
    bool HasActiveSpellChecker() const override { return false; }
    void StartPreviews(TKYTpage&) override {}
    void PreviewClicked(TKYTpage&) override {}

    IMessages& Messages() const { return messages_; }
    /// The page whose floating frame shows this frame set (TKYTpage::AddFloatingFrameSet), or
    /// none; the frame set leaves the page's list when it goes.
    TKYTpage* FloatingPage() const { return floatingPage_; }

protected:
    std::vector<TKYTFramePanel*> PanelChildren() override;

private:
    friend class TKYTFrame;
    friend class TKYTpage;
    void LeaveFloatingPage() { floatingPage_ = nullptr; }
    void RemoveFromFloatingPage();
    std::uint32_t NextSerial() { return ++serials_; }
    std::unique_ptr<TKYTFrame> NewFrame(TKYTFrame* parent, std::string_view name);
    std::unique_ptr<TKYTFrame> FrameFrom(const FrameNode& node, TKYTFrame* parent, bool clearPages);
    void ShowTreePages(TKYTFrame& frame);
    void ShowAlone();
    void ReleasePages(bool save);
    void ReleasePage(TKYTFrame& frame, bool save);
    void WriteMap();
    void FreeTree();
    void ArrangeFrame(TKYTFrame& frame);
    void RecomputePercents(TKYTFrame& container);
    void SplitLeaf(TKYTFrame& frame, FrameBar bar, std::int32_t distance);
    void InsertFirst(TKYTFrame& frame, std::int32_t distance);
    void ForgetControlIn(TKYTFrame& frame);
    void FollowLink(const FrameLink& link);
    std::int32_t NewEmptyPage();

    IMessages& messages_;
    IScheduler& scheduler_;
    IFramePageFactory& pages_;
    TKYTset* set_ = nullptr;
    std::unique_ptr<TKYTFrame> top_;
    std::int32_t mainPage_ = -2;
    TKYTboxInput* currentControl_ = nullptr;
    std::vector<std::int32_t> history_;
    bool autoJump_ = true;
    bool changed_ = false;
    bool pageChanging_ = false;
    bool layoutChanged_ = false;
    bool backing_ = false;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::uint32_t serials_ = 0;
    struct Temporary {
        bool readOnly;
        bool saveOnExit;
        std::int32_t page;
    };
    std::optional<Temporary> temporary_;
    // Posted link tasks check this before running: the frame set may be gone by then.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    TKYTpage* floatingPage_ = nullptr;
};

/// The frame set with its published properties.
class TInsiemeCornici : public TKYTCustomFrameSet {
public:
    using TKYTCustomFrameSet::TKYTCustomFrameSet;
};

/// The component the main window uses.
class TKYTframeSet final : public TInsiemeCornici {
public:
    using TInsiemeCornici::TInsiemeCornici;
};

inline constexpr std::string_view kFrameSaveError = "Errore in salvataggio frames.";
inline constexpr std::string_view kDeleteChildrenFirst =
    "E' necessario cancellare prima le cornici figlie!";
inline constexpr std::string_view kDeleteOthersFirst =
    "Impossibile cancellare, modificare prima le altre cornici sulla pagina.";
inline constexpr std::string_view kSaveDeletedFrame =
    "Salvo in lista pagine la cornice cancellata?\nSe salvo, la pagina non andr\xE0 persa ma "
    "potr\xE0 essere riutilizzata in un'altra cornice, dentro qualsiasi insieme di cornici, "
    "oppure come pagina singola.";
inline constexpr std::string_view kMapFreeProblem =
    "Free imprevisto di mappa cornici. Potrebbe essere possibile continuare normalmente.";
inline constexpr std::string_view kNoMasterPage =
    "Nessuna cornice \xE8 stata registrata come master per la mappa cornici!";
inline constexpr std::string_view kFrameWithoutPage =
    "Errore in creazione cornice, non c'\xE8 KYTpage.";
inline constexpr std::string_view kTemporaryShown =
    "Error: this property must be set true with IsShowingTmpFrameSet false";

}  // namespace orvo
