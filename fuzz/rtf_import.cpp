// Feeds bytes to the RTF import: as one page, split into pages, in help mode with an index, and
// as pasted RTF. Whatever the bytes, every text made ends with its one 0x00 byte and holds no
// other, and every table stays within 50 columns and 255 rows with at least one column.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "convert/RtfImport.h"
#include "convert/RtfImportParts.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"

namespace {

using namespace orvo;
using K = TOggettiHel;

void CheckSet(const TKYTset& set) {
    for (const auto& page : set.KindList(K::testoHtml)) {
        if (page->IsFree()) continue;
        const Result<std::string> text = page->ContentBytes();
        if (!text || text->empty() || text->back() != '\0' || text->find('\0') != text->size() - 1)
            std::abort();
    }
    for (const auto& table : set.KindList(K::tabellaHtml)) {
        if (table->IsFree()) continue;
        const int columns = table->ReadView().U8(kTableColumns);
        if (columns < 1 || columns > kMaxTableColumns) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const int mode = data[0] & 3;
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    set.NewDocument();
    RtfImportOptions options;
    options.helpMode = mode == 2;
    options.buildIndex = mode == 1;
    options.maxParagraphs = 6;
    options.headingLimit = 2;
    TRtfImp run(set, options);
    if (mode == 3) {
        const std::string markup = run.ImportFragment(bytes);
        if (markup.find('\0') != std::string::npos) std::abort();
    } else if (LooksLikeRtf(bytes)) {
        TRtfPage page(run, bytes, false);
        page.ImportFile(mode != 0);
    }
    run.CompleteIndex();
    CheckSet(set);
    return 0;
}
