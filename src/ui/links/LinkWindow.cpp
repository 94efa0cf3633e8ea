// The link window's widgets over its rules.
#include "ui/links/LinkWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/Cp1252.h"
#include "model/HeaderRecord.h"
#include "model/TKYTparag.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/IMessages.h"
#include "textbox/uKYTbox.h"
#include "ui/QtConvert.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo {

namespace {

using K = TOggettiHel;

// The components' names, as the window's block names them, by tab.
constexpr std::array<const char*, kLinkTabCount> kTabNames{"TSPagina",     "TSCopia",    "TSAltro",
                                                           "TSCopiaAltro", "TSInternet", "TSFile",
                                                           "TSVuota",      "TSModello",  "TSHtml"};

constexpr int kPageRole = Qt::UserRole;

template <class T>
T* Named(const char* name, QWidget* parent = nullptr) {
    auto* widget = new T(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

bool UsesPageList(LinkTab tab) {
    return tab == LinkTab::Page || tab == LinkTab::CopyPage;
}
bool UsesOtherFile(LinkTab tab) {
    return tab == LinkTab::OtherPage || tab == LinkTab::CopyOther || tab == LinkTab::Template;
}

constexpr std::uint8_t kAnchorSubtype = 14;

// The number of the anchor that character `at` of `paragraph` shows, or -1.
std::int32_t AnchorOfCharacter(const TKYTparag& paragraph, std::size_t at) {
    if (at >= paragraph.metrics.size()) return -1;
    const std::int32_t index = paragraph.metrics[at].objectIndex;
    if (index < 0 || std::size_t(index) >= paragraph.objects.size()) return -1;
    const TKYToggetto* object = paragraph.objects[std::size_t(index)];
    if (!object || object->Kind() != K::shortObj || object->Subtype() != kAnchorSubtype) return -1;
    return object->ReadView().I32(kShortReference);
}

}  // namespace

std::int32_t AnchorAt(const TKYTbox& box, std::int32_t x, std::int32_t y) {
    const TKYTTextPos pos = box.HitTest(1, x, y);
    if (!pos.Valid() || !pos.paragraph || pos.height < 0 || pos.charIndex < 0) return -1;
    if (y < pos.y || y >= pos.y + pos.height || x < pos.x || x >= pos.xRight) return -1;
    return AnchorOfCharacter(*pos.paragraph, std::size_t(pos.charIndex));
}

bool BoxHasAnchors(const TKYTbox& box) {
    for (const auto& paragraph : box.AllParagraphs())
        for (std::size_t c = 0; paragraph && c < paragraph->metrics.size(); ++c)
            if (AnchorOfCharacter(*paragraph, c) >= 0) return true;
    return false;
}

LinkWindow::LinkWindow(TKYTset& set, ILinkEditor& editor, IMessages& messages, QWidget* parent)
    : QDialog(parent), set_(set), messages_(messages), chooser_(set, editor) {
    setObjectName(QStringLiteral("FCollega"));
    setWindowTitle(ToQString(kLinkWindowCaption));
    auto* layout = new QVBoxLayout(this);

    // The top panel: the anchor to link to (red while none).
    auto* top = Named<QWidget>("PanelTop", this);
    auto* topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    anchorLabel_ = Named<QLabel>("LAncora", top);
    anchorLabel_->setText(ToQString(kLinkAnchorPrompt));
    anchor_ = Named<QSpinBox>("EAncora", top);
    anchor_->setRange(-1, 99999);
    anchor_->setSpecialValueText(QStringLiteral("-1"));
    topLayout->addWidget(anchorLabel_);
    topLayout->addWidget(anchor_);
    topLayout->addStretch();
    connect(anchor_, &QSpinBox::valueChanged, this, [this](int v) {
        anchor_->setStyleSheet(v < 0 ? QStringLiteral("color: red") : QString());
    });
    layout->addWidget(top);

    tabs_ = Named<QTabWidget>("PageControl", this);
    for (int t = 0; t < kLinkTabCount; ++t) {
        tabPages_[std::size_t(t)] = Named<QWidget>(kTabNames[std::size_t(t)]);
        new QVBoxLayout(tabPages_[std::size_t(t)]);
        tabs_->addTab(tabPages_[std::size_t(t)], ToQString(kLinkTabCaptions[std::size_t(t)]));
    }
    layout->addWidget(tabs_, 1);

    // The page list with its search field, its view and the preview: on the page tabs.
    auto* pagePanel = Named<QWidget>("PanelPagine");
    auto* pageLayout = new QHBoxLayout(pagePanel);
    auto* listSide = new QVBoxLayout;
    auto* searchRow = new QHBoxLayout;
    auto* searchLabel = Named<QLabel>("LCerca");
    searchLabel->setText(ToQString(kLinkSearch));
    search_ = Named<QLineEdit>("ECerca");
    viewMode_ = Named<QComboBox>("CBVista");
    viewMode_->addItems(
        {QStringLiteral("Icone grandi"), QStringLiteral("Icone piccole"), QStringLiteral("Lista")});
    viewMode_->setCurrentIndex(2);
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(search_, 1);
    searchRow->addWidget(viewMode_);
    pages_ = Named<QListWidget>("LVPagine");
    listSide->addLayout(searchRow);
    listSide->addWidget(pages_, 1);
    chooseAnchor_ = Named<QLabel>("LScegliAncora");
    chooseAnchor_->setText(ToQString(kLinkChooseAnchor));
    auto* previewSide = new QVBoxLayout;
    previewSide->addWidget(chooseAnchor_);
    preview_ = new PageViewWidget(set_, pagePanel);
    preview_->setObjectName(QStringLiteral("Anteprima"));
    preview_->ShowAnchors(true);  // the anchors are clicked to be linked to
    preview_->setMinimumSize(320, 240);
    // An anchor clicked in the preview becomes the anchor linked to.
    preview_->Surface()->installEventFilter(this);
    previewSide->addWidget(preview_, 1);
    auto* previewButtons = new QHBoxLayout;
    const std::pair<const char*, const char*> buttons[] = {{"BIndietro", "<<"},
                                                           {"BCopertina", "Copertina"},
                                                           {"BSommario", "Sommario"},
                                                           {"BCorrente", "Pagina corrente"}};
    for (auto [name, text] : buttons) {
        auto* b = Named<QPushButton>(name);
        b->setText(QString::fromLatin1(text));
        previewButtons->addWidget(b);
        const std::string which = name;
        connect(b, &QPushButton::clicked, this, [this, which] {
            std::int32_t page = set_.HeaderView().I32(kHdrCoverPage);
            if (which == "BSommario") page = set_.HeaderView().I32(kHdrContentsPage);
            if (which == "BIndietro") page = previousPreview_;
            if (which == "BCorrente") page = currentPage ? currentPage() : -1;
            if (page >= 0) ShowPreview(page);
        });
    }
    previewSide->addLayout(previewButtons);
    pageLayout->addLayout(listSide, 1);
    pageLayout->addLayout(previewSide, 2);
    connect(search_, &QLineEdit::textChanged, this, [this] { FillPages(); });
    connect(viewMode_, &QComboBox::currentIndexChanged, this, [this](int i) {
        pages_->setViewMode(i == 2 ? QListView::ListMode : QListView::IconMode);
        pages_->setIconSize(i == 0 ? QSize(48, 48) : QSize(16, 16));
    });
    connect(pages_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item) ShowPreview(item->data(kPageRole).toInt());
        UpdateOk();
    });

    // Another hypertext's file and its pages: on the other-hypertext and template tabs.
    auto* otherPanel = Named<QWidget>("PanelAltro");
    auto* otherLayout = new QVBoxLayout(otherPanel);
    auto* fileRow = new QHBoxLayout;
    otherFile_ = Named<QLineEdit>("EIpertesto");
    auto* browse = Named<QPushButton>("BSfoglia");
    browse->setText(QStringLiteral("..."));
    fileRow->addWidget(otherFile_, 1);
    fileRow->addWidget(browse);
    otherPages_ = Named<QListWidget>("LVAltro");
    auto* automaticLabel = Named<QLabel>("LLinkAuto");
    automaticLabel->setText(ToQString(kLinkAutomaticField));
    automatic_ = Named<QLineEdit>("ELinkAuto");
    otherLayout->addLayout(fileRow);
    // The pages of the other file beside the preview of the one chosen.
    otherRow_ = new QHBoxLayout;
    otherRow_->addWidget(otherPages_, 1);
    otherLayout->addLayout(otherRow_, 1);
    otherLayout->addWidget(automaticLabel);
    otherLayout->addWidget(automatic_);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, QString(), QString(),
                                                          QStringLiteral("Ipertesti (*.kyt)"));
        if (!file.isEmpty()) LoadOtherFile(file);
    });
    connect(otherPages_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item && otherPreview_) otherPreview_->ShowPage(item->data(kPageRole).toInt());
    });
    connect(otherFile_, &QLineEdit::editingFinished, this,
            [this] { LoadOtherFile(otherFile_->text()); });

    // The internet tab: the agenda, the address and its kind.
    {
        auto* l = static_cast<QVBoxLayout*>(tabPages_[std::size_t(LinkTab::Internet)]->layout());
        agenda_ = Named<QListWidget>("LVAgenda");
        address_ = Named<QLineEdit>("EIndirizzo");
        auto* kindRow = new QHBoxLayout;
        auto* kindLabel = Named<QLabel>("LTipo");
        kindLabel->setText(ToQString(kLinkKind));
        kindRow->addWidget(kindLabel);
        for (std::size_t i = 0; i < kAddressKinds.size(); ++i) {
            kinds_[i] = new QRadioButton(ToQString(kAddressKinds[i].caption));
            kinds_[i]->setObjectName(QStringLiteral("RBTipo%1").arg(i));
            kindRow->addWidget(kinds_[i]);
            const std::string prefix(kAddressKinds[i].prefix);
            connect(kinds_[i], &QRadioButton::clicked, this,
                    [this, prefix] { address_->setText(ToQString(prefix)); });
        }
        auto* add = Named<QPushButton>("BAggiungi");
        add->setText(ToQString(kLinkAdd));
        auto* trash = Named<QPushButton>("BCestina");
        trash->setText(ToQString(kLinkTrash));
        trash->setEnabled(false);  // deleting goes through the album's deletion window
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(add);
        buttons->addWidget(trash);
        buttons->addStretch();
        l->addWidget(agenda_, 1);
        l->addLayout(kindRow);
        l->addWidget(address_);
        l->addLayout(buttons);
        connect(add, &QPushButton::clicked, this, [this] { AddAddress(); });
        connect(agenda_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
            if (item) address_->setText(item->text());
        });
    }
    // The embedded files: from disk or from the album.
    {
        auto* l = static_cast<QVBoxLayout*>(tabPages_[std::size_t(LinkTab::Embedded)]->layout());
        fileTabs_ = Named<QTabWidget>("PCFile");
        auto* disk = Named<QWidget>("TSDisco");
        auto* diskLayout = new QHBoxLayout(disk);
        diskFile_ = Named<QLineEdit>("EFile", disk);
        auto* pick = Named<QPushButton>("BSfogliaFile", disk);
        pick->setText(QStringLiteral("..."));
        diskLayout->addWidget(diskFile_, 1);
        diskLayout->addWidget(pick);
        auto* albumPage = Named<QWidget>("TSAlbum");
        auto* albumLayout = new QVBoxLayout(albumPage);
        album_ = Named<QListWidget>("LVAlbum", albumPage);
        albumLayout->addWidget(album_);
        fileTabs_->addTab(disk, ToQString(kLinkFromDisk));
        fileTabs_->addTab(albumPage, ToQString(kLinkFromAlbum));
        l->addWidget(fileTabs_, 1);
        connect(pick, &QPushButton::clicked, this, [this] {
            const QString file = QFileDialog::getOpenFileName(this);
            if (!file.isEmpty()) diskFile_->setText(file);
        });
        connect(diskFile_, &QLineEdit::textChanged, this, [this] { UpdateOk(); });
        connect(album_, &QListWidget::currentItemChanged, this, [this] { UpdateOk(); });
        connect(fileTabs_, &QTabWidget::currentChanged, this, [this] { UpdateOk(); });
    }
    {
        auto* l = static_cast<QVBoxLayout*>(tabPages_[std::size_t(LinkTab::Empty)]->layout());
        auto* label = Named<QLabel>("LVuota");
        label->setText(QStringLiteral("Una nuova pagina vuota."));
        l->addWidget(label);
        l->addStretch();
    }
    {
        auto* l = static_cast<QVBoxLayout*>(tabPages_[std::size_t(LinkTab::Html)]->layout());
        auto* row = new QHBoxLayout;
        htmlFile_ = Named<QLineEdit>("EHtml");
        auto* pick = Named<QPushButton>("BSfogliaHtml");
        pick->setText(QStringLiteral("..."));
        row->addWidget(htmlFile_, 1);
        row->addWidget(pick);
        l->addLayout(row);
        l->addStretch(1);  // the preview, once there, takes the room
        htmlTab_ = tabPages_[std::size_t(LinkTab::Html)];
        connect(pick, &QPushButton::clicked, this, [this] {
            const QString file = QFileDialog::getOpenFileName(
                this, QString(), QString(), QStringLiteral("Html (*.htm *.html)"));
            if (file.isEmpty()) return;
            htmlFile_->setText(file);
            PreviewHtml();
        });
        connect(htmlFile_, &QLineEdit::editingFinished, this, [this] { PreviewHtml(); });
    }
    // The shared panels follow the tab shown.
    connect(tabs_, &QTabWidget::currentChanged, this, [this, pagePanel, otherPanel](int index) {
        if (index < 0) return;
        const LinkTab tab = LinkTab(index);
        if (UsesPageList(tab)) tabPages_[std::size_t(index)]->layout()->addWidget(pagePanel);
        if (UsesOtherFile(tab)) tabPages_[std::size_t(index)]->layout()->addWidget(otherPanel);
        UpdateOk();
    });
    tabPages_[0]->layout()->addWidget(pagePanel);
    tabPages_[std::size_t(LinkTab::OtherPage)]->layout()->addWidget(otherPanel);

    auto* bottom = new QHBoxLayout;
    importBackground_ = Named<QCheckBox>("CBSfondo");
    importBackground_->setText(ToQString(kLinkImportBackground));
    ok_ = Named<QPushButton>("BOk");
    ok_->setText(ToQString(kLinkOk));
    ok_->setDefault(true);
    okStay_ = Named<QPushButton>("BOkStay");
    okStay_->setText(ToQString(kLinkOkStay));
    cancel_ = Named<QPushButton>("BAnnulla");
    cancel_->setText(ToQString(kLinkCancel));
    bottom->addWidget(importBackground_);
    bottom->addStretch();
    bottom->addWidget(ok_);
    bottom->addWidget(okStay_);
    bottom->addWidget(cancel_);
    layout->addLayout(bottom);
    connect(ok_, &QPushButton::clicked, this, [this] { Accept(false); });
    connect(okStay_, &QPushButton::clicked, this, [this] { Accept(true); });
    connect(cancel_, &QPushButton::clicked, this, [this] {
        chooser_.Cancel();
        reject();
    });
    resize(860, 560);
}

LinkWindow::~LinkWindow() {
    // The previews show pages of hypertexts of the window's own, which go before the children.
    delete htmlPreview_;
    delete otherPreview_;
}

void LinkWindow::Prepare() {
    const LinkWindowLayout layout = LinkLayoutOfMode(chooser_.mode);
    setWindowTitle(ToQString(layout.caption));
    for (int t = 0; t < kLinkTabCount; ++t) {
        tabs_->setTabVisible(t, layout.shown[std::size_t(t)]);
        tabs_->setTabText(t, ToQString(layout.captions[std::size_t(t)]));
    }
    findChild<QWidget*>(QStringLiteral("PanelTop"))->setVisible(layout.topPanelShown);
    anchorLabel_->setVisible(layout.anchorShown);
    anchor_->setVisible(layout.anchorShown);
    anchor_->setValue(chooser_.anchor);
    anchor_->setStyleSheet(chooser_.anchor < 0 ? QStringLiteral("color: red") : QString());
    okStay_->setVisible(layout.okStayShown);
    importBackground_->setVisible(layout.importBackground);
    pages_->setVisible(layout.pageListShown);
    search_->setVisible(layout.pageListShown);
    viewMode_->setVisible(layout.pageListShown);
    findChild<QLabel*>(QStringLiteral("LCerca"))->setVisible(layout.pageListShown);
    chooseAnchor_->setVisible(!layout.pageListShown);
    FillPages();
    FillAgenda();
    FillAlbum();
    // Each session of the window reads its HTML file again.
    delete htmlPreview_;
    htmlPreview_ = nullptr;
    chooser_.DropHtml();
    htmlFile_->clear();
    LinkTab start = layout.start;
    const PresetEntry entry = PresetEntryOf(set_, chooser_.preset);
    if (chooser_.preset && layout.Shows(entry.tab)) start = entry.tab;
    if (chooser_.mode == 10 && !chooser_.sourceDocument.empty()) {
        start = LinkTab::CopyOther;
        if (LoadOtherFile(ToQString(chooser_.sourceDocument)))
            otherPages_->setCurrentRow(chooser_.sourcePage);
    }
    SetCurrentTab(start);
    if (entry.found) {
        if (entry.tab == LinkTab::Page) {
            for (int i = 0; i < pages_->count(); ++i)
                if (pages_->item(i)->data(kPageRole).toInt() == entry.page)
                    pages_->setCurrentRow(i);
        } else if (entry.tab == LinkTab::OtherPage && LoadOtherFile(ToQString(entry.otherFile))) {
            otherPages_->setCurrentRow(entry.page);
        } else if (entry.tab == LinkTab::Internet) {
            for (int i = 0; i < agenda_->count(); ++i)
                if (agenda_->item(i)->data(kPageRole).toInt() == entry.agendaCode)
                    agenda_->setCurrentRow(i);
        } else if (entry.tab == LinkTab::Embedded) {
            fileTabs_->setCurrentIndex(entry.fromDisk ? 0 : 1);
            for (int i = 0; i < album_->count(); ++i)
                if (album_->item(i)->data(kPageRole).toInt() == entry.embeddedCode)
                    album_->setCurrentRow(i);
        }
    } else if (chooser_.preset && chooser_.preset->Kind() == K::genLink) {
        fileTabs_->setCurrentIndex(entry.fromDisk ? 0 : 1);
    }
    if (!pages_->currentItem() && pages_->count() > 0 && !chooser_.preset)
        ShowPreview(pages_->item(0)->data(kPageRole).toInt());
    UpdateOk();
}

LinkTab LinkWindow::CurrentTab() const {
    return LinkTab(tabs_->currentIndex());
}

void LinkWindow::SetCurrentTab(LinkTab tab) {
    if (tabs_->isTabVisible(int(tab))) tabs_->setCurrentIndex(int(tab));
}

LinkChoice LinkWindow::Choice() const {
    LinkChoice c;
    c.tab = CurrentTab();
    if (QListWidgetItem* item = pages_->currentItem()) c.page = item->data(kPageRole).toInt();
    if (c.tab == LinkTab::Page && !pages_->isVisible() && preview_->PageShown() >= 0)
        c.page = preview_->PageShown();  // mode 3: the page of the preview
    c.otherFile = ToCp1252(otherFile_->text());
    c.otherPage = otherPages_->currentRow();
    c.automatic = ToCp1252(automatic_->text());
    c.address = ToCp1252(address_->text());
    if (QListWidgetItem* item = agenda_->currentItem())
        if (item->text() == address_->text()) c.agendaCode = item->data(kPageRole).toInt();
    c.fromDisk = fileTabs_->currentIndex() == 0;
    c.diskFile = std::filesystem::path(diskFile_->text().toStdString());
    if (QListWidgetItem* item = album_->currentItem()) c.albumCode = item->data(kPageRole).toInt();
    c.htmlFile = std::filesystem::path(htmlFile_->text().toStdString());
    c.importBackground = importBackground_->isChecked();
    return c;
}

bool LinkWindow::PreviewHtml() {
    std::error_code ec;
    const QString text = htmlFile_->text();
    const std::filesystem::path file = text.isEmpty()
                                           ? std::filesystem::path()
                                           : std::filesystem::absolute(text.toStdString(), ec);
    if (!chooser_.HtmlHypertext() || file != chooser_.HtmlFile()) {
        // Another file replaces the imported hypertext: the view of the old one goes first.
        delete htmlPreview_;
        htmlPreview_ = nullptr;
    }
    Result<std::int32_t> page = chooser_.ImportHtml(file);
    if (!page) return false;
    if (!htmlPreview_) {
        htmlPreview_ = new PageViewWidget(*chooser_.HtmlHypertext(), htmlTab_);
        htmlPreview_->setObjectName(QStringLiteral("AnteprimaHtml"));
        htmlPreview_->setMinimumSize(320, 240);
        static_cast<QVBoxLayout*>(htmlTab_->layout())->insertWidget(1, htmlPreview_, 100);
    }
    return htmlPreview_->ShowPage(*page);
}

bool LinkWindow::Accept(bool stay) {
    // The HTML page copied is the one previewed: a file typed but not yet read is read now.
    if (CurrentTab() == LinkTab::Html) PreviewHtml();
    chooser_.anchor = anchor_->value();
    Result<TKYToggetto*> chosen = chooser_.Ok(Choice(), !stay);
    if (!chosen) {
        messages_.Warn(chosen.failure().text);
        return false;
    }
    accept();
    return true;
}

bool LinkWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != preview_->Surface() || !anchor_->isVisibleTo(this))
        return QDialog::eventFilter(watched, event);
    if (event->type() != QEvent::MouseButtonRelease) return QDialog::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton || !preview_->Box())
        return QDialog::eventFilter(watched, event);
    const QPoint at = mouse->position().toPoint();
    const std::int32_t number = AnchorAt(*preview_->Box(), at.x(), at.y());
    if (number < 0) return QDialog::eventFilter(watched, event);
    anchor_->setValue(number);
    return true;
}

bool LinkWindow::LoadOtherFile(const QString& path) {
    // The preview shows a page of the file read before, which goes now.
    delete otherPreview_;
    otherPreview_ = nullptr;
    otherPages_->clear();
    otherFile_->setText(path);
    if (path.isEmpty()) return false;
    auto other = std::make_unique<TKYTset>(set_.Env(), set_.Messages());
    if (!other->LoadFromFile(ToCp1252(path))) return false;
    for (int i = 0; i < other->KindCount(K::testoHtml); ++i) {
        const TKYToggetto* page = other->ObjectByKind(K::testoHtml, i);
        auto* item = new QListWidgetItem(
            page && !page->IsFree() ? QStringLiteral("%1  %2").arg(i).arg(ToQString(page->Name()))
                                    : QStringLiteral("%1").arg(i),
            otherPages_);
        item->setData(kPageRole, i);
    }
    other_ = std::move(other);
    otherPreview_ = new PageViewWidget(*other_, otherPages_->parentWidget());
    otherPreview_->setObjectName(QStringLiteral("AnteprimaAltro"));
    otherPreview_->setMinimumSize(320, 240);
    otherRow_->addWidget(otherPreview_, 2);
    if (QListWidgetItem* item = otherPages_->currentItem())
        otherPreview_->ShowPage(item->data(kPageRole).toInt());
    return true;
}

void LinkWindow::AddAddress() {
    const std::string address = ToCp1252(address_->text());
    if (address.empty()) return;
    auto link = MakeInternetLink(set_, address);
    TKYToggetto* existing = link->FindEqual();
    const std::int32_t code = existing ? existing->Code() : [&] {
        const std::int32_t id = set_.Register(std::move(link));
        set_.SetModified(true);
        return MakeCode(K::internetLink, id);
    }();
    FillAgenda();
    for (int i = 0; i < agenda_->count(); ++i)
        if (agenda_->item(i)->data(kPageRole).toInt() == code) agenda_->setCurrentRow(i);
}

void LinkWindow::FillPages() {
    const QString filter = search_->text();
    const int current = pages_->currentItem() ? pages_->currentItem()->data(kPageRole).toInt() : -1;
    pages_->clear();
    for (int i = 0; i < set_.KindCount(K::testoHtml); ++i) {
        const TKYToggetto* page = set_.ObjectByKind(K::testoHtml, i);
        if (!page || page->IsFree()) continue;
        const QString title = ToQString(page->Name());
        if (!filter.isEmpty() && !title.contains(filter, Qt::CaseInsensitive)) continue;
        auto* item = new QListWidgetItem(QStringLiteral("%1  %2").arg(i).arg(title), pages_);
        item->setData(kPageRole, i);
        if (i == current) pages_->setCurrentItem(item);
    }
}

void LinkWindow::FillAgenda() {
    agenda_->clear();
    for (const auto& link : set_.KindList(K::internetLink)) {
        if (!link || link->IsFree()) continue;
        auto* item = new QListWidgetItem(ToQString(link->Name()), agenda_);
        item->setData(kPageRole, link->Code());
    }
}

void LinkWindow::FillAlbum() {
    album_->clear();
    for (const auto& file : set_.KindList(K::genLink)) {
        if (!file || file->IsFree()) continue;
        auto* item = new QListWidgetItem(ToQString(file->FileName()), album_);
        item->setData(kPageRole, file->Code());
    }
}

void LinkWindow::ShowPreview(std::int32_t page) {
    const std::int32_t shown = preview_->PageShown();
    if (shown == page) return;
    if (preview_->ShowPage(page)) previousPreview_ = shown;
}

void LinkWindow::UpdateOk() {
    const bool enabled = LinkOkEnabled(Choice());
    ok_->setEnabled(enabled);
    okStay_->setEnabled(enabled);
}

}  // namespace orvo
