// Fuzzes pasting RTF from the clipboard: any bytes read by the RTF importer into a selection
// stream and inserted at the caret of a page. The page stays consistent (its text reads back
// as written) and one undo gives the page's first text again; a refused paste changes nothing.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/SelectionConverters.h"
#include "model/TextForms.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"
#include "textbox/IBoxHost.h"
#include "textbox/uKYTbox.h"
#include "textbox/uKYTundo.h"

using namespace orvo;

namespace {

constexpr std::string_view kPage{"<Z S0 >Uno <Y y1 >due<Y > tre<Z S1 A2 >quattro\0",
                                 sizeof("<Z S0 >Uno <Y y1 >due<Y > tre<Z S1 A2 >quattro")};

[[noreturn]] void Fail() {
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FixedEnvironment env;
    RecordingMessages messages;
    TKYTset set(env, messages);
    auto pageObject = NewObjectOfKind(TOggettiHel::testoHtml, &set);
    pageObject->Clear();
    pageObject->TakeIntoUse();
    TKYToggetto& page =
        *set.ObjectByKind(TOggettiHel::testoHtml, set.Register(std::move(pageObject)));
    page.SetContent(std::string(kPage));

    FixedMetrics metrics;
    std::unique_ptr<TKYTtesto> text = OpenText(set, page, false);
    TextMarkupHost host(set, *text, metrics);
    RecordingBoxHost boxHost(300, 200);
    TKYTbox box(host, boxHost);
    box.LoadText(std::nullopt, *text->ContentBytes(), std::nullopt);
    TKYTundoFrames frames;
    TKYTundoIndiciList controls;
    TKYTundoList undo(set, frames, messages);
    frames.SetFrame(0, page.Identifier(), &controls);
    SelectionConverters converters(set, metrics, [&text] { return text.get(); });
    EditContext context(set, *text, messages);
    context.undo = &undo;
    context.converters = &converters;
    BoxEditing editing(box, std::move(context), &controls, page.Identifier(), 0);
    const std::string original = WriteText(box.AllParagraphs(), host);

    editing.Text().SetCaretAt({0, 4});
    const bool pasted =
        editing.PasteRtf(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string written = WriteText(box.AllParagraphs(), host);
    if (WriteText(ReadText(written, host), host) != written) Fail();
    if (!pasted) {
        if (written != original) Fail();
        return 0;
    }
    if (!undo.CanUndo()) Fail();
    undo.UndoOne();
    if (WriteText(box.AllParagraphs(), host) != original) Fail();
    return 0;
}
