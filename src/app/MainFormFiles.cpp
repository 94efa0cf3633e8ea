#include "app/MainFormFiles.h"

#include <cstdio>
#include <system_error>

#include "base/Paths.h"

namespace orvo::mainform {

namespace fs = std::filesystem;

bool FileExists(const std::string& name) {
    if (name.empty()) return false;
    std::error_code ec;
    return fs::is_regular_file(NativePath(name), ec);
}

std::string FolderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of('/');
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string WithExtension(const std::string& path, std::string_view extension) {
    const std::string folder = FolderOf(path);
    std::string name(StemOf(path));
    name += extension;
    return folder.empty() ? name : folder + "/" + name;
}

bool LiesIn(const std::string& path, const fs::path& folder) {
    if (path.empty() || folder.empty()) return false;
    std::error_code ec;
    const fs::path file = fs::weakly_canonical(fs::absolute(NativePath(path), ec), ec);
    if (ec) return false;
    const fs::path base = fs::weakly_canonical(fs::absolute(folder, ec), ec);
    if (ec) return false;
    auto f = file.begin();
    for (auto b = base.begin(); b != base.end(); ++b, ++f) {
        if (b->empty()) continue;  // the trailing "/" of a folder
        if (f == file.end() || *f != *b) return false;
    }
    return f != file.end();
}

std::string Replace(std::string_view text, std::string_view token, std::string_view by) {
    std::string out(text);
    const std::size_t at = out.find(token);
    if (at != std::string::npos) out.replace(at, token.size(), by);
    return out;
}

std::string DateText(std::chrono::system_clock::time_point now) {
    const std::chrono::year_month_day day{std::chrono::floor<std::chrono::days>(now)};
    char text[16];
    std::snprintf(text, sizeof text, "%02u/%02u/%04d", unsigned(day.day()), unsigned(day.month()),
                  int(day.year()));
    return text;
}

}  // namespace orvo::mainform
