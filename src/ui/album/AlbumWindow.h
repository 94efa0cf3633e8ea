// "Album immagini e files": the pictures, files, prototypes, pages, internet links and image
// objects of the hypertext, one kind a tab; searching, renaming in place, adding, replacing,
// editing with an outside program, previewing and deleting (through the deletion window).
#pragma once

#include <QPointer>
#include <QProcess>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/AlbumRules.h"
#include "app/ObjectDeletion.h"
#include "ui/album/AlbumSupport.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;

namespace orvo {

class IMessages;
class PageViewWidget;
class TKYTset;

/// What the album needs of the main window.
struct AlbumHost {
    TKYTset& set;
    IMessages& messages;
    /// The editor: the page it shows (-1 none), showing a page (-1: none), and its frames
    /// laid out again after a picture changed.
    DeletionEditor editor;
    std::function<void()> reformat;
    /// The program that edits a file: its command line (UTF-8) with the file in its place, or
    /// empty when none is known.
    std::function<std::vector<std::string>(const std::string& file)> editorCommand;
    /// A file chosen in an open dialog with the album's filter (tests answer it).
    std::function<std::optional<std::string>(std::string_view filter)> chooseFile;
    /// The deletion window, made for the objects and shown modally (tests answer it).
    std::function<bool(const std::vector<std::int32_t>& codes)> deleteObjects;
    album::WindowDressing dressing;
    /// A new page made through the link window (the editor then shows it); false when the
    /// author cancelled. None: a new empty page is added to the list.
    std::function<bool()> newPage;
};

class AlbumWindow final : public album::DressedDialog {
public:
    explicit AlbumWindow(AlbumHost host, QWidget* parent = nullptr);
    ~AlbumWindow() override;

    void SetTab(int tab);
    int Tab() const;
    /// Selects the item of the object (and focuses it).
    void SelectObject(std::int32_t code);
    /// The codes of the selected items in list order (0 left out).
    std::vector<std::int32_t> SelectedCodes() const;
    QListWidget* List() const { return list_; }
    QLabel* Preview() const { return preview_; }
    /// The page preview of "Pagine" ("anteprima").
    PageViewWidget* PagePreview() const { return pageView_; }
    QCheckBox* PagePreviewBox() const { return pagePreview_; }
    QLabel* Status() const { return status_; }

    void Search(const QString& text);
    void Edit();
    void Replace();
    void Add();
    void Delete();
    /// "A&pplica": applies an outside edit at once.
    void ApplyEdit();
    bool Editing() const { return edit_.has_value(); }
    /// The outside program, while it runs.
    QProcess* Program() const { return program_; }

protected:
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Reload();
    void RefreshPreview();
    void SetEditing(bool editing);
    void EndEdit(bool apply);
    TKYToggetto* SelectedObject() const;

    AlbumHost host_;
    bool filling_ = false;
    std::optional<OutsideEdit> edit_;
    QPointer<QProcess> program_;
    QTabWidget* tabs_ = nullptr;
    QListWidget* list_ = nullptr;
    QLineEdit* search_ = nullptr;
    QPushButton* edit_button_ = nullptr;
    QPushButton* replace_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* apply_ = nullptr;
    QCheckBox* pagePreview_ = nullptr;
    QLabel* preview_ = nullptr;
    QWidget* pictureArea_ = nullptr;
    PageViewWidget* pageView_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace orvo
