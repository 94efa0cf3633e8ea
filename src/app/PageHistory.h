// The main window's page history: one entry per page shown, in the "orvo://" link form.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

/// A page of a document file named by a history entry.
struct HistoryTarget {
    std::string file;  // Windows-1252 path; "\\" of a Windows path become "/"
    int page = 0;
    bool operator==(const HistoryTarget&) const = default;
};

/// Entries "orvo://" + document path + "|" + page number, with a current position. A new
/// entry goes right after the current one (later entries stay where they are) and becomes
/// current; back and forward move the position.
class PageHistory {
public:
    static std::string EntryFor(std::string_view documentPath, int page);
    /// The document and page an entry names; nullopt for text that is not an entry.
    static std::optional<HistoryTarget> Parse(std::string_view entry);

    /// Records a page shown; nothing when the current entry already names it.
    void Record(std::string_view documentPath, int page);
    /// The entry before or after the current one, which becomes current; nullopt at the ends.
    std::optional<HistoryTarget> Back();
    std::optional<HistoryTarget> Forward();
    /// Makes entry `index` current (the list's selection).
    std::optional<HistoryTarget> Select(int index);

    bool CanGoBack() const { return current_ > 0; }
    bool CanGoForward() const { return current_ + 1 < int(entries_.size()); }
    int Current() const { return current_; }  // -1 while empty
    const std::vector<std::string>& Entries() const { return entries_; }
    void Clear();

private:
    std::vector<std::string> entries_;
    int current_ = -1;
};

}  // namespace orvo
