// Feeds bytes as markup to the RTF writer: as a page body and a header body, as a clipboard
// fragment and as a help topic. Whatever the markup, the RTF holds only printable ASCII and
// line ends, and its groups balance.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "convert/RtfExport.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"

namespace {

using namespace orvo;
using K = TOggettiHel;

// A hypertext whose first objects of each kind the inputs can name: page 0, a 2 x 3 table
// with a border (tabellaHtml 0), a comment (shortObj 0), special links (speclink 0..5), a web
// link and a link to another hypertext (internetLink 0, 1), an image of a missing picture.
struct World {
    FixedEnvironment environment;
    RecordingMessages messages;
    FixedMetrics metrics;
    TKYTset set{environment, messages};

    TKYToggetto& Add(K kind) {
        auto made = NewObjectOfKind(kind, &set);
        made->Clear();
        made->TakeIntoUse();
        const std::int32_t id = set.Register(std::move(made));
        return *set.ObjectByKind(kind, id);
    }

    World() {
        TKYToggetto& page = Add(K::testoHtml);
        page.SetContent(std::string("<Z S0 >pagina\0", 14));
        PageRecord(page).SetTitle("Pagina {1}");
        TKYToggetto& table = Add(K::tabellaHtml);
        table.View().SetU8(kTableRows, 2);
        table.View().SetU8(kTableColumns, 3);
        table.View().SetU8(kTableBorder, 7);
        table.SetAuxiliary(std::string(24, '\x01'));
        TKYToggetto& comment = Add(K::shortObj);
        comment.Record()[4] = 10;
        comment.SetAuxiliary(std::string("{autore}\r\n\\testo\x01\xFF"));
        for (int type = 1; type <= 6; ++type) {
            TKYToggetto& link = Add(K::speclink);
            link.Record()[4] = std::uint8_t(type);
            link.View().SetI32(kSpecTarget, 0);
            link.View().SetU8(kSpecAction, std::uint8_t(type % 5));
            link.View().SetPStr(kSpecName, "fin{e}stra\\");
        }
        Add(K::internetLink).View().SetPStr(kLinkAddress, "http://a/{b}");
        Add(K::internetLink).View().SetPStr(kLinkAddress, "orvo://Al{tro}.kyt|3");
        Add(K::immagineNew).View().SetI32(kImagePicture, 0);
    }
};

World& TheWorld() {
    static World world;
    return world;
}

void Check(std::string_view rtf, bool endsWithZero) {
    if (endsWithZero) {
        if (rtf.empty() || rtf.back() != '\0') std::abort();
        rtf.remove_suffix(1);
    }
    long depth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(rtf[i]);
        if ((c < 32 && c != '\r' && c != '\n') || c >= 127) std::abort();
        if (c == '\\') {
            ++i;  // the escaped character or the control word's first letter
        } else if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth < 0) std::abort();
        }
    }
    if (depth != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    World& world = TheWorld();
    world.messages.Clear();
    const std::string_view markup(reinterpret_cast<const char*>(data), size);
    TKYTtortf rtf(&world.set, world.metrics);
    Check(rtf.WriteRtfBody(markup, rpPage), false);
    Check(rtf.WriteRtfBody(markup, rpHeader), false);
    Check(rtf.ExportText(markup), true);
    rtf.HelpMode = true;
    rtf.TitlesAsKeywords = true;
    Check(rtf.WriteRtfBody(markup, rpPage), false);
    Check(rtf.DocumentHeader() + "}", false);
    return 0;
}
