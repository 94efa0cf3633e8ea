// The paragraph style window without its widgets: the style being edited as a scratch record
// (fields, lengths in the style's own unit), and Ok, which either creates a new style or
// changes the chosen one in place after recording the undo step "Modifica stile: " + name.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/ObjectRecord.h"
#include "model/ParaStyle.h"
#include "model/StyleRecord.h"

namespace orvo {

class TKYTset;
class TKYToggetto;

/// The six length fields of a style, shown in the style's unit.
enum class StyleLength {
    LeftMargin,
    RightMargin,
    SpaceBefore,
    SpaceAfter,
    LineHeight,
    FirstIndent
};

class StyleWindowRules {
public:
    explicit StyleWindowRules(TKYTset& set);

    /// The names of every style, in number order.
    std::vector<std::string> Names() const;
    /// Starts editing style `number` (its fields are copied into the scratch record); false
    /// when there is no such style.
    bool Select(std::int32_t number);
    /// Starts a new style: the defaults of a new style, named "Nuovo stile " + a number below
    /// 10000.
    void StartNew();
    /// The style being edited: its number, or -1 for a new one.
    std::int32_t Selected() const { return selected_; }

    /// The fields being edited (a view the window reads and writes through).
    StyleRecord Fields() const { return StyleRecord(scratch_); }
    /// A length in the style's unit (line heights of 0 or less are automatic and read as 0).
    double Length(StyleLength field) const;
    /// Sets a length from a value in the style's unit, rounded to whole pixels; a line height
    /// of 0 or less is automatic.
    void SetLength(StyleLength field, double value);

    /// Copies the fields being edited into `style` (a preview's own style object).
    void CopyInto(TKYToggetto& style) const;

    /// Ok: a new style is created with a unique name; a chosen one gets the undo step first
    /// and is changed in place, a changed name (ignoring case) made unique. The hypertext is
    /// marked modified. Returns the style's number; -1 when the name is empty.
    std::int32_t Apply();

private:
    using Scratch = std::array<std::uint8_t, kObjectRecordSize>;
    double PixelsPerInch() const;
    TKYTset& set_;
    mutable Scratch scratch_{};  // read and written through the views Fields gives
    std::int32_t selected_ = -1;
};

}  // namespace orvo
