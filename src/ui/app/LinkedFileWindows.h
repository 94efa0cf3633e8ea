// The windows of following a link to an embedded file, over LinkedFiles' rules: the Qt window
// "Collegamento a file", the save dialog for the file, and the open dialog "Scegli
// l'applicazione da usare:" (the file dialogs through the prompter, as every file dialog).
#pragma once

#include <QPointer>
#include <QWidget>

#include "app/LinkedFiles.h"
#include "app/MainFormPorts.h"

class QDialog;

namespace orvo {

class IMessages;

/// "Collegamento a file" for `fileName` (Windows-1252, without its folder), not yet shown;
/// its buttons are named "BEsegui", "BSalva", "BAvanzate", "BAnnulla" and each ends the window
/// with its action's number (FileLinkAction) as result.
QDialog* NewFileLinkDialog(std::string_view fileName, QWidget* parent);

class QtLinkedFileWindows final : public ILinkedFileWindows {
public:
    QtLinkedFileWindows(QWidget* parent, IPrompter& prompter, IMessages& messages)
        : parent_(parent), prompter_(prompter), messages_(messages) {}
    FileLinkAction AskFileAction(std::string_view fileName) override;
    std::optional<std::filesystem::path> AskSavePath(std::string_view fileName) override;
    /// The options window is not built: "Non definito o non supportato.".
    void ShowFileTypeOptions() override;
    std::optional<std::filesystem::path> ChooseApplication() override;

private:
    QPointer<QWidget> parent_;
    IPrompter& prompter_;
    IMessages& messages_;
};

}  // namespace orvo
