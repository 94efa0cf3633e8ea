// The sample's bell played by the Qt player (silently, offscreen) through the view of its
// multimedia object: it plays while the page is browsed, reaches its end, stops when the page
// closes; a file that is no sound gives its message and never hangs.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdlib>

#include "model/FormFields.h"
#include "model/SampleForms.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/FormViews.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "support/TestSupport.h"
#include "ui/media/QtMediaPlayer.h"

// With no sound server to reach, libpulse keeps the context it made for Qt Multimedia to the
// end: the leak checker of sanitizer builds is told to look past it.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libpulse.so\n";
}
#endif

namespace orvo::test {
namespace {

using K = TOggettiHel;

void EnsureApplication() {
    if (QCoreApplication::instance()) return;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "orvo_ui_media_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;
}

// Runs events until `done` holds or `ms` pass; whether it held.
bool RunUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

class Site final : public IVisualSite {
public:
    explicit Site(TKYTset& set) : set_(set) {}
    TKYTset& LinkedKYTset() override { return set_; }
    IMessages& Messages() override { return set_.Messages(); }
    IScheduler& Scheduler() override { return scheduler_; }

private:
    TKYTset& set_;
    ManualScheduler scheduler_;
};

TEST(QtMediaPlayer, PlaysTheBellWhileBrowsedAndStopsWithThePage) {
    EnsureApplication();
    InstallQtMediaPlayer(0.0f);
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    Site site(set);
    auto add = [&](K kind, int subtype,
                   const std::function<void(TKYToggetto&)>& fill) -> TKYToggetto& {
        auto made = NewObjectOfKind(kind, &set);
        made->Clear();
        made->TakeIntoUse();
        made->Record()[4] = std::uint8_t(subtype);
        fill(*made);
        return *set.ObjectByKind(kind, set.Register(std::move(made)));
    };
    auto sound = [&](const std::string& name, const std::string& bytes) -> TKYToggetto& {
        TKYToggetto& file = add(K::genLink, 4, [&](TKYToggetto& o) {
            o.SetFileName(name);
            o.SetContent(bytes);
        });
        return add(K::multiMedia, 1, [&](TKYToggetto& o) {
            o.View().SetI32(kMediaSource, file.Identifier());
            o.View().SetI32(kMediaPoster, -1);
            o.View().SetU8(kMediaAction, 0);
        });
    };
    {
        auto view = CreateFormVisual(site, sound("campanello.wav", SampleBellWav()), true, true);
        auto* media = static_cast<TMyyMultimedia*>(view.get());
        ASSERT_TRUE(media->Opened());
        auto* player = static_cast<QtMediaPlayer*>(media->Player());
        bool ended = false;
        player->SetOnEnd([&] { ended = true; });
        EXPECT_TRUE(RunUntil([&] { return player->Playing() || ended; }, 5000))
            << player->ErrorText();
        EXPECT_TRUE(RunUntil([&] { return ended; }, 5000)) << player->ErrorText();
        player->SetOnEnd(nullptr);
        // Browsed again: it plays until the page goes.
        media->SetReadOnly(false);
        EXPECT_FALSE(player->Playing());
        media->SetReadOnly(true);
        EXPECT_TRUE(RunUntil([&] { return player->Playing(); }, 5000));
    }
    // A text named as a sound: the player reports its error, nothing plays, nothing hangs.
    auto bad = CreateFormVisual(site, sound("finto.wav", std::string(4000, 'x')), true, true);
    auto* player = static_cast<QtMediaPlayer*>(static_cast<TMyyMultimedia*>(bad.get())->Player());
    EXPECT_TRUE(RunUntil([&] { return !player->ErrorText().empty(); }, 5000));
    EXPECT_FALSE(player->Playing());
    SetMediaPlayerFactory(nullptr);
}

}  // namespace
}  // namespace orvo::test
