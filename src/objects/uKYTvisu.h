// The visual objects: the views of the page objects that sit in a page's text (pictures with
// clickable zones, and later players, buttons, form inputs, frames and markers). A view shows
// its object, lays itself out in its line, is drawn where the text box places it, and carries
// the object's editing rules: selection, sizes, zones, clipboard, undo steps.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "objects/DragRules.h"
#include "objects/ImageRecord.h"
#include "picture/Picture.h"
#include "platform/ICanvas.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "textbox/IInlineObject.h"

namespace orvo {

class TGIFPainter;
class TKYToggetto;
class TKYTpage;
class TKYTpicture;
class TKYTset;
class ITextMeasurer;
class TKYTtesto;
class TMyyVisual;
class IBoxHost;
struct TableUndoStep;

inline constexpr std::string_view kNoFrameSet = "Parent insieme?";
inline constexpr std::string_view kNotForThisKind = "Non si deve usare questo!";

/// Undo captions of the visual objects.
inline constexpr std::string_view kUndoEditImage = "Modifica immagine";
inline constexpr std::string_view kUndoSizeImage = "Dimensiona immagine";
inline constexpr std::string_view kUndoSizeZone = "Dimensiona zona cliccabile";
inline constexpr std::string_view kUndoPaste = "Inserimento da Cartella appunti";
inline constexpr std::string_view kUndoAddZone = "Aggiungi zona cliccabile";
inline constexpr std::string_view kUndoDeleteZone = "Cancella zona cliccabile";
inline constexpr std::string_view kUndoZoneFront = "Poni zona in primo piano";
inline constexpr std::string_view kUndoZoneBack = "Poni zona in secondo piano";
inline constexpr std::string_view kUndoMoveZone = "Muovi zona cliccabile";

/// Clipboard format names of the visual objects.
inline constexpr std::string_view kPictureFormat = "Orvo30 picture";
inline constexpr std::string_view kZoneFormat = "Orvo30 zone";
inline constexpr std::string_view kBitmapFormat = "bitmap";

/// The formats put on the clipboard by one copy, in order.
using VisualClipboardData = std::vector<std::pair<std::string, std::string>>;
/// Reads one format from the clipboard (none when it does not hold it).
using ClipboardReader = std::function<std::optional<std::string>(std::string_view format)>;

/// An image-kind undo step: the object's record before a change, and the control it belongs
/// to by its number in the page's control list.
struct VisualUndoStep {
    std::string caption;
    std::int32_t registryId = -1;
    std::string record;  // the 668 bytes
};

/// What the visual objects ask of the frame set that shows their page.
class IVisualSite {
public:
    virtual ~IVisualSite() = default;
    virtual TKYTset& LinkedKYTset() = 0;
    virtual IMessages& Messages() = 0;
    virtual IScheduler& Scheduler() = 0;
    /// The opened text the objects belong to (its local links), or none.
    virtual const TKYTtesto* Text() { return nullptr; }
    /// The link that covers the object's character in its text, or none.
    virtual const TKYToggetto* LinkOf(const TKYToggetto& /*object*/) { return nullptr; }
    /// An undo step is recorded before every change.
    virtual void RecordUndo(VisualUndoStep /*step*/) {}
    /// A table undo step is recorded before every table change.
    virtual void RecordTableUndo(const TableUndoStep& /*step*/) {}
    /// The page surface the objects' text boxes live on (tables place their cells on it).
    virtual IBoxHost* BoxHost() { return nullptr; }
    /// A link is followed after the current event (posted).
    virtual void RequestLink(const TKYToggetto& /*target*/) {}
    /// The object's area (box coordinates) must be painted again.
    virtual void InvalidateObject(const Rect& /*bounds*/) {}
    /// The object's paragraph is laid out again (its size changed).
    virtual void RelayoutObject(const TKYToggetto& /*object*/) {}
    /// The object became the frame set's current object.
    virtual void MakeCurrent(TMyyVisual* /*visual*/) {}
    virtual bool ApplicationActive() const { return true; }
    virtual bool AnchorPreview() const { return false; }
    /// The page surface the objects sit on (a floating frame joins its list), or none.
    virtual TKYTpage* Page() { return nullptr; }
    /// What the texts nested in objects are measured with, or none.
    virtual ITextMeasurer* Measurer() { return nullptr; }
    /// How many floating frames hold the page the objects sit on (0: a page of its own).
    virtual int FloatingDepth() const { return 0; }
};

/// The class that shows an object of a kind and subtype.
enum class VisualClass : std::uint8_t {
    None,
    Table,
    BelPanel,
    Multimedia,
    Image,
    Edit,
    Memo,
    RadioButton,
    CheckBox,
    ListBox,
    ComboBox,
    Floating,
    Button,
    InizioForm,
};

/// The mapping from object kind and subtype to the class that shows it; kinds without one get
/// VisualClass::None.
VisualClass VisualClassFor(int kind, int subtype);

/// The base of every visual object.
class TMyyVisual : public IInlineObject {
public:
    explicit TMyyVisual(IMessages& messages);
    ~TMyyVisual() override;

    // The operations every class may override, in slot order.
    virtual bool IsOpaque() const { return true; }
    virtual void SetReadOnly(bool on);
    virtual void SetAnimated(bool on) { animated_ = on; }
    virtual void SetInactive(bool on) { inactive_ = on; }
    virtual void SetSelected(bool on);
    virtual void ResizeStarted() {}
    virtual void ResizeFinished() {}
    virtual void FocusEntered();
    virtual void FocusLeft();
    /// Shows `object`; without a frame set reports "Parent insieme?" and changes nothing; the
    /// object already shown is not set up again.
    virtual void SetObject(TKYToggetto* object);
    virtual std::string GetFormValue() const { return {}; }
    virtual void SetFormValue(std::string_view) {}
    virtual void Setup() {}
    /// Records an image-kind undo step with UndoCaption (or `caption`).
    virtual void MakeUndo(std::string_view caption = {});
    virtual void StoreToObject() {}
    virtual void Relayout();
    virtual void FitToWidth(std::int32_t available);
    virtual void Refresh() {}
    virtual void FollowLink() {}
    virtual void DoDblClick() {}
    virtual bool CanPaste(const ClipboardReader&) const { return false; }
    virtual VisualClipboardData CopyToClipboard() { return {}; }
    virtual void PasteFromClipboard(const ClipboardReader&) {}
    virtual bool HiddenInLayout(bool asked) const { return asked && hideDefault_; }

    /// The frame set (site) of the page; set before SetObject.
    void SetSite(IVisualSite* site) { site_ = site; }
    IVisualSite* Site() const { return site_; }
    TKYToggetto* Object() const { return obj_; }
    std::int32_t RegistryId() const { return registryId_; }
    void SetRegistryId(std::int32_t id) { registryId_ = id; }
    const std::string& UndoCaption() const { return undoCaption_; }
    bool ReadOnly() const { return readOnly_; }
    bool Animated() const { return animated_; }
    bool Inactive() const { return inactive_; }
    bool Selected() const { return selected_; }
    /// Where the object is, in its box's coordinates (left -20000 while parked).
    const Rect& Bounds() const { return bounds_; }
    void SetBounds(const Rect& bounds) { bounds_ = bounds; }
    Point LastMouse() const { return lastMouse_; }
    void SetLastMouse(Point p) { lastMouse_ = p; }

    // Pointer rules (coordinates relative to the object).
    /// A press: remembers it; false when the press is swallowed (after a double click).
    bool MouseDown(Point p);
    /// A move with the button held: true when a drag of the text selection starts.
    bool MouseMove(Point p);
    /// A release; a release on a read-only or inactive object follows the link.
    void MouseUp(Point p, bool rightButton);

    // IInlineObject
    bool IsTable() const override { return false; }
    void UpdateSize(std::int32_t fullWidth) override;
    ObjectSize Size() const override { return {bounds_.Width(), bounds_.Height()}; }
    int VerticalAlignment() const override { return kImageAlignCentre; }
    void MarkReposition() override { needsPlacing_ = true; }
    void Park() override;
    bool NeedsPlacing() const override { return needsPlacing_ || !placed_; }
    void PlaceAt(std::int32_t left, std::int32_t top) override;
    void SetHighlighted(bool highlighted) override { highlighted_ = highlighted; }
    void SetRunMode(bool on) override { SetReadOnly(on); }
    void PaintOn(ICanvas& canvas, std::int32_t left, std::int32_t top) override;

    bool Highlighted() const { return highlighted_; }
    bool Placed() const { return placed_; }

protected:
    /// Draws the object itself with its top left corner at (left, top).
    virtual void PaintObject(ICanvas&, std::int32_t /*left*/, std::int32_t /*top*/) {}
    void SetSize(std::int32_t width, std::int32_t height);
    void Invalidate();

    IMessages& messages_;
    IVisualSite* site_ = nullptr;
    TKYToggetto* obj_ = nullptr;
    std::string undoCaption_;
    std::int32_t availWidth_ = 0;
    std::int32_t registryId_ = -1;
    Point lastMouse_{-1, -1};
    Point downPoint_{};
    bool hideDefault_ = false;
    bool skipClicks_ = false;
    bool mouseArmed_ = false;
    bool focusFromMouse_ = false;
    bool readOnly_ = false;
    bool animated_ = true;
    bool inactive_ = false;
    bool selected_ = false;

private:
    Rect bounds_{0, 0, 105, 105};
    bool needsPlacing_ = true;
    bool placed_ = false;
    bool highlighted_ = false;
};

class TMyyImage;

/// A clickable zone of an image: a rectangle in the image's pixels and the object it links to.
class TMyyZona {
public:
    explicit TMyyZona(TMyyImage& image) : image_(image) {}

    /// Takes the slot's bounds and link, and resolves the link's target.
    void Apply(const ZoneRecord& record);
    ZoneRecord Record() const;
    int Slot() const { return slot_; }
    void SetSlot(int slot) { slot_ = slot; }
    const Rect& Bounds() const { return bounds_; }
    void SetBounds(const Rect& bounds) { bounds_ = bounds; }
    std::int32_t Link() const { return link_; }
    void SetLink(std::int32_t link);
    const TKYToggetto* Target() const { return target_; }
    /// The target's description (its hint).
    std::string Hint() const;
    bool Selected() const { return selected_; }
    void SetSelected(bool on) { selected_ = on; }

private:
    TMyyImage& image_;
    Rect bounds_{0, 0, 30, 30};
    std::int32_t link_ = -1;
    const TKYToggetto* target_ = nullptr;
    int slot_ = -1;
    bool selected_ = false;
};

/// An image: its picture (or roll-over picture) drawn at its shown size, animated when it is a
/// GIF of several frames on a read-only page, with up to 30 clickable zones.
class TMyyImage final : public TMyyVisual {
public:
    explicit TMyyImage(IMessages& messages);
    ~TMyyImage() override;

    bool IsOpaque() const override;
    void SetReadOnly(bool on) override;
    void SetAnimated(bool on) override;
    void SetSelected(bool on) override;
    void ResizeStarted() override;
    void ResizeFinished() override;
    void Setup() override;
    void StoreToObject() override;
    void FitToWidth(std::int32_t available) override;
    void Refresh() override;
    void FollowLink() override;
    void DoDblClick() override;
    bool CanPaste(const ClipboardReader& clipboard) const override;
    VisualClipboardData CopyToClipboard() override;
    void PasteFromClipboard(const ClipboardReader& clipboard) override;
    int VerticalAlignment() const override;

    /// The zones in z-order: the last is in front.
    const std::vector<std::unique_ptr<TMyyZona>>& Zones() const { return zones_; }
    /// Adds a 30 x 30 zone in front of the others, selected: at LastMouse (pulled inside the
    /// image) when the pointer was seen over it, else at the top left corner. False (and
    /// nothing recorded) when the image holds 30 zones already.
    bool AddZone();
    /// Deletes a zone (an undo step first).
    void DeleteZone(TMyyZona& zone);
    /// Moves a zone to the front or the back of the z-order.
    void BringToFront(TMyyZona& zone);
    void SendToBack(TMyyZona& zone);
    /// Scales the shown size to `percent` of the natural size (the 100 % and 50 % commands).
    void ScaleTo(int percent);
    /// Resizes the image to `size` as a handle drag ends: its zones scale with it.
    void ResizeTo(std::int32_t width, std::int32_t height);
    /// Selects one zone (none: no zone), the others are deselected.
    void SelectZone(TMyyZona* zone);
    /// The selected zone, or none.
    TMyyZona* SelectedZone() const;
    /// A zone moved or resized to `bounds` (image pixels, kept inside the 16-bit fields): the
    /// undo step `caption` first, then the record.
    void SetZoneBounds(TMyyZona& zone, const Rect& bounds, std::string_view caption);
    /// A zone linked to `link` (an object code, a local link code; -1 none), an undo step first.
    void LinkZone(TMyyZona& zone, std::int32_t link);

    /// The pointer entered or left the image: the roll-over picture is shown while inside.
    void MouseEnter();
    void MouseLeave();
    bool MouseOver() const { return mouseOver_; }
    /// The zone at a point of the image, front-most first; none.
    TMyyZona* ZoneAt(Point p) const;

    const std::string& Hint() const { return hint_; }
    const TKYToggetto* LinkTarget() const { return link_; }
    bool Animating() const;
    /// The picture object shown now (the roll-over picture while the pointer is over it).
    TKYToggetto* ShownPicture() const;

protected:
    void PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) override;

private:
    void StopAnimation();
    void ComputeHint();
    const Bitmap* FramePixels(std::uint64_t& key);
    std::int32_t ShownWidth() const;
    std::int32_t ShownHeight() const;

    std::vector<std::unique_ptr<TMyyZona>> zones_;
    std::unique_ptr<TGIFPainter> painter_;
    std::shared_ptr<TKYTpicture> painterPicture_;  // keeps the animated picture alive
    std::int32_t painterPictureId_ = -1;
    bool mouseOver_ = false;
    bool destroying_ = false;
    bool painting_ = false;
    bool hintDone_ = false;
    std::string hint_;
    const TKYToggetto* link_ = nullptr;
    // The last pixels drawn, scaled to the shown size.
    Bitmap scaled_;
    std::uint64_t scaledKey_ = 0;
    std::int32_t scaledWidth_ = 0, scaledHeight_ = 0;
    Bitmap still_;
    std::uint64_t stillKey_ = 0;
};

/// The view of `object` for its kind and subtype, set up on `site`: kind 0 reports "Non si deve
/// usare questo!" and gets none; kinds whose class is not built yet get none (their size is the
/// one read with the markup).
std::unique_ptr<TMyyVisual> CreateVisual(IVisualSite& site, TKYToggetto& object, bool readOnly,
                                         bool animated);

/// `source` scaled to width x height (nearest pixel).
Bitmap ScaleBitmap(const Bitmap& source, std::int32_t width, std::int32_t height);

/// The hint of an image: [the link's description unless read-only] + " - " (only with a link
/// part) + the name, and, when not read-only, "\r\n----------\r\n" + the note when it holds more
/// than 5 bytes. A link part with "|" gets the image part before the "|" and at the end.
std::string ImageHint(const std::string* linkDescription, std::string_view name,
                      std::string_view note, bool readOnly);

}  // namespace orvo
