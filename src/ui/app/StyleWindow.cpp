// The paragraph style window's widgets.
#include "ui/app/StyleWindow.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "model/StyleTable.h"
#include "model/uKYTset.h"
#include "textbox/TKYTstyleView.h"
#include "ui/QtConvert.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo {
namespace {

constexpr StyleLength kLengths[6] = {StyleLength::LeftMargin,  StyleLength::RightMargin,
                                     StyleLength::SpaceBefore, StyleLength::SpaceAfter,
                                     StyleLength::LineHeight,  StyleLength::FirstIndent};
constexpr const char* kLengthNames[6] = {"SEmargSx", "SEmargDx",  "SEprima",
                                         "SEdopo",   "SEaltezza", "SErientro"};
constexpr const char* kBitNames[4] = {"CBgrassetto", "CBcorsivo", "CBsottolineato", "CBbarrato"};
constexpr const char* kLinkBitNames[4] = {"CBlinkGrassetto", "CBlinkCorsivo", "CBlinkSottolineato",
                                          "CBlinkBarrato"};
// The list kinds in the order of their combo box: none, numbered, bulleted.
constexpr std::uint8_t kListKinds[3] = {0, 6, 10};

QComboBox* NamedCombo(const char* name, int items, QWidget* parent) {
    auto* box = Named<QComboBox>(name, parent);
    for (int i = 0; i < items; ++i) box->addItem(QString());  // texts from the block
    return box;
}

void ShowColour(QPushButton& button, std::int32_t colour) {
    button.setProperty("colour", colour);
    button.setStyleSheet(
        QStringLiteral("QPushButton { border-left: 14px solid %1; }").arg(ToQColor(colour).name()));
}

}  // namespace

StyleWindow::StyleWindow(TKYTset& set, ISettings& settings, QWidget* parent)
    : PlacedDialog("Fstili", settings, parent),
      set_(set),
      rules_(set),
      sample_(std::make_unique<detail::StyleViewHypertext>(set.Env(), set.Messages())) {
    styles_ = Named<QListWidget>("LBstili", this);
    styles_->setMinimumWidth(170);  // "[nessuno stile tabella]" whole
    QPushButton* newStyle = NamedButton("BNuovo", this);

    auto* fields = new QFormLayout;
    name_ = Named<QLineEdit>("EDnome", this);
    name_->setMaxLength(int(kStyleNameLength));
    font_ = Named<QComboBox>("CBfont", this);
    font_->setEditable(true);
    font_->addItems(QFontDatabase::families());
    size_ = Named<QSpinBox>("SEdimensione", this);
    size_->setRange(1, 999);
    colour_ = NamedButton("BColore", this);
    auto* bits = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) bits->addWidget(bits_[i] = NamedCheck(kBitNames[i], this));
    position_ = NamedCombo("CBposizione", 3, this);
    alignment_ = NamedCombo("CBallineamento", 4, this);
    list_ = NamedCombo("CBelenco", 3, this);
    unit_ = NamedCombo("CBunita", 6, this);
    fields->addRow(NamedLabel("Lnome", this), name_);
    fields->addRow(NamedLabel("Lfont", this), font_);
    fields->addRow(NamedLabel("Ldimensione", this), size_);
    fields->addRow(NamedLabel("Lcolore", this), colour_);
    fields->addRow(bits);
    fields->addRow(NamedLabel("Lposizione", this), position_);
    fields->addRow(NamedLabel("Lallineamento", this), alignment_);
    fields->addRow(NamedLabel("Lelenco", this), list_);
    fields->addRow(NamedLabel("Lunita", this), unit_);
    constexpr const char* kLengthLabels[6] = {"LmargSx", "LmargDx",  "Lprima",
                                              "Ldopo",   "Laltezza", "Lrientro"};
    for (int i = 0; i < 6; ++i) {
        lengths_[i] = new QDoubleSpinBox(this);
        lengths_[i]->setObjectName(QString::fromLatin1(kLengthNames[i]));
        lengths_[i]->setDecimals(2);
        lengths_[i]->setRange(-9999, 9999);
        fields->addRow(NamedLabel(kLengthLabels[i], this), lengths_[i]);
    }

    auto* link = Named<QGroupBox>("GBlink", this);
    auto* linkLayout = new QFormLayout(link);
    linkSize_ = Named<QSpinBox>("SElinkDim", link);
    linkSize_->setRange(-1, 999);
    linkColour_ = NamedButton("BlinkColore", link);
    auto* linkBits = new QHBoxLayout;
    for (int i = 0; i < 4; ++i)
        linkBits->addWidget(linkBits_[i] = NamedCheck(kLinkBitNames[i], link));
    QLabel* note = NamedLabel("Lnota", link);
    note->setWordWrap(true);
    linkLayout->addRow(NamedLabel("LlinkDim", link), linkSize_);
    linkLayout->addRow(NamedLabel("LlinkColore", link), linkColour_);
    linkLayout->addRow(linkBits);
    linkLayout->addRow(note);

    preview_ = new PageViewWidget(sample_->styleSet, this);
    preview_->setObjectName("Anteprima");
    preview_->setMinimumSize(320, 200);

    auto* left = new QVBoxLayout;
    left->addWidget(styles_, 1);
    left->addWidget(newStyle);
    auto* middle = new QVBoxLayout;
    middle->addLayout(fields);
    middle->addWidget(link);
    middle->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(middle);
    top->addWidget(preview_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* ok = NamedButton("BOk", this);
    QPushButton* cancel = NamedButton("BAnnulla", this);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    LocalizeFromBlock(*this);
    RestoreWindowPlacement(*this, settings);

    for (const std::string& styleName : rules_.Names()) styles_->addItem(ToQString(styleName));
    connect(styles_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!showing_ && row >= 0) ChooseStyle(row);
    });
    connect(newStyle, &QPushButton::clicked, this, [this] { NewStyle(); });
    connect(colour_, &QPushButton::clicked, this, [this] { PickColour(false); });
    connect(linkColour_, &QPushButton::clicked, this, [this] { PickColour(true); });
    connect(ok, &QPushButton::clicked, this, [this] { Confirm(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Any field changed shows in the preview at once; a new unit shows the lengths in it.
    auto changed = [this] {
        if (showing_) return;
        TakeFields();
        ShowPreview();
    };
    connect(name_, &QLineEdit::textEdited, this, changed);
    connect(font_, &QComboBox::currentTextChanged, this, changed);
    connect(size_, &QSpinBox::valueChanged, this, changed);
    connect(linkSize_, &QSpinBox::valueChanged, this, changed);
    for (QComboBox* box : {position_, alignment_, list_})
        connect(box, &QComboBox::currentIndexChanged, this, changed);
    for (QCheckBox* box : bits_) connect(box, &QCheckBox::toggled, this, changed);
    for (QCheckBox* box : linkBits_) connect(box, &QCheckBox::toggled, this, changed);
    for (QDoubleSpinBox* box : lengths_) connect(box, &QDoubleSpinBox::valueChanged, this, changed);
    connect(unit_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (showing_ || index < 0) return;
        TakeFields();  // lengths in the old unit first
        rules_.Fields().SetUnit(std::uint8_t(index));
        ShowFields();
    });
    ChooseStyle(0);
}

StyleWindow::~StyleWindow() {
    delete preview_;  // before the sample hypertext it shows
    preview_ = nullptr;
}

void StyleWindow::ChooseStyle(int number) {
    if (!rules_.Select(number)) return;
    ShowFields();
}

void StyleWindow::NewStyle() {
    rules_.StartNew();
    ShowFields();
    name_->setFocus();
}

void StyleWindow::Confirm() {
    TakeFields();
    const int number = rules_.Apply();
    if (number < 0) {
        name_->setFocus();
        return;
    }
    if (onApplied) onApplied(number);
    accept();
}

void StyleWindow::ShowFields() {
    showing_ = true;
    const StyleRecord fields = rules_.Fields();
    styles_->setCurrentRow(rules_.Selected());
    name_->setText(ToQString(fields.Name()));
    font_->setCurrentText(ToQString(fields.FontName()));
    size_->setValue(fields.Size());
    ShowColour(*colour_, fields.Colour());
    for (int i = 0; i < 4; ++i) {
        bits_[i]->setChecked(fields.StyleBits() & (1 << i));
        linkBits_[i]->setChecked(fields.LinkStyleBits() & (1 << i));
    }
    position_->setCurrentIndex(std::min<int>(fields.Position(), 2));
    alignment_->setCurrentIndex(std::min<int>(fields.Alignment(), 3));
    list_->setCurrentIndex(fields.ListKind() == 6 ? 1 : fields.ListKind() == 10 ? 2 : 0);
    unit_->setCurrentIndex(std::min<int>(fields.Unit(), 5));
    for (int i = 0; i < 6; ++i) lengths_[i]->setValue(rules_.Length(kLengths[i]));
    linkSize_->setValue(fields.LinkSize());
    ShowColour(*linkColour_, fields.LinkColour());
    showing_ = false;
    ShowPreview();
}

void StyleWindow::TakeFields() {
    StyleRecord fields = rules_.Fields();
    fields.SetName(ToCp1252(name_->text()));
    fields.SetFontName(ToCp1252(font_->currentText()));
    fields.SetSize(std::int16_t(size_->value()));
    fields.SetColour(colour_->property("colour").toInt());
    std::uint8_t bits = 0, linkBits = 0;
    for (int i = 0; i < 4; ++i) {
        if (bits_[i]->isChecked()) bits |= std::uint8_t(1 << i);
        if (linkBits_[i]->isChecked()) linkBits |= std::uint8_t(1 << i);
    }
    fields.SetStyleBits(bits);
    fields.SetLinkStyleBits(linkBits);
    fields.SetPosition(std::uint8_t(std::max(0, position_->currentIndex())));
    fields.SetAlignment(std::uint8_t(std::max(0, alignment_->currentIndex())));
    fields.SetListKind(kListKinds[std::clamp(list_->currentIndex(), 0, 2)]);
    for (int i = 0; i < 6; ++i) {
        // A length shown as it was read stays the pixels it was (no rounding through the unit).
        if (std::abs(lengths_[i]->value() - rules_.Length(kLengths[i])) >= 0.005)
            rules_.SetLength(kLengths[i], lengths_[i]->value());
    }
    fields.SetLinkSize(std::int16_t(linkSize_->value()));
    fields.SetLinkColour(linkColour_->property("colour").toInt());
}

void StyleWindow::ShowPreview() {
    TKYToggetto* shown = sample_->styleSet.ObjectByKind(TOggettiHel::stileParagrafo, 2);
    if (!shown) return;
    rules_.CopyInto(*shown);
    preview_->ShowPage(0);
}

void StyleWindow::PickColour(bool link) {
    QPushButton& button = link ? *linkColour_ : *colour_;
    const std::int32_t current = button.property("colour").toInt();
    std::optional<std::int32_t> chosen;
    if (chooseColour) {
        chosen = chooseColour(current);
    } else {
        const QColor colour = QColorDialog::getColor(ToQColor(current), this);
        if (colour.isValid()) chosen = colour.red() | (colour.green() << 8) | (colour.blue() << 16);
    }
    if (!chosen) return;
    ShowColour(button, *chosen);
    TakeFields();
    ShowPreview();
}

}  // namespace orvo
