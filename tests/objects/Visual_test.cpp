// The visual objects without a window: the image's zones, sizes, hint, clipboard and undo
// rules, the creation mapping, the pointer and handle rules, drawing and GIF animation.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/Paths.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/DragRules.h"
#include "objects/ImageRecord.h"
#include "objects/ObjectViews.h"
#include "objects/uKYTvisu.h"
#include "picture/GifCodec.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "platform/RecordingCanvas.h"
#include "support/TestSupport.h"
#include "textbox/IBoxHost.h"

namespace orvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A GIF of `frames` frames, each one colour (red, green, blue...), `delay` hundredths apart.
std::string ColourGif(int width, int height, int frames, int delay = 10) {
    Picture p;
    p.format = PictureFormat::Gif;
    p.width = width, p.height = height;
    p.globalPalette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    p.loopCount = 0;
    for (int i = 0; i < frames; ++i) {
        GifFrame f;
        f.width = width, f.height = height;
        f.hasControl = true;
        f.delay = delay;
        f.indices.assign(std::size_t(width) * std::size_t(height), std::uint8_t(i % 4));
        p.frames.push_back(f);
    }
    return *EncodeGif(p);
}

class VisualTest : public ::testing::Test, public IVisualSite {
protected:
    TKYTset& LinkedKYTset() override { return set_; }
    IMessages& Messages() override { return messages_; }
    IScheduler& Scheduler() override { return scheduler_; }
    const TKYToggetto* LinkOf(const TKYToggetto&) override { return link_; }
    void RecordUndo(VisualUndoStep step) override { undo_.push_back(std::move(step)); }
    void RequestLink(const TKYToggetto& target) override { requested_.push_back(&target); }

    // A registered picture from GIF bytes; its identifier.
    std::int32_t AddPicture(const std::string& gif, const std::string& name) {
        const std::filesystem::path file = test::TestDir() / name;
        test::WriteFile(file, gif);
        Result<TKYToggetto*> added = set_.AddPictureFromFile(NameOfPath(file));
        EXPECT_TRUE(added) << (added ? "" : added.failure().text);
        return added ? (*added)->Identifier() : -1;
    }
    // An image (not registered) of a picture, shown by a TMyyImage on this site.
    TMyyImage& Show(std::int32_t picture) {
        TKYToggetto* p = picture >= 0 ? set_.ObjectByKind(TOggettiHel::immagine, picture) : nullptr;
        object_ = NewImageObject(set_, p);
        image_ = std::make_unique<TMyyImage>(messages_);
        image_->SetSite(this);
        image_->SetObject(object_.get());
        return *image_;
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> c;
        for (const VisualUndoStep& s : undo_) c.push_back(s.caption);
        return c;
    }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    TKYTset set_{environment_, messages_};
    ManualScheduler scheduler_;
    const TKYToggetto* link_ = nullptr;
    std::vector<VisualUndoStep> undo_;
    std::vector<const TKYToggetto*> requested_;
    std::unique_ptr<TKYToggetto> object_;
    std::unique_ptr<TMyyImage> image_;
};

TEST_F(VisualTest, ImageTakesItsPicturesSizeOrAHundredSquare) {
    const std::int32_t id = AddPicture(ColourGif(200, 100, 1), "a.gif");
    TMyyImage& image = Show(id);
    EXPECT_EQ(image.Size().width, 200);
    EXPECT_EQ(image.Size().height, 100);
    EXPECT_EQ(image.VerticalAlignment(), kImageAlignCentre);
    // No picture, or a stored width of 0: 100 x 100.
    EXPECT_EQ(Show(-1).Size().width, 100);
    ImageRecord(*object_).SetSize(0, 40);
    image_->Refresh();
    EXPECT_EQ(image_->Size().width, 100);
    EXPECT_EQ(image_->Size().height, 40);
}

TEST_F(VisualTest, ZonesScaleStoreAndComeBackInTheirSlots) {
    const std::int32_t id = AddPicture(ColourGif(200, 100, 1), "a.gif");
    TMyyImage& image = Show(id);
    for (int i = 0; i < 3; ++i) {
        image.SetLastMouse({-1, -1});
        ASSERT_TRUE(image.AddZone());
        image.Zones().back()->SetBounds({33 + i, 10, 63 + i, 40});
        image.Zones().back()->SetLink(MakeCode(TOggettiHel::testoHtml, i));
    }
    image.StoreToObject();
    // The front-most zone (the last added) is slot 0.
    ImageRecord record(*object_);
    EXPECT_EQ(record.Zone(0).left, 35);
    EXPECT_EQ(record.Zone(2).left, 33);
    EXPECT_TRUE(record.Zone(3).Empty());
    EXPECT_EQ(record.Zone(3), (ZoneRecord{-1, 0, 0, 0, 0, 0}));
    const std::string before = WriteZoneTable(record.Zones());
    image.Setup();
    image.StoreToObject();
    EXPECT_EQ(WriteZoneTable(ImageRecord(*object_).Zones()), before);

    // 200 -> 100 wide: per mille, integer arithmetic.
    undo_.clear();
    image.ResizeTo(100, 100);
    EXPECT_EQ(ImageRecord(*object_).Zone(2).left, 16);
    EXPECT_EQ(ImageRecord(*object_).Zone(2).width, 15);
    EXPECT_EQ(ImageRecord(*object_).Zone(2).top, 10);
    EXPECT_EQ(ImageRecord(*object_).Width(), 100);
    EXPECT_THAT(Captions(), ElementsAre("Dimensiona immagine"));
    // The step holds the record as it was before.
    EXPECT_EQ(RecordView(std::span<std::uint8_t>(
                             reinterpret_cast<std::uint8_t*>(undo_[0].record.data()), 668))
                  .I16(kImageWidth),
              200);

    // Front and back: the z-order is the slot order.
    TMyyZona& back = *image.Zones().front();
    image.BringToFront(back);
    image.SendToBack(*image.Zones().back());
    image.DeleteZone(*image.Zones().front());
    EXPECT_EQ(image.Zones().size(), 2u);
    EXPECT_THAT(Captions(), ElementsAre("Dimensiona immagine", "Poni zona in primo piano",
                                        "Poni zona in secondo piano", "Cancella zona cliccabile"));
}

TEST_F(VisualTest, AddZoneAndPasteFollowThePointerAndTheLimit) {
    TMyyImage& image = Show(AddPicture(ColourGif(200, 100, 1), "a.gif"));
    image.SetLastMouse({250, 40});
    ASSERT_TRUE(image.AddZone());
    EXPECT_EQ(image.Zones().back()->Bounds(), (Rect{190, 40, 220, 70}));
    image.SetLastMouse({-1, -1});
    ASSERT_TRUE(image.AddZone());
    EXPECT_EQ(image.Zones().back()->Bounds(), (Rect{0, 0, 30, 30}));
    EXPECT_TRUE(image.Zones().back()->Selected());
    EXPECT_FALSE(image.Zones().front()->Selected());

    // Copy the selected zone, paste it: 5 pixels right and down, in front.
    image.Zones().back()->SetBounds({10, 20, 40, 50});
    const VisualClipboardData copied = image.CopyToClipboard();
    ASSERT_EQ(copied.size(), 1u);
    EXPECT_EQ(copied[0].first, "Orvo30 zone");
    EXPECT_EQ(test::Escaped(copied[0].second.substr(0, 4)),
              test::Escaped(test::Bytes({2, 0, 0, 0})));
    auto reader = [](std::string data) {
        return [data](std::string_view format) -> std::optional<std::string> {
            if (format == "Orvo30 zone") return data;
            return std::nullopt;
        };
    };
    EXPECT_TRUE(image.CanPaste(reader(copied[0].second)));
    undo_.clear();
    image.PasteFromClipboard(reader(copied[0].second));
    EXPECT_EQ(image.Zones().back()->Bounds(), (Rect{15, 25, 45, 55}));
    EXPECT_THAT(Captions(), ElementsAre("Inserimento da Cartella appunti"));
    // Another program's data: a wrong tag or too short changes nothing and records nothing.
    std::string wrong = copied[0].second;
    wrong[0] = 3;
    image.PasteFromClipboard(reader(wrong));
    image.PasteFromClipboard(reader(copied[0].second.substr(0, 19)));
    EXPECT_EQ(image.Zones().size(), 3u);
    EXPECT_EQ(undo_.size(), 1u);
    EXPECT_FALSE(DecodeZoneClipboard(std::string(19, '\2')));

    // Thirty zones at most: the 31st is refused without an undo step, pasted or added.
    while (image.Zones().size() < 30) ASSERT_TRUE(image.AddZone());
    undo_.clear();
    EXPECT_FALSE(image.AddZone());
    image.PasteFromClipboard(reader(copied[0].second));
    EXPECT_EQ(image.Zones().size(), 30u);
    EXPECT_THAT(undo_, IsEmpty());
}

TEST(VisualRules, HintDragHandlesAndCreation) {
    const std::string link = "L|D";
    EXPECT_EQ(ImageHint(&link, "logo", "", false), "L - logo|D - logo");
    EXPECT_EQ(ImageHint(nullptr, "logo", "", false), "logo");
    EXPECT_EQ(ImageHint(&link, "logo", "", true), " - logo");
    EXPECT_EQ(ImageHint(nullptr, "logo", "nota lunga", false), "logo\r\n----------\r\nnota lunga");
    EXPECT_EQ(ImageHint(nullptr, "logo", "corta", false), "logo");

    EXPECT_FALSE(DragStarts(6, 0));
    EXPECT_TRUE(DragStarts(6, 2));
    EXPECT_FALSE(DragStarts(1, 6));
    EXPECT_TRUE(DragStarts(-2, -5));

    const Rect start{0, 0, 100, 50};
    EXPECT_EQ(ResizeWithHandle(start, 4, 30, 10, true), (Rect{0, 0, 110, 60}));
    EXPECT_EQ(ResizeWithHandle(start, 4, 30, 10, false), (Rect{0, 0, 130, 60}));
    EXPECT_EQ(ResizeWithHandle(start, 7, 150, 99, false), (Rect{99, 0, 100, 50}));
    EXPECT_EQ(ResizeWithHandle(start, 5, 0, -8, true), (Rect{0, -8, 100, 50}));
    EXPECT_EQ(HandleRects(start)[3], (Rect{96, 46, 104, 54}));
    EXPECT_EQ(HandleAt(start, {50, 1}), 5);
    EXPECT_EQ(HandleAt(start, {50, 25}), 0);

    using V = VisualClass;
    const std::vector<std::tuple<int, int, V>> cases{
        {20, 5, V::BelPanel},  {21, 2, V::Memo},   {20, 18, V::Floating},  {11, 16, V::None},
        {16, 0, V::Image},     {8, 3, V::Table},   {20, 7, V::CheckBox},   {24, 1, V::Multimedia},
        {11, 14, V::BelPanel}, {22, 9, V::Button}, {23, 1, V::InizioForm}, {3, 0, V::None}};
    for (const auto& [kind, subtype, expected] : cases)
        EXPECT_EQ(VisualClassFor(kind, subtype), expected) << kind << "," << subtype;
}

TEST_F(VisualTest, ObjectAndFrameSetRules) {
    const std::int32_t id = AddPicture(ColourGif(20, 10, 1), "a.gif");
    object_ = NewImageObject(set_, set_.ObjectByKind(TOggettiHel::immagine, id));
    TMyyImage image(messages_);
    image.SetObject(object_.get());
    ASSERT_EQ(messages_.Shown().size(), 1u);
    EXPECT_EQ(messages_.Shown()[0].text, "Parent insieme?");
    EXPECT_EQ(image.Object(), nullptr);
    image.SetSite(this);
    image.SetObject(object_.get());
    ASSERT_TRUE(image.AddZone());
    // The same object again does not set the image up again from its record.
    std::array<ZoneRecord, kZoneCount> none{};
    ImageRecord(*object_).SetZones(none);
    image.SetObject(object_.get());
    EXPECT_EQ(image.Zones().size(), 1u);

    auto page = NewObjectOfKind(TOggettiHel::testoHtml, &set_);
    page->Clear();
    page->TakeIntoUse();
    EXPECT_EQ(CreateVisual(*this, *page, false, true), nullptr);
    EXPECT_EQ(messages_.Shown().back().text, "Non si deve usare questo!");

    // Alternative text from the picture's name only with the setting "Alt".
    TKYToggetto* picture = set_.ObjectByKind(TOggettiHel::immagine, id);
    picture->SetName("Logo della ditta");
    EXPECT_EQ(ImageRecord(*NewImageObject(set_, picture)).AlternativeText(), "");
    set_.AutomaticAlternativeText = true;
    EXPECT_EQ(ImageRecord(*NewImageObject(set_, picture)).AlternativeText(), "Logo della ditta");

    // A link: read-only clicks follow it, the hint names it.
    link_ = page.get();
    image.SetReadOnly(true);
    image.Refresh();
    image.MouseDown({3, 3});
    image.MouseUp({3, 3}, false);
    EXPECT_THAT(requested_, ElementsAre(page.get()));
}

TEST_F(VisualTest, DrawsAtItsShownSizeAndAnimatesOnlyWhenBrowsed) {
    const std::int32_t id = AddPicture(ColourGif(4, 2, 3, 20), "anim.gif");
    FixedMetrics metrics;
    RecordingBoxHost surface(400, 300);
    ObjectViewHost host(surface, set_, messages_, scheduler_);
    object_ = NewImageObject(set_, set_.ObjectByKind(TOggettiHel::immagine, id));
    ImageRecord(*object_).SetSize(8, 6);
    auto* view = static_cast<TMyyImage*>(host.ViewOf(*object_));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(host.ViewOf(*object_), view);

    RecordingCanvas canvas(metrics);
    view->PlaceAt(10, 20);
    view->PaintOn(canvas, 10, 20);
    auto images = canvas.OpsOf(CanvasOpKind::Image);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].area, (Rect{10, 20, 18, 26}));
    EXPECT_FALSE(view->Animating());  // edited: the first frame, still

    view->SetReadOnly(true);
    canvas.Clear();
    view->PaintOn(canvas, 10, 20);
    EXPECT_TRUE(view->Animating());
    const std::uint64_t firstKey = canvas.OpsOf(CanvasOpKind::Image).at(0).imageKey;
    scheduler_.Advance(std::chrono::milliseconds(200));
    canvas.Clear();
    view->PaintOn(canvas, 10, 20);
    EXPECT_NE(canvas.OpsOf(CanvasOpKind::Image).at(0).imageKey, firstKey);
    EXPECT_FALSE(surface.Invalidated().empty());

    // Back to editing: the timer stops; the page closes: no view and no timer left.
    view->SetReadOnly(false);
    EXPECT_FALSE(view->Animating());
    view->SetReadOnly(true);
    view->PaintOn(canvas, 10, 20);
    EXPECT_TRUE(view->Animating());
    host.Clear();
    EXPECT_EQ(host.ViewCount(), 0u);
    surface.ClearInvalidated();
    scheduler_.Advance(std::chrono::milliseconds(2000));
    EXPECT_THAT(surface.Invalidated(), IsEmpty());
}

TEST(VisualRules, ScaledPixelsAndZoneTableBytes) {
    Bitmap source(2, 1);
    source.Set(0, 0, {255, 0, 0});
    source.Set(1, 0, {0, 0, 255});
    const Bitmap scaled = ScaleBitmap(source, 4, 2);
    EXPECT_EQ(scaled.ColourAt(1, 1), (Rgb{255, 0, 0}));
    EXPECT_EQ(scaled.ColourAt(2, 0), (Rgb{0, 0, 255}));

    std::array<ZoneRecord, kZoneCount> zones{};
    zones[0] = {0x00000003, 0, 1, -2, 300, 4};
    const std::string bytes = WriteZoneTable(zones);
    ASSERT_EQ(bytes.size(), 480u);
    EXPECT_EQ(
        test::Escaped(bytes.substr(0, 16)),
        test::Escaped(test::Bytes({3, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0xFE, 0xFF, 0x2C, 1, 4, 0})));
    EXPECT_EQ(ReadZoneTable(bytes), zones);
    EXPECT_EQ(ReadZoneTable(bytes.substr(0, 20))[1], ZoneRecord{});  // short: defaults
}

}  // namespace
}  // namespace orvo
