// The recent-document list and its settings group.
#include "app/RecentFiles.h"

#include <algorithm>

namespace orvo {

void RecentFiles::Load(const ISettings& settings) {
    entries_.clear();
    for (std::size_t i = 0; i < kMax; ++i) {
        const std::string value = settings.ReadString(kGroup, std::to_string(i));
        if (!value.empty()) Add(value);
    }
}

void RecentFiles::Save(ISettings& settings) const {
    for (std::size_t i = 0; i < kMax; ++i)
        settings.Write(kGroup, std::to_string(i), i < entries_.size() ? entries_[i] : "");
}

void RecentFiles::Add(std::string_view path) {
    if (path.empty()) return;
    Remove(path);
    if (entries_.size() >= kMax) entries_.erase(entries_.begin());
    entries_.emplace_back(path);
}

bool RecentFiles::Remove(std::string_view path) {
    const auto it = std::find(entries_.begin(), entries_.end(), path);
    if (it == entries_.end()) return false;
    entries_.erase(it);
    return true;
}

}  // namespace orvo
