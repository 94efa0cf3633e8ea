#include "ui/pages/PagePropertiesWindow.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/PagePropertiesBlocks.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "ui/NamedWidget.h"
#include "ui/QtConvert.h"
#include "ui/pages/CodePanelWidget.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo {

namespace {

using K = TOggettiHel;

void Swatch(QPushButton* button, std::int32_t colour) {
    button->setStyleSheet(QStringLiteral("background-color: %1").arg(ToQColor(colour).name()));
}

std::string Typed(const QString& text, std::size_t length) {
    std::string bytes = ToCp1252(text);
    if (bytes.size() > length) bytes.resize(length);
    return bytes;
}

constexpr std::string_view kHeaderChoices[] = {"nessuna", "globale", "definita qui"};

}  // namespace

PagePropertiesWindow::PagePropertiesWindow(TKYTset& set, TKYToggetto& page, TKYTFrame* frame,
                                           int mode, Environment& environment, IMessages& messages,
                                           IScheduler& scheduler, PagePropertiesHost host,
                                           std::function<void(QWidget&, std::string_view)> localize,
                                           QWidget* parent)
    : QDialog(parent),
      set_(set),
      rules_(std::make_unique<PageProperties>(set, page, frame, environment, messages)),
      host_(std::move(host)) {
    setObjectName(QStringLiteral("FpropTesto"));
    auto* layout = new QVBoxLayout(this);
    tabs_ = Named<QTabWidget>("PageControl1", this);
    layout->addWidget(tabs_);

    // "Proprietà testo".
    auto* text = Named<QWidget>("TStesto", tabs_);
    auto* grid = new QGridLayout(text);
    int row = 0;
    grid->addWidget(Named<QLabel>("Ltitolo", text), row, 0);
    title_ = Named<QLineEdit>("Etitolo", text);
    title_->setMaxLength(int(kPageTitleLength));
    grid->addWidget(title_, row++, 1, 1, 3);
    grid->addWidget(Named<QLabel>("Lrevisione", text), row, 0);
    revision_ = Named<QLineEdit>("Erevisione", text);
    revision_->setReadOnly(true);
    grid->addWidget(revision_, row++, 1);
    grid->addWidget(Named<QLabel>("Lalias", text), row, 0);
    alias_ = Named<QLineEdit>("Ealias", text);
    alias_->setMaxLength(int(kPageAliasLength));
    grid->addWidget(alias_, row, 1);
    auto* aliasHint = Named<QLabel>("Lalias2", text);
    aliasHint->setWordWrap(true);
    grid->addWidget(aliasHint, row++, 2, 1, 2);
    grid->addWidget(Named<QLabel>("Lcolore", text), row, 0);
    background_ = Named<QPushButton>("Bcolore", text);
    grid->addWidget(background_, row, 1);
    auto* globalBack = Named<QPushButton>("BGlobalSfondo", text);
    grid->addWidget(globalBack, row++, 2);
    usePicture_ = Named<QCheckBox>("CBsfondo", text);
    grid->addWidget(usePicture_, row, 0);
    picture_ = Named<QLabel>("DisplayImg", text);
    picture_->setFixedSize(96, 64);
    picture_->setFrameShape(QFrame::Box);
    grid->addWidget(picture_, row, 1);
    auto* pictureButton = Named<QPushButton>("Bimmagine", text);
    grid->addWidget(pictureButton, row, 2);
    fixed_ = Named<QCheckBox>("CBfisso", text);
    grid->addWidget(fixed_, row++, 3);
    auto* colours = new QHBoxLayout;
    colours->addWidget(text_ = Named<QPushButton>("BShText", text));
    colours->addWidget(link_ = Named<QPushButton>("BShLink", text));
    colours->addWidget(visited_ = Named<QPushButton>("BShVisited", text));
    auto* globalColours = Named<QPushButton>("BGlobalColori", text);
    colours->addWidget(globalColours);
    grid->addLayout(colours, row++, 1, 1, 3);
    auto* flags = new QHBoxLayout;
    flags->addWidget(hostsFrames_ = Named<QCheckBox>("CBframe", text));
    flags->addWidget(popup_ = Named<QCheckBox>("CBpopup", text));
    hostsFrames_->setEnabled(false);
    popup_->setEnabled(false);
    grid->addLayout(flags, row++, 1, 1, 3);
    auto* sequence = Named<QGroupBox>("GBsequenze", text);
    auto* seq = new QHBoxLayout(sequence);
    seq->addWidget(inSequence_ = Named<QCheckBox>("CBsequenza", sequence));
    seq->addWidget(Named<QLabel>("Lgruppo", sequence));
    seq->addWidget(group_ = Named<QLineEdit>("Egruppo", sequence));
    seq->addWidget(Named<QLabel>("Lordine", sequence));
    seq->addWidget(order_ = Named<QLineEdit>("Eordine", sequence));
    grid->addWidget(sequence, row++, 0, 1, 4);
    grid->setRowStretch(row, 1);
    tabs_->addTab(text, QString());

    // "Proprietà cornice".
    frameTab_ = Named<QWidget>("TScornice", tabs_);
    auto* frameGrid = new QGridLayout(frameTab_);
    row = 0;
    frameGrid->addWidget(Named<QLabel>("Ltitolocornice", frameTab_), row, 0);
    frameName_ = Named<QLineEdit>("Etitolocornice", frameTab_);
    frameName_->setMaxLength(int(kFrameNameLength));
    frameGrid->addWidget(frameName_, row++, 1, 1, 2);
    auto* choice = Named<QGroupBox>("GBpagina", frameTab_);
    auto* choiceRow = new QHBoxLayout(choice);
    choiceRow->addWidget(existing_ = Named<QRadioButton>("RBesistenti", choice));
    choiceRow->addWidget(master_ = Named<QRadioButton>("RBmaster", choice));
    choiceRow->addWidget(newPage_ = Named<QRadioButton>("RBnuova", choice));
    frameGrid->addWidget(choice, row++, 0, 1, 3);
    frameGrid->addWidget(Named<QLabel>("Lcerca", frameTab_), row, 0);
    search_ = Named<QLineEdit>("Ecerca", frameTab_);
    frameGrid->addWidget(search_, row, 1);
    auto* find = Named<QPushButton>("Bcerca", frameTab_);
    frameGrid->addWidget(find, row++, 2);
    pages_ = Named<QListWidget>("LBpagine", frameTab_);
    frameGrid->addWidget(pages_, row, 0, 1, 1);
    preview_ = new PageViewWidget(set, frameTab_);
    preview_->setObjectName(QStringLiteral("Anteprima"));
    preview_->setMinimumSize(200, 140);
    frameGrid->addWidget(preview_, row++, 1, 1, 2);
    auto* back = Named<QPushButton>("Bindietro", frameTab_);
    frameGrid->addWidget(back, row++, 2);
    auto* checks = new QHBoxLayout;
    checks->addWidget(resizable_ = Named<QCheckBox>("CBdimensiona", frameTab_));
    checks->addWidget(border_ = Named<QCheckBox>("CBbordino", frameTab_));
    checks->addWidget(scrolling_ = Named<QCheckBox>("CBscrolling", frameTab_));
    frameGrid->addLayout(checks, row++, 0, 1, 3);
    auto* sizeBox = Named<QGroupBox>("GBdimensione", frameTab_);
    auto* sizeRow = new QHBoxLayout(sizeBox);
    sizeRow->addWidget(percent_ = Named<QRadioButton>("RBpercentuale", sizeBox));
    sizeRow->addWidget(pixels_ = Named<QRadioButton>("RBfissa", sizeBox));
    sizeRow->addWidget(rest_ = Named<QRadioButton>("RBlibera", sizeBox));
    sizeRow->addWidget(size_ = Named<QSpinBox>("Edimensione", sizeBox));
    size_->setRange(0, kFrameMaxPixels);
    frameGrid->addWidget(sizeBox, row, 0, 1, 2);
    auto* spacing = new QHBoxLayout;
    spacing->addWidget(Named<QLabel>("Lbordo", frameTab_));
    spacing->addWidget(spacing_ = Named<QSpinBox>("Ebordo", frameTab_));
    spacing_->setRange(0, 255);
    frameGrid->addLayout(spacing, row++, 2);
    tabs_->addTab(frameTab_, QString());

    // "Script/Meta".
    auto* script = Named<QWidget>("TSscript", tabs_);
    auto* scriptLayout = new QVBoxLayout(script);
    code_ = new CodePanelWidget(rules_->Code(), scheduler, messages, script);
    scriptLayout->addWidget(code_);
    tabs_->addTab(script, QString());

    // Header and footer, and the slides: made, never shown.
    auto* hidden = Named<QWidget>("TSintestazione", this);
    hidden->hide();
    auto* hf = new QFormLayout(hidden);
    hf->addRow(Named<QLabel>("Lintestazione", hidden),
               header_ = Named<QComboBox>("CBintestazione", hidden));
    hf->addRow(Named<QLabel>("Lpiede", hidden), footer_ = Named<QComboBox>("CBpiede", hidden));
    for (std::string_view c : kHeaderChoices) {
        header_->addItem(ToQString(c));
        footer_->addItem(ToQString(c));
    }

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = Named<QPushButton>("BOk", this);
    ok->setDefault(true);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(Named<QPushButton>("BAnnulla", this), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(ok, &QPushButton::clicked, this, [this] { Confirm(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(background_, &QPushButton::clicked, this,
            [this] { PickColour(rules_->backgroundColour); });
    connect(text_, &QPushButton::clicked, this, [this] { PickColour(rules_->textColour); });
    connect(link_, &QPushButton::clicked, this, [this] { PickColour(rules_->linkColour); });
    connect(visited_, &QPushButton::clicked, this, [this] { PickColour(rules_->visitedColour); });
    connect(globalColours, &QPushButton::clicked, this, [this] {
        rules_->GlobalColours();
        ShowColours();
    });
    connect(globalBack, &QPushButton::clicked, this, [this] {
        rules_->GlobalBackground();
        ShowColours();
        ShowPicture();
    });
    connect(usePicture_, &QCheckBox::toggled, this, [this](bool on) {
        rules_->useBackgroundPicture = on;
        picture_->setVisible(on);
    });
    connect(pictureButton, &QPushButton::clicked, this, [this] {
        TKYToggetto* chosen = nullptr;
        if (choosePicture) {
            const TKYToggetto* current = rules_->BackgroundPicture();
            ChosenPicture picture =
                choosePicture(current && current->Registered() ? current->Identifier() : -1);
            if (!picture) return;
            if (picture.Registered())
                rules_->ChooseBackgroundPicture(picture.Get());
            else
                rules_->ChooseBackgroundPicture(picture.Release());
            ShowPicture();
            return;
        } else {
            QStringList names;
            std::vector<TKYToggetto*> pictures;
            for (const auto& p : set_.KindList(K::immagine))
                if (p && !p->IsFree()) {
                    pictures.push_back(p.get());
                    names << ToQString(p->Name());
                }
            if (pictures.empty()) return;
            bool accepted = false;
            const QString name =
                QInputDialog::getItem(this, windowTitle(), QString(), names, 0, false, &accepted);
            if (accepted) chosen = pictures[std::size_t(names.indexOf(name))];
        }
        if (!chosen) return;
        rules_->ChooseBackgroundPicture(chosen);
        ShowPicture();
    });

    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (tabs_->widget(index) != frameTab_) return;
        rules_->frameTabVisited = true;
        FramePageChanged();
    });
    for (QRadioButton* radio : {existing_, master_, newPage_})
        connect(radio, &QRadioButton::clicked, this, [this] {
            rules_->framePage = newPage_->isChecked()  ? FramePageChoice::New
                                : master_->isChecked() ? FramePageChoice::Master
                                                       : FramePageChoice::Existing;
            FramePageChanged();
        });
    connect(pages_, &QListWidget::currentRowChanged, this, [this](int r) {
        if (r < 0 || std::size_t(r) >= listed_.size()) return;
        const std::int32_t id = listed_[std::size_t(r)];
        rules_->existingPage = id;
        preview_->ShowPage(id);
        const bool isMaster = id == rules_->MasterPage();
        (isMaster ? master_ : existing_)->setChecked(true);
        rules_->framePage = isMaster ? FramePageChoice::Master : FramePageChoice::Existing;
    });
    connect(pages_, &QListWidget::itemDoubleClicked, this, [this] { FillPageList(); });
    connect(find, &QPushButton::clicked, this, [this] {
        const QString wanted = search_->text();
        for (int r = 0; r < pages_->count(); ++r)
            if (pages_->item(r)->text().startsWith(wanted, Qt::CaseInsensitive)) {
                pages_->setCurrentRow(r);
                return;
            }
    });
    connect(back, &QPushButton::clicked, this, [this] {
        if (rules_->OpenedFramePage() >= 0) preview_->ShowPage(rules_->OpenedFramePage());
    });

    // "<HEAD>" and "<- oltre..." are texts, not markup.
    for (QLabel* label : findChildren<QLabel*>()) label->setTextFormat(Qt::PlainText);
    setWindowTitle(ToQString(kPagePropertiesCaption));
    if (localize) {
        localize(*this, PagePropertiesBlock());
        localize(*code_, CodePanelBlock());
    }
    ShowFields();
    tabs_->setTabVisible(tabs_->indexOf(frameTab_), rules_->FrameTabShown());
    const PagePropertiesTab start = PagePropertiesStartTab(mode, rules_->FrameTabShown());
    tabs_->setCurrentIndex(start == PagePropertiesTab::Text    ? 0
                           : start == PagePropertiesTab::Frame ? 1
                                                               : 2);
}

PagePropertiesWindow::~PagePropertiesWindow() {
    // The panel's widget goes before the rules that own the panel.
    delete code_;
}

void PagePropertiesWindow::ShowFields() {
    PageProperties& r = *rules_;
    title_->setText(ToQString(r.title));
    revision_->setText(QString::number(r.revision));
    alias_->setText(ToQString(r.alias));
    fixed_->setChecked(r.fixedBackground);
    hostsFrames_->setChecked(r.hostsFrames);
    popup_->setChecked(r.popup);
    inSequence_->setChecked(r.inSequence);
    group_->setText(ToQString(r.group));
    order_->setText(ToQString(r.order));
    header_->setCurrentIndex(int(r.headerChoice));
    footer_->setCurrentIndex(int(r.footerChoice));
    frameName_->setText(ToQString(r.frameName));
    existing_->setChecked(r.framePage == FramePageChoice::Existing);
    master_->setChecked(r.framePage == FramePageChoice::Master);
    newPage_->setChecked(r.framePage == FramePageChoice::New);
    resizable_->setChecked(r.resizable);
    resizable_->setEnabled(r.ResizableEnabled());
    border_->setChecked(r.border);
    scrolling_->setChecked(r.scrollBars);
    percent_->setChecked(r.sizeKind == 0);
    pixels_->setChecked(r.sizeKind == 1);
    rest_->setChecked(r.sizeKind == 2);
    size_->setValue(r.sizeValue);
    spacing_->setValue(r.parentBorderWidth);
    spacing_->setEnabled(r.spacingEnabled);
    usePicture_->setChecked(r.useBackgroundPicture);
    ShowColours();
    ShowPicture();
    code_->Refresh();
}

void PagePropertiesWindow::ShowColours() {
    Swatch(background_, rules_->backgroundColour);
    Swatch(text_, rules_->textColour);
    Swatch(link_, rules_->linkColour);
    Swatch(visited_, rules_->visitedColour);
}

void PagePropertiesWindow::ShowPicture() {
    usePicture_->setChecked(rules_->useBackgroundPicture);
    picture_->setVisible(rules_->useBackgroundPicture);
    picture_->clear();
    if (TKYToggetto* picture = rules_->BackgroundPicture()) {
        QPixmap pixmap;
        if (auto bytes = picture->ContentBytes();
            bytes &&
            pixmap.loadFromData(reinterpret_cast<const uchar*>(bytes->data()), uint(bytes->size())))
            picture_->setPixmap(pixmap.scaled(picture_->size(), Qt::KeepAspectRatio));
    }
}

void PagePropertiesWindow::PickColour(std::int32_t& colour) {
    std::optional<std::int32_t> chosen;
    if (chooseColour) {
        chosen = chooseColour(colour);
    } else {
        const QColor c = QColorDialog::getColor(ToQColor(colour), this);
        if (c.isValid()) chosen = std::int32_t(c.red() | (c.green() << 8) | (c.blue() << 16));
    }
    if (!chosen) return;
    colour = *chosen;
    ShowColours();
}

void PagePropertiesWindow::FillPageList() {
    pages_->clear();
    listed_.clear();
    for (const auto& p : set_.KindList(K::testoHtml))
        if (p && !p->IsFree()) {
            listed_.push_back(p->Identifier());
            pages_->addItem(ToQString(p->Name()));
        }
}

void PagePropertiesWindow::FramePageChanged() {
    const bool choose = rules_->framePage != FramePageChoice::New;
    pages_->setVisible(choose);
    preview_->setVisible(choose);
    if (!choose) return;
    if (pages_->count() == 0) FillPageList();
    const std::int32_t page =
        rules_->framePage == FramePageChoice::Master ? rules_->MasterPage() : rules_->existingPage;
    for (std::size_t i = 0; i < listed_.size(); ++i)
        if (listed_[i] == page) pages_->setCurrentRow(int(i));
    if (page >= 0) preview_->ShowPage(page);
}

void PagePropertiesWindow::Confirm() {
    PageProperties& r = *rules_;
    r.title = Typed(title_->text(), kPageTitleLength);
    r.alias = Typed(alias_->text(), kPageAliasLength);
    r.fixedBackground = fixed_->isChecked();
    r.inSequence = inSequence_->isChecked();
    r.group = ToCp1252(group_->text());
    r.order = ToCp1252(order_->text());
    r.useBackgroundPicture = usePicture_->isChecked();
    r.headerChoice = HeaderChoice(std::max(0, header_->currentIndex()));
    r.footerChoice = HeaderChoice(std::max(0, footer_->currentIndex()));
    r.frameName = Typed(frameName_->text(), kFrameNameLength);
    r.resizable = resizable_->isChecked();
    r.border = border_->isChecked();
    r.scrollBars = scrolling_->isChecked();
    r.sizeKind = percent_->isChecked() ? 0 : pixels_->isChecked() ? 1 : 2;
    r.sizeValue = size_->value();
    r.parentBorderWidth = spacing_->value();
    preview_->ClosePage();
    r.Apply(host_);
    accept();
}

}  // namespace orvo
