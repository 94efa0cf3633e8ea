// The sample hypertext: a small Italian guide made by our own code, used by ./run, by the
// exporters' tests and, at any size, by the benchmarks of every subsystem.
#pragma once

#include <string>

namespace orvo {

class TKYTset;

struct SampleOptions {
    /// Ordinary pages, the cover included (the header, footer, map, table and form pages come
    /// on top): the cover and then the others split over two chapters. At least 1.
    int pages = 7;
    /// Each ordinary page's stored text is filled up to at least this many KiB; 0 leaves the
    /// guide's own text.
    int textKb = 0;
    /// The document's file name, shown at the root of the page tree.
    std::string fileName = "Esempio.kyt";
};

/// The largest page count the generator makes.
inline constexpr int kSampleMaxPages = 100000;
inline constexpr int kSampleMaxTextKb = 4096;

/// Fills `set`, which holds a new document, with the sample hypertext: the cover (page 0), a
/// header page and a footer page used by every other page, and the remaining pages in two
/// chapters of the page tree, each chapter a browse sequence, and last a map page (at the root
/// of the tree, in no sequence) whose picture has two clickable zones, to the cover and to the
/// first chapter page (the cover when there is none), a table page and a form page (an input
/// of every kind, a sound, an anchor and a popup link to the map); three styles besides the two
/// built-in ones (a heading, a bulleted and a numbered list); bold, italic, coloured and
/// other-font runs; links between pages, to a web address ("http:") and to a page of another
/// hypertext ("orvo:"); keywords; an alias name and a background picture on the cover. Every text
/// is stored as the markup writer writes it. Counts outside their range are brought into it.
void MakeSampleHypertext(TKYTset& set, const SampleOptions& options = {});

}  // namespace orvo
