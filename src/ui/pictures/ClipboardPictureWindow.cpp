#include "ui/pictures/ClipboardPictureWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cstring>
#include <filesystem>

#include "base/Files.h"
#include "base/Paths.h"
#include "picture/Picture.h"
#include "platform/IMessages.h"
#include "ui/NamedWidget.h"
#include "ui/pictures/PicturePreview.h"

namespace orvo {

namespace {

// The clipboard's kinds of metafile.
const QString kEmfMime = QStringLiteral("image/x-emf");
const QString kWmfMime = QStringLiteral("image/x-wmf");

Bitmap ToBitmap(const QImage& image) {
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    Bitmap bitmap(rgba.width(), rgba.height());
    for (int y = 0; y < rgba.height(); ++y)
        std::memcpy(bitmap.At(0, y), rgba.constScanLine(y), std::size_t(rgba.width()) * 4);
    return bitmap;
}

std::string BytesOf(const QMimeData* mime, const QString& format) {
    if (!mime || !mime->hasFormat(format)) return {};
    const QByteArray data = mime->data(format);
    return std::string(data.constData(), std::size_t(data.size()));
}

}  // namespace

ClipboardPictureWindow::ClipboardPictureWindow(TKYTset& set, IMessages& messages,
                                               std::function<void(QWidget&)> localize,
                                               QWidget* parent)
    : QDialog(parent), set_(set), messages_(messages) {
    setObjectName(QStringLiteral("FimgFromClip"));
    auto* layout = new QVBoxLayout(this);
    tabs_ = Named<QTabWidget>("PageControl1", this);
    QWidget* page = Named<QWidget>("TSclip", tabs_);
    tabs_->addTab(page, QString());
    layout->addWidget(tabs_);
    auto* grid = new QGridLayout(page);

    formatPanel_ = Named<QGroupBox>("PFormato", page);
    auto* formats = new QGridLayout(formatPanel_);
    formats->addWidget(Named<QLabel>("Lformato", formatPanel_), 0, 0, 1, 3);
    emf_ = Named<QRadioButton>("RBemf", formatPanel_);
    wmf_ = Named<QRadioButton>("RBwmf", formatPanel_);
    bitmap_ = Named<QRadioButton>("RBbitmap", formatPanel_);
    formats->addWidget(emf_, 1, 0);
    formats->addWidget(wmf_, 1, 1);
    formats->addWidget(bitmap_, 1, 2);
    formats->addWidget(Named<QLabel>("Lattenzione", formatPanel_), 2, 0, 1, 3);
    formats->addWidget(Named<QLabel>("Lbytes", formatPanel_), 3, 0);
    bytes_ = Named<QLabel>("LbytesValore", formatPanel_);
    formats->addWidget(bytes_, 3, 1);
    grid->addWidget(formatPanel_, 0, 0);

    conversion_ = BuildConversionPanel(page);
    transparent_ = Named<QCheckBox>("CBtrasparente", conversion_.box);
    conversion_.grid->addWidget(transparent_, 1, 2);
    grid->addWidget(conversion_.box, 1, 0);

    preview_ = Named<PicturePreview>("ImmClip", page);
    grid->addWidget(preview_, 0, 1, 2, 1);
    grid->setColumnStretch(1, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    ok_ = Named<QPushButton>("BOk", this);
    ok_->setDefault(true);
    QPushButton* cancel = Named<QPushButton>("BAnnulla", this);
    bottom->addWidget(ok_);
    bottom->addWidget(cancel);
    layout->addLayout(bottom);
    connect(ok_, &QPushButton::clicked, this, [this] { Accept(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    for (QRadioButton* r : {emf_, wmf_, bitmap_, conversion_.gif, conversion_.jpeg})
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on) PreparePicture();
        });
    connect(conversion_.quality, &QSpinBox::editingFinished, this, [this] { PreparePicture(); });
    connect(transparent_, &QCheckBox::toggled, this, [this] { PreparePicture(); });

    if (localize) localize(*this);
    resize(560, 360);
}

ClipboardPictureWindow::~ClipboardPictureWindow() {
    DropTemporary();
}

bool ClipboardPictureWindow::Prepare() {
    busy_ = true;
    result_.Reset();
    DropTemporary();
    preview_->Clear();
    metafileSize_ = 0;
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* mime = clipboard->mimeData();
    image_ = clipboard->image();
    emfBytes_ = BytesOf(mime, kEmfMime);
    wmfBytes_ = BytesOf(mime, kWmfMime);
    const bool metafile = metafileOffered_ = !emfBytes_.empty() || !wmfBytes_.empty();
    emf_->setEnabled(!emfBytes_.empty());
    wmf_->setEnabled(!wmfBytes_.empty());
    bitmap_->setEnabled(!image_.isNull());
    for (QRadioButton* r : {emf_, wmf_}) r->setStyleSheet(QString());
    bytes_->clear();
    conversion_.fromSize->clear();
    conversion_.toSize->clear();
    formatPanel_->setVisible(metafile);
    conversion_.box->setVisible(!metafile);
    if (metafile) (wmfBytes_.empty() ? emf_ : wmf_)->setChecked(true);
    busy_ = false;
    if (image_.isNull() && !metafile) {
        ok_->setEnabled(false);
        return false;
    }
    PreparePicture();
    return true;
}

void ClipboardPictureWindow::DropTemporary() {
    if (temporary_.empty()) return;
    std::error_code ec;
    std::filesystem::remove(NativePath(temporary_), ec);
    temporary_.clear();
}

void ClipboardPictureWindow::PreparePicture() {
    if (busy_) return;
    DropTemporary();
    preview_->Clear();
    const bool metafileChosen = metafileOffered_ && !bitmap_->isChecked();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!metafileChosen) {
        const bool gif = conversion_.gif->isChecked();
        conversion_.quality->setEnabled(!gif);
        transparent_->setEnabled(gif);
        conversion_.box->show();
        Result<ConvertedPicture> converted = ConvertClipboardBitmap(
            set_, ToBitmap(image_), gif ? ConversionFormat::Gif : ConversionFormat::Jpeg,
            conversion_.quality->value(), transparent_->isChecked(), metafileSize_);
        if (converted) {
            temporary_ = converted->file;
            conversion_.fromSize->setText(QString::number(converted->sourceSize));
            conversion_.toSize->setText(QString::number(converted->convertedSize));
        }
    } else {
        conversion_.box->hide();
        const bool wmf = wmf_->isChecked();
        Result<ConvertedPicture> saved =
            SaveClipboardMetafile(set_, wmf ? wmfBytes_ : emfBytes_, !wmf);
        if (saved) {
            temporary_ = saved->file;
            metafileSize_ = saved->sourceSize;
            bytes_->setText(QString::number(metafileSize_));
            // A large metafile is shown in red beside its format.
            for (QRadioButton* r : {emf_, wmf_})
                r->setStyleSheet(r->isChecked() && metafileSize_ > kLargeMetafile
                                     ? QStringLiteral("color: #ff0000")
                                     : QString());
        }
    }
    QApplication::restoreOverrideCursor();
    if (!temporary_.empty()) {
        Result<std::string> bytes = ReadFileBytes(NativePath(temporary_));
        if (bytes) preview_->SetPictureBytes(*bytes);
    }
    ok_->setEnabled(!temporary_.empty());
}

void ClipboardPictureWindow::Accept() {
    if (temporary_.empty()) return;
    Result<ChosenPicture> made =
        PictureFromFile(set_, temporary_, StemOf(LastComponent(temporary_)));
    if (!made) {
        messages_.Error(made.failure().text);
        return;
    }
    result_ = std::move(*made);
    accept();
}

void ClipboardPictureWindow::done(int result) {
    DropTemporary();
    QDialog::done(result);
}

}  // namespace orvo
