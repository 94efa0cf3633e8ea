// The frame set: frame records and layout files byte for byte, refused layouts, splitting and
// deleting frames, frame maps stored with the page, links with the history, the routing of the
// clipboard commands to the box being edited, the temporary run-mode view.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/KytFixture.h"
#include "model/ObjectRecord.h"
#include "model/StyleRecord.h"
#include "model/uKYTpag.h"
#include "platform/FixedMetrics.h"
#include "platform/IClipboard.h"
#include "textbox/FramePages.h"
#include "textbox/FrameRecord.h"
#include "textbox/IBoxHost.h"
#include "textbox/TKYTpageHeadless.h"
#include "textbox/TKYTstyleView.h"
#include "textbox/uKYTCornice.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTboxInput.h"
#include "textbox/uKYTboxView.h"

namespace orvo {
namespace {

using ::testing::ElementsAre;

std::string Text(std::string_view markup) {
    return std::string(markup) + '\0';
}

std::string Le32(std::int32_t v) {
    std::string out;
    for (int i = 0; i < 4; ++i) out.push_back(char((std::uint32_t(v) >> (8 * i)) & 0xFF));
    return out;
}

// A new frame's record, written out by hand.
const std::string kDefaultRecord = std::string(
                                       "\xFF\xFF\xFF\xFF"  // id
                                       "\xFF\xFF\xFF\xFF"  // parent
                                       "\x00",
                                       9) +
                                   std::string(19, '\xFF') +  // empty name
                                   std::string(
                                       "\x00\x00\x00"      // placement, old border flags
                                       "\x01\x00\x01"      // scroll bars, children, resizable
                                       "\xFF\xFF\xFF\xFF"  // page
                                       "\x64\x00\x00\x00"  // 100 %
                                       "\xFF\xFF\xFF\xFF"  // reserved
                                       "\x0F\x00\x00\x80"  // button face
                                       "\xFF\x01"          // reserved, single border
                                       "\x14\x00\x00\x00"  // 20 pixels
                                       "\x03\x00",         // border width, percent
                                       30);

FrameRecord Record(std::int32_t id, std::int32_t parent, std::string_view name, int placement,
                   std::int32_t page, std::int32_t percent) {
    FrameRecord r;
    r.SetId(id);
    r.SetParent(parent);
    r.SetName(name);
    r.SetPlacement(std::uint8_t(placement));
    r.SetPage(page);
    r.SetPercent(percent);
    return r;
}

TEST(FrameRecords, NewRecordHasTheDefaultBytes) {
    EXPECT_EQ(FrameRecord().Bytes(), kDefaultRecord);
    ASSERT_EQ(kDefaultRecord.size(), kFrameRecordSize);
}

TEST(FrameRecords, ShortRecordsOfOlderDocumentsGetDefaults) {
    struct Case {
        char flagA, flagB;
        std::uint8_t border, width;
    };
    for (const Case c : {Case{1, 0, 1, 3}, Case{0, 1, 1, 3}, Case{0, 0, 0, 0}}) {
        std::string old = kDefaultRecord.substr(0, 40);
        old[29] = c.flagA;
        old[30] = c.flagB;
        old.replace(34, 4, Le32(7));        // page 7
        old.replace(38, 2, "\x21\x00", 2);  // 33 %, cut after two bytes
        FrameRecord r = FrameRecord::Read(old);
        EXPECT_EQ(r.Page(), 7);
        EXPECT_EQ(r.SizeKind(), FrameSizeKind::Percent);
        EXPECT_EQ(r.Pixels(), 20);
        EXPECT_EQ(r.SplitterColour(), std::int32_t(0x8000000F));
        EXPECT_EQ(r.Border(), c.border) << int(c.flagA) << int(c.flagB);
        EXPECT_EQ(r.BorderWidth(), c.width);
        EXPECT_EQ(r.OldBorderA(), 0);
        EXPECT_EQ(r.OldBorderB(), 0);
    }
}

// Top frame split in rows; its first child split in columns.
std::string NestedLayout() {
    FrameRecord top = Record(11, -1, "Pag0", 1, 0, 100);
    FrameRecord a = Record(12, 11, "Frame00000C", 0, -1, 40);
    FrameRecord a1 = Record(14, 12, "Sinistra", 1, 1, 30);
    a1.SetSizeKind(FrameSizeKind::Pixels);
    a1.SetPixels(120);
    FrameRecord a2 = Record(15, 12, "Destra \xE8", 5, 0, 70);
    FrameRecord b = Record(13, 11, "Sotto", 3, 2, 60);
    top.SetHasChildren(true);
    a.SetHasChildren(true);
    std::string bytes = Le32(4660) + Le32(58);
    for (const FrameRecord* r : {&top, &a, &a1, &a2, &b}) bytes += r->Bytes();
    bytes[8 + 58 * 2 + 42] = '\x5A';  // a reserved byte that must survive
    return bytes;
}

TEST(FrameLayoutFiles, ReadAndWrittenBackByteForByte) {
    const std::string file = NestedLayout();
    Result<FrameNode> tree = ReadFrameLayout(file);
    ASSERT_TRUE(tree.ok());
    ASSERT_EQ(tree->children.size(), 2u);
    EXPECT_EQ(tree->children[0].children[1].record.Name(), "Destra \xE8");
    EXPECT_EQ(tree->children[1].record.Page(), 2);
    EXPECT_EQ(WriteFrameLayout(*tree), file);
}

TEST(FrameLayoutFiles, MalformedFilesAreRefusedWhole) {
    const std::string good = NestedLayout();
    auto with = [&](std::size_t at, std::string_view bytes) {
        std::string s = good;
        s.replace(at, bytes.size(), bytes);
        return s;
    };
    const std::size_t second = 8 + 58, third = 8 + 58 * 2;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"wrong magic", with(0, Le32(4661))},
        {"record size 0", with(4, Le32(0))},
        {"record size -58", with(4, Le32(-58))},
        {"record size too large", with(4, Le32(1 << 20))},
        {"cut record", good.substr(0, good.size() - 1)},
        {"no records", good.substr(0, 8)},
        {"top frame with a parent", with(8 + 4, Le32(12))},
        {"parent that follows", with(second + 4, Le32(13))},
        {"own parent", with(second + 4, Le32(12))},
        {"same id twice", with(third, Le32(12))},
        {"percent above 100", with(third + 38, Le32(250))},
        {"negative pixels", with(third + 52, Le32(-5))},
        {"unknown size kind", with(third + 57, "\x07")},
    };
    for (const auto& [what, file] : cases) {
        Result<FrameNode> tree = ReadFrameLayout(file);
        ASSERT_FALSE(tree.ok()) << what;
        EXPECT_EQ(tree.failure().text, "Formato file errato!") << what;
    }
}

class FrameSet : public test::KytTest {
protected:
    TKYToggetto& cover_ = AddPage("Copertina", Text("<Z S0 >Vai alla <$00000001>seconda<%>."));
    TKYToggetto& second_ = AddPage("Seconda", Text("<Z S0 >Seconda pagina"));

    void SetUp() override {
        frames_.SetLinkedKYTset(&set_);
        frames_.SetClientSize(400, 300);
        frames_.SetMainPageNumber(0);
    }
    std::vector<std::int32_t> PagesShown() {
        std::vector<std::int32_t> pages;
        for (TKYTFrame* f : frames_.Leaves())
            pages.push_back(f->page->IsNewPage() ? -1 : f->page->PageIdentifier());
        return pages;
    }
    std::string TreeBytes() {
        return frames_.Top() ? WriteFrameRecords(frames_.TreeNode(true)) : "";
    }
    // Splits the top frame in rows and shows page 1 in the new upper frame.
    void SplitAndShowSecond() {
        ASSERT_TRUE(frames_.DragBar(*frames_.Top(), FrameBar::Top, 100));
        ASSERT_TRUE(frames_.ShowPageInFrame(*frames_.Leaves()[0], 1));
    }

    FixedMetrics metrics_;
    RecordingBoxHost boxHost_{400, 300};
    TKYTboxViewFactory views_{metrics_, boxHost_};
    RecordingUndoPurge undo_;
    ManualSpellPacer spell_;
    ManualScheduler scheduler_;
    SurfaceFramePageFactory pages_{views_, undo_, spell_, scheduler_};
    TKYTframeSet frames_{messages_, scheduler_, pages_};
};

TEST_F(FrameSet, ShowsAPageAloneInATopFrameWithBothBars) {
    TKYTFrame* top = frames_.Top();
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->Name(), "Pag0");
    EXPECT_EQ(top->barMode, 2);
    EXPECT_EQ(PagesShown(), std::vector<std::int32_t>{0});
    EXPECT_EQ(frames_.MainBox(), top->page->Box());
    EXPECT_FALSE(frames_.Split());
    std::string out;
    EXPECT_FALSE(frames_.SaveLayout(out));  // nothing to write for a page alone
    EXPECT_TRUE(out.empty());
}

TEST_F(FrameSet, ABarDraggedBeyondFourBarWidthsSplitsTheFrame) {
    TKYTFrame& top = *frames_.Top();
    EXPECT_FALSE(frames_.DragBar(top, FrameBar::Top, 40));  // exactly 4 × 10
    EXPECT_FALSE(top.IsSplit());
    ASSERT_TRUE(frames_.DragBar(top, FrameBar::Top, 41));
    ASSERT_EQ(top.children.size(), 2u);
    EXPECT_EQ(top.record.Placement(), 1);  // rows
    EXPECT_EQ(top.barMode, 0);
    EXPECT_EQ(top.children[0]->record.Placement(), 0);
    EXPECT_EQ(top.children[1]->record.Placement(), 3);
    EXPECT_EQ(top.children[0]->barMode, 1);
    EXPECT_EQ(top.children[0]->Name().substr(0, 5), "Frame");
    // the new frame shows a new page; the rest keeps the old one
    EXPECT_EQ(PagesShown(), (std::vector<std::int32_t>{-1, 0}));
    // 287 pixels shared below the bar: 41 is 14 %, 40 pixels; the splitter, then the rest
    EXPECT_EQ(top.children[0]->record.Percent(), 14);
    EXPECT_EQ(top.children[0]->bounds.top, 10);
    EXPECT_EQ(top.children[0]->bounds.bottom, 50);
    EXPECT_EQ(top.children[1]->bounds.top, 53);
    EXPECT_EQ(top.children[1]->bounds.bottom, 300);
    // the new frame is split side by side from its left bar
    TKYTFrame& upper = *top.children[0];
    ASSERT_TRUE(frames_.DragBar(upper, FrameBar::Left, 120));
    EXPECT_EQ(upper.barMode, 1);
    EXPECT_EQ(upper.children[0]->record.Placement(), 1);
    EXPECT_EQ(upper.children[1]->record.Placement(), 5);
    EXPECT_EQ(upper.children[1]->bounds.right, 400);
}

TEST_F(FrameSet, RefusedDeletionsKeepTheFrameAtSixtyPixels) {
    SplitAndShowSecond();
    TKYTFrame& top = *frames_.Top();
    TKYTFrame& upper = *top.children[0];
    TKYTFrame& lower = *top.children[1];
    ASSERT_TRUE(frames_.DragBar(upper, FrameBar::Left, 150));
    frames_.MoveSplitter(upper, 5);
    frames_.MoveSplitter(lower, 5);  // the last child: deleted as well when it shrinks
    EXPECT_THAT(messages_.Shown(),
                ElementsAre(Message{Box::Warning, std::string(kDeleteChildrenFirst)},
                            Message{Box::Warning, std::string(kDeleteOthersFirst)}));
    EXPECT_EQ(upper.record.Pixels(), 60);
    EXPECT_EQ(upper.bounds.Height(), 60);
    EXPECT_EQ(lower.bounds.Height(), 60);
    // deleting the new left half of the upper frame leaves it showing its own page again
    ASSERT_TRUE(frames_.DeleteFrame(*upper.children[0]));
    EXPECT_FALSE(upper.IsSplit());
    EXPECT_EQ(PagesShown(), (std::vector<std::int32_t>{1, 0}));
}

TEST_F(FrameSet, LayoutSavedToAFileLoadsIntoANewPage) {
    SplitAndShowSecond();
    std::string file;
    ASSERT_TRUE(frames_.SaveLayout(file));
    ASSERT_EQ(file.size(), 8 + 3 * 58u);
    EXPECT_EQ(file.substr(0, 8), Le32(4660) + Le32(58));
    const std::string shown = file;

    frames_.SetMainPageNumber(77);  // no such page: a new empty one is made
    const std::int32_t fresh = frames_.MainPageNumber();
    EXPECT_EQ(fresh, 2);
    ASSERT_TRUE(frames_.LoadLayout(file, false));
    EXPECT_EQ(frames_.Top()->Name(), "Pag2");
    EXPECT_EQ(PagesShown(), (std::vector<std::int32_t>{1, 0}));
    ASSERT_TRUE(frames_.SaveLayout(file));
    // the same tree: only the top frame's page differs
    EXPECT_EQ(file.substr(8 + 58), shown.substr(8 + 58));
    ASSERT_TRUE(frames_.LoadLayout(file, true));
    EXPECT_EQ(PagesShown(), (std::vector<std::int32_t>{-1, -1}));

    // a refused file leaves the tree as it was
    const std::string before = TreeBytes();
    EXPECT_FALSE(frames_.LoadLayout(Le32(1) + file.substr(4), false));
    EXPECT_EQ(messages_.Shown().back(), (Message{Box::Error, "Formato file errato!"}));
    EXPECT_EQ(TreeBytes(), before);
}

TEST_F(FrameSet, TheFrameMapIsStoredWithThePageAndReadBackByteForByte) {
    frames_.SaveOnExit = true;
    SplitAndShowSecond();
    const std::string tree = TreeBytes();
    frames_.SetMainPageNumber(1);  // leaving page 0 writes its map
    const std::int32_t mapId =
        PageRecord::Read(*set_.ObjectByKind(TOggettiHel::testoHtml, 0)).FrameMap();
    ASSERT_GE(mapId, 0);
    TKYToggetto* map = set_.ObjectByKind(TOggettiHel::mappaFrame, mapId);
    ASSERT_TRUE(map && map->Auxiliary());
    EXPECT_EQ(*map->Auxiliary(), tree);
    Result<TNonVisCornice> stored = TNonVisCornice::FromPage(set_, 0);
    ASSERT_TRUE(stored.ok());
    EXPECT_EQ(WriteFrameRecords(stored->Top()), tree);

    frames_.SetMainPageNumber(0);  // shown through its map again
    EXPECT_EQ(PagesShown(), (std::vector<std::int32_t>{1, 0}));
    EXPECT_EQ(WriteFrameRecords(frames_.TreeNode(true)), tree);
    frames_.SetMainPageNumber(1);  // unchanged: the map stays as it was
    EXPECT_EQ(*set_.ObjectByKind(TOggettiHel::mappaFrame, mapId)->Auxiliary(), tree);

    // a map without data shows the page alone with the message
    set_.ObjectByKind(TOggettiHel::mappaFrame, mapId)->SetAuxiliary(std::nullopt);
    frames_.SetMainPageNumber(0);
    EXPECT_EQ(messages_.Shown().back(), (Message{Box::Error, "Map problem."}));
    EXPECT_FALSE(frames_.Split());
}

TEST_F(FrameSet, LinksGoThroughTheHistory) {
    std::vector<std::int32_t> followed;
    frames_.OnDoLink = [&](const FrameLink& link) { followed.push_back(link.code); };
    frames_.RequestLink(MakeCode(TOggettiHel::testoHtml, 1), frames_.Top());
    EXPECT_EQ(frames_.MainPageNumber(), 0);  // posted: nothing yet
    scheduler_.RunPending();
    EXPECT_EQ(frames_.MainPageNumber(), 1);
    EXPECT_THAT(frames_.History(), ElementsAre(0));

    // a special link to page 0 is followed like any other page
    TKYToggetto& special = Add(TOggettiHel::speclink);
    special.View().SetU8(kRecSubtype, 1);
    special.View().SetI32(kSpecTarget, 0);
    frames_.RequestLink(special.Code(), frames_.Top());
    scheduler_.RunPending();
    EXPECT_EQ(frames_.MainPageNumber(), 0);
    EXPECT_THAT(frames_.History(), ElementsAre(0, 1));

    frames_.Back();
    EXPECT_EQ(frames_.MainPageNumber(), 1);
    EXPECT_THAT(frames_.History(), ElementsAre(0));  // going back adds nothing

    frames_.SetAutoJump(false);
    EXPECT_TRUE(frames_.History().empty());
    frames_.RequestLink(MakeCode(TOggettiHel::testoHtml, 0), frames_.Top());
    scheduler_.RunPending();
    EXPECT_EQ(frames_.MainPageNumber(), 1);  // only told
    EXPECT_EQ(followed.size(), 3u);
}

TEST_F(FrameSet, ClipboardCommandsGoToTheBoxBeingEdited) {
    SplitAndShowSecond();
    MemoryClipboard clipboard;
    IBoxInputHost host;
    TKYTundoFrames undoFrames;
    TKYTundoList undo{set_, undoFrames, messages_};
    struct Editing {
        std::unique_ptr<BoxEditing> editing;
        std::unique_ptr<TKYTboxInput> input;
    };
    auto editing = [&](TKYTFrame& frame) {
        auto& surface = static_cast<SurfaceFramePage&>(*frame.page).Surface();
        EditContext context{set_, *surface.WorkingText(), messages_};
        Editing e;
        e.editing = std::make_unique<BoxEditing>(*frame.page->Box(), context, nullptr, -1, 0);
        e.input = std::make_unique<TKYTboxInput>(*frame.page->Box(), scheduler_, host, clipboard,
                                                 *e.editing);
        return e;
    };
    Editing upper = editing(*frames_.Leaves()[0]);
    Editing lower = editing(*frames_.Leaves()[1]);
    EXPECT_FALSE(frames_.CutCurrent());  // no control being edited

    frames_.SetCurrentControl(upper.input.get());
    EXPECT_EQ(frames_.MainBox(), frames_.Leaves()[0]->page->Box());
    ASSERT_TRUE(frames_.SelectAllCurrent());
    ASSERT_TRUE(frames_.CutCurrent());
    frames_.SetCurrentControl(lower.input.get());
    lower.input->PlaceCaret(lower.input->TextEnd());
    ASSERT_TRUE(frames_.PasteCurrent());
    EXPECT_TRUE(frames_.Changed());

    ASSERT_TRUE(frames_.CommitPages());
    EXPECT_EQ(*second_.ContentBytes(), Text("<Z S0 >"));
    EXPECT_EQ(*set_.ObjectByKind(TOggettiHel::testoHtml, 0)->ContentBytes(),
              Text("<Z S0 >Vai alla <$00000001>seconda<%>.Seconda pagina"));
}

TEST_F(FrameSet, TheTemporaryViewComesBackToTheEditedPage) {
    frames_.SaveOnExit = true;
    frames_.ShowTemporary(true);
    EXPECT_TRUE(frames_.ReadOnly());
    EXPECT_TRUE(frames_.Top()->ReadOnly());
    EXPECT_FALSE(frames_.SaveOnExit);
    frames_.ShowTemporary(true);
    EXPECT_EQ(messages_.Shown().back().text, kTemporaryShown);
    frames_.ShowTemporary(false);
    EXPECT_FALSE(frames_.ReadOnly());
    EXPECT_TRUE(frames_.SaveOnExit);
    EXPECT_EQ(frames_.MainPageNumber(), 0);
    EXPECT_EQ(PagesShown(), std::vector<std::int32_t>{0});
}

TEST_F(FrameSet, StylePreviewShowsTheStyleOnItsSampleAndGivesItBack) {
    TKYTstyleView preview(env_, messages_, scheduler_, pages_);
    ASSERT_NE(preview.MainBox(), nullptr);
    EXPECT_TRUE(preview.ReadOnly());
    EXPECT_EQ(preview.MainBox()->AllParagraphs().size(), 3u);
    EXPECT_EQ(preview.MainBox()->AllParagraphs()[1]->text.substr(0, 9), "The quick");

    auto style = Make(TOggettiHel::stileParagrafo);
    StyleRecord(style->Record()).SetDefaults();
    StyleRecord(style->Record()).SetName("Titolo grande");
    StyleRecord(style->Record()).SetSize(24);
    int changes = 0;
    preview.OnStyleChange = [&] { ++changes; };
    preview.ShowStyle(*style);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(StyleRecord(preview.Style().Record()).Size(), 24);
    auto back = Make(TOggettiHel::stileParagrafo);
    preview.TakeStyle(*back);
    EXPECT_TRUE(std::equal(style->Record().begin(), style->Record().end(), back->Record().begin()));

    preview.NewStyle();
    const std::string name = StyleRecord(preview.Style().Record()).Name();
    ASSERT_EQ(name.substr(0, 12), "Nuovo stile ");
    EXPECT_LT(std::stoi(name.substr(12)), 10000);
    EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace orvo
