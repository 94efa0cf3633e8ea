// The export window's and the HTML options window's widgets; the rules are ExportWindowRules.
#include "ui/app/ExportWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <array>

#include "convert/HtmlExport.h"
#include "model/uKYTset.h"
#include "ui/QtConvert.h"

namespace orvo {

namespace {

// The columns of the list of exported items, after the caption.
constexpr std::array<std::string_view, 7> kColumns{
    "Titolo", "Dimensione", "Tipo", "File", "Dimensione", "File per frame", "Versione"};

QSpinBox* Millimetres(const char* name, QWidget* parent) {
    auto* box = Named<QSpinBox>(name, parent);
    box->setRange(0, 2000);
    return box;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// "Opzioni"

HtmlOptionsWindow::HtmlOptionsWindow(TKYTset& set, TKYTtoHtml& html, ISettings& settings,
                                     QWidget* parent)
    : PlacedDialog("FopzExp", settings, parent), html_(html) {
    auto* tabs = new QTabWidget(this);
    auto* page = Named<QWidget>("TSHtml");
    auto* form = new QVBoxLayout(page);
    separate_ = NamedCheck("CBsepImage", page);
    originalNames_ = NamedCheck("CBorigName", page);
    auto* extensionRow = new QHBoxLayout;
    extensionRow->addWidget(NamedLabel("LtipoExt", page));
    extension_ = Named<QComboBox>("CBtipoExt", page);
    extensionRow->addWidget(extension_);
    alt_ = NamedCheck("CBalt", page);
    form->addWidget(separate_);
    form->addWidget(originalNames_);
    form->addLayout(extensionRow);
    form->addWidget(alt_);
    form->addStretch();
    tabs->addTab(page, QString());
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* ok = NamedButton("BOk", this);
    QPushButton* cancel = NamedButton("BAnnulla", this);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    LocalizeFromBlock(*this);
    RestoreWindowPlacement(*this, settings_);

    // Shown from the settings, as the program read them at start.
    LoadHtmlOptions(settings_, html_);
    html_.PrefixOverride = set.ExpPrefix();
    separate_->setChecked(html_.ExpSepImage);
    originalNames_->setChecked(html_.ExpOrigName);
    extension_->setCurrentIndex(html_.ExpTipoExt == 1 ? 1 : 0);
    alt_->setChecked(html_.ExpAlt);
    connect(ok, &QPushButton::clicked, this, [this] {
        Confirm();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void HtmlOptionsWindow::Confirm() {
    html_.ExpSepImage = separate_->isChecked();
    html_.ExpOrigName = originalNames_->isChecked();
    html_.ExpTipoExt = extension_->currentIndex() == 1 ? 1 : 0;
    html_.ExpAlt = alt_->isChecked();
    SaveHtmlOptions(settings_, html_);
}

// ---------------------------------------------------------------------------------------------
// "Esportazione"

ExportWindow::ExportWindow(ExportWindowParts parts, QWidget* parent)
    : PlacedDialog("Fexp", parts.settings, parent), parts_(parts), rules_(parts) {
    auto* layout = new QVBoxLayout(this);
    auto* formatRow = new QHBoxLayout;
    formatRow->addWidget(NamedLabel("Lformato", this));
    formats_ = Named<QComboBox>("CBformato", this);
    for (const ExportFormat& format : rules_.Formats())
        formats_->addItem(ToQString(format.caption), format.number);
    formatRow->addWidget(formats_, 1);
    layout->addLayout(formatRow);

    auto* tabs = Named<QTabWidget>("PCexp", this);
    // "Pagine da esportare"
    auto* pages = Named<QWidget>("TSpagine");
    auto* pagesLayout = new QVBoxLayout(pages);
    list_ = Named<QTreeWidget>("ListaExp", pages);
    list_->setRootIsDecorated(false);
    list_->setSortingEnabled(false);
    QStringList headers;
    for (std::string_view column : kColumns) headers << ToQString(column);
    list_->setHeaderLabels(headers);
    list_->header()->setSectionsClickable(true);
    pagesLayout->addWidget(list_);
    auto* pageButtons = new QHBoxLayout;
    all_ = NamedButton("BTutte", pages);
    pageButtons->addWidget(all_);
    pageButtons->addStretch();
    pagesLayout->addLayout(pageButtons);
    tabs->addTab(pages, QString());
    // "Path"
    auto* path = Named<QWidget>("TSpath");
    auto* pathLayout = new QVBoxLayout(path);
    pathLayout->addWidget(NamedLabel("Ldir", path));
    auto* folderRow = new QHBoxLayout;
    folder_ = Named<QLineEdit>("EDdir", path);
    QPushButton* browse = NamedButton("BsfogliaDir", path);
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(browse);
    pathLayout->addLayout(folderRow);
    mainLabel_ = NamedLabel("LnomeFile", path);
    pathLayout->addWidget(mainLabel_);
    mainFile_ = Named<QLineEdit>("EDnomeFile", path);
    pathLayout->addWidget(mainFile_);
    pathLayout->addStretch();
    tabs->addTab(path, QString());
    // "Opzioni"
    auto* options = Named<QWidget>("TSopzioni");
    auto* optionsLayout = new QVBoxLayout(options);
    pageSize_ = new QWidget(options);
    auto* sizeForm = new QFormLayout(pageSize_);
    width_ = Millimetres("SElargh", pageSize_);
    height_ = Millimetres("SElungh", pageSize_);
    top_ = Millimetres("SEtop", pageSize_);
    bottom_ = Millimetres("SEbottom", pageSize_);
    left_ = Millimetres("SEsx", pageSize_);
    right_ = Millimetres("SEdx", pageSize_);
    sizeForm->addRow(NamedLabel("Llargh", pageSize_), width_);
    sizeForm->addRow(NamedLabel("Llungh", pageSize_), height_);
    sizeForm->addRow(NamedLabel("Ltop", pageSize_), top_);
    sizeForm->addRow(NamedLabel("Lbottom", pageSize_), bottom_);
    sizeForm->addRow(NamedLabel("Lsx", pageSize_), left_);
    sizeForm->addRow(NamedLabel("Ldx", pageSize_), right_);
    optionsLayout->addWidget(pageSize_);
    html_ = NamedButton("BHtml", options);
    optionsLayout->addWidget(html_, 0, Qt::AlignLeft);
    compiler_ = new QWidget(options);
    auto* compilerLayout = new QVBoxLayout(compiler_);
    runCompiler_ = NamedCheck("CBrunHcp", compiler_);
    titleKeys_ = NamedCheck("CBrunTitKey", compiler_);
    registered_ = NamedCheck("CBrunDefaultHcp", compiler_);
    compilerLayout->addWidget(runCompiler_);
    compilerLayout->addWidget(titleKeys_);
    compilerLayout->addWidget(registered_);
    optionsLayout->addWidget(compiler_);
    optionsLayout->addStretch();
    tabs->addTab(options, QString());
    layout->addWidget(tabs, 1);

    status_ = Named<QLabel>("Lstatus", this);
    layout->addWidget(status_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* exportButton = NamedButton("BEsporta", this);
    QPushButton* close = NamedButton("BChiudi", this);
    buttons->addWidget(exportButton);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(720, 480);
    LocalizeFromBlock(*this);
    RestoreWindowPlacement(*this, settings_);

    connect(formats_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!filling_) ChooseFormatAt(index);
    });
    connect(all_, &QPushButton::clicked, this, [this] {
        rules_.PressAll();
        ShowList();
    });
    connect(list_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
        if (filling_) return;
        const int row = list_->indexOfTopLevelItem(item);
        auto& rows = rules_.List().MutableRows();
        if (row >= 0 && std::size_t(row) < rows.size())
            rows[std::size_t(row)].checked = item->checkState(0) == Qt::Checked;
    });
    connect(list_->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (auto order = TKYTListHtmlToTx::SortForColumn(column)) {
            rules_.List().SortBy(*order);
            ShowList();
        }
    });
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getExistingDirectory(this, QString(), folder_->text());
        if (!chosen.isEmpty()) folder_->setText(chosen);
    });
    connect(html_, &QPushButton::clicked, this, [this] { HtmlOptions(); });
    connect(exportButton, &QPushButton::clicked, this, [this] { ExportNow(); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

ExportWindow::~ExportWindow() = default;

void ExportWindow::Open(const std::string& proposedPath) {
    rules_.Open(proposedPath);
    ShowRules();
}

void ExportWindow::ChooseFormatAt(int index) {
    if (index < 0 || std::size_t(index) >= rules_.Formats().size()) return;
    TakeFields();
    rules_.ChooseFormat(rules_.Formats()[std::size_t(index)].number);
    ShowRules();
}

void ExportWindow::ShowRules() {
    filling_ = true;
    for (std::size_t i = 0; i < rules_.Formats().size(); ++i)
        if (rules_.Formats()[i].number == rules_.Format()) formats_->setCurrentIndex(int(i));
    const FormatSettings& values = rules_.Values();
    folder_->setText(ToQString(values.directory));
    mainFile_->setText(ToQString(rules_.MainFile()));
    mainLabel_->setVisible(rules_.MainFileShown());
    mainFile_->setVisible(rules_.MainFileShown());
    pageSize_->setVisible(rules_.PageSizeShown());
    html_->setVisible(rules_.HtmlOptionsShown());
    compiler_->setVisible(rules_.CompilerShown());
    width_->setValue(values.width);
    height_->setValue(values.height);
    top_->setValue(values.top);
    bottom_->setValue(values.bottom);
    left_->setValue(values.left);
    right_->setValue(values.right);
    runCompiler_->setChecked(values.runCompiler != 0);
    titleKeys_->setChecked(values.titlesAsKeywords != 0);
    registered_->setChecked(values.registeredCompiler != 0);
    filling_ = false;
    ShowList();
}

void ExportWindow::ShowList() {
    filling_ = true;
    list_->clear();
    for (const TListHtmlRow& row : rules_.List().Rows()) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, ToQString(row.caption));
        for (std::size_t c = 0; c < row.texts.size(); ++c)
            item->setText(int(c) + 1, ToQString(row.texts[c]));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, row.checked ? Qt::Checked : Qt::Unchecked);
    }
    all_->setText(ToQString(rules_.AllCaption()));
    filling_ = false;
}

void ExportWindow::TakeFields() {
    FormatSettings& values = rules_.Values();
    values.directory = ToCp1252(folder_->text());
    values.width = width_->value();
    values.height = height_->value();
    values.top = top_->value();
    values.bottom = bottom_->value();
    values.left = left_->value();
    values.right = right_->value();
    values.runCompiler = runCompiler_->isChecked() ? 1 : 0;
    values.titlesAsKeywords = titleKeys_->isChecked() ? 1 : 0;
    values.registeredCompiler = registered_->isChecked() ? 1 : 0;
    rules_.MainFile() = ToCp1252(mainFile_->text());
}

bool ExportWindow::ExportNow() {
    TakeFields();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Status done = rules_.Export([this](const std::string& text) {
        status_->setText(ToQString(text));
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    QApplication::restoreOverrideCursor();
    ShowRules();
    status_->setText(done ? QString() : ToQString(done.failure().text));
    return bool(done);
}

void ExportWindow::HtmlOptions(bool showModal) {
    HtmlOptionsWindow options(parts_.set, parts_.html, settings_, this);
    if (!showModal) {
        options.Confirm();
    } else if (options.exec() != QDialog::Accepted) {
        return;
    }
    TakeFields();
    rules_.HtmlOptionsConfirmed();
    ShowList();
}

QString ExportWindow::StatusText() const {
    return status_->text();
}

}  // namespace orvo
