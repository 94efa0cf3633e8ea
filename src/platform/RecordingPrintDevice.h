// A printer that prints nothing and records every job, sheet and drawing call: the printer of
// headless printing tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/FixedMetrics.h"
#include "platform/IPrintDevice.h"
#include "platform/RecordingCanvas.h"

namespace orvo {

/// FixedMetrics at another resolution: a font of s points measures as FixedMetrics measures a
/// font of s × ppi / 96 points (rounded down), so 12 points at 600 pixels per inch advance 38
/// pixels a byte, with ascent 75 and height 93.
class ScaledFixedMetrics final : public ITextMeasurer {
public:
    explicit ScaledFixedMetrics(int pixelsPerInch) : ppi_(pixelsPerInch) {}
    std::int32_t Extent(const TMyFont& font, std::string_view text) override;
    TextMetrics Metrics(const TMyFont& font) override;
    bool IsInstalled(std::string_view faceName) override { return fixed_.IsInstalled(faceName); }
    FontPitch Pitch(const TMyFont& font) override { return fixed_.Pitch(font); }
    FontFamily Family(const TMyFont& font) override { return fixed_.Family(font); }
    std::int32_t PairWidth(const TMyFont& font, int previous, unsigned char current) override;
    void RunWidths(const TMyFont& font, int previous, std::string_view text,
                   std::int32_t* widths) override;
    TMyFont Scaled(TMyFont font) const;

private:
    int ppi_;
    FixedMetrics fixed_;
};

/// One recorded stretched picture.
struct StretchedImage {
    Rect area;
    std::uint64_t key = 0;
    std::int32_t width = 0;  // the picture's own size
    std::int32_t height = 0;
};

/// One sheet: what was drawn on it.
struct RecordedSheet {
    std::vector<CanvasOp> ops;
    std::vector<StretchedImage> images;
    /// The texts drawn, in order.
    std::vector<std::string> Texts() const;
};

struct RecordedJob {
    std::string title;
    std::vector<RecordedSheet> sheets;
    bool ended = false;
};

/// A4 at 600 pixels per inch unless told otherwise: 4960 × 7016 pixels, 210 × 297 mm.
class RecordingPrintDevice final : public IPrintDevice {
public:
    explicit RecordingPrintDevice(PrinterCapabilities capabilities = {4960, 7016, 210, 297},
                                  int pixelsPerInch = 600);

    bool Reachable() const override { return reachable; }
    PrinterCapabilities Capabilities() const override { return capabilities_; }
    ITextMeasurer& Measurer() override { return measurer_; }
    bool BeginJob(std::string_view title) override;
    ICanvas& Canvas() override { return canvas_; }
    void StretchImage(const CanvasImage& image, const Rect& area) override;
    void NewPage() override;
    bool EndJob() override;
    PrinterDescription Description() const override { return description_; }
    bool SetDescription(const PrinterDescription& description) override;

    bool reachable = true;
    /// Printer names SetDescription accepts (besides the current one).
    std::vector<std::string> printers{"Recording"};

    const std::vector<RecordedJob>& Jobs() const { return jobs_; }
    /// Every sheet of every job, in order.
    std::vector<const RecordedSheet*> AllSheets() const;
    void Clear() { jobs_.clear(); }
    void SetCapabilities(const PrinterCapabilities& capabilities) { capabilities_ = capabilities; }

private:
    void CloseSheet();

    PrinterCapabilities capabilities_;
    ScaledFixedMetrics measurer_;
    RecordingCanvas canvas_;
    PrinterDescription description_;
    std::vector<RecordedJob> jobs_;
    bool inJob_ = false;
};

}  // namespace orvo
