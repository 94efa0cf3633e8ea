// The localisation blocks of the link window ("FCollega") and of the special-link window
// ("FLinkSpec"), listed by LocalizationBlocks(); each key names a component of its window.
#pragma once

#include <string_view>

namespace orvo {

std::string_view LinkWindowBlock();         // "FCollega"
std::string_view SpecialLinkWindowBlock();  // "FLinkSpec"

}  // namespace orvo
