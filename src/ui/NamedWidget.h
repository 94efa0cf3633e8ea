// Widgets named as a localisation block's keys name them, so that the block gives them texts.
#pragma once

#include <QString>
#include <QWidget>

namespace orvo {

/// A widget of type T named `name` (the key its block gives its texts by), a child of `parent`.
template <class T>
T* Named(const char* name, QWidget* parent = nullptr) {
    auto* widget = new T(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace orvo
