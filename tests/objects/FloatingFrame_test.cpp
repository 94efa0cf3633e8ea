// A floating frame on a page: a read-only frame set that shows another page, drawn into the
// page that holds it, detached and reattached with that page around a save, and nested no
// deeper than kMaxFloatingDepth when a page shows itself.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "base/Format.h"
#include "base/Paths.h"
#include "model/FormFields.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/FloatingFrames.h"
#include "objects/FormBrowsing.h"
#include "objects/FormViews.h"
#include "objects/ObjectViews.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "platform/RecordingCanvas.h"
#include "support/TestSupport.h"
#include "textbox/IBoxHost.h"
#include "textbox/PageLinks.h"
#include "textbox/TKYTpageHeadless.h"
#include "textbox/uKYTCornice.h"
#include "textbox/uKYTbox.h"
#include "textbox/uKYTboxView.h"

namespace orvo {
namespace {

using K = TOggettiHel;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

std::string Code(std::int32_t code) {
    return "<$" + Hex8(std::uint32_t(code)) + ">";
}

class FloatingFrame : public ::testing::Test {
protected:
    void SetUp() override {
        MakeSampleHypertext(set_);
        shown_ = AddPage("<Z S0 >Lettera dal lago di Como");
    }

    // A page of `markup` (a closing 0x00 is added); its identifier.
    std::int32_t AddPage(const std::string& markup) {
        auto page = NewObjectOfKind(K::testoHtml, &set_);
        page->Clear();
        page->TakeIntoUse();
        page->SetContent(markup + '\0');
        return set_.Register(std::move(page));
    }
    // A floating frame of 300 x 80 pixels showing `page`; its code.
    std::int32_t AddFloating(std::int32_t page, bool autoJump = false) {
        auto object = NewObjectOfKind(K::inputStat, &set_);
        object->Clear();
        object->TakeIntoUse();
        RecordView r = object->View();
        r.SetU8(kRecSubtype, std::uint8_t(FormInputKind::Floating));
        r.SetI32(kFloatingPage, page);
        r.SetU8(kFloatingNested, 1);
        r.SetU8(kFloatingAutoJump, autoJump ? 1 : 0);
        r.SetU8(kFloatingPercent, 0);
        r.SetI16(kFloatingWidth, 300);
        r.SetI16(kFloatingHeight, 80);
        return MakeCode(K::inputStat, set_.Register(std::move(object)));
    }
    TKYTbox* Box() {
        auto* view = dynamic_cast<TKYTboxView*>(page_.View());
        return view ? &view->Box() : nullptr;
    }
    // Shows `page` and paints it whole: the views take their places.
    RecordingCanvas Show(std::int32_t page) {
        page_.SetReadOnly(true);
        EXPECT_NE(page_.ShowText(page), nullptr);
        return Paint();
    }
    RecordingCanvas Paint() {
        RecordingCanvas canvas(metrics_);
        TKYTbox* box = Box();
        EXPECT_NE(box, nullptr);
        if (!box) return canvas;
        objects_.SetBox(box);
        box->drawObjectsOnCanvas = true;
        box->Paint(canvas, {0, 0, 600, 400});
        return canvas;
    }
    std::vector<TMyyFloating*> Floatings() {
        std::vector<TMyyFloating*> out;
        for (TMyyVisual* view : objects_.Views())
            if (auto* floating = dynamic_cast<TMyyFloating*>(view)) out.push_back(floating);
        return out;
    }
    // The box of the first frame of a floating frame's frame set, or nullptr.
    static TKYTbox* NestedBox(const TMyyFloating& floating) {
        if (!floating.Frames() || floating.Frames()->Leaves().empty()) return nullptr;
        return floating.Frames()->Leaves().front()->page->Box();
    }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    ManualScheduler scheduler_;
    TKYTset set_{environment_, messages_};
    FixedMetrics metrics_;
    RecordingBoxHost host_{600, 400};
    ObjectViewHost objects_{host_, set_, messages_, scheduler_};
    TKYTboxViewFactory views_{metrics_, objects_};
    HeadlessFrameSet frameSet_;
    RecordingUndoPurge undo_;
    ManualSpellPacer spell_;
    TKYTpage page_{set_, frameSet_, views_, undo_, spell_, scheduler_};
    std::int32_t shown_ = -1;
};

TEST_F(FloatingFrame, PaintsTheWordsOfItsPageInsideItsBounds) {
    const std::int32_t holder =
        AddPage("<Z S0 >Sopra la cornice<Z S0 >" + Code(AddFloating(shown_)) + "<Z S0 >Sotto");
    objects_.SetPage(&page_);
    const RecordingCanvas canvas = Show(holder);
    ASSERT_EQ(Floatings().size(), 1u);
    const TMyyFloating& floating = *Floatings().front();
    ASSERT_NE(floating.Frames(), nullptr);
    EXPECT_EQ(floating.Frames()->FloatingPage(), &page_);
    EXPECT_EQ(page_.FloatingFrameSets(), std::vector{floating.Frames()});
    EXPECT_TRUE(floating.Frames()->ReadOnly());
    EXPECT_FALSE(floating.Frames()->SaveOnExit);
    EXPECT_EQ(floating.Frames()->MainPageNumber(), shown_);

    // The shown page's words, drawn within the frame, under the words above it.
    const Rect bounds = floating.Bounds();
    EXPECT_EQ(bounds.Width(), 300);
    EXPECT_EQ(bounds.Height(), 80);
    bool inside = false;
    std::int32_t aboveBottom = 0;
    for (const CanvasOp& op : canvas.OpsOf(CanvasOpKind::Text)) {
        if (op.text.find("Sopra") != std::string::npos) aboveBottom = op.area.bottom;
        if (op.text.find("Lettera dal lago") != std::string::npos)
            inside = op.area.left >= bounds.left && op.area.top >= bounds.top &&
                     op.area.top < bounds.bottom && op.clip && op.clip->right <= bounds.right;
    }
    EXPECT_TRUE(inside) << canvas.AllText();
    EXPECT_GE(bounds.top, aboveBottom);
    EXPECT_THAT(messages_.Shown(), IsEmpty());
}

// The nested page's box reads the hypertext's styles: across a save, which replaces every
// object, it must be let go with the page that holds it and made again afterwards (ASan
// reports a box that kept the old styles).
TEST_F(FloatingFrame, IsDetachedAndReattachedWithItsPageAroundSaves) {
    const std::int32_t holder = AddPage("<Z S0 >" + Code(AddFloating(shown_)) + "<Z S0 >Sotto");
    objects_.SetPage(&page_);
    Show(holder);
    ASSERT_EQ(Floatings().size(), 1u);
    TMyyFloating* floating = Floatings().front();
    ASSERT_NE(NestedBox(*floating), nullptr);
    int detached = 0;
    set_.OnBeforeNew = [&] {
        page_.DetachView();
        objects_.SetBox(nullptr);
        if (NestedBox(*floating) == nullptr) ++detached;
    };
    set_.OnAfterNew = [&] { page_.ReattachView(); };
    const std::string path = NameOfPath(test::TestDir() / "floating.kyt");
    for (int round = 1; round <= 2; ++round) {
        ASSERT_TRUE(set_.SaveToFile(path));
        EXPECT_EQ(detached, round);
        const RecordingCanvas canvas = Paint();
        EXPECT_THAT(canvas.AllText(), HasSubstr("Lettera dal lago")) << "round " << round;
        ASSERT_EQ(Floatings().size(), 1u);
        EXPECT_EQ(Floatings().front(), floating);
        ASSERT_NE(NestedBox(*floating), nullptr);
        const auto& paragraphs = NestedBox(*floating)->AllParagraphs();  // the header's first
        EXPECT_TRUE(std::any_of(paragraphs.begin(), paragraphs.end(), [](const auto& p) {
            return p->text == "Lettera dal lago di Como";
        }));
    }
    set_.OnBeforeNew = nullptr;
    set_.OnAfterNew = nullptr;
    EXPECT_THAT(messages_.Shown(), IsEmpty());
}

TEST_F(FloatingFrame, APageShowingItselfNestsOnlySoDeepAndAMissingPageIsNotMade) {
    // The page's identifier is the next one: its floating frame shows the page itself.
    const std::int32_t self = set_.KindCount(K::testoHtml);
    const std::int32_t missing = 30000;
    const std::int32_t holder = AddPage("<Z S0 >Io<Z S0 >" + Code(AddFloating(self)) + "<Z S0 >" +
                                        Code(AddFloating(missing)));
    ASSERT_EQ(holder, self);
    objects_.SetPage(&page_);
    const std::int32_t pages = set_.KindCount(K::testoHtml);
    const RecordingCanvas canvas = Show(holder);
    const std::vector<std::string> texts = canvas.Texts();
    // The page itself, then its copy in each of the nested frames.
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Io"), 1 + kMaxFloatingDepth);
    EXPECT_EQ(set_.KindCount(K::testoHtml), pages);
    const auto floatings = Floatings();
    ASSERT_EQ(floatings.size(), 2u);
    const bool oneEmpty = std::any_of(floatings.begin(), floatings.end(), [](TMyyFloating* f) {
        return f->Frames() && f->Frames()->Top() == nullptr;
    });
    EXPECT_TRUE(oneEmpty);
    EXPECT_EQ(page_.FloatingFrameSets().size(), 2u);

    // The page goes before the views that sit on it: their frame sets let go of it.
    TKYTCustomFrameSet* frames = floatings.front()->Frames();
    page_.CloseText();
    {
        TKYTpage other(set_, frameSet_, views_, undo_, spell_, scheduler_);
        other.AddFloatingFrameSet(*frames);
        EXPECT_EQ(frames->FloatingPage(), &other);
        EXPECT_EQ(page_.FloatingFrameSets().size(), 1u);
    }
    EXPECT_EQ(frames->FloatingPage(), nullptr);
    objects_.Clear();
    EXPECT_THAT(page_.FloatingFrameSets(), IsEmpty());
    EXPECT_THAT(messages_.Shown(), IsEmpty());
}

// A click on a link in the frame of a browsed page: followed inside the frame when it jumps by
// itself, otherwise asked of the page that holds the frame.
TEST_F(FloatingFrame, AClickOnALinkIsFollowedInsideTheFrameOrByThePageThatHoldsIt) {
    const std::int32_t far = AddPage("<Z S0 >Sponda opposta");
    const std::int32_t farCode = MakeCode(K::testoHtml, far);
    const std::int32_t near =
        AddPage("<Z S0 >Vai alla <$" + Hex8(std::uint32_t(farCode)) + ">sponda<%> ora");
    objects_.SetPage(&page_);
    for (const bool autoJump : {false, true}) {
        SCOPED_TRACE(autoJump ? "jumps by itself" : "asks the page");
        page_.CloseText();
        objects_.Clear();
        const std::int32_t holder =
            AddPage("<Z S0 >" + Code(AddFloating(near, autoJump)) + "<Z S0 >Sotto");
        Show(holder);
        ASSERT_EQ(Floatings().size(), 1u);
        TMyyFloating& floating = *Floatings().front();
        TKYTbox* nested = NestedBox(floating);
        ASSERT_NE(nested, nullptr);
        // The point of the link's first character, in the holding page's box.
        std::optional<Point> at;
        for (std::int32_t y = 0; y < 80 && !at; ++y)
            for (std::int32_t x = 0; x < 300 && !at; ++x)
                if (LinkCodeAt(*nested, x, y) == farCode) at = Point{x, y};
        ASSERT_TRUE(at);
        const Rect area = floating.Frames()->Leaves().front()->ContentRect();
        const Point p{floating.Bounds().left + area.left + at->x,
                      floating.Bounds().top + area.top + at->y};
        FormBrowsing forms;
        EXPECT_EQ(forms.Click(*Box(), objects_,
                              {floating.Bounds().left + 1, floating.Bounds().bottom - 2}),
                  FormClick::None);  // below the text: no link
        const FormClick click = forms.Click(*Box(), objects_, p);
        scheduler_.RunPending();
        if (autoJump) {
            EXPECT_EQ(click, FormClick::Frame);
            EXPECT_THAT(objects_.RequestedLinks(), IsEmpty());
            EXPECT_EQ(floating.Frames()->MainPageNumber(), far);
            EXPECT_THAT(Paint().AllText(), HasSubstr("Sponda opposta"));
        } else {
            EXPECT_EQ(click, FormClick::Link);
            ASSERT_EQ(objects_.RequestedLinks().size(), 1u);
            EXPECT_EQ(objects_.RequestedLinks().front()->Code(), farCode);
            EXPECT_EQ(floating.Frames()->MainPageNumber(), near);
        }
    }
    EXPECT_THAT(messages_.Shown(), IsEmpty());
}

}  // namespace
}  // namespace orvo
