// What the secondary windows share: their texts from their localisation block, their
// position kept in the settings under "forms\\" + the window's name, and small widget makers.
#pragma once

#include <QDialog>
#include <QString>

#include <string_view>

#include "ui/NamedWidget.h"

class QPushButton;
class QCheckBox;
class QLabel;

namespace orvo {

class ISettings;

/// Applies the block compiled in for `window` (its object name) to it and its children.
void LocalizeFromBlock(QWidget& window);

/// Restores the window's geometry from the settings (nothing when none is stored).
void RestoreWindowPlacement(QWidget& window, const ISettings& settings);
/// Stores the window's geometry in the settings.
void SaveWindowPlacement(const QWidget& window, ISettings& settings);

/// Widgets named as the block's keys name them; their texts come from the block.
QPushButton* NamedButton(const char* name, QWidget* parent = nullptr);
QCheckBox* NamedCheck(const char* name, QWidget* parent = nullptr);
QLabel* NamedLabel(const char* name, QWidget* parent = nullptr);

/// A dialog that keeps its position in the settings: restored when made, stored when closed.
class PlacedDialog : public QDialog {
public:
    PlacedDialog(const char* name, ISettings& settings, QWidget* parent);

protected:
    void done(int result) override;
    ISettings& settings_;
};

}  // namespace orvo
