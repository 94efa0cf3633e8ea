// The desktop's printer: a QPrinter, either one of the system's printers (CUPS) or a PDF file,
// as the printing code's device; its description is what the printer profile keeps.
#pragma once

#include <QPrinter>

#include <memory>
#include <string>

#include "ui/render/QtPrintDevice.h"

namespace orvo {

class QtPrinterDevice final : public QtPagedPrintDevice {
public:
    /// The system's default printer; a PDF file when there is none.
    QtPrinterDevice();
    ~QtPrinterDevice() override;

    /// True when the system has a printer or the output is a PDF file.
    bool Reachable() const override;
    PrinterDescription Description() const override;
    bool SetDescription(const PrinterDescription& description) override;

    QPrinter& Printer() { return *printer_; }
    /// Prints into a PDF file instead of a printer.
    void UseFile(const std::string& utf8Path);
    /// The system has at least one printer.
    static bool SystemHasPrinters();

private:
    QPrinter* printer_;
    std::unique_ptr<QPrinter> owned_;
};

}  // namespace orvo
