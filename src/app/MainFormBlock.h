// The main window's localisation block: the component names its menus, toolbar, panels and
// status bar carry, and the Italian texts the program is built with.
#pragma once

#include <string>
#include <string_view>

#include "app/MenuCatalogue.h"

namespace orvo {

/// The name of the menu item component that runs `command` ("MIFileOpen").
std::string_view CommandComponentName(CommandId command);
/// The name of the menu component of a menu or submenu caption of the command table
/// ("&File" is "MFile"); "" for a caption the table does not use.
std::string_view MenuComponentName(std::string_view caption);

/// The main window's block in the built-in language: every menu, submenu and command caption
/// of the command table, the toolbar's buttons and hints, the tabs of the page panel, the
/// columns of the page list, the status bar's mode texts and the file dialogs' titles.
const std::string& MainFormBlock();

}  // namespace orvo
