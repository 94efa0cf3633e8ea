// The publishing window's widgets.
#include "ui/app/PublishWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <array>
#include <filesystem>

#include "base/Paths.h"
#include "convert/HtmlExport.h"
#include "model/uKYTset.h"
#include "ui/QtConvert.h"

namespace orvo {

namespace {

constexpr std::array<std::string_view, 7> kItemColumns{
    "Titolo", "Dimensione", "Tipo", "File", "Dimensione", "File per frame", "Versione"};
constexpr std::array<std::string_view, 4> kRemoteColumns{"Nome", "Dimensione", "Tipo",
                                                         "Modificato"};

QTreeWidget* NewList(const char* name, const auto& columns, QWidget* parent) {
    auto* list = Named<QTreeWidget>(name, parent);
    list->setRootIsDecorated(false);
    QStringList headers;
    for (std::string_view column : columns) headers << ToQString(column);
    list->setHeaderLabels(headers);
    return list;
}

}  // namespace

void QtEventPump::RunUntil(const std::function<bool()>& done) {
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (!done()) QThread::msleep(2);
    }
}

// ---------------------------------------------------------------------------------------------
// The window

PublishWindow::PublishWindow(PublishWindowParts parts, QWidget* parent)
    : PlacedDialog("FpubFtp", parts.settings, parent),
      parts_(parts),
      bar_(parts.scheduler, pump_),
      list_(&parts.html) {
    publisher_ = std::make_unique<Publisher>(parts.set, parts.holders, parts.html, list_,
                                             bar_.Comm(), parts.settings, parts.messages);
    publisher_->SaveDocument = parts.save;
    publisher_->OnRunning = [this](bool running) { Busy(running); };
    publisher_->OnExportProgress = [this](const std::string& text) {
        status_->setText(ToQString(text));
    };
    bar_.OnRefresh = [this] { ShowBar(); };

    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    // "Pubblica": the items of the exported site.
    auto* publish = Named<QWidget>("TSpubblica");
    auto* publishLayout = new QVBoxLayout(publish);
    items_ = NewList("ListaPub", kItemColumns, publish);
    publishLayout->addWidget(items_, 1);
    auto* choose = new QHBoxLayout;
    QPushButton* changed = NamedButton("BModificate", publish);
    all_ = NamedButton("BTutte", publish);
    autoChoose_ = NamedCheck("CBautoChoose", publish);
    QPushButton* options = NamedButton("BOpzioni", publish);
    QPushButton* publishButton = NamedButton("BPubblica", publish);
    choose->addWidget(changed);
    choose->addWidget(all_);
    choose->addWidget(autoChoose_);
    choose->addStretch();
    choose->addWidget(options);
    choose->addWidget(publishButton);
    publishLayout->addLayout(choose);
    version_ = Named<QLabel>("Lversione", publish);
    address_ = Named<QLabel>("Lindirizzo", publish);
    address_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    publishLayout->addWidget(version_);
    publishLayout->addWidget(address_);
    tabs_->addTab(publish, QString());

    // "Server": the configurations.
    auto* server = Named<QWidget>("TSserver");
    auto* serverLayout = new QVBoxLayout(server);
    auto* configRow = new QHBoxLayout;
    configRow->addWidget(NamedLabel("Lconf", server));
    configurations_ = Named<QComboBox>("CBconf", server);
    configRow->addWidget(configurations_, 1);
    QPushButton* add = NamedButton("BNuovaConf", server);
    QPushButton* rename = NamedButton("BRinomina", server);
    configRow->addWidget(add);
    configRow->addWidget(rename);
    serverLayout->addLayout(configRow);
    auto* form = new QFormLayout;
    server_ = Named<QLineEdit>("EDserver", server);
    port_ = Named<QSpinBox>("SEporta", server);
    port_->setRange(1, 65535);
    user_ = Named<QLineEdit>("EDuser", server);
    pass_ = Named<QLineEdit>("EDpass", server);
    pass_->setEchoMode(QLineEdit::Password);
    savePass_ = NamedCheck("CBsavePass", server);
    baseDir_ = Named<QLineEdit>("EDbaseDir", server);
    www_ = Named<QLineEdit>("EDweb", server);
    timeout_ = Named<QSpinBox>("SEtimeout", server);
    timeout_->setRange(1, 3600);
    form->addRow(NamedLabel("Lserver", server), server_);
    form->addRow(NamedLabel("Lporta", server), port_);
    form->addRow(NamedLabel("Luser", server), user_);
    form->addRow(NamedLabel("Lpass", server), pass_);
    form->addRow(QString(), savePass_);
    form->addRow(NamedLabel("LbaseDir", server), baseDir_);
    form->addRow(NamedLabel("Lweb", server), www_);
    form->addRow(NamedLabel("Ltimeout", server), timeout_);
    serverLayout->addLayout(form);
    auto* serverButtons = new QHBoxLayout;
    QPushButton* apply = NamedButton("BApplica", server);
    QPushButton* connectButton = NamedButton("BConnetti", server);
    serverButtons->addStretch();
    serverButtons->addWidget(apply);
    serverButtons->addWidget(connectButton);
    serverLayout->addLayout(serverButtons);
    serverLayout->addStretch();
    tabs_->addTab(server, QString());

    // "Documento": the document's folder, sent and fetched file by file.
    auto* document = Named<QWidget>("TSdocumento");
    auto* documentLayout = new QHBoxLayout(document);
    local_ = Named<QListWidget>("LBlocali", document);
    local_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    documentLayout->addWidget(local_, 1);
    auto* transfer = new QVBoxLayout;
    QPushButton* send = NamedButton("BInvia", document);
    QPushButton* fetch = NamedButton("BPrendi", document);
    transfer->addStretch();
    transfer->addWidget(send);
    transfer->addWidget(fetch);
    transfer->addStretch();
    documentLayout->addLayout(transfer);
    tabs_->addTab(document, QString());
    layout->addWidget(tabs_, 3);

    // The server's folder, under every tab.
    auto* browserBar = new QHBoxLayout;
    directory_ = Named<QLabel>("Ldirectory", this);
    QPushButton* up = NamedButton("BSu", this);
    QPushButton* newFolder = NamedButton("BNuovaDir", this);
    QPushButton* remove = NamedButton("BCancella", this);
    QPushButton* reload = NamedButton("BRicarica", this);
    browserBar->addWidget(directory_, 1);
    for (QPushButton* b : {up, newFolder, remove, reload}) browserBar->addWidget(b);
    layout->addLayout(browserBar);
    remote_ = NewList("ListaFtp", kRemoteColumns, this);
    remote_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    remote_->setEditTriggers(QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::SelectedClicked);
    remote_->header()->setSectionsClickable(true);
    layout->addWidget(remote_, 2);

    // The progress bar with its stop button, shown while an operation runs.
    barPanel_ = new QWidget(this);
    auto* barLayout = new QHBoxLayout(barPanel_);
    barLayout->setContentsMargins(0, 0, 0, 0);
    stop_ = NamedButton("BStop", barPanel_);
    gauge_ = new QProgressBar(barPanel_);
    barLabel_ = new QLabel(barPanel_);
    barLayout->addWidget(stop_);
    barLayout->addWidget(gauge_, 1);
    barLayout->addWidget(barLabel_, 1);
    barPanel_->hide();
    layout->addWidget(barPanel_);
    auto* bottom = new QHBoxLayout;
    status_ = Named<QLabel>("Lstatus", this);
    QPushButton* close = NamedButton("BChiudi", this);
    bottom->addWidget(status_, 1);
    bottom->addWidget(close);
    layout->addLayout(bottom);
    busyDisabled_ = {publishButton,   send,  fetch, apply,     connectButton, add,   rename,
                     configurations_, pass_, up,    newFolder, remove,        reload};
    resize(820, 640);
    LocalizeFromBlock(*this);
    RestoreWindowPlacement(*this, settings_);

    connect(changed, &QPushButton::clicked, this, [this] { ChooseChanged(); });
    connect(all_, &QPushButton::clicked, this, [this] { ToggleAll(); });
    connect(autoChoose_, &QCheckBox::toggled, this,
            [this](bool on) { publisher_->SetAutoChoose(on); });
    connect(publishButton, &QPushButton::clicked, this, [this] {
        if (mode_ == PublishMode::TransferDocument) {
            publisher_->TransferDocument();
            ShowRemote();
            ShowStatus();
        } else {
            PublishNow();
        }
    });
    connect(options, &QPushButton::clicked, this, [this] {
        if (!publisher_->ExportSite()) return;
        ShowItems();
    });
    connect(items_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
        if (filling_) return;
        const int row = items_->indexOfTopLevelItem(item);
        auto& rows = list_.MutableRows();
        if (row >= 0 && std::size_t(row) < rows.size())
            rows[std::size_t(row)].checked = item->checkState(0) == Qt::Checked;
    });
    connect(configurations_, &QComboBox::activated, this, [this](int index) {
        TakeFields();
        publisher_->SelectConfiguration(index);
        ShowFields();
        ShowRemote();
        ShowStatus();
    });
    connect(add, &QPushButton::clicked, this, [this] {
        bool ok = false;
        const QString name = QInputDialog::getText(this, ToQString(kPromptCaption),
                                                   ToQString(kNewConfigurationPrompt),
                                                   QLineEdit::Normal, QString(), &ok);
        if (!ok) return;
        TakeFields();
        if (publisher_->AddConfiguration(ToCp1252(name))) ShowFields();
    });
    connect(rename, &QPushButton::clicked, this, [this] {
        bool ok = false;
        const std::string current =
            publisher_->ConfigurationNames()[std::size_t(publisher_->Selected())];
        const QString name = QInputDialog::getText(this, ToQString(kPromptCaption),
                                                   ToQString(RenameConfigurationPrompt(current)),
                                                   QLineEdit::Normal, ToQString(current), &ok);
        if (ok && publisher_->RenameCurrent(ToCp1252(name))) ShowFields();
    });
    connect(apply, &QPushButton::clicked, this, [this] {
        TakeFields();
        publisher_->ApplyConfiguration();
        ShowRemote();
        ShowStatus();
    });
    connect(connectButton, &QPushButton::clicked, this, [this] { ConnectNow(); });
    connect(send, &QPushButton::clicked, this, [this] {
        std::vector<std::string> files;
        const QString folder = local_->property("folder").toString();
        for (QListWidgetItem* item : local_->selectedItems())
            files.push_back(ToCp1252(QDir(folder).filePath(item->text())));
        SendFiles(files);
    });
    connect(fetch, &QPushButton::clicked, this, [this] { FetchSelected(); });
    connect(up, &QPushButton::clicked, this, [this] { GoUp(); });
    connect(newFolder, &QPushButton::clicked, this, [this] {
        bool ok = false;
        const QString name = QInputDialog::getText(this, ToQString(kPromptCaption), QString(),
                                                   QLineEdit::Normal, QString(), &ok);
        if (ok && !name.isEmpty()) MakeFolder(ToCp1252(name));
    });
    connect(remove, &QPushButton::clicked, this, [this] { DeleteSelected(); });
    connect(reload, &QPushButton::clicked, this, [this] {
        publisher_->Reload();
        ShowRemote();
        ShowItems();
        ShowStatus();
    });
    connect(remote_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) {
        if (item->text(2) == QStringLiteral("Directory")) OpenFolder(ToCp1252(item->text(0)));
    });
    connect(remote_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (filling_ || column != 0) return;
        const std::string old = ToCp1252(item->data(0, Qt::UserRole).toString());
        const std::string now = ToCp1252(item->text(0));
        if (old != now) RenameRemote(old, now);
    });
    connect(remote_->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        sort_ = SortForListingColumn(column);
        ShowRemote();
    });
    connect(stop_, &QPushButton::clicked, this, [this] { StopNow(); });
    connect(close, &QPushButton::clicked, this, [this] {
        TakeFields();
        if (!publisher_->RequestClose()) return;
        publisher_->CloseButton();
        accept();
    });
}

PublishWindow::~PublishWindow() {
    if (bar_.Comm().Busy()) bar_.Comm().StopOperation();
    (void)bar_.Comm().RunCloseSession();
}

Status PublishWindow::Open(PublishMode mode) {
    mode_ = mode;
    if (mode == PublishMode::Publish) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        Status exported = publisher_->ExportSite();
        QApplication::restoreOverrideCursor();
        if (!exported) return exported;
    }
    publisher_->Start(mode);
    autoChoose_->setChecked(publisher_->AutoChoose());
    // The tab of the mode: the configurations alone in mode 3.
    tabs_->setTabVisible(0, mode == PublishMode::Publish || mode == PublishMode::Unused);
    tabs_->setTabVisible(2, mode == PublishMode::TransferDocument);
    tabs_->setCurrentIndex(mode == PublishMode::Configurations     ? 1
                           : mode == PublishMode::TransferDocument ? 2
                                                                   : 0);
    ShowLocal();
    ShowFields();
    ShowItems();
    return Status::Ok();
}

void PublishWindow::showEvent(QShowEvent* event) {
    PlacedDialog::showEvent(event);
    QTimer::singleShot(0, this, [this] {
        if (!connectStarted_ && !bar_.Comm().Busy()) ConnectNow();
    });
}

int PublishWindow::ConnectNow() {
    connectStarted_ = true;
    TakeFields();
    const int result = publisher_->Connect();
    ShowRemote();
    ShowItems();
    ShowStatus();
    return result;
}

int PublishWindow::PublishNow() {
    TakeFields();
    const int result = publisher_->Publish();
    ShowRemote();
    ShowItems();
    ShowStatus();
    return result;
}

void PublishWindow::StopNow() {
    bar_.StopClick();
    publisher_->Stop();
    ShowStatus();
}

void PublishWindow::ChooseChanged() {
    publisher_->ChooseChanged();
    ShowItems();
}

void PublishWindow::ToggleAll() {
    publisher_->ToggleAll();
    ShowItems();
}

int PublishWindow::GoUp() {
    if (bar_.Comm().Busy() || publisher_->Directory() == "/") return TQzFtpComm::kNotStarted;
    const int result = publisher_->ChangeDirectory(ParentDirectory(publisher_->Directory()));
    ShowRemote();
    ShowItems();
    return result;
}

int PublishWindow::OpenFolder(const std::string& name) {
    if (bar_.Comm().Busy()) return TQzFtpComm::kNotStarted;
    const int result = publisher_->ChangeDirectory(ChildDirectory(publisher_->Directory(), name));
    ShowRemote();
    ShowItems();
    return result;
}

int PublishWindow::MakeFolder(const std::string& name) {
    const int result = bar_.Comm().RunMakeDir(publisher_->Directory() + name);
    publisher_->Reload();
    ShowRemote();
    return result;
}

int PublishWindow::RenameRemote(const std::string& oldName, const std::string& newName) {
    const int result =
        bar_.Comm().RunRename(publisher_->Directory() + oldName, publisher_->Directory() + newName);
    publisher_->Reload();  // a refused name shows its old name again
    ShowRemote();
    return result;
}

int PublishWindow::DeleteSelected() {
    int result = TQzFtpComm::kSuccess;
    std::vector<std::pair<std::string, bool>> chosen;
    for (QTreeWidgetItem* item : remote_->selectedItems())
        chosen.emplace_back(ToCp1252(item->text(0)), item->text(2) == QStringLiteral("Directory"));
    for (const auto& [name, folder] : chosen) {
        // Each entry is asked about before it goes; one answered "No" stays on the server.
        if (!parts_.messages.Ask("Cancello " + name + "?")) continue;
        const std::string path = publisher_->Directory() + name;
        const int done = folder ? bar_.Comm().RunRemoveDir(path) : bar_.Comm().RunDelete(path);
        if (done != TQzFtpComm::kSuccess) result = done;
    }
    publisher_->Reload();
    ShowRemote();
    return result;
}

int PublishWindow::SendFiles(const std::vector<std::string>& files) {
    TakeFields();
    const int result = publisher_->SendFiles(files);
    ShowRemote();
    ShowStatus();
    return result;
}

int PublishWindow::FetchSelected() {
    std::vector<std::string> names;
    for (QTreeWidgetItem* item : remote_->selectedItems())
        if (item->text(2) == QStringLiteral("File")) names.push_back(ToCp1252(item->text(0)));
    const QString folder = local_->property("folder").toString();
    const int result = publisher_->FetchFiles(names, std::filesystem::path(folder.toStdString()));
    ShowStatus();
    ShowLocal();
    return result;
}

QString PublishWindow::StatusText() const {
    return status_->text();
}

void PublishWindow::reject() {
    TakeFields();
    if (!publisher_->RequestClose()) return;
    QDialog::reject();
}

void PublishWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier &&
        QApplication::focusWidget() == remote_) {
        DeleteSelected();
        return;
    }
    PlacedDialog::keyPressEvent(event);
}

void PublishWindow::ShowLocal() {
    const std::string document = parts_.set.KYTFileName();
    const QString folder = QString::fromStdString(NativePath(document).parent_path().string());
    local_->setProperty("folder", folder);
    local_->clear();
    const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
    for (const QString& file : files) {
        auto* item = new QListWidgetItem(file, local_);
        if (QDir(folder).filePath(file) == QString::fromStdString(NativePath(document).string()))
            item->setSelected(true);
    }
}

void PublishWindow::ShowFields() {
    filling_ = true;
    configurations_->clear();
    for (const std::string& name : publisher_->ConfigurationNames())
        configurations_->addItem(ToQString(name));
    configurations_->setCurrentIndex(publisher_->Selected());
    const FtpServerConfig& f = publisher_->Fields();
    server_->setText(ToQString(f.server));
    port_->setValue(f.port);
    user_->setText(ToQString(f.user));
    pass_->setText(ToQString(f.pass));
    savePass_->setChecked(f.savePass);
    baseDir_->setText(ToQString(f.BaseDir));
    www_->setText(ToQString(f.www));
    timeout_->setValue(f.timeout);
    address_->setText(ToQString(publisher_->PageAddress()));
    filling_ = false;
}

void PublishWindow::TakeFields() {
    FtpServerConfig& f = publisher_->Fields();
    f.server = ToCp1252(server_->text());
    f.port = port_->value();
    f.user = ToCp1252(user_->text());
    f.pass = ToCp1252(pass_->text());
    f.savePass = savePass_->isChecked();
    f.BaseDir = ToCp1252(baseDir_->text());
    f.www = ToCp1252(www_->text());
    f.timeout = timeout_->value();
}

void PublishWindow::ShowItems() {
    filling_ = true;
    items_->clear();
    for (const TListHtmlRow& row : list_.Rows()) {
        auto* item = new QTreeWidgetItem(items_);
        item->setText(0, ToQString(row.caption));
        for (std::size_t c = 0; c < row.texts.size(); ++c)
            item->setText(int(c) + 1, ToQString(row.texts[c]));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, row.checked ? Qt::Checked : Qt::Unchecked);
    }
    all_->setText(ToQString(publisher_->AllCaption()));
    version_->setText(ToQString(publisher_->VersionLabel()));
    filling_ = false;
}

void PublishWindow::ShowRemote() {
    filling_ = true;
    remote_->clear();
    directory_->setText(ToQString(publisher_->Fields().server + ":" + publisher_->Directory()));
    for (const T_Filedata& entry : SortedListing(publisher_->RemoteEntries(), sort_)) {
        const auto texts = ListingTexts(entry);
        auto* item = new QTreeWidgetItem(remote_);
        for (std::size_t c = 0; c < texts.size(); ++c) item->setText(int(c), ToQString(texts[c]));
        item->setData(0, Qt::UserRole, ToQString(entry.name));
        item->setIcon(
            0, style()->standardIcon(entry.kind == T_Filedata::kDirectory ? QStyle::SP_DirIcon
                                                                          : QStyle::SP_FileIcon));
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    filling_ = false;
}

void PublishWindow::ShowBar() {
    barPanel_->setVisible(bar_.Visible());
    stop_->setText(ToQString(bar_.StopCaption()));
    gauge_->setVisible(bar_.GaugeShown());
    gauge_->setValue(bar_.Gauge());
    barLabel_->setText(ToQString(bar_.StatusLabel()));
}

void PublishWindow::ShowStatus() {
    std::string text = publisher_->StatusText();
    if (!publisher_->Detail().empty()) text += ": " + publisher_->Detail();
    status_->setText(ToQString(text));
}

void PublishWindow::Busy(bool running) {
    for (QWidget* w : busyDisabled_) w->setEnabled(!running);
    barPanel_->setVisible(running);
}

// ---------------------------------------------------------------------------------------------
// The wizard

PublishWizard::PublishWizard(ISettings& settings, QWidget* parent)
    : PlacedDialog("FwizCollF", settings, parent), rules_(settings) {
    auto* layout = new QVBoxLayout(this);
    QLabel* intro = NamedLabel("Lintro", this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* form = new QFormLayout;
    user_ = Named<QLineEdit>("EDuser", this);
    pass_ = Named<QLineEdit>("EDpass", this);
    pass_->setEchoMode(QLineEdit::Password);
    server_ = Named<QLineEdit>("EDserver", this);
    baseDir_ = Named<QLineEdit>("EDbaseDir", this);
    www_ = Named<QLineEdit>("EDweb", this);
    form->addRow(NamedLabel("Luser", this), user_);
    form->addRow(NamedLabel("Lpass", this), pass_);
    form->addRow(NamedLabel("Lserver", this), server_);
    form->addRow(NamedLabel("LbaseDir", this), baseDir_);
    form->addRow(NamedLabel("Lweb", this), www_);
    layout->addLayout(form);
    auto* buttons = new QHBoxLayout;
    QPushButton* skip = NamedButton("BTralascia", this);
    QPushButton* ok = NamedButton("BOk", this);
    buttons->addStretch();
    buttons->addWidget(skip);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    LocalizeFromBlock(*this);
    RestoreWindowPlacement(*this, settings_);
    baseDir_->setText(ToQString(answers_.baseDir));
    www_->setText(ToQString(answers_.www));
    connect(ok, &QPushButton::clicked, this, [this] {
        if (Confirm())
            accept();
        else
            QApplication::beep();
    });
    connect(skip, &QPushButton::clicked, this, &QDialog::reject);
}

void PublishWizard::TakeFields() {
    answers_.user = ToCp1252(user_->text());
    answers_.password = ToCp1252(pass_->text());
    answers_.server = ToCp1252(server_->text());
    answers_.baseDir = ToCp1252(baseDir_->text());
    answers_.www = ToCp1252(www_->text());
}

bool PublishWizard::Confirm() {
    TakeFields();
    return rules_.Ok(answers_);
}

}  // namespace orvo
