// The page set-up component's rules and its printer profile.
#include "textbox/TPageSetupDialog.h"

#include <cmath>
#include <optional>

#include "base/Format.h"
#include "platform/IPrintDevice.h"
#include "platform/ISettings.h"

namespace orvo {

bool TPageSetupDialog::SetMarginLeft(std::int32_t value) {
    if (value <= minLeft_) return false;
    marginLeft_ = value;
    return true;
}
bool TPageSetupDialog::SetMarginTop(std::int32_t value) {
    if (value < minTop_) return false;
    marginTop_ = value;
    return true;
}
bool TPageSetupDialog::SetMarginRight(std::int32_t value) {
    if (value < minRight_) return false;
    marginRight_ = value;
    return true;
}
bool TPageSetupDialog::SetMarginBottom(std::int32_t value) {
    if (value < minBottom_) return false;
    marginBottom_ = value;
    return true;
}
bool TPageSetupDialog::SetMinMarginLeft(std::int32_t value) {
    if (value > marginLeft_) return false;
    minLeft_ = value;
    return true;
}
bool TPageSetupDialog::SetMinMarginTop(std::int32_t value) {
    if (value > marginTop_) return false;
    minTop_ = value;
    return true;
}
bool TPageSetupDialog::SetMinMarginRight(std::int32_t value) {
    if (value > marginRight_) return false;
    minRight_ = value;
    return true;
}
bool TPageSetupDialog::SetMinMarginBottom(std::int32_t value) {
    if (value > marginBottom_) return false;
    minBottom_ = value;
    return true;
}

bool TPageSetupDialog::UpdateFactors(IPrintDevice& device) {
    const PrinterCapabilities caps = device.Capabilities();
    physicalWidth_ = caps.widthMm * 100;
    physicalHeight_ = caps.heightMm * 100;
    // A device without a size in millimetres has no factors: nothing can be laid out on it.
    if (caps.widthMm <= 0 || caps.heightMm <= 0 || caps.pageWidth <= 0 || caps.pageHeight <= 0) {
        fx_ = fy_ = 0;
        return false;
    }
    fx_ = float(caps.pageWidth) / float(caps.widthMm * 100);
    fy_ = float(caps.pageHeight) / float(caps.heightMm * 100);
    return true;
}

std::int32_t TPageSetupDialog::Across(double hundredths) const {
    return std::int32_t(std::lround(hundredths * double(fx_)));
}

std::int32_t TPageSetupDialog::Down(double hundredths) const {
    return std::int32_t(std::lround(hundredths * double(fy_)));
}

std::string TPageSetupDialog::ProfileKey() const {
    return std::string(kPrinterProfilesKey) + "\\PrnSettings_" + iniSettings_;
}

void TPageSetupDialog::SaveSettings(ISettings& settings, const IPrintDevice& device) const {
    const std::string key = ProfileKey();
    const PrinterDescription printer = device.Description();
    settings.Write(key, "device", printer.device);
    settings.Write(key, "driver", printer.driver);
    settings.Write(key, "port", printer.port);
    for (std::size_t i = 0; i < kDeviceModeNames.size(); ++i)
        settings.WriteInt(key, kDeviceModeNames[i], printer.deviceMode[i]);
    settings.WriteInt(key, "Left", marginLeft_);
    settings.WriteInt(key, "Right", marginRight_);
    settings.WriteInt(key, "Top", marginTop_);
    settings.WriteInt(key, "Bottom", marginBottom_);
    settings.WriteFlag(key, "PrnParsSaved", true);
}

void TPageSetupDialog::SetIniSettings(std::string_view name, ISettings& settings,
                                      IPrintDevice& device) {
    iniSettings_ = std::string(name);
    const std::string key = ProfileKey();
    auto number = [&](std::string_view value) -> std::optional<std::int32_t> {
        const std::optional<std::string> text = settings.Read(key, value);
        if (!text) return std::nullopt;
        long long parsed = 0;
        if (text->empty() ||
            ParseClampedInt(*text, INT32_MIN, INT32_MAX, parsed) != int(text->size()))
            return std::nullopt;
        return std::int32_t(parsed);
    };
    // A value that is missing ends the reading: what was read before it stays.
    [&] {
        PrinterDescription printer;
        const auto device_ = settings.Read(key, "device");
        const auto driver = settings.Read(key, "driver");
        const auto port = settings.Read(key, "port");
        if (!device_ || !driver || !port) return;
        printer.device = *device_;
        printer.driver = *driver;
        printer.port = *port;
        for (std::size_t i = 0; i < kDeviceModeNames.size(); ++i) {
            const auto value = number(kDeviceModeNames[i]);
            if (!value) return;
            printer.deviceMode[i] = *value;
        }
        device.SetDescription(printer);
        const auto left = number("Left");
        if (!left) return;
        SetMarginLeft(*left);
        const auto right = number("Right");
        if (!right) return;
        SetMarginRight(*right);
        const auto top = number("Top");
        if (!top) return;
        SetMarginTop(*top);
        const auto bottom = number("Bottom");
        if (!bottom) return;
        SetMarginBottom(*bottom);
    }();
    UpdateFactors(device);
}

}  // namespace orvo
