// Server configurations in the settings store: the exact keys, the defaults of missing values,
// the password kept only when asked and in a file only its owner reads, the first-time wizard,
// and the configuration commands of the publishing window.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/FileSettings.h"
#include "publish/PublishSupport.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

FtpServerConfig Casa() {
    FtpServerConfig c;
    c.nomeConf = "Casa";
    c.server = "ftp.casa.it";
    c.port = 2121;
    c.timeout = 45;
    c.user = "mario";
    c.BaseDir = "/www/";
    c.www = "http://www.casa.it/";
    c.savePass = true;
    c.pass = "p\xE0ss";
    c.useScript = true;
    c.script = "http://www.casa.it/cgi/dopo";
    c.scriptm = "riga 1\r\nriga 2";
    return c;
}

TEST(PublishConfigurations, SavedUnderTheirExactKeysAndLoadedBack) {
    MemorySettings s;
    PublishConfigurations configs(s);
    configs.Save(1, Casa());
    EXPECT_THAT(
        s.ValueNames("ftpnet\\1"),
        UnorderedElementsAre("server", "timeout", "port", "BaseDir", "user", "www", "script",
                             "scriptm", "useScript", "savePass", "pass", "nomeConf"));
    EXPECT_EQ(s.ReadString("ftpnet\\1", "port"), "2121");
    EXPECT_EQ(s.ReadString("ftpnet\\1", "timeout"), "45");
    EXPECT_EQ(s.ReadString("ftpnet\\1", "savePass"), "1");
    EXPECT_EQ(s.ReadString("ftpnet\\1", "useScript"), "1");
    EXPECT_EQ(s.ReadString("ftpnet\\1", "pass"), "p\xE0ss");
    EXPECT_FALSE(s.Read("options", "liteOk"));  // only configuration 0 sets it
    EXPECT_EQ(configs.Load(1), Casa());

    configs.Save(0, Casa());
    EXPECT_EQ(s.ReadString("options", "liteOk"), "1");
}

TEST(PublishConfigurations, MissingValuesShowTheDefaults) {
    MemorySettings s;
    s.Write("ftpnet\\0", "nomeConf", "Vuota");
    s.Write("ftpnet\\0", "port", "porta");    // not a number
    s.Write("ftpnet\\0", "pass", "vecchia");  // savePass is not "1": not loaded
    const FtpServerConfig c = PublishConfigurations(s).Load(0);
    EXPECT_EQ(c.nomeConf, "Vuota");
    EXPECT_EQ(c.server, "ftp.example.com");
    EXPECT_EQ(c.port, 21);
    EXPECT_EQ(c.timeout, 30);
    EXPECT_EQ(c.user, "unknown");
    EXPECT_EQ(c.BaseDir, "/");
    EXPECT_EQ(c.www, "");
    EXPECT_FALSE(c.savePass);
    EXPECT_EQ(c.pass, "");
    EXPECT_FALSE(c.useScript);
}

TEST(PublishConfigurations, APasswordNoLongerKeptLeavesTheStore) {
    MemorySettings s;
    PublishConfigurations configs(s);
    configs.Save(0, Casa());
    FtpServerConfig forget = Casa();
    forget.savePass = false;
    configs.Save(0, forget);
    EXPECT_FALSE(s.Read("ftpnet\\0", "pass"));
    EXPECT_EQ(configs.Load(0).pass, "");
}

TEST(PublishConfigurations, CountSelectionAndAutomaticChoice) {
    MemorySettings s;
    PublishConfigurations configs(s);
    EXPECT_EQ(configs.Count(), 1);
    EXPECT_TRUE(configs.AutoChoose());
    s.Write("ftpnet", "AUTOCHOOSEMOD", "0");  // names compare without regard to case
    EXPECT_FALSE(configs.AutoChoose());
    s.Write("ftpnet", "autoChooseMod", "no");  // anything but "0" is yes
    EXPECT_TRUE(configs.AutoChoose());

    // A missing count counts as one: the first new configuration is number 1, the count 2.
    EXPECT_EQ(configs.Add("Seconda"), 1);
    EXPECT_EQ(s.ReadString("ftpnet", "numConfTot"), "2");
    EXPECT_EQ(configs.Add("Terza"), 2);
    EXPECT_THAT(configs.Names(), ElementsAre("", "Seconda", "Terza"));

    EXPECT_EQ(configs.SelectedFor(2), 0);
    configs.SetSelected(2, 2);
    EXPECT_EQ(s.ReadString("ftpnet", "NumSelectedConf2"), "2");
    EXPECT_EQ(configs.SelectedFor(2), 2);
    s.Write("ftpnet", "NumSelectedConf3", "9");  // beyond the count
    EXPECT_EQ(configs.SelectedFor(3), 0);
    s.Write("ftpnet", "numConfTot", "-4");
    EXPECT_EQ(configs.Count(), 1);
}

TEST(PublishWizard, OkWritesConfigurationZeroAndEmptyFieldsOnlyBeep) {
    MemorySettings s;
    PublishWizardRules wizard(s);
    EXPECT_TRUE(wizard.Needed());
    PublishWizardAnswers answers;
    answers.server = "ftp.casa.it";
    EXPECT_FALSE(wizard.Ok(answers));  // no user
    answers.user = "mario";
    answers.server.clear();
    EXPECT_FALSE(wizard.Ok(answers));  // no server
    EXPECT_TRUE(s.SubKeys("").empty());

    answers.server = "ftp.casa.it";
    answers.password = "segreta";
    ASSERT_TRUE(wizard.Ok(answers));
    EXPECT_FALSE(wizard.Needed());
    for (const char* mode :
         {"NumSelectedConf0", "NumSelectedConf1", "NumSelectedConf2", "NumSelectedConf3"})
        EXPECT_EQ(s.ReadString("ftpnet", mode), "0") << mode;
    EXPECT_EQ(s.ReadString("ftpnet", "numConfTot"), "1");
    // The wizard's "savepass" is the dialog's "savePass": the password loads.
    const FtpServerConfig c = PublishConfigurations(s).Load(0);
    EXPECT_EQ(c.nomeConf, "Internet - default");
    EXPECT_EQ(c.user, "mario");
    EXPECT_EQ(c.pass, "segreta");
    EXPECT_TRUE(c.savePass);
    EXPECT_EQ(c.server, "ftp.casa.it");
    EXPECT_EQ(c.BaseDir, "/");
    EXPECT_EQ(c.www, "http://");
    EXPECT_EQ(c.timeout, 60);
    EXPECT_EQ(c.port, 21);
}

TEST(PublishConfigurations, TheSettingsFileWithAPasswordIsReadableByItsOwnerOnly) {
    const auto path = ThisTestDir() / "config" / "settings.reg";
    {
        FileSettings file(path);
        PublishConfigurations(file).Save(0, Casa());
        ASSERT_TRUE(file.Flush().ok());
    }
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    FileSettings again(path);
    EXPECT_EQ(PublishConfigurations(again).Load(0), Casa());
}

// ---------------------------------------------------------------------------------------------
// The window's configuration commands

class PublishWindowConfigurations : public PublishingTest {};

TEST_F(PublishWindowConfigurations, AddRenameSelectAndClose) {
    PublishConfigurations configs(settings_);
    configs.SetSelected(0, 0);
    publisher_->Start(PublishMode::Publish);
    EXPECT_THAT(publisher_->ConfigurationNames(), ElementsAre("Prova"));
    EXPECT_EQ(comm_->Ftp().Hostname, "127.0.0.1");
    EXPECT_EQ(comm_->Ftp().Port, server_->Port());
    EXPECT_EQ(comm_->Ftp().Timeout, 10);

    // An edited field is kept when another configuration is added.
    publisher_->Fields().www = "http://altro.it/";
    EXPECT_FALSE(publisher_->AddConfiguration(""));
    EXPECT_EQ(settings_.ReadString("ftpnet\\0", "www"), "http://altro.it/");
    ASSERT_TRUE(publisher_->AddConfiguration("Nuova"));
    EXPECT_EQ(publisher_->Selected(), 1);
    EXPECT_THAT(publisher_->ConfigurationNames(), ElementsAre("Prova", "Nuova"));
    EXPECT_EQ(publisher_->Fields().server, "ftp.example.com");
    EXPECT_EQ(publisher_->Fields().user, "unknown");

    ASSERT_TRUE(publisher_->RenameCurrent("Rinominata"));
    EXPECT_FALSE(publisher_->RenameCurrent(""));
    EXPECT_EQ(settings_.ReadString("ftpnet\\1", "nomeConf"), "Rinominata");
    EXPECT_THAT(publisher_->ConfigurationNames(), ElementsAre("Prova", "Rinominata"));

    // Back to the first: it connects to the server.
    EXPECT_EQ(publisher_->SelectConfiguration(0), 200);
    EXPECT_EQ(publisher_->Directory(), "/");
    EXPECT_EQ(publisher_->Fields().pass, kFtpPassword);
    publisher_->CloseButton();
    EXPECT_EQ(settings_.ReadString("ftpnet", "NumSelectedConf0"), "0");

    publisher_->SetAutoChoose(false);
    EXPECT_TRUE(publisher_->RequestClose());
    EXPECT_EQ(settings_.ReadString("ftpnet", "autoChooseMod"), "0");
}

TEST_F(PublishWindowConfigurations, EachModeRemembersItsConfiguration) {
    PublishConfigurations(settings_).Add("Seconda");
    FtpServerConfig second = PublishConfigurations(settings_).Load(0);
    second.nomeConf = "Seconda";
    second.BaseDir = "/altrove";
    PublishConfigurations(settings_).Save(1, second);
    std::filesystem::create_directories(root_ / "altrove");
    settings_.Write("ftpnet", "NumSelectedConf2", "1");
    publisher_->Start(PublishMode::TransferDocument);
    EXPECT_EQ(publisher_->Selected(), 1);
    EXPECT_EQ(publisher_->Connect(), 200);
    EXPECT_EQ(publisher_->Directory(), "/altrove/");
    publisher_->Start(PublishMode::Publish);
    EXPECT_EQ(publisher_->Selected(), 0);
}

}  // namespace
}  // namespace orvo::test
