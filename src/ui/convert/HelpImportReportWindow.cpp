// The help import's report window.
#include "ui/convert/HelpImportReportWindow.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ui/QtConvert.h"

namespace orvo {

HelpImportReportWindow::HelpImportReportWindow(const HelpImportReport& report, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FReportHelp"));
    setWindowTitle(ToQString(kHelpImportReportCaption));
    resize(560, 420);
    auto* layout = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("Memo1"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The report lines up page ids with dots: a fixed-pitch face keeps the columns.
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QString shown = ToQString(report.Text());
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (shown.endsWith(QLatin1Char('\n'))) shown.chop(1);
    text_->setPlainText(shown);
    layout->addWidget(text_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

QString HelpImportReportWindow::Text() const {
    return text_->toPlainText();
}

}  // namespace orvo
