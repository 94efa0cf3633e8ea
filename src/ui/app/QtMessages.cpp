#include "ui/app/QtMessages.h"

#include <QMessageBox>

#include "ui/QtConvert.h"

namespace orvo {
namespace {

// The program writes "\r" or "\r\n" for a line break; Qt breaks lines at "\n".
QString BoxText(std::string_view text) {
    QString result = ToQString(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

QMessageBox::Icon IconOf(Box box) {
    switch (box) {
        case Box::Information:
            return QMessageBox::Information;
        case Box::Warning:
            return QMessageBox::Warning;
        case Box::Error:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

const QString& QuestionCaption() {
    static const QString caption = QStringLiteral("Orvo");
    return caption;
}

}  // namespace

void QtMessages::Show(Box box, std::string_view text) {
    QMessageBox message(IconOf(box), ToQString(Caption(box)), BoxText(text), QMessageBox::Ok,
                        parent_);
    message.exec();
}

bool QtMessages::Ask(std::string_view question) {
    QMessageBox message(QMessageBox::Question, QuestionCaption(), BoxText(question),
                        QMessageBox::Yes | QMessageBox::No, parent_);
    message.setDefaultButton(QMessageBox::Yes);
    return message.exec() == QMessageBox::Yes;
}

Answer QtMessages::AskYesNoCancel(std::string_view question) {
    QMessageBox message(QMessageBox::Question, QuestionCaption(), BoxText(question),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
    message.setDefaultButton(QMessageBox::Yes);
    switch (message.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;  // Escape and the close button cancel
    }
}

}  // namespace orvo
