// The desktop's printing commands.
#include "ui/print/QtPrintService.h"

#include <QPageSetupDialog>
#include <QPrintDialog>

#include "platform/IMessages.h"
#include "ui/print/QtPrinterDevice.h"
#include "ui/print/TFprint.h"

namespace orvo {

QtPrintService::QtPrintService(TKYTset& set, ISettings& settings, IMessages& messages,
                               QWidget* parent, std::function<std::int32_t()> currentPage,
                               std::function<void()> commit)
    : set_(set),
      settings_(settings),
      messages_(messages),
      parent_(parent),
      currentPage_(std::move(currentPage)),
      commit_(std::move(commit)),
      printer_(std::make_unique<QtPrinterDevice>()) {
    ReadProfile();
}

QtPrintService::~QtPrintService() = default;

void QtPrintService::ReadProfile() {
    setup_.SetIniSettings(kMainPrinterProfile, settings_, *printer_);
}

Outcome QtPrintService::SetupPrinter() {
    if (!QtPrinterDevice::SystemHasPrinters()) {
        messages_.Error(kNoPrinterReachable);
        return Outcome::Failed;
    }
    ReadProfile();
    QPrintDialog dialog(&printer_->Printer(), parent_);
    if (dialog.exec() != QDialog::Accepted) return Outcome::Cancelled;
    printer_->SetDescription(printer_->Description());  // whole sheet, our resolution
    setup_.SaveSettings(settings_, *printer_);
    return Outcome::Done;
}

Outcome QtPrintService::SetupMargins() {
    ReadProfile();
    QPrinter& printer = printer_->Printer();
    printer.setFullPage(false);
    printer.setPageMargins(QMarginsF(setup_.MarginLeft() / 100.0, setup_.MarginTop() / 100.0,
                                     setup_.MarginRight() / 100.0, setup_.MarginBottom() / 100.0),
                           QPageLayout::Millimeter);
    QPageSetupDialog dialog(&printer, parent_);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    // The margins shown are taken back through their setters in every case.
    const QMarginsF m = printer.pageLayout().margins(QPageLayout::Millimeter);
    setup_.SetMarginLeft(std::int32_t(m.left() * 100 + 0.5));
    setup_.SetMarginTop(std::int32_t(m.top() * 100 + 0.5));
    setup_.SetMarginRight(std::int32_t(m.right() * 100 + 0.5));
    setup_.SetMarginBottom(std::int32_t(m.bottom() * 100 + 0.5));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    printer.setFullPage(true);
    setup_.UpdateFactors(*printer_);
    if (!accepted) return Outcome::Cancelled;
    setup_.SaveSettings(settings_, *printer_);
    return Outcome::Done;
}

Outcome QtPrintService::OpenPrintWindow() {
    if (commit_) commit_();
    ReadProfile();
    TFprint dialog(set_, settings_, setup_, currentPage_ ? currentPage_() : -1, parent_);
    dialog.AddCurrent();
    return dialog.exec() == QDialog::Accepted ? Outcome::Done : Outcome::Cancelled;
}

Outcome QtPrintService::PrintCurrentPage() {
    if (commit_) commit_();
    ReadProfile();
    TFprint dialog(set_, settings_, setup_, currentPage_ ? currentPage_() : -1, parent_);
    if (!pdfFile_.isEmpty()) dialog.SetPdfFile(pdfFile_);
    dialog.AddCurrent();
    return dialog.PrintList() >= 0 ? Outcome::Done : Outcome::Failed;
}

Outcome QtPrintService::PrintAll() {
    if (commit_) commit_();
    ReadProfile();
    TFprint dialog(set_, settings_, setup_, currentPage_ ? currentPage_() : -1, parent_);
    if (!pdfFile_.isEmpty()) dialog.SetPdfFile(pdfFile_);
    dialog.AllInDefaultOrder();
    return dialog.PrintList() >= 0 ? Outcome::Done : Outcome::Failed;
}

}  // namespace orvo
