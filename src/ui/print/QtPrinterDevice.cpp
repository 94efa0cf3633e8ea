// The QPrinter device and its description.
#include "ui/print/QtPrinterDevice.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinterInfo>

#include "base/Cp1252.h"

namespace orvo {

namespace {
QPrinter* NewPrinter() {
    auto* printer = new QPrinter(QPrinter::HighResolution);
    // The page set-up's margins are the only margins: the device paints on the whole sheet.
    printer->setFullPage(true);
    printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    if (QPrinterInfo::availablePrinters().isEmpty()) printer->setOutputFormat(QPrinter::PdfFormat);
    return printer;
}
}  // namespace

QtPrinterDevice::QtPrinterDevice()
    : QtPagedPrintDevice(*NewPrinter(), 600),
      printer_(static_cast<QPrinter*>(&device_)),
      owned_(printer_) {
    printer_->setResolution(600);
    SetResolution(printer_->resolution());
}

QtPrinterDevice::~QtPrinterDevice() {
    Finish();
}

bool QtPrinterDevice::SystemHasPrinters() {
    return !QPrinterInfo::availablePrinters().isEmpty();
}

bool QtPrinterDevice::Reachable() const {
    return printer_->outputFormat() == QPrinter::PdfFormat || SystemHasPrinters();
}

void QtPrinterDevice::UseFile(const std::string& utf8Path) {
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(QString::fromStdString(utf8Path));
    printer_->setResolution(600);
    SetResolution(printer_->resolution());
}

PrinterDescription QtPrinterDevice::Description() const {
    PrinterDescription d;
    d.device = Utf8ToCp1252(printer_->printerName().toStdString());
    d.driver = printer_->outputFormat() == QPrinter::PdfFormat ? "pdf" : "cups";
    d.port = Utf8ToCp1252(printer_->outputFileName().toStdString());
    const QPageLayout layout = printer_->pageLayout();
    const QSizeF mm = layout.pageSize().size(QPageSize::Millimeter);
    d.deviceMode = {int(layout.pageSize().id()),
                    int(mm.height() * 10),
                    int(mm.width() * 10),
                    layout.orientation() == QPageLayout::Landscape ? 2 : 1,
                    100,
                    printer_->copyCount(),
                    0,
                    printer_->resolution(),
                    printer_->colorMode() == QPrinter::Color ? 2 : 1,
                    printer_->duplex() == QPrinter::DuplexNone        ? 1
                    : printer_->duplex() == QPrinter::DuplexShortSide ? 3
                                                                      : 2};
    return d;
}

bool QtPrinterDevice::SetDescription(const PrinterDescription& d) {
    if (d.driver == "pdf") {
        printer_->setOutputFormat(QPrinter::PdfFormat);
        if (!d.port.empty())
            printer_->setOutputFileName(QString::fromStdString(Cp1252ToUtf8(d.port)));
    } else {
        const QString name = QString::fromStdString(Cp1252ToUtf8(d.device));
        if (!QPrinterInfo::availablePrinterNames().contains(name)) return false;
        printer_->setOutputFormat(QPrinter::NativeFormat);
        printer_->setPrinterName(name);
    }
    const auto& m = d.deviceMode;
    const QPageSize::PageSizeId id = QPageSize::PageSizeId(m[0]);
    if (m[0] >= 0 && m[0] < int(QPageSize::LastPageSize) && id != QPageSize::Custom)
        printer_->setPageSize(QPageSize(id));
    else if (m[1] > 0 && m[2] > 0)
        printer_->setPageSize(QPageSize(QSizeF(m[2] / 10.0, m[1] / 10.0), QPageSize::Millimeter));
    printer_->setPageOrientation(m[3] == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (m[5] > 0) printer_->setCopyCount(m[5]);
    printer_->setColorMode(m[8] == 1 ? QPrinter::GrayScale : QPrinter::Color);
    printer_->setDuplex(m[9] == 3   ? QPrinter::DuplexShortSide
                        : m[9] == 2 ? QPrinter::DuplexLongSide
                                    : QPrinter::DuplexNone);
    printer_->setFullPage(true);
    printer_->setResolution(600);
    SetResolution(printer_->resolution());
    return true;
}

}  // namespace orvo
