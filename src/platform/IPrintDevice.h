// A printer as the printing code sees it: the sheet's size in device pixels and millimetres, a
// measurer and a canvas at the device's resolution, stretched pictures, and jobs of sheets.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ICanvas.h"
#include "platform/ITextMeasurer.h"

namespace orvo {

/// What a printer tells of its sheet: the printable area in device pixels and in millimetres.
struct PrinterCapabilities {
    std::int32_t pageWidth = 0;   // printable width, pixels
    std::int32_t pageHeight = 0;  // printable height, pixels
    std::int32_t widthMm = 0;     // the same width, millimetres
    std::int32_t heightMm = 0;    // the same height, millimetres
    bool operator==(const PrinterCapabilities&) const = default;
};

/// The ten device-mode values a printer profile keeps, in profile order: paper size, paper
/// length, paper width, orientation, scale, copies, default source, print quality, colour,
/// duplex.
inline constexpr std::array<std::string_view, 10> kDeviceModeNames{
    "dmPaperSize", "dmPaperLength",   "dmPaperWidth",   "dmOrientation", "dmScale",
    "dmCopies",    "dmDefaultSource", "dmPrintQuality", "dmColor",       "dmDuplex"};

/// The persistent description of a printer: its names and its device mode.
struct PrinterDescription {
    std::string device;  // the printer's name
    std::string driver;
    std::string port;
    std::array<std::int32_t, 10> deviceMode{};
    bool operator==(const PrinterDescription&) const = default;
};

/// A printer. A job is BeginJob, drawing on Canvas(), NewPage between sheets, EndJob; every
/// job has at least the sheet BeginJob starts.
class IPrintDevice {
public:
    virtual ~IPrintDevice() = default;

    /// False when no printer can be reached: nothing can be printed.
    virtual bool Reachable() const = 0;
    virtual PrinterCapabilities Capabilities() const = 0;
    /// Measures text as the canvas draws it, at the device's resolution.
    virtual ITextMeasurer& Measurer() = 0;

    /// Starts a job titled `title` on its first sheet; false when the device refused it.
    virtual bool BeginJob(std::string_view title) = 0;
    /// The canvas of the current sheet, valid between BeginJob and EndJob.
    virtual ICanvas& Canvas() = 0;
    /// Draws `image` stretched over `area`.
    virtual void StretchImage(const CanvasImage& image, const Rect& area) = 0;
    /// Ends the current sheet and starts the next.
    virtual void NewPage() = 0;
    /// Ends the job; false when it could not be completed.
    virtual bool EndJob() = 0;

    virtual PrinterDescription Description() const = 0;
    /// Selects the printer described and applies its device mode; false when there is none of
    /// that name.
    virtual bool SetDescription(const PrinterDescription& description) = 0;
};

}  // namespace orvo
