// Feeds bytes to the web-page import as a page of a new hypertext (with and without the
// preview's limit). Whatever the bytes: the page text ends with its one 0x00 byte and holds no
// other, every table has 1 to 50 columns and 1 to 255 rows, the text holds exactly the cells
// its tables expect, and the links between pages can be resolved.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "convert/HtmlImport.h"
#include "convert/TextImport.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"

namespace {

using namespace orvo;
using K = TOggettiHel;

std::size_t Count(std::string_view text, std::string_view what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string_view::npos;
         at = text.find(what, at + what.size()))
        ++n;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    set.NewDocument();
    HtmlImportOptions options;
    options.ImpPreview = (data[0] & 1) != 0;
    // References resolve inside a folder that does not exist: nothing outside is read.
    options.rootFolder = "/nonexistent-orvo-fuzz";
    THt2Imp run(set, options);
    const THt2Imp::Scanned scanned = run.Scan(bytes, "/nonexistent-orvo-fuzz/page.html");
    if (scanned.markup.find('\0') != std::string::npos) std::abort();
    long cells = 0;
    for (const auto& table : set.KindList(K::tabellaHtml)) {
        if (table->IsFree()) continue;
        const int columns = table->ReadView().U8(kTableColumns);
        const int rows = table->ReadView().U8(kTableRows);
        if (columns < 1 || columns > 50 || rows < 1) std::abort();
        cells += long(rows) * columns;
    }
    if (long(Count(scanned.markup, "<T>")) != cells) std::abort();
    const std::int32_t page = NewImportedPage(set, scanned.markup, 0xFFFFFF, -1);
    ResolveImportedLinks(set);
    const TKYToggetto* made = set.ObjectByKind(K::testoHtml, page);
    if (!made) std::abort();
    const Result<std::string> text = made->ContentBytes();
    if (!text || text->empty() || text->back() != '\0' || text->find('\0') != text->size() - 1)
        std::abort();
    return 0;
}
