// The main window's printing commands on the desktop: printer set-up, margins through the
// page set-up dialog (both kept in the printer profile), the print window, printing all.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

#include "app/MainFormPorts.h"
#include "textbox/TPageSetupDialog.h"

class QWidget;

namespace orvo {

class IMessages;
class ISettings;
class QtPrinterDevice;
class TKYTset;

class QtPrintService final : public IPrintService {
public:
    /// `currentPage` tells the page being edited (-1 none); `commit` stores its edits first.
    QtPrintService(TKYTset& set, ISettings& settings, IMessages& messages, QWidget* parent,
                   std::function<std::int32_t()> currentPage, std::function<void()> commit);
    ~QtPrintService() override;

    /// Printing is always possible: without a printer it goes into a PDF file.
    bool PrinterAvailable() const override { return true; }
    Outcome SetupPrinter() override;
    Outcome SetupMargins() override;
    Outcome OpenPrintWindow() override;
    Outcome PrintCurrentPage() override;
    Outcome PrintAll() override;

    TPageSetupDialog& PageSetup() { return setup_; }
    /// Prints into this PDF file rather than the one the print window proposes.
    void SetPdfFile(const QString& path) { pdfFile_ = path; }

private:
    void ReadProfile();

    TKYTset& set_;
    ISettings& settings_;
    IMessages& messages_;
    QWidget* parent_;
    std::function<std::int32_t()> currentPage_;
    std::function<void()> commit_;
    TPageSetupDialog setup_;
    std::unique_ptr<QtPrinterDevice> printer_;
    QString pdfFile_;
};

}  // namespace orvo
