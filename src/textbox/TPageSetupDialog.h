// The page set-up component: four margins in hundredths of a millimetre, their minimums, the
// printer's pixels per hundredth of a millimetre, and the printer profile kept in the settings
// store. The dialog that shows it belongs to the desktop.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvo {

class IPrintDevice;
class ISettings;

inline constexpr std::string_view kNoPrinterReachable =
    "Nessuna stampante raggiungibile nell'ambiente Windows.\rUscire dal programma ed usare il "
    "pannello di controllo per installare stampanti.";
/// The key of the printer profiles, below the program's key in the settings store.
inline constexpr std::string_view kPrinterProfilesKey = "printerProfiles";
/// The profile the main window keeps.
inline constexpr std::string_view kMainPrinterProfile = "PrinterSettings1";

class TPageSetupDialog {
public:
    /// Margins of 2500 (25 mm) each, minimums of 0.
    TPageSetupDialog() = default;

    std::int32_t MarginLeft() const { return marginLeft_; }
    std::int32_t MarginTop() const { return marginTop_; }
    std::int32_t MarginRight() const { return marginRight_; }
    std::int32_t MarginBottom() const { return marginBottom_; }
    /// The left margin takes only a value above its minimum; the others a value at or above
    /// theirs. A refused value leaves the old one; the result tells whether it was taken.
    bool SetMarginLeft(std::int32_t value);
    bool SetMarginTop(std::int32_t value);
    bool SetMarginRight(std::int32_t value);
    bool SetMarginBottom(std::int32_t value);
    std::int32_t MinMarginLeft() const { return minLeft_; }
    std::int32_t MinMarginTop() const { return minTop_; }
    std::int32_t MinMarginRight() const { return minRight_; }
    std::int32_t MinMarginBottom() const { return minBottom_; }
    /// A minimum is taken only when it is not above its margin.
    bool SetMinMarginLeft(std::int32_t value);
    bool SetMinMarginTop(std::int32_t value);
    bool SetMinMarginRight(std::int32_t value);
    bool SetMinMarginBottom(std::int32_t value);

    /// Reads the printer's size: fx = pixels across / (millimetres across × 100), fy likewise.
    /// False (factors 0) when the printer gives no size.
    bool UpdateFactors(IPrintDevice& device);
    float Fx() const { return fx_; }
    float Fy() const { return fy_; }
    /// The printer's printable size in hundredths of a millimetre.
    std::int32_t PhysicalWidth() const { return physicalWidth_; }
    std::int32_t PhysicalHeight() const { return physicalHeight_; }
    /// Hundredths of a millimetre as printer pixels, across and down (rounded).
    std::int32_t Across(double hundredths) const;
    std::int32_t Down(double hundredths) const;

    /// The profile's name; the main window's is "PrinterSettings1".
    const std::string& IniSettings() const { return iniSettings_; }
    /// Sets the profile's name and reads it: the printer named by device, driver and port, its
    /// ten device-mode values, the four margins through their setters, then the factors. A
    /// value that is missing ends the reading; what was read stays.
    void SetIniSettings(std::string_view name, ISettings& settings, IPrintDevice& device);
    /// Writes the profile: the printer's names and device mode, the margins, "PrnParsSaved".
    void SaveSettings(ISettings& settings, const IPrintDevice& device) const;
    /// The settings key of the profile.
    std::string ProfileKey() const;

private:
    std::int32_t marginLeft_ = 2500, marginTop_ = 2500, marginRight_ = 2500, marginBottom_ = 2500;
    std::int32_t minLeft_ = 0, minTop_ = 0, minRight_ = 0, minBottom_ = 0;
    float fx_ = 0, fy_ = 0;
    std::int32_t physicalWidth_ = 0, physicalHeight_ = 0;
    std::string iniSettings_{kMainPrinterProfile};
};

}  // namespace orvo
