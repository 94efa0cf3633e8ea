// The import window "Importazione" over ImportWindowRules: the format, the folder browser and
// the chosen files, the pages reachable from a root page (HTML), the options of the RTF import
// and the background of new pages; "&Importa" imports and closes the window. Files dropped
// from the desktop join the list.
#pragma once

#include <QDialog>

#include <memory>
#include <string>

#include "app/ImportWindowRules.h"

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTreeView;
class QTreeWidget;

namespace orvo {

class ImportWindow final : public QDialog {
public:
    ImportWindow(ImportWindowParts parts, QWidget* parent = nullptr);
    ~ImportWindow() override;

    /// The window opened with a file: the file chosen and its format shown.
    void OpenOn(const std::string& file);
    /// The window opened on the pages reachable from `root` (HTML, the linked-pages tab, its
    /// list determined).
    void OpenOnLinks(const std::string& root);

    ImportWindowRules& Rules() { return *rules_; }
    /// Done once "&Importa" made pages.
    Outcome Result() const { return result_; }

    /// "&Importa" as the button does it.
    void PressImport();
    /// "Determina lista" as the button does it.
    void PressDetermine();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void ShowFormat();
    void ShowFiles();
    void ShowLinked();
    void ShowBackground();
    void WriteBack();
    void AddSelected();
    std::string BrowserSelection() const;

    std::unique_ptr<ImportWindowRules> rules_;
    Outcome result_ = Outcome::Cancelled;
    QComboBox* format_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTabWidget* pathTabs_ = nullptr;
    QFileSystemModel* model_ = nullptr;
    QTreeView* browser_ = nullptr;
    QTreeWidget* files_ = nullptr;
    QLineEdit* root_ = nullptr;
    QSpinBox* levels_ = nullptr;
    QListWidget* linked_ = nullptr;
    QLabel* linkedCount_ = nullptr;
    QSpinBox* paragraphs_ = nullptr;
    QSpinBox* titleLevel_ = nullptr;
    QCheckBox* summary_ = nullptr;
    QCheckBox* common_ = nullptr;
    QCheckBox* gif_ = nullptr;
    QPushButton* colour_ = nullptr;
    QCheckBox* usePicture_ = nullptr;
    QLabel* picture_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace orvo
