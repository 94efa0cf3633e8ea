// The picture window ("Inserisci immagine:"): a picture of the open hypertext's album, a picture
// file from disk (a bitmap converted to GIF or JPEG at a chosen quality, shown before and after
// with both sizes), or a picture of another hypertext file; it hands back picture objects, new
// ones not registered, for the caller to use.
#pragma once

#include <QDialog>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/PictureWindowRules.h"
#include "ui/pictures/ConversionPanel.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace orvo {

class IMessages;
class PicturePreview;
class TKYTset;

class PictureWindow final : public QDialog {
public:
    /// `localize` applies the window's block (none: the widgets keep no texts).
    PictureWindow(TKYTset& set, IMessages& messages, std::function<void(QWidget&)> localize,
                  QWidget* parent = nullptr);
    ~PictureWindow() override;

    /// The caller's settings, read by Prepare.
    void SetMode(PictureWindowMode mode) { mode_ = mode; }
    PictureWindowMode Mode() const { return mode_; }
    void SetPresetPicture(std::int32_t id) { presetPicture_ = id; }
    void SetPresetFile(const std::string& utf8Path) { presetFile_ = utf8Path; }
    /// The folders the two file lists start in.
    void SetDiskFolder(const std::filesystem::path& folder);
    void SetOtherFolder(const std::filesystem::path& folder);

    /// Shows the tabs of the mode and empties every choice; call before exec().
    void Prepare();
    /// The chosen picture (modes 0 to 3) and the chosen pictures (mode 4), once after Ok.
    ChosenPicture TakeResult() { return std::move(result_); }
    std::vector<ChosenPicture> TakeResults() { return std::move(results_); }

    // The controls, for the tests.
    QTabWidget* Tabs() const { return tabs_; }
    QListWidget* AlbumList() const { return albumList_; }
    QLineEdit* AlbumSearch() const { return albumSearch_; }
    QLabel* CountLabel() const { return count_; }
    QListWidget* DiskFiles() const { return diskFiles_; }
    QLineEdit* DiskSearch() const { return diskSearch_; }
    QGroupBox* ImportPanel() const { return conversion_.box; }
    QRadioButton* GifChoice() const { return conversion_.gif; }
    QRadioButton* JpegChoice() const { return conversion_.jpeg; }
    QSpinBox* Quality() const { return conversion_.quality; }
    QLabel* SourceSize() const { return conversion_.fromSize; }
    QLabel* ConvertedSize() const { return conversion_.toSize; }
    QCheckBox* DiskTransparent() const { return diskTransparent_; }
    QListWidget* OtherFiles() const { return otherFiles_; }
    QListWidget* OtherPictures() const { return otherPictures_; }
    QPushButton* OkButton() const { return ok_; }
    QCheckBox* Stretch() const { return stretch_; }
    PicturePreview* AlbumDisplay() const { return albumDisplay_; }
    PicturePreview* DiskPreview() const { return diskPreview_; }
    PicturePreview* ConvertedPreview() const { return convertedPreview_; }
    PicturePreview* OtherDisplay() const { return otherDisplay_; }
    /// The converted file of the import panel (empty when none).
    const std::string& ConvertedFile() const { return converted_; }

protected:
    void done(int result) override;

private:
    void BuildAlbumTab(QWidget* page);
    void BuildDiskTab(QWidget* page);
    void BuildOtherTab(QWidget* page);
    void TabChanged();
    void ReloadAlbum();
    void AlbumSelected();
    void AlbumSearchClicked();
    void AlbumTransparentToggled(bool on);
    void ListDisk();
    void DiskSelected();
    void DiskSearchClicked();
    void ListOther();
    void OtherFileSelected();
    void OtherSelected();
    void DropConverted();
    void Accept();
    std::vector<std::string> SelectedDiskFiles() const;

    TKYTset& set_;
    IMessages& messages_;
    std::unique_ptr<TKYTset> other_;  // the other hypertext's container
    PictureWindowMode mode_ = PictureWindowMode::Single;
    std::int32_t presetPicture_ = -1;
    std::string presetFile_;
    std::filesystem::path diskFolder_;
    std::filesystem::path otherFolder_;
    std::string converted_;  // Windows-1252
    bool busy_ = false;
    ChosenPicture result_;
    std::vector<ChosenPicture> results_;

    QTabWidget* tabs_ = nullptr;
    QWidget* albumPage_ = nullptr;
    QWidget* diskPage_ = nullptr;
    QWidget* otherPage_ = nullptr;
    QListWidget* albumList_ = nullptr;
    QLineEdit* albumSearch_ = nullptr;
    QLabel* count_ = nullptr;
    QCheckBox* albumTransparent_ = nullptr;
    PicturePreview* albumDisplay_ = nullptr;
    QLineEdit* diskFolderEdit_ = nullptr;
    QListWidget* diskFiles_ = nullptr;
    QLineEdit* diskSearch_ = nullptr;
    QCheckBox* diskTransparent_ = nullptr;
    PicturePreview* diskPreview_ = nullptr;
    ::orvo::ConversionPanel conversion_;  // "PImporta"
    PicturePreview* convertedPreview_ = nullptr;
    QLineEdit* otherFolderEdit_ = nullptr;
    QListWidget* otherFiles_ = nullptr;
    QLineEdit* otherSearch_ = nullptr;
    QWidget* otherPicturesPanel_ = nullptr;
    QListWidget* otherPictures_ = nullptr;
    QLineEdit* otherPictureSearch_ = nullptr;
    PicturePreview* otherDisplay_ = nullptr;
    QCheckBox* stretch_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace orvo
