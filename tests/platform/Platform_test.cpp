// Message recording, the in-memory settings store and the hand-driven scheduler.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "platform/ISettings.h"

using namespace orvo;
using ::testing::ElementsAre;

TEST(Messages, CaptionsAreTheProgramsOwn) {
    EXPECT_EQ(Caption(Box::Information), "Informazione");
    EXPECT_EQ(Caption(Box::Warning), "Attenzione!");
    EXPECT_EQ(Caption(Box::Error), "Errore!");
}

TEST(Messages, RecordingKeepsBoxesAndAnswersFromTheScript) {
    RecordingMessages m;
    m.Error("Formato sconosciuto.");
    m.ScriptAnswers({Answer::Yes, Answer::Cancel});
    EXPECT_TRUE(m.Ask("Riprovare?"));
    EXPECT_EQ(m.AskYesNoCancel("Salvare?"), Answer::Cancel);
    EXPECT_FALSE(m.Ask("Ancora?"));  // the script is used up: No
    EXPECT_THAT(m.Shown(), ElementsAre(Message{Box::Error, "Formato sconosciuto."}));
    EXPECT_THAT(m.Questions(), ElementsAre("Riprovare?", "Salvare?", "Ancora?"));
}

TEST(MemorySettingsStore, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
    MemorySettings s;
    s.Write("options", "Bak", "1");
    s.Write("OPTIONS", "bak", "0");
    s.Write("ftpnet\\0", "server", "ftp.example.org");
    s.Write("ftpnet/1", "server", "other");
    EXPECT_EQ(s.ReadString("Options", "BAK"), "0");
    EXPECT_THAT(s.SubKeys(""), ElementsAre("options", "ftpnet"));
    EXPECT_THAT(s.SubKeys("ftpnet"), ElementsAre("0", "1"));
    EXPECT_THAT(s.ValueNames("options"), ElementsAre("Bak"));
    s.DeleteKey("FTPNET");
    EXPECT_FALSE(s.KeyExists("ftpnet\\0"));
    EXPECT_TRUE(s.KeyExists("options"));
}

TEST(MemorySettingsStore, ReadersGiveTheirOwnDefaults) {
    MemorySettings s;
    EXPECT_TRUE(s.ReadFlag("options", "Bak", true));
    s.Write("options", "Bak", "yes");  // neither "1" nor "0"
    EXPECT_TRUE(s.ReadFlag("options", "Bak", true));
    EXPECT_EQ(s.ReadInt("options", "maxCacheImg", 20), 20);
    s.Write("options", "maxCacheImg", "-5");
    EXPECT_EQ(s.ReadInt("options", "maxCacheImg", 20, 1, 1000), 1);
    s.Write("options", "maxCacheImg", "12abc");
    EXPECT_EQ(s.ReadInt("options", "maxCacheImg", 20, 1, 1000), 20);
}

TEST(ManualSchedulerClock, RunsPostedTasksAndTimersInOrder) {
    ManualScheduler s;
    std::vector<std::string> log;
    s.StartTimer(std::chrono::milliseconds(300), false, [&] { log.push_back("once"); });
    const auto tick =
        s.StartTimer(std::chrono::milliseconds(100), true, [&] { log.push_back("tick"); });
    std::thread worker([&] { s.Post([&] { log.push_back("posted"); }); });
    worker.join();
    EXPECT_EQ(s.RunPending(), 1);
    s.Advance(std::chrono::milliseconds(300));
    s.StopTimer(tick);
    s.Advance(std::chrono::milliseconds(1000));
    // At 300 ms both are due: they fire in the order they were started.
    EXPECT_THAT(log, ElementsAre("posted", "tick", "tick", "once", "tick"));
}

TEST(Environments, FixedEnvironmentIsDeterministic) {
    FixedEnvironment a, b;
    EXPECT_EQ(a.PixelsPerInch(), 96);
    EXPECT_EQ(a.Random(1000), b.Random(1000));
    EXPECT_EQ(a.Now(), b.Now());
    EXPECT_EQ(a.UserConfigDir(), SystemEnvironment().UserConfigDir());
}
