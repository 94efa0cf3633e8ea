#include "ui/pictures/PictureWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/AlbumRules.h"
#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Paths.h"
#include "model/uKYTset.h"
#include "picture/TKYTpicture.h"
#include "ui/NamedWidget.h"
#include "ui/QtConvert.h"
#include "ui/pictures/PicturePreview.h"

namespace orvo {

using K = TOggettiHel;

namespace {

PicturePreview* Display(const char* name, QWidget* parent) {
    return Named<PicturePreview>(name, parent);
}

// The view buttons switch a list between icons and lines.
void AddViewButtons(QHBoxLayout* row, QListWidget* list, const char* big, const char* small,
                    const char* lines, QWidget* parent) {
    QPushButton* bigIcons = Named<QPushButton>(big, parent);
    QPushButton* smallIcons = Named<QPushButton>(small, parent);
    QPushButton* asList = Named<QPushButton>(lines, parent);
    QObject::connect(bigIcons, &QPushButton::clicked, list, [list] {
        list->setViewMode(QListView::IconMode);
        list->setIconSize(QSize(64, 64));
    });
    QObject::connect(smallIcons, &QPushButton::clicked, list, [list] {
        list->setViewMode(QListView::IconMode);
        list->setIconSize(QSize(24, 24));
    });
    QObject::connect(asList, &QPushButton::clicked, list,
                     [list] { list->setViewMode(QListView::ListMode); });
    for (QPushButton* b : {bigIcons, smallIcons, asList}) row->addWidget(b);
}

std::string BytesOf(const std::string& cp1252Path) {
    Result<std::string> bytes = ReadFileBytes(NativePath(cp1252Path));
    return bytes ? std::move(*bytes) : std::string();
}

std::string Cp(const std::filesystem::path& p) {
    return Utf8ToCp1252(p.string());
}

// Whether `bytes` decode as a GIF (for "Trasparente"), and whether it is transparent.
std::pair<bool, bool> GifState(const std::string& bytes) {
    TKYTpicture picture;
    if (!picture.LoadBytes(bytes) || !picture.IsGif()) return {false, false};
    return {true, !picture.IsOpaque()};
}

}  // namespace

PictureWindow::PictureWindow(TKYTset& set, IMessages& messages,
                             std::function<void(QWidget&)> localize, QWidget* parent)
    : QDialog(parent),
      set_(set),
      messages_(messages),
      other_(std::make_unique<TKYTset>(set.Env(), messages)) {
    setObjectName(QStringLiteral("Fimmagini"));
    auto* layout = new QVBoxLayout(this);
    tabs_ = Named<QTabWidget>("PageControl1", this);
    albumPage_ = Named<QWidget>("TSalbum", tabs_);
    diskPage_ = Named<QWidget>("TSdisco", tabs_);
    otherPage_ = Named<QWidget>("TSaltri", tabs_);
    BuildAlbumTab(albumPage_);
    BuildDiskTab(diskPage_);
    BuildOtherTab(otherPage_);
    tabs_->addTab(albumPage_, QString());
    tabs_->addTab(diskPage_, QString());
    tabs_->addTab(otherPage_, QString());
    layout->addWidget(tabs_);

    auto* bottom = new QHBoxLayout;
    stretch_ = Named<QCheckBox>("CBstretch", this);
    bottom->addWidget(stretch_);
    bottom->addStretch();
    ok_ = Named<QPushButton>("BOk", this);
    ok_->setDefault(true);
    QPushButton* cancel = Named<QPushButton>("BAnnulla", this);
    bottom->addWidget(ok_);
    bottom->addWidget(cancel);
    layout->addLayout(bottom);
    connect(ok_, &QPushButton::clicked, this, [this] { Accept(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(stretch_, &QCheckBox::toggled, this, [this](bool on) {
        for (PicturePreview* d : {albumDisplay_, diskPreview_, convertedPreview_, otherDisplay_})
            d->SetStretched(on);
    });
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { TabChanged(); });

    if (localize) localize(*this);
    std::error_code ec;
    const std::filesystem::path home =
        set.DocumentFolder().empty() ? std::filesystem::current_path(ec) : set.DocumentFolder();
    diskFolder_ = otherFolder_ = home;
    resize(720, 520);
}

PictureWindow::~PictureWindow() {
    DropConverted();
}

void PictureWindow::BuildAlbumTab(QWidget* page) {
    auto* grid = new QGridLayout(page);
    grid->addWidget(Named<QLabel>("Limmdisp", page), 0, 0);
    albumList_ = Named<QListWidget>("LVimmagini", page);
    grid->addWidget(albumList_, 1, 0, 4, 1);
    auto* views = new QHBoxLayout;
    AddViewButtons(views, albumList_, "BIconeGrandi", "BIconePiccole", "BLista", page);
    grid->addLayout(views, 5, 0);
    auto* search = new QHBoxLayout;
    search->addWidget(Named<QLabel>("Lcercatitolo", page));
    albumSearch_ = Named<QLineEdit>("Ecercatitolo", page);
    search->addWidget(albumSearch_);
    QPushButton* find = Named<QPushButton>("BCerca", page);
    search->addWidget(find);
    grid->addLayout(search, 6, 0, 1, 2);
    count_ = Named<QLabel>("Lnumero", page);
    grid->addWidget(count_, 0, 1);
    albumTransparent_ = Named<QCheckBox>("CBtrasparente", page);
    grid->addWidget(albumTransparent_, 1, 1);
    albumDisplay_ = Display("ImmAlbum", page);
    grid->addWidget(albumDisplay_, 2, 1, 4, 1);
    connect(albumList_, &QListWidget::itemSelectionChanged, this, [this] { AlbumSelected(); });
    connect(albumList_, &QListWidget::itemDoubleClicked, this, [this] {
        if (ok_->isEnabled()) Accept();
    });
    connect(find, &QPushButton::clicked, this, [this] { AlbumSearchClicked(); });
    connect(albumTransparent_, &QCheckBox::toggled, this,
            [this](bool on) { AlbumTransparentToggled(on); });
}

void PictureWindow::BuildDiskTab(QWidget* page) {
    auto* grid = new QGridLayout(page);
    diskFolderEdit_ = Named<QLineEdit>("Ecartella", page);
    diskFolderEdit_->setReadOnly(true);
    grid->addWidget(diskFolderEdit_, 0, 0);
    diskFiles_ = Named<QListWidget>("FileListBox1", page);
    grid->addWidget(diskFiles_, 1, 0, 3, 1);
    auto* views = new QHBoxLayout;
    AddViewButtons(views, diskFiles_, "BIconeGrandiD", "BIconePiccoleD", "BListaD", page);
    QPushButton* up = Named<QPushButton>("BDirPrec", page);
    QPushButton* clipart = Named<QPushButton>("BClipart", page);
    views->addWidget(up);
    views->addWidget(clipart);
    grid->addLayout(views, 4, 0);
    auto* search = new QHBoxLayout;
    search->addWidget(Named<QLabel>("Lcercaimm", page));
    diskSearch_ = Named<QLineEdit>("Ecercaimm", page);
    search->addWidget(diskSearch_);
    QPushButton* find = Named<QPushButton>("BCercaDisco", page);
    search->addWidget(find);
    grid->addLayout(search, 5, 0);
    diskTransparent_ = Named<QCheckBox>("CBtraspDisco", page);
    grid->addWidget(diskTransparent_, 0, 1);
    diskPreview_ = Display("ImmDisco", page);
    grid->addWidget(diskPreview_, 1, 1);

    conversion_ = BuildConversionPanel(page);
    convertedPreview_ = Display("ImmConvertita", conversion_.box);
    conversion_.grid->addWidget(convertedPreview_, 0, 3, 4, 1);
    grid->addWidget(conversion_.box, 2, 1, 4, 1);
    conversion_.box->hide();

    connect(diskFiles_, &QListWidget::itemSelectionChanged, this, [this] { DiskSelected(); });
    connect(diskFiles_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (item->data(Qt::UserRole).toBool()) {  // a folder
            SetDiskFolder(diskFolder_ / item->data(Qt::UserRole + 1).toString().toStdString());
        } else if (ok_->isEnabled()) {
            Accept();
        }
    });
    connect(up, &QPushButton::clicked, this, [this] { SetDiskFolder(diskFolder_.parent_path()); });
    connect(clipart, &QPushButton::clicked, this, [this] {
        const std::string program = Cp(QApplication::applicationDirPath().toStdString());
        std::error_code ec;
        const bool beside =
            std::filesystem::is_directory(NativePath(ClipartFolder(program, true)), ec);
        const std::filesystem::path folder = NativePath(ClipartFolder(program, beside));
        if (std::filesystem::is_directory(folder, ec)) SetDiskFolder(folder);
    });
    connect(find, &QPushButton::clicked, this, [this] { DiskSearchClicked(); });
    for (QRadioButton* r : {conversion_.gif, conversion_.jpeg})
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on) DiskSelected();
        });
    connect(conversion_.quality, &QSpinBox::editingFinished, this, [this] { DiskSelected(); });
    connect(diskTransparent_, &QCheckBox::toggled, this, [this] { DiskSelected(); });
}

void PictureWindow::BuildOtherTab(QWidget* page) {
    auto* grid = new QGridLayout(page);
    otherFolderEdit_ = Named<QLineEdit>("EcartellaIp", page);
    otherFolderEdit_->setReadOnly(true);
    grid->addWidget(otherFolderEdit_, 0, 0);
    otherFiles_ = Named<QListWidget>("FileListBox2", page);
    grid->addWidget(otherFiles_, 1, 0);
    auto* search = new QHBoxLayout;
    search->addWidget(Named<QLabel>("Lcercaip", page));
    otherSearch_ = Named<QLineEdit>("Ecercaip", page);
    search->addWidget(otherSearch_);
    QPushButton* find = Named<QPushButton>("BCercaIp", page);
    search->addWidget(find);
    QPushButton* up = Named<QPushButton>("BDirPrecIp", page);
    search->addWidget(up);
    grid->addLayout(search, 2, 0);

    otherPicturesPanel_ = Named<QWidget>("PImmaginiIp", page);
    auto* panel = new QGridLayout(otherPicturesPanel_);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addWidget(Named<QLabel>("LimmdispIp", otherPicturesPanel_), 0, 0);
    otherPictures_ = Named<QListWidget>("LVimmaginiIp", otherPicturesPanel_);
    panel->addWidget(otherPictures_, 1, 0);
    auto* pictureSearch = new QHBoxLayout;
    otherPictureSearch_ = Named<QLineEdit>("EcercaImmIp", otherPicturesPanel_);
    pictureSearch->addWidget(otherPictureSearch_);
    QPushButton* findPicture = Named<QPushButton>("BCercaImmIp", otherPicturesPanel_);
    pictureSearch->addWidget(findPicture);
    panel->addLayout(pictureSearch, 2, 0);
    otherDisplay_ = Display("ImmIp", otherPicturesPanel_);
    panel->addWidget(otherDisplay_, 0, 1, 3, 1);
    grid->addWidget(otherPicturesPanel_, 3, 0);
    otherPicturesPanel_->hide();

    connect(otherFiles_, &QListWidget::itemSelectionChanged, this, [this] { OtherFileSelected(); });
    connect(otherFiles_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (item->data(Qt::UserRole).toBool())
            SetOtherFolder(otherFolder_ / item->data(Qt::UserRole + 1).toString().toStdString());
    });
    connect(up, &QPushButton::clicked, this,
            [this] { SetOtherFolder(otherFolder_.parent_path()); });
    connect(find, &QPushButton::clicked, this, [this] {
        std::vector<std::string> names;
        for (int i = 0; i < otherFiles_->count(); ++i)
            names.push_back(ToCp1252(otherFiles_->item(i)->text()));
        const std::string text = ToCp1252(otherSearch_->text());
        const int at = FindNameByPrefix(names, std::string(LastComponent(text)));
        if (at >= 0) otherFiles_->setCurrentRow(at);
    });
    connect(otherPictures_, &QListWidget::itemSelectionChanged, this, [this] { OtherSelected(); });
    connect(findPicture, &QPushButton::clicked, this, [this] {
        std::vector<std::string> names;
        for (int i = 0; i < otherPictures_->count(); ++i)
            names.push_back(ToCp1252(otherPictures_->item(i)->text()));
        const int at = FindNameByPrefix(names, ToCp1252(otherPictureSearch_->text()),
                                        otherPictures_->currentRow() + 1);
        if (at >= 0) otherPictures_->setCurrentRow(at);
    });
}

void PictureWindow::SetDiskFolder(const std::filesystem::path& folder) {
    diskFolder_ = folder;
    ListDisk();
}

void PictureWindow::SetOtherFolder(const std::filesystem::path& folder) {
    otherFolder_ = folder;
    ListOther();
}

namespace {

// The folders, then the files of `mask` ("*.gif;*.jpg;"), of `folder`, each kind by name.
void FillFileList(QListWidget* list, const std::filesystem::path& folder, std::string_view mask) {
    list->clear();
    QDir dir(QString::fromStdString(folder.string()));
    for (const QString& sub :
         dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto* item = new QListWidgetItem(QStringLiteral("[%1]").arg(sub), list);
        item->setData(Qt::UserRole, true);
        item->setData(Qt::UserRole + 1, sub);
    }
    QStringList filters;
    for (const QString& m : QString::fromLatin1(mask.data(), qsizetype(mask.size()))
                                .split(QLatin1Char(';'), Qt::SkipEmptyParts))
        filters << m;
    dir.setNameFilters(filters);
    for (const QString& file : dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        auto* item = new QListWidgetItem(file, list);
        item->setData(Qt::UserRole, false);
        item->setData(Qt::UserRole + 1, file);
    }
}

}  // namespace

void PictureWindow::ListDisk() {
    busy_ = true;
    diskFolderEdit_->setText(QString::fromStdString(diskFolder_.string()));
    FillFileList(diskFiles_, diskFolder_, kPictureFileMask);
    busy_ = false;
    DiskSelected();
}

void PictureWindow::ListOther() {
    busy_ = true;
    otherFolderEdit_->setText(QString::fromStdString(otherFolder_.string()));
    FillFileList(otherFiles_, otherFolder_, kHypertextFileMask);
    busy_ = false;
    OtherFileSelected();
}

void PictureWindow::Prepare() {
    busy_ = true;
    for (PicturePreview* d : {albumDisplay_, diskPreview_, convertedPreview_, otherDisplay_})
        d->Clear();
    result_.Reset();
    results_.clear();
    const bool several = mode_ == PictureWindowMode::Several;
    const auto selection =
        several ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection;
    albumList_->setSelectionMode(selection);
    diskFiles_->setSelectionMode(selection);
    otherPictures_->setSelectionMode(selection);
    bool hasPictures = false;
    for (const auto& p : set_.KindList(K::immagine))
        if (!p->IsFree()) hasPictures = true;
    const PictureTabs tabs = TabsForMode(mode_, hasPictures);
    tabs_->setTabVisible(0, tabs.album);
    tabs_->setTabVisible(1, tabs.disk);
    tabs_->setTabVisible(2, tabs.other);
    ListDisk();
    ListOther();
    diskFiles_->clearSelection();
    otherFiles_->clearSelection();
    if (tabs.album) ReloadAlbum();
    busy_ = false;
    tabs_->setCurrentIndex(int(tabs.active));
    TabChanged();
    if (mode_ == PictureWindowMode::DroppedFile && !presetFile_.empty()) {
        const std::filesystem::path preset(presetFile_);
        SetDiskFolder(preset.parent_path());
        diskSearch_->setText(QString::fromStdString(preset.filename().string()));
        DiskSearchClicked();
    }
}

void PictureWindow::TabChanged() {
    if (busy_) return;
    ok_->setEnabled(false);
    const int tab = tabs_->currentIndex();
    if (tab == int(PictureTab::Album)) {
        if (albumList_->count() == 0) ReloadAlbum();
        AlbumSelected();
    } else if (tab == int(PictureTab::Disk)) {
        DiskSelected();
    } else {
        OtherFileSelected();
    }
}

void PictureWindow::ReloadAlbum() {
    const bool wasBusy = busy_;
    busy_ = true;
    albumList_->clear();
    for (const AlbumItem& item : AlbumItems(set_, K::immagine)) {
        auto* row = new QListWidgetItem(ToQString(item.caption), albumList_);
        row->setData(Qt::UserRole, item.code);
        if (CodeIdentifier(item.code) == presetPicture_) row->setSelected(true);
    }
    count_->setText(ToQString("N\xB0: ") + QString::number(albumList_->count()));
    busy_ = wasBusy;
    AlbumSelected();
}

void PictureWindow::AlbumSelected() {
    if (busy_) return;
    albumDisplay_->Clear();
    QListWidgetItem* item = albumList_->currentItem();
    if (!item || !item->isSelected()) {
        const auto selected = albumList_->selectedItems();
        item = selected.isEmpty() ? nullptr : selected.front();
    }
    TKYToggetto* picture = item ? set_.ObjectByCode(item->data(Qt::UserRole).toInt()) : nullptr;
    bool shown = false;
    busy_ = true;
    albumTransparent_->setEnabled(false);
    if (picture && !picture->IsFree()) {
        Result<std::string> bytes = picture->ContentBytes();
        if (bytes) {
            albumDisplay_->SetPictureBytes(*bytes);
            shown = true;
            const auto [gif, transparent] = GifState(*bytes);
            albumTransparent_->setEnabled(gif);
            albumTransparent_->setChecked(gif && transparent);
        }
    }
    busy_ = false;
    if (tabs_->currentIndex() == int(PictureTab::Album)) ok_->setEnabled(shown);
}

void PictureWindow::AlbumSearchClicked() {
    std::vector<std::string> names;
    for (int i = 0; i < albumList_->count(); ++i)
        names.push_back(ToCp1252(albumList_->item(i)->text()));
    const int at =
        FindNameByPrefix(names, ToCp1252(albumSearch_->text()), albumList_->currentRow() + 1);
    if (at < 0) return;
    albumList_->clearSelection();
    albumList_->setCurrentRow(at);
    albumList_->item(at)->setSelected(true);
}

void PictureWindow::AlbumTransparentToggled(bool on) {
    if (busy_) return;
    QListWidgetItem* item = albumList_->currentItem();
    TKYToggetto* picture = item ? set_.ObjectByCode(item->data(Qt::UserRole).toInt()) : nullptr;
    if (!picture) return;
    if (Status changed = set_.SetTransparent(*picture, on); !changed) {
        messages_.Error(changed.failure().text);
        return;
    }
    AlbumSelected();
}

std::vector<std::string> PictureWindow::SelectedDiskFiles() const {
    std::vector<std::string> files;
    for (int i = 0; i < diskFiles_->count(); ++i) {
        QListWidgetItem* item = diskFiles_->item(i);
        if (item->isSelected() && !item->data(Qt::UserRole).toBool())
            files.push_back(
                Cp(diskFolder_ / item->data(Qt::UserRole + 1).toString().toStdString()));
    }
    return files;
}

void PictureWindow::DropConverted() {
    if (converted_.empty()) return;
    std::error_code ec;
    std::filesystem::remove(NativePath(converted_), ec);
    converted_.clear();
}

void PictureWindow::DiskSelected() {
    if (busy_) return;
    const bool diskTab = tabs_->currentIndex() == int(PictureTab::Disk);
    const std::vector<std::string> files = SelectedDiskFiles();
    if (files.size() >= 2) {
        conversion_.box->hide();
        DropConverted();
        diskPreview_->Clear();
        if (diskTab) ok_->setEnabled(true);
        return;
    }
    std::string source;
    if (files.size() == 1) {
        source = files.front();
        Result<std::string> bytes = ReadFileBytes(NativePath(source));
        TKYTpicture check;
        if (!bytes || !check.LoadBytes(*bytes)) {
            source.clear();
        } else {
            diskPreview_->SetPictureBytes(*bytes);
        }
    }
    if (source.empty()) {
        diskPreview_->Clear();
        conversion_.box->hide();
        DropConverted();
        if (diskTab) ok_->setEnabled(false);
        return;
    }
    std::string shownBytes;
    if (UsedUnchanged(source)) {
        conversion_.box->hide();
        DropConverted();
        shownBytes = BytesOf(source);
    } else {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        DropConverted();
        const ConversionFormat format =
            conversion_.gif->isChecked() ? ConversionFormat::Gif : ConversionFormat::Jpeg;
        Result<ConvertedPicture> converted = ConvertPictureFile(
            set_, source, format, conversion_.quality->value(), diskTransparent_->isChecked());
        QApplication::restoreOverrideCursor();
        if (!converted) {
            messages_.Error(converted.failure().text);
            conversion_.box->hide();
            if (diskTab) ok_->setEnabled(false);
            return;
        }
        converted_ = converted->file;
        conversion_.fromSize->setText(QString::number(converted->sourceSize));
        conversion_.toSize->setText(QString::number(converted->convertedSize));
        shownBytes = BytesOf(converted_);
        convertedPreview_->SetPictureBytes(shownBytes);
        conversion_.box->show();
    }
    const auto [gif, transparent] = GifState(shownBytes);
    busy_ = true;
    diskTransparent_->setEnabled(gif);
    if (UsedUnchanged(source)) diskTransparent_->setChecked(gif && transparent);
    conversion_.quality->setEnabled(!gif);
    busy_ = false;
    if (diskTab) ok_->setEnabled(true);
}

void PictureWindow::DiskSearchClicked() {
    const std::string text = ToCp1252(diskSearch_->text());
    const std::filesystem::path typed = NativePath(text);
    if (typed.has_parent_path() && typed.parent_path() != diskFolder_) {
        std::error_code ec;
        const std::filesystem::path folder =
            typed.is_absolute() ? typed.parent_path() : diskFolder_ / typed.parent_path();
        if (std::filesystem::is_directory(folder, ec)) SetDiskFolder(folder);
    }
    std::vector<std::string> names;
    for (int i = 0; i < diskFiles_->count(); ++i)
        names.push_back(
            Utf8ToCp1252(diskFiles_->item(i)->data(Qt::UserRole + 1).toString().toStdString()));
    const int at = FindNameByPrefix(names, std::string(LastComponent(text)));
    if (at < 0) return;
    diskFiles_->clearSelection();
    diskFiles_->setCurrentRow(at);
    diskFiles_->item(at)->setSelected(true);
}

void PictureWindow::OtherFileSelected() {
    if (busy_) return;
    QListWidgetItem* item = otherFiles_->currentItem();
    const bool otherTab = tabs_->currentIndex() == int(PictureTab::Other);
    std::string file;
    if (item && item->isSelected() && !item->data(Qt::UserRole).toBool()) {
        file = Cp(otherFolder_ / item->data(Qt::UserRole + 1).toString().toStdString());
        otherSearch_->setText(ToQString(file));
    }
    std::error_code ec;
    std::string extension = ExtensionOf(file);
    for (char& c : extension) c = char(UpperCase1252(static_cast<unsigned char>(c)));
    if (!file.empty() && std::filesystem::is_regular_file(NativePath(file), ec) &&
        extension == ".KYT") {
        if (other_->KYTFileName() != file && !other_->LoadFromFile(file)) other_->Close();
        busy_ = true;
        otherPictures_->clear();
        for (const AlbumItem& picture : AlbumItems(*other_, K::immagine)) {
            auto* row = new QListWidgetItem(ToQString(picture.caption), otherPictures_);
            row->setData(Qt::UserRole, picture.code);
        }
        busy_ = false;
        otherPicturesPanel_->show();
    } else {
        other_->Close();
        otherPictures_->clear();
        otherPicturesPanel_->hide();
    }
    OtherSelected();
    if (otherTab && otherPictures_->selectedItems().isEmpty()) ok_->setEnabled(false);
}

void PictureWindow::OtherSelected() {
    if (busy_) return;
    otherDisplay_->Clear();
    const auto selected = otherPictures_->selectedItems();
    bool shown = false;
    if (!selected.isEmpty()) {
        QListWidgetItem* item = otherPictures_->currentItem();
        if (!item || !item->isSelected()) item = selected.front();
        TKYToggetto* picture = other_->ObjectByCode(item->data(Qt::UserRole).toInt());
        if (picture) {
            Result<std::string> bytes = picture->ContentBytes();
            if (bytes) {
                otherDisplay_->SetPictureBytes(*bytes);
                shown = true;
            }
        }
    }
    if (tabs_->currentIndex() == int(PictureTab::Other)) ok_->setEnabled(shown);
}

void PictureWindow::Accept() {
    if (!ok_->isEnabled()) return;
    const bool several = mode_ == PictureWindowMode::Several;
    const int tab = tabs_->currentIndex();
    if (tab == int(PictureTab::Album)) {
        for (int i = 0; i < albumList_->count(); ++i) {
            QListWidgetItem* item = albumList_->item(i);
            if (!item->isSelected()) continue;
            TKYToggetto* picture = set_.ObjectByCode(item->data(Qt::UserRole).toInt());
            if (!picture) continue;
            if (several)
                results_.emplace_back(picture);
            else
                result_ = ChosenPicture(picture);
        }
    } else if (tab == int(PictureTab::Disk)) {
        const std::vector<std::string> files = SelectedDiskFiles();
        if (files.size() <= 1) {
            if (files.empty()) return;
            // The converted file when the bitmap was converted (whether shown or not).
            const std::string file = converted_.empty() ? files.front() : converted_;
            Result<ChosenPicture> made =
                PictureFromFile(set_, file, StemOf(LastComponent(files.front())));
            if (!made) {
                messages_.Error(made.failure().text);
                return;
            }
            if (several)
                results_.push_back(std::move(*made));
            else
                result_ = std::move(*made);
        } else {
            for (const std::string& file : files) {
                Result<TKYToggetto*> added = set_.AddPictureFromFile(file);
                if (!added) continue;  // a file that is no picture gives nothing
                results_.emplace_back(*added);
            }
            if (!several && !results_.empty()) {
                result_ = std::move(results_.back());
                results_.clear();
            }
        }
    } else {
        for (int i = 0; i < otherPictures_->count(); ++i) {
            QListWidgetItem* item = otherPictures_->item(i);
            if (!item->isSelected()) continue;
            TKYToggetto* picture = other_->ObjectByCode(item->data(Qt::UserRole).toInt());
            if (!picture) continue;
            Result<ChosenPicture> copy = CopyPictureFromOther(set_, *picture);
            if (!copy) continue;
            if (several)
                results_.push_back(std::move(*copy));
            else
                result_ = std::move(*copy);
        }
    }
    accept();
}

void PictureWindow::done(int result) {
    albumList_->clear();
    otherPictures_->clear();
    DropConverted();
    presetPicture_ = -1;
    other_->Close();
    QDialog::done(result);
}

}  // namespace orvo
