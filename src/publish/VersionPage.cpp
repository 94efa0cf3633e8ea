// The version page: name, bytes, reading back.
#include "publish/VersionPage.h"

#include <cstdint>

#include "base/Cp1252.h"
#include "base/Format.h"

namespace orvo {

using namespace literals;

namespace {
constexpr std::string_view kMarker = "<!--VER=";
constexpr std::string_view kMarkerEnd = "-->";
}  // namespace

std::string VersionPageName(std::string_view exportBaseName) {
    return Lower1252(exportBaseName) + "_ver.html";
}

std::string VersionPageBytes(std::string_view documentPath, std::int32_t version) {
    const std::string v = std::to_string(version);
    std::string page = "<HTML><HEAD><TITLE>Version</TITLE></HEAD>\r\n";
    page += "<BODY>ORVO. Please don't delete.<BR>\r\n";
    page += "Hypertext :";
    page += documentPath;
    page += "<BR>\r\n";
    page += "Version   :" + v + "<BR>\r\n";
    page += std::string(kMarker) + v + std::string(kMarkerEnd) + "<BR>\r\n";
    page += "</BODY>";
    return page;
}

std::optional<std::int32_t> ParseVersionPage(std::string_view bytes) {
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        const std::size_t marker = line.find(kMarker);
        if (marker == std::string_view::npos) continue;
        const std::size_t from = marker + kMarker.size();
        const std::size_t close = line.find(kMarkerEnd, from);
        if (close == std::string_view::npos) continue;
        const std::string_view number = line.substr(from, close - from);
        long long value = 0;
        if (number.empty() ||
            ParseClampedInt(number, INT32_MIN, INT32_MAX, value) != int(number.size()))
            continue;
        return std::int32_t(value);
    }
    return std::nullopt;
}

std::string ServerVersionText(std::int32_t version) {
    if (version < 0) return "In questa dir del server non risulta nessuna versione dell'ipertesto.";
    return std::string("Sul server è presente la versione "_cp) + std::to_string(version);
}

}  // namespace orvo
