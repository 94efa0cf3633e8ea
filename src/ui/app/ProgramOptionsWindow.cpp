// The program options window's widgets.
#include "ui/app/ProgramOptionsWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/NameFilters.h"
#include "ui/QtConvert.h"
#include "ui/app/QtLocalizer.h"

namespace orvo {

namespace {

QSpinBox* Spin(const char* name, SpinBounds bounds, QWidget* parent) {
    auto* box = Named<QSpinBox>(name, parent);
    box->setRange(bounds.lo, bounds.hi);
    return box;
}

int SpinText(const std::string& text, SpinBounds bounds) {
    const auto v = ParseSettingInt(text);
    return v ? std::clamp(*v, bounds.lo, bounds.hi) : bounds.lo;
}

}  // namespace

ProgramOptionsWindow::ProgramOptionsWindow(SettingsStore& store, ISettings& settings,
                                           IProgramOptionsHost& host, QWidget* parent)
    : PlacedDialog("FopzProg", settings, parent), rules_(store, host) {
    auto* tabs = new QTabWidget(this);
    // "Editor"
    auto* editor = Named<QWidget>("TSEditor");
    auto* editorLayout = new QHBoxLayout(editor);
    auto* left = new QFormLayout;
    maxCacheImg_ = Spin("SEmaxCacheImg", kMaxCacheImgBounds, editor);
    undoDeep_ = Spin("SEundoDeep", kUndoDeepBounds, editor);
    formLim_ = Spin("SEformLim", kWindowCacheBounds, editor);
    left->addRow(NamedLabel("LmaxCacheImg", editor), maxCacheImg_);
    left->addRow(NamedLabel("LundoDeep", editor), undoDeep_);
    left->addRow(NamedLabel("LformLim", editor), formLim_);
    auto* reminder = new QHBoxLayout;
    promemSave_ = NamedCheck("CBpromemSave", editor);
    timeSave_ = Spin("SEtimeSave", SpinBounds{1, 999}, editor);
    reminder->addWidget(promemSave_);
    reminder->addWidget(timeSave_);
    reminder->addWidget(NamedLabel("Lminuti", editor));
    left->addRow(reminder);
    atStartBlank_ = NamedCheck("CBatStartBlank", editor);
    tipOfTheDay_ = NamedCheck("CBtipOfTheDay", editor);
    autoHideTip_ = NamedCheck("CBautoHideTip", editor);
    virgolette_ = NamedCheck("CBvirgolette", editor);
    alt_ = NamedCheck("CBalt", editor);
    bak_ = NamedCheck("CBbak", editor);
    bordoSx_ = NamedCheck("CBbordoSx", editor);
    cercaTop_ = NamedCheck("CBcercaTop", editor);
    for (QCheckBox* box :
         {atStartBlank_, tipOfTheDay_, autoHideTip_, virgolette_, alt_, bak_, bordoSx_, cercaTop_})
        left->addRow(box);
    editorLayout->addLayout(left, 1);
    auto* right = new QVBoxLayout;
    auto* cursorBox = Named<QGroupBox>("RGcursors", editor);
    auto* cursorLayout = new QVBoxLayout(cursorBox);
    cursors_ = new QButtonGroup(cursorBox);
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(cursorBox);
        cursorLayout->addWidget(radio);
        cursors_->addButton(radio, i);
    }
    right->addWidget(cursorBox);
    QPushButton* delReg = NamedButton("BdelReg", editor);
    right->addWidget(delReg);
    right->addStretch();
    editorLayout->addLayout(right);
    tabs->addTab(editor, QString());

    // "Estensioni/applicazioni"
    auto* types = Named<QWidget>("TSEstensioni");
    auto* typesLayout = new QVBoxLayout(types);
    auto* intro = NamedLabel("Lestensioni1", types);
    intro->setWordWrap(true);
    typesLayout->addWidget(intro);
    auto* typesRow = new QHBoxLayout;
    types_ = Named<QListWidget>("LVext", types);
    typesRow->addWidget(types_);
    auto* fields = new QVBoxLayout;
    fields->addWidget(NamedLabel("Ldescrizione", types));
    description_ = Named<QLineEdit>("EDdescrizione", types);
    fields->addWidget(description_);
    fields->addWidget(NamedLabel("Lcomp", types));
    behaviour_ = Named<QComboBox>("CBcomp", types);
    for (int i = 0; i < 4; ++i) behaviour_->addItem(QString());
    fields->addWidget(behaviour_);
    auto* programRow = new QHBoxLayout;
    program_ = Named<QLineEdit>("EDapp", types);
    QPushButton* browse = NamedButton("Bbrowse", types);
    programRow->addWidget(program_);
    programRow->addWidget(browse);
    fields->addLayout(programRow);
    auto* typeButtons = new QHBoxLayout;
    QPushButton* add = NamedButton("Baggiungi", types);
    QPushButton* remove = NamedButton("BcancExt", types);
    remove->setText(QStringLiteral("X"));
    typeButtons->addWidget(add);
    typeButtons->addWidget(remove);
    typeButtons->addStretch();
    fields->addLayout(typeButtons);
    fields->addStretch();
    typesRow->addLayout(fields, 1);
    typesLayout->addLayout(typesRow, 1);
    auto* outro = NamedLabel("Lestensioni2", types);
    outro->setWordWrap(true);
    typesLayout->addWidget(outro);
    tabs->addTab(types, QString());

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* ok = NamedButton("BOk", this);
    QPushButton* cancel = NamedButton("BAnnulla", this);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs, 1);
    layout->addLayout(buttons);
    LocalizeFromBlock(*this);
    RestoreWindowPlacement(*this, settings_);

    rules_.FormShow();
    const ProgramOptions& o = rules_.Options();
    maxCacheImg_->setValue(SpinText(o.maxCacheImg, kMaxCacheImgBounds));
    undoDeep_->setValue(SpinText(o.undoDeep, kUndoDeepBounds));
    formLim_->setValue(
        std::clamp(o.windowCacheLimit, kWindowCacheBounds.lo, kWindowCacheBounds.hi));
    timeSave_->setValue(SpinText(o.timeSave, SpinBounds{1, 999}));
    promemSave_->setChecked(o.promemSave);
    atStartBlank_->setChecked(o.atStartBlank);
    tipOfTheDay_->setChecked(o.tipOfTheDay);
    autoHideTip_->setChecked(o.autoHideTip);
    virgolette_->setChecked(o.virgolette);
    alt_->setChecked(o.alt);
    bak_->setChecked(o.bak);
    bordoSx_->setChecked(o.bordoSx);
    cercaTop_->setChecked(o.cercaTop);
    if (QAbstractButton* b = cursors_->button(o.cursors)) b->setChecked(true);
    ShowFileTypes();

    connect(types_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (filling_) return;
        rules_.SelectFileType(row);
        ShowSelectedType();
    });
    connect(types_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (!filling_) rules_.RenameFileType(types_->row(item), ToCp1252(item->text()));
    });
    auto changed = [this] {
        if (!filling_) rules_.ExtParChgClick(ShownType());
    };
    connect(description_, &QLineEdit::textEdited, this, changed);
    connect(program_, &QLineEdit::textEdited, this, changed);
    connect(behaviour_, &QComboBox::currentIndexChanged, this, changed);
    connect(browse, &QPushButton::clicked, this, [this, changed] {
        const QString file = QFileDialog::getOpenFileName(
            this, QString(), program_->text(),
            NameFiltersFrom(TFopzProgRules::kExecutableFilter).join(QStringLiteral(";;")));
        if (file.isEmpty()) return;
        program_->setText(file);
        changed();
    });
    connect(add, &QPushButton::clicked, this, [this] {
        rules_.BaggiungiClick(ShownType());
        ShowFileTypes();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        rules_.BcancExtClick();
        ShowFileTypes();
    });
    connect(delReg, &QPushButton::clicked, this, [this] { rules_.BdelRegClick(); });
    connect(ok, &QPushButton::clicked, this, [this] {
        Confirm();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        rules_.BAnnullaClick();
        reject();
    });
}

void ProgramOptionsWindow::ShowFileTypes() {
    filling_ = true;
    types_->clear();
    for (const FileTypeRow& row : rules_.Options().fileTypes) {
        auto* item = new QListWidgetItem(ToQString(row.caption), types_);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    types_->setCurrentRow(rules_.Options().selectedFileType);
    filling_ = false;
    ShowSelectedType();
}

void ProgramOptionsWindow::ShowSelectedType() {
    filling_ = true;
    const ProgramOptions& o = rules_.Options();
    TExtData shown;
    if (o.selectedFileType >= 0) shown = o.fileTypes[std::size_t(o.selectedFileType)].data;
    description_->setText(ToQString(shown.nam));
    program_->setText(ToQString(shown.appPath));
    behaviour_->setCurrentIndex(std::clamp(int(shown.comp), 0, 3));
    filling_ = false;
}

TExtData ProgramOptionsWindow::ShownType() const {
    return TExtData{behaviour_->currentIndex() < 0 ? 0 : behaviour_->currentIndex(),
                    ToCp1252(program_->text()), ToCp1252(description_->text())};
}

void ProgramOptionsWindow::TakeFields() {
    ProgramOptions& o = rules_.Options();
    o.maxCacheImg = std::to_string(maxCacheImg_->value());
    o.undoDeep = std::to_string(undoDeep_->value());
    o.windowCacheLimit = formLim_->value();
    o.timeSave = std::to_string(timeSave_->value());
    o.promemSave = promemSave_->isChecked();
    o.atStartBlank = atStartBlank_->isChecked();
    o.tipOfTheDay = tipOfTheDay_->isChecked();
    o.autoHideTip = autoHideTip_->isChecked();
    o.virgolette = virgolette_->isChecked();
    o.alt = alt_->isChecked();
    o.bak = bak_->isChecked();
    o.bordoSx = bordoSx_->isChecked();
    o.cercaTop = cercaTop_->isChecked();
    o.cursors = std::max(0, cursors_->checkedId());
}

void ProgramOptionsWindow::Confirm() {
    TakeFields();
    rules_.BOkClick();
}

}  // namespace orvo
