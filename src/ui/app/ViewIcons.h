// The icons the page tree and the page list show: the desktop's icon for files of an
// extension, found once per extension and kept for the run, or one of Qt's own images.
#pragma once

#include <QIcon>

namespace orvo {

struct ViewIcon;

/// The icon for `icon`: ".kyt" is the program's own; another extension the icon theme's for
/// its file type, else a plain file (a chapter's ".hlp" a folder); a system image a folder
/// (image 3) or a file; none an empty icon.
QIcon IconFor(const ViewIcon& icon);

}  // namespace orvo
