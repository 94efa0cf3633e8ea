// Page history entries and navigation.
#include "app/PageHistory.h"

#include "base/Format.h"
#include "base/Paths.h"

namespace orvo {

namespace {
constexpr std::string_view kPrefix = "orvo://";
}

std::string PageHistory::EntryFor(std::string_view documentPath, int page) {
    std::string entry(kPrefix);
    entry += documentPath;
    entry += '|';
    entry += std::to_string(page);
    return entry;
}

std::optional<HistoryTarget> PageHistory::Parse(std::string_view entry) {
    if (!entry.starts_with(kPrefix)) return std::nullopt;
    entry.remove_prefix(kPrefix.size());
    const std::size_t bar = entry.rfind('|');
    if (bar == std::string_view::npos || bar == 0) return std::nullopt;
    const std::string_view number = entry.substr(bar + 1);
    long long page = 0;
    if (number.empty() || ParseClampedInt(number, 0, 0x7FFFFFFF, page) != int(number.size()))
        return std::nullopt;
    const std::string_view file = entry.substr(0, bar);
    HistoryTarget target;
    target.file =
        file.find('\\') != std::string_view::npos ? FromWindowsPath(file) : std::string(file);
    target.page = int(page);
    return target;
}

void PageHistory::Record(std::string_view documentPath, int page) {
    std::string entry = EntryFor(documentPath, page);
    if (current_ >= 0 && entries_[current_] == entry) return;
    entries_.insert(entries_.begin() + (current_ + 1), std::move(entry));
    ++current_;
}

std::optional<HistoryTarget> PageHistory::Back() {
    if (!CanGoBack()) return std::nullopt;
    return Select(current_ - 1);
}

std::optional<HistoryTarget> PageHistory::Forward() {
    if (!CanGoForward()) return std::nullopt;
    return Select(current_ + 1);
}

std::optional<HistoryTarget> PageHistory::Select(int index) {
    if (index < 0 || index >= int(entries_.size())) return std::nullopt;
    current_ = index;
    return Parse(entries_[index]);
}

void PageHistory::Clear() {
    entries_.clear();
    current_ = -1;
}

}  // namespace orvo
