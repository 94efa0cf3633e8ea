// The frame set widget on the sample hypertext: the top bar dragged into the page splits it,
// another page goes into the new frame, the layout is saved to a ".frm" file and loaded into a
// new page; the page widgets sit where the frame set placed them.
#include <stdlib.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include <fstream>
#include <iterator>

#include "MainWindowSupport.h"
#include "model/SampleHypertext.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "support/TestSupport.h"
#include "textbox/FrameRecord.h"
#include "textbox/uKYTCornice.h"
#include "ui/QtConvert.h"
#include "ui/textbox/FrameSetWidget.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo::test {
namespace {

void Mouse(QWidget& widget, QEvent::Type type, QPoint at) {
    QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

void DragMouse(QWidget& widget, QPoint from, QPoint to) {
    Mouse(widget, QEvent::MouseButtonPress, from);
    Mouse(widget, QEvent::MouseMove, to);
    Mouse(widget, QEvent::MouseButtonRelease, to);
}

// The page "Che cos'è un ipertesto" of the sample.
constexpr int kTextPage = 3;

// The application exists before the fixture's widget.
struct Application {
    Application() { EnsureApplication(); }
};

class FrameSetWidgetTest : public ::testing::Test, private Application {
protected:
    void SetUp() override {
        MakeSampleHypertext(set_);
        widget_.resize(640, 480);
        widget_.show();
        frames_.SetMainPageNumber(0);
        QApplication::processEvents();
    }
    std::vector<std::int32_t> PagesShown() {
        std::vector<std::int32_t> pages;
        for (TKYTFrame* f : frames_.Leaves()) pages.push_back(widget_.ViewOf(*f)->PageShown());
        return pages;
    }
    void Grab(const char* name) {
        // Set by hand to look at the widget (under Xvfb: QT_QPA_PLATFORM=xcb).
        if (const char* folder = ::getenv("ORVO_FRAMES_GRAB"))
            widget_.grab().save(QString::fromUtf8(folder) + "/" + name + ".png");
    }

    FixedEnvironment env_;
    RecordingMessages messages_;
    TKYTset set_{env_, messages_};
    ManualScheduler scheduler_;
    FrameSetWidget widget_{set_, messages_, scheduler_};
    TKYTframeSet& frames_ = widget_.FrameSet();
};

TEST_F(FrameSetWidgetTest, SplitShowSaveAndLoadIntoANewPage) {
    ASSERT_THAT(PagesShown(), ::testing::ElementsAre(0));
    PageViewWidget* cover = widget_.ViewOf(*frames_.Top());
    EXPECT_EQ(cover->geometry(), QRect(10, 10, 630, 470));  // inside the top and left bars

    DragMouse(widget_, {300, 5}, {300, 40});  // 40 pixels below the bar's top: too short
    EXPECT_FALSE(frames_.Split());
    DragMouse(widget_, {300, 5}, {300, 180});
    ASSERT_TRUE(frames_.Split());
    ASSERT_EQ(frames_.Leaves().size(), 2u);
    // the lower frame took over the cover's widget; the upper one is new and empty
    EXPECT_EQ(widget_.ViewOf(*frames_.Leaves()[1]), cover);
    EXPECT_THAT(PagesShown(), ::testing::ElementsAre(-1, 0));
    for (TKYTFrame* f : frames_.Leaves())
        EXPECT_EQ(widget_.ViewOf(*f)->geometry(), ToQRect(f->ContentRect()));

    TKYTFrame& upper = *frames_.Leaves()[0];
    ASSERT_TRUE(frames_.ShowPageInFrame(upper, kTextPage));
    EXPECT_THAT(PagesShown(), ::testing::ElementsAre(kTextPage, 0));
    QApplication::processEvents();
    Grab("frames-split");

    const std::string file = (TestDir() / "due cornici.frm").string();
    ASSERT_TRUE(widget_.SaveLayoutTo(file));
    std::ifstream in(file, std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    Result<FrameNode> tree = ReadFrameLayout(bytes);
    ASSERT_TRUE(tree.ok());
    ASSERT_EQ(tree->children.size(), 2u);
    EXPECT_EQ(tree->children[0].record.Page(), kTextPage);
    EXPECT_EQ(tree->children[1].record.Page(), 0);

    frames_.SetMainPageNumber(100000);  // a new page
    const std::int32_t fresh = frames_.MainPageNumber();
    EXPECT_FALSE(frames_.Split());
    ASSERT_TRUE(widget_.LoadLayoutFrom(file, false));
    EXPECT_EQ(frames_.Top()->Name(), "Pag" + std::to_string(fresh));
    EXPECT_THAT(PagesShown(), ::testing::ElementsAre(kTextPage, 0));
    QApplication::processEvents();
    Grab("frames-loaded");

    // dragging the splitter up to less than a bar deletes the upper frame
    TKYTFrame& top = *frames_.Leaves()[0];
    const int splitterY = top.bounds.bottom + 1;
    DragMouse(widget_, {300, splitterY}, {300, top.bounds.top + 4});
    EXPECT_FALSE(frames_.Split());
    EXPECT_THAT(PagesShown(), ::testing::ElementsAre(0));
}

}  // namespace
}  // namespace orvo::test
