// Fuzzes the editing operations: the input's first bytes are a selection stream pasted at the
// caret (refused whole when it cannot be read), the rest chooses edits as the property test's
// generator would. After every edit the paragraphs are consistent and the text reads back as
// written; undoing every step gives the page's first markup again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "../tests/textbox/EditingActions.h"
#include "model/TextForms.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"
#include "textbox/IBoxHost.h"

using namespace orvo;

namespace {

constexpr std::string_view kPage{
    "<Z S0 >Uno <Y y1 >due<Y > <$6f000000>tre<%> <Y c0000FF s14 >quattro<Z S1 A2 >cinque "
    "<$00000000>sei<%><Z S0 N6 l20 I-10 >sette\0",
    sizeof("<Z S0 >Uno <Y y1 >due<Y > <$6f000000>tre<%> <Y c0000FF s14 >quattro<Z S1 A2 >cinque "
           "<$00000000>sei<%><Z S0 N6 l20 I-10 >sette")};

[[noreturn]] void Fail() {
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FixedEnvironment env;
    RecordingMessages messages;
    TKYTset set(env, messages);
    auto web = NewObjectOfKind(TOggettiHel::internetLink, &set);
    web->Clear();
    web->TakeIntoUse();
    web->SetName("http://www.esempio.it/");
    set.Register(std::move(web));
    auto pageObject = NewObjectOfKind(TOggettiHel::testoHtml, &set);
    pageObject->Clear();
    pageObject->TakeIntoUse();
    TKYToggetto& page =
        *set.ObjectByKind(TOggettiHel::testoHtml, set.Register(std::move(pageObject)));
    // The stored form names the web link by its object code.
    std::string stored(kPage);
    stored.replace(stored.find("<$6f000000>"), 11, "<$01000000>");
    page.SetContent(stored);

    FixedMetrics metrics;
    std::unique_ptr<TKYTtesto> text = OpenText(set, page, false);
    TextMarkupHost host(set, *text, metrics);
    RecordingBoxHost boxHost(300, 200);
    TKYTbox box(host, boxHost);
    box.LoadText(std::nullopt, *text->ContentBytes(), std::nullopt);
    TKYTundoFrames frames;
    TKYTundoIndiciList controls;
    TKYTundoList undo(set, frames, messages);
    undo.SetDepth(100000);
    frames.SetFrame(0, page.Identifier(), &controls);
    EditContext context(set, *text, messages);
    context.undo = &undo;
    context.autoEngQuote = true;
    BoxEditing editing(box, std::move(context), &controls, page.Identifier(), 0);
    const std::string original = WriteText(box.AllParagraphs(), host);

    std::size_t at = 0;
    std::size_t streamSize = size >= 2 ? (data[0] | std::size_t(data[1]) << 8) : 0;
    at = size >= 2 ? 2 : size;
    streamSize = std::min(streamSize, size - at);
    if (streamSize > 0) {
        editing.Text().SetCaretAt({0, 4});
        editing.Text().InsertFromStream(
            std::string_view(reinterpret_cast<const char*>(data + at), streamSize), kLabelPaste,
            false, false);
        at += streamSize;
    }
    test::EditingDriver driver(editing, set, host);
    bool exhausted = false;
    auto pick = [&](int n) {
        if (at >= size) {
            exhausted = true;
            return 0;
        }
        return n <= 1 ? 0 : int(data[at++] % unsigned(n));
    };
    for (int step = 0; step < 200 && !exhausted; ++step) {
        driver.Action(pick);
        if (!driver.Problem().empty()) Fail();
        const std::string written = WriteText(box.AllParagraphs(), host);
        if (WriteText(ReadText(written, host), host) != written) Fail();
    }
    while (undo.CanUndo()) undo.UndoOne();
    if (WriteText(box.AllParagraphs(), host) != original) Fail();
    return 0;
}
