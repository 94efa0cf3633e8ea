// The print window's widgets; every rule is in TFprintRules.
#include "ui/print/TFprint.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/u3Utils.h"
#include "base/Cp1252.h"
#include "model/HeaderRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/ISettings.h"
#include "textbox/PageLinks.h"
#include "textbox/TPageSetupDialog.h"
#include "ui/QtConvert.h"
#include "ui/print/QtPrinterDevice.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo {

namespace {
QString Q(std::string_view cp1252) {
    return ToQString(cp1252);
}
QPushButton* Button(std::string_view text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(Q(text), parent);
    button->setObjectName(name);
    return button;
}
}  // namespace

TFprint::TFprint(TKYTset& set, ISettings& settings, TPageSetupDialog& setup,
                 std::int32_t currentPage, QWidget* parent)
    : QDialog(parent),
      set_(set),
      settings_(settings),
      setup_(setup),
      currentPage_(currentPage),
      rules_(set),
      order_(&set, TOggettiHel::testoHtml) {
    setWindowTitle(Q("Stampa"));
    setObjectName("TFprint");
    auto* tabs = new QTabWidget(this);

    // "Stampa pagine": the list on the left, the preview on the right.
    auto* pagesTab = new QWidget;
    auto* pagesLayout = new QHBoxLayout(pagesTab);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(Q("Pagine da stampare:")));
    list_ = new QTreeWidget;
    list_->setObjectName("Pagine");
    list_->setHeaderLabels({Q("Nome")});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    left->addWidget(list_);
    struct Action {
        std::string_view text;
        const char* name;
        void (TFprint::*run)();
    };
    for (const Action& a :
         {Action{"Tutte, in ordine predefinito", "BTutte", &TFprint::AllInDefaultOrder},
          Action{"Corrente", "BCorrente", &TFprint::AddCurrent},
          Action{"Aggiungi pagina a destra", "BAggiungi", &TFprint::AddPreviewed},
          Action{"Sposta prima", "BPrima", &TFprint::MoveSelectedUp},
          Action{"Sposta dopo", "BDopo", &TFprint::MoveSelectedDown},
          Action{"Cestina selezionata", "BCestina", &TFprint::RemoveSelected}}) {
        QPushButton* button = Button(a.text, a.name, pagesTab);
        connect(button, &QPushButton::clicked, this, a.run);
        left->addWidget(button);
    }
    addNavigated_ = new QCheckBox(Q("Aggiungi in lista tutte le pagine toccate navigando"));
    addNavigated_->setChecked(true);
    previewOnClick_ = new QCheckBox(Q("preview al clic sulla lista"));
    previewOnClick_->setChecked(settings_.ReadString(keys::kOptions, keys::kClicPrintPrev) != "0");
    left->addWidget(addNavigated_);
    left->addWidget(previewOnClick_);
    pagesLayout->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    auto* navigation = new QHBoxLayout;
    QPushButton* back = Button("Indietro", "BIndietro", pagesTab);
    QPushButton* cover = Button("Copertina", "BCopertina", pagesTab);
    QPushButton* contents = Button("Sommario", "BSommario", pagesTab);
    QPushButton* edited = Button("Pagina in modifica", "BInModifica", pagesTab);
    for (QPushButton* b : {back, cover, contents, edited}) navigation->addWidget(b);
    right->addLayout(navigation);
    preview_ = new PageViewWidget(set_);
    preview_->setMinimumSize(320, 360);
    preview_->Surface()->installEventFilter(this);
    right->addWidget(preview_, 1);
    pagesLayout->addLayout(right, 2);
    connect(back, &QPushButton::clicked, this, [this] {
        if (history_.size() < 2) return;
        history_.pop_back();
        const std::int32_t page = history_.back();
        history_.pop_back();
        Preview(page, false);
    });
    connect(cover, &QPushButton::clicked, this,
            [this] { Preview(set_.HeaderView().I32(kHdrCoverPage), true); });
    connect(contents, &QPushButton::clicked, this,
            [this] { Preview(set_.HeaderView().I32(kHdrContentsPage), true); });
    connect(edited, &QPushButton::clicked, this, [this] { Preview(currentPage_, true); });
    connect(list_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        if (previewOnClick_->isChecked()) Preview(item->data(0, Qt::UserRole).toInt(), false);
    });
    tabs->addTab(pagesTab, Q("Stampa pagine"));

    // "Ordine predefinito": the page tree, whose order "Tutte, in ordine predefinito" follows.
    auto* orderTab = new QWidget;
    auto* orderLayout = new QVBoxLayout(orderTab);
    orderTree_ = new QTreeWidget;
    orderTree_->setObjectName("Ordine");
    orderTree_->setHeaderHidden(true);
    orderLayout->addWidget(orderTree_);
    auto* orderButtons = new QHBoxLayout;
    QPushButton* up = Button("Sposta su", "BOrdineSu", orderTab);
    QPushButton* down = Button("Sposta gi\xF9", "BOrdineGiu", orderTab);
    orderButtons->addWidget(up);
    orderButtons->addWidget(down);
    orderLayout->addLayout(orderButtons);
    auto moveNode = [this](bool upwards) {
        QTreeWidgetItem* item = orderTree_->currentItem();
        if (!item) return;
        auto* node = static_cast<TreeNode*>(item->data(0, Qt::UserRole).value<void*>());
        order_.Select(node);
        if (upwards ? order_.MoveUp() : order_.MoveDown()) FillOrder();
    };
    connect(up, &QPushButton::clicked, this, [moveNode] { moveNode(true); });
    connect(down, &QPushButton::clicked, this, [moveNode] { moveNode(false); });
    tabs->addTab(orderTab, Q("Ordine predefinito"));

    // "Opzioni".
    auto* optionsTab = new QWidget;
    auto* optionsLayout = new QVBoxLayout(optionsTab);
    background_ = new QCheckBox(Q("sfondo"));
    tableBackground_ = new QCheckBox(Q("sfondo tabelle"));
    optionsLayout->addWidget(background_);
    optionsLayout->addWidget(tableBackground_);
    auto* scaleRow = new QHBoxLayout;
    scaleRow->addWidget(new QLabel(Q("Scala immagini:")));
    scale_ = new QSpinBox;
    scale_->setRange(20, 20000);
    scale_->setValue(2500);
    scaleRow->addWidget(scale_);
    optionsLayout->addLayout(scaleRow);
    auto* printerRow = new QHBoxLayout;
    printerRow->addWidget(new QLabel(Q("Stampante:")));
    printer_ = new QComboBox;
    for (const QString& name : QPrinterInfo::availablePrinterNames()) printer_->addItem(name);
    printer_->addItem(Q("File PDF"));
    printerRow->addWidget(printer_);
    optionsLayout->addLayout(printerRow);
    pdfFile_ = new QLineEdit(QDir::home().filePath("stampa.pdf"));
    optionsLayout->addWidget(pdfFile_);
    noPrinter_ = new QLabel(Q(kPrintToPdfOnly));
    noPrinter_->setVisible(!QtPrinterDevice::SystemHasPrinters());
    optionsLayout->addWidget(noPrinter_);
    optionsLayout->addStretch();
    auto pdfChosen = [this] {
        pdfFile_->setEnabled(printer_->currentIndex() == printer_->count() - 1);
    };
    connect(printer_, &QComboBox::currentIndexChanged, this, pdfChosen);
    pdfChosen();
    tabs->addTab(optionsTab, Q("Opzioni"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(noPrinter_->isVisible() ? new QLabel(Q(kPrintToPdfOnly)) : new QLabel);
    layout->addWidget(tabs, 1);
    progress_ = new QProgressBar;
    progress_->setVisible(false);
    layout->addWidget(progress_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    print_ = Button("&Stampa", "BStampa", this);
    QPushButton* cancel = Button("A&nnulla", "BAnnulla", this);
    buttons->addWidget(print_);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(print_, &QPushButton::clicked, this, [this] { PrintList(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    order_.LoadTree();
    FillOrder();
    Preview(currentPage_ >= 0 ? currentPage_ : set_.HeaderView().I32(kHdrCoverPage), false);
    resize(880, 600);
}

TFprint::~TFprint() = default;

void TFprint::done(int result) {
    settings_.WriteFlag(keys::kOptions, keys::kClicPrintPrev, previewOnClick_->isChecked());
    QDialog::done(result);
}

void TFprint::Refill() {
    list_->clear();
    for (const TFprintRules::Item& item : rules_.Items()) {
        auto* row = new QTreeWidgetItem(list_, {Q(item.name)});
        row->setData(0, Qt::UserRole, item.page);
    }
}

void TFprint::FillOrder() {
    orderTree_->clear();
    std::vector<QTreeWidgetItem*> parents;
    order_.Nodes().ForEach([&](TreeNode& node) {
        const std::size_t level = std::size_t(node.Level());
        parents.resize(level);
        QTreeWidgetItem* item =
            level == 0 ? new QTreeWidgetItem(orderTree_) : new QTreeWidgetItem(parents.back());
        item->setText(0, Q(node.Text()));
        item->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(&node)));
        parents.push_back(item);
    });
    orderTree_->expandAll();
}

std::vector<std::string> TFprint::ListedNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        names.push_back(ToCp1252(list_->topLevelItem(i)->text(0)));
    return names;
}

int TFprint::SelectedRow() const {
    QTreeWidgetItem* item = list_->currentItem();
    return item ? list_->indexOfTopLevelItem(item) : -1;
}

void TFprint::AllInDefaultOrder() {
    order_.SaveTree();
    rules_.AllInDefaultOrder();
    Refill();
}

void TFprint::AddCurrent() {
    if (rules_.Add(currentPage_)) Refill();
}

void TFprint::AddPreviewed() {
    if (rules_.Add(preview_->PageShown())) Refill();
}

void TFprint::MoveSelectedUp() {
    const int row = SelectedRow();
    if (row >= 0 && rules_.MoveUp(std::size_t(row))) {
        Refill();
        list_->setCurrentItem(list_->topLevelItem(row - 1));
    }
}

void TFprint::MoveSelectedDown() {
    const int row = SelectedRow();
    if (row >= 0 && rules_.MoveDown(std::size_t(row))) {
        Refill();
        list_->setCurrentItem(list_->topLevelItem(row + 1));
    }
}

void TFprint::RemoveSelected() {
    std::vector<std::size_t> rows;
    for (QTreeWidgetItem* item : list_->selectedItems())
        rows.push_back(std::size_t(list_->indexOfTopLevelItem(item)));
    rules_.Remove(rows);
    Refill();
}

void TFprint::Preview(std::int32_t page, bool fromNavigation) {
    if (!LivePage(set_, page) || !preview_->ShowPage(page)) return;
    history_.push_back(page);
    if (fromNavigation && addNavigated_->isChecked() && rules_.Add(page)) Refill();
}

bool TFprint::ClickPreviewAt(int x, int y) {
    const TKYTbox* box = preview_->Box();
    const std::int32_t code = box ? LinkCodeAt(*box, x, y) : -1;
    const std::int32_t page = code >= 0 ? PageLinkedBy(set_, preview_->WorkingText(), code) : -1;
    if (page < 0) return false;
    Preview(page, true);
    return true;
}

bool TFprint::eventFilter(QObject* watched, QEvent* event) {
    if (watched == preview_->Surface() && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            const QPoint p = mouse->position().toPoint();
            if (ClickPreviewAt(p.x(), p.y())) return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFprint::SetPdfFile(const QString& path) {
    printer_->setCurrentIndex(printer_->count() - 1);
    pdfFile_->setText(path);
}

PrintOptions TFprint::Options() const {
    return {background_->isChecked(), tableBackground_->isChecked(), scale_->value()};
}

int TFprint::PrintList() {
    print_->setEnabled(false);
    order_.SaveTree();  // the default order as the author left it
    QtPrinterDevice device;
    const bool toFile = printer_->currentIndex() == printer_->count() - 1;
    if (toFile)
        device.UseFile(pdfFile_->text().toStdString());
    else
        device.Printer().setPrinterName(printer_->currentText());
    progress_->setValue(0);
    progress_->setVisible(true);
    const int printed =
        rules_.Print(device, setup_, Options(), preview_->PageShown(), [this](int step, int total) {
            progress_->setMaximum(total);
            progress_->setValue(step);
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    Refill();
    const bool finished = device.Finish();
    progress_->setVisible(false);
    print_->setEnabled(true);
    return finished ? printed : -1;
}

}  // namespace orvo
