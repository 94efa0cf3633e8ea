// File names on disk and in data.
#include "base/Paths.h"

#include "base/Cp1252.h"

namespace orvo {

std::filesystem::path NativePath(std::string_view cp1252) {
    return std::filesystem::path(Cp1252ToUtf8(cp1252));
}

std::string NameOfPath(const std::filesystem::path& path) {
    return Utf8ToCp1252(path.string());
}

std::string FromWindowsPath(std::string_view name) {
    std::string out(name);
    if (out.size() >= 2 && out[1] == ':' &&
        ((out[0] >= 'A' && out[0] <= 'Z') || (out[0] >= 'a' && out[0] <= 'z')))
        out.erase(0, 2);
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

std::string_view LastComponent(std::string_view name) {
    const std::size_t cut = name.find_last_of("/\\");
    return cut == std::string_view::npos ? name : name.substr(cut + 1);
}

std::string ExtensionOf(std::string_view name) {
    const std::string_view last = LastComponent(name);
    const std::size_t dot = last.rfind('.');
    if (dot == std::string_view::npos) return {};
    return Lower1252(last.substr(dot));
}

std::string_view StemOf(std::string_view name) {
    const std::string_view last = LastComponent(name);
    const std::size_t dot = last.rfind('.');
    return dot == std::string_view::npos ? last : last.substr(0, dot);
}

bool IsSafeName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of(std::string_view("/\\:\0", 4)) == std::string_view::npos;
}

bool IsSafeRelativePath(std::string_view name) {
    if (name.empty() || name.front() == '/') return false;
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = name.find('/', start);
        const std::string_view part = name.substr(start, slash - start);
        if (!IsSafeName(part)) return false;
        if (slash == std::string_view::npos) return true;
        start = slash + 1;
    }
}

}  // namespace orvo
