// Links that open their page in a separate, a new or a pop-up window, in the window they were
// clicked in, and links that close a window by its name; offscreen on a sample hypertext that
// carries such links on its cover and on one chapter page.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>

#include "MainWindowSupport.h"
#include "app/u3MainForm.h"
#include "base/Cp1252.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "model/ObjectRecord.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "support/TestSupport.h"
#include "ui/QtConvert.h"
#include "ui/app/BrowseWindows.h"
#include "ui/app/HistoryBox.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using K = TOggettiHel;

std::int32_t AddSpecialLink(TKYTset& set, int subtype, int action, std::string_view name,
                            std::int32_t targetPage, std::int32_t anchor = -1) {
    auto link = NewObjectOfKind(K::speclink, &set);
    link->Clear();
    link->TakeIntoUse();
    RecordView record = link->View();
    record.SetU8(kRecSubtype, std::uint8_t(subtype));
    record.SetI32(kSpecAnchor, anchor);
    record.SetI32(kSpecTarget, targetPage >= 0 ? MakeCode(K::testoHtml, targetPage) : 0);
    record.SetU8(kSpecFrame, 0);
    record.SetU8(kSpecAction, std::uint8_t(action));
    record.SetPStr(kSpecName, name);
    return MakeCode(K::speclink, set.Register(std::move(link), -1));
}

// An anchor marker with that number, as a page's text embeds it.
std::string AnchorMarkup(TKYTset& set, std::int32_t number) {
    auto anchor = NewObjectOfKind(K::shortObj, &set);
    anchor->Clear();
    anchor->TakeIntoUse();
    RecordView record = anchor->View();
    record.SetU8(kRecSubtype, 14);
    record.SetI32(kShortReference, number);
    const std::int32_t code = MakeCode(K::shortObj, set.Register(std::move(anchor), -1));
    return "<$" + Hex8(std::uint32_t(code)) + ">";
}

void AppendParagraph(TKYTset& set, int page, const std::string& markup) {
    TKYToggetto* object = set.ObjectByKind(K::testoHtml, page);
    std::string text = *object->ContentBytes();
    if (!text.empty() && text.back() == '\0') text.pop_back();
    object->SetContent(text + "<Z S0 >" + markup + '\0');
}

std::string LinkMarkup(std::int32_t code, std::string_view words) {
    return "<$" + Hex8(std::uint32_t(code)) + ">" + std::string(words) + "<%> ";
}

class BrowseWindowsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        TKYTset set(environment_, scratchMessages_);
        SampleOptions options;
        options.pages = 9;
        options.fileName = "Finestre.kyt";
        MakeSampleHypertext(set, options);
        const std::int32_t apart = AddSpecialLink(set, 1, 2, "dettagli", 4);
        // Its window features: top 40, left 300, 640 by 480, nothing else set.
        const std::string features("\x28\x00\x2C\x01\x80\x02\xE0\x01\xE0\xB1\xE0\xB1", 12);
        set.ObjectByCode(apart)->SetContent(features + std::string(10, '\0'));
        const std::int32_t framed = AddSpecialLink(set, 1, 1, "Dettagli", 3);
        const std::int32_t fresh = AddSpecialLink(set, 1, 3, "nuova", 5);
        const std::int32_t popup = AddSpecialLink(set, 1, 4, "", 6);
        const std::int32_t close = AddSpecialLink(set, 2, 0, "DETTAGLI", -1);
        const std::int32_t here = AddSpecialLink(set, 1, 0, "", 7);
        AppendParagraph(set, 0,
                        LinkMarkup(apart, "Apri a parte") + LinkMarkup(framed, "Nel riquadro") +
                            LinkMarkup(fresh, "Apri nuova") + LinkMarkup(popup, "Apri sopra") +
                            LinkMarkup(close, "Chiudi dettagli") + LinkMarkup(here, "Vai qui"));
        AppendParagraph(set, 4, LinkMarkup(here, "Vai qui"));
        // Anchor 3 far down the cover, and links to it.
        const std::int32_t down = AddSpecialLink(set, 1, 6, "", -1, 3);
        const std::int32_t downApart = AddSpecialLink(set, 1, 3, "ancora", 0, 3);
        AppendParagraph(set, 0,
                        LinkMarkup(down, "In fondo") + LinkMarkup(downApart, "A parte in fondo"));
        for (int i = 0; i < 60; ++i)
            AppendParagraph(set, 0, "Riga di riempimento " + std::to_string(i));
        AppendParagraph(set, 0, AnchorMarkup(set, 3) + "Qui l'ancora");
        path_ = NameOfPath(TestDir() / "Finestre.kyt");
        ASSERT_TRUE(set.SaveToFile(path_));
    }
    void ClickWords(MainWindow& window, std::string_view words) {
        Click(window.PageView().Surface(), PointOf(window, words));
    }
    std::string path_;
};

TEST_F(BrowseWindowsTest, LinksOpenReuseAndCloseNamedWindowsBesideTheMainPage) {
    auto window = Open(path_);
    Preview(*window);
    ASSERT_EQ(window->PageShown(), 0);
    BrowseWindows& browse = window->Browse();

    // Action 2: the separate window "dettagli", a top-level window with page 4.
    ClickWords(*window, "Apri a parte");
    ASSERT_EQ(browse.Open().size(), 1u);
    BrowseWindow* details = browse.Open().front();
    EXPECT_TRUE(details->isWindow());
    EXPECT_FALSE(details->IsPopup());
    EXPECT_EQ(details->Name(), "dettagli");
    EXPECT_EQ(details->PageShown(), 4);
    EXPECT_THAT(test::ViewText(details->View()), HasSubstr(PageName(*window, 4)));
    EXPECT_EQ(details->windowTitle(), ToQString(PageName(*window, 4)));
    // Placed and sized as the link's window features say.
    EXPECT_EQ(details->size(), QSize(640, 480));
    EXPECT_LE((details->pos() - QPoint(300, 40)).manhattanLength(), 6)
        << details->pos().x() << "," << details->pos().y();
    EXPECT_EQ(window->PageShown(), 0);  // the main page stays
    EXPECT_EQ(window->History().count(), 1);

    // Again: the same window. Action 1 to the frame "Dettagli": no frame of the view has a
    // name, so the window of that name (without regard to case) shows page 3.
    ClickWords(*window, "Apri a parte");
    EXPECT_EQ(browse.Open().size(), 1u);
    ClickWords(*window, "Nel riquadro");
    ASSERT_EQ(browse.Open().size(), 1u);
    EXPECT_EQ(browse.Open().front(), details);
    EXPECT_EQ(details->PageShown(), 3);

    // Action 3: a new window every time.
    ClickWords(*window, "Apri nuova");
    ClickWords(*window, "Apri nuova");
    ASSERT_EQ(browse.Open().size(), 3u);
    EXPECT_NE(browse.Open()[1], browse.Open()[2]);
    EXPECT_EQ(browse.Open()[2]->PageShown(), 5);
    EXPECT_EQ(browse.Open()[2]->Name(), "nuova");

    // A close link names "DETTAGLI": that window goes, the others stay.
    ClickWords(*window, "Chiudi dettagli");
    QApplication::processEvents();
    ASSERT_EQ(browse.Open().size(), 2u);
    for (BrowseWindow* open : browse.Open()) EXPECT_EQ(open->Name(), "nuova");
    EXPECT_EQ(browse.Find("dettagli"), nullptr);
    // Closing a name no window has changes nothing.
    EXPECT_FALSE(browse.Close("nessuna"));
    EXPECT_EQ(browse.Open().size(), 2u);
    EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(BrowseWindowsTest, APopupOpensWhereTheLinkWasClicked) {
    auto window = Open(path_);
    Preview(*window);
    const QPoint at = PointOf(*window, "Apri sopra");
    Click(window->PageView().Surface(), at);
    ASSERT_EQ(window->Browse().Open().size(), 1u);
    BrowseWindow* popup = window->Browse().Open().front();
    EXPECT_TRUE(popup->IsPopup());
    EXPECT_EQ(popup->PageShown(), 6);
    // Its top left corner at the click (the window system may add a frame of a pixel or two).
    const QPoint corner = window->PageView().Surface()->mapToGlobal(at);
    EXPECT_LE((popup->pos() - corner).manhattanLength(), 6)
        << popup->pos().x() << "," << popup->pos().y() << " " << corner.x() << "," << corner.y();
    EXPECT_THAT(test::ViewText(popup->View()), HasSubstr(PageName(*window, 6)));
    // A popup has no name a link could find it by.
    EXPECT_EQ(window->Browse().Find(""), nullptr);
    popup->close();
    QApplication::processEvents();
    EXPECT_TRUE(window->Browse().Open().empty());
}

TEST_F(BrowseWindowsTest, LinksClickedInABrowseWindow) {
    auto window = Open(path_);
    Preview(*window);
    ClickWords(*window, "Apri a parte");
    ASSERT_EQ(window->Browse().Open().size(), 1u);
    BrowseWindow& details = *window->Browse().Open().front();
    ASSERT_EQ(details.PageShown(), 4);
    // Action 0 shows its page in place of the page it lies on: in that window.
    Click(details.View().Surface(), test::PointOf(details.View(), "Vai qui"));
    EXPECT_EQ(details.PageShown(), 7);
    EXPECT_EQ(window->PageShown(), 0);
    // From the main window the same link replaces the main page.
    ClickWords(*window, "Vai qui");
    EXPECT_EQ(window->PageShown(), 7);
    EXPECT_EQ(details.PageShown(), 7);
    // A plain page link in the browse window shows its page as the main page.
    Click(details.View().Surface(), test::PointOf(details.View(), "Pagina successiva"));
    EXPECT_EQ(window->PageShown(), 8);
    EXPECT_EQ(details.PageShown(), 7);
}

TEST_F(BrowseWindowsTest, ALinkWithAnAnchorScrollsItsPageThere) {
    auto window = Open(path_);
    Preview(*window);
    PageViewWidget& view = window->PageView();
    ASSERT_EQ(view.verticalScrollBar()->value(), 0);
    const QPoint target = test::PointOf(view, "Qui l'ancora");
    ASSERT_GT(target.y(), view.viewport()->height());  // below the first screen

    // Action 6: the anchor of the page shown.
    ClickWords(*window, "In fondo");
    EXPECT_EQ(window->PageShown(), 0);
    const int scrolled = view.verticalScrollBar()->value();
    EXPECT_GT(scrolled, 0);
    EXPECT_GE(target.y(), scrolled);
    EXPECT_LT(target.y(), scrolled + view.viewport()->height());

    // A new window on the cover, scrolled to the same anchor.
    ClickWords(*window, "A parte in fondo");
    ASSERT_EQ(window->Browse().Open().size(), 1u);
    PageViewWidget& apart = window->Browse().Open().front()->View();
    QApplication::processEvents();
    const int apartScrolled = apart.verticalScrollBar()->value();
    EXPECT_GT(apartScrolled, 0);
    const QPoint there = test::PointOf(apart, "Qui l'ancora");
    EXPECT_GE(there.y(), apartScrolled);
    EXPECT_LT(there.y(), apartScrolled + apart.viewport()->height());
    EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(BrowseWindowsTest, AnotherDocumentClosesTheWindowsOfTheFirst) {
    auto window = Open(path_);
    Preview(*window);
    ClickWords(*window, "Apri a parte");
    ClickWords(*window, "Apri nuova");
    ASSERT_EQ(window->Browse().Open().size(), 2u);
    window->OpenFile(second_);
    EXPECT_EQ(window->Document().KYTFileName(), second_);
    EXPECT_TRUE(window->Browse().Open().empty());
}

}  // namespace
}  // namespace orvo::test
