#include "ui/album/AlbumWindow.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/Cp1252.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/IMessages.h"
#include "ui/NameFilters.h"
#include "ui/QtConvert.h"
#include "ui/album/DeletionWindow.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo {
namespace {

using K = TOggettiHel;

}  // namespace

AlbumWindow::AlbumWindow(AlbumHost host, QWidget* parent)
    : DressedDialog("Falbum", host.dressing, parent), host_(std::move(host)) {
    auto* layout = new QVBoxLayout(this);
    tabs_ = album::Named<QTabWidget>("PageControl1", this);
    for (const AlbumTab& tab : kAlbumTabs) {
        auto* page = album::Named<QWidget>(std::string(tab.key).c_str(), tabs_);
        page->setFixedHeight(0);
        tabs_->addTab(page, QString());
    }
    tabs_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    layout->addWidget(tabs_);

    auto* middle = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(album::Named<QLabel>("Lcerca", this));
    searchRow->addWidget(search_ = album::Named<QLineEdit>("Edit1", this));
    QPushButton* find = album::Named<QPushButton>("BCerca", this);
    searchRow->addWidget(find);
    left->addLayout(searchRow);
    list_ = album::Named<QListWidget>("ZIDListViewImg", this);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    left->addWidget(list_);
    auto* actions = new QHBoxLayout;
    actions->addWidget(edit_button_ = album::Named<QPushButton>("Bedita", this));
    actions->addWidget(replace_ = album::Named<QPushButton>("BReplace", this));
    actions->addWidget(add_ = album::Named<QPushButton>("BAdd", this));
    actions->addWidget(delete_ = album::Named<QPushButton>("Bcanc", this));
    left->addLayout(actions);
    middle->addLayout(left, 1);
    auto* right = new QVBoxLayout;
    auto* scroll = new QScrollArea(this);
    preview_ = album::Named<QLabel>("DisplayImg", scroll);
    preview_->setAlignment(Qt::AlignCenter);
    scroll->setWidget(preview_);
    scroll->setWidgetResizable(true);
    scroll->setMinimumSize(260, 220);
    right->addWidget(scroll);
    pictureArea_ = scroll;
    // In the picture's place on "Pagine": the page, read only.
    pageView_ = new PageViewWidget(host_.set, this);
    pageView_->setObjectName(QStringLiteral("AEHframeSet1"));
    pageView_->setMinimumSize(260, 220);
    right->addWidget(pageView_, 1);
    right->addWidget(pagePreview_ = album::Named<QCheckBox>("cbpreview", this));
    middle->addLayout(right, 1);
    layout->addLayout(middle);
    layout->addWidget(status_ = album::Named<QLabel>("LabelE", this));

    auto* buttons = new QDialogButtonBox(this);
    ok_ = album::Named<QPushButton>("BOk", this);
    ok_->setDefault(true);
    buttons->addButton(ok_, QDialogButtonBox::AcceptRole);
    buttons->addButton(album::Named<QPushButton>("BAnnulla", this), QDialogButtonBox::RejectRole);
    apply_ = album::Named<QPushButton>("Bapplica", this);
    buttons->addButton(apply_, QDialogButtonBox::ApplyRole);
    layout->addWidget(buttons);

    connect(tabs_, &QTabWidget::currentChanged, this, [this](int) { Reload(); });
    connect(find, &QPushButton::clicked, this, [this] { Search(search_->text()); });
    connect(search_, &QLineEdit::returnPressed, this, [this] { Search(search_->text()); });
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] { RefreshPreview(); });
    connect(list_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (filling_) return;
        const std::int32_t code = item->data(Qt::UserRole).toInt();
        TKYToggetto* object = host_.set.ObjectByCode(code);
        if (!object || object->IsFree()) return;
        // The page shown is not shown while its name changes.
        const bool shown = CodeKind(code) == KindIndex(K::testoHtml) && host_.editor.shownPage &&
                           host_.editor.shownPage() == CodeIdentifier(code);
        if (shown && host_.editor.showPage) host_.editor.showPage(-1);
        const std::string caption = RenameAlbumObject(*object, ToCp1252(item->text()));
        if (shown && host_.editor.showPage) host_.editor.showPage(CodeIdentifier(code));
        host_.set.SetModified(true);
        filling_ = true;
        item->setText(ToQString(caption));
        filling_ = false;
    });
    connect(edit_button_, &QPushButton::clicked, this, [this] { Edit(); });
    connect(replace_, &QPushButton::clicked, this, [this] { Replace(); });
    connect(add_, &QPushButton::clicked, this, [this] { Add(); });
    connect(delete_, &QPushButton::clicked, this, [this] { Delete(); });
    connect(apply_, &QPushButton::clicked, this, [this] { ApplyEdit(); });
    connect(ok_, &QPushButton::clicked, this, [this] {
        if (!Editing()) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(pagePreview_, &QCheckBox::toggled, this, [this] { RefreshPreview(); });

    if (!host_.chooseFile)
        host_.chooseFile = [this](std::string_view filter) -> std::optional<std::string> {
            const QString file = QFileDialog::getOpenFileName(
                this, windowTitle(), QString(), NameFiltersFrom(filter).join(QStringLiteral(";;")));
            if (file.isEmpty()) return std::nullopt;
            return Utf8ToCp1252(file.toStdString());
        };
    Dress();
    apply_->setEnabled(false);
    resize(640, 460);
    Reload();
}

AlbumWindow::~AlbumWindow() {
    if (program_) {
        program_->disconnect(this);
        program_->terminate();
        program_->waitForFinished(2000);
    }
}

void AlbumWindow::SetTab(int tab) {
    if (tab < 0 || tab >= int(kAlbumTabs.size())) tab = 0;
    if (tabs_->currentIndex() == tab)
        Reload();
    else
        tabs_->setCurrentIndex(tab);
}

int AlbumWindow::Tab() const {
    return tabs_->currentIndex();
}

void AlbumWindow::Reload() {
    const AlbumTab& tab = kAlbumTabs[std::size_t(std::max(Tab(), 0))];
    edit_button_->setVisible(tab.edit);
    replace_->setVisible(tab.replace);
    add_->setVisible(tab.add);
    apply_->setVisible(AlbumApplyShown(tab));
    pagePreview_->setVisible(tab.kind == K::testoHtml);
    pictureArea_->setVisible(tab.kind != K::testoHtml);
    pageView_->setVisible(tab.kind == K::testoHtml);
    filling_ = true;
    list_->clear();
    for (const AlbumItem& entry : AlbumItems(host_.set, tab.kind)) {
        auto* item = new QListWidgetItem(ToQString(entry.caption), list_);
        item->setData(Qt::UserRole, entry.code);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    filling_ = false;
    RefreshPreview();
}

TKYToggetto* AlbumWindow::SelectedObject() const {
    QListWidgetItem* item = list_->currentItem();
    if (!item || !item->isSelected()) return nullptr;
    return host_.set.ObjectByCode(item->data(Qt::UserRole).toInt());
}

std::vector<std::int32_t> AlbumWindow::SelectedCodes() const {
    std::vector<std::int32_t> codes;
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->isSelected())
            if (const std::int32_t code = list_->item(i)->data(Qt::UserRole).toInt())
                codes.push_back(code);
    return codes;
}

void AlbumWindow::SelectObject(std::int32_t code) {
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->data(Qt::UserRole).toInt() == code) {
            list_->clearSelection();
            list_->setCurrentItem(list_->item(i));
            list_->item(i)->setSelected(true);
            return;
        }
}

void AlbumWindow::RefreshPreview() {
    preview_->clear();
    TKYToggetto* object = SelectedObject();
    // The page preview: the focused page while "anteprima" is ticked, else nothing.
    const QListWidgetItem* focused = list_->currentItem();
    const std::int32_t code = focused ? focused->data(Qt::UserRole).toInt() : -1;
    const TKYToggetto* page = focused ? host_.set.ObjectByCode(code) : nullptr;
    if (Tab() >= 0 && kAlbumTabs[std::size_t(Tab())].kind == K::testoHtml &&
        pagePreview_->isChecked() && page && page->Kind() == K::testoHtml && !page->IsFree()) {
        if (pageView_->PageShown() != page->Identifier() &&
            !pageView_->ShowPage(page->Identifier()))
            pageView_->ClosePage();
    } else if (pageView_->Showing()) {
        pageView_->ClosePage();
    }
    if (object && object->Kind() == K::immagineNew)
        object = host_.set.ObjectByKind(K::immagine, object->ReadView().I32(kImagePicture));
    if (!object || object->IsFree() || object->Kind() != K::immagine) return;
    Result<std::string> bytes = object->ContentBytes();
    QPixmap pixmap;
    if (bytes &&
        pixmap.loadFromData(reinterpret_cast<const uchar*>(bytes->data()), uint(bytes->size())))
        preview_->setPixmap(pixmap);
}

void AlbumWindow::Search(const QString& text) {
    std::vector<std::string> captions;
    for (int i = 0; i < list_->count(); ++i) captions.push_back(ToCp1252(list_->item(i)->text()));
    const int found = AlbumSearch(captions, ToCp1252(text));
    if (found < 0) return;
    list_->clearSelection();
    list_->setCurrentItem(list_->item(found));
    list_->item(found)->setSelected(true);
}

void AlbumWindow::SetEditing(bool editing) {
    tabs_->setEnabled(!editing);
    for (QPushButton* b : {edit_button_, replace_, add_, delete_}) b->setEnabled(!editing);
    list_->setEnabled(!editing);
    if (!editing) apply_->setEnabled(false);
}

void AlbumWindow::Edit() {
    TKYToggetto* object = SelectedObject();
    if (!object) {
        host_.messages.Show(Box::Information, kSelectToEdit);
        return;
    }
    if (object->Kind() == K::testoHtml) {
        if (host_.editor.showPage) host_.editor.showPage(object->Identifier());
        accept();
        return;
    }
    SetEditing(true);
    edit_ = StartOutsideEdit(host_.set, *object);
    const std::vector<std::string> command = edit_ && host_.editorCommand
                                                 ? host_.editorCommand(edit_->temporary)
                                                 : std::vector<std::string>{};
    if (!edit_ || command.empty()) {
        edit_.reset();
        status_->clear();
        host_.messages.Show(Box::Information, kNoEditor);
        SetEditing(false);
        return;
    }
    program_ = new QProcess(this);
    QStringList arguments;
    for (std::size_t i = 1; i < command.size(); ++i)
        arguments << QString::fromStdString(command[i]);
    connect(program_, &QProcess::started, this, [this] {
        status_->setText(ToQString(kEditing));
        apply_->setEnabled(true);
    });
    connect(program_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        edit_.reset();
        status_->clear();
        host_.messages.Show(Box::Information, kNoEditor);
        SetEditing(false);
    });
    connect(program_, &QProcess::finished, this, [this] { EndEdit(true); });
    program_->start(QString::fromStdString(command[0]), arguments);
}

void AlbumWindow::EndEdit(bool apply) {
    if (edit_ && apply) {
        const bool file = CodeKind(edit_->code) == KindIndex(K::genLink);
        const int shown = host_.editor.shownPage ? host_.editor.shownPage() : -1;
        if (file && host_.editor.showPage) host_.editor.showPage(-1);
        ApplyOutsideEdit(host_.set, *edit_, host_.messages);
        if (file && host_.editor.showPage) host_.editor.showPage(shown);
        if (!file && host_.reformat) host_.reformat();
    }
    edit_.reset();
    status_->clear();
    RefreshPreview();
    SetEditing(false);
}

void AlbumWindow::ApplyEdit() {
    if (edit_) EndEdit(true);
}

void AlbumWindow::reject() {
    if (edit_) {
        // Cancelled: the program is asked to quit and its end applies nothing.
        edit_.reset();
        if (program_) {
            program_->disconnect(this);
            program_->terminate();
        }
        status_->clear();
        SetEditing(false);
    }
    DressedDialog::reject();
}

void AlbumWindow::Replace() {
    const std::vector<std::int32_t> codes = SelectedCodes();
    TKYToggetto* object = SelectedObject();
    if (codes.empty() || !object) {
        host_.messages.Show(Box::Information, kSelectToReplace);
        return;
    }
    if (codes.size() > 1) {
        host_.messages.Show(Box::Information, kSelectOnlyOne);
        return;
    }
    if (object->Kind() != K::genLink && object->Kind() != K::immagine) return;
    if (object->Kind() == K::genLink && UsedByPrototype(host_.set, object->Code()) &&
        !host_.messages.Ask(kUsedByPrototype))
        return;
    const std::optional<std::string> file =
        host_.chooseFile ? host_.chooseFile(kAlbumFileFilter) : std::nullopt;
    if (!file) return;
    bool replaced = false;
    if (object->Kind() == K::genLink) {
        replaced = ReplaceFileContent(*object, *file);
    } else {
        QFile in(QString::fromStdString(Cp1252ToUtf8(*file)));
        if (in.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = in.readAll();
            replaced = ReplacePictureContent(
                host_.set, *object, std::string(bytes.constData(), std::size_t(bytes.size())));
        }
    }
    if (!replaced) return;
    if (host_.reformat) host_.reformat();
    host_.set.SetModified(true);
    const std::int32_t code = object->Code();
    Reload();
    SelectObject(code);
}

void AlbumWindow::Add() {
    const K kind = kAlbumTabs[std::size_t(Tab())].kind;
    std::int32_t code = 0;
    bool rename = false;
    if (kind == K::testoHtml && host_.newPage) {
        // The link window makes the page and the editor shows it.
        pageView_->ClosePage();
        if (!host_.newPage()) return;
        const std::int32_t shown = host_.editor.shownPage ? host_.editor.shownPage() : -1;
        if (shown < 0) return;
        code = MakeCode(K::testoHtml, shown);
        rename = true;
    } else if (kind == K::internetLink || kind == K::testoHtml) {
        auto object = NewObjectOfKind(kind, &host_.set);
        object->Clear();
        object->TakeIntoUse();
        if (kind == K::internetLink) object->SetName(kNewLinkAddress);
        TKYToggetto* added = object.get();
        host_.set.Register(std::move(object));
        code = added->Code();
        rename = true;
    } else if (kind == K::genLink || kind == K::immagine) {
        const std::optional<std::string> file =
            host_.chooseFile ? host_.chooseFile(kAlbumFileFilter) : std::nullopt;
        if (!file) return;
        if (kind == K::immagine) {
            Result<TKYToggetto*> picture = host_.set.AddPictureFromFile(*file);
            if (!picture || !*picture) return;
            code = (*picture)->Code();
        } else {
            auto object = NewObjectOfKind(K::genLink, &host_.set);
            object->Clear();
            object->TakeIntoUse();
            TKYToggetto* added = object.get();
            host_.set.Register(std::move(object));
            if (!ReplaceFileContent(*added, *file)) {
                added->Clear();
                return;
            }
            code = added->Code();
        }
    } else {
        return;
    }
    host_.set.SetModified(true);
    Reload();
    SelectObject(code);
    if (rename && list_->currentItem()) list_->editItem(list_->currentItem());
}

void AlbumWindow::Delete() {
    const std::vector<std::int32_t> codes = CollectForDeletion(SelectedCodes());
    if (codes.empty()) return;
    pageView_->ClosePage();  // the page it shows may go
    if (host_.deleteObjects) {
        host_.deleteObjects(codes);
    } else {
        DeletionWindow window(host_.set, codes, host_.editor, host_.dressing, this);
        window.exec();
    }
    host_.set.SetModified(true);
    Reload();
}

void AlbumWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && list_->hasFocus() &&
        !list_->isPersistentEditorOpen(list_->currentItem())) {
        Delete();
        return;
    }
    DressedDialog::keyPressEvent(event);
}

}  // namespace orvo
