// The list of recently used documents at the end of the File menu.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/ISettings.h"

namespace orvo {

/// At most five document paths (Windows-1252), oldest first, kept in the settings group
/// "RecentFile" as the values "0" to "4".
class RecentFiles {
public:
    static constexpr std::size_t kMax = 5;
    static constexpr std::string_view kGroup = "RecentFile";

    /// Takes the non-empty values "0" to "4", in that order.
    void Load(const ISettings& settings);
    /// Writes all five values; the slots beyond the list are written empty, so an entry
    /// removed in this run does not come back at the next start.
    void Save(ISettings& settings) const;

    /// An entry with the same text moves to the end; a new one is appended, and the oldest
    /// goes when there are already five.
    void Add(std::string_view path);
    /// Returns whether an entry was removed.
    bool Remove(std::string_view path);

    const std::vector<std::string>& Entries() const { return entries_; }
    bool Empty() const { return entries_.empty(); }

private:
    std::vector<std::string> entries_;
};

}  // namespace orvo
