// The items of list and drop-down inputs.
#include "objects/FormRecords.h"

namespace orvo {

std::vector<FormListItem> ReadListItems(std::string_view stream) {
    std::vector<FormListItem> items;
    std::string lines[3];
    int got = 0;
    std::size_t start = 0;
    while (start < stream.size()) {
        const std::size_t end = stream.find('\n', start);
        if (end == std::string_view::npos) break;
        std::string_view line = stream.substr(start, end - start);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines[got++] = std::string(line);
        start = end + 1;
        if (got < 3) continue;
        got = 0;
        const std::string& mark = lines[2];
        items.push_back({lines[0], lines[1], !(mark.empty() || mark == "n" || mark == "N")});
    }
    return items;
}

std::string WriteListItems(const std::vector<FormListItem>& items) {
    std::string out;
    for (const FormListItem& item : items)
        out += item.text + "\n" + item.value + "\n" + (item.selected ? "X" : "N") + "\n";
    return out;
}

}  // namespace orvo
