// The box's input over the real editing operations: keys that change text, drags within a
// box, and the clipboard's round trips.
#include <gtest/gtest.h>

#include "EditingSupport.h"
#include "textbox/uKYTboxInput.h"

namespace orvo::test {
namespace {

class DragHost final : public IBoxInputHost {
public:
    void StartTextDrag(TKYTboxInput& source) override { dragSource = &source; }
    TKYTboxInput* dragSource = nullptr;
};

class InputEditing : public EditingTest {
protected:
    void Start(std::string_view markup) {
        input_.reset();
        Open(markup);
        input_ = std::make_unique<TKYTboxInput>(Box(), scheduler_, host_, clipboard_, *editing_);
        input_->FocusIn();
    }
    TKYTTextPos Pos(int para, int ch) {
        TKYTTextPos p;
        p.paraIndex = para;
        p.charIndex = ch;
        return Box().ResolvePosition(p);
    }
    Point PointAt(int para, int ch) {
        const TKYTTextPos p = Pos(para, ch);
        return {p.x + 2, p.y + 3};
    }
    TKYTboxInput& In() { return *input_; }

    ManualScheduler scheduler_;
    DragHost host_;
    MemoryClipboard clipboard_;
    std::unique_ptr<TKYTboxInput> input_;
};

TEST_F(InputEditing, KeysTypeDeleteAndJoin) {
    Start("<Z S0 >ab<Z S0 >cd");
    In().PlaceCaret(Pos(0, 0));
    In().KeyDown(BoxKey::Backspace, 0);  // the first position: nothing
    In().PlaceCaret(Pos(1, 2));
    In().KeyDown(BoxKey::Delete, 0);  // the text's end: nothing
    EXPECT_EQ(Markup(), "<Z S0 >ab<Z S0 >cd");
    EXPECT_FALSE(undo_.CanUndo());
    In().Char('x');
    In().Char('y');
    EXPECT_EQ(In().Caret().Pos().charIndex, 4);
    In().KeyDown(BoxKey::Backspace, 0);
    EXPECT_EQ(Markup(), "<Z S0 >ab<Z S0 >cdx");
    In().PlaceCaret(Pos(0, 2));
    In().KeyDown(BoxKey::Delete, 0);  // joins the next paragraph
    EXPECT_EQ(Markup(), "<Z S0 >abcdx");
    EXPECT_EQ(In().Caret().Pos().charIndex, 2);
    In().KeyDown(BoxKey::Return, 0);
    EXPECT_EQ(Markup(), "<Z S0 >ab<Z S0 >cdx");
    UndoAll();
    EXPECT_EQ(Markup(), "<Z S0 >ab<Z S0 >cd");
}

TEST_F(InputEditing, TextMovedInItsBoxLandsWhereItWasDropped) {
    // "bc" + "de" dragged into their last paragraph, between "g" and "h": the deletion joins
    // the paragraphs, and the drop follows the text it was dropped in.
    Start("<Z S0 >abc<Z S0 >defgh<Z S0 >ijk");
    In().SetSelection(Pos(0, 1), Pos(1, 2));
    const Point press = PointAt(0, 1);
    In().MouseDown(MouseButton::Left, press.x, press.y, 0);
    const Point drop = PointAt(1, 4);
    In().MouseMove(drop.x, drop.y, 0);
    ASSERT_EQ(host_.dragSource, &In());
    EXPECT_TRUE(In().DragOver(In(), drop.x, drop.y));
    EXPECT_TRUE(In().Drop(In(), drop.x, drop.y));
    EXPECT_EQ(Markup(), "<Z S0 >afgbc<Z S0 >deh<Z S0 >ijk");
    // With Ctrl the text is copied; the inserted text is selected afterwards.
    In().SetSelection(Pos(2, 0), Pos(2, 1));
    const Point i = PointAt(2, 0);
    In().MouseDown(MouseButton::Left, i.x, i.y, 0);
    const Point to = PointAt(0, 0);
    In().MouseMove(to.x, to.y, kModCtrl);
    EXPECT_TRUE(In().Drop(In(), to.x, to.y));
    EXPECT_EQ(Markup(), "<Z S0 >iafgbc<Z S0 >deh<Z S0 >ijk");
}

TEST_F(InputEditing, CopyAndPasteThroughTheClipboard) {
    Start("<Z S0 >uno <Y y1 >due<Y > tre");
    In().SetSelection(Pos(0, 3), Pos(0, 7));
    ASSERT_TRUE(In().CopySelection());
    ASSERT_TRUE(clipboard_.HasFormat(kClipObjects));
    In().KeyDown(BoxKey::End, kModCtrl);  // to the selection's end
    In().KeyDown(BoxKey::End, kModCtrl);  // to the text's end
    ASSERT_TRUE(In().Paste());
    EXPECT_EQ(Markup(), "<Z S0 >uno <Y y1 >due<Y > tre <Y y1 >due");
    // Into another box of another page, through the same clipboard.
    const std::string copied = *clipboard_.Data(kClipObjects);
    Start("<Z S0 >x");
    clipboard_.SetContents({{std::string(kClipObjects), copied}});
    In().KeyDown(BoxKey::End, 0);
    ASSERT_TRUE(In().Paste());
    EXPECT_EQ(Markup(), "<Z S0 >x <Y y1 >due");
    // A stream cut short is refused with its message and changes nothing.
    clipboard_.SetContents({{std::string(kClipObjects), copied.substr(0, copied.size() - 3)}});
    messages_.Clear();
    EXPECT_FALSE(In().Paste());
    EXPECT_EQ(Markup(), "<Z S0 >x <Y y1 >due");
    EXPECT_FALSE(messages_.Shown().empty());
    // Cut takes the selection away.
    In().SetSelection(Pos(0, 0), Pos(0, 2));
    ASSERT_TRUE(In().CutSelection());
    EXPECT_EQ(Markup(), "<Z S0 ><Y y1 >due");
}

}  // namespace
}  // namespace orvo::test
