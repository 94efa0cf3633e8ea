// "Opzioni dell'ipertesto": the hypertext's properties kept in its header, over the rules of
// HypertextOptions.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "app/HypertextOptions.h"
#include "ui/album/AlbumSupport.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace orvo {

class TKYTset;

class HypertextOptionsWindow final : public album::DressedDialog {
public:
    HypertextOptionsWindow(TKYTset& set, std::vector<SpellerLanguageItem> languages,
                           HypertextOptionsHost host, album::WindowDressing dressing,
                           QWidget* parent = nullptr);
    ~HypertextOptionsWindow() override;

    HypertextOptions& Rules() { return rules_; }
    /// "&Ok": the fields into the header.
    void Confirm();
    /// How a page is chosen ("scegli..."): the page, or nullopt when cancelled. Without it the
    /// pages are offered in a list of their titles.
    std::function<std::optional<std::int32_t>(std::optional<std::int32_t> current)> choosePage;
    /// How a colour is chosen: tests answer it instead of the colour dialog.
    std::function<std::optional<std::int32_t>(std::int32_t current)> chooseColour;

private:
    void ShowFields();
    void PickPage(std::optional<std::int32_t>& page, QLabel* label);
    void PickColour(std::int32_t& colour);
    void ShowColours();

    TKYTset& set_;
    HypertextOptions rules_;
    HypertextOptionsHost host_;
    QTabWidget* tabs_ = nullptr;
    QLineEdit* title_ = nullptr;
    QLineEdit* authors_ = nullptr;
    QLineEdit* company_ = nullptr;
    QLineEdit* copyright_ = nullptr;
    QPlainTextEdit* information_ = nullptr;
    QLineEdit* version_ = nullptr;
    QLineEdit* prefix_ = nullptr;
    QCheckBox* readOnly_ = nullptr;
    QLineEdit* password_ = nullptr;
    QComboBox* language_ = nullptr;
    QLabel* cover_ = nullptr;
    QLabel* contents_ = nullptr;
    QLabel* header_ = nullptr;
    QLabel* footer_ = nullptr;
    QPushButton* background_ = nullptr;
    QCheckBox* usePicture_ = nullptr;
    QLabel* picture_ = nullptr;
    QPushButton* text_ = nullptr;
    QPushButton* link_ = nullptr;
    QPushButton* visited_ = nullptr;
};

}  // namespace orvo
