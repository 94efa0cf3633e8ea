// Editing a page's text: typing, deleting, breaking, formats, links, paragraph attributes,
// selection streams, and undoing each of them back to the bytes the page had.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "EditingSupport.h"
#include "base/ByteStream.h"
#include "base/Cp1252.h"
#include "model/StyleTable.h"

namespace orvo::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class Editing : public EditingTest {};

TEST_F(Editing, TypingIsOneStepUntilTheCaretMoves) {
    Open("<Z S0 >uno due");
    Caret(0, 3);
    Type("abc");
    EXPECT_EQ(Markup(), "<Z S0 >unoabc due");
    EXPECT_THAT(undo_.Labels(), ElementsAre("Inserimento caratteri"));
    Caret(0, 0);
    Type("X");
    EXPECT_THAT(undo_.Labels(), ElementsAre("Inserimento caratteri", "Inserimento caratteri"));
    undo_.UndoOne();
    EXPECT_EQ(Markup(), "<Z S0 >unoabc due");
    undo_.UndoOne();
    // the paragraph as it was before the first character, selected
    EXPECT_EQ(Markup(), "<Z S0 >uno due");
    EXPECT_TRUE(Box().SelectionShown());
    EXPECT_TRUE(set_.Modified());
}

TEST_F(Editing, DeletionsInOneParagraphAreOneStepAJoinIsItsOwn) {
    Open("<Z S0 >abcdefgh<Z S0 A2 >secondo");
    // Delete five times: each time the character after the caret
    for (int i = 0; i < 5; ++i) {
        Text().Select({0, 1}, {0, 2});
        Text().DeleteSelection();
    }
    EXPECT_EQ(Markup(), "<Z S0 >agh<Z S0 A2 >secondo");
    EXPECT_THAT(undo_.Labels(), ElementsAre("Cancella selezione"));
    Text().Select({0, 3}, {1, 0});
    Text().DeleteSelection();
    EXPECT_EQ(Markup(), "<Z S0 >aghsecondo");
    EXPECT_THAT(undo_.Labels(), ElementsAre("Cancella selezione", "Cancella selezione"));
    undo_.UndoOne();
    EXPECT_EQ(Markup(), "<Z S0 >agh<Z S0 A2 >secondo");
    // a join undone leaves the caret where it was, nothing selected
    EXPECT_FALSE(Box().SelectionShown());
    undo_.UndoOne();
    EXPECT_EQ(Markup(), "<Z S0 >abcdefgh<Z S0 A2 >secondo");
    EXPECT_FALSE(Box().SelectionShown());
    EXPECT_EQ(Box().Caret().charIndex, 1);
}

TEST_F(Editing, BoldInsideAPlainRunGivesThreeRuns) {
    Open("<Z S0 >uno due tre");
    SelectRange(0, 4, 0, 7);
    Text().ApplyFontStyle(kFontBold);
    EXPECT_EQ(Markup(), "<Z S0 >uno <Y y1 >due<Y > tre");
    EXPECT_THAT(undo_.Labels(), ElementsAre("Applica stile font: Grassetto "));
    SelectRange(0, 0, 0, 3);
    Text().ApplyColour(0x0000FF);
    Text().ApplyFontSize(14);
    EXPECT_EQ(Markup(), "<Z S0 ><Y cFF0000 s14 >uno<Y > <Y y1 >due<Y > tre");
    EXPECT_THAT(undo_.Labels(), ElementsAre("Applica dimensione font 14", "Applica colore Rosso",
                                            "Applica stile font: Grassetto "));
    UndoAll();
    EXPECT_EQ(Markup(), "<Z S0 >uno due tre");
}

TEST_F(Editing, DeletingTheFirstCharacterOfARunKeepsTheRestOfIt) {
    Open("<Z S0 >ab<Y c0000FF >cde<Y >f");
    SelectRange(0, 2, 0, 3);
    Text().DeleteSelection();
    EXPECT_EQ(Markup(), "<Z S0 >ab<Y c0000FF >de<Y >f");
    undo_.UndoOne();
    EXPECT_EQ(Markup(), "<Z S0 >ab<Y c0000FF >cde<Y >f");
    EXPECT_FALSE(Box().SelectionShown());
}

TEST_F(Editing, DeletingAcrossParagraphsKeepsRunsAndLinks) {
    Open("<Z S0 >uno <Y y2 >due<Z S1 >tre<Z S0 A1 >qu<$00000000>at<Y y1 >tro<%> cinque");
    const std::string before = Markup();
    SelectRange(0, 5, 2, 3);
    Text().DeleteSelection();
    // "t" is plain again after the bold-less run of the first paragraph
    EXPECT_EQ(Markup(), "<Z S0 >uno <Y y2 >d<Y ><$00000000>t<Y y1 >tro<%> cinque");
    undo_.UndoOne();
    EXPECT_EQ(Markup(), before);
    // restored text stays selected
    EXPECT_TRUE(Box().SelectionShown());
}

TEST_F(Editing, EnterInALinkContinuesTheFormatBeforeTheCaret) {
    Open("<Z S0 >vai <Y y1 >al<$00000000>sito<%> ora");
    Caret(0, 8);
    Text().InsertParagraphBreak();
    EXPECT_EQ(Markup(), "<Z S0 >vai <Y y1 >al<$00000000>si<%><Z S0 y1 ><$00000000>to<%> ora");
    EXPECT_EQ(Box().Caret().paraIndex, 1);
    EXPECT_THAT(undo_.Labels(), ElementsAre("Inserimento paragrafo"));
    undo_.UndoOne();
    EXPECT_EQ(Markup(), "<Z S0 >vai <Y y1 >al<$00000000>sito<%> ora");
    EXPECT_EQ(Box().ParagraphCount(), 1);
}

TEST_F(Editing, TypographicQuotesOpenAtTheStartAndAfterABlank) {
    Open("<Z S0 >", true);
    Type("\"a\" 'b'");
    EXPECT_EQ(Markup(),
              "<Z S0 >\x93"
              "a\x94 \x91"
              "b\x92");
    Open("<Z S0 >", false);
    Type("\"");
    EXPECT_EQ(Markup(), "<Z S0 >\"");
}

TEST_F(Editing, PendingFormatGoesToTheNextTypedCharacterOnly) {
    Open("<Z S0 >ab");
    Caret(0, 1);
    Text().ApplyFontStyle(kFontItalic);
    EXPECT_THAT(undo_.Labels(), IsEmpty());
    EXPECT_EQ(Text().CurrentStyleBits(), kFontItalic);
    Type("XY");
    EXPECT_EQ(Markup(), "<Z S0 >a<Y y2 >XY<Y >b");
    Caret(0, 0);
    EXPECT_FALSE(Text().HasPending());
}

TEST_F(Editing, LinksAppliedToASelectionJoinTheText) {
    Open("<Z S0 >uno due");
    TKYToggetto& web = Add(TOggettiHel::internetLink, "http://esempio.it/");
    SelectRange(0, 4, 0, 7);
    Text().ApplyLink(&web);
    EXPECT_EQ(Markup(), "<Z S0 >uno <$6f000000>due<%>");
    ASSERT_EQ(text_->links.size(), 1u);
    EXPECT_EQ(text_->links[0]->Name(), "http://esempio.it/");
    SelectRange(0, 0, 0, 0);
    Box().ClearSelection();
    Text().ApplyLink(&web);
    EXPECT_THAT(messages_.Shown(), ElementsAre(Message{Box::Error, "Selection must exists!"}));
    EXPECT_THAT(undo_.Labels(), ElementsAre("Inserisci collegamento "));
}

TEST_F(Editing, ParagraphOperationsAndTheirLabels) {
    Open("<Z S0 >uno<Z S0 >due");
    SelectRange(0, 1, 1, 1);
    Para().SetAlignment(2);
    Para().SetNumbering(6);
    Para().SetNumbering(6);  // not a second hanging indent
    Para().SetUnit(1);
    Para().SetLeftMargin(10);
    Para().SetLinkColour(0x808080);
    // style 0 shows its lengths in mm already: 10 mm are 38 pixels
    EXPECT_EQ(Markup(), "<Z S0 A2 N6 I-10 l38 C808080 >uno<Z S0 A2 N6 I-10 l38 C808080 >due");
    EXPECT_THAT(undo_.Labels(), ElementsAre("Colore link Grigio scuro", "Margine sx 10",
                                            "Numerazione 6", "Numerazione 6", "Centra"));
    Para().SetNumbering(0);
    EXPECT_EQ(Para().FirstIndent(), 0);
    UndoAll();
    EXPECT_EQ(Markup(), "<Z S0 >uno<Z S0 >due");
}

TEST_F(Editing, ApplyingTheCurrentStyleAgainRemovesCharacterFormats) {
    Open("<Z S0 c0000FF >uno <Y y1 >due");
    Caret(0, 2);
    Para().ApplyParagraphStyle(set_.Style0()->Name());
    EXPECT_EQ(Markup(), "<Z S0 >uno due");
    EXPECT_THAT(undo_.Labels(), ElementsAre("Stile " + set_.Style0()->Name()));
    undo_.UndoOne();
    EXPECT_EQ(Markup(), "<Z S0 c0000FF >uno <Y y1 >due");
}

TEST_F(Editing, ReplacingAcrossParagraphsIsRefused) {
    Open("<Z S0 >uno<Z S0 >due");
    SelectRange(0, 1, 1, 1);
    Text().ReplaceSelection("x");
    EXPECT_THAT(messages_.Shown(), ElementsAre(Message{Box::Information,
                                                       "Funzione non disponibile per parole non "
                                                       "comprese interamente in un paragrafo."}));
    EXPECT_EQ(Markup(), "<Z S0 >uno<Z S0 >due");
    SelectRange(1, 0, 1, 3);
    Text().ReplaceSelection("tre");
    EXPECT_EQ(Markup(), "<Z S0 >uno<Z S0 >tre");
    EXPECT_EQ(undo_.Labels().front(), "Sostituzione selezione con: tre");
}

TEST_F(Editing, ASelectionStreamPastesIntoAnotherPlaceWithItsLinks) {
    Open("<Z S0 >uno <$00000000>due<%> <Y y1 >tre<Z S1 >quattro");
    SelectRange(0, 4, 1, 3);
    MemoryStream stream;
    ASSERT_TRUE(Text().WriteSelection(stream, false));
    const std::string bytes = stream.Bytes();
    Caret(1, 7);
    ASSERT_TRUE(Text().InsertFromStream(bytes, kLabelPaste, false, false));
    EXPECT_EQ(Markup(),
              "<Z S0 >uno <$00000000>due<%> <Y y1 >tre<Z S1 >quattro<$00000000>due"
              "<%> <Y y1 >tre<Z S1 >qua");
    EXPECT_THAT(undo_.Labels(), ElementsAre("Inserimento da Cartella appunti"));
    undo_.UndoOne();
    EXPECT_EQ(Markup(), "<Z S0 >uno <$00000000>due<%> <Y y1 >tre<Z S1 >quattro");
}

TEST_F(Editing, AStreamThatCannotBeReadChangesNothing) {
    Open("<Z S0 >uno");
    SelectRange(0, 0, 0, 3);
    MemoryStream stream;
    ASSERT_TRUE(Text().WriteSelection(stream, false));
    std::string bytes = stream.Bytes();
    Caret(0, 3);
    // content code 2: nothing, no step, no message
    std::string other = bytes;
    other[0] = 2;
    EXPECT_FALSE(Text().InsertFromStream(other, kLabelPaste, false, false));
    EXPECT_THAT(messages_.Shown(), IsEmpty());
    // cut short, a count beyond the data, no terminator: refused with a message
    for (std::string bad : {bytes.substr(0, 10), bytes.substr(0, bytes.size() - 1),
                            std::string("\x01\0\0\0\xFF\xFF\xFF\x7F", 8)}) {
        messages_.Clear();
        EXPECT_FALSE(Text().InsertFromStream(bad, kLabelPaste, false, false));
        EXPECT_THAT(messages_.Shown(),
                    ElementsAre(Message{Box::Error, std::string(kStreamRefused)}));
    }
    EXPECT_EQ(Markup(), "<Z S0 >uno");
    EXPECT_THAT(undo_.Labels(), IsEmpty());
}

TEST_F(Editing, PastedTextBecomesParagraphsOfTheCaretsStyle) {
    Open("<Z S1 >inizio fine");
    Caret(0, 7);
    ASSERT_TRUE(Text().PasteText("a<b\r\nc&d\n", ""));
    EXPECT_EQ(Markup(), "<Z S1 >inizio a&lt;b<Z S1 >c&amp;d<Z S1 >fine");
    EXPECT_TRUE(Text().PasteRtf("{\\rtf1 x}") == false);
    undo_.UndoOne();
    EXPECT_EQ(Markup(), "<Z S1 >inizio fine");
}

// A pasted fragment whose last run is bold ends there: the text after the caret keeps its own
// format, whether the fragment comes from this box, from plain text or lands inside a run.
TEST_F(Editing, PastedTextEndingInBoldLeavesTheRestOfTheParagraphAsItWas) {
    struct Case {
        const char* page;
        int para, ch;
        const char* expected;
    };
    const Case cases[] = {
        {"<Z S0 >uno due tre", 0, 4, "<Z S0 >uno x<Y y1 >yz<Y >due tre"},
        {"<Z S0 >uno <Y c0000FF >due tre", 0, 8,
         "<Z S0 >uno <Y c0000FF >due <Y >x<Y y1 >yz<Y c0000FF >tre"},
        {"<Z S0 >uno<Z S0 >due", 1, 0, "<Z S0 >uno<Z S0 >x<Y y1 >yz<Y >due"},
    };
    for (const Case& c : cases) {
        Open("<Z S0 >x<Y y1 >yz");
        SelectRange(0, 0, 0, 3);
        MemoryStream stream;
        ASSERT_TRUE(Text().WriteSelection(stream, false));
        const std::string bytes = stream.Bytes();
        Open(c.page);
        undo_.Clear();
        const std::string before = Markup();
        Caret(c.para, c.ch);
        ASSERT_TRUE(Text().InsertFromStream(bytes, kLabelPaste, false, false));
        EXPECT_EQ(Markup(), c.expected) << c.page;
        // typing at the end of the pasted text continues the bold run
        Caret(c.para, c.ch + 3);
        Type("w");
        EXPECT_EQ(Box().Paragraph(c.para).FormatAt(c.ch + 3).styleBits, kFontBold) << c.page;
        UndoAll();
        EXPECT_EQ(Markup(), before);
    }
}

// A table cell is a box of its own: a paste of several paragraphs with formats and a link
// stays in the cell, the table arranges its cells for the new height, and undo takes it back.
TEST_F(Editing, PastingIntoATableCellKeepsFormatsAndLinksInTheCell) {
    struct Table final : ITableHost {
        int arranged = 0;
        void ArrangeCells() override { ++arranged; }
        void RelayoutTableParagraph() override {}
    } table;
    Open("<Z S0 >uno <$00000000>due<%><Z S0 ><Y y1 >tre");
    SelectRange(0, 4, 1, 3);
    MemoryStream stream;
    ASSERT_TRUE(Text().WriteSelection(stream, false));
    TKYTbox cell(*host_, boxHost_, &table);
    cell.LoadText(std::nullopt, std::string("<Z S1 >ab") + '\0', std::nullopt);
    EditContext context{set_, *text_, messages_};
    context.undo = &undo_;
    BoxEditing editing(cell, context, &controls_, page_->Identifier(), 0);
    editing.Text().SetCaretAt({0, 1});
    const std::int32_t height = cell.Paragraph(0).bottom;
    ASSERT_TRUE(editing.Text().InsertFromStream(stream.Bytes(), kLabelPaste, false, false));
    EXPECT_EQ(WriteText(cell.AllParagraphs(), *host_),
              std::string("<Z S1 >a<$00000000>due<%><Z S0 ><Y y1 >tre<Y >b") + '\0');
    EXPECT_GT(cell.Paragraph(1).bottom, height);
    EXPECT_GT(table.arranged, 0);
    // The page's own text did not change.
    EXPECT_EQ(Markup(), "<Z S0 >uno <$00000000>due<%><Z S0 ><Y y1 >tre");
    undo_.UndoOne();
    EXPECT_EQ(WriteText(cell.AllParagraphs(), *host_), std::string("<Z S1 >ab") + '\0');
}

// The hypertext owns its undo list. A save reads the file back and replaces every object, but
// the steps hold numbers and markup, so they still restore the page; a new document or a load
// empties the list and takes the depth from UndoDeep.
TEST_F(Editing, TheContainersListOutlivesASaveAndIsEmptiedByANewDocument) {
    EXPECT_EQ(&UndoListOf(set_), &undo_);
    EXPECT_EQ(set_.UndoHistory.get(), &undo_);
    Open("<Z S0 >uno");
    Caret(0, 3);
    Type("ab");
    // Undone, the burst's step is gone: typing on opens a step of its own, even after another
    // box of the page recorded one since.
    undo_.UndoOne();
    TKYTbox other(*host_, boxHost_);
    other.LoadText(std::nullopt, std::string("<Z S0 >x") + '\0', std::nullopt);
    EditContext context{set_, *text_, messages_};
    context.undo = &undo_;
    BoxEditing otherEditing(other, context, &controls_, page_->Identifier(), 0);
    otherEditing.Text().SetCaretAt({0, 1});
    otherEditing.Text().InsertChar('y');
    Box().ClearSelection();
    Type("c");
    EXPECT_EQ(undo_.Count(), 2u);
    // The page surface lets the paragraphs' styles go before the save and reads its text again
    // after it; the steps keep what they hold.
    const std::string path = (test::TestDir() / "saved.kyt").string();
    const std::string shown = WriteText(Box().AllParagraphs(), *host_);
    const std::string shownOther = WriteText(other.AllParagraphs(), *host_);
    ASSERT_TRUE(set_.SaveToFile(path));
    Box().LoadText(std::nullopt, shown, std::nullopt);
    other.LoadText(std::nullopt, shownOther, std::nullopt);
    EXPECT_EQ(undo_.Count(), 2u);
    undo_.UndoOne();
    EXPECT_EQ(Markup(), "<Z S0 >uno");
    undo_.UndoOne();
    EXPECT_EQ(WriteText(other.AllParagraphs(), *host_), std::string("<Z S0 >x") + '\0');
    Caret(0, 3);
    Type("d");
    EXPECT_TRUE(undo_.CanUndo());
    set_.UndoDeep = 5;
    ASSERT_TRUE(set_.LoadFromFile(path));
    EXPECT_FALSE(undo_.CanUndo());
    EXPECT_EQ(undo_.Depth(), 5);
    EXPECT_EQ(&UndoListOf(set_), &undo_);
}

TEST(UndoList, DepthKeepsTheNewestStepsAndTheDrownDownTakesAPrefix) {
    FixedEnvironment env;
    RecordingMessages messages;
    TKYTset set(env, messages);
    TKYTundoFrames frames;
    TKYTundoList list(set, frames, messages);
    list.SetDepth(3);
    for (int i = 0; i < 5; ++i)
        list.AddUndo(std::make_unique<TogBackup>("passo " + std::to_string(i), *set.Style0()));
    EXPECT_THAT(list.Labels(), ElementsAre("passo 4", "passo 3", "passo 2"));
    list.SetDepth(1);
    EXPECT_EQ(list.Count(), 3u);
    list.SetDepth(2);
    EXPECT_THAT(list.Labels(), ElementsAre("passo 4", "passo 3"));
    list.UndoFromList(2);
    EXPECT_FALSE(list.CanUndo());
    EXPECT_FALSE(list.CanRedo());
}

TEST_F(Editing, AStepWhosePageIsGoneShowsTheChainMessageAndIsDropped) {
    Open("<Z S0 >uno");
    Caret(0, 3);
    Type("x");
    frames_.SetFrame(0, page_->Identifier() + 1, &controls_);
    undo_.UndoOne();
    EXPECT_THAT(messages_.Shown(), ElementsAre(Message{Box::Error, "Error in undo list chain!"}));
    EXPECT_FALSE(undo_.CanUndo());
    Type("y");
    frames_.RemoveFrame(0);
    messages_.Clear();
    undo_.UndoOne();
    EXPECT_THAT(messages_.Shown(),
                ElementsAre(Message{Box::Error, "Errore nella catena undo list!"}));
    EXPECT_EQ(Markup(), "<Z S0 >unoxy");
}

}  // namespace
}  // namespace orvo::test
