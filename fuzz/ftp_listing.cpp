// Listing bytes from a server through the line splitter and the Unix and DOS line parsers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "publish/FtpListing.h"

using namespace orvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view listing(reinterpret_cast<const char*>(data), size);
    for (const std::string& line : SplitListingLines(listing)) {
        const auto entry = ParseListingLine(line, 2024);
        if (!entry) continue;
        if (entry->name.size() > line.size() || entry->size < 0 || entry->kind > 3) std::abort();
        const TFileDate& d = entry->date;
        if (d.known && (d.month < 1 || d.month > 12 || d.day < 1 || d.day > 31 || d.hour > 23 ||
                        d.minute > 59))
            std::abort();
        (void)IsListedEntry(*entry);
    }
    return 0;
}
