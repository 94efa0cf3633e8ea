// The special-link window ("Collegamenti speciali:"): the kind of link on its tabs, the target
// frame, the window panel of separate and pop-up windows, the names, the import path and the
// link's own HTML code. Its choice fills the record through the special-link rules.
#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "app/SpecialLinkRules.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace orvo {

class TKYTset;

class SpecialLinkWindow final : public QDialog {
public:
    explicit SpecialLinkWindow(TKYTset& set, QWidget* parent = nullptr);

    /// Fills the window for a new link (`link` none) or for an existing one; `mode` 3 starts a
    /// new link on the separate-window tab. `anchors`: the page has anchors (else the anchor
    /// tab warns).
    void Open(int mode, const TKYToggetto* link, bool anchors, std::string_view targetLabel = {});
    SpecialLinkChoice Choice() const;
    void SetChoice(const SpecialLinkChoice& choice);

    QTabWidget* Tabs() const { return tabs_; }
    QLabel* NoAnchors() const { return noAnchors_; }
    QComboBox* CloseNames() const { return closeName_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* DefineOnScreenButton() const { return define_; }

    /// "Definisci a video...": the page shown for the author to click an anchor on, starting
    /// from the anchor given; the anchor chosen, none when the author cancelled.
    std::function<std::optional<std::int32_t>(std::int32_t anchor)> defineOnScreen;

private:
    TKYTset& set_;
    QTabWidget* tabs_ = nullptr;
    QLabel* target_ = nullptr;
    std::array<QRadioButton*, 2> frames_{};
    QSpinBox* anchor_ = nullptr;
    QPushButton* define_ = nullptr;
    QLabel* noAnchors_ = nullptr;
    std::array<QRadioButton*, 3> normal_{};
    std::array<QRadioButton*, 2> window_{};
    QLineEdit* windowName_ = nullptr;
    std::array<QSpinBox*, 6> geometry_{};  // top, left, width, height, screenX, screenY
    std::array<QCheckBox*, 8> options_{};  // dependent, fullscreen ... toolbar
    QLineEdit* frameName_ = nullptr;
    QComboBox* closeName_ = nullptr;
    QCheckBox* closeMain_ = nullptr;
    std::array<QRadioButton*, 3> misc_{};
    QLineEdit* importPath_ = nullptr;
    QPlainTextEdit* html_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace orvo
