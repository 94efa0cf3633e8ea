#include "ui/format/FormatWindows.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/NamedWidget.h"
#include "ui/QtConvert.h"

namespace orvo {
namespace {

QDialogButtonBox* OkCancel(QDialog& dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BOk"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

// Windows colour 0x00BBGGRR from a QColor.
std::int32_t FromQColor(const QColor& c) {
    return std::int32_t(c.red() | (c.green() << 8) | (c.blue() << 16));
}

}  // namespace

FontWindow::FontWindow(const TMyFont& font, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Fcarattere"));
    setWindowTitle(QStringLiteral("Carattere"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    name_ = Named<QFontComboBox>("CBFont", this);
    name_->setCurrentFont(QFont(ToQString(font.name)));
    givenName_ = font.name;
    connect(name_, &QFontComboBox::currentFontChanged, this, [this] { nameChosen_ = true; });
    form->addRow(QStringLiteral("Carattere:"), name_);
    size_ = Named<QSpinBox>("SESize", this);
    size_->setRange(1, 1638);
    size_->setValue(font.size);
    form->addRow(QStringLiteral("Dimensione:"), size_);
    bold_ = Named<QCheckBox>("CBGrassetto", this);
    bold_->setText(QStringLiteral("Grassetto"));
    bold_->setChecked(font.styleBits & kFontBold);
    italic_ = Named<QCheckBox>("CBCorsivo", this);
    italic_->setText(QStringLiteral("Corsivo"));
    italic_->setChecked(font.styleBits & kFontItalic);
    underline_ = Named<QCheckBox>("CBSottolineato", this);
    underline_->setText(QStringLiteral("Sottolineato"));
    underline_->setChecked(font.styleBits & kFontUnderline);
    otherBits_ = font.styleBits & ~(kFontBold | kFontItalic | kFontUnderline);
    form->addRow(QStringLiteral("Stile:"), bold_);
    form->addRow(QString(), italic_);
    form->addRow(QString(), underline_);
    colourButton_ = Named<QPushButton>("BColore", this);
    form->addRow(QStringLiteral("Colore:"), colourButton_);
    SetColour(font.colour);
    position_ = Named<QComboBox>("CBPosizione", this);
    // In the order of the positions: normal, subscript, superscript.
    position_->addItems(
        {QStringLiteral("Normale"), QStringLiteral("Pedice"), QStringLiteral("Apice")});
    position_->setCurrentIndex(font.position < 3 ? font.position : 0);
    form->addRow(QStringLiteral("Posizione:"), position_);
    layout->addWidget(OkCancel(*this));
    connect(colourButton_, &QPushButton::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(ToQColor(colour_), this);
        if (chosen.isValid()) SetColour(FromQColor(chosen));
    });
}

void FontWindow::SetColour(std::int32_t colour) {
    colour_ = colour & 0xFFFFFF;
    const QColor c = ToQColor(colour_);
    colourButton_->setText(c.name());
    colourButton_->setStyleSheet(QStringLiteral("background-color: %1; color: %2")
                                     .arg(c.name(), c.lightness() < 128 ? QStringLiteral("white")
                                                                        : QStringLiteral("black")));
}

TMyFont FontWindow::Font() const {
    TMyFont font;
    font.name = nameChosen_ ? ToCp1252(name_->currentFont().family()) : givenName_;
    font.size = size_->value();
    font.styleBits = otherBits_ | (bold_->isChecked() ? kFontBold : 0) |
                     (italic_->isChecked() ? kFontItalic : 0) |
                     (underline_->isChecked() ? kFontUnderline : 0);
    font.colour = colour_;
    font.position = std::uint8_t(position_->currentIndex());
    return font;
}

ParagraphStyleWindow::ParagraphStyleWindow(const std::vector<std::string>& names,
                                           const std::string& current, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FstilePar"));
    setWindowTitle(QStringLiteral("Stile paragrafo"));
    auto* layout = new QVBoxLayout(this);
    list_ = Named<QListWidget>("LBStili", this);
    for (const std::string& name : names) {
        auto* item = new QListWidgetItem(ToQString(name), list_);
        if (name == current) list_->setCurrentItem(item);
    }
    layout->addWidget(list_);
    QDialogButtonBox* buttons = OkCancel(*this);
    layout->addWidget(buttons);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setEnabled(list_->currentItem() != nullptr);
    connect(list_, &QListWidget::currentItemChanged, this,
            [ok](QListWidgetItem* item) { ok->setEnabled(item != nullptr); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
}

std::string ParagraphStyleWindow::Chosen() const {
    const QListWidgetItem* item = list_->currentItem();
    return item ? ToCp1252(item->text()) : std::string();
}

}  // namespace orvo
