// "Nuovo ipertesto:", the tips window and the about window.
#pragma once

#include <string>
#include <vector>

#include "app/NewHypertextRules.h"
#include "ui/app/DialogSupport.h"

class QCheckBox;
class QLabel;
class QListWidget;

namespace orvo {

class NewHypertextWindow final : public PlacedDialog {
public:
    NewHypertextWindow(const std::vector<std::filesystem::path>& folders, const std::string& preset,
                       ISettings& settings, QWidget* parent = nullptr);
    const std::vector<NewHypertextChoice>& Choices() const { return choices_; }
    void Choose(int index);
    /// The document of the chosen model ("" for an empty hypertext).
    std::string Chosen() const;

private:
    std::vector<NewHypertextChoice> choices_;
    QListWidget* list_ = nullptr;
};

/// Shown at start while the program loads ("Caricamento in corso"), then as "Suggerimenti".
class TipsWindow final : public PlacedDialog {
public:
    TipsWindow(ISettings& settings, QWidget* parent = nullptr);
    void ShowNextTip();
    QString TipText() const;
    /// "&Chiudi": stores the check box as "TipOfTheDay" and closes.
    void CloseWithButton();

private:
    QLabel* tip_ = nullptr;
    QCheckBox* showNext_ = nullptr;
};

/// The program's name, version and icon; without its button it is the start splash.
class AboutWindow final : public PlacedDialog {
public:
    AboutWindow(ISettings& settings, bool splash, QWidget* parent = nullptr);
};

}  // namespace orvo
