// The editing session of a surface, without a window: two surfaces share the hypertext's undo
// list, each step goes back into the box it came from, and the toolbar's style button acts on
// the selection or on the characters typed next.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/KytFixture.h"
#include "model/TextForms.h"
#include "platform/FixedMetrics.h"
#include "platform/IClipboard.h"
#include "platform/IScheduler.h"
#include "support/MarkupHost.h"
#include "textbox/PageEditSession.h"
#include "textbox/uKYTbox.h"

namespace orvo::test {
namespace {

using namespace std::string_literals;

// One surface: a page's text in a box, and the session that edits it.
struct Surface {
    Surface(TKYTset& set, IMessages& messages, TKYToggetto& page, FixedMetrics& metrics)
        : text(OpenText(set, page, false)),
          host(set, *text, metrics),
          box(host, boxHost),
          session(set, messages, scheduler, clipboard, inputHost) {
        box.LoadText(std::nullopt, *text->ContentBytes(), std::nullopt);
        session.SetEditable(true);
        session.Attach(box, *text, page.Identifier());
        session.OnUndoApplied([this] { ++applied; });
    }
    void Type(std::string_view characters) {
        for (char c : characters) session.Char(static_cast<std::uint8_t>(c));
    }
    void Caret(std::int32_t para, std::int32_t ch) {
        TKYTTextPos pos;
        pos.paraIndex = para;
        pos.charIndex = ch;
        session.Input()->PlaceCaret(box.ResolvePosition(pos));
    }
    std::string Markup() {
        std::string bytes = WriteText(box.AllParagraphs(), host);
        if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
        return bytes;
    }

    std::unique_ptr<TKYTtesto> text;
    TextMarkupHost host;
    RecordingBoxHost boxHost{600, 400};
    TKYTbox box;
    ManualScheduler scheduler;
    MemoryClipboard clipboard;
    IBoxInputHost inputHost;
    PageEditSession session;
    int applied = 0;
};

class PageEditSessionTest : public KytTest {
protected:
    std::unique_ptr<Surface> Show(TKYToggetto& page) {
        return std::make_unique<Surface>(set_, messages_, page, metrics_);
    }
    FixedMetrics metrics_;
    TKYToggetto& first_ = AddPage("Prima", "<Z S0 >uno due<Z S0 >tre\0"s);
    TKYToggetto& second_ = AddPage("Seconda", "<Z S0 >quattro\0"s);
};

TEST_F(PageEditSessionTest, TwoSurfacesShareTheHypertextsListAndStepsFindTheirOwnBox) {
    auto a = Show(first_);
    auto b = Show(second_);
    EXPECT_EQ(&a->session.Undo(), &UndoListOf(set_));
    EXPECT_EQ(&b->session.Undo(), &UndoListOf(set_));

    a->Caret(0, 3);
    a->Type("XY");
    b->Caret(0, 0);
    b->Type("Z");
    EXPECT_EQ(a->Markup(), "<Z S0 >unoXY due<Z S0 >tre");
    EXPECT_EQ(b->Markup(), "<Z S0 >Zquattro");
    EXPECT_EQ(a->session.Tools().undoLabels,
              (std::vector<std::string>{"Inserimento caratteri", "Inserimento caratteri"}));

    // The newest step, taken from the first surface, goes back into the second one's box;
    // both surfaces hear of it.
    ASSERT_TRUE(a->session.UndoSteps(1));
    EXPECT_EQ(b->Markup(), "<Z S0 >quattro");
    EXPECT_EQ(a->Markup(), "<Z S0 >unoXY due<Z S0 >tre");
    EXPECT_EQ(a->applied, 1);
    EXPECT_EQ(b->applied, 1);

    // The second surface goes: the list no longer calls it or names its box, and the first
    // surface's step still finds its own.
    b.reset();
    ASSERT_TRUE(a->session.UndoSteps(1));
    EXPECT_EQ(a->Markup(), "<Z S0 >uno due<Z S0 >tre");
    EXPECT_EQ(a->applied, 2);
    EXPECT_FALSE(UndoListOf(set_).CanUndo());
    EXPECT_TRUE(messages_.Shown().empty());

    // A window may let the hypertext (and its list) go before its surfaces: the session then
    // goes without touching it.
    set_.UndoHistory.reset();
    EXPECT_FALSE(a->session.UndoSteps(1));
    EXPECT_TRUE(a->session.Tools().undoLabels.empty());
    a.reset();
}

TEST_F(PageEditSessionTest, TheStyleButtonActsOnTheSelectionOrOnWhatIsTypedNext) {
    TKYToggetto& page = AddPage("Stili", "<Z S0 >alfa beta<Z S0 ><Y y1 >gamma<Y > delta\0"s);
    auto s = Show(page);
    // A selection: its characters only.
    s->session.Input()->SetSelection(s->box.ResolvePosition([] {
        TKYTTextPos p;
        p.paraIndex = 0;
        p.charIndex = 5;
        return p;
    }()),
                                     s->box.ResolvePosition([] {
                                         TKYTTextPos p;
                                         p.paraIndex = 0;
                                         p.charIndex = 9;
                                         return p;
                                     }()));
    EXPECT_EQ(s->session.Tools().styleBits & kStyleBold, 0);
    s->session.ToggleStyle(kStyleBold);
    EXPECT_EQ(s->Markup(), "<Z S0 >alfa <Y y1 >beta<Z S0 ><Y y1 >gamma<Y > delta");
    EXPECT_NE(s->session.Tools().styleBits & kStyleBold, 0);

    // Nothing selected: the characters typed next are bold, the text after them is not.
    s->Caret(0, 4);
    s->session.ToggleStyle(kStyleBold);
    EXPECT_NE(s->session.Tools().styleBits & kStyleBold, 0);
    s->Type("XY");
    EXPECT_EQ(s->Markup(), "<Z S0 >alfa<Y y1 >XY<Y > <Y y1 >beta<Z S0 ><Y y1 >gamma<Y > delta");

    // In bold text the button takes the bold away from what is typed next.
    s->Caret(1, 2);
    EXPECT_NE(s->session.Tools().styleBits & kStyleBold, 0);
    s->session.ToggleStyle(kStyleBold);
    EXPECT_EQ(s->session.Tools().styleBits & kStyleBold, 0);
    s->Type("q");
    EXPECT_EQ(s->Markup(),
              "<Z S0 >alfa<Y y1 >XY<Y > <Y y1 >beta<Z S0 ><Y y1 >ga<Y >q<Y y1 >mma<Y > delta");
}

}  // namespace
}  // namespace orvo::test
