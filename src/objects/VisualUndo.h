// The undo steps of the visual objects: a visual object's place in its page's control index,
// and the step that puts back an object's record (and its streams) as it was before a change.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "textbox/uKYTundo.h"

namespace orvo {

class TMyyVisual;
struct VisualUndoStep;

/// Registers a visual object in its page's control index for as long as this lives, so that
/// a step names it by number; the slot is cleared when this goes.
class VisualUndoControl final : public IUndoControl {
public:
    /// A new number, or `number` when the object comes back under the number it had.
    VisualUndoControl(TMyyVisual& visual, TKYTundoIndiciList& controls, std::int32_t number = -1);
    ~VisualUndoControl() override;
    VisualUndoControl(const VisualUndoControl&) = delete;
    VisualUndoControl& operator=(const VisualUndoControl&) = delete;

    TKYTbox* EditedBox() override { return nullptr; }
    TMyyVisual& Visual() { return visual_; }
    std::int32_t Number() const { return number_; }

private:
    TMyyVisual& visual_;
    TKYTundoIndiciList& controls_;
    std::int32_t number_;
};

/// A visual step: the kind and record of the object before a change, with its content and
/// auxiliary stream. Applying writes them back into the object the control shows now, builds
/// it again (zones and size of an image) and refreshes it.
class TimBackup final : public TKYTbackup {
public:
    /// `step` as the object recorded it (its control number in `registryId`); `visual` shows
    /// the object whose streams are kept.
    TimBackup(const VisualUndoStep& step, const TMyyVisual& visual, std::int32_t pageId,
              std::int32_t frameId);
    IUndoControl* Apply(TKYTundoList& list) override;
    std::size_t MemorySize() const override;

private:
    int kind_ = -1;
    std::string record_;
    std::string content_;
    std::optional<std::string> auxiliary_;
};

/// What a frame set's IVisualSite::RecordUndo does: the step joins the hypertext's list.
void RecordVisualUndo(TKYTundoList& list, const VisualUndoStep& step, const TMyyVisual& visual,
                      std::int32_t pageId, std::int32_t frameId);

}  // namespace orvo
