// The widgets of "Nuovo ipertesto:", the tips and the about window.
#include "ui/app/StartWindows.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/Paths.h"
#include "platform/ISettings.h"
#include "ui/QtConvert.h"
#include "ui/app/MainWindow.h"

namespace orvo {

NewHypertextWindow::NewHypertextWindow(const std::vector<std::filesystem::path>& folders,
                                       const std::string& preset, ISettings& settings,
                                       QWidget* parent)
    : PlacedDialog("FNewHyp", settings, parent), choices_(NewHypertextChoices(folders, preset)) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NamedLabel("Lmodelli", this));
    list_ = new QListWidget(this);
    list_->setObjectName("LBmodelli");
    for (const NewHypertextChoice& choice : choices_) list_->addItem(ToQString(choice.caption));
    layout->addWidget(list_, 1);
    QLabel* note = NamedLabel("Lnota", this);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto* buttons = new QHBoxLayout;
    QPushButton* other = NamedButton("Bsfoglia", this);
    QPushButton* ok = NamedButton("BOk", this);
    QPushButton* cancel = NamedButton("BAnnulla", this);
    buttons->addWidget(other);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    resize(420, 360);
    LocalizeFromBlock(*this);
    RestoreWindowPlacement(*this, settings_);
    Choose(PresetChoice(choices_, preset));
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(other, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, QString(), QString(),
                                                          QStringLiteral("Ipertesto Orvo (*.kyt)"));
        if (file.isEmpty()) return;
        const std::string path = file.toStdString();
        choices_.push_back({std::string(StemOf(LastComponent(path))), path});
        list_->addItem(ToQString(choices_.back().caption));
        Choose(int(choices_.size()) - 1);
    });
}

void NewHypertextWindow::Choose(int index) {
    list_->setCurrentRow(index);
}

std::string NewHypertextWindow::Chosen() const {
    const int row = list_->currentRow();
    return row > 0 && std::size_t(row) < choices_.size() ? choices_[std::size_t(row)].document
                                                         : std::string();
}

TipsWindow::TipsWindow(ISettings& settings, QWidget* parent)
    : PlacedDialog("Ftips", settings, parent) {
    auto* layout = new QVBoxLayout(this);
    QLabel* heading = NamedLabel("Ltitolo", this);
    QFont big = heading->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    heading->setFont(big);
    layout->addWidget(heading);
    layout->addWidget(NamedLabel("Lsapevi", this));
    tip_ = new QLabel(this);
    tip_->setObjectName("Ltip");
    tip_->setWordWrap(true);
    tip_->setMinimumHeight(80);
    tip_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    tip_->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(tip_, 1);
    showNext_ = NamedCheck("CBmostra", this);
    layout->addWidget(showNext_);
    auto* buttons = new QHBoxLayout;
    QPushButton* next = NamedButton("Bprossimo", this);
    QPushButton* close = NamedButton("BChiudi", this);
    buttons->addStretch();
    buttons->addWidget(next);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(460, 260);
    LocalizeFromBlock(*this);
    RestoreWindowPlacement(*this, settings_);
    const std::string shown = settings_.ReadString("options", "TipOfTheDay");
    showNext_->setChecked(shown == "1" || shown.empty());
    ShowNextTip();
    connect(next, &QPushButton::clicked, this, [this] { ShowNextTip(); });
    connect(close, &QPushButton::clicked, this, [this] { CloseWithButton(); });
}

void TipsWindow::ShowNextTip() {
    tip_->setText(ToQString(Tips()[std::size_t(NextTip(settings_))]));
}

QString TipsWindow::TipText() const {
    return tip_->text();
}

void TipsWindow::CloseWithButton() {
    settings_.Write("options", "TipOfTheDay", showNext_->isChecked() ? "1" : "0");
    accept();
}

AboutWindow::AboutWindow(ISettings& settings, bool splash, QWidget* parent)
    : PlacedDialog("Fabout", settings, parent) {
    auto* layout = new QHBoxLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(96, 96));
    layout->addWidget(icon, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    QLabel* product = NamedLabel("Lprodotto", this);
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    product->setFont(big);
    texts->addWidget(product);
    texts->addWidget(NamedLabel("Ldescrizione", this));
    texts->addStretch();
    QPushButton* ok = NamedButton("BOk", this);
    texts->addWidget(ok, 0, Qt::AlignRight);
    layout->addLayout(texts, 1);
    LocalizeFromBlock(*this);
    if (splash) {
        setWindowFlags(Qt::SplashScreen);
        ok->hide();
    }
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace orvo
