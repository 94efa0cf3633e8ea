// Printing onto Qt paged devices, and PDF files.
#include "ui/render/QtPrintDevice.h"

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "base/Cp1252.h"
#include "ui/QtConvert.h"

namespace orvo {

QtPagedPrintDevice::QtPagedPrintDevice(QPagedPaintDevice& device, int pixelsPerInch)
    : device_(device), measurer_(std::make_unique<QtTextMeasurer>(pixelsPerInch)) {}

void QtPagedPrintDevice::SetResolution(int pixelsPerInch) {
    if (canvas_ || pixelsPerInch == measurer_->PixelsPerInch()) return;
    measurer_ = std::make_unique<QtTextMeasurer>(pixelsPerInch);
}

QtPagedPrintDevice::~QtPagedPrintDevice() {
    Finish();
}

PrinterCapabilities QtPagedPrintDevice::Capabilities() const {
    return {device_.width(), device_.height(), device_.widthMM(), device_.heightMM()};
}

bool QtPagedPrintDevice::BeginJob(std::string_view title) {
    if (failed_) return false;
    if (!started_) {
        StartingDevice(title);
        if (!painter_.begin(&device_)) {
            failed_ = true;
            return false;
        }
        started_ = true;
    } else {
        canvas_.reset();
        if (!device_.newPage()) return false;
    }
    canvas_ = std::make_unique<QPainterCanvas>(painter_, *measurer_);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    ++sheets_;
    return true;
}

ICanvas& QtPagedPrintDevice::Canvas() {
    return *canvas_;
}

void QtPagedPrintDevice::StretchImage(const CanvasImage& image, const Rect& area) {
    if (image.Empty() || area.Empty() || !started_) return;
    const QImage view(image.rgba, image.width, image.height, image.width * 4,
                      QImage::Format_RGBA8888);
    painter_.drawImage(ToQRect(area), view);
}

void QtPagedPrintDevice::NewPage() {
    if (!started_) return;
    canvas_.reset();
    device_.newPage();
    canvas_ = std::make_unique<QPainterCanvas>(painter_, *measurer_);
    ++sheets_;
}

bool QtPagedPrintDevice::EndJob() {
    return started_ && !failed_;
}

bool QtPagedPrintDevice::Finish() {
    canvas_.reset();
    if (started_) {
        started_ = false;
        if (!painter_.end()) failed_ = true;
    }
    return !failed_;
}

bool QtPagedPrintDevice::SetDescription(const PrinterDescription& description) {
    description_ = description;
    return true;
}

PdfPrintDevice::PdfPrintDevice(const std::filesystem::path& file, const PdfPaper& paper)
    : QtPagedPrintDevice(*new QPdfWriter(QString::fromStdString(file.string())),
                         paper.pixelsPerInch),
      writer_(static_cast<QPdfWriter*>(&device_)) {
    writer_->setResolution(paper.pixelsPerInch);
    writer_->setPageLayout(
        QPageLayout(QPageSize(QSizeF(paper.widthMm, paper.heightMm), QPageSize::Millimeter),
                    QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer_->setCreator("Orvo");
    description_.device = "PDF";
}

PdfPrintDevice::~PdfPrintDevice() {
    Finish();
}

void PdfPrintDevice::StartingDevice(std::string_view title) {
    writer_->setTitle(QString::fromStdString(Cp1252ToUtf8(title)));
}

}  // namespace orvo
