// The undo list of a hypertext and its steps. A step never keeps the address of what it
// restores: it keeps a path of numbers (control, page, frame) that is looked up when the step
// is applied, because boxes and pages come and go while the user moves through the document.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/uKYTset.h"
#include "platform/IMessages.h"
#include "textbox/TKYTpageHosts.h"

namespace orvo {

class TKYTbox;
class TKYTset;
class TKYToggetto;

/// The messages of a path that does not resolve.
inline constexpr std::string_view kUndoFrameMissing = "Errore nella catena undo list!";
inline constexpr std::string_view kUndoPageMissing = "Error in undo list chain!";

/// A control a step can restore: a text box (through its editing interfaces) or a visual
/// object. Whoever owns the control clears its slot in the page's index when it goes.
class IUndoControl {
public:
    virtual ~IUndoControl() = default;
    /// The box of a text control; none for a visual object.
    virtual TKYTbox* EditedBox() = 0;
};

/// The controls of one page by number. Numbers start at 0 and are never reused; the slots
/// hold no ownership.
class TKYTundoIndiciList {
public:
    std::int32_t Register(IUndoControl* control);
    /// The control numbered `number`, or none.
    IUndoControl* Lookup(std::int32_t number) const;
    /// Stores a control (or none) under a number, growing the list with empty slots.
    void Put(IUndoControl* control, std::int32_t number);
    std::int32_t Count() const { return std::int32_t(controls_.size()); }
    std::int32_t LastNumber() const { return lastNumber_; }

private:
    std::vector<IUndoControl*> controls_;
    std::int32_t lastNumber_ = -1;
};

/// The container's index of frames: which page each frame shows and that page's control index.
class TKYTundoFrames {
public:
    void SetFrame(std::int32_t frameId, std::int32_t pageId, TKYTundoIndiciList* controls);
    void RemoveFrame(std::int32_t frameId);
    /// The page's control index when frame `frameId` exists and shows page `pageId`.
    bool HasFrame(std::int32_t frameId) const { return frames_.count(frameId) != 0; }
    TKYTundoIndiciList* PageControls(std::int32_t frameId, std::int32_t pageId) const;
    /// A frame id no one has had from this index: each surface that edits a page takes one,
    /// so the steps of two surfaces sharing the hypertext's list never find each other's box.
    std::int32_t NewFrameId() { return nextFrameId_++; }

private:
    struct Entry {
        std::int32_t pageId = -1;
        TKYTundoIndiciList* controls = nullptr;
    };
    std::map<std::int32_t, Entry> frames_;
    std::int32_t nextFrameId_ = 0;
};

/// Ids from the target upward: its number in its page's control index, the page's id, the
/// id of the frame that shows the page.
using UndoPath = std::vector<std::int32_t>;

class TKYTundoList;

/// A step: a snapshot of what an operation is about to change, and how to put it back.
class TKYTbackup {
public:
    TKYTbackup(std::string label, UndoPath path)
        : label_(std::move(label)), path_(std::move(path)) {}
    virtual ~TKYTbackup() = default;
    const std::string& Label() const { return label_; }
    const UndoPath& Path() const { return path_; }
    /// The step's number in its list (from 1, never reused): what an open burst remembers.
    std::uint64_t Serial() const { return serial_; }
    /// Puts the snapshot back; returns the control that takes the focus (none: no change).
    virtual IUndoControl* Apply(TKYTundoList& list) = 0;
    /// Bytes the step keeps (its snapshot and path).
    virtual std::size_t MemorySize() const;

protected:
    /// The path's control, or none (after the message of a missing frame or page).
    IUndoControl* Resolve(TKYTundoList& list) const;

private:
    friend class TKYTundoList;
    std::string label_;
    UndoPath path_;
    std::uint64_t serial_ = 0;
};

/// The undo list of one hypertext. No operation records redo steps: the redo list exists and
/// stays empty.
class TKYTundoList final : public IUndoPurge, public IUndoHistory {
public:
    /// Depth 10 until SetDepth; the owner sets the container's UndoDeep.
    TKYTundoList(TKYTset& set, TKYTundoFrames& frames, IMessages& messages);
    /// A list with its own index of frames (the container's list).
    TKYTundoList(TKYTset& set, IMessages& messages);
    ~TKYTundoList() override;
    TKYTundoList(const TKYTundoList&) = delete;
    TKYTundoList& operator=(const TKYTundoList&) = delete;

    void AddUndo(std::unique_ptr<TKYTbackup> step);
    void AddRedo(std::unique_ptr<TKYTbackup> step);
    /// Applies the newest step and frees it; returns the control to focus (none when empty).
    IUndoControl* UndoOne();
    IUndoControl* RedoOne();
    /// The drop-down: `count` steps newest first (count = the length of the prefix chosen);
    /// the control returned by the last one.
    IUndoControl* UndoFromList(int count);
    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    /// Ignored below 2; else the oldest steps go until at most n remain.
    void SetDepth(int n);
    int Depth() const { return depth_; }
    void Clear();
    /// A new hypertext: Clear, then SetDepth.
    void Restart(int depth) override;
    /// The labels of the undo steps, newest first (what the drop-down shows).
    std::vector<std::string> Labels() const;
    std::size_t Count() const { return undo_.size(); }
    /// The newest undo step (a burst adds to it while it is still the newest).
    const TKYTbackup* Newest() const;
    TKYTbackup* Newest();
    /// The newest step when its serial is `serial`, else none.
    TKYTbackup* NewestWithSerial(std::uint64_t serial);
    /// Bytes kept by every undo step.
    std::size_t MemorySize() const;
    bool busy = false;

    /// Leaving a page empties both lists: steps never outlive the page they would restore.
    void PurgePage(const TKYTpage& page) override;

    TKYTset& Set() const { return set_; }
    TKYTundoFrames& Frames() const { return frames_; }
    IMessages& Messages() const { return messages_; }
    /// Called after a step was applied (each surface showing a page repaints and refreshes its
    /// tools); one callback per owner, an empty one removes the owner's.
    void OnApplied(const void* owner, std::function<void()> callback);
    /// Called when the list goes with its hypertext, for an owner that may outlive it (a
    /// surface destroyed after the document); an empty callback removes the owner's.
    void OnDestroyed(const void* owner, std::function<void()> callback);

private:
    std::unique_ptr<TKYTundoFrames> ownFrames_;  // before frames_, which may name it
    TKYTset& set_;
    TKYTundoFrames& frames_;
    IMessages& messages_;
    std::vector<std::unique_ptr<TKYTbackup>> undo_;
    std::vector<std::unique_ptr<TKYTbackup>> redo_;
    int depth_ = 10;
    std::uint64_t lastSerial_ = 0;
    std::vector<std::pair<const void*, std::function<void()>>> applied_;
    std::vector<std::pair<const void*, std::function<void()>>> destroyed_;
    void NotifyApplied();
};

/// The container's undo list, made (depth UndoDeep, its own index of frames, the container's
/// messages) when it is first asked for.
TKYTundoList& UndoListOf(TKYTset& set);

/// A box step: the markup of the paragraphs an operation is about to change. Applying removes
/// the paragraphs the operation left (the after range) and puts the saved ones back, selected.
class TboBackup : public TKYTbackup {
public:
    /// Saves paragraphs firstPara..lastPara of the box.
    TboBackup(std::string label, UndoPath path, TKYTbox& box, std::int32_t firstPara,
              std::int32_t lastPara);
    /// The operation created or removed paragraphs: its result is firstPara..lastPara.
    void SetAfterRange(std::int32_t firstPara, std::int32_t lastPara) {
        afterFirst_ = firstPara;
        afterLast_ = lastPara;
    }
    IUndoControl* Apply(TKYTundoList& list) override;
    std::size_t MemorySize() const override;
    std::int32_t SavedFirst() const { return savedFirst_; }
    std::int32_t SavedLast() const { return savedLast_; }
    std::int32_t AfterFirst() const { return afterFirst_; }
    std::int32_t AfterLast() const { return afterLast_; }

protected:
    /// Replaces the after range by the saved paragraphs; false when the box does not have it.
    bool Restore(TKYTbox& box);
    std::int32_t savedFirst_, savedLast_;
    std::int32_t afterFirst_, afterLast_;
    std::string markup_;  // the saved paragraphs in snapshot form, then 0x00
};

/// A deletion step: what a deletion removes. After applying, a one-character deletion or the
/// join of two paragraphs leaves the caret at the start; anything else stays selected.
class TcancelBackup final : public TboBackup {
public:
    /// The selection startPara:startChar .. endPara:endChar about to be deleted.
    TcancelBackup(std::string label, UndoPath path, TKYTbox& box, std::int32_t startPara,
                  std::int32_t startChar, std::int32_t endPara, std::int32_t endChar);
    IUndoControl* Apply(TKYTundoList& list) override;

private:
    std::int32_t startChar_, endChar_;
};

/// An object step: a copy of a shared object (a paragraph style or a picture) before it is
/// edited. Applying writes the copy back into the hypertext's object of the same kind and name.
class TogBackup final : public TKYTbackup {
public:
    TogBackup(std::string label, const TKYToggetto& object);
    IUndoControl* Apply(TKYTundoList& list) override;
    std::size_t MemorySize() const override;

private:
    int kind_;
    std::string name_;
    std::string record_;
    std::string content_;
    std::optional<std::string> auxiliary_;
};

}  // namespace orvo
