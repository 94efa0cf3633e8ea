#include "ui/album/DeletionWindow.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "model/uKYTset.h"
#include "ui/QtConvert.h"

namespace orvo {

DeletionWindow::DeletionWindow(TKYTset& set, std::vector<std::int32_t> codes, DeletionEditor editor,
                               album::WindowDressing dressing, QWidget* parent)
    : DressedDialog("Fcancella", std::move(dressing), parent),
      set_(set),
      codes_(CollectForDeletion(codes)),
      editor_(std::move(editor)) {
    auto* layout = new QVBoxLayout(this);
    tabs_ = album::Named<QTabWidget>("PageControl1", this);
    auto* found = album::Named<QWidget>("TSriferimenti", tabs_);
    auto* foundLayout = new QVBoxLayout(found);
    foundLayout->addWidget(album::Named<QLabel>("Lpresenti", found));
    progress_ = album::Named<QProgressBar>("ProgressBar1", found);
    progress_->setRange(0, int(codes_.size()));
    progress_->setValue(0);
    foundLayout->addWidget(progress_);
    references_ = album::Named<QPlainTextEdit>("MemoList", found);
    references_->setReadOnly(true);
    references_->setLineWrapMode(QPlainTextEdit::NoWrap);
    foundLayout->addWidget(references_);
    QLabel* confirm = album::Named<QLabel>("Lconferma", found);
    confirm->setWordWrap(true);
    foundLayout->addWidget(confirm);
    auto* chosen = album::Named<QWidget>("TSselezionati", tabs_);
    auto* chosenLayout = new QVBoxLayout(chosen);
    selected_ = album::Named<QPlainTextEdit>("MemoSel", chosen);
    selected_->setReadOnly(true);
    chosenLayout->addWidget(selected_);
    tabs_->addTab(found, QString());
    tabs_->addTab(chosen, QString());
    layout->addWidget(tabs_);
    deleting_ = album::Named<QProgressBar>("ProgressBar2", this);
    deleting_->setRange(0, int(codes_.size()));
    deleting_->hide();
    layout->addWidget(deleting_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = album::Named<QPushButton>("BOk", this);
    ok->setDefault(true);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(album::Named<QPushButton>("BAnnulla", this), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(ok, &QPushButton::clicked, this, [this] { Confirm(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    Dress();
    tabs_->setCurrentIndex(0);
    for (std::int32_t code : codes_)
        selected_->appendPlainText(ToQString(SelectedLine(set_, code)));
    resize(560, 420);
}

DeletionWindow::~DeletionWindow() {
    StopSearch();
}

void DeletionWindow::showEvent(QShowEvent* event) {
    DressedDialog::showEvent(event);
    StartSearch();
}

void DeletionWindow::StartSearch() {
    if (search_) return;
    progress_->show();
    QPointer<DeletionWindow> self(this);
    // The worker hands each object's lines to this window's thread; after StopSearch returns
    // it calls nothing, and what it queued before goes with the window.
    search_ = std::make_unique<WhereUsedSearch>(
        set_, codes_,
        [self](std::size_t, std::vector<std::string> lines) {
            QMetaObject::invokeMethod(
                self.data(),
                [self, lines = std::move(lines)]() mutable {
                    if (self) self->Found(std::move(lines));
                },
                Qt::QueuedConnection);
        },
        [self] {
            QMetaObject::invokeMethod(
                self.data(),
                [self] {
                    if (!self) return;
                    self->done_ = true;
                    self->progress_->hide();
                },
                Qt::QueuedConnection);
        });
    search_->Start();
}

void DeletionWindow::Found(std::vector<std::string> lines) {
    for (const std::string& line : lines) references_->appendPlainText(ToQString(line));
    progress_->setValue(progress_->value() + 1);
}

void DeletionWindow::StopSearch() {
    if (search_) search_->Stop();
}

void DeletionWindow::Confirm() {
    // Nothing is deleted while the worker may still read: it has stopped when Stop returns.
    StopSearch();
    tabs_->setCurrentIndex(1);
    deleting_->show();
    selected_->clear();
    for (std::int32_t code : codes_) {
        selected_->appendPlainText(ToQString(DeletedLine(SelectedLine(set_, code))));
        deleting_->setValue(deleting_->value() + 1);
    }
    result_ = DeleteObjects(set_, codes_, editor_);
    accept();
}

void DeletionWindow::done(int result) {
    StopSearch();
    DressedDialog::done(result);
}

}  // namespace orvo
