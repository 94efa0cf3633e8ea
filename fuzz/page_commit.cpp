// Fuzzes showing and committing a page whose stored text is almost anything: committing
// stores the text as the writer writes it, and showing and committing that again changes
// nothing.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/HeaderRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "textbox/TKYTpage.h"
#include "textbox/TKYTpageHeadless.h"

using namespace orvo;

namespace {

TKYToggetto& AddObject(TKYTset& set, TOggettiHel kind, std::string_view name) {
    auto object = NewObjectOfKind(kind, &set);
    object->Clear();
    object->TakeIntoUse();
    if (!name.empty()) object->SetName(name);
    const std::int32_t id = set.Register(std::move(object));
    return *set.ObjectByKind(kind, id);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FixedEnvironment env;
    RecordingMessages messages;
    TKYTset set(env, messages);
    // Objects the text may name: pages, a web link, an anchor, a table of 2 x 2 cells.
    AddObject(set, TOggettiHel::internetLink, "http://www.esempio.it/").TakeIntoUse();
    TKYToggetto& anchor = AddObject(set, TOggettiHel::shortObj, "");
    anchor.Record()[4] = 14;
    TKYToggetto& table = AddObject(set, TOggettiHel::tabellaHtml, "");
    table.Record()[93] = 2;
    table.Record()[94] = 2;
    TKYToggetto& page = AddObject(set, TOggettiHel::testoHtml, "Pagina");
    page.SetContent(std::string(reinterpret_cast<const char*>(data), size));
    AddObject(set, TOggettiHel::testoHtml, "Intestazione").SetContent(std::string("<Z S0 >h\0", 9));
    set.HeaderRecordView().SetI32(kHdrHeaderPage, 1);

    FixedMetrics metrics;
    HeadlessTextViewFactory views(metrics);
    HeadlessFrameSet frames;
    RecordingUndoPurge undo;
    ManualSpellPacer spell;
    ManualScheduler scheduler;
    TKYTpage surface(set, frames, views, undo, spell, scheduler);
    auto commit = [&] {
        surface.ShowText(0);
        surface.NextAnchorNumber();
        if (!surface.CommitText()) std::abort();
        surface.CloseText();
        const Result<std::string> text =
            set.ObjectByKind(TOggettiHel::testoHtml, 0)->ContentBytes();
        if (!text) std::abort();
        return *text;
    };
    const std::string first = commit();
    if (commit() != first) std::abort();
    return 0;
}
