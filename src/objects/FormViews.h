// The visual objects of forms, media and markers: text fields, text boxes, lists, drop-down
// lists, check boxes, radio buttons, buttons, players, floating frames and the markers of
// comments, anchors, hidden fields and form starts. While the page is edited they are inert
// placeholders that show their initial values; while it is browsed they take values, follow
// their links and play.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "objects/FormRecords.h"
#include "objects/uKYTvisu.h"
#include "platform/IMediaPlayer.h"
#include "platform/u3MyFont.h"

namespace orvo {

/// Sizes of the form controls, set once by the main window from its font.
struct FormMetrics {
    std::int32_t fieldCharWidth = 7;  // the letter "h"
    std::int32_t fieldHeight = 21;    // a single-line drop-down list
    std::int32_t listLineHeight = 16;
    std::int32_t listWidth = 121;
    /// The font of the text inside fields, lists and buttons: the window's, whatever the
    /// paragraph's style, so that the sizes above always hold their text.
    TMyFont font{"Arial", 0, 0, 8, 0};
};
FormMetrics& FieldMetrics();

inline constexpr std::string_view kUndoEditMedia = "Modifica multimedia";
inline constexpr std::string_view kUndoEditButton = "Modifica bottone";
inline constexpr std::string_view kUndoEditField = "Modifica casella edit";
inline constexpr std::string_view kUndoEditMemo = "Modifica box testo";
inline constexpr std::string_view kUndoEditList = "Modifica lista";
inline constexpr std::string_view kUndoEditCombo = "Modifica combo";
inline constexpr std::string_view kUndoEditFloating = "Modifica cornice indipendente";
inline constexpr std::string_view kUndoEditMarker = "Modifica oggetto";
inline constexpr std::string_view kUndoEditBox = "Modifica box";

/// The messages of a media file the player cannot open (shown at most once a run each).
inline constexpr std::string_view kMediaNoPlayerText =
    "Il lettore per questo tipo di oggetto multimediale non \xE8 correttamente registrato in "
    "Windows.\nPotrebbe essere utile controllare come si comporta Netscape o Internet "
    "Explorer.";
inline constexpr std::string_view kMediaInUseText =
    "Il file multimediale selezionato \xE8 gi\xE0 in uso nella corrente pagina.\nScegliere un "
    "altro file.";

/// The inputs that take typed text: single-line fields (password fields show "#").
class TMyyEdit : public TMyyVisual {
public:
    explicit TMyyEdit(IMessages& messages);
    void Setup() override { Refresh(); }
    void Refresh() override;
    std::string GetFormValue() const override { return text_; }
    void SetFormValue(std::string_view value) override { text_ = std::string(value); }
    /// Typing while the page is browsed: `text` is added at the end; Backspace removes the
    /// last character. In editing both do nothing.
    void TypeText(std::string_view text);
    void Backspace();
    bool Password() const { return password_; }

protected:
    void PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) override;
    std::string text_;
    bool password_ = false;
};

/// A text box: several lines, from the object's stream when it has an initial value.
class TMyyMemo final : public TMyyEdit {
public:
    explicit TMyyMemo(IMessages& messages);
    void Refresh() override;

protected:
    void PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) override;
};

/// A list: its items from the object's stream, one selected (or several).
class TMyyListBox : public TMyyVisual {
public:
    explicit TMyyListBox(IMessages& messages);
    void Setup() override { Refresh(); }
    void Refresh() override;
    /// The value line of the selected item; nothing for a list of several selections.
    std::string GetFormValue() const override;
    const std::vector<FormListItem>& Items() const { return items_; }
    int Selected() const { return selected_; }
    /// A click on an item while the page is browsed (a list of several selections toggles it).
    void ChooseItem(int index);
    bool Multiple() const { return multiple_; }
    bool Marked(int index) const {
        return index >= 0 && std::size_t(index) < marks_.size() && marks_[std::size_t(index)];
    }

protected:
    void PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) override;
    std::vector<FormListItem> items_;
    std::vector<bool> marks_;
    int selected_ = -1;
    bool multiple_ = false;
};

/// A drop-down list: the last flagged item is chosen, the first when none is.
class TMyyComboBox final : public TMyyListBox {
public:
    explicit TMyyComboBox(IMessages& messages);
    void Refresh() override;
    std::string GetFormValue() const override;

protected:
    void PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) override;
};

/// Check boxes and radio buttons: 13 x 13, checked from the record.
class TMyyCheckedControl : public TMyyVisual {
public:
    explicit TMyyCheckedControl(IMessages& messages);
    void Setup() override { Refresh(); }
    void Refresh() override;
    bool IsOpaque() const override { return false; }
    std::string GetFormValue() const override;
    void SetFormValue(std::string_view value) override;
    bool Checked() const { return checked_; }
    bool Pressed() const { return pressed_; }
    /// The button held down and let go: inside the control (borders included) a radio button
    /// becomes checked and a check box toggles, while the page is browsed.
    void Press();
    void Release(Point p);

protected:
    virtual void Toggle() = 0;
    bool checked_ = false;
    bool pressed_ = false;
};

class TMyyCheckBox final : public TMyyCheckedControl {
public:
    using TMyyCheckedControl::TMyyCheckedControl;

protected:
    void Toggle() override { checked_ = !checked_; }
    void PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) override;
};

class TMyyRadioButton final : public TMyyCheckedControl {
public:
    using TMyyCheckedControl::TMyyCheckedControl;

protected:
    void Toggle() override { checked_ = true; }
    void PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) override;
};

/// Submit, image and reset buttons: a push button with its caption, or a picture.
class TMyyButton final : public TMyyVisual {
public:
    explicit TMyyButton(IMessages& messages);
    void Setup() override { Refresh(); }
    void Refresh() override;
    bool IsOpaque() const override { return picture_ < 0; }
    /// A click while browsed (or inactive): the button's link is requested.
    void FollowLink() override;
    const std::string& Caption() const { return caption_; }
    const std::string& Hint() const { return hint_; }

protected:
    void PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) override;

private:
    std::string caption_;
    std::string hint_;
    std::int32_t picture_ = -1;
};

/// The range of a reset button's form among a page's objects in document order: from the
/// form start before the button (or the first object) to the form start after it (or the
/// last object), both ends excluded when they are form starts. `isFormStart` tells which.
std::pair<std::size_t, std::size_t> ResetRange(const std::vector<bool>& isFormStart,
                                               std::size_t button);

/// The markers: comments, custom code, program launchers, window scripts, anchors, hidden
/// fields, dynamic inputs and form starts; drawn only while the page is edited.
class TMyyBelPanel : public TMyyVisual {
public:
    explicit TMyyBelPanel(IMessages& messages);
    void Setup() override;
    void Refresh() override;
    bool IsOpaque() const override { return false; }
    bool HiddenInLayout(bool asked) const override;
    /// No room at all while the page is browsed and the marker is hidden then (its glyph is
    /// an editing aid): the text closes up around it.
    ObjectSize Size() const override;
    /// An anchor on a browsed page asks for a link to itself.
    void FollowLink() override;
    const std::string& Hint() const { return hint_; }
    /// The letter the marker shows in place of its glyph.
    char Glyph() const { return glyph_; }

protected:
    void PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) override;

private:
    std::string hint_;
    char glyph_ = '?';
};

/// A player of sound or video (buttons or cyclic play), an applet or a custom component.
class TMyyMultimedia final : public TMyyVisual {
public:
    explicit TMyyMultimedia(IMessages& messages);
    ~TMyyMultimedia() override;
    void Setup() override { Refresh(); }
    void Refresh() override;
    void SetReadOnly(bool on) override;
    void FitToWidth(std::int32_t available) override;
    IMediaPlayer* Player() const { return player_.get(); }
    bool Opened() const { return opened_; }
    int CyclesLeft() const { return cyclesLeft_; }

protected:
    void PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) override;

private:
    void OpenFile();
    void EndOfPlay();
    std::unique_ptr<IMediaPlayer> player_;
    std::string file_;
    bool opened_ = false;
    int cyclesLeft_ = 0;
};

class FloatingFramePages;
class TKYTCustomFrameSet;

/// A floating frame: a read-only frame set inside the page that shows another page (or that
/// page's frame map) at a size in pixels or percent. The frame set is made once the frame is
/// placed and joins the list of floating frame sets of the page the frame sits on.
class TMyyFloating final : public TMyyVisual {
public:
    explicit TMyyFloating(IMessages& messages);
    ~TMyyFloating() override;
    void Setup() override { Refresh(); }
    void Refresh() override;
    void FitToWidth(std::int32_t available) override;
    void PlaceAt(std::int32_t left, std::int32_t top) override;
    std::int32_t MainPageNumber() const { return page_; }
    /// The nested frame set; none before the frame is placed, without a measurer from the
    /// site, and for a frame nested kMaxFloatingDepth floating frames deep.
    TKYTCustomFrameSet* Frames() const { return frames_.get(); }
    /// A click at `p` (the frame's coordinates) while the page is browsed: a link under it is
    /// followed inside the frame (AutoJump, once the event is over) or asked of the page that
    /// holds the frame. False when no link is there.
    bool Click(Point p);

protected:
    void PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) override;

private:
    void ShowFrames();
    std::int32_t page_ = -1;
    std::int32_t told_ = -2;  // the page last given to the frame set
    std::unique_ptr<FloatingFramePages> pages_;
    std::unique_ptr<TKYTCustomFrameSet> frames_;  // goes before the pages' factory
};

/// The view of a form input, button, form start, media object or marker; none for kinds
/// other than those.
std::unique_ptr<TMyyVisual> CreateFormVisual(IVisualSite& site, TKYToggetto& object, bool readOnly,
                                             bool animated);

}  // namespace orvo
