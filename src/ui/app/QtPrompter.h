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
    /// The localised texts of the open and save dialogs (NewDialogTexts): their title stands
    /// when the request names none.
    void SetDialogTexts(QObject* open, QObject* save) {
        openTexts_ = open;
        saveTexts_ = save;
    }
    /// Runs every file dialog with Qt's own widgets instead of the desktop's, as the tests
    /// drive them.
    void SetNonNative(bool on) { nonNative_ = on; }
    std::optional<std::string> InputBox(std::string_view caption, std::string_view prompt) override;
    std::optional<FileChoice> OpenDialog(const FileDialogRequest& request) override;
    std::optional<FileChoice> SaveDialog(const FileDialogRequest& request) override;
    void ShowErrorList(std::string_view caption, const std::vector<std::string>& lines) override;

private:
    std::optional<FileChoice> RunFileDialog(const FileDialogRequest& request, bool save);
    QPointer<QWidget> parent_;
    QPointer<QObject> openTexts_, saveTexts_;
    bool nonNative_ = false;
};

}  // namespace orvo
