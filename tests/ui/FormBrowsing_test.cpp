// The sample's form page browsed in the page widget, offscreen: clicks check the radio buttons
// of a group one at a time, toggle the check box, give the text field the keys, choose a list
// item; the reset button sets every input back to the document's values. Markers take no
// room while the page is browsed and their 18 pixels while it is edited.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

#include "MainWindowSupport.h"
#include "app/u3MainForm.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "model/FormFields.h"
#include "model/SampleForms.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/FormBrowsing.h"
#include "objects/FormViews.h"
#include "objects/ObjectViews.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "support/TestSupport.h"
#include "textbox/PageLinks.h"
#include "textbox/uKYTCornice.h"
#include "textbox/uKYTbox.h"
#include "ui/app/BrowseWindows.h"
#include "ui/render/QPainterCanvas.h"
#include "ui/render/QtTextMeasurer.h"
#include "ui/textbox/PageFormInput.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo::test {
namespace {

using K = TOggettiHel;

// The application exists before the fixture's widget is made.
struct ApplicationFirst {
    ApplicationFirst() { EnsureApplication(); }
};

class FormPage : public ::testing::Test, private ApplicationFirst {
protected:
    void SetUp() override {
        SetMediaPlayerFactory([] { return std::make_unique<NullMediaPlayer>(); });
        MakeSampleHypertext(set_);
        page_ = SampleFormPage(set_);
        ASSERT_GE(page_, 0);
        view_.resize(760, 900);
        view_.EnableEditing(scheduler_, messages_);
        ASSERT_TRUE(view_.ShowPage(page_));
        view_.show();
        QApplication::processEvents();
        view_.Surface()->grab();  // painted once: every view takes its place
    }
    void TearDown() override { SetMediaPlayerFactory(nullptr); }

    // The view of the input named `name` (with `value`, for a radio button).
    template <typename View>
    View* Find(std::string_view name, std::string_view value = {}) {
        for (TMyyVisual* view : ViewsInTextOrder(*view_.Box(), *view_.ObjectViews()))
            if (auto* found = dynamic_cast<View*>(view)) {
                const RecordView r = found->Object()->ReadView();
                if (r.PStr(kInputName) == name && (value.empty() || r.PStr(kInputValue) == value))
                    return found;
            }
        ADD_FAILURE() << "no input " << name;
        return nullptr;
    }
    TMyyButton* Button(std::string_view caption) {
        for (TMyyVisual* view : ViewsInTextOrder(*view_.Box(), *view_.ObjectViews()))
            if (auto* button = dynamic_cast<TMyyButton*>(view);
                button && button->Caption() == caption)
                return button;
        ADD_FAILURE() << "no button " << caption;
        return nullptr;
    }
    void ClickOn(const TMyyVisual* view, int dx = 4, int dy = 4) {
        ASSERT_TRUE(view && view->Placed());
        Click(view_.Surface(), QPoint(view->Bounds().left + dx, view->Bounds().top + dy));
        QApplication::processEvents();
    }
    void Key(int key, const QString& text = {}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(view_.Surface(), &press);
    }
    // Every input's value as a form sends it, in the text's order.
    std::string Values() {
        std::string out;
        for (TMyyVisual* view : ViewsInTextOrder(*view_.Box(), *view_.ObjectViews()))
            if (dynamic_cast<TMyyEdit*>(view) || dynamic_cast<TMyyListBox*>(view) ||
                dynamic_cast<TMyyCheckedControl*>(view))
                out +=
                    view->Object()->ReadView().PStr(kInputName) + "=" + view->GetFormValue() + ";";
        return out;
    }
    // The paragraph holding an object of `kind`, or the one whose text begins with `words`.
    const TKYTparag* ParagraphWith(K kind) {
        for (std::int32_t i = 0; i < view_.Box()->ParagraphCount(); ++i)
            for (const TKYToggetto* o : view_.Box()->Paragraph(i).objects)
                if (o && o->Kind() == kind) return &view_.Box()->Paragraph(i);
        return nullptr;
    }
    const TKYTparag* ParagraphStarting(std::string_view words) {
        for (std::int32_t i = 0; i < view_.Box()->ParagraphCount(); ++i)
            if (view_.Box()->Paragraph(i).text.starts_with(words))
                return &view_.Box()->Paragraph(i);
        return nullptr;
    }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    ManualScheduler scheduler_;
    TKYTset set_{environment_, messages_};
    PageViewWidget view_{set_};
    std::int32_t page_ = -1;
};

constexpr std::string_view kStored =
    "nome=Mario Rossi;parola=;allegato=;parere=Una guida chiara.\nGrazie.;piaciuta=si;"
    "piaciuta=;notizie=si;capitolo=2;lingua=it;";

TEST_F(FormPage, RadioGroupsTypingListsAndTheResetButton) {
    ASSERT_EQ(Values(), kStored);
    // "no" checked: "si" of the same group lets go; clicked again, it stays checked.
    ClickOn(Find<TMyyRadioButton>("piaciuta", "no"));
    EXPECT_FALSE(Find<TMyyRadioButton>("piaciuta", "si")->Checked());
    EXPECT_TRUE(Find<TMyyRadioButton>("piaciuta", "no")->Checked());
    ClickOn(Find<TMyyRadioButton>("piaciuta", "no"));
    EXPECT_TRUE(Find<TMyyRadioButton>("piaciuta", "no")->Checked());
    ClickOn(Find<TMyyCheckBox>("notizie"));
    // The name field takes the keys: a letter added, two taken away, an accented one typed.
    ClickOn(Find<TMyyEdit>("nome"));
    Key(Qt::Key_X, QStringLiteral("x"));
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Agrave, QString::fromUtf8("\xC3\xA0"));
    // The third item of the list (its lines start 2 pixels down).
    ClickOn(Find<TMyyListBox>("capitolo"), 4, 2 + 2 * FieldMetrics().listLineHeight + 3);
    EXPECT_EQ(Values(),
              "nome=Mario Ross\xE0;parola=;allegato=;parere=Una guida chiara.\nGrazie.;piaciuta=;"
              "piaciuta=no;notizie=;capitolo=0;lingua=it;");
    // Return is a new line in the text box only.
    ClickOn(Find<TMyyMemo>("parere"));
    Key(Qt::Key_Return);
    Key(Qt::Key_O, QStringLiteral("o"));
    EXPECT_EQ(Find<TMyyMemo>("parere")->GetFormValue(), "Una guida chiara.\nGrazie.\no");

    // "Cancella" resets the form to the stored values; the stored page is untouched.
    const std::string before = *set_.ObjectByKind(K::testoHtml, page_)->ContentBytes();
    ClickOn(Button("Cancella"));
    EXPECT_EQ(Values(), kStored);
    EXPECT_EQ(*set_.ObjectByKind(K::testoHtml, page_)->ContentBytes(), before);
    // Keys go nowhere once the field's page is shown again (its views made anew).
    ASSERT_TRUE(view_.ShowPage(page_));
    Key(Qt::Key_Y, QStringLiteral("y"));
    view_.Surface()->grab();
    EXPECT_EQ(Values(), kStored);
}

// Radio buttons are drawn as circles: their corners keep the page's background, a checked
// one has a black dot in its middle and an unchecked one is white there.
TEST_F(FormPage, RadioButtonsAreRoundWithADotWhenChecked) {
    const QImage image = view_.Surface()->grab().toImage();
    for (const auto& [value, checked] : {std::pair{"si", true}, std::pair{"no", false}}) {
        const TMyyRadioButton* radio = Find<TMyyRadioButton>("piaciuta", value);
        ASSERT_TRUE(radio && radio->Placed());
        ASSERT_EQ(radio->Checked(), checked);
        const Rect b = radio->Bounds();
        const auto at = [&](int dx, int dy) { return image.pixel(b.left + dx, b.top + dy); };
        // The background just outside the circle, left of it on its middle row.
        const QRgb background = image.pixel(b.left - 2, b.top + 6);
        for (const auto& [dx, dy] : {std::pair{0, 0}, {11, 0}, {0, 11}, {11, 11}})
            EXPECT_EQ(at(dx, dy), background) << value << " corner " << dx << "," << dy;
        EXPECT_NE(at(0, 6), background) << value << ": the edge on the middle row";
        EXPECT_EQ(at(6, 6), checked ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << value;
        EXPECT_EQ(at(3, 6), qRgb(255, 255, 255)) << value << ": white between edge and dot";
    }
}

// Buttons write in the window's font, whatever the font of their paragraph: drawn while a
// 36-point font is current, a caption's ink stays clear of the button's sides.
TEST_F(FormPage, ButtonCaptionsStayInsideWhenTheTextGrows) {
    const QRgb face = [](std::int32_t c) {
        return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    }(SystemColour(kColourButtonFace));
    QtTextMeasurer measurer(96);
    for (const char* caption : {"Invia", "Cancella"}) {
        TMyyButton* button = Button(caption);
        ASSERT_TRUE(button);
        const ObjectSize size = button->Size();
        EXPECT_EQ(size.width, FieldMetrics().fieldCharWidth * int(std::string(caption).size() + 2));
        QImage image(size.width, size.height, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            QPainterCanvas canvas(painter, measurer);
            TMyFont large;
            large.name = "Times New Roman";
            large.size = 36;
            canvas.SetFont(large);
            button->PaintOn(canvas, 0, 0);
        }
        int inkLeft = size.width, inkRight = -1;
        for (int y = 1; y < size.height - 1; ++y)
            for (int x = 1; x < size.width - 1; ++x)
                if (image.pixel(x, y) != face) {
                    inkLeft = std::min(inkLeft, x);
                    inkRight = std::max(inkRight, x);
                }
        EXPECT_GT(inkLeft, 2) << caption;
        EXPECT_LT(inkRight, size.width - 3) << caption;
        EXPECT_LT(inkLeft, inkRight) << caption << ": the caption is drawn";
    }
}

TEST_F(FormPage, InputsIgnoreClicksAndKeysWhileEdited) {
    view_.SetEditable(true);
    view_.Surface()->grab();
    ClickOn(Find<TMyyRadioButton>("piaciuta", "no"));
    EXPECT_EQ(Values(), kStored);
}

TEST_F(FormPage, MarkersTakeNoRoomWhileBrowsed) {
    const TKYTparag* anchor = ParagraphWith(K::shortObj);
    const TKYTparag* plain = ParagraphStarting("Prima di scrivere");
    ASSERT_TRUE(anchor && plain && !anchor->lines.empty() && !plain->lines.empty());
    ASSERT_FALSE(anchor->metrics.empty());
    // Browsed: the anchor's character has no width and the line is as high as plain text.
    EXPECT_EQ(anchor->metrics[0].width, 0);
    EXPECT_EQ(anchor->lines[0].height, plain->lines[0].height);
    const std::int32_t browsedBottom = ParagraphWith(K::shortObj)->bottom;
    // Edited: its 18 x 18 placeholder takes its room; browsed again, the room goes.
    view_.SetEditable(true);
    view_.Surface()->grab();
    anchor = ParagraphWith(K::shortObj);
    EXPECT_EQ(anchor->metrics[0].width, 18);
    EXPECT_GE(anchor->lines[0].height, 18);
    EXPECT_GT(anchor->lines[0].height, ParagraphStarting("Prima di scrivere")->lines[0].height);
    EXPECT_GT(anchor->bottom, browsedBottom);
    view_.SetEditable(false);
    view_.Surface()->grab();
    EXPECT_EQ(ParagraphWith(K::shortObj)->metrics[0].width, 0);
    EXPECT_EQ(ParagraphWith(K::shortObj)->bottom, browsedBottom);
}

// In the main window's preview, and in a browse window, the form page's submit button given a
// link to a chapter page shows that page when clicked; without a link it leaves the form page
// where it is.
TEST_F(MainWindowTest, ABrowsedButtonWithALinkShowsTheLinkedPage) {
    SetMediaPlayerFactory([] { return std::make_unique<NullMediaPlayer>(); });
    const std::string path = NameOfPath(TestDir() / "Modulo.kyt");
    std::int32_t formPage = -1;
    for (const bool linked : {false, true}) {
        {
            TKYTset scratch(environment_, scratchMessages_);
            SampleOptions options;
            options.fileName = "Modulo.kyt";
            MakeSampleHypertext(scratch, options);
            formPage = SampleFormPage(scratch);
            ASSERT_GE(formPage, 2);
            for (const auto& object : scratch.KindList(K::bottoneCGI))
                if (object && !object->IsFree() &&
                    object->ReadView().PStr(kButtonName) == "invia" && linked)
                    object->View().SetI32(kButtonLink, MakeCode(K::testoHtml, 2));
            ASSERT_TRUE(scratch.SaveToFile(path));
        }
        auto window = Open(path);
        Preview(*window);
        window->Rules().GoToPage(formPage);
        ASSERT_EQ(window->PageShown(), formPage);
        // Clicks on the view of `kind` captioned or named `label` of the page in `view`.
        const auto clickOn = [](PageViewWidget& view, auto* kind, std::string_view label) {
            view.Surface()->grab();  // painted once: every view takes its place
            const TMyyVisual* found = nullptr;
            for (TMyyVisual* v : view.ObjectViews()->Views())
                if (auto* typed = dynamic_cast<decltype(kind)>(v)) {
                    if constexpr (std::is_same_v<decltype(kind), TMyyButton*>) {
                        if (typed->Caption() == label) found = v;
                    } else if (typed->Object()->ReadView().PStr(kInputName) == label) {
                        found = v;
                    }
                }
            ASSERT_TRUE(found && found->Placed()) << label;
            Click(view.Surface(), QPoint(found->Bounds().left + 4, found->Bounds().top + 4));
            QApplication::processEvents();
        };
        clickOn(window->PageView(), static_cast<TMyyButton*>(nullptr), "Invia");
        EXPECT_EQ(window->PageShown(), linked ? 2 : formPage) << linked;

        // In a browse window the form page's inputs take clicks too, and the button shows the
        // linked page as the main page, as a plain page link there does.
        window->Rules().GoToPage(0);
        BrowseWindow& other = window->Browse().Named("modulo");
        ASSERT_TRUE(other.ShowPage(formPage));
        other.resize(760, 900);
        other.show();
        const auto checked = [&other] {
            for (TMyyVisual* v : other.View().ObjectViews()->Views())
                if (auto* box = dynamic_cast<TMyyCheckBox*>(v)) return box->GetFormValue();
            return std::string("none");
        };
        EXPECT_EQ(checked(), "si");
        clickOn(other.View(), static_cast<TMyyCheckBox*>(nullptr), "notizie");
        EXPECT_EQ(checked(), "");
        clickOn(other.View(), static_cast<TMyyButton*>(nullptr), "Invia");
        EXPECT_EQ(other.PageShown(), formPage);
        EXPECT_EQ(window->PageShown(), linked ? 2 : 0) << linked;
    }
    SetMediaPlayerFactory(nullptr);
}

// A floating frame on the cover that does not jump by itself: browsed, a link clicked in it
// shows its page in the main window, not inside the frame.
TEST_F(MainWindowTest, ALinkInABrowsedFloatingFrameShowsItsPageInTheWindow) {
    const std::string path = NameOfPath(TestDir() / "Riquadro.kyt");
    std::int32_t letterPage = -1;
    {
        TKYTset scratch(environment_, scratchMessages_);
        SampleOptions options;
        options.pages = 5;
        options.fileName = "Riquadro.kyt";
        MakeSampleHypertext(scratch, options);
        auto letter = NewObjectOfKind(K::testoHtml, &scratch);
        letter->Clear();
        letter->TakeIntoUse();
        letter->SetContent(std::string("<Z S0 >Lettera dal <$00000003>lago<%> di Como") + '\0');
        letterPage = scratch.Register(std::move(letter));
        auto floating = NewObjectOfKind(K::inputStat, &scratch);
        floating->Clear();
        floating->TakeIntoUse();
        RecordView r = floating->View();
        r.SetU8(kRecSubtype, std::uint8_t(FormInputKind::Floating));
        r.SetI32(kFloatingPage, letterPage);
        r.SetI16(kFloatingWidth, 320);
        r.SetI16(kFloatingHeight, 90);
        r.SetU8(kFloatingAutoJump, 0);
        const std::int32_t code = MakeCode(K::inputStat, scratch.Register(std::move(floating)));
        TKYToggetto* cover = scratch.ObjectByKind(K::testoHtml, 0);
        ASSERT_NE(cover, nullptr);
        const std::string text = *cover->ContentBytes();
        cover->SetContent("<Z S0 ><$" + Hex8(std::uint32_t(code)) + ">" + text);
        ASSERT_TRUE(scratch.SaveToFile(path));
    }
    auto window = Open(path);
    Preview(*window);
    window->PageView().Surface()->grab();
    TMyyFloating* view = nullptr;
    for (TMyyVisual* v : window->PageView().ObjectViews()->Views())
        if (auto* f = dynamic_cast<TMyyFloating*>(v)) view = f;
    ASSERT_TRUE(view && view->Frames());
    TKYTFrame* leaf = view->Frames()->Leaves().front();
    ASSERT_NE(leaf->page->Box(), nullptr);
    std::optional<QPoint> link;
    for (int y = 0; y < 90 && !link; ++y)
        for (int x = 0; x < 320 && !link; ++x)
            if (LinkCodeAt(*leaf->page->Box(), x, y) == 3)
                link = QPoint(view->Bounds().left + leaf->ContentRect().left + x,
                              view->Bounds().top + leaf->ContentRect().top + y);
    ASSERT_TRUE(link);
    ASSERT_EQ(window->PageShown(), 0);
    Click(window->PageView().Surface(), *link);
    QApplication::processEvents();
    // The cover and its frame have gone: the window shows the linked page.
    EXPECT_EQ(window->PageShown(), 3);
    EXPECT_NE(window->PageShown(), letterPage);
    EXPECT_TRUE(messages_.Shown().empty());
}

}  // namespace
}  // namespace orvo::test
