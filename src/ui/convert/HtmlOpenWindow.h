// The window "Apri" shown when a web page is opened, over HtmlOpenChooser: the choices under
// "Desideri:", the text about the hypertext the page came from, "Cerca..." for a hypertext
// that moved, and "&Ok", which asks first when the chosen way needs a hypertext not found.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "convert/HtmlOpenChooser.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace orvo {

class IMessages;

class HtmlOpenWindow final : public QDialog {
public:
    /// `document`: the hypertext the page's marker names ("" for none).
    HtmlOpenWindow(const std::string& document, IMessages& messages, QWidget* parent = nullptr);

    /// The chosen way (0 to 6) and the hypertext, changed by "Cerca...".
    int Choice() const;
    std::string Document() const { return chooser_.Document(); }

    /// "Cerca..." with the hypertext the file dialog gave.
    void Found(const std::string& document);
    /// "&Ok" as the button does it: the window closes unless the question keeps it open.
    void PressOk();

private:
    void ShowChooser();

    HtmlOpenChooser chooser_;
    IMessages& messages_;
    std::vector<QRadioButton*> choices_;
    QLabel* explanation_ = nullptr;
    QPushButton* search_ = nullptr;
};

}  // namespace orvo
