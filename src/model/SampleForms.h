// The form page of the sample hypertext: a form with an input of every kind, its buttons, an
// anchor with a link to it, a special link that opens a page in a popup window, and a sound.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvo {

class TKYTset;

/// The stored text of the form page (its objects are registered in `set`); `heading` is the
/// paragraph style of its title, `popupPage` the page the popup link shows.
std::string SampleFormPageText(TKYTset& set, int heading, std::int32_t popupPage);

/// The title of the sample's form page.
inline constexpr std::string_view kSampleFormPageTitle = "Un modulo";

/// The number of the sample's form page (the first page in use titled kSampleFormPageTitle),
/// or -1 when `set` has none.
std::int32_t SampleFormPage(const TKYTset& set);

/// A short sound made here: 0.25 seconds of a 880 Hz bell, 8 kHz 8-bit mono, as a WAV file.
std::string SampleBellWav();

}  // namespace orvo
