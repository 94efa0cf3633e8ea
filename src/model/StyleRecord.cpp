// The paragraph style record: defaults and the two built-in styles.
#include "model/StyleRecord.h"

#include <algorithm>

namespace orvo {

void StyleRecord::SetDefaults() {
    bytes_.Fill(0);
    SetFontName(kDefaultStyleFont);
    SetSize(12);
    SetColour(0);
    SetStyleBits(0);
    SetLinkSize(-1);
    SetLinkColour(0xFF0000);
    SetLinkStyleBits(4);
    SetLeftMargin(10);
    SetRightMargin(10);
    SetSpaceBefore(0);
    SetSpaceAfter(0);
    SetLineHeight(kAutomaticLineHeight);
    SetFirstIndent(0);
    SetUnit(1);
}

bool StyleRecord::SameFormat(const StyleRecord& other) const {
    const auto a = bytes_.Bytes();
    const auto b = other.bytes_.Bytes();
    if (a.size() < kStyleCompareEnd || b.size() < kStyleCompareEnd) return false;
    return std::equal(a.begin() + kStyleCompareFirst, a.begin() + kStyleCompareEnd,
                      b.begin() + kStyleCompareFirst);
}

void SetBuiltInStyle(std::span<std::uint8_t> bytes, int number) {
    StyleRecord style(bytes);
    style.SetDefaults();
    style.SetOrigin(1);
    if (number == 0) {
        style.SetName(kBuiltInStyleName);
    } else {
        style.SetName(kBuiltInTableStyleName);
        style.SetLeftMargin(0);
        style.SetRightMargin(0);
    }
}

}  // namespace orvo
