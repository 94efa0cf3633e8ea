// The hypertext's operations on its paragraph styles: finding them by number and name,
// naming them uniquely, creating and renaming them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

class TKYTset;
class TKYToggetto;

/// A style name holds at most this many characters.
inline constexpr std::size_t kStyleNameLength = 32;

/// The style with index `number`, or none.
TKYToggetto* StyleByNumber(const TKYTset& set, std::int32_t number);
/// The first style whose name equals `name`, ignoring case; none when there is none.
TKYToggetto* StyleByName(const TKYTset& set, std::string_view name);
/// The names of all styles, in index order.
std::vector<std::string> StyleNames(const TKYTset& set);
/// `name` cut to 32 characters when no style has it (ignoring case); otherwise that name
/// followed by a blank and the smallest number from 1 up that makes it unused, the name
/// shortened so that the whole still fits in 32 characters.
std::string UniqueStyleName(const TKYTset& set, std::string_view name);

/// A new style with the defaults of a new style and a unique name, registered with the
/// hypertext (it gets the next index). Returns it.
TKYToggetto& CreateStyle(TKYTset& set, std::string_view name);
/// Renames a style: a name that differs from the old one other than in case is made unique;
/// the name is stored cut to 32 characters.
void RenameStyle(TKYTset& set, TKYToggetto& style, std::string_view name);
/// The label of the undo step recorded before a style is edited.
std::string StyleEditLabel(std::string_view styleName);

}  // namespace orvo
