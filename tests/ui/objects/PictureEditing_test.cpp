// Pictures edited in the page widget, offscreen, on the sample's map page: selecting the map
// (its handles drawn), resizing it by a handle, adding, moving and linking a zone through the
// image's menu, moving the image in the text, copying it and a zone to another page, placing a
// picture file; each change undone through the hypertext's undo list. And a GIF that runs while
// its page is browsed, stops while it is edited, and leaves no timer once the page is closed.
#include <stdlib.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include <set>

#include "MainWindowSupport.h"
#include "model/SampleHypertext.h"
#include "model/TKYTparag.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/ImageRecord.h"
#include "objects/ObjectViews.h"
#include "picture/GifCodec.h"
#include "picture/Picture.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "support/TestSupport.h"
#include "textbox/PageEditSession.h"
#include "textbox/uKYTbox.h"
#include "ui/objects/PictureEditing.h"
#include "ui/textbox/PageViewWidget.h"
#include "ui/textbox/QtClipboard.h"

namespace orvo::test {
namespace {

using ::testing::ElementsAre;

// A scheduler that knows which of its timers are still waiting.
class CountingScheduler final : public IScheduler {
public:
    void Post(std::function<void()> task) override { inner_.Post(std::move(task)); }
    TimerId StartTimer(std::chrono::milliseconds interval, bool repeat,
                       std::function<void()> task) override {
        auto id = std::make_shared<TimerId>(0);
        *id = inner_.StartTimer(interval, repeat, [this, id, repeat, task = std::move(task)] {
            if (!repeat) active_.erase(*id);
            task();
        });
        active_.insert(*id);
        return *id;
    }
    void StopTimer(TimerId id) override {
        active_.erase(id);
        inner_.StopTimer(id);
    }
    std::size_t Active() const { return active_.size(); }
    void Advance(std::chrono::milliseconds by) { inner_.Advance(by); }

private:
    ManualScheduler inner_;
    std::set<TimerId> active_;
};

void MouseAt(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, modifiers);
    QApplication::sendEvent(&widget, &event);
}

void Drag(QWidget& widget, QPoint from, QPoint to) {
    MouseAt(widget, QEvent::MouseButtonPress, from, Qt::LeftButton);
    MouseAt(widget, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    MouseAt(widget, QEvent::MouseMove, to, Qt::LeftButton);
    MouseAt(widget, QEvent::MouseButtonRelease, to, Qt::LeftButton);
}

void Key(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&widget, &press);
}

QPoint Centre(const Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The application exists before the fixture's widget.
struct Application {
    Application() { EnsureApplication(); }
};

class PictureEditingTest : public ::testing::Test, private Application {
protected:
    void SetUp() override {
        MakeSampleHypertext(set_);
        for (std::int32_t id = 0; id < 40 && mapPage_ < 0; ++id)
            if (TKYToggetto* page = set_.ObjectByKind(TOggettiHel::testoHtml, id))
                if (page->Name() == "La mappa della guida") mapPage_ = id;
        ASSERT_GE(mapPage_, 0);
        view_.resize(800, 600);
        view_.EnableEditing(scheduler_, messages_);
        view_.show();
        view_.SetEditable(true);
        ASSERT_TRUE(view_.ShowPage(mapPage_));
        Paint();
    }
    // Paints the page now: the box places its objects' views as it paints them.
    QImage Paint() {
        QApplication::processEvents();
        return view_.Surface()->grab().toImage();
    }
    void Grab(const char* name) {
        // Set by hand to look at the page (under Xvfb: QT_QPA_PLATFORM=xcb).
        if (const char* folder = ::getenv("ORVO_PICTURES_GRAB"))
            view_.grab().save(QString::fromUtf8(folder) + "/" + name + ".png");
    }
    PictureEditing& Pictures() { return *view_.Pictures(); }
    // The view of the page's first image, placed by a paint.
    TMyyImage* Image() {
        Paint();
        for (TMyyImage* image : Pictures().Editor().Images())
            if (image->Placed()) return image;
        return nullptr;
    }
    // Where the box holds an image character: paragraph and character, (-1, -1) for none.
    std::pair<int, int> ImagePlace() {
        TKYTbox& box = *view_.Box();
        for (int i = 0; i < box.ParagraphCount(); ++i) {
            const TKYTparag& p = box.Paragraph(i);
            for (std::size_t c = 0; c < p.text.size(); ++c) {
                const int index = p.metrics[c].objectIndex;
                if (index >= 0 && p.objects[std::size_t(index)]->Kind() == TOggettiHel::immagineNew)
                    return {i, int(c)};
            }
        }
        return {-1, -1};
    }
    std::string Record(const TMyyImage& image) {
        const auto r = image.Object()->Record();
        return std::string(reinterpret_cast<const char*>(r.data()), r.size());
    }
    std::vector<std::string> Labels() { return view_.Session()->Undo().Labels(); }
    void Undo() {
        Key(*view_.Surface(), Qt::Key_Z, Qt::ControlModifier);
        Paint();
    }
    // Right click at `at`, choosing the menu's entry `caption`.
    void Menu(QPoint at, const char* caption) {
        bool chosen = false;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* action : menu->actions())
                if (action->text() == QString::fromUtf8(caption)) {
                    chosen = action->isEnabled();
                    menu->setActiveAction(action);
                    action->trigger();
                }
            menu->close();
        });
        MouseAt(*view_.Surface(), QEvent::MouseButtonPress, at, Qt::RightButton);
        MouseAt(*view_.Surface(), QEvent::MouseButtonRelease, at, Qt::RightButton);
        EXPECT_TRUE(chosen) << caption;
        Paint();
    }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    TKYTset set_{environment_, messages_};
    CountingScheduler scheduler_;
    PageViewWidget view_{set_};
    std::int32_t mapPage_ = -1;
};

TEST_F(PictureEditingTest, SelectResizeAndZonesOfTheMapEachUndone) {
    TMyyImage* image = Image();
    ASSERT_NE(image, nullptr);
    const Rect b = image->Bounds();
    ASSERT_EQ(b.Width(), 240);
    ASSERT_EQ(b.Height(), 120);
    const std::string stored = Record(*image);
    // Unselected, the map's grass shows at its bottom right corner; selected, the white handle.
    const QRgb grass = qRgb(0x9C, 0xD0, 0x7C);
    EXPECT_EQ(Paint().pixel(b.right - 2, b.bottom - 2), grass);
    Drag(*view_.Surface(), Centre(b), Centre(b));
    ASSERT_EQ(Pictures().Editor().Current(), image);
    EXPECT_TRUE(image->Selected());
    EXPECT_EQ(Paint().pixel(b.right - 2, b.bottom - 2), qRgb(255, 255, 255));
    Grab("image-selected");
    // Over its corner handle the pointer sizes diagonally.
    MouseAt(*view_.Surface(), QEvent::MouseMove, {b.right, b.bottom}, Qt::NoButton);
    EXPECT_EQ(view_.Surface()->cursor().shape(), Qt::SizeFDiagCursor);

    // The bottom right handle dragged up and left by half: the zones shrink per mille with it.
    Drag(*view_.Surface(), {b.right, b.bottom}, {b.right - 120, b.bottom - 60});
    image = Image();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Bounds().Width(), 120);
    EXPECT_EQ(image->Bounds().Height(), 60);
    EXPECT_EQ(ImageRecord(*image->Object()).Width(), 120);
    // The house zone (16, 20, 90 x 84) is the back one: slot 1.
    const auto hasZone = [&](const Rect& r) {
        for (const auto& z : Image()->Zones())
            if (z->Bounds() == r) return true;
        return false;
    };
    EXPECT_TRUE(hasZone({8, 10, 53, 52}));  // the house, 16, 20, 90 x 84 before
    EXPECT_THAT(Labels(), ElementsAre("Dimensiona immagine"));
    Grab("image-resized");
    Undo();
    image = Image();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(Record(*image), stored);
    EXPECT_EQ(image->Bounds().Width(), 240);
    EXPECT_TRUE(Labels().empty());

    // A zone added through the menu where the pointer was, then dragged 20 right, 10 down,
    // then linked to page 3 (a page that does not exist is refused with its message).
    const Rect c = image->Bounds();
    Menu({c.left + 100, c.top + 5}, "Aggiungi zona cliccabile");
    ASSERT_EQ(image->Zones().size(), 3u);
    TMyyZona* zone = image->Zones().back().get();
    EXPECT_EQ(zone->Bounds(), (Rect{100, 5, 130, 35}));
    EXPECT_EQ(Pictures().Editor().CurrentZone(), zone);
    Drag(*view_.Surface(), {c.left + 110, c.top + 15}, {c.left + 130, c.top + 25});
    EXPECT_EQ(zone->Bounds(), (Rect{120, 15, 150, 45}));
    Pictures().askZonePage = [] { return std::optional<std::int32_t>(999); };
    EXPECT_FALSE(Pictures().Run(PictureCommand::LinkZone));
    ASSERT_FALSE(messages_.Shown().empty());
    EXPECT_EQ(messages_.Shown().back().text, "Questa pagina non esiste.");
    Pictures().askZonePage = [] { return std::optional<std::int32_t>(3); };
    ASSERT_TRUE(Pictures().Run(PictureCommand::LinkZone));
    EXPECT_EQ(ImageRecord(*image->Object()).Zone(0).link,
              set_.ObjectByKind(TOggettiHel::testoHtml, 3)->Code());
    EXPECT_EQ(ImageRecord(*image->Object()).Zone(0).left, 120);
    Grab("zone-added");
    EXPECT_THAT(Labels(), ElementsAre("Modifica immagine", "Muovi zona cliccabile",
                                      "Aggiungi zona cliccabile"));
    // Delete posts the zone's deletion; then every step undone, newest first.
    Key(*view_.Surface(), Qt::Key_Delete);
    EXPECT_EQ(image->Zones().size(), 3u);
    QApplication::processEvents();
    EXPECT_EQ(Image()->Zones().size(), 2u);
    EXPECT_EQ(Labels().front(), "Cancella zona cliccabile");
    Undo();
    EXPECT_EQ(Image()->Zones().size(), 3u);
    Undo();
    EXPECT_EQ(ImageRecord(*Image()->Object()).Zone(0).link, -1);
    Undo();
    EXPECT_EQ(Image()->Zones().size(), 2u);  // the added zone kept no link: its slot is empty
    EXPECT_EQ(ImageRecord(*Image()->Object()).Zone(0).left, 100);
    Undo();
    EXPECT_EQ(Record(*Image()), stored);
}

TEST_F(PictureEditingTest, MoveInTheTextCopyToAnotherPageAndPlaceAPicture) {
    TMyyImage* image = Image();
    ASSERT_NE(image, nullptr);
    const std::pair<int, int> before = ImagePlace();
    ASSERT_GE(before.first, 0);
    // Dragged onto the start of the paragraph above it, the image's character moves there.
    const QPoint target = PointOf(view_, "Ogni zona") - QPoint(3, 0);
    Drag(*view_.Surface(), Centre(image->Bounds()), target);
    Paint();
    const std::pair<int, int> after = ImagePlace();
    EXPECT_EQ(after, std::make_pair(before.first - 1, 0));
    ASSERT_FALSE(Labels().empty());
    Grab("image-moved");
    while (!Labels().empty()) Undo();
    EXPECT_EQ(ImagePlace(), before);

    // A zone copied from the map, the map copied with its character: both pasted on page 3.
    image = Image();
    Drag(*view_.Surface(), Centre(image->Bounds()), Centre(image->Bounds()));
    const Rect b = image->Bounds();
    Drag(*view_.Surface(), {b.left + 20, b.top + 30}, {b.left + 20, b.top + 30});  // the house
    ASSERT_NE(Pictures().Editor().CurrentZone(), nullptr);
    Key(*view_.Surface(), Qt::Key_C, Qt::ControlModifier);
    QtClipboard clipboard;
    const std::optional<std::string> zone = clipboard.Data(kZoneFormat);
    ASSERT_TRUE(zone);
    EXPECT_EQ(DecodeZoneClipboard(*zone)->left, 16);
    Drag(*view_.Surface(), {b.left + 120, b.top + 110}, {b.left + 120, b.top + 110});  // grass
    ASSERT_EQ(Pictures().Editor().CurrentZone(), nullptr);
    Key(*view_.Surface(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(clipboard.HasFormat("Orvo30 objects"));

    ASSERT_TRUE(view_.ShowPage(3));
    Paint();
    EXPECT_EQ(ImagePlace(), std::make_pair(-1, -1));
    Key(*view_.Surface(), Qt::Key_V, Qt::ControlModifier);
    Paint();
    ASSERT_NE(ImagePlace().first, -1);
    TMyyImage* copy = Image();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Zones().size(), 2u);
    clipboard.SetContents({{std::string(kZoneFormat), *zone}});
    Drag(*view_.Surface(), Centre(copy->Bounds()), Centre(copy->Bounds()));
    Key(*view_.Surface(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(copy->Zones().size(), 3u);
    EXPECT_EQ(copy->Zones().back()->Bounds().left, 21);  // 5 right of where it was copied
    EXPECT_EQ(Labels().front(), "Inserimento da Cartella appunti");
    Grab("pasted-on-page-3");
    // Stored with the page, the image comes back with its three zones.
    ASSERT_TRUE(view_.CommitPage());
    Paint();
    ASSERT_NE(Image(), nullptr);
    EXPECT_EQ(Image()->Zones().size(), 3u);

    // A picture file placed at the caret, and taken back by its undo step.
    Picture gif;
    gif.format = PictureFormat::Gif;
    gif.width = gif.height = 16;
    gif.globalPalette = {{0, 0, 255}, {255, 255, 255}};
    GifFrame frame;
    frame.width = frame.height = 16;
    frame.indices.assign(256, 0);
    gif.frames.push_back(frame);
    const std::filesystem::path file = TestDir() / "blu.gif";
    WriteFile(file, *EncodeGif(gif));
    const std::size_t steps = Labels().size();
    ASSERT_TRUE(Pictures().PlacePicture(file.string()));
    Paint();
    int images = 0;
    for (TMyyImage* i : Pictures().Editor().Images())
        if (i->Placed() && i->Bounds().Width() == 16) ++images;
    EXPECT_EQ(images, 1);
    EXPECT_GT(Labels().size(), steps);
    for (std::size_t n = Labels().size(); n > steps; --n) Undo();
    images = 0;
    for (TMyyImage* i : Pictures().Editor().Images()) images += i->Bounds().Width() == 16;
    EXPECT_EQ(images, 0);
    EXPECT_FALSE(Pictures().PlacePicture((TestDir() / "manca.gif").string()));
}

TEST(PictureAnimation, RunsWhileBrowsedStopsWhileEditedAndLeavesNoTimer) {
    EnsureApplication();
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set{environment, messages};
    MakeSampleHypertext(set);
    // A two-frame GIF, red then green, placed on page 3.
    Picture gif;
    gif.format = PictureFormat::Gif;
    gif.width = gif.height = 40;
    gif.globalPalette = {{255, 0, 0}, {0, 255, 0}};
    gif.loopCount = 0;
    for (int i = 0; i < 2; ++i) {
        GifFrame frame;
        frame.width = frame.height = 40;
        frame.hasControl = true;
        frame.delay = 20;
        frame.indices.assign(1600, std::uint8_t(i));
        gif.frames.push_back(frame);
    }
    const std::filesystem::path file = TestDir() / "semaforo.gif";
    WriteFile(file, *EncodeGif(gif));
    CountingScheduler scheduler;
    PageViewWidget view(set);
    view.resize(800, 600);
    view.EnableEditing(scheduler, messages);
    view.show();
    view.SetEditable(true);
    ASSERT_TRUE(view.ShowPage(3));
    ASSERT_TRUE(view.Pictures()->PlacePicture(file.string()));
    ASSERT_TRUE(view.CommitPage());
    view.SetEditable(false);
    const auto shown = [&] {
        QApplication::processEvents();
        const QImage picture = view.Surface()->grab().toImage();
        for (TMyyImage* i : view.Pictures()->Editor().Images())
            if (i->Placed() && i->Bounds().Width() == 40)
                return std::make_pair(i, picture.pixel(Centre(i->Bounds())));
        return std::make_pair(static_cast<TMyyImage*>(nullptr), QRgb(0));
    };
    auto [image, colour] = shown();
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->Animating());
    EXPECT_EQ(colour, qRgb(255, 0, 0));
    scheduler.Advance(std::chrono::milliseconds(200));
    EXPECT_EQ(shown().second, qRgb(0, 255, 0));
    scheduler.Advance(std::chrono::milliseconds(200));
    EXPECT_EQ(shown().second, qRgb(255, 0, 0));
    // Edited: the first frame, still; the caret's blink is the only timer.
    view.SetEditable(true);
    std::tie(image, colour) = shown();
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(image->Animating());
    EXPECT_EQ(colour, qRgb(255, 0, 0));
    view.SetEditable(false);
    EXPECT_TRUE(shown().first->Animating());
    EXPECT_GE(scheduler.Active(), 1u);
    view.ClosePage();
    QApplication::processEvents();
    EXPECT_EQ(scheduler.Active(), 0u);
}

}  // namespace
}  // namespace orvo::test
