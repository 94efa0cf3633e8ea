// The recording printer and its scaled fixed metrics.
#include "platform/RecordingPrintDevice.h"

#include <algorithm>

namespace orvo {

TMyFont ScaledFixedMetrics::Scaled(TMyFont font) const {
    const std::int64_t size = std::int64_t(font.size) * ppi_ / 96;
    font.size = std::int32_t(std::clamp<std::int64_t>(size, -1000000, 1000000));
    return font;
}

std::int32_t ScaledFixedMetrics::Extent(const TMyFont& font, std::string_view text) {
    return fixed_.Extent(Scaled(font), text);
}

TextMetrics ScaledFixedMetrics::Metrics(const TMyFont& font) {
    return fixed_.Metrics(Scaled(font));
}

std::int32_t ScaledFixedMetrics::PairWidth(const TMyFont& font, int previous,
                                           unsigned char current) {
    return fixed_.PairWidth(Scaled(font), previous, current);
}

void ScaledFixedMetrics::RunWidths(const TMyFont& font, int previous, std::string_view text,
                                   std::int32_t* widths) {
    fixed_.RunWidths(Scaled(font), previous, text, widths);
}

std::vector<std::string> RecordedSheet::Texts() const {
    std::vector<std::string> texts;
    for (const CanvasOp& op : ops)
        if (op.kind == CanvasOpKind::Text) texts.push_back(op.text);
    return texts;
}

RecordingPrintDevice::RecordingPrintDevice(PrinterCapabilities capabilities, int pixelsPerInch)
    : capabilities_(capabilities), measurer_(pixelsPerInch), canvas_(measurer_) {
    description_.device = "Recording";
}

bool RecordingPrintDevice::BeginJob(std::string_view title) {
    if (!reachable || inJob_) return false;
    inJob_ = true;
    canvas_.Clear();
    RecordedJob job;
    job.title = std::string(title);
    job.sheets.emplace_back();
    jobs_.push_back(std::move(job));
    return true;
}

void RecordingPrintDevice::CloseSheet() {
    if (jobs_.empty() || jobs_.back().sheets.empty()) return;
    jobs_.back().sheets.back().ops = canvas_.Ops();
    canvas_.Clear();
}

void RecordingPrintDevice::StretchImage(const CanvasImage& image, const Rect& area) {
    if (!inJob_) return;
    jobs_.back().sheets.back().images.push_back({area, image.key, image.width, image.height});
}

void RecordingPrintDevice::NewPage() {
    if (!inJob_) return;
    CloseSheet();
    jobs_.back().sheets.emplace_back();
}

bool RecordingPrintDevice::EndJob() {
    if (!inJob_) return false;
    CloseSheet();
    jobs_.back().ended = true;
    inJob_ = false;
    return true;
}

bool RecordingPrintDevice::SetDescription(const PrinterDescription& description) {
    if (description.device != description_.device &&
        std::find(printers.begin(), printers.end(), description.device) == printers.end())
        return false;
    description_ = description;
    return true;
}

std::vector<const RecordedSheet*> RecordingPrintDevice::AllSheets() const {
    std::vector<const RecordedSheet*> sheets;
    for (const RecordedJob& job : jobs_)
        for (const RecordedSheet& sheet : job.sheets) sheets.push_back(&sheet);
    return sheets;
}

}  // namespace orvo
