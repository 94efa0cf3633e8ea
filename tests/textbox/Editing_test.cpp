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
