// Feeds bytes to the marker read-back of an exported page, writes the same bytes as the text
// of a page (the walk over markup from a document must survive anything), and takes them as
// a page's alias name and a link's address.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/Paths.h"
#include "convert/HtmlExport.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
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

    // The same bytes as the page's alias name and as a link's address: an alias never leaves
    // the export folder nor names a file of the export, an address never ends its attribute.
    PageRecord(*page).SetAlias(bytes);
    const std::string alias = html.AliasFileName(*page);
    if (!alias.empty() && (!IsSafeName(alias) || html.IsGeneratedName(alias))) __builtin_trap();
    static TKYToggetto* link = [] {
        auto made = NewObjectOfKind(TOggettiHel::internetLink, &set);
        made->Clear();
        made->TakeIntoUse();
        return set.ObjectByKind(TOggettiHel::internetLink, set.Register(std::move(made)));
    }();
    link->View().SetPStr(kLinkAddress, bytes);
    if (html.ObjectFileName(*link, 0).find('"') != std::string::npos) __builtin_trap();
    return 0;
}
