// The clipboard picture window ("Inserisci immagine:", tab "Da cartella appunti"): the bitmap
// on the clipboard converted to GIF or JPEG at a chosen quality (both sizes shown), or, when the
// clipboard offers a metafile too, that metafile kept as EMF or WMF; Ok makes the picture
// object (not registered) that the caller places.
#pragma once

#include <QDialog>
#include <QImage>

#include <functional>
#include <string>

#include "app/PictureWindowRules.h"
#include "ui/pictures/ConversionPanel.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace orvo {

class IMessages;
class PicturePreview;
class TKYTset;

class ClipboardPictureWindow final : public QDialog {
public:
    ClipboardPictureWindow(TKYTset& set, IMessages& messages,
                           std::function<void(QWidget&)> localize, QWidget* parent = nullptr);
    ~ClipboardPictureWindow() override;

    /// Takes the clipboard's bitmap (and metafiles), shows the panels it needs and prepares the
    /// picture; call before exec(). False when the clipboard holds no picture.
    bool Prepare();
    /// The picture made by Ok, once.
    ChosenPicture TakeResult() { return std::move(result_); }

    // The controls, for the tests.
    QTabWidget* Tabs() const { return tabs_; }
    QGroupBox* FormatPanel() const { return formatPanel_; }
    QGroupBox* ConversionPanel() const { return conversion_.box; }
    QRadioButton* EmfChoice() const { return emf_; }
    QRadioButton* WmfChoice() const { return wmf_; }
    QRadioButton* BitmapChoice() const { return bitmap_; }
    QRadioButton* GifChoice() const { return conversion_.gif; }
    QRadioButton* JpegChoice() const { return conversion_.jpeg; }
    QSpinBox* Quality() const { return conversion_.quality; }
    QCheckBox* Transparent() const { return transparent_; }
    QLabel* SourceSize() const { return conversion_.fromSize; }
    QLabel* ConvertedSize() const { return conversion_.toSize; }
    QLabel* MetafileSize() const { return bytes_; }
    PicturePreview* Preview() const { return preview_; }
    QPushButton* OkButton() const { return ok_; }
    /// The temporary file of the picture prepared (empty when none).
    const std::string& TemporaryFile() const { return temporary_; }

protected:
    void done(int result) override;

private:
    void PreparePicture();
    void DropTemporary();
    void Accept();

    TKYTset& set_;
    IMessages& messages_;
    QImage image_;
    std::string emfBytes_;
    std::string wmfBytes_;
    std::string temporary_;  // Windows-1252
    std::int64_t metafileSize_ = 0;
    bool metafileOffered_ = false;
    bool busy_ = false;
    ChosenPicture result_;

    QTabWidget* tabs_ = nullptr;
    QGroupBox* formatPanel_ = nullptr;
    QRadioButton* emf_ = nullptr;
    QRadioButton* wmf_ = nullptr;
    QRadioButton* bitmap_ = nullptr;
    QLabel* bytes_ = nullptr;
    ::orvo::ConversionPanel conversion_;  // "PImporta"
    QCheckBox* transparent_ = nullptr;
    PicturePreview* preview_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace orvo
