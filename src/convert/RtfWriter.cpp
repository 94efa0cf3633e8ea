// The small pieces of RTF the exporter is made of.
#include "convert/RtfWriter.h"

#include <cmath>

#include "base/Files.h"

namespace orvo {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

bool KeptInContextId(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_';
}

}  // namespace

std::string RtfChar(unsigned char c) {
    if (c == '\\' || c == '{' || c == '}') return std::string{'\\', char(c)};
    if (c >= 126) return std::string{'\\', '\'', kHexDigits[c >> 4], kHexDigits[c & 15]};
    if (c < 32) return {};
    return std::string(1, char(c));
}

std::string RtfString(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '\r')
            out += "\\par \r\n";
        else
            out += RtfChar(c);
    }
    return out;
}

std::string RtfHex(std::string_view bytes) {
    std::string out(bytes.size() * 2, '0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        out[2 * i] = kHexDigits[c >> 4];
        out[2 * i + 1] = kHexDigits[c & 15];
    }
    return out;
}

std::int32_t PixelsToTwips(std::int64_t pixels, int pixelsPerInch) {
    if (pixelsPerInch <= 0) pixelsPerInch = 96;
    const double points = double(pixels) * 72.0 / pixelsPerInch;
    return std::int32_t(std::llround(points * 20.0));
}

std::int32_t MicrometresToTwips(std::int64_t micrometres) {
    const double millimetres = double(micrometres) * 0.001;
    const double points = millimetres / 25.4 * 72.0;
    return std::int32_t(std::llround(points * 20.0));
}

std::string HelpContextId(std::string_view title, std::int64_t number) {
    const std::string digits = std::to_string(number);
    std::string id;
    for (char c : title)
        if (KeptInContextId(static_cast<unsigned char>(c))) id += c;
    const std::size_t room = digits.size() >= 19 ? 0 : 19 - digits.size();
    if (id.size() > room) id.resize(room);
    return id + "_" + digits;
}

std::string HelpWindowName(std::string_view name) {
    std::string id = HelpContextId(name, 0);
    if (id.size() > 8) id.resize(8);
    return id;
}

bool ReplaceFile(const std::filesystem::path& target, std::string_view bytes) {
    return bool(ReplaceFileUnflushed(target, bytes));
}

std::string HelpProjectText(const HelpProject& project) {
    std::string out = "[OPTIONS]\r\n";
    std::string title = "TITLE=" + project.title;
    if (title.size() > 85) title.resize(85);
    out += title + "\r\n";
    if (!project.contents.empty()) out += "CONTENTS=" + project.contents + "\r\n";
    out += "CITATION=Built with TamberWorks Orvo " + std::string(kCitationAddress) + "\r\n";
    out += "\r\n[WINDOWS]\r\n";
    for (const std::string& window : project.windows) out += window + "=\"\", auto-size height\r\n";
    out += "[MAP]\r\n";
    for (const HelpProject::Topic& topic : project.topics)
        out += topic.contextId + " " + std::to_string(topic.reference) + "\r\n";
    out += "\r\n[FILES]\r\n" + project.rtfFile + "\r\n";
    out += "[CONFIG]\r\nBROWSEBUTTONS()\r\n";
    return out;
}

}  // namespace orvo
