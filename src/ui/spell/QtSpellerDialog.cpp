// The spelling dialog's widgets.
#include "ui/spell/QtSpellerDialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include <string_view>
#include <vector>

#include "spell/TQzSpellerDialog.h"
#include "ui/QtConvert.h"

namespace orvo {

namespace {

// The buttons in the order of the column, with their controls in the rules. "DelButton" takes
// "ChangeButton"'s place: only one of the two shows.
struct ButtonEntry {
    const char* name;
    SpellControl TQzSpellerDialog::*control;
};
constexpr ButtonEntry kButtons[] = {
    {"ChangeButton", &TQzSpellerDialog::changeButton},
    {"DelButton", &TQzSpellerDialog::delButton},
    {"ChangeAllButton", &TQzSpellerDialog::changeAllButton},
    {"SkipButton", &TQzSpellerDialog::skipButton},
    {"SkipAllButton", &TQzSpellerDialog::skipAllButton},
    {"AddButton", &TQzSpellerDialog::addButton},
    {"CancelEdit", &TQzSpellerDialog::cancelEdit},
    {"BSalta", &TQzSpellerDialog::bsalta},
    {"Bresume", &TQzSpellerDialog::bresume},
    {"StartButton", &TQzSpellerDialog::startButton},
    {"CancelButton", &TQzSpellerDialog::cancelButton},
};

QLabel* NamedLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

// The captions of a block ("*_*name_caption" and the value on the next line, after a blank)
// set on the window and its buttons and panels of that name (case ignored).
void ApplyCaptions(QWidget& window, std::string_view block) {
    std::vector<std::string_view> lines;
    while (!block.empty()) {
        const std::size_t end = block.find("\r\n");
        lines.push_back(block.substr(0, end));
        if (end == std::string_view::npos) break;
        block.remove_prefix(end + 2);
    }
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        std::string_view key = lines[i];
        constexpr std::string_view kSuffix = "_caption";
        if (!key.starts_with("*_*") || !key.ends_with(kSuffix) || !lines[i + 1].starts_with(' '))
            continue;
        const QString name = ToQString(key.substr(3, key.size() - 3 - kSuffix.size()));
        const QString value = ToQString(lines[i + 1].substr(1));
        if (window.objectName().compare(name, Qt::CaseInsensitive) == 0) {
            window.setWindowTitle(value);
            continue;
        }
        for (QWidget* child : window.findChildren<QWidget*>()) {
            if (child->objectName().compare(name, Qt::CaseInsensitive) != 0) continue;
            if (auto* button = qobject_cast<QPushButton*>(child)) button->setText(value);
            if (auto* box = qobject_cast<QGroupBox*>(child)) box->setTitle(value);
        }
    }
}

}  // namespace

QtSpellerDialog::QtSpellerDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("QzSpellerDialog"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    auto* outer = new QVBoxLayout(this);

    // The progress view: only this panel shows while the check runs.
    panel1_ = new QGroupBox(this);
    panel1_->setObjectName(QStringLiteral("Panel1"));
    auto* panelLayout = new QVBoxLayout(panel1_);
    progress_ = new QProgressBar(panel1_);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setRange(0, 100);
    panelLayout->addWidget(progress_);
    outer->addWidget(panel1_);

    // The full view.
    full_ = new QWidget(this);
    auto* columns = new QHBoxLayout(full_);
    columns->setContentsMargins(0, 0, 0, 0);
    auto* left = new QVBoxLayout;
    infoMsg_ = NamedLabel("InfoMsg", full_);
    left->addWidget(infoMsg_);
    misspelling_ = new QTextEdit(full_);
    misspelling_->setObjectName(QStringLiteral("Misspelling"));
    misspelling_->setAcceptRichText(false);
    misspelling_->setFixedHeight(misspelling_->fontMetrics().lineSpacing() * 4);
    left->addWidget(misspelling_);
    label2_ = NamedLabel("Label2", full_);
    left->addWidget(label2_);
    variants_ = new QListWidget(full_);
    variants_->setObjectName(QStringLiteral("Variants"));
    label2_->setBuddy(variants_);
    left->addWidget(variants_);
    columns->addLayout(left, 1);
    auto* right = new QVBoxLayout;
    for (const ButtonEntry& entry : kButtons) {
        auto* button = new QPushButton(full_);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->setAutoDefault(false);
        right->addWidget(button);
    }
    right->addStretch(1);
    columns->addLayout(right);
    outer->addWidget(full_);
    auto* label1 = NamedLabel("Label1", this);  // marks the bottom of the full view
    outer->addWidget(label1);
    Button("ChangeButton")->setDefault(true);

    // The texts of the dialog's own block; the program applies its localisation over them.
    ApplyCaptions(*this, SpellerDialogBlock());

    using D = TQzSpellerDialog;
    const std::pair<const char*, void (D::*)()> clicks[] = {
        {"ChangeButton", &D::ChangeClick}, {"ChangeAllButton", &D::ChangeAllClick},
        {"SkipButton", &D::SkipClick},     {"SkipAllButton", &D::SkipAllClick},
        {"AddButton", &D::AddClick},       {"CancelButton", &D::CancelClick},
        {"DelButton", &D::DelClick},       {"BSalta", &D::SaltaClick},
        {"StartButton", &D::StartClick},   {"CancelEdit", &D::CancelEditClick}};
    for (const auto& [name, click] : clicks) {
        connect(Button(name), &QPushButton::clicked, this,
                [this, click = click] { Act([click](D& d) { (d.*click)(); }); });
    }
    connect(variants_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = variants_->row(item);
        Act([row](D& d) { d.VariantsClick(row); });
    });
    connect(variants_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const int row = variants_->row(item);
        Act([row](D& d) { d.VariantsDoubleClick(row); });
    });
    connect(misspelling_, &QTextEdit::textChanged, this, [this] { MisspellingChanged(); });
}

QtSpellerDialog::~QtSpellerDialog() = default;

QPushButton* QtSpellerDialog::Button(const char* objectName) const {
    return findChild<QPushButton*>(QString::fromLatin1(objectName));
}

void QtSpellerDialog::Attach(TQzSpellerDialog& dialog) {
    dialog_ = &dialog;
    Sync();
}

void QtSpellerDialog::RunModal(TQzSpellerDialog& dialog) {
    Attach(dialog);
    if (dialog.Ended()) return;
    exec();
}

void QtSpellerDialog::reject() {
    // Closing the window is "C&hiudi".
    if (dialog_ && !dialog_->Ended()) dialog_->CancelClick();
    QDialog::reject();
}

template <typename Action>
void QtSpellerDialog::Act(Action action) {
    if (!dialog_ || updating_) return;
    action(*dialog_);
    Sync();
    if (dialog_->Ended() && isVisible()) QDialog::reject();
}

void QtSpellerDialog::Sync(bool text) {
    if (!dialog_) return;
    const TQzSpellerDialog& d = *dialog_;
    updating_ = true;
    setWindowTitle(ToQString(d.caption));
    panel1_->setVisible(!d.fullView);
    full_->setVisible(d.fullView);
    progress_->setValue(d.progress);
    infoMsg_->setText(ToQString(d.infoMsg));
    label2_->setText(ToQString(d.label2));
    for (const ButtonEntry& entry : kButtons) {
        const SpellControl& control = d.*entry.control;
        QPushButton* button = Button(entry.name);
        button->setVisible(control.visible);
        button->setEnabled(control.enabled);
    }
    variants_->clear();
    for (const std::string& variant : d.variants) variants_->addItem(ToQString(variant));
    variants_->setEnabled(d.variantsState.enabled);
    if (d.selected >= 0 && d.selected < variants_->count()) variants_->setCurrentRow(d.selected);
    if (text) ShowContext();
    updating_ = false;
}

void QtSpellerDialog::ShowContext() {
    const TQzSpellerDialog& d = *dialog_;
    const std::string& line = d.contextLine;
    const std::size_t at = std::min(d.contextError, line.size());
    const std::size_t length = std::min(d.contextErrorLength, line.size() - at);
    misspelling_->clear();
    QTextCursor cursor(misspelling_->document());
    QTextCharFormat plain;
    plain.setForeground(palette().color(QPalette::WindowText));
    QTextCharFormat error;
    error.setForeground(QColor(255, 0, 0));
    cursor.insertText(ToQString(line.substr(0, at)), plain);
    cursor.insertText(ToQString(line.substr(at, length)), error);
    cursor.insertText(ToQString(line.substr(at + length)), plain);
    // The caret at the start of the error, nothing selected.
    QTextCursor caret(misspelling_->document());
    caret.setPosition(int(ToQString(line.substr(0, at)).size()));
    misspelling_->setTextCursor(caret);
}

void QtSpellerDialog::MisspellingChanged() {
    if (!dialog_ || updating_) return;
    const TQzSpellerDialog& d = *dialog_;
    const QString shown = misspelling_->toPlainText();
    const std::string& line = d.contextLine;
    const std::size_t at = std::min(d.contextError, line.size());
    const std::size_t length = std::min(d.contextErrorLength, line.size() - at);
    const QString before = ToQString(line.substr(0, at));
    const QString after = ToQString(line.substr(at + length));
    // Only the red stretch may change: an edit that reaches the text around it is undone.
    if (!d.Waiting() || shown.size() < before.size() + after.size() || !shown.startsWith(before) ||
        !shown.endsWith(after)) {
        updating_ = true;
        ShowContext();
        updating_ = false;
        return;
    }
    const QString word = shown.mid(before.size(), shown.size() - before.size() - after.size());
    const int caret = misspelling_->textCursor().position();
    dialog_->EditWord(ToCp1252(word));
    Sync(false);
    // The edited stretch stays red as the user types.
    updating_ = true;
    ShowContext();
    QTextCursor restored(misspelling_->document());
    restored.setPosition(std::min(caret, int(misspelling_->toPlainText().size())));
    misspelling_->setTextCursor(restored);
    updating_ = false;
}

}  // namespace orvo
