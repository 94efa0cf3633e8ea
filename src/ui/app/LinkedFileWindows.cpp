#include "ui/app/LinkedFileWindows.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/Paths.h"
#include "platform/IMessages.h"
#include "ui/QtConvert.h"

namespace orvo {
namespace {

QString ButtonName(FileLinkAction action) {
    switch (action) {
        case FileLinkAction::Esegui:
            return QStringLiteral("BEsegui");
        case FileLinkAction::Salva:
            return QStringLiteral("BSalva");
        case FileLinkAction::Avanzate:
            return QStringLiteral("BAvanzate");
        case FileLinkAction::Annulla:
            break;
    }
    return QStringLiteral("BAnnulla");
}

}  // namespace

QDialog* NewFileLinkDialog(std::string_view fileName, QWidget* parent) {
    auto* dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("TFFiles"));
    dialog->setWindowTitle(ToQString(kFileLinkCaption));
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(new QLabel(ToQString(kFileLinkPointsTo), dialog));
    auto* name = new QLabel(ToQString(fileName), dialog);
    name->setObjectName(QStringLiteral("LFile"));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    name->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(name);
    layout->addWidget(new QLabel(ToQString(kFileLinkChoose), dialog));
    auto* row = new QHBoxLayout;
    for (const FileLinkButton& b : kFileLinkButtons) {
        auto* button = new QPushButton(ToQString(b.caption), dialog);
        button->setObjectName(ButtonName(b.action));
        button->setAutoDefault(false);
        button->setDefault(b.action == kFileLinkDefault);
        const int result = int(b.action) + 1;  // 0 is a window closed without a button
        QObject::connect(button, &QPushButton::clicked, dialog,
                         [dialog, result] { dialog->done(result); });
        row->addWidget(button);
    }
    layout->addLayout(row);
    return dialog;
}

FileLinkAction QtLinkedFileWindows::AskFileAction(std::string_view fileName) {
    QDialog* dialog = NewFileLinkDialog(fileName, parent_);
    const int result = dialog->exec();
    delete dialog;
    // Closing the window (Esc, the title bar) gives 0: Annulla.
    for (const FileLinkButton& b : kFileLinkButtons)
        if (result == int(b.action) + 1) return b.action;
    return FileLinkAction::Annulla;
}

std::optional<std::filesystem::path> QtLinkedFileWindows::AskSavePath(std::string_view fileName) {
    FileDialogRequest request;
    request.fileName = std::string(fileName);
    request.filter = "Tutti i files (*.*)|*.*";
    const std::optional<FileChoice> choice = prompter_.SaveDialog(request);
    if (!choice || choice->path.empty()) return std::nullopt;
    return NativePath(choice->path);
}

void QtLinkedFileWindows::ShowFileTypeOptions() {
    messages_.Inform(kNotSupported);
}

std::optional<std::filesystem::path> QtLinkedFileWindows::ChooseApplication() {
    FileDialogRequest request;
    request.title = std::string(kChooseApplicationTitle);
    request.filter = "Tutti i files (*.*)|*.*";
    const std::optional<FileChoice> choice = prompter_.OpenDialog(request);
    if (!choice || choice->path.empty()) return std::nullopt;
    return NativePath(choice->path);
}

}  // namespace orvo
