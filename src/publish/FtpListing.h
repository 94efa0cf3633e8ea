// Directory listings of FTP servers: the entry record and the parser of Unix-style and DOS-style
// lines.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

/// When an entry was last changed; `known` is false when the listing's date did not parse.
struct TFileDate {
    bool known = false;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    bool operator==(const TFileDate&) const = default;
};

struct T_Filedata {
    enum Kind : std::uint8_t { kNone = 0, kDirectory = 1, kFile = 2, kLink = 3 };
    std::uint8_t kind = kNone;
    std::int64_t size = 0;  // bytes
    std::string name;       // as the server sent it
    TFileDate date;
    bool operator==(const T_Filedata&) const = default;
};

/// The entry of one listing line, or nullopt for a line that gives none ("total ...", an
/// unknown style, a malformed size). A date that does not parse leaves the entry with an unknown
/// date rather than losing it. `currentYear` is the year of dates that carry a time.
std::optional<T_Filedata> ParseListingLine(std::string_view line, int currentYear);

/// The lines of a listing: CR LF or LF ends a line.
std::vector<std::string> SplitListingLines(std::string_view listing);

/// True for an entry NextListingEntry hands out: a kind other than none, a name other than "."
/// and "..".
bool IsListedEntry(const T_Filedata& entry);

}  // namespace orvo
