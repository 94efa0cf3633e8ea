// The print window "Stampa": the pages to print (with a preview of the pages to pick from),
// the default page order, the options, and printing with a progress bar. Its rules are
// TFprintRules; without any printer it prints into a PDF file.
#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>
#include <vector>

#include "model/TKYTorderedTree.h"
#include "textbox/TFprintRules.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace orvo {

class ISettings;
class PageViewWidget;
class TKYTset;
class TPageSetupDialog;

/// The text shown when the system has no printer.
inline constexpr std::string_view kPrintToPdfOnly =
    "Nessuna stampante raggiungibile: le pagine si stampano in un file PDF.";

class TFprint final : public QDialog {
public:
    /// `currentPage` is the page being edited (-1 none); the settings keep "clicprintprev".
    TFprint(TKYTset& set, ISettings& settings, TPageSetupDialog& setup, std::int32_t currentPage,
            QWidget* parent = nullptr);
    ~TFprint() override;

    TFprintRules& Rules() { return rules_; }
    /// The list as shown: the names of the items, in order.
    std::vector<std::string> ListedNames() const;
    /// Prints into this PDF file instead of a printer.
    void SetPdfFile(const QString& path);
    PrintOptions Options() const;

    // The buttons' actions.
    void AllInDefaultOrder();
    void AddCurrent();
    void AddPreviewed();
    void MoveSelectedUp();
    void MoveSelectedDown();
    void RemoveSelected();
    /// "&Stampa": the pages printed, or -1 when the printer could not be started.
    int PrintList();
    /// Shows a page in the preview (and, with the navigation check box, adds it to the list).
    void Preview(std::int32_t page, bool fromNavigation);
    /// A click at (x, y) of the preview's page: a link there to a page of the hypertext is
    /// followed as navigation. False when none lies there.
    bool ClickPreviewAt(int x, int y);

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Refill();
    void FillOrder();
    int SelectedRow() const;

    TKYTset& set_;
    ISettings& settings_;
    TPageSetupDialog& setup_;
    std::int32_t currentPage_;
    TFprintRules rules_;
    TKYTorderedTree order_;
    std::vector<std::int32_t> history_;

    QTreeWidget* list_ = nullptr;
    QTreeWidget* orderTree_ = nullptr;
    PageViewWidget* preview_ = nullptr;
    QCheckBox* addNavigated_ = nullptr;
    QCheckBox* previewOnClick_ = nullptr;
    QCheckBox* background_ = nullptr;
    QCheckBox* tableBackground_ = nullptr;
    QSpinBox* scale_ = nullptr;
    QComboBox* printer_ = nullptr;
    QLineEdit* pdfFile_ = nullptr;
    QLabel* noPrinter_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* print_ = nullptr;
};

}  // namespace orvo
