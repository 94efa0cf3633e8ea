// Feeds bytes to the marker read-back of an exported page, and writes the same bytes as the
// text of a page (the walk over markup from a document must survive anything).
#include <cstddef>
#include <cstdint>
#include <string>

#include "convert/HtmlExport.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const PageMarker marker = TKYTtoHtml::ReadPageMarkerText(bytes);
    if (!marker.documentFile.empty() && marker.documentFile.size() > bytes.size()) __builtin_trap();

    static FixedEnvironment environment;
    static RecordingMessages messages;
    static TKYTset set(environment, messages);
    static TKYTtoHtml html(&set);
    TKYToggetto* page = set.ObjectByKind(TOggettiHel::testoHtml, 0);
    if (!page) return 0;
    page->SetContent(bytes);
    TExportContext context;
    std::vector<TKYToggetto*> images;
    context.images = &images;
    const std::string body = html.WriteBody(1, context, *page);
    if (body.find("<BODY") != 0) __builtin_trap();
    return 0;
}
