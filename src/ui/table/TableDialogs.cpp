// The table windows.
#include "ui/table/TableDialogs.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdint>

#include "ui/QtConvert.h"

namespace orvo {

namespace {

QDialogButtonBox* OkCancel(QDialog& dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Ok"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Annulla"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

QSpinBox* Spin(int low, int high, int value, const char* name) {
    auto* spin = new QSpinBox;
    spin->setRange(low, high);
    spin->setValue(value);
    spin->setObjectName(QString::fromLatin1(name));
    return spin;
}

}  // namespace

NewTableDialog::NewTableDialog(QWidget* parent)
    : QDialog(parent),
      rows_(Spin(1, kNewTableMaxRows, 3, "righe")),
      columns_(Spin(1, kTableMaxColumns, 4, "colonne")),
      style_(new QComboBox),
      first_(new BackgroundChooser(kNewTableFirstColour)),
      second_(new BackgroundChooser(kNewTableSecondColour)),
      border_(new QCheckBox(QStringLiteral("Bordo"))) {
    setWindowTitle(QStringLiteral("Nuova tabella"));
    for (std::string_view name : kNewTableStyleNames) style_->addItem(ToQString(name));
    style_->setObjectName(QStringLiteral("stile"));
    border_->setChecked(true);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Righe:"), rows_);
    form->addRow(QStringLiteral("Colonne:"), columns_);
    form->addRow(QStringLiteral("Stile:"), style_);
    form->addRow(QStringLiteral("Primo colore:"), first_);
    form->addRow(QStringLiteral("Secondo colore:"), second_);
    form->addRow(border_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancel(*this));
}

NewTableChoice NewTableDialog::Choice() const {
    NewTableChoice choice;
    choice.rows = rows_->value();
    choice.columns = columns_->value();
    choice.style = style_->currentIndex();
    choice.first = first_->Value();
    choice.second = second_->Value();
    choice.border = border_->isChecked();
    return choice;
}

AddRowsColumnsDialog::AddRowsColumnsDialog(QWidget* parent)
    : QDialog(parent),
      rows_(new QRadioButton(QStringLiteral("Righe"))),
      columns_(new QRadioButton(QStringLiteral("Colonne"))),
      count_(Spin(1, kTableMaxRows - 1, 1, "numero")),
      before_(new QRadioButton(QStringLiteral("Prima"))),
      after_(new QRadioButton(QStringLiteral("Dopo"))) {
    setWindowTitle(QStringLiteral("Aggiungi righe/colonne"));
    rows_->setChecked(true);
    after_->setChecked(true);
    auto* what = new QGroupBox(QStringLiteral("Aggiungi"));
    auto* whatLayout = new QHBoxLayout(what);
    whatLayout->addWidget(rows_);
    whatLayout->addWidget(columns_);
    auto* where = new QGroupBox(QStringLiteral("Posizione"));
    auto* whereLayout = new QHBoxLayout(where);
    whereLayout->addWidget(before_);
    whereLayout->addWidget(after_);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Quante:"), count_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(what);
    layout->addLayout(form);
    layout->addWidget(where);
    layout->addWidget(OkCancel(*this));
}

bool AddRowsColumnsDialog::Columns() const {
    return columns_->isChecked();
}

int AddRowsColumnsDialog::Count() const {
    return count_->value();
}

bool AddRowsColumnsDialog::After() const {
    return after_->isChecked();
}

BackgroundChooser::BackgroundChooser(std::int32_t value, QWidget* parent)
    : QWidget(parent),
      value_(value),
      transparent_(new QCheckBox(QStringLiteral("Trasparente"))),
      colour_(new QPushButton(QStringLiteral("Colore..."))) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(transparent_);
    layout->addWidget(colour_);
    transparent_->setChecked(TableBackground::Decode(value).kind ==
                             TableBackground::Kind::Transparent);
    QObject::connect(transparent_, &QCheckBox::toggled, this, [this] { ShowValue(); });
    QObject::connect(colour_, &QPushButton::clicked, this, [this] {
        const TableBackground now = TableBackground::Decode(value_);
        const QColor start =
            now.kind == TableBackground::Kind::Colour ? ToQColor(now.value) : QColor(Qt::white);
        const QColor picked = QColorDialog::getColor(start, this, QStringLiteral("Colore"));
        if (picked.isValid())
            SetColour(picked.red() | (picked.green() << 8) | (picked.blue() << 16));
    });
    ShowValue();
}

void BackgroundChooser::SetColour(std::int32_t colour) {
    value_ = colour & 0xFFFFFF;
    transparent_->setChecked(false);
    ShowValue();
}

std::int32_t BackgroundChooser::Value() const {
    if (transparent_->isChecked()) return -1;
    // Unchecking "Trasparente" with no colour chosen yet gives white.
    return TableBackground::Decode(value_).kind == TableBackground::Kind::Transparent ? 0xFFFFFF
                                                                                      : value_;
}

void BackgroundChooser::ShowValue() {
    const TableBackground now = TableBackground::Decode(Value());
    colour_->setEnabled(true);
    QString text = QStringLiteral("Colore...");
    QString style;
    if (now.kind == TableBackground::Kind::Colour)
        style = QStringLiteral("background-color: %1").arg(ToQColor(now.value).name());
    else if (now.kind == TableBackground::Kind::Picture)
        text = QStringLiteral("Immagine");
    colour_->setText(text);
    colour_->setStyleSheet(style);
}

TablePropertiesDialog::TablePropertiesDialog(const TableProperties& start, bool inCell,
                                             std::int32_t currentWidth, QWidget* parent)
    : QDialog(parent),
      start_(start),
      fixedShown_(
          std::clamp<int>(start.fixedWidth >= 10 ? start.fixedWidth : currentWidth, 10, INT16_MAX)),
      percentButton_(new QRadioButton(QStringLiteral("In percentuale"))),
      pixelsButton_(new QRadioButton(QStringLiteral("In pixel"))),
      percent_(Spin(1, inCell ? 100 : 255, std::clamp(start.percent, 1, inCell ? 100 : 255),
                    "percentuale")),
      fixedWidth_(Spin(10, INT16_MAX, fixedShown_, "pixel")),
      padding_(Spin(0, 255, start.padding, "margine")),
      spacing_(Spin(0, 255, start.spacing, "spaziatura")),
      border_(Spin(0, 255, start.border, "bordo")),
      background_(new BackgroundChooser(start.background)),
      columnKind_(new QComboBox),
      columnWidth_(Spin(0, INT16_MAX, std::max(start.columnWidth, 0), "larghezzaColonna")),
      scope_(new QComboBox),
      cellBackground_(new BackgroundChooser(start.cellBackground)) {
    setWindowTitle(QStringLiteral("Propriet\u00E0 tabella/caselle"));
    (start.widthInPercent ? percentButton_ : pixelsButton_)->setChecked(true);
    const auto follow = [this] {
        percent_->setEnabled(percentButton_->isChecked());
        fixedWidth_->setEnabled(pixelsButton_->isChecked());
    };
    QObject::connect(percentButton_, &QRadioButton::toggled, this, follow);
    follow();
    columnKind_->addItems(
        {QStringLiteral("Percentuale"), QStringLiteral("Fissa"), QStringLiteral("Libera")});
    columnKind_->setCurrentIndex(std::clamp(start.columnKind, 0, 2));
    QObject::connect(columnKind_, &QComboBox::currentIndexChanged, this,
                     [this](int kind) { columnWidth_->setEnabled(kind != kColumnFree); });
    columnWidth_->setEnabled(start.columnKind != kColumnFree);
    for (std::string_view name : kCellBackgroundScopeNames) scope_->addItem(ToQString(name));
    scope_->setObjectName(QStringLiteral("applica"));
    const auto scopeFollow = [this] { cellBackground_->setEnabled(scope_->currentIndex() != 0); };
    QObject::connect(scope_, &QComboBox::currentIndexChanged, this, scopeFollow);
    scopeFollow();

    auto* table = new QGroupBox(QStringLiteral("Tabella"));
    auto* tableForm = new QFormLayout(table);
    auto* percentRow = new QHBoxLayout;
    percentRow->addWidget(percentButton_);
    percentRow->addWidget(percent_);
    auto* pixelsRow = new QHBoxLayout;
    pixelsRow->addWidget(pixelsButton_);
    pixelsRow->addWidget(fixedWidth_);
    tableForm->addRow(QStringLiteral("Larghezza:"), percentRow);
    tableForm->addRow(QString(), pixelsRow);
    tableForm->addRow(QStringLiteral("Margine interno:"), padding_);
    tableForm->addRow(QStringLiteral("Spaziatura:"), spacing_);
    tableForm->addRow(QStringLiteral("Bordo:"), border_);
    tableForm->addRow(QStringLiteral("Sfondo:"), background_);
    auto* column = new QGroupBox(QStringLiteral("Colonna"));
    auto* columnForm = new QFormLayout(column);
    columnForm->addRow(QStringLiteral("Tipo:"), columnKind_);
    columnForm->addRow(QStringLiteral("Larghezza:"), columnWidth_);
    auto* cells = new QGroupBox(QStringLiteral("Sfondo caselle"));
    auto* cellsForm = new QFormLayout(cells);
    cellsForm->addRow(QStringLiteral("Applica a:"), scope_);
    cellsForm->addRow(QStringLiteral("Sfondo:"), cellBackground_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table);
    layout->addWidget(column);
    layout->addWidget(cells);
    layout->addWidget(OkCancel(*this));
}

TableProperties TablePropertiesDialog::Properties() const {
    TableProperties p = start_;
    p.widthInPercent = percentButton_->isChecked();
    p.percent = percent_->value();
    // A percent table keeps the fixed width it had unless pixels were chosen.
    if (!p.widthInPercent || fixedWidth_->value() != fixedShown_)
        p.fixedWidth = fixedWidth_->value();
    p.padding = padding_->value();
    p.spacing = spacing_->value();
    p.border = border_->value();
    p.background = background_->Value();
    p.columnKind = columnKind_->currentIndex();
    p.columnWidth = columnWidth_->value();
    p.scope = CellBackgroundScope(scope_->currentIndex());
    p.cellBackground = cellBackground_->Value();
    return p;
}

}  // namespace orvo
