// The parser of FTP directory listings.
#include "publish/FtpListing.h"

#include <array>

namespace orvo {

namespace {

constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// A number of at most `maxDigits` digits and nothing else.
std::optional<std::int64_t> Number(std::string_view s, std::size_t maxDigits = 18) {
    if (s.empty() || s.size() > maxDigits) return std::nullopt;
    std::int64_t v = 0;
    for (char c : s) {
        if (!IsDigit(c)) return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

bool ValidDate(const TFileDate& d) {
    return d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= 31 && d.hour >= 0 &&
           d.hour <= 23 && d.minute >= 0 && d.minute <= 59 && d.year >= 1 && d.year <= 9999;
}

// "Mmm dd hh:mm" or "Mmm dd  yyyy": the 12-character date column of a Unix listing.
TFileDate UnixDate(std::string_view field, int currentYear) {
    TFileDate d;
    if (field.size() != 12) return d;
    for (std::size_t m = 0; m < kMonths.size(); ++m)
        if (field.substr(0, 3) == kMonths[m]) d.month = int(m) + 1;
    const auto day = Number(Trim(field.substr(4, 2)), 2);
    if (d.month == 0 || !day) return TFileDate{};
    d.day = int(*day);
    if (field.find(':') == std::string_view::npos) {
        const auto year = Number(field.substr(8, 4), 4);
        if (!year) return TFileDate{};
        d.year = int(*year);
    } else {
        const auto hour = Number(Trim(field.substr(7, 2)), 2);
        const auto minute = Number(field.substr(10, 2), 2);
        if (!hour || !minute || field[9] != ':') return TFileDate{};
        d.year = currentYear;
        d.hour = int(*hour);
        d.minute = int(*minute);
    }
    d.known = ValidDate(d);
    if (!d.known) return TFileDate{};
    return d;
}

std::optional<T_Filedata> UnixLine(std::string_view line, int currentYear) {
    T_Filedata entry;
    switch (line[0]) {
        case '-':
            entry.kind = T_Filedata::kFile;
            break;
        case 'd':
            entry.kind = T_Filedata::kDirectory;
            break;
        case 'l':
            entry.kind = T_Filedata::kLink;
            break;
        default:
            entry.kind = T_Filedata::kNone;
            break;
    }
    const std::size_t lastSpace = line.rfind(' ');
    if (lastSpace == std::string_view::npos) return std::nullopt;
    // The name follows the time or year column: step back over spaces inside the name until
    // the character three places before the name's start belongs to that column.
    std::size_t start = lastSpace + 1;
    while (start >= 3 && !IsDigit(line[start - 3]) && line[start - 3] != ':') {
        if (start < 2) break;
        const std::size_t previous = line.rfind(' ', start - 2);
        if (previous == std::string_view::npos) break;
        start = previous + 1;
    }
    entry.name = std::string(line.substr(start));
    // Columns: permissions (10) and a blank, then links, owner, group and size, then the
    // 12-character date and a blank before the name.
    if (start < 11 + 13) return std::nullopt;
    const std::string_view sizeColumns = Trim(line.substr(11, start - 11 - 13));
    const std::size_t sizeStart = sizeColumns.find_last_of(" \t");
    const auto size = Number(
        sizeStart == std::string_view::npos ? sizeColumns : sizeColumns.substr(sizeStart + 1));
    if (!size) return std::nullopt;
    entry.size = *size;
    entry.date = UnixDate(line.substr(start - 13, 12), currentYear);
    return entry;
}

// "mm-dd-yy" or "mm-dd-yyyy", then "hh:nnAM" / "hh:nnPM" (or a 24-hour "hh:nn").
TFileDate DosDate(std::string_view date, std::string_view time, int currentYear) {
    TFileDate d;
    if (date.size() != 8 && date.size() != 10) return d;
    if (date[2] != '-' || date[5] != '-') return d;
    const auto month = Number(date.substr(0, 2), 2);
    const auto day = Number(date.substr(3, 2), 2);
    const auto year = Number(date.substr(6), 4);
    if (!month || !day || !year) return d;
    d.month = int(*month);
    d.day = int(*day);
    d.year = int(*year);
    if (date.size() == 8) {
        // Two-digit years fall in the hundred years that start fifty years before now.
        const int base = currentYear - 50;
        d.year += base - base % 100;
        if (d.year < base) d.year += 100;
    }
    std::string_view suffix;
    if (time.size() == 7) {
        suffix = time.substr(5);
        time = time.substr(0, 5);
    }
    if (time.size() != 5 || time[2] != ':') return TFileDate{};
    const auto hour = Number(time.substr(0, 2), 2);
    const auto minute = Number(time.substr(3, 2), 2);
    if (!hour || !minute) return TFileDate{};
    d.hour = int(*hour);
    d.minute = int(*minute);
    if (!suffix.empty()) {
        if (d.hour < 1 || d.hour > 12) return TFileDate{};
        if (suffix == "AM" || suffix == "am")
            d.hour %= 12;
        else if (suffix == "PM" || suffix == "pm")
            d.hour = d.hour % 12 + 12;
        else
            return TFileDate{};
    }
    d.known = ValidDate(d);
    if (!d.known) return TFileDate{};
    return d;
}

// Splits off the next blank-separated token of `rest`.
std::string_view NextToken(std::string_view& rest) {
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
    std::size_t end = 0;
    while (end < rest.size() && rest[end] != ' ' && rest[end] != '\t') ++end;
    const std::string_view token = rest.substr(0, end);
    rest.remove_prefix(end);
    return token;
}

std::optional<T_Filedata> DosLine(std::string_view line, int currentYear) {
    std::string_view rest = line;
    const std::string_view date = NextToken(rest);
    const std::string_view time = NextToken(rest);
    const std::string_view sizeOrDir = NextToken(rest);
    if (sizeOrDir.empty() || rest.empty()) return std::nullopt;
    rest.remove_prefix(1);  // the blank before the name; further blanks belong to the name
    while (!rest.empty() && rest.front() == ' ' && sizeOrDir == "<DIR>") rest.remove_prefix(1);
    if (rest.empty()) return std::nullopt;
    T_Filedata entry;
    if (sizeOrDir == "<DIR>") {
        entry.kind = T_Filedata::kDirectory;
    } else {
        const auto size = Number(sizeOrDir);
        if (!size) return std::nullopt;
        entry.kind = T_Filedata::kFile;
        entry.size = *size;
    }
    entry.name = std::string(rest);
    entry.date = DosDate(date, time, currentYear);
    return entry;
}

}  // namespace

std::optional<T_Filedata> ParseListingLine(std::string_view line, int currentYear) {
    if (line.empty() || line.substr(0, 5) == "total") return std::nullopt;
    const char first = line[0];
    if (first == '-' || first == 'd' || first == 'l' || first == 's')
        return UnixLine(line, currentYear);
    if (IsDigit(first)) return DosLine(line, currentYear);
    return std::nullopt;
}

std::vector<std::string> SplitListingLines(std::string_view listing) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < listing.size()) {
        std::size_t end = listing.find('\n', start);
        if (end == std::string_view::npos) end = listing.size();
        std::size_t stop = end;
        if (stop > start && listing[stop - 1] == '\r') --stop;
        lines.emplace_back(listing.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

bool IsListedEntry(const T_Filedata& entry) {
    return entry.kind != T_Filedata::kNone && !entry.name.empty() && entry.name != "." &&
           entry.name != "..";
}

}  // namespace orvo
