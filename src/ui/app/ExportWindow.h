// "Esportazione", the export window, and "Opzioni", the HTML options window: widgets over
// ExportWindowRules and the HTML exporter's options.
#pragma once

#include <memory>
#include <string>

#include "app/ExportWindowRules.h"
#include "ui/app/DialogSupport.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace orvo {

class HtmlOptionsWindow final : public PlacedDialog {
public:
    HtmlOptionsWindow(TKYTset& set, TKYTtoHtml& html, ISettings& settings,
                      QWidget* parent = nullptr);
    /// "&Ok": the exporter and the "htmlexp" settings take the shown values.
    void Confirm();

private:
    TKYTtoHtml& html_;
    QCheckBox* separate_ = nullptr;
    QCheckBox* originalNames_ = nullptr;
    QComboBox* extension_ = nullptr;
    QCheckBox* alt_ = nullptr;
};

class ExportWindow final : public PlacedDialog {
public:
    ExportWindow(ExportWindowParts parts, QWidget* parent = nullptr);
    ~ExportWindow() override;

    ExportWindowRules& Rules() { return rules_; }
    /// Opens on the proposed file and shows the chosen format.
    void Open(const std::string& proposedPath);
    /// Chooses the format at that position of the list.
    void ChooseFormatAt(int index);
    /// "&Esporta"; true when the export succeeded.
    bool ExportNow();
    /// "Html...": the options window; `confirm` answers it without showing it (tests).
    void HtmlOptions(bool showModal = true);
    QTreeWidget* List() const { return list_; }
    QString StatusText() const;

private:
    void ShowRules();
    void ShowList();
    void TakeFields();

    ExportWindowParts parts_;
    ExportWindowRules rules_;
    bool filling_ = false;
    QComboBox* formats_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QPushButton* all_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QLabel* mainLabel_ = nullptr;
    QLineEdit* mainFile_ = nullptr;
    QWidget* pageSize_ = nullptr;
    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
    QSpinBox* top_ = nullptr;
    QSpinBox* bottom_ = nullptr;
    QSpinBox* left_ = nullptr;
    QSpinBox* right_ = nullptr;
    QPushButton* html_ = nullptr;
    QWidget* compiler_ = nullptr;
    QCheckBox* runCompiler_ = nullptr;
    QCheckBox* titleKeys_ = nullptr;
    QCheckBox* registered_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace orvo
