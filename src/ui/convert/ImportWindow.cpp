// The import window's widgets; the rules are ImportWindowRules.
#include "ui/convert/ImportWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeView>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

#include "base/Cp1252.h"
#include "base/Paths.h"
#include "ui/QtConvert.h"

namespace orvo {

using namespace literals;

namespace {

template <class T>
T* Named(const char* name, QWidget* parent) {
    auto* widget = new T(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* Label(std::string_view text, QWidget* parent) {
    return new QLabel(ToQString(text), parent);
}

QCheckBox* Check(const char* name, std::string_view text, QWidget* parent) {
    auto* box = Named<QCheckBox>(name, parent);
    box->setText(ToQString(text));
    return box;
}

QPushButton* Button(const char* name, std::string_view text, QWidget* parent) {
    auto* button = Named<QPushButton>(name, parent);
    button->setText(ToQString(text));
    return button;
}

// Paths cross between Qt and the rules as Windows-1252 names.
std::string FromQtPath(const QString& path) {
    return NameOfPath(std::filesystem::path(path.toStdString()));
}
QString ToQtPath(const std::string& name) {
    return QString::fromStdString(NativePath(name).string());
}

std::vector<int> SelectedRows(const QList<QModelIndex>& indexes) {
    std::vector<int> rows;
    for (const QModelIndex& index : indexes)
        if (index.column() == 0) rows.push_back(index.row());
    return rows;
}

}  // namespace

ImportWindow::ImportWindow(ImportWindowParts parts, QWidget* parent)
    : QDialog(parent), rules_(std::make_unique<ImportWindowRules>(parts)) {
    setObjectName(QStringLiteral("Fimport"));
    setWindowTitle(ToQString(kImportCaption));
    setAcceptDrops(true);
    resize(720, 480);

    format_ = Named<QComboBox>("CBformato", this);
    for (const ImportFormat& f : rules_->Formats()) format_->addItem(ToQString(f.name), f.number);

    tabs_ = Named<QTabWidget>("PageControl1", this);
    // "Path": the browser, and the chosen files or the linked pages.
    auto* path = Named<QWidget>("TSpath", tabs_);
    auto* pathRow = new QHBoxLayout(path);
    auto* left = new QVBoxLayout;
    left->addWidget(Label("Directory:", path));
    model_ = new QFileSystemModel(this);
    model_->setRootPath(QStringLiteral("/"));
    model_->setNameFilterDisables(false);
    browser_ = Named<QTreeView>("FileListBox1", path);
    browser_->setModel(model_);
    browser_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (int column = 1; column < model_->columnCount(); ++column) browser_->hideColumn(column);
    browser_->header()->hide();
    left->addWidget(browser_);
    pathRow->addLayout(left, 1);
    auto* middle = new QVBoxLayout;
    middle->addStretch();
    QPushButton* add = Button("BAggiungi", ">>", path);
    QPushButton* remove = Button("BTogli", "<<", path);
    middle->addWidget(add);
    middle->addWidget(remove);
    middle->addStretch();
    pathRow->addLayout(middle);

    pathTabs_ = Named<QTabWidget>("PageControl2", path);
    auto* chosen = Named<QWidget>("TSfiles", pathTabs_);
    auto* chosenColumn = new QVBoxLayout(chosen);
    chosenColumn->addWidget(Label("Scegli uno o più files da importare:"_cp, chosen));
    files_ = Named<QTreeWidget>("LVfiles", chosen);
    files_->setHeaderLabels({ToQString("Nome")});
    files_->setRootIsDecorated(false);
    files_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    chosenColumn->addWidget(files_);
    pathTabs_->addTab(chosen, ToQString("Files"));

    auto* links = Named<QWidget>("TSlinks", pathTabs_);
    auto* linksColumn = new QVBoxLayout(links);
    auto* rootRow = new QHBoxLayout;
    rootRow->addWidget(Label("Parti da:", links));
    root_ = Named<QLineEdit>("Eroot", links);
    rootRow->addWidget(root_, 1);
    QPushButton* browseRoot = Button("Broot", "...", links);
    rootRow->addWidget(browseRoot);
    linksColumn->addLayout(rootRow);
    auto* levelRow = new QHBoxLayout;
    levelRow->addWidget(Label("Esamina n°"_cp, links));
    levels_ = Named<QSpinBox>("SElivelli", links);
    levels_->setRange(0, 200);
    levelRow->addWidget(levels_);
    auto* levelText = Label(
        "livelli, a partire dalla pagina originale (usare \"Determina lista\" per aggiornare).",
        links);
    levelText->setWordWrap(true);
    levelRow->addWidget(levelText, 1);
    linksColumn->addLayout(levelRow);
    auto* listRow = new QHBoxLayout;
    QPushButton* determine = Button("BDetermina", "Determina lista", links);
    listRow->addWidget(determine);
    listRow->addWidget(Label("Le pagine importate saranno:", links));
    linkedCount_ = Named<QLabel>("Lnum", links);
    listRow->addWidget(linkedCount_);
    listRow->addStretch();
    linksColumn->addLayout(listRow);
    linked_ = Named<QListWidget>("LBlinked", links);
    linked_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    linksColumn->addWidget(linked_);
    // Shown as the window has always shown them; no part of the import reads them.
    linksColumn->addWidget(Check("CBinterni", "Esamina solo collegamenti interni", links));
    linksColumn->addWidget(Check("CBimmagini", "Importa le immagini", links));
    pathTabs_->addTab(links, ToQString("Importa seguendo automaticamente i collegamenti"));
    pathRow->addWidget(pathTabs_, 2);
    tabs_->addTab(path, ToQString("Path"));

    // "Opzioni".
    auto* options = Named<QWidget>("TSopzioni", tabs_);
    auto* form = new QFormLayout(options);
    paragraphs_ = Named<QSpinBox>("SEparagrafi", options);
    paragraphs_->setRange(6, 300);
    form->addRow(Label("Max paragrafi per pagina:", options), paragraphs_);
    titleLevel_ = Named<QSpinBox>("SEtitoli", options);
    titleLevel_->setRange(1, 15);
    form->addRow(Label("ignora titoli di livello > a:", options), titleLevel_);
    summary_ = Check("CBsummary",
                     "usa i titoli nell' RTF per generare un indice e dividere in pagine", options);
    form->addRow(summary_);
    common_ = Check("CBcomune", "indice comune per tutti i files", options);
    form->addRow(common_);
    gif_ = Check("CBgif", "Converti in GIF tutte le immagini importate", options);
    form->addRow(gif_);
    colour_ = Named<QPushButton>("Bcolore", options);
    form->addRow(Label("Colore sfondo:", options), colour_);
    auto* pictureRow = new QHBoxLayout;
    usePicture_ = Check("CBimmagine", "Usa immagine come sfondo", options);
    pictureRow->addWidget(usePicture_);
    QPushButton* choosePicture = Button("Bimmagine", "...", options);
    pictureRow->addWidget(choosePicture);
    picture_ = Named<QLabel>("Limmagine", options);
    pictureRow->addWidget(picture_, 1);
    form->addRow(pictureRow);
    tabs_->addTab(options, ToQString("Opzioni"));

    status_ = Named<QLabel>("Lstatus", this);
    QPushButton* import = Button("BImporta", "&Importa", this);
    import->setDefault(true);
    QPushButton* close = Button("BChiudi", "&Chiudi", this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status_, 1);
    bottom->addWidget(import);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(format_);
    layout->addWidget(tabs_, 1);
    layout->addLayout(bottom);

    connect(format_, &QComboBox::activated, this, [this](int index) {
        WriteBack();
        rules_->ChooseFormat(format_->itemData(index).toInt());
        ShowFormat();
    });
    connect(add, &QPushButton::clicked, this, [this] { AddSelected(); });
    connect(browser_, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        if (!model_->isDir(index)) AddSelected();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        rules_->RemoveFiles(SelectedRows(files_->selectionModel()->selectedIndexes()));
        ShowFiles();
    });
    auto* deleteFiles = new QShortcut(QKeySequence::Delete, files_);
    deleteFiles->setContext(Qt::WidgetShortcut);
    connect(deleteFiles, &QShortcut::activated, remove, &QPushButton::click);
    auto* deleteLinked = new QShortcut(QKeySequence::Delete, linked_);
    deleteLinked->setContext(Qt::WidgetShortcut);
    connect(deleteLinked, &QShortcut::activated, this, [this] {
        rules_->RemoveLinked(SelectedRows(linked_->selectionModel()->selectedIndexes()));
        ShowLinked();
    });
    connect(browseRoot, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(
            this, ToQString("Parti da:"), ToQtPath(rules_->Values().impPathInWindow),
            QStringLiteral("HTML (*.htm *.html)"));
        if (!file.isEmpty()) root_->setText(ToQString(FromQtPath(file)));
    });
    connect(determine, &QPushButton::clicked, this, [this] { PressDetermine(); });
    connect(colour_, &QPushButton::clicked, this, [this] {
        const QColor chosen =
            QColorDialog::getColor(ToQColor(rules_->backgroundColour), this, QString());
        if (!chosen.isValid()) return;
        rules_->backgroundColour =
            std::int32_t(chosen.red() | (chosen.green() << 8) | (chosen.blue() << 16));
        ShowBackground();
    });
    connect(choosePicture, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(
            this, ToQString("Usa immagine come sfondo"), QString(),
            QStringLiteral("Immagini (*.gif *.jpg *.jpeg *.png *.bmp)"));
        if (file.isEmpty()) return;
        rules_->backgroundPicture = FromQtPath(file);
        usePicture_->setChecked(true);
        ShowBackground();
    });
    connect(import, &QPushButton::clicked, this, [this] { PressImport(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    ShowFormat();
    ShowBackground();
}

ImportWindow::~ImportWindow() {
    WriteBack();
}

void ImportWindow::OpenOn(const std::string& file) {
    rules_->Open(file);
    ShowFormat();
}

void ImportWindow::OpenOnLinks(const std::string& root) {
    rules_->ChooseFormat(0);
    rules_->root = root;
    ShowFormat();
    root_->setText(ToQString(root));
    pathTabs_->setCurrentIndex(1);
    PressDetermine();
}

void ImportWindow::ShowFormat() {
    const ImportWindowSettings& v = rules_->Values();
    for (int i = 0; i < format_->count(); ++i)
        if (format_->itemData(i).toInt() == rules_->Format()) format_->setCurrentIndex(i);
    QStringList patterns;
    for (const std::string& p : rules_->BrowserPatterns()) patterns << QString::fromStdString(p);
    model_->setNameFilters(patterns);
    const QModelIndex folder = model_->index(ToQtPath(v.impPathInWindow));
    if (folder.isValid()) {
        browser_->setCurrentIndex(folder);
        browser_->expand(folder);
        browser_->scrollTo(folder, QAbstractItemView::PositionAtTop);
    }
    pathTabs_->setTabVisible(1, rules_->LinksShown());
    if (!rules_->LinksShown()) pathTabs_->setCurrentIndex(0);
    paragraphs_->setValue(ParseSettingInt(v.numParPerPag).value_or(100));
    titleLevel_->setValue(ParseSettingInt(v.titLevel).value_or(4));
    summary_->setChecked(v.summary);
    common_->setChecked(v.comune);
    gif_->setChecked(v.allToGif);
    for (QWidget* w : std::initializer_list<QWidget*>{paragraphs_, titleLevel_, summary_, common_})
        w->setEnabled(rules_->RtfOptionsShown());
    root_->setText(ToQString(rules_->root));
    levels_->setValue(rules_->levels);
    ShowFiles();
    ShowLinked();
}

void ImportWindow::ShowFiles() {
    files_->clear();
    for (const std::string& file : rules_->Files())
        files_->addTopLevelItem(new QTreeWidgetItem(QStringList{ToQString(file)}));
}

void ImportWindow::ShowLinked() {
    linked_->clear();
    for (const std::string& file : rules_->Linked()) linked_->addItem(ToQString(file));
    linkedCount_->setText(ToQString(rules_->LinkedCount()));
}

void ImportWindow::ShowBackground() {
    const QColor c = ToQColor(rules_->backgroundColour);
    colour_->setText(c.name());
    colour_->setStyleSheet(QStringLiteral("background-color: %1").arg(c.name()));
    picture_->setText(ToQString(rules_->backgroundPicture));
}

void ImportWindow::WriteBack() {
    ImportWindowSettings& v = rules_->Values();
    const QString folder = model_->filePath(browser_->currentIndex());
    if (!folder.isEmpty())
        v.impPathInWindow =
            FromQtPath(model_->isDir(browser_->currentIndex()) ? folder : QFileInfo(folder).path());
    v.numParPerPag = std::to_string(paragraphs_->value());
    v.titLevel = std::to_string(titleLevel_->value());
    v.summary = summary_->isChecked();
    v.comune = common_->isChecked();
    v.allToGif = gif_->isChecked();
    rules_->root = ToCp1252(root_->text());
    rules_->levels = levels_->value();
    rules_->linksActive = rules_->LinksShown() && pathTabs_->currentIndex() == 1;
    rules_->usePicture = usePicture_->isChecked();
}

std::string ImportWindow::BrowserSelection() const {
    const QModelIndex index = browser_->currentIndex();
    if (!index.isValid() || model_->isDir(index)) return {};
    return FromQtPath(model_->filePath(index));
}

void ImportWindow::AddSelected() {
    for (const QModelIndex& index : browser_->selectionModel()->selectedRows())
        if (!model_->isDir(index)) rules_->AddFile(FromQtPath(model_->filePath(index)));
    ShowFiles();
}

void ImportWindow::PressDetermine() {
    WriteBack();
    rules_->DetermineList();
    ShowLinked();
}

void ImportWindow::PressImport() {
    WriteBack();
    const Outcome outcome = rules_->Import(BrowserSelection(), [this](const std::string& text) {
        status_->setText(ToQString(text));
        // The label is painted between files.
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    status_->clear();
    if (outcome != Outcome::Done) return;
    result_ = Outcome::Done;
    accept();
}

void ImportWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void ImportWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> dropped;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) dropped.push_back(FromQtPath(url.toLocalFile()));
    if (rules_->Drop(dropped) > 0) {
        ShowFormat();
        pathTabs_->setCurrentIndex(0);
    }
    event->acceptProposedAction();
}

}  // namespace orvo
