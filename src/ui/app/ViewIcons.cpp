#include "ui/app/ViewIcons.h"

#include <QApplication>
#include <QMimeDatabase>
#include <QStyle>

#include <map>
#include <string>

#include "model/TKYTorderedTree.h"
#include "ui/app/MainWindow.h"

namespace orvo {
namespace {

QIcon Standard(QStyle::StandardPixmap pixmap) {
    return QApplication::style()->standardIcon(pixmap);
}

QIcon IconOfExtension(const std::string& extension) {
    if (extension == ".kyt") return ProgramIcon();
    const QMimeType type = QMimeDatabase().mimeTypeForFile(
        QStringLiteral("x") + QString::fromStdString(extension), QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull()) icon = QIcon::fromTheme(type.genericIconName());
    if (icon.isNull())
        icon = Standard(extension == ".hlp" ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
    return icon;
}

}  // namespace

QIcon IconFor(const ViewIcon& icon) {
    if (icon.none) return {};
    if (icon.extension.empty())
        return Standard(icon.systemImage == 3 ? QStyle::SP_DirClosedIcon : QStyle::SP_FileIcon);
    static std::map<std::string, QIcon> known;  // one look-up per extension and run
    auto found = known.find(icon.extension);
    if (found == known.end())
        found = known.emplace(icon.extension, IconOfExtension(icon.extension)).first;
    return found->second;
}

}  // namespace orvo
