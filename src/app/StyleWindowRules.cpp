// The paragraph style window's rules.
#include "app/StyleWindowRules.h"

#include <algorithm>

#include "base/Cp1252.h"
#include "model/StyleTable.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "textbox/TKYTstyleView.h"
#include "textbox/uKYTundo.h"

namespace orvo {
namespace {

const FieldSpec& LengthFieldOf(StyleLength field) {
    switch (field) {
        case StyleLength::LeftMargin:
            return kStyleLeftMargin;
        case StyleLength::RightMargin:
            return kStyleRightMargin;
        case StyleLength::SpaceBefore:
            return kStyleSpaceBefore;
        case StyleLength::SpaceAfter:
            return kStyleSpaceAfter;
        case StyleLength::LineHeight:
            return kStyleLineHeight;
        case StyleLength::FirstIndent:
            break;
    }
    return kStyleFirstIndent;
}

// The stored part of a style from its font name on: what the window edits besides the name.
void CopyFormat(std::span<const std::uint8_t> from, std::span<std::uint8_t> to) {
    std::copy(from.begin() + std::ptrdiff_t(kStyleFontName.offset),
              from.begin() + std::ptrdiff_t(kStyleRecordSize),
              to.begin() + std::ptrdiff_t(kStyleFontName.offset));
}

}  // namespace

StyleWindowRules::StyleWindowRules(TKYTset& set) : set_(set) {
    if (!Select(0)) StartNew();
}

double StyleWindowRules::PixelsPerInch() const {
    return double(set_.Env().PixelsPerInch());
}

std::vector<std::string> StyleWindowRules::Names() const {
    return StyleNames(set_);
}

bool StyleWindowRules::Select(std::int32_t number) {
    const TKYToggetto* style = StyleByNumber(set_, number);
    if (!style) return false;
    const auto record = style->Record();
    scratch_.fill(0);
    std::copy_n(record.begin(), std::min(record.size(), scratch_.size()), scratch_.begin());
    selected_ = number;
    return true;
}

void StyleWindowRules::StartNew() {
    scratch_.fill(0);
    StyleRecord fields(scratch_);
    fields.SetDefaults();
    fields.SetName(std::string(kNewStyleName) + std::to_string(set_.Env().Random(10000)));
    selected_ = -1;
}

double StyleWindowRules::Length(StyleLength field) const {
    const StyleRecord fields = Fields();
    const RecordView& view = fields.View();
    const std::int32_t pixels = view.I16(LengthFieldOf(field));
    if (field == StyleLength::LineHeight && pixels <= 0) return 0;
    return PixelsToUnit(pixels, view.U8(kStyleUnit), PixelsPerInch());
}

void StyleWindowRules::SetLength(StyleLength field, double value) {
    StyleRecord fields = Fields();
    RecordView& view = fields.View();
    std::int32_t pixels = UnitToPixels(value, view.U8(kStyleUnit), PixelsPerInch());
    if (field == StyleLength::LineHeight && pixels <= 0) pixels = kAutomaticLineHeight;
    view.SetI16(LengthFieldOf(field),
                std::int16_t(std::clamp<std::int32_t>(pixels, -32000, 32767)));
}

void StyleWindowRules::CopyInto(TKYToggetto& style) const {
    auto to = style.Record();
    std::copy(scratch_.begin() + std::ptrdiff_t(kStyleOrigin.offset),
              scratch_.begin() + std::ptrdiff_t(kStyleRecordSize),
              to.begin() + std::ptrdiff_t(kStyleOrigin.offset));
}

std::int32_t StyleWindowRules::Apply() {
    const std::string name = Fields().Name();
    if (name.empty()) return -1;
    TKYToggetto* style = StyleByNumber(set_, selected_);
    if (!style) {
        style = &CreateStyle(set_, name);
        const auto& styles = set_.KindList(TOggettiHel::stileParagrafo);
        for (std::size_t i = 0; i < styles.size(); ++i)
            if (styles[i].get() == style) selected_ = std::int32_t(i);
    } else {
        UndoListOf(set_).AddUndo(std::make_unique<TogBackup>(
            StyleEditLabel(StyleRecord(style->Record()).Name()), *style));
        RenameStyle(set_, *style, name);
    }
    CopyFormat(scratch_, style->Record());
    set_.SetModified(true);
    (void)Select(selected_);  // the name as stored
    return selected_;
}

}  // namespace orvo
