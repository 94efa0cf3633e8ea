// Message boxes and questions as Qt message boxes, with the program's captions.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/IMessages.h"

namespace orvo {

class QtMessages final : public IMessages {
public:
    explicit QtMessages(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    void Show(Box box, std::string_view text) override;
    bool Ask(std::string_view question) override;
    Answer AskYesNoCancel(std::string_view question) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace orvo
