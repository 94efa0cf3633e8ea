// The localisation blocks of the page properties window ("FpropTesto") and of the custom-code
// panel's form ("Fwrapper"), Italian.
#pragma once

#include <string_view>

namespace orvo {

std::string_view PagePropertiesBlock();  // "Proprietà pagina"
std::string_view CodePanelBlock();       // the custom-code panel

}  // namespace orvo
