// The paragraph style window: the hypertext's styles, the fields of the chosen one (lengths in
// its own unit), a preview of sample text in it, and Ok, which creates or changes the style.
// "&Importa..." brings styles in from another hypertext through the import chooser.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/StyleImportRules.h"
#include "app/StyleWindowRules.h"
#include "ui/app/DialogSupport.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace orvo {

class PageViewWidget;
class TKYTset;
namespace detail {
struct StyleViewHypertext;
}

/// The chooser of the styles to import: the other hypertext's styles, each ticked or not as
/// its rules say; Ok (with at least one ticked) accepts, and the caller imports them.
class StyleImportWindow final : public PlacedDialog {
public:
    StyleImportWindow(StyleImportRules& rules, ISettings& settings, QWidget* parent = nullptr);
    StyleImportRules& Rules() { return rules_; }

private:
    void ShowChoices();

    StyleImportRules& rules_;
    QListWidget* styles_ = nullptr;
    QPushButton* ok_ = nullptr;
    bool showing_ = false;
};

class StyleWindow final : public PlacedDialog {
public:
    StyleWindow(TKYTset& set, ISettings& settings, QWidget* parent = nullptr);
    ~StyleWindow() override;

    StyleWindowRules& Rules() { return rules_; }
    /// Shows style `number` (its fields and the preview).
    void ChooseStyle(int number);
    /// "&Nuovo": a new style with the defaults.
    void NewStyle();
    /// Ok: the style is created or changed; `onApplied` is told its number.
    void Confirm();
    /// "&Importa...": a hypertext chosen, its styles offered in the import chooser; those
    /// ticked become new styles here, and the first of them is shown. Returns their numbers.
    std::vector<std::int32_t> ImportStyles();
    /// The preview of the sample text.
    PageViewWidget* Preview() const { return preview_; }
    /// The colour a colour button would choose: tests answer it instead of the colour dialog.
    std::function<std::optional<std::int32_t>(std::int32_t current)> chooseColour;
    std::function<void(int number)> onApplied;
    /// The hypertext to import from: tests answer it instead of the file dialog.
    std::function<std::string()> chooseFile;
    /// Given the import chooser instead of running it modally (tests drive it).
    std::function<void(StyleImportWindow&)> onImportWindow;

private:
    void ShowFields();
    void ShowNames();
    void TakeFields();
    void ShowPreview();
    void PickColour(bool link);

    TKYTset& set_;
    StyleWindowRules rules_;
    std::unique_ptr<detail::StyleViewHypertext> sample_;
    bool showing_ = false;
    QListWidget* styles_ = nullptr;
    QLineEdit* name_ = nullptr;
    QComboBox* font_ = nullptr;
    QSpinBox* size_ = nullptr;
    QPushButton* colour_ = nullptr;
    QCheckBox* bits_[4] = {};
    QComboBox* position_ = nullptr;
    QComboBox* alignment_ = nullptr;
    QComboBox* list_ = nullptr;
    QComboBox* unit_ = nullptr;
    QDoubleSpinBox* lengths_[6] = {};
    QSpinBox* linkSize_ = nullptr;
    QPushButton* linkColour_ = nullptr;
    QCheckBox* linkBits_[4] = {};
    PageViewWidget* preview_ = nullptr;
};

}  // namespace orvo
