// Input boxes, file dialogs and the error list window as Qt dialogs.
#pragma once

#include <QPointer>
#include <QWidget>

#include "app/MainFormPorts.h"

namespace orvo {

class QtPrompter final : public IPrompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    std::optional<std::string> InputBox(std::string_view caption, std::string_view prompt) override;
    std::optional<FileChoice> OpenDialog(const FileDialogRequest& request) override;
    std::optional<FileChoice> SaveDialog(const FileDialogRequest& request) override;
    void ShowErrorList(std::string_view caption, const std::vector<std::string>& lines) override;

private:
    std::optional<FileChoice> RunFileDialog(const FileDialogRequest& request, bool save);
    QPointer<QWidget> parent_;
};

}  // namespace orvo
