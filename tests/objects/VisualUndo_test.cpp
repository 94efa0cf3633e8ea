// Undo of the visual objects through the hypertext's undo list: an image's sizes and zones
// come back byte for byte, newest first, and a step whose object is gone does nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/Paths.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/ImageRecord.h"
#include "objects/VisualUndo.h"
#include "objects/uKYTvisu.h"
#include "picture/GifCodec.h"
#include "platform/Environment.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::int32_t kPage = 7;
constexpr std::int32_t kFrame = 0;

class VisualUndo : public ::testing::Test, public IVisualSite {
protected:
    TKYTset& LinkedKYTset() override { return set_; }
    IMessages& Messages() override { return messages_; }
    IScheduler& Scheduler() override { return scheduler_; }
    void RecordUndo(VisualUndoStep step) override {
        RecordVisualUndo(undo_, step, *image_, kPage, kFrame);
    }

    void SetUp() override {
        Picture p;
        p.format = PictureFormat::Gif;
        p.width = 120, p.height = 60;
        p.globalPalette = {{255, 0, 0}, {0, 0, 255}};
        GifFrame f;
        f.width = 120, f.height = 60;
        f.indices.assign(120 * 60, 1);
        p.frames.push_back(f);
        const std::filesystem::path file = test::TestDir() / "undo.gif";
        test::WriteFile(file, *EncodeGif(p));
        Result<TKYToggetto*> picture = set_.AddPictureFromFile(NameOfPath(file));
        ASSERT_TRUE(picture);
        object_ = NewImageObject(set_, *picture);
        image_ = std::make_unique<TMyyImage>(messages_);
        image_->SetSite(this);
        image_->SetObject(object_.get());
        undo_.Frames().SetFrame(kFrame, kPage, &controls_);
        control_ = std::make_unique<VisualUndoControl>(*image_, controls_);
    }
    std::string RecordBytes() const {
        auto r = object_->Record();
        return std::string(reinterpret_cast<const char*>(r.data()), r.size());
    }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    TKYTset set_{environment_, messages_};
    ManualScheduler scheduler_;
    TKYTundoList undo_{set_, messages_};
    TKYTundoIndiciList controls_;
    std::unique_ptr<TKYToggetto> object_;
    std::unique_ptr<TMyyImage> image_;
    std::unique_ptr<VisualUndoControl> control_;
};

TEST_F(VisualUndo, SizesAndZonesComeBackNewestFirst) {
    const std::string original = RecordBytes();
    ASSERT_TRUE(image_->AddZone());
    // A zone without a link is not kept in the record.
    image_->Zones().back()->SetLink(MakeCode(TOggettiHel::testoHtml, 1));
    image_->StoreToObject();
    const std::string oneZone = RecordBytes();
    image_->ScaleTo(50);
    ASSERT_TRUE(image_->AddZone());
    EXPECT_EQ(image_->Size().width, 60);
    EXPECT_THAT(undo_.Labels(), ElementsAre("Aggiungi zona cliccabile", "Dimensiona immagine",
                                            "Aggiungi zona cliccabile"));
    EXPECT_EQ(undo_.UndoFromList(2), control_.get());
    EXPECT_EQ(RecordBytes(), oneZone);
    EXPECT_EQ(image_->Zones().size(), 1u);
    EXPECT_EQ(image_->Size().width, 120);
    undo_.UndoOne();
    EXPECT_EQ(RecordBytes(), original);
    EXPECT_THAT(image_->Zones(), IsEmpty());
    EXPECT_THAT(messages_.Shown(), IsEmpty());
}

TEST_F(VisualUndo, AStepWhoseObjectIsGoneOrChangedKindDoesNothing) {
    image_->ScaleTo(50);
    const std::string scaled = RecordBytes();
    // The object's control went (its page was laid out again): the number leads nowhere.
    const std::int32_t number = control_->Number();
    control_.reset();
    EXPECT_EQ(controls_.Lookup(number), nullptr);
    EXPECT_EQ(undo_.UndoOne(), nullptr);
    EXPECT_EQ(RecordBytes(), scaled);
    EXPECT_FALSE(undo_.CanUndo());
    // Back under its number, the object takes its step again.
    control_ = std::make_unique<VisualUndoControl>(*image_, controls_, number);
    image_->ScaleTo(25);
    EXPECT_EQ(undo_.UndoOne(), control_.get());
    EXPECT_EQ(RecordBytes(), scaled);
    // The page the step names is no longer shown by the frame.
    image_->ScaleTo(25);
    undo_.Frames().SetFrame(kFrame, kPage + 1, &controls_);
    EXPECT_EQ(undo_.UndoOne(), nullptr);
    EXPECT_THAT(messages_.Shown(), ElementsAre(Message{Box::Error, "Error in undo list chain!"}));
}

}  // namespace
}  // namespace orvo
