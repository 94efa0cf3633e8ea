// The items of list and drop-down inputs, kept in their stream as lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/FormFields.h"

namespace orvo {

/// One item of a list or drop-down input.
struct FormListItem {
    std::string text;
    std::string value;
    bool selected = false;
};

/// The items of a list input's stream: three lines each (text, value, selected flag: empty,
/// "n" or "N" is not selected), each line ended by a line feed; a line without its line feed
/// ends the reading, and so do the lines of an unfinished item.
std::vector<FormListItem> ReadListItems(std::string_view stream);
/// The stream of a list of items (the inverse of ReadListItems).
std::string WriteListItems(const std::vector<FormListItem>& items);

}  // namespace orvo
