// A printer device over a Qt paged device (a PDF writer, or a printer in the desktop
// program): sheets are its pages, text is measured and drawn with the Qt measurer at the
// device's resolution. No widget is needed, so orvo-cli prints to PDF with it.
#pragma once

#include <QPagedPaintDevice>
#include <QPainter>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/IPrintDevice.h"
#include "ui/render/QPainterCanvas.h"
#include "ui/render/QtTextMeasurer.h"

class QPdfWriter;

namespace orvo {

/// Jobs go one after the other into the same device: a job after the first starts on a new
/// page. The painter ends with the device (or Finish).
class QtPagedPrintDevice : public IPrintDevice {
public:
    /// `device` outlives this; `pixelsPerInch` is its resolution.
    QtPagedPrintDevice(QPagedPaintDevice& device, int pixelsPerInch);
    ~QtPagedPrintDevice() override;

    bool Reachable() const override { return true; }
    PrinterCapabilities Capabilities() const override;
    ITextMeasurer& Measurer() override { return *measurer_; }
    bool BeginJob(std::string_view title) override;
    ICanvas& Canvas() override;
    void StretchImage(const CanvasImage& image, const Rect& area) override;
    void NewPage() override;
    bool EndJob() override;
    PrinterDescription Description() const override { return description_; }
    bool SetDescription(const PrinterDescription& description) override;

    /// Measures and draws at another resolution (the device's, once it is known); only
    /// between jobs.
    void SetResolution(int pixelsPerInch);
    /// Ends the painter: the device's output is complete. False when painting failed.
    bool Finish();
    int Sheets() const { return sheets_; }

protected:
    /// Called before the first job starts painting (a PDF writer takes its title).
    virtual void StartingDevice(std::string_view /*title*/) {}

    QPagedPaintDevice& device_;
    PrinterDescription description_;

private:
    std::unique_ptr<QtTextMeasurer> measurer_;
    QPainter painter_;
    std::unique_ptr<QPainterCanvas> canvas_;
    bool started_ = false;
    bool failed_ = false;
    int sheets_ = 0;
};

struct PdfPaper {
    double widthMm = 210;  // A4
    double heightMm = 297;
    int pixelsPerInch = 600;
};

/// A PDF file of sheets of `paper`, without the device's own margins: the page set-up's
/// margins are the only ones.
class PdfPrintDevice final : public QtPagedPrintDevice {
public:
    PdfPrintDevice(const std::filesystem::path& file, const PdfPaper& paper = {});
    ~PdfPrintDevice() override;

protected:
    void StartingDevice(std::string_view title) override;

private:
    std::unique_ptr<QPdfWriter> writer_;
};

}  // namespace orvo
