// The secondary windows' shared helpers.
#include "ui/app/DialogSupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include <string>

#include "app/u3LOCforms.h"
#include "app/u3Utils.h"
#include "platform/ISettings.h"
#include "ui/app/QtLocalizer.h"

namespace orvo {

namespace {
std::string FormsKey(const QWidget& window) {
    return std::string(keys::kForms) + "\\" + window.objectName().toStdString();
}
}  // namespace

void LocalizeFromBlock(QWidget& window) {
    const std::string_view block = LocalizationBlock(window.objectName().toStdString());
    if (!block.empty()) (void)LocalizeWindow(window, block);
}

void RestoreWindowPlacement(QWidget& window, const ISettings& settings) {
    if (auto geometry = settings.Read(FormsKey(window), "geometry")) {
        window.restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(*geometry)));
    }
}

void SaveWindowPlacement(const QWidget& window, ISettings& settings) {
    settings.Write(FormsKey(window), "geometry", window.saveGeometry().toBase64().toStdString());
}

QPushButton* NamedButton(const char* name, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QCheckBox* NamedCheck(const char* name, QWidget* parent) {
    auto* check = new QCheckBox(parent);
    check->setObjectName(QString::fromLatin1(name));
    return check;
}

QLabel* NamedLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

PlacedDialog::PlacedDialog(const char* name, ISettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setObjectName(QString::fromLatin1(name));
}

void PlacedDialog::done(int result) {
    SaveWindowPlacement(*this, settings_);
    QDialog::done(result);
}

}  // namespace orvo
