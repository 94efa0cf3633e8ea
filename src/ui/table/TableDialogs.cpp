// The table windows.
#include "ui/table/TableDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

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
      border_(new QCheckBox(QStringLiteral("Bordo"))) {
    setWindowTitle(QStringLiteral("Nuova tabella"));
    for (std::string_view name : kNewTableStyleNames) style_->addItem(ToQString(name));
    style_->setObjectName(QStringLiteral("stile"));
    border_->setChecked(true);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Righe:"), rows_);
    form->addRow(QStringLiteral("Colonne:"), columns_);
    form->addRow(QStringLiteral("Stile:"), style_);
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
    choice.first = 0x00F0E0C0;   // a light blue
    choice.second = 0x00E0E0E0;  // a light grey
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

}  // namespace orvo
