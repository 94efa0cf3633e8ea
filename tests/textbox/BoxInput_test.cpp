// The text box's input without a window: movements with their exit codes, keys, the mouse,
// the caret's blink, drops and the clipboard commands.
#include <gtest/gtest.h>

#include "LayoutSupport.h"
#include "textbox/uKYTboxInput.h"

namespace orvo::test {
namespace {

// Records what the input asks of the frame set.
class RecordingInputHost final : public IBoxInputHost {
public:
    void TakeFocus(TKYTboxInput& box) override {
        ++focusTaken;
        if (!box.Focused()) box.FocusIn();
    }
    bool Wrapper() const override { return wrapper; }
    void OpenHypertext(const std::string& name) override { opened.push_back(name); }
    void DropFiles(TKYTboxInput&, const std::vector<std::string>& names) override {
        dropped = names;
    }
    void StartTextDrag(TKYTboxInput& source) override { dragSource = &source; }
    void ShowMenu(TKYTboxInput&, BoxMenu menu, Point) override { menus.push_back(menu); }
    void FollowLink(TKYTboxInput&, std::int32_t link) override { followed.push_back(link); }
    bool wrapper = false;
    int focusTaken = 0;
    std::vector<std::string> opened, dropped;
    std::vector<BoxMenu> menus;
    std::vector<std::int32_t> followed;
    TKYTboxInput* dragSource = nullptr;
};

// The seam to the editing operations, recording the ranges it is asked to change.
class RecordingEditing final : public IBoxEditing {
public:
    explicit RecordingEditing(TKYTbox& box) : box_(box) {}
    bool Available() const override { return true; }
    void EndBursts() override { ++burstEnds; }
    bool TypingBurstOpen() const override { return false; }
    bool DeletionBurstOpen() const override { return false; }
    void DeleteSelection() override {
        const auto [s, e] = box_.SelectionRange();
        deleted.push_back({s.paraIndex, s.charIndex, e.paraIndex, e.charIndex});
        box_.ClearSelection();
        box_.SetCaret(s);
    }
    bool InsertChar(std::uint8_t c) override {
        typed.push_back(char(c));
        return true;
    }
    void InsertParagraphBreak() override {}
    std::string WriteSelection(bool, std::optional<std::string>*) override { return "stream"; }
    bool InsertFromStream(std::string_view stream, std::string_view label) override {
        inserted.push_back(std::string(stream) + "|" + std::string(label));
        return true;
    }
    std::string WriteSelectionAsRtf() override { return "{\\rtf1}"; }
    std::string WriteSelectionAsText() override { return "text"; }
    bool PasteRtf(std::string_view rtf) override {
        inserted.push_back("rtf:" + std::string(rtf));
        return true;
    }
    bool PasteText(std::string_view text, std::string_view) override {
        inserted.push_back("text:" + std::string(text));
        return true;
    }
    std::vector<std::array<std::int32_t, 4>> deleted;
    std::vector<std::string> inserted;
    std::string typed;
    int burstEnds = 0;

private:
    TKYTbox& box_;
};

// 6 px a byte from x 10, lines 15 px high; at width 100 a line holds 13 bytes.
class BoxInput : public ::testing::Test {
protected:
    void Load(std::optional<std::string_view> header, std::string_view body,
              std::optional<std::string_view> footer = std::nullopt, int width = 100) {
        host_.SetClientSize(width, 300);
        box_.LoadText(header ? std::optional<std::string>(Text(*header)) : std::nullopt, Text(body),
                      footer ? std::optional<std::string>(Text(*footer)) : std::nullopt);
        input_.FocusIn();
    }
    TKYTTextPos Pos(int para, int character) { return box_.ResolvePosition(At(para, character)); }
    // The caret's paragraph and character.
    std::pair<int, int> Caret() {
        const TKYTTextPos p = input_.Caret().Pos();
        return {p.paraIndex, p.charIndex};
    }
    std::array<int, 4> Selection() {
        const auto [s, e] = input_.SelectionRange();
        return {s.paraIndex, s.charIndex, e.paraIndex, e.charIndex};
    }
    // A point in the middle of the character at that position.
    Point PointAt(int para, int character) {
        const TKYTTextPos p = Pos(para, character);
        return {p.x + 2, p.y + 3};
    }

    BoxMarkupHost markup_;
    RecordingBoxHost host_{100, 300};
    TKYTbox box_{markup_, host_};
    ManualScheduler scheduler_;
    RecordingInputHost frame_;
    MemoryClipboard clipboard_;
    NoBoxEditing noEditing_;
    TKYTboxInput input_{box_, scheduler_, frame_, clipboard_, noEditing_};
};

TEST_F(BoxInput, CharacterMovesStopAtTheEditableTextWithExitCodes) {
    Load("<Z S0 >head", "<Z S0 >ab<Z S0 >", "<Z S0 >foot");
    // Header 0, body 1 and 2 (empty), footer 3.
    EXPECT_EQ(input_.CharLeft(Pos(1, 0)).paraIndex, 1);
    EXPECT_EQ(input_.ExitCode(), kExitBackward);
    input_.ClearExitCode();
    TKYTTextPos q = input_.CharRight(Pos(1, 2));
    EXPECT_EQ(input_.ExitCode(), kExitNone);
    EXPECT_EQ(q.paraIndex, 2);
    EXPECT_EQ(q.charIndex, 0);
    q = input_.CharRight(q);
    EXPECT_EQ(input_.ExitCode(), kExitForward);
    input_.ClearExitCode();
    q = input_.CharLeft(Pos(2, 0));
    EXPECT_EQ(q.paraIndex, 1);
    EXPECT_EQ(q.charIndex, 2);
    EXPECT_EQ(input_.LineUp(Pos(1, 1)).paraIndex, 1);
    EXPECT_EQ(input_.ExitCode(), kExitUp);
    input_.ClearExitCode();
    input_.LineDown(Pos(2, 0));
    EXPECT_EQ(input_.ExitCode(), kExitDown);
    input_.ClearExitCode();
    input_.ParaUp(Pos(1, 1));
    EXPECT_EQ(input_.ExitCode(), kExitUp);
    EXPECT_EQ(input_.TextStart().paraIndex, 1);
    EXPECT_EQ(input_.TextEnd().paraIndex, 2);
}

TEST_F(BoxInput, MovesIntoTableParagraphsGiveTheirExitCodes) {
    const int table = markup_.AddTable(1, 1);
    const std::string code = "<$FF00000" + std::to_string(table) + ">";
    Load(std::nullopt, "<Z S0 >ab<Z S0 >" + code + "<@><Z S0 >cd");
    ASSERT_TRUE(box_.Paragraph(1).IsTableParagraph(markup_));
    struct Case {
        const char* name;
        TKYTTextPos (TKYTboxInput::*move)(const TKYTTextPos&);
        int para, character, exit;
    };
    const Case cases[] = {
        {"right into", &TKYTboxInput::CharRight, 0, 2, kExitIntoTableForward},
        {"left into", &TKYTboxInput::CharLeft, 2, 0, kExitIntoTableBackward},
        {"down into", &TKYTboxInput::LineDown, 0, 1, kExitIntoTableDown},
        {"up into", &TKYTboxInput::LineUp, 2, 1, kExitIntoTableUp},
        {"right inside", &TKYTboxInput::CharRight, 1, 0, kExitIntoTableForward},
        {"left inside", &TKYTboxInput::CharLeft, 1, 1, kExitIntoTableBackward},
    };
    for (const Case& c : cases) {
        input_.ClearExitCode();
        const TKYTTextPos from = Pos(c.para, c.character);
        const TKYTTextPos q = (input_.*c.move)(from);
        EXPECT_EQ(input_.ExitCode(), c.exit) << c.name;
        EXPECT_EQ(input_.ExitTable(), &box_.Paragraph(1)) << c.name;
        EXPECT_EQ(q.paraIndex, from.paraIndex) << c.name;
        EXPECT_EQ(q.charIndex, from.charIndex) << c.name;
    }
}

TEST_F(BoxInput, LinesKeepTheGoalColumnAndLineEndsStayOnTheirLine) {
    // "abcdefghij " / "klmno" at width 76: 11 bytes fit.
    Load(std::nullopt, "<Z S0 >abcdefghij klmno<Z S0 ><Z S0 >xyz", std::nullopt, 86);
    ASSERT_EQ(box_.Paragraph(0).lines.size(), 2u);
    const TKYTTextPos down = input_.LineDown(Pos(0, 3));
    EXPECT_EQ(down.lineIndex, 1);
    EXPECT_EQ(down.charIndex, 14);
    // Beyond the short line's end the caret stops at the paragraph's end.
    EXPECT_EQ(input_.LineDown(Pos(0, 9)).charIndex, 16);
    // Down onto the empty paragraph, then on to "xyz" at the goal column of the empty line.
    const TKYTTextPos empty = input_.LineDown(Pos(0, 15));
    EXPECT_EQ(empty.paraIndex, 1);
    EXPECT_EQ(input_.LineDown(empty).charIndex, 0);
    EXPECT_EQ(input_.LineUp(Pos(2, 2)).paraIndex, 1);
    const TKYTTextPos end = input_.LineEnd(Pos(0, 2));
    EXPECT_EQ(end.charIndex, 11);
    EXPECT_EQ(end.lineIndex, 0);
    EXPECT_EQ(input_.LineStart(Pos(0, 13)).charIndex, 11);
    // Right from the first line's last character goes to the start of the second line.
    const TKYTTextPos right = input_.CharRight(Pos(0, 10));
    EXPECT_EQ(right.charIndex, 11);
    EXPECT_EQ(right.lineIndex, 1);
}

TEST_F(BoxInput, WordMovesAndDoubleClicks) {
    Load(std::nullopt, "<Z S0 >word   , x<Z S0 >\x93quoted\x94 a", std::nullopt, 400);
    struct Case {
        int para, from;
        bool right, forSelection;
        int to;
    };
    const Case cases[] = {
        {0, 2, false, false, 0}, {0, 7, false, false, 0}, {0, 9, false, false, 0},
        {0, 1, false, false, 0}, {0, 0, true, false, 9},  {0, 8, true, false, 10},
        {0, 2, true, true, 7},   {0, 2, false, true, 0},  {1, 3, false, false, 0},
        {1, 1, true, false, 9},  {1, 9, true, false, 10},
    };
    for (const Case& c : cases) {
        input_.ClearExitCode();
        const TKYTTextPos q = c.right ? input_.WordRight(Pos(c.para, c.from), c.forSelection)
                                      : input_.WordLeft(Pos(c.para, c.from), c.forSelection);
        EXPECT_EQ(q.charIndex, c.to) << c.para << " " << c.from << " " << c.right;
        EXPECT_EQ(input_.ExitCode(), kExitNone);
    }
    // From the paragraph's ends the word moves leave it.
    EXPECT_EQ(input_.WordRight(Pos(0, 10), false).paraIndex, 1);
    EXPECT_EQ(input_.WordLeft(Pos(1, 0), false).charIndex, 10);
    input_.WordRight(Pos(1, 10), false);
    EXPECT_EQ(input_.ExitCode(), kExitForward);

    // A double click on "word" selects it with its spaces, not the comma.
    const Point p = PointAt(0, 1);
    input_.MouseDown(MouseButton::Left, p.x, p.y, 0);
    input_.MouseUp(MouseButton::Left, p.x, p.y, 0);
    input_.DoubleClick(p.x, p.y);
    EXPECT_FALSE(input_.SelectionPresent());  // the release does the work
    input_.MouseUp(MouseButton::Left, p.x, p.y, 0);
    EXPECT_EQ(Selection(), (std::array<int, 4>{0, 0, 0, 7}));
    EXPECT_FALSE(input_.Caret().Shown());
}

TEST_F(BoxInput, KeysMoveAndSelect) {
    Load(std::nullopt, "<Z S0 >abcdef<Z S0 >ghijkl");
    input_.PlaceCaret(Pos(0, 2));
    input_.KeyDown(BoxKey::Right, kModShift);
    input_.KeyDown(BoxKey::Right, kModShift);
    input_.KeyDown(BoxKey::Down, kModShift);
    EXPECT_EQ(Selection(), (std::array<int, 4>{0, 2, 1, 4}));
    EXPECT_EQ(box_.SelectionRange().second.charIndex, 4);  // what the painter highlights
    // A plain Left goes to the selection's start and no further; Right to its end.
    input_.KeyDown(BoxKey::Left, 0);
    EXPECT_FALSE(input_.SelectionPresent());
    EXPECT_EQ(Caret(), (std::pair<int, int>{0, 2}));
    EXPECT_TRUE(input_.Caret().Shown());
    input_.SetSelection(Pos(0, 1), Pos(1, 3));
    input_.KeyDown(BoxKey::Right, 0);
    EXPECT_EQ(Caret(), (std::pair<int, int>{1, 3}));
    input_.KeyDown(BoxKey::Home, kModCtrl | kModShift);
    EXPECT_EQ(Selection(), (std::array<int, 4>{0, 0, 1, 3}));
    input_.KeyDown(BoxKey::End, kModCtrl);  // ends the selection at its end
    EXPECT_EQ(Caret(), (std::pair<int, int>{1, 3}));
    input_.KeyDown(BoxKey::End, kModCtrl);
    EXPECT_EQ(Caret(), (std::pair<int, int>{1, 6}));
    input_.KeyDown(BoxKey::Left, kModCtrl);
    EXPECT_EQ(Caret(), (std::pair<int, int>{1, 0}));
    input_.SelectAll();
    EXPECT_EQ(Selection(), (std::array<int, 4>{0, 0, 1, 6}));
}

TEST_F(BoxInput, PageDownMovesElevenLines) {
    std::string body;
    for (int i = 0; i < 20; ++i) body += "<Z S0 >line " + std::to_string(i);
    Load(std::nullopt, body, std::nullopt, 400);
    input_.PlaceCaret(Pos(2, 3));
    input_.KeyDown(BoxKey::PageDown, 0);
    EXPECT_EQ(Caret(), (std::pair<int, int>{13, 3}));
    input_.KeyDown(BoxKey::PageDown, 0);  // stops at the last line
    EXPECT_EQ(Caret(), (std::pair<int, int>{19, 3}));
    input_.KeyDown(BoxKey::PageUp, kModShift);
    EXPECT_EQ(Selection(), (std::array<int, 4>{8, 3, 19, 3}));
}

TEST_F(BoxInput, MouseSelectsAfterMoreThanFourPixels) {
    Load(std::nullopt, "<Z S0 >abcdefghij", std::nullopt, 400);
    const Point a = PointAt(0, 1);
    input_.MouseDown(MouseButton::Left, a.x, a.y, 0);
    input_.MouseMove(a.x + 4, a.y, 0);
    input_.MouseUp(MouseButton::Left, a.x + 4, a.y, 0);
    EXPECT_FALSE(input_.SelectionPresent());
    EXPECT_EQ(Caret(), (std::pair<int, int>{0, 2}));  // where the button was released

    input_.MouseDown(MouseButton::Left, a.x, a.y, 0);
    input_.MouseMove(a.x + 5, a.y, 0);
    EXPECT_TRUE(input_.MouseSelecting());
    const Point b = PointAt(0, 5);
    input_.MouseMove(b.x, b.y, 0);
    input_.MouseUp(MouseButton::Left, b.x, b.y, 0);
    // Dragged to the right, the selection starts after the character pressed.
    EXPECT_EQ(Selection(), (std::array<int, 4>{0, 2, 0, 5}));
    // Shift+Right carries on the mouse's selection.
    EXPECT_TRUE(input_.KeySelecting());
    input_.KeyDown(BoxKey::Right, kModShift);
    EXPECT_EQ(Selection(), (std::array<int, 4>{0, 2, 0, 6}));
    // A plain click clears it.
    input_.MouseDown(MouseButton::Left, a.x, a.y, 0);
    input_.MouseUp(MouseButton::Left, a.x, a.y, 0);
    EXPECT_FALSE(input_.SelectionPresent());
    // A release without a press in this box is ignored.
    TKYTboxInput fresh(box_, scheduler_, frame_, clipboard_, noEditing_);
    fresh.MouseUp(MouseButton::Left, b.x, b.y, 0);
    EXPECT_EQ(box_.Caret().charIndex, 1);
}

TEST_F(BoxInput, HeaderAndFooterTakeNoPressAndLinksChangeThePointer) {
    Load("<Z S0 >head", "<Z S0 >a<$00000001>link<%> b", "<Z S0 >foot", 400);
    const Point head = PointAt(0, 1);
    input_.MouseDown(MouseButton::Left, head.x, head.y, 0);
    EXPECT_FALSE(input_.PressPending());
    const Point link = PointAt(1, 2);
    input_.MouseMove(link.x, link.y, 0);
    EXPECT_EQ(input_.Pointer(), kPointerEditHand);
    EXPECT_EQ(input_.HintLinkId(), 1);
    const Point plain = PointAt(1, 7);
    input_.MouseMove(plain.x, plain.y, 0);
    EXPECT_EQ(input_.Pointer(), kPointerIBeam);
    EXPECT_EQ(input_.HintLinkId(), -1);
    input_.MouseMove(head.x, head.y, 0);
    EXPECT_EQ(input_.Pointer(), kPointerDefault);
    // F9 follows the link at the caret.
    input_.PlaceCaret(Pos(1, 3));
    EXPECT_TRUE(input_.KeyDown(BoxKey::F9, 0));
    EXPECT_EQ(frame_.followed, std::vector<std::int32_t>{1});
}

TEST_F(BoxInput, TheCaretBlinksOnOneSharedTimer) {
    Load(std::nullopt, "<Z S0 >abc");
    TKYTcursor& caret = input_.Caret();
    ASSERT_TRUE(caret.Owned());
    EXPECT_TRUE(caret.BarVisible());
    host_.ClearInvalidated();
    scheduler_.Advance(kCaretBlink);
    EXPECT_FALSE(caret.BarVisible());
    ASSERT_FALSE(host_.Invalidated().empty());
    const Rect bar = host_.Invalidated().back();
    EXPECT_EQ(bar.right - bar.left, kCaretWidth);
    EXPECT_EQ(bar.bottom - bar.top, 15);
    scheduler_.Advance(kCaretBlink);
    EXPECT_TRUE(caret.BarVisible());
    {
        // Another caret takes the timer; its end stops it.
        TKYTcursor other(box_, scheduler_, false);
        other.ShowCaret(true);
        EXPECT_TRUE(other.Owned());
        EXPECT_FALSE(caret.Owned());
        EXPECT_FALSE(caret.BarVisible());
    }
    EXPECT_FALSE(caret.Owned());
    caret.ShowCaret(true);
    caret.KeepVisible();
    EXPECT_EQ(caret.KeepVisibleCount(), 3);
    scheduler_.Advance(kCaretBlink * 3);
    EXPECT_EQ(caret.KeepVisibleCount(), 0);
    input_.FocusOut();
    EXPECT_FALSE(caret.Shown());
}

TEST_F(BoxInput, ChangesOfTextAreRefusedWithoutEditingOperations) {
    Load(std::nullopt, "<Z S0 >abc");
    const std::string before = box_.Paragraph(0).text;
    EXPECT_FALSE(input_.Char('x'));
    EXPECT_EQ(input_.Refusal(), kEditingNotBuilt);
    input_.ClearRefusal();
    input_.KeyDown(BoxKey::Delete, 0);
    EXPECT_EQ(input_.Refusal(), kEditingNotBuilt);
    EXPECT_EQ(box_.Paragraph(0).text, before);
}

class BoxInputEditing : public BoxInput {
protected:
    RecordingEditing editing_{box_};
    TKYTboxInput edit_{box_, scheduler_, frame_, clipboard_, editing_};
};

TEST_F(BoxInputEditing, DeleteAndBackspaceAtTheEdgesOfTheText) {
    Load(std::nullopt, "<Z S0 >ab<Z S0 >cd");
    edit_.PlaceCaret(Pos(0, 0));
    edit_.KeyDown(BoxKey::Backspace, 0);
    edit_.PlaceCaret(Pos(1, 2));
    edit_.KeyDown(BoxKey::Delete, 0);
    EXPECT_TRUE(editing_.deleted.empty());
    edit_.PlaceCaret(Pos(0, 2));
    edit_.KeyDown(BoxKey::Delete, 0);  // joins the next paragraph
    edit_.PlaceCaret(Pos(1, 0));
    edit_.KeyDown(BoxKey::Backspace, 0);
    edit_.PlaceCaret(Pos(1, 1));
    edit_.KeyDown(BoxKey::Backspace, 0);
    using R = std::array<std::int32_t, 4>;
    EXPECT_EQ(editing_.deleted, (std::vector<R>{{0, 2, 1, 0}, {0, 2, 1, 0}, {1, 0, 1, 1}}));
    // Typing inserts, then the caret moves one position right.
    edit_.PlaceCaret(Pos(0, 1));
    EXPECT_TRUE(edit_.Char('z'));
    EXPECT_EQ(editing_.typed, "z");
    EXPECT_EQ(box_.Caret().charIndex, 2);
}

TEST_F(BoxInputEditing, ClipboardCopiesThreeFormsAndPastesByPriority) {
    Load(std::nullopt, "<Z S0 >abcdef");
    edit_.SetSelection(Pos(0, 1), Pos(0, 3));
    ASSERT_TRUE(edit_.CopySelection());
    ASSERT_EQ(clipboard_.Contents().size(), 3u);
    EXPECT_EQ(clipboard_.Contents()[0].first, kClipObjects);
    EXPECT_EQ(clipboard_.Contents()[1].first, kClipRtf);
    EXPECT_EQ(clipboard_.Contents()[2].first, kClipText);
    // A stream whose content code is 2 pastes nothing, and nothing further down the list.
    clipboard_.SetContents(
        {{std::string(kClipObjects), std::string("\x02\0\0\0", 4)}, {std::string(kClipText), "t"}});
    EXPECT_FALSE(edit_.Paste());
    EXPECT_TRUE(editing_.inserted.empty());
    const std::string code1("\x01\0\0\0", 4);
    clipboard_.SetContents(
        {{std::string(kClipRtf), "{\\rtf1 r}"}, {std::string(kClipObjects), code1}});
    EXPECT_TRUE(edit_.Paste());
    clipboard_.SetContents({{std::string(kClipText), "t"}, {std::string(kClipRtf), "{r}"}});
    edit_.Paste();
    frame_.wrapper = true;
    edit_.Paste();
    EXPECT_EQ(editing_.inserted,
              (std::vector<std::string>{code1 + "|Inserimento da Cartella appunti", "rtf:{r}",
                                        "text:t"}));
    // With the wrapper only plain text is copied.
    edit_.SetSelection(Pos(0, 1), Pos(0, 3));
    edit_.CopySelection();
    ASSERT_EQ(clipboard_.Contents().size(), 1u);
    EXPECT_EQ(clipboard_.Contents()[0].first, kClipText);
}

TEST_F(BoxInputEditing, DroppedTextMovesToWhereItWasDroppedAfterTheDeletion) {
    Load(std::nullopt, "<Z S0 >abcdefgh<Z S0 >ijkl", std::nullopt, 400);
    edit_.SetSelection(Pos(0, 1), Pos(0, 3));
    // Pressed on the selection and dragged: a text drag starts.
    const Point from = PointAt(0, 2);
    edit_.MouseDown(MouseButton::Left, from.x, from.y, 0);
    edit_.MouseMove(from.x + 20, from.y, 0);
    ASSERT_EQ(frame_.dragSource, &edit_);
    // Inside the selection the drop is refused.
    EXPECT_FALSE(edit_.DragOver(edit_, from.x, from.y));
    EXPECT_FALSE(edit_.Drop(edit_, from.x, from.y));
    EXPECT_TRUE(editing_.deleted.empty());

    const Point to = PointAt(0, 6);
    frame_.dragSource = nullptr;
    edit_.MouseDown(MouseButton::Left, from.x, from.y, 0);
    edit_.MouseMove(to.x, to.y, 0);
    ASSERT_EQ(frame_.dragSource, &edit_);
    EXPECT_TRUE(edit_.DragOver(edit_, to.x, to.y));
    EXPECT_TRUE(edit_.Drop(edit_, to.x, to.y));
    ASSERT_EQ(editing_.inserted.size(), 1u);
    EXPECT_EQ(editing_.inserted[0], "stream|Inserimento tramite trascina selezione");
    // The recording deletion removes nothing, so the drop stays before "g".
    EXPECT_EQ(Caret(), (std::pair<int, int>{0, 6}));
}

TEST_F(BoxInput, DroppedFiles) {
    Load(std::nullopt, "<Z S0 >abc");
    const std::string longName = "/tmp/" + std::string(300, 'n') + ".png";
    input_.DropFiles({longName}, 20, 12);
    ASSERT_EQ(frame_.dropped.size(), 1u);
    EXPECT_EQ(frame_.dropped[0], longName);  // never cut at 260 characters
    box_.SetRunMode(true, false);
    input_.DropFiles({"/home/u/Sito.KYT", "/home/u/b.kyt"}, 20, 12);
    input_.DropFiles({"/home/u/a.txt"}, 20, 12);
    EXPECT_EQ(frame_.opened, std::vector<std::string>{"/home/u/Sito.KYT"});
    frame_.wrapper = true;
    input_.DropFiles({"/home/u/c.kyt"}, 20, 12);
    EXPECT_EQ(frame_.opened.size(), 1u);
}

// A 1 x 2 table whose cells are boxes of their own.
class TableInput : public BoxInput, public ITableNavigator {
protected:
    TKYTboxInput* EntryCell(const TKYTparag&, int code) override {
        return code == kExitIntoTableBackward || code == kExitIntoTableUp ? &right_ : &left_;
    }
    TKYTboxInput* Neighbour(TKYTboxInput& cell, int code) override {
        if (&cell == &left_ && code == kExitForward) return &right_;
        if (&cell == &right_ && code == kExitBackward) return &left_;
        return nullptr;
    }
    std::pair<TKYTboxInput*, std::int32_t> Container(TKYTboxInput&) override {
        return {&outer_, 1};
    }
    CountingTableHost tableHost_;
    RecordingBoxHost cellHost_{100, 300};
    TKYTbox leftBox_{markup_, cellHost_, &tableHost_};
    TKYTbox rightBox_{markup_, cellHost_, &tableHost_};
    TKYTboxInput outer_{box_, scheduler_, frame_, clipboard_, noEditing_, this};
    TKYTboxInput left_{leftBox_, scheduler_, frame_, clipboard_, noEditing_, this};
    TKYTboxInput right_{rightBox_, scheduler_, frame_, clipboard_, noEditing_, this};
};

TEST_F(TableInput, TheCaretWalksIntoThroughAndOutOfATable) {
    const int table = markup_.AddTable(1, 2);
    Load(std::nullopt, "<Z S0 >ab<Z S0 ><$FF00000" + std::to_string(table) + "><@><Z S0 >cd");
    leftBox_.LoadText(std::nullopt, Text("<Z S1 >L1"), std::nullopt);
    rightBox_.LoadText(std::nullopt, Text("<Z S1 >R22"), std::nullopt);
    outer_.PlaceCaret(Pos(0, 2));
    outer_.KeyDown(BoxKey::Right, 0);
    EXPECT_TRUE(left_.Focused());
    EXPECT_EQ(left_.Caret().Pos().charIndex, 0);
    left_.KeyDown(BoxKey::End, 0);
    left_.KeyDown(BoxKey::Right, 0);
    EXPECT_TRUE(right_.Focused());
    EXPECT_EQ(right_.Caret().Pos().charIndex, 0);
    right_.KeyDown(BoxKey::Left, 0);
    EXPECT_EQ(left_.Caret().Pos().charIndex, 2);  // its text's end
    right_.KeyDown(BoxKey::End, 0);
    right_.KeyDown(BoxKey::Right, 0);  // the table's edge: out to the paragraph after it
    EXPECT_EQ(outer_.Caret().Pos().paraIndex, 2);
    EXPECT_EQ(outer_.Caret().Pos().charIndex, 0);
    left_.KeyDown(BoxKey::Up, 0);  // up from the first row: the start of the paragraph before
    EXPECT_EQ(outer_.Caret().Pos().paraIndex, 0);
    EXPECT_EQ(outer_.Caret().Pos().charIndex, 0);
    outer_.PlaceCaret(Pos(2, 0));
    outer_.KeyDown(BoxKey::Left, 0);  // back into the table at its end
    EXPECT_EQ(right_.Caret().Pos().charIndex, 3);
}

}  // namespace
}  // namespace orvo::test
