// The input of a text box without a window: keys, characters, the mouse, drag and drop, dropped
// files and the clipboard commands, turned into caret movements, selections and calls of the
// editing operations. The desktop widget and the tests drive the same calls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/IClipboard.h"
#include "platform/IScheduler.h"
#include "textbox/IBoxEditing.h"
#include "textbox/TKYTcursor.h"
#include "textbox/uKYTbox.h"

namespace orvo {

class TKYTboxInput;

/// The keys the box acts on; every other key is None.
enum class BoxKey : std::uint8_t {
    None,
    Backspace,
    Return,
    PageUp,
    PageDown,
    End,
    Home,
    Left,
    Up,
    Right,
    Down,
    Delete,
    F9,
};

/// Modifier bits.
inline constexpr unsigned kModShift = 1;
inline constexpr unsigned kModCtrl = 2;
inline constexpr unsigned kModAlt = 4;

enum class MouseButton : std::uint8_t { Left = 0, Right = 1, Middle = 2 };

/// Exit codes of the movement operations.
enum ExitCode : std::uint8_t {
    kExitNone = 0,
    kExitBackward = 1,
    kExitForward = 2,
    kExitUp = 3,
    kExitDown = 4,
    kExitIntoTableBackward = 5,
    kExitIntoTableForward = 6,
    kExitIntoTableUp = 7,
    kExitIntoTableDown = 8,
};

/// Mouse pointers the box asks for.
inline constexpr int kPointerDefault = 0;
inline constexpr int kPointerHand = 2;
inline constexpr int kPointerEditHand = 4;
inline constexpr int kPointerDrag = -12;
inline constexpr int kPointerIBeam = -4;

/// The menus a box opens.
enum class BoxMenu : std::uint8_t { Context, Inactive, Spell, SpecialLink, GeneralLink };

/// The choices of the menu shown after a drag with the right button.
enum class DropChoice : std::uint8_t { Move, Copy, Cancel };

/// What the box asks of the frame set that holds it. Every service has a harmless default.
class IBoxInputHost {
public:
    virtual ~IBoxInputHost() = default;
    /// The box takes the keyboard focus (the widget's focus follows).
    virtual void TakeFocus(TKYTboxInput& box);
    /// The frame set acts on links (follows them).
    virtual bool Enabled() const { return true; }
    /// Only plain text goes through the clipboard and drops are ignored.
    virtual bool Wrapper() const { return false; }
    virtual void FollowLink(TKYTboxInput& box, std::int32_t linkId);
    /// The kind of the link object with that code (3 general, 10 special, ...); -1 none.
    virtual int LinkKind(std::int32_t linkId) const;
    /// The hint of a link; empty clears the hint.
    virtual void ShowHint(std::string_view text);
    virtual std::string LinkDescription(std::int32_t linkId) const;
    /// Opens a menu at a point of the box.
    virtual void ShowMenu(TKYTboxInput& box, BoxMenu menu, Point at);
    /// The menu of a drag with the right button: "&Sposta", "&Copia", "-", "&Annulla".
    virtual DropChoice AskDrop(Point at);
    /// A text drag starts in `source` (the widget runs it; a drop or EndDrag ends it).
    virtual void StartTextDrag(TKYTboxInput& source);
    /// Files dropped while editing go into the text at the caret.
    virtual void DropFiles(TKYTboxInput& box, const std::vector<std::string>& names);
    /// A dropped hypertext opens in run mode.
    virtual void OpenHypertext(const std::string& name);
    /// A bitmap from the clipboard (PNG bytes) becomes a picture object at the caret.
    virtual void ImageFromClipboard(TKYTboxInput& box, std::string_view png);
    /// The frame set's click handler in run mode.
    virtual void RunModeClick(TKYTboxInput& box);
};

/// The tables a box's caret walks into and out of.
class ITableNavigator {
public:
    virtual ~ITableNavigator() = default;
    /// The cell a caret enters the table of that paragraph through for exit code 5 to 8.
    virtual TKYTboxInput* EntryCell(const TKYTparag& tableParagraph, int code) = 0;
    /// The neighbour of a cell box in the direction of exit code 1 to 4; nullptr at the edge.
    virtual TKYTboxInput* Neighbour(TKYTboxInput& cell, int code) = 0;
    /// The box that holds a cell box's table and the table paragraph's index there.
    virtual std::pair<TKYTboxInput*, std::int32_t> Container(TKYTboxInput& cell) = 0;
};

class TKYTboxInput {
public:
    /// Input for `box`. Everything given outlives this object.
    TKYTboxInput(TKYTbox& box, IScheduler& scheduler, IBoxInputHost& host, IClipboard& clipboard,
                 IBoxEditing& editing, ITableNavigator* tables = nullptr);

    // Events. Each returns true when the box consumed it.
    bool KeyDown(BoxKey key, unsigned modifiers);
    /// A typed character, in Windows-1252 (32 and above).
    bool Char(std::uint8_t character);
    void MouseDown(MouseButton button, std::int32_t x, std::int32_t y, unsigned modifiers);
    void MouseMove(std::int32_t x, std::int32_t y, unsigned modifiers);
    void MouseUp(MouseButton button, std::int32_t x, std::int32_t y, unsigned modifiers);
    void DoubleClick(std::int32_t x, std::int32_t y);
    void FocusIn();
    void FocusOut();

    // Drag and drop of text; `source` is the box the text comes from.
    /// Over this box: false when a drop here would be refused. Scrolls near the page's edges.
    bool DragOver(TKYTboxInput& source, std::int32_t x, std::int32_t y);
    void DragLeave();
    /// Drops the source's selection at (x, y); true when text was moved or copied.
    bool Drop(TKYTboxInput& source, std::int32_t x, std::int32_t y);
    /// The drag that started here ended (dropped or not).
    void EndDrag();
    bool Dragging() const { return dragging_; }
    /// Files from the desktop dropped at (x, y).
    void DropFiles(const std::vector<std::string>& names, std::int32_t x, std::int32_t y);

    // Clipboard commands.
    bool CopySelection();
    bool CutSelection();
    bool Paste();

    // Movement operations: the new position, or the input with ExitCode() set.
    TKYTTextPos CharLeft(const TKYTTextPos& p);
    TKYTTextPos CharRight(const TKYTTextPos& p);
    TKYTTextPos LineDown(const TKYTTextPos& p);
    TKYTTextPos LineUp(const TKYTTextPos& p);
    TKYTTextPos WordLeft(const TKYTTextPos& p, bool forSelection);
    TKYTTextPos WordRight(const TKYTTextPos& p, bool forSelection);
    TKYTTextPos ParaUp(const TKYTTextPos& p);
    TKYTTextPos ParaDown(const TKYTTextPos& p);
    TKYTTextPos LineStart(const TKYTTextPos& p) const;
    TKYTTextPos LineEnd(const TKYTTextPos& p) const;
    TKYTTextPos TextStart() const;
    TKYTTextPos TextEnd() const;
    int ExitCode() const { return exitCode_; }
    const TKYTparag* ExitTable() const { return exitTable_; }
    void ClearExitCode() { exitCode_ = kExitNone; }

    // Selection operations.
    void SetSelection(const TKYTTextPos& start, const TKYTTextPos& end);
    void SelectAll();
    void ClearSelection();
    /// Clears the selection and puts the caret at the text's start (in a first table, in its
    /// first cell); `takeFocus` for a page being shown.
    void GoToStart(bool takeFocus);
    /// SelStart and SelEnd, or the caret twice without a selection.
    std::pair<TKYTTextPos, TKYTTextPos> SelectionRange();
    /// Puts the caret at a position (scrolled into view) with nothing selected.
    void PlaceCaret(const TKYTTextPos& p);

    // State.
    TKYTbox& Box() const { return box_; }
    TKYTcursor& Caret() { return caret_; }
    TKYTcursor& DropCaret() { return dropCaret_; }
    bool SelectionPresent();
    bool MouseSelecting() const { return mouseSelecting_; }
    bool KeySelecting() const { return keySelecting_; }
    bool PressPending() const { return pressPending_; }
    int Pointer() const { return pointer_; }
    std::int32_t HintLinkId() const { return hintLinkId_; }
    Point LastRelease() const { return lastRelease_; }
    bool Focused() const { return focused_; }
    /// Why the last action that changes text was refused (empty when it was not).
    const std::string& Refusal() const { return refusal_; }
    void ClearRefusal() { refusal_.clear(); }
    /// The pointer over text outside links (the I-beam unless a pointer set says otherwise).
    int textPointer = kPointerIBeam;
    IBoxEditing& Editing() const { return editing_; }
    IClipboard& Clipboard() const { return clipboard_; }

private:
    bool Busy() const { return box_.UpdateDepth() > 0; }
    bool Editable() const { return !box_.runMode && !box_.inactive; }
    bool IsTable(std::int32_t paraIndex) const;
    bool RefuseUnlessEditing();
    TKYTTextPos At(std::int32_t paraIndex, std::int32_t charIndex, std::int32_t line = -1) const;
    TKYTTextPos Exit(int code, const TKYTTextPos& p, std::int32_t tablePara = -1);
    TKYTTextPos OnLine(std::int32_t paraIndex, std::int32_t lineIndex, std::int32_t goalX) const;
    void SyncFromBox();
    void DrawSelection();
    void InvalidateBetween(const TKYTTextPos& a, const TKYTTextPos& b);
    void ApplyMove(BoxKey key, const TKYTTextPos& p, TKYTTextPos q, unsigned modifiers);
    void HandleExit();
    void DeleteForward();
    void ScrollKey(BoxKey key);
    std::int32_t LinkAtPoint(const TKYTTextPos& hit, std::int32_t x, std::int32_t y) const;
    void ContextMenu(const TKYTTextPos& at, std::int32_t x, std::int32_t y);
    void ShowMenuAt(BoxMenu menu, std::int32_t x, std::int32_t y);
    bool MoveOrCopy(TKYTboxInput& source, bool move);
    void FinishDoubleClick(std::int32_t x, std::int32_t y);
    void UpdatePointer(const TKYTTextPos& hit, std::int32_t x, std::int32_t y);
    bool InSelection(const TKYTTextPos& p);
    void Refresh() { box_.Host().RefreshTools(); }

    TKYTbox& box_;
    IScheduler& scheduler_;
    IBoxInputHost& host_;
    IClipboard& clipboard_;
    IBoxEditing& editing_;
    ITableNavigator* tables_;
    TKYTcursor caret_;
    TKYTcursor dropCaret_;

    TKYTTextPos anchor_, active_;
    bool present_ = false;
    bool mouseSelecting_ = false;
    bool keySelecting_ = false;
    bool pressPending_ = false;
    bool pressInSelection_ = false;
    Point pressPoint_;
    TKYTTextPos pressPos_;
    std::uint8_t pressKind_ = kBodyParagraph;
    MouseButton pressButton_ = MouseButton::Left;
    bool dblClickPending_ = false;
    bool noPressYet_ = true;
    int exitCode_ = kExitNone;
    const TKYTparag* exitTable_ = nullptr;
    TKYTTextPos dropPos_;
    unsigned dragShift_ = 0;
    bool dragging_ = false;
    bool dragEntered_ = false;
    bool inDragOver_ = false;
    Point lastRelease_;
    std::int32_t hintLinkId_ = -1;
    int pointer_ = kPointerDefault;
    bool focused_ = false;
    std::string refusal_;
};

}  // namespace orvo
