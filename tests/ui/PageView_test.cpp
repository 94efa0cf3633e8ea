// A page shown as a picture and in the read-only page widget, and orvo-cli render, offscreen,
// on the sample hypertext.
#include <stdlib.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QScrollBar>

#include "base/Cp1252.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "support/ProgramRun.h"
#include "support/TestSupport.h"
#include "textbox/uKYTbox.h"
#include "ui/render/PageRender.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo::test {
namespace {

void EnsureApplication() {
    if (QCoreApplication::instance()) return;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "orvo_ui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}

// The sample's page "Che cos'è un ipertesto" has the header and footer pages.
constexpr int kTextPage = 3;

class SamplePages : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        MakeSampleHypertext(set_);
    }
    std::int32_t PageColour(int page) {
        return PageRecord(*set_.ObjectByKind(TOggettiHel::testoHtml, page)).BackgroundColour();
    }
    static int CountPixels(const QImage& image, const QRect& area,
                           const std::function<bool(QRgb)>& test) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) n += test(image.pixel(x, y));
        return n;
    }
    static bool Bluish(QRgb p) { return qBlue(p) > 150 && qRed(p) < 110 && qGreen(p) < 110; }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    TKYTset set_{environment_, messages_};
};

TEST_F(SamplePages, APagePictureShowsHeaderTextLinksAndFooterOnThePageColour) {
    const std::filesystem::path png = TestDir() / "pagina perch\xC3\xA9.png";
    const Status rendered = RenderPageToPng(set_, kTextPage, png);
    ASSERT_TRUE(rendered.ok()) << rendered.failure().text;
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(png.string())));
    EXPECT_EQ(image.width(), 800);
    EXPECT_GE(image.height(), 600);
    const std::int32_t colour = PageColour(kTextPage);
    const QRgb background = qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    EXPECT_EQ(image.pixel(799, image.height() - 1), background);
    const auto ink = [&](QRgb p) { return p != background; };
    // The centred header line, and nothing in the left margin.
    EXPECT_GT(CountPixels(image, QRect(300, 8, 200, 16), ink), 20);
    EXPECT_EQ(CountPixels(image, QRect(0, 0, 8, 600), ink), 0);
    // The links are drawn in the link colour (blue).
    EXPECT_GT(CountPixels(image, QRect(0, 0, 800, 300), Bluish), 20);
    // Below the text the page is empty.
    EXPECT_EQ(CountPixels(image, QRect(0, 400, 800, 200), ink), 0);
}

TEST_F(SamplePages, APageThatDoesNotExistIsNotRendered) {
    const Status rendered = RenderPageToPng(set_, 999, TestDir() / "none.png");
    ASSERT_FALSE(rendered.ok());
    EXPECT_EQ(rendered.failure().text, "the hypertext has no page 999");
    EXPECT_FALSE(std::filesystem::exists(TestDir() / "none.png"));
}

TEST_F(SamplePages, TheWidgetLaysThePageOutAtItsViewportWidth) {
    PageViewWidget widget(set_);
    widget.resize(640, 400);
    widget.show();
    ASSERT_TRUE(widget.ShowPage(kTextPage));
    TKYTbox* box = widget.Box();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->LayoutWidth(), widget.viewport()->width());
    EXPECT_GE(box->HeadCount(), 1);
    EXPECT_GE(box->FootCount(), 1);
    EXPECT_TRUE(box->runMode);
    EXPECT_GE(widget.Surface()->height(), box->Paragraph(box->ParagraphCount() - 1).bottom + 1);
    std::size_t wideLines = 0;
    for (const auto& p : box->AllParagraphs()) wideLines += p->lines.size();

    widget.resize(260, 400);
    EXPECT_EQ(box->LayoutWidth(), widget.viewport()->width());
    std::size_t narrowLines = 0;
    for (const auto& p : box->AllParagraphs()) narrowLines += p->lines.size();
    EXPECT_GT(narrowLines, wideLines);

    const QImage shot = widget.Surface()->grab().toImage();
    const std::int32_t colour = PageColour(kTextPage);
    const QRgb background = qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    EXPECT_GT(CountPixels(shot, QRect(0, 0, shot.width(), std::min(shot.height(), 200)),
                          [&](QRgb p) { return p != background; }),
              50);
    EXPECT_FALSE(widget.ShowPage(999));
}

TEST_F(SamplePages, ALongPageScrollsInTheWidget) {
    SampleOptions options;
    options.pages = 2;
    options.textKb = 40;
    TKYTset big(environment_, messages_);
    MakeSampleHypertext(big, options);
    PageViewWidget widget(big);
    widget.resize(500, 300);
    widget.show();
    ASSERT_TRUE(widget.ShowPage(kTextPage));
    EXPECT_GT(widget.Surface()->height(), 300);
    EXPECT_GT(widget.verticalScrollBar()->maximum(), 0);
}

using CliOutcome = ProgramRun;

CliOutcome OrvoCli(const std::vector<std::string>& args) {
    return RunOrvoCli(args);
}

TEST(CliRender, DrawsTheSamplesCoverPageAndRefusesBadArguments) {
    const std::string file = (TestDir() / "Guida.kyt").string();
    ASSERT_EQ(OrvoCli({"sample", file}).status, 0);
    const std::string png = (TestDir() / "copertina.png").string();
    const CliOutcome drawn = OrvoCli({"render", file, "0", png, "--width", "640"});
    ASSERT_EQ(drawn.status, 0) << drawn.err;
    EXPECT_EQ(drawn.out, "");
    EnsureApplication();
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(png)));
    EXPECT_EQ(image.width(), 640);

    const CliOutcome noPage = OrvoCli({"render", file, "77", png});
    EXPECT_EQ(noPage.status, 1);
    EXPECT_THAT(noPage.err, ::testing::HasSubstr("the hypertext has no page 77"));
    const CliOutcome badWidth = OrvoCli({"render", file, "0", png, "--width", "5"});
    EXPECT_EQ(badWidth.status, 1);
    EXPECT_THAT(badWidth.err, ::testing::HasSubstr("--width"));
    const CliOutcome missing = OrvoCli({"render", file, "0"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_THAT(missing.err, ::testing::HasSubstr("render takes FILE, PAGE and OUT.png"));
    const CliOutcome help = OrvoCli({"render", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, ::testing::HasSubstr("Usage: orvo-cli render FILE PAGE OUT.png"));
}

}  // namespace
}  // namespace orvo::test
