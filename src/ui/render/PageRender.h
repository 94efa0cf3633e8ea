// Drawing a page of a hypertext offscreen into a PNG file, as the page shows it: background
// colour and picture, header, body and footer. No Qt type appears here, so orvo-cli can call it.
#pragma once

#include <cstdint>
#include <filesystem>

#include "base/Result.h"
#include "textbox/TKYTsfondo.h"

namespace orvo {

class TKYTset;

struct PageRenderOptions {
    std::int32_t width = 800;        // the page's client width, pixels
    std::int32_t minHeight = 600;    // the picture is at least this high...
    std::int32_t maxHeight = 30000;  // ...and the text is cut at this height
    bool editMode = false;           // as edited (header and footer hatched), else as browsed
};

/// Shows the page with that identifier as a read-only page would, lays it out with the Qt
/// measurer at 96 pixels per inch and writes the picture. Fails when the hypertext has no such
/// page or the file cannot be written.
Status RenderPageToPng(TKYTset& set, std::int32_t pageIdentifier,
                       const std::filesystem::path& output, const PageRenderOptions& options = {});

/// Makes sure a Qt application object exists for fonts and painting (offscreen when no
/// platform was chosen); safe to call many times.
void EnsureGuiApplication();

}  // namespace orvo
