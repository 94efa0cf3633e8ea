// Localisation of Qt windows: a window and the named objects below it seen as localisable
// components, each block property mapped onto the widget's own setter.
#pragma once

#include <QWidget>

#include <memory>
#include <string_view>
#include <vector>

#include "app/uQzLangs.h"
#include "base/Result.h"

namespace orvo {

/// A Qt window as the localiser sees it. Its components are the objects below it that have an
/// object name, in the order of their children: the block's component names are object names
/// (case ignored). Property names map to Qt as follows:
///   caption       window title, button and label text, group box title, action and menu
///                 text, the tab of a tab page
///   hint          tool tip
///   text          line edit text, editable combo box text
///   items         combo box and list items; the radio buttons of a group box
///   lines         plain text edit lines
///   tabs          tab widget tab texts
///   columns       tree widget header columns (caption, width, alignment)
///   filter, title file dialog name filters ("desc|*.a;*.b|..."), window title; on the texts
///                 of a dialog made when it is needed (NewDialogTexts), the properties
///                 "filter" and "title"
/// The objects exist as long as the window; the view takes them when made.
class QtLocalizableWindow final : public ILocalizableWindow {
public:
    explicit QtLocalizableWindow(QWidget& window);
    ~QtLocalizableWindow() override;

    std::string Name() const override;
    ComponentKind Kind() const override { return ComponentKind::Window; }
    std::vector<PropertyInfo> Properties() const override;
    std::string GetValue(std::string_view property) const override;
    bool SetValue(std::string_view property, std::string_view value) override;
    std::vector<ILocalizableComponent*> Components() override;
    ILocalizableComponent* FindComponent(std::string_view name) override;

    class Component;

private:
    std::unique_ptr<Component> self_;
    std::vector<std::unique_ptr<Component>> components_;
};

/// Applies `block` to `window` and the objects below it. A malformed block is reported and
/// changes nothing.
Status LocalizeWindow(QWidget& window, std::string_view block, IWindowDirectory* windows = nullptr);

/// The texts of a dialog that is made only when it is needed (a file dialog), as a component
/// of `parent`'s window named `name`: the block sets its Qt properties "title" and "filter".
inline constexpr char kDialogTextsProperty[] = "orvoDialogTexts";
QObject* NewDialogTexts(const QString& name, QObject* parent);

}  // namespace orvo
