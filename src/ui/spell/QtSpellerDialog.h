// The spelling dialog "Controllo ortografia" as a Qt window over TQzSpellerDialog: the
// problem's title, the line that holds it with the word in red (the only part the user may
// edit), the suggestions and the buttons. Every decision is the rules'; the window shows their
// state after each click and closes when they end.
#pragma once

#include <QDialog>

#include "spell/QzSpellers.h"

class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTextEdit;

namespace orvo {

class TQzSpellerDialog;

class QtSpellerDialog final : public QDialog, public ISpellerDialogView {
public:
    explicit QtSpellerDialog(QWidget* parent = nullptr);
    ~QtSpellerDialog() override;

    /// Shows the rules' state and runs the window modally until they end.
    void RunModal(TQzSpellerDialog& dialog) override;
    /// Shows the rules' state without running the window (tests drive it).
    void Attach(TQzSpellerDialog& dialog);
    /// The rules shown, nullptr when none.
    TQzSpellerDialog* Rules() const { return dialog_; }

    QPushButton* Button(const char* objectName) const;
    QTextEdit* Misspelling() const { return misspelling_; }
    QListWidget* Variants() const { return variants_; }
    QLabel* InfoMsg() const { return infoMsg_; }
    QLabel* Label2() const { return label2_; }
    QGroupBox* Panel1() const { return panel1_; }

    /// Reads the rules' state into the widgets; with `text`, the editor too.
    void Sync(bool text = true);

    /// Closing the window: "C&hiudi" when the check is running.
    void reject() override;

private:
    // Runs a click of the rules and shows what follows; the window closes when they end.
    template <typename Action>
    void Act(Action action);
    void MisspellingChanged();
    void ShowContext();

    TQzSpellerDialog* dialog_ = nullptr;
    bool updating_ = false;
    QLabel* infoMsg_ = nullptr;
    QTextEdit* misspelling_ = nullptr;
    QLabel* label2_ = nullptr;
    QListWidget* variants_ = nullptr;
    QGroupBox* panel1_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QWidget* full_ = nullptr;
};

}  // namespace orvo
