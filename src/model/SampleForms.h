// The form page of the sample hypertext: a form with an input of every kind, its buttons, an
// anchor with a link to it, a special link that opens a page in a popup window, and a sound.
#pragma once

#include <cstdint>
#include <string>

namespace orvo {

class TKYTset;

/// The stored text of the form page (its objects are registered in `set`); `heading` is the
/// paragraph style of its title, `popupPage` the page the popup link shows.
std::string SampleFormPageText(TKYTset& set, int heading, std::int32_t popupPage);

/// Adds the form page to a sample hypertext (MakeSampleHypertext): a page "Un modulo" after
/// the others, at the root of the page tree, whose popup link shows the map page (the cover
/// when there is none); its number.
std::int32_t AddSampleFormPage(TKYTset& set);

/// A short sound made here: 0.25 seconds of a 880 Hz bell, 8 kHz 8-bit mono, as a WAV file.
std::string SampleBellWav();

}  // namespace orvo
