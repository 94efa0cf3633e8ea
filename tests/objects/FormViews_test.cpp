// The form inputs, buttons, players and markers of a page: inert while the page is edited,
// taking values, following links and playing while it is browsed.
#include <gtest/gtest.h>

#include <functional>

#include "model/FormFields.h"
#include "model/SampleForms.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/FormViews.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using K = TOggettiHel;

std::pair<std::int32_t, std::int32_t> Sz(const TMyyVisual& view) {
    return {view.Size().width, view.Size().height};
}

// A player that tells the test what happens to it after its view is gone.
struct PlayerLog {
    int plays = 0;
    bool playing = false;
    bool closed = false;
    NullMediaPlayer* live = nullptr;
};

class LoggedPlayer final : public IMediaPlayer {
public:
    explicit LoggedPlayer(PlayerLog& log) : log_(log) { log_.live = &inner_; }
    ~LoggedPlayer() override { log_.live = nullptr; }
    int Open(const std::string& path) override { return inner_.Open(path); }
    void Close() override {
        inner_.Close();
        log_.closed = true;
        log_.playing = false;
    }
    void Play() override {
        inner_.Play();
        log_.plays = inner_.Plays();
        log_.playing = inner_.Playing();
    }
    void Stop() override {
        inner_.Stop();
        log_.playing = false;
    }
    void Rewind() override { inner_.Rewind(); }
    bool Playing() const override { return inner_.Playing(); }
    std::string ErrorText() const override { return inner_.ErrorText(); }
    void SetOnEnd(std::function<void()> onEnd) override { inner_.SetOnEnd(std::move(onEnd)); }

private:
    PlayerLog& log_;
    NullMediaPlayer inner_;
};

class FormViews : public ::testing::Test, public IVisualSite {
protected:
    TKYTset& LinkedKYTset() override { return set_; }
    IMessages& Messages() override { return messages_; }
    IScheduler& Scheduler() override { return scheduler_; }
    void RequestLink(const TKYToggetto& target) override { requested_.push_back(&target); }

    void SetUp() override {
        SetMediaPlayerFactory([this] { return std::make_unique<LoggedPlayer>(log_); });
    }
    void TearDown() override { SetMediaPlayerFactory(nullptr); }

    TKYToggetto& Add(K kind, int subtype, const std::function<void(TKYToggetto&)>& fill) {
        auto made = NewObjectOfKind(kind, &set_);
        made->Clear();
        made->TakeIntoUse();
        made->Record()[4] = std::uint8_t(subtype);
        fill(*made);
        return *set_.ObjectByKind(kind, set_.Register(std::move(made)));
    }
    std::unique_ptr<TMyyVisual> View(TKYToggetto& object, bool browsing) {
        return CreateFormVisual(*this, object, browsing, true);
    }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    ManualScheduler scheduler_;
    TKYTset set_{environment_, messages_};
    std::vector<const TKYToggetto*> requested_;
    PlayerLog log_;
};

TEST(ListItems, ReadFromTheirLines) {
    EXPECT_TRUE(ReadListItems("Uno 1 N Due").empty());
    const std::vector<FormListItem> items = ReadListItems("Uno\n1\nN\nDue\n2\ns\nTre\n3\n");
    ASSERT_EQ(items.size(), 2u);  // the third item's lines are unfinished
    EXPECT_EQ(items[0].text, "Uno");
    EXPECT_EQ(items[1].value, "2");
    EXPECT_FALSE(items[0].selected);
    EXPECT_TRUE(items[1].selected);
    EXPECT_EQ(ReadListItems(WriteListItems(items)).size(), 2u);
    EXPECT_EQ(WriteListItems(items), "Uno\n1\nN\nDue\n2\nX\n");
}

TEST(ResetRanges, AFormStartBoundsItsInputs) {
    // Objects: input, start, input, button, input, start, input.
    const std::vector<bool> starts{false, true, false, false, false, true, false};
    EXPECT_EQ(ResetRange(starts, 3), (std::pair<std::size_t, std::size_t>{2, 5}));
    EXPECT_EQ(ResetRange({false, false, false}, 1), (std::pair<std::size_t, std::size_t>{0, 3}));
}

// Each input shows its initial value while edited, takes none then, takes values while
// browsed, and reports its form value as a browser would send it.
TEST_F(FormViews, InputsTakeValuesOnlyWhileBrowsed) {
    const FormMetrics& m = FieldMetrics();
    TKYToggetto& field = Add(K::inputStat, int(FormInputKind::Text), [](TKYToggetto& o) {
        o.View().SetPStr(kInputValue, "Mario");
        o.View().SetU8(kInputSize, 20);
        o.View().SetU8(kInputHasValue, 1);
    });
    auto edited = View(field, false);
    ASSERT_NE(edited, nullptr);
    auto* edit = static_cast<TMyyEdit*>(edited.get());
    EXPECT_EQ(edit->Size().width, m.fieldCharWidth * 20);
    edit->TypeText("x");
    EXPECT_EQ(edit->GetFormValue(), "Mario");
    edit->SetReadOnly(true);
    edit->TypeText(" Rossi\x01");
    edit->Backspace();
    EXPECT_EQ(edit->GetFormValue(), "Mario Ross");

    TKYToggetto& box = Add(K::inputStat, int(FormInputKind::CheckBox), [](TKYToggetto& o) {
        o.View().SetPStr(kInputValue, "si");
        o.View().SetU8(kInputChecked, 0);
    });
    auto checkView = View(box, true);
    auto* check = static_cast<TMyyCheckedControl*>(checkView.get());
    EXPECT_EQ(check->GetFormValue(), "");
    check->Press();
    check->Release({13, 13});  // on the border: inside
    EXPECT_EQ(check->GetFormValue(), "si");
    check->Release({14, 2});  // outside
    EXPECT_TRUE(check->Checked());
    check->SetFormValue("CHECKED");
    EXPECT_TRUE(check->Checked());
    check->SetFormValue("no");
    EXPECT_EQ(check->GetFormValue(), "");

    auto list = [&](FormInputKind kind, std::string items) -> TKYToggetto& {
        return Add(K::inputStat, int(kind), [&](TKYToggetto& o) {
            o.View().SetU8(kInputSize, 3);
            o.View().SetU8(kInputMultiple, 0);
            o.SetContent(items);
        });
    };
    auto listView = View(list(FormInputKind::List, "Uno\n1\nN\nDue\n2\ns\n"), false);
    auto* lb = static_cast<TMyyListBox*>(listView.get());
    EXPECT_EQ(lb->GetFormValue(), "2");  // the value line, not the text
    EXPECT_EQ(lb->Size().height, m.listLineHeight * 3 + 4);
    lb->ChooseItem(0);
    EXPECT_EQ(lb->GetFormValue(), "2");
    lb->SetReadOnly(true);
    lb->ChooseItem(0);
    EXPECT_EQ(lb->GetFormValue(), "1");
    auto comboView = View(list(FormInputKind::DropDown, "Uno\n1\n\nDue\n2\nn\n"), true);
    EXPECT_EQ(comboView->GetFormValue(), "1");  // none flagged: the first
    EXPECT_EQ(Sz(*comboView), std::make_pair(m.listWidth, m.fieldHeight));
}

// A button is sized by its caption and follows its link only while browsed; markers are
// hidden in the layout of a browsed page except anchors shown on purpose.
TEST_F(FormViews, ButtonsAndMarkers) {
    const std::int32_t page = [&] {
        auto made = NewObjectOfKind(K::testoHtml, &set_);
        made->Clear();
        made->TakeIntoUse();
        return set_.Register(std::move(made));
    }();
    TKYToggetto& button = Add(K::bottoneCGI, 1, [&](TKYToggetto& o) {
        o.View().SetPStr(kButtonCaption, "Invia");
        o.View().SetI32(kButtonPicture, -1);
        o.View().SetI32(kButtonLink, MakeCode(K::testoHtml, page));
    });
    auto view = View(button, false);
    EXPECT_EQ(view->Size().width, FieldMetrics().fieldCharWidth * 7);
    EXPECT_EQ(static_cast<TMyyButton*>(view.get())->Hint(), "Invia|Bottone di immissione: Invia");
    view->MouseDown({2, 2});
    view->MouseUp({2, 2}, false);
    EXPECT_TRUE(requested_.empty());
    view->SetReadOnly(true);
    view->MouseDown({2, 2});
    view->MouseUp({2, 2}, false);
    ASSERT_EQ(requested_.size(), 1u);
    EXPECT_EQ(requested_[0], set_.ObjectByKind(K::testoHtml, page));

    TKYToggetto& anchor = Add(K::shortObj, kMarkerAnchor,
                              [](TKYToggetto& o) { o.View().SetI32(kShortReference, 1); });
    auto marker = View(anchor, false);
    EXPECT_EQ(Sz(*marker), std::make_pair(18, 18));
    EXPECT_TRUE(marker->HiddenInLayout(true));
    marker->SetReadOnly(true);  // browsed: no room in the text
    EXPECT_EQ(Sz(*marker), std::make_pair(0, 0));
    TKYToggetto& parameters = Add(K::shortObj, 27, [](TKYToggetto&) {});
    EXPECT_EQ(View(parameters, false)->Size().width, 90);
}

// The sample's bell: opened when shown, playing while browsed (silently here), stopped by
// editing and closed when its page goes; a cyclic clip of 2 cycles plays three times; a file
// no player takes gives its message once a run.
TEST_F(FormViews, PlayerPlaysTheSampleBell) {
    TKYToggetto& wav = Add(K::genLink, 4, [](TKYToggetto& o) {
        o.SetFileName("campanello.wav");
        o.SetContent(SampleBellWav());
    });
    auto sound = [&](bool cyclic, std::int16_t cycles, std::int32_t file) -> TKYToggetto& {
        return Add(K::multiMedia, 1, [&](TKYToggetto& o) {
            o.View().SetI32(kMediaSource, file);
            o.View().SetI32(kMediaPoster, -1);
            o.View().SetU8(kMediaAction, cyclic ? 1 : 0);
            o.View().SetI16(kMediaCycles, cycles);
        });
    };
    {
        TKYToggetto& bell = sound(false, 0, wav.Identifier());
        EXPECT_EQ(bell.Describe(), "campanello.wav|Suono: campanello.wav");
        auto view = View(bell, false);
        auto* player = static_cast<TMyyMultimedia*>(view.get());
        EXPECT_TRUE(player->Opened());
        EXPECT_EQ(Sz(*player), std::make_pair(141, 30));
        EXPECT_FALSE(log_.playing);
        player->SetReadOnly(true);
        EXPECT_TRUE(log_.playing);
        player->SetReadOnly(false);
        EXPECT_FALSE(log_.playing);
        player->SetReadOnly(true);
        EXPECT_TRUE(log_.playing);
    }
    EXPECT_FALSE(log_.playing);
    EXPECT_TRUE(log_.closed);

    auto cyclicView = View(sound(true, 2, wav.Identifier()), true);
    EXPECT_EQ(Sz(*cyclicView), std::make_pair(18, 18));
    for (int i = 0; i < 5 && log_.live; ++i) log_.live->FinishPlay();
    EXPECT_EQ(log_.plays, 3);
    cyclicView.reset();

    TKYToggetto& text = Add(K::genLink, 4, [](TKYToggetto& o) {
        o.SetFileName("non-un-suono.wav");
        o.SetContent("testo");
    });
    auto bad = View(sound(false, 0, text.Identifier()), true);
    auto again = View(sound(false, 0, text.Identifier()), true);
    EXPECT_FALSE(static_cast<TMyyMultimedia*>(bad.get())->Opened());
    int shown = 0;
    for (const Message& m : messages_.Shown()) shown += m.text == kMediaNoPlayerText;
    EXPECT_EQ(shown, 1);
}

}  // namespace
}  // namespace orvo
