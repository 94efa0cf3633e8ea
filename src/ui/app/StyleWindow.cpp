// The paragraph style window's widgets.
#include "ui/app/StyleWindow.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
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
    QPushButton* import = NamedButton("BImporta", this);

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
    left->addWidget(import);
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

    ShowNames();
    connect(styles_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!showing_ && row >= 0) ChooseStyle(row);
    });
    connect(newStyle, &QPushButton::clicked, this, [this] { NewStyle(); });
    connect(import, &QPushButton::clicked, this, [this] { (void)ImportStyles(); });
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

void StyleWindow::ShowNames() {
    showing_ = true;
    styles_->clear();
    for (const std::string& styleName : rules_.Names()) styles_->addItem(ToQString(styleName));
    styles_->setCurrentRow(rules_.Selected());
    showing_ = false;
}

std::vector<std::int32_t> StyleWindow::ImportStyles() {
    std::string file;
    if (chooseFile) {
        file = chooseFile();
    } else {
        file = ToCp1252(
            QFileDialog::getOpenFileName(this, QString(), QString(), QStringLiteral("*.kyt")));
    }
    StyleImportRules rules(set_);
    if (file.empty() || !rules.Open(file)) return {};
    StyleImportWindow window(rules, settings_, this);
    bool accepted = false;
    if (onImportWindow) {
        window.setModal(true);
        window.show();
        onImportWindow(window);
        accepted = window.result() == QDialog::Accepted;
        if (window.isVisible()) window.reject();
    } else {
        accepted = window.exec() == QDialog::Accepted;
    }
    if (!accepted) return {};
    const std::vector<std::int32_t> made = rules.Import();
    if (!made.empty()) (void)rules_.Select(made.front());
    ShowNames();
    ShowFields();
    return made;
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

StyleImportWindow::StyleImportWindow(StyleImportRules& rules, ISettings& settings, QWidget* parent)
    : PlacedDialog("FimpStili", settings, parent), rules_(rules) {
    QLabel* from = NamedLabel("Ldi", this);
    auto* file = new QLabel(this);
    file->setObjectName(QStringLiteral("LnomeFile"));
    file->setText(ToQString(rules_.FileName()));
    styles_ = Named<QListWidget>("LBstili", this);
    styles_->setMinimumSize(240, 200);
    QPushButton* all = NamedButton("BTutti", this);
    QPushButton* none = NamedButton("BNessuno", this);
    ok_ = NamedButton("BOk", this);
    QPushButton* cancel = NamedButton("BAnnulla", this);
    auto* choose = new QHBoxLayout;
    choose->addWidget(all);
    choose->addWidget(none);
    choose->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(from);
    layout->addWidget(file);
    layout->addWidget(styles_, 1);
    layout->addLayout(choose);
    layout->addLayout(buttons);
    LocalizeFromBlock(*this);
    RestoreWindowPlacement(*this, settings);

    connect(styles_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (showing_) return;
        rules_.Choose(std::size_t(styles_->row(item)), item->checkState() == Qt::Checked);
        ShowChoices();
    });
    connect(all, &QPushButton::clicked, this, [this] {
        rules_.ChooseAll(true);
        ShowChoices();
    });
    connect(none, &QPushButton::clicked, this, [this] {
        rules_.ChooseAll(false);
        ShowChoices();
    });
    connect(ok_, &QPushButton::clicked, this, [this] {
        if (rules_.ChosenCount() > 0) accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ShowChoices();
}

void StyleImportWindow::ShowChoices() {
    showing_ = true;
    const auto& offered = rules_.Offered();
    if (styles_->count() != int(offered.size())) {
        styles_->clear();
        for (const OfferedStyle& style : offered) {
            auto* item = new QListWidgetItem(ToQString(style.name), styles_);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        }
    }
    for (std::size_t i = 0; i < offered.size(); ++i) {
        QListWidgetItem* item = styles_->item(int(i));
        item->setCheckState(offered[i].chosen ? Qt::Checked : Qt::Unchecked);
        // A style already here with the same name and format is shown greyed: importing it
        // again would only add a copy under another name.
        item->setForeground(offered[i].present ? palette().color(QPalette::Disabled, QPalette::Text)
                                               : palette().color(QPalette::Text));
    }
    ok_->setEnabled(rules_.ChosenCount() > 0);
    showing_ = false;
}

}  // namespace orvo
