// "Nuovo ipertesto:" and the tips window without their widgets: the models a new hypertext
// can start from, and the tips shown one after the other.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

class ISettings;

/// One choice of "Nuovo ipertesto:": its caption and the document it copies ("" for an
/// empty hypertext).
struct NewHypertextChoice {
    std::string caption;
    std::string document;
    bool operator==(const NewHypertextChoice&) const = default;
};

inline constexpr std::string_view kEmptyHypertextCaption = "(ipertesto vuoto)";

/// The empty hypertext first, then the ".kyt" files of `folders` (the user's model folders
/// before the shared ones), each folder's files by name; a name met in an earlier folder is
/// not listed again. A preset document that is not among them is added after the empty one.
std::vector<NewHypertextChoice> NewHypertextChoices(
    const std::vector<std::filesystem::path>& folders, const std::string& preset);
/// The position of the preset document among the choices; 0 (the empty one) when absent.
int PresetChoice(const std::vector<NewHypertextChoice>& choices, const std::string& preset);

/// The tips, in the order they are shown.
const std::vector<std::string_view>& Tips();
/// The tip to show now, which is stored as the last shown ("options" key "TipNumber"): the
/// one after the last shown, the first after the last tip and for a missing or unreadable
/// number.
int NextTip(ISettings& settings);

}  // namespace orvo
