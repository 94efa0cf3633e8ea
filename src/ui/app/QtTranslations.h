// Qt's own texts (file dialog labels, standard buttons, context menus) in the program's
// language, Italian, from the translations installed with Qt.
#pragma once

#include <QCoreApplication>

namespace orvo {

/// Installs Qt's Italian translations into `application`; false when they are not installed
/// (Qt then shows its own English texts).
bool InstallQtTranslations(QCoreApplication& application);

}  // namespace orvo
