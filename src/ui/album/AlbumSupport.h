// What the album's windows get from the desktop around them: their texts from their
// localisation block and their position kept in the settings (the main window's services),
// and small widget makers naming each widget by its key in the block.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include <functional>

namespace orvo::album {

struct WindowDressing {
    /// Applies the window's block to it and its children.
    std::function<void(QWidget&)> localize;
    /// Restores the window's position (when it is made) and stores it (when it closes).
    std::function<void(QWidget&)> restorePlacement;
    std::function<void(QWidget&)> storePlacement;
};

template <class T>
T* Named(const char* name, QWidget* parent) {
    auto* widget = new T(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

/// A modal window named `name` (its block's name), dressed by the desktop.
class DressedDialog : public QDialog {
public:
    DressedDialog(const char* name, WindowDressing dressing, QWidget* parent)
        : QDialog(parent), dressing_(std::move(dressing)) {
        setObjectName(QString::fromLatin1(name));
    }

protected:
    /// Called once the widgets are made.
    void Dress() {
        if (dressing_.localize) dressing_.localize(*this);
        if (dressing_.restorePlacement) dressing_.restorePlacement(*this);
    }
    void done(int result) override {
        if (dressing_.storePlacement) dressing_.storePlacement(*this);
        QDialog::done(result);
    }
    WindowDressing dressing_;
};

}  // namespace orvo::album
