// The page properties: the record fields stored by Ok with their limits, read back from a saved
// file; the head code kept untouched unless changed; the header and footer choices; the modes;
// the frame's properties stored only from its tab, with the parent's first child taking the rest.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/PageProperties.h"
#include "base/Paths.h"
#include "model/HeaderRecord.h"
#include "model/KytFixture.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/FixedMetrics.h"
#include "platform/IScheduler.h"
#include "textbox/FramePages.h"
#include "textbox/IBoxHost.h"
#include "textbox/TKYTpageHeadless.h"
#include "textbox/uKYTCornice.h"
#include "textbox/uKYTboxView.h"

namespace orvo::test {
namespace {

using K = TOggettiHel;

class PageProps : public KytTest {
protected:
    TKYToggetto& cover_ = AddPage("Copertina", "<Z S0 >Prima");
    TKYToggetto& second_ = AddPage("Seconda", "<Z S0 >Seconda");
    TKYToggetto& third_ = AddPage("Terza", "<Z S0 >Terza");

    std::unique_ptr<TKYToggetto> Picture(std::string_view name) {
        auto picture = Make(K::immagine);
        picture->TakeIntoUse();
        picture->SetName(name);
        picture->SetContent("GIF89a");
        return picture;
    }
    // The page as a saved file holds it.
    TKYToggetto& Saved(std::int32_t page) {
        const std::string path = NameOfPath(TestDir() / "Pagine.kyt");
        EXPECT_TRUE(set_.SaveToFile(path));
        return *set_.ObjectByKind(K::testoHtml, page);
    }
};

TEST_F(PageProps, OkStoresTheRecordWithItsLimits) {
    PageProperties p(set_, second_, nullptr, env_, messages_);
    EXPECT_FALSE(p.FrameTabShown());
    EXPECT_EQ(p.title, "Seconda");
    p.title = std::string(80, 'T');
    p.alias = "   ";
    p.backgroundColour = std::int32_t(0x80123456);  // the top byte goes
    p.textColour = 0x0000FF;
    p.linkColour = 0x00FF00;
    p.visitedColour = 0xFF0000;
    p.fixedBackground = true;
    p.inSequence = true;
    p.group = " 7 ";
    p.order = "x3";  // unreadable: the record keeps -1
    p.ChooseBackgroundPicture(Picture("sfondo"));
    int reshows = 0, changes = 0, refreshes = 0;
    PagePropertiesHost host{[&] { ++reshows; }, [&] { ++refreshes; }, [&] { ++changes; }};
    p.Apply(host);
    EXPECT_EQ(reshows, 0);  // header and footer unchanged
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(refreshes, 1);

    EXPECT_EQ(set_.ObjectByKind(K::immagine, 0)->Name(), "sfondo");  // registered by Ok
    const PageRecord r = PageRecord::Read(Saved(1));
    EXPECT_EQ(r.Title(), std::string(71, 'T'));
    EXPECT_EQ(r.Alias(), "");
    EXPECT_EQ(r.BackgroundColour(), 0x123456);
    EXPECT_EQ(r.TextColour(), 0x0000FF);
    EXPECT_EQ(r.LinkColour(), 0x00FF00);
    EXPECT_EQ(r.VisitedColour(), 0xFF0000);
    EXPECT_TRUE(r.FixedBackground());
    EXPECT_TRUE(r.InSequence());
    EXPECT_EQ(r.Group(), 7);
    EXPECT_EQ(r.Order(), -1);
    EXPECT_EQ(r.BackgroundPicture(), 0);
    EXPECT_FALSE(set_.ObjectByKind(K::testoHtml, 1)->Auxiliary());  // no head code written

    // Unticked, the picture goes from the page; the alias is cut to 40.
    PageProperties again(set_, *set_.ObjectByKind(K::testoHtml, 1), nullptr, env_, messages_);
    EXPECT_TRUE(again.useBackgroundPicture);
    EXPECT_EQ(again.BackgroundPicture(), set_.ObjectByKind(K::immagine, 0));
    again.useBackgroundPicture = false;
    again.alias = std::string(45, 'a');
    again.Apply({});
    const PageRecord r2 = PageRecord::Read(Saved(1));
    EXPECT_EQ(r2.BackgroundPicture(), -1);
    EXPECT_EQ(r2.Alias(), std::string(40, 'a'));
}

TEST_F(PageProps, HeaderFooterChoicesAndGlobalButtons) {
    RecordView h = set_.HeaderRecordView();
    h.SetI32(kHdrTextColour, 0x111111);
    h.SetI32(kHdrLinkColour, 0x222222);
    h.SetI32(kHdrVisitedColour, 0x333333);
    h.SetI32(kHdrBackColour, 0x444444);
    struct Case {
        HeaderChoice header;
        std::int32_t headerPage;
        HeaderChoice footer;
        std::int32_t footerPage;
        std::int32_t headerField, footerField;
        int reshows;
    };
    const Case cases[] = {
        {HeaderChoice::Global, -1, HeaderChoice::Global, -1, -1, -1, 0},
        {HeaderChoice::None, -1, HeaderChoice::Here, 2, -2, 2, 1},
        {HeaderChoice::Here, -1, HeaderChoice::Global, -1, -1, -1, 1},  // "definita qui" alone
    };
    for (const Case& c : cases) {
        PageProperties p(set_, cover_, nullptr, env_, messages_);
        p.headerChoice = c.header;
        p.headerPage = c.headerPage;
        p.footerChoice = c.footer;
        p.footerPage = c.footerPage;
        p.GlobalColours();
        p.GlobalBackground();
        int reshows = 0;
        p.Apply({[&] { ++reshows; }, {}, {}});
        const PageRecord r = PageRecord::Read(cover_);
        EXPECT_EQ(r.Header(), c.headerField);
        EXPECT_EQ(r.Footer(), c.footerField);
        EXPECT_EQ(reshows, c.reshows);
        EXPECT_EQ(r.TextColour(), 0x111111);
        EXPECT_EQ(r.VisitedColour(), 0x333333);
        EXPECT_EQ(r.BackgroundColour(), 0x444444);
        EXPECT_EQ(r.BackgroundPicture(), -1);
    }
    // Read back as choices.
    PageRecord(cover_).SetHeader(2);
    PageProperties p(set_, cover_, nullptr, env_, messages_);
    EXPECT_EQ(p.headerChoice, HeaderChoice::Here);
    EXPECT_EQ(p.headerPage, 2);
}

TEST_F(PageProps, ModesAndTabs) {
    EXPECT_EQ(PagePropertiesMode(0), 0);
    EXPECT_EQ(PagePropertiesMode(1), 1);
    EXPECT_EQ(PagePropertiesMode(2), 3);
    EXPECT_EQ(PagePropertiesMode(3), 2);
    EXPECT_EQ(PagePropertiesMode(4), 4);
    EXPECT_TRUE(PagePropertiesClosesAtOnce(2));
    EXPECT_TRUE(PagePropertiesClosesAtOnce(4));
    EXPECT_FALSE(PagePropertiesClosesAtOnce(3));
    EXPECT_EQ(PagePropertiesStartTab(0, true), PagePropertiesTab::Script);
    EXPECT_EQ(PagePropertiesStartTab(1, true), PagePropertiesTab::Frame);
    EXPECT_EQ(PagePropertiesStartTab(1, false), PagePropertiesTab::Text);
    EXPECT_EQ(PagePropertiesStartTab(3, true), PagePropertiesTab::Text);
}

TEST_F(PageProps, HeadCodeIsWrittenOnlyWhenChangedAndExportedAsText) {
    auto picture = Picture("logo");
    set_.Register(std::move(picture));
    second_.SetAuxiliary(std::string("\x04\x00\x00\x00hdr!<meta a=1>", 18));
    {
        PageProperties p(set_, second_, nullptr, env_, messages_);
        EXPECT_EQ(p.Code().Caption, kHeadCodeCaption);
        p.Apply({});
        EXPECT_EQ(*second_.Auxiliary(), std::string("\x04\x00\x00\x00hdr!<meta a=1>", 18));
    }
    PageProperties p(set_, second_, nullptr, env_, messages_);
    p.Code().OnGetRif = [](CodeReference, std::int32_t) { return std::optional(0x05000000); };
    ASSERT_TRUE(p.Code().InsertReference(CodeReference::Picture));
    p.Apply({});
    const std::string aux = *Saved(1).Auxiliary();
    EXPECT_EQ(aux.substr(0, 8), std::string("\x04\x00\x00\x00hdr!", 8));
    EXPECT_EQ(aux.substr(8), "<meta a=1>!RefI:05000000");
}

class PagePropsFrames : public PageProps {
protected:
    void SetUp() override {
        frames_.SetLinkedKYTset(&set_);
        frames_.SetClientSize(400, 300);
        frames_.SetMainPageNumber(0);
        // Two frames side by side: the new left one, then the rest showing page 0.
        ASSERT_TRUE(frames_.DragBar(*frames_.Top(), FrameBar::Left, 120));
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

TEST_F(PagePropsFrames, FrameStoredOnlyFromItsTabAndTheFirstChildTakesTheRest) {
    // The top frame has no frame tab; Ok stores no frame field.
    {
        TKYTframeSet alone{messages_, scheduler_, pages_};
        alone.SetLinkedKYTset(&set_);
        alone.SetMainPageNumber(0);
        PageProperties p(set_, cover_, alone.Top(), env_, messages_);
        EXPECT_FALSE(p.FrameTabShown());
        EXPECT_FALSE(p.ResizableEnabled());
    }
    TKYTFrame& left = *frames_.Leaves()[0];
    TKYTFrame& right = *frames_.Leaves()[1];
    const std::string before(left.record.Bytes());
    PageProperties p(set_, second_, &left, env_, messages_);
    ASSERT_TRUE(p.FrameTabShown());
    EXPECT_EQ(p.framePage, FramePageChoice::Existing);
    EXPECT_EQ(p.existingPage, 1);
    p.frameName = "un nome di cornice troppo lungo";
    p.Apply({});  // the tab was not visited
    EXPECT_EQ(std::string(left.record.Bytes()), before);

    right.record.SetSizeKind(FrameSizeKind::Pixels);
    left.record.SetSizeKind(FrameSizeKind::Pixels);
    PageProperties q(set_, *set_.ObjectByKind(K::testoHtml, 0), &right, env_, messages_);
    EXPECT_EQ(q.framePage, FramePageChoice::Master);
    q.frameTabVisited = true;
    q.frameName = "un nome di cornice troppo lungo";
    q.sizeKind = 1;
    q.sizeValue = 20000;
    q.parentBorderWidth = 300;
    q.border = false;
    q.framePage = FramePageChoice::Existing;
    q.existingPage = 2;
    q.Apply({});
    EXPECT_EQ(right.record.Name(), "un nome di cornice ");
    EXPECT_EQ(right.record.Pixels(), kFrameMaxPixels);
    EXPECT_EQ(right.record.SizeKind(), FrameSizeKind::Pixels);
    EXPECT_EQ(right.record.Border(), 0);
    EXPECT_EQ(right.parent->record.BorderWidth(), 255);
    EXPECT_EQ(left.record.SizeKind(), FrameSizeKind::Rest);  // the first child takes the rest
    EXPECT_EQ(right.page->PageIdentifier(), 2);

    // "nuova" on a frame already showing a new page shows no other page.
    PageProperties r(set_, third_, &right, env_, messages_);
    r.frameTabVisited = true;
    r.framePage = FramePageChoice::New;
    r.Apply({});
    ASSERT_TRUE(right.page->IsNewPage());
    IFramePage* shown = right.page.get();
    PageProperties s(set_, second_, &right, env_, messages_);
    EXPECT_EQ(s.framePage, FramePageChoice::New);
    s.frameTabVisited = true;
    s.Apply({});
    EXPECT_EQ(right.page.get(), shown);
    EXPECT_TRUE(right.page->IsNewPage());
}

}  // namespace
}  // namespace orvo::test
