// Fuzzes showing and committing a page whose stored text is almost anything: committing
// stores the text as the writer writes it, and showing and committing that again changes
// nothing. Two known findings of the text forms are kept out of the input, so that this target
// goes on looking for others:
// - "<$" codes that are not a stored object code (8 hexadecimal digits, ">", and not the working
//   forms 0x6F and 0xFF): opening leaves them alone and reading binds them to the page's working
//   objects, so one table gets named twice and becomes two tables at the next commit;
// - "<" and ">" inside a font name (F"..."): the name is written back as it is, and storing,
//   which ends a character code at its first ">", then blanks out the wrong bytes.
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

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string WithoutKnownFindings(std::string text) {
    for (std::size_t p = text.find("F\""); p != std::string::npos; p = text.find("F\"", p + 1)) {
        for (std::size_t k = p + 2; k < text.size() && text[k] != '"'; ++k)
            if (text[k] == '<' || text[k] == '>') text[k] = '_';
    }
    for (std::size_t p = text.find("<$"); p != std::string::npos; p = text.find("<$", p + 1)) {
        bool stored = p + 11 <= text.size() && text[p + 10] == '>';
        for (std::size_t k = 2; stored && k < 10; ++k) stored = IsHex(text[p + k]);
        if (stored) {
            const std::string kind = text.substr(p + 2, 2);
            stored = kind != "ff" && kind != "FF" && kind != "fF" && kind != "Ff" && kind != "6f" &&
                     kind != "6F";
        }
        if (!stored) text[p + 1] = '_';
    }
    return text;
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
    page.SetContent(WithoutKnownFindings(std::string(reinterpret_cast<const char*>(data), size)));
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
