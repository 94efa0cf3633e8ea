#include "ui/app/QtPrompter.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QListWidget>
#include <QVBoxLayout>

#include "base/Paths.h"
#include "ui/NameFilters.h"
#include "ui/QtConvert.h"
#include "ui/app/QtLocalizer.h"

namespace orvo {

std::optional<std::string> QtPrompter::InputBox(std::string_view caption, std::string_view prompt) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, ToQString(caption), ToQString(prompt),
                                               QLineEdit::Normal, QString(), &ok);
    if (!ok) return std::nullopt;
    return ToCp1252(text);
}

std::optional<FileChoice> QtPrompter::RunFileDialog(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(parent_);
    dialog.setObjectName(save ? QStringLiteral("SaveDialog") : QStringLiteral("OpenDialog"));
    if (nonNative_) dialog.setOption(QFileDialog::DontUseNativeDialog);
    const QObject* texts = save ? saveTexts_.data() : openTexts_.data();
    if (!request.title.empty())
        dialog.setWindowTitle(ToQString(request.title));
    else if (texts && !texts->property("title").toString().isEmpty())
        dialog.setWindowTitle(texts->property("title").toString());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.folder.empty()) {
        dialog.setDirectory(QString::fromStdString(NativePath(request.folder).string()));
    }
    if (!request.fileName.empty()) dialog.selectFile(ToQString(request.fileName));
    const QStringList filters = NameFiltersFrom(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = std::clamp(request.filterIndex, 1, int(filters.size())) - 1;
        dialog.selectNameFilter(filters[index]);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    FileChoice choice;
    choice.path = NameOfPath(std::filesystem::path(dialog.selectedFiles().front().toStdString()));
    choice.filterIndex = std::max(0, int(filters.indexOf(dialog.selectedNameFilter()))) + 1;
    return choice;
}

std::optional<FileChoice> QtPrompter::OpenDialog(const FileDialogRequest& request) {
    return RunFileDialog(request, false);
}

std::optional<FileChoice> QtPrompter::SaveDialog(const FileDialogRequest& request) {
    return RunFileDialog(request, true);
}

void QtPrompter::ShowErrorList(std::string_view caption, const std::vector<std::string>& lines) {
    QDialog dialog(parent_);
    dialog.setWindowTitle(ToQString(caption));
    auto* layout = new QVBoxLayout(&dialog);
    auto* list = new QListWidget(&dialog);
    for (const std::string& line : lines) list->addItem(ToQString(line));
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.resize(480, 300);
    dialog.exec();
}

}  // namespace orvo
