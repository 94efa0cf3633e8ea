#include "ui/insert/InsertWindows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/NamedWidget.h"
#include "ui/QtConvert.h"

namespace orvo {
namespace {

constexpr int kSymbolColumns = 16;

bool KeepsLines(FormObjectChoice choice) {
    return choice == FormObjectChoice::TextArea || choice == FormObjectChoice::List ||
           choice == FormObjectChoice::DropDown;
}

// The caption of the value field for a kind.
QString ValueCaption(FormObjectChoice choice) {
    switch (choice) {
        case FormObjectChoice::FormStart:
            return QStringLiteral("Azione (indirizzo):");
        case FormObjectChoice::Submit:
        case FormObjectChoice::Reset:
            return QStringLiteral("Scritta:");
        case FormObjectChoice::TextArea:
            return QStringLiteral("Testo:");
        case FormObjectChoice::List:
        case FormObjectChoice::DropDown:
            return QStringLiteral("Voci (una per riga):");
        default:
            return QStringLiteral("Valore:");
    }
}

}  // namespace

FormObjectWindow::FormObjectWindow(FormObjectChoice choice, const FormObjectFields& fields,
                                   QWidget* parent)
    : QDialog(parent), choice_(choice) {
    setObjectName(QStringLiteral("FformObject"));
    setWindowTitle(ToQString(FormObjectCaption(choice)));
    const FormFieldsAsked asked = FieldsAskedFor(choice);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    if (asked.name) {
        name_ = Named<QLineEdit>("EName", this);
        name_->setMaxLength(79);
        name_->setText(ToQString(fields.name));
        form->addRow(QStringLiteral("Nome:"), name_);
    }
    if (asked.value && KeepsLines(choice)) {
        lines_ = Named<QPlainTextEdit>("MValue", this);
        lines_->setPlainText(ToQString(fields.value));
        form->addRow(ValueCaption(choice), lines_);
    } else if (asked.value) {
        value_ = Named<QLineEdit>("EValue", this);
        value_->setMaxLength(choice == FormObjectChoice::FormStart ? 255 : 79);
        value_->setText(ToQString(fields.value));
        form->addRow(ValueCaption(choice), value_);
    }
    if (asked.size) {
        size_ = Named<QSpinBox>("SESize", this);
        size_->setRange(1, 255);
        size_->setValue(fields.size);
        form->addRow(choice == FormObjectChoice::List       ? QStringLiteral("Righe visibili:")
                     : choice == FormObjectChoice::TextArea ? QStringLiteral("Colonne:")
                                                            : QStringLiteral("Caratteri:"),
                     size_);
    }
    if (asked.rows) {
        rows_ = Named<QSpinBox>("SERows", this);
        rows_->setRange(1, 255);
        rows_->setValue(fields.rows);
        form->addRow(QStringLiteral("Righe:"), rows_);
    }
    if (asked.checked) {
        checked_ = Named<QCheckBox>("CBChecked", this);
        checked_->setText(QStringLiteral("selezionato all'inizio"));
        checked_->setChecked(fields.checked);
        form->addRow(QString(), checked_);
    }
    if (asked.method) {
        method_ = Named<QComboBox>("CBMethod", this);
        method_->addItems({QStringLiteral("POST"), QStringLiteral("GET")});
        method_->setCurrentIndex(fields.post ? 0 : 1);
        form->addRow(QStringLiteral("Metodo:"), method_);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BOk"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

FormObjectFields FormObjectWindow::Fields() const {
    FormObjectFields fields;
    if (name_) fields.name = ToCp1252(name_->text());
    if (value_) fields.value = ToCp1252(value_->text());
    if (lines_) fields.value = ToCp1252(lines_->toPlainText());
    if (size_) fields.size = size_->value();
    if (rows_) fields.rows = rows_->value();
    if (checked_) fields.checked = checked_->isChecked();
    if (method_) fields.post = method_->currentIndex() == 0;
    return fields;
}

EmbedWindow::EmbedWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Fembed"));
    setWindowTitle(QStringLiteral("Embed/Java/activeX"));
    const EmbeddedCode defaults;
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    code_ = Named<QPlainTextEdit>("MCodice", this);
    code_->setPlaceholderText(QStringLiteral("<object ...></object>"));
    form->addRow(QStringLiteral("Codice HTML:"), code_);
    width_ = Named<QSpinBox>("SELarghezza", this);
    width_->setRange(1, 32767);
    width_->setValue(defaults.width);
    form->addRow(QStringLiteral("Larghezza:"), width_);
    height_ = Named<QSpinBox>("SEAltezza", this);
    height_->setRange(1, 32767);
    height_->setValue(defaults.height);
    form->addRow(QStringLiteral("Altezza:"), height_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("BOk"));
    ok->setEnabled(false);  // until there is code
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    layout->addWidget(buttons);
    connect(code_, &QPlainTextEdit::textChanged, this,
            [this, ok] { ok->setEnabled(!code_->toPlainText().trimmed().isEmpty()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

EmbeddedCode EmbedWindow::Embedded() const {
    return {ToCp1252(code_->toPlainText()), width_->value(), height_->value()};
}

SymbolWindow::SymbolWindow(const QFont& font, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Fsimbolo"));
    setWindowTitle(QStringLiteral("Simbolo"));
    const std::vector<unsigned char> characters = SymbolCharacters();
    const int rows = int(characters.size() + kSymbolColumns - 1) / kSymbolColumns;
    grid_ = Named<QTableWidget>("GSimboli", this);
    grid_->setRowCount(rows);
    grid_->setColumnCount(kSymbolColumns);
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    QFont shown = font;  // large enough to tell the signs apart
    if (shown.pointSize() < 14) shown.setPointSize(14);
    grid_->setFont(shown);
    const int cell = QFontMetrics(shown).height() + 8;
    grid_->horizontalHeader()->setDefaultSectionSize(cell);
    grid_->verticalHeader()->setDefaultSectionSize(cell);
    for (std::size_t i = 0; i < characters.size(); ++i) {
        auto* item = new QTableWidgetItem(ToQString(std::string(1, char(characters[i]))));
        item->setTextAlignment(Qt::AlignCenter);
        item->setData(Qt::UserRole, int(characters[i]));
        item->setToolTip(QStringLiteral("0x%1").arg(int(characters[i]), 2, 16, QLatin1Char('0')));
        grid_->setItem(int(i) / kSymbolColumns, int(i) % kSymbolColumns, item);
    }
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setMinimumSize(cell * kSymbolColumns + 2 * grid_->frameWidth() +
                              style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4,
                          cell * 8);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("BOk"));
    ok->setText(QStringLiteral("Inserisci"));
    ok->setEnabled(false);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    layout->addWidget(buttons);
    connect(grid_, &QTableWidget::itemSelectionChanged, this,
            [this, ok] { ok->setEnabled(Chosen().has_value()); });
    connect(grid_, &QTableWidget::itemDoubleClicked, this, [this](QTableWidgetItem* item) {
        if (item) accept();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

std::optional<unsigned char> SymbolWindow::Chosen() const {
    const QList<QTableWidgetItem*> selected = grid_->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    return static_cast<unsigned char>(selected.front()->data(Qt::UserRole).toInt());
}

void SymbolWindow::Choose(unsigned char character) {
    for (int r = 0; r < grid_->rowCount(); ++r)
        for (int c = 0; c < grid_->columnCount(); ++c)
            if (QTableWidgetItem* item = grid_->item(r, c);
                item && item->data(Qt::UserRole).toInt() == int(character)) {
                grid_->setCurrentItem(item);
                return;
            }
}

}  // namespace orvo
