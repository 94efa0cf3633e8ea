// orvo-cli publish against pyftpdlib: the real program, what it prints, what the server
// received, and the configurations it reads from the settings file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "base/Paths.h"
#include "platform/Environment.h"
#include "platform/FileSettings.h"
#include "publish/PublishSupport.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

struct CliOutcome {
    int status = -1;
    std::string out, err;
};

std::string Quoted(const std::string& arg) {
    std::string q = "'";
    for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

class PublishCli : public PublishingTest {
protected:
    // Runs orvo-cli publish with `args`, in `folder` when given; `password` (when given) in
    // ORVO_FTP_PASSWORD.
    CliOutcome Publish(const std::vector<std::string>& args, const char* password = kFtpPassword,
                       const std::filesystem::path& folder = {}) {
        std::string command = Quoted(ORVO_CLI_PATH) + " publish";
        if (!folder.empty()) command = "cd " + Quoted(folder.string()) + " && " + command;
        for (const std::string& a : args) command += " " + Quoted(a);
        const auto out = dir_ / "cli.out", err = dir_ / "cli.err";
        command += " >" + Quoted(out.string()) + " 2>" + Quoted(err.string()) + " </dev/null";
        if (password)
            ::setenv("ORVO_FTP_PASSWORD", password, 1);
        else
            ::unsetenv("ORVO_FTP_PASSWORD");
        const int status = std::system(command.c_str());
        ::unsetenv("ORVO_FTP_PASSWORD");
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
    }
    std::vector<std::string> Server() const {
        return {document_, "--host", "127.0.0.1", "--port", std::to_string(server_->Port()),
                "--user",  kFtpUser};
    }
};

TEST_F(PublishCli, PublishesTheSiteThenOnlyWhatChanged) {
    std::vector<std::string> relative = Server();
    relative[0] = "Guida.kyt";
    const CliOutcome first = Publish(relative, kFtpPassword, dir_ / "doc");
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_THAT(
        first.out,
        HasSubstr("In questa dir del server non risulta nessuna versione dell'ipertesto.\n"));
    EXPECT_THAT(first.out, HasSubstr("sent /guida_style.css "));
    // Without settings of the HTML options pages are ".htm".
    EXPECT_THAT(first.out, HasSubstr("sent /guida_index.htm "));
    EXPECT_THAT(first.out, HasSubstr("sent /guida_i000001.gif "));
    EXPECT_THAT(first.out, HasSubstr("sent /benvenuti.htm "));
    EXPECT_TRUE(first.out.ends_with("sent /guida_ver.html " +
                                    std::to_string(ServerFile("guida_ver.html").size()) +
                                    "\nPubblicazione OK.\n"))
        << first.out;
    EXPECT_EQ(first.err, "");
    // A relative name is written as the full path.
    EXPECT_THAT(ServerFile("guida_ver.html"), HasSubstr("Hypertext :" + document_ + "<BR>"));
    // 12 pages (the map, table and form pages too), the map's popup version, the alias page,
    // the style sheet, 4 pictures (the map's and the table's too), the form's sound, the
    // version page.
    EXPECT_EQ(Received().size(), 21u);

    const CliOutcome second = Publish(Server());
    ASSERT_EQ(second.status, 0) << second.err;
    const std::string version = std::to_string(set_->SaveCounter() - 1);
    EXPECT_THAT(second.out, HasSubstr("Sul server \xC3\xA8 presente la versione " + version));
    EXPECT_EQ(ReceivedNames(), (std::set<std::string>{"guida_style.css", "guida_ver.html"}));
}

TEST_F(PublishCli, DryRunPrintsThePlanAndSendsNothing) {
    const CliOutcome run =
        Publish({document_, "--host", "127.0.0.1", "--port", std::to_string(server_->Port()),
                 "--user", kFtpUser, "--dir", "/", "--dry-run"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("would send /guida_style.css "));
    EXPECT_THAT(run.out, HasSubstr("would send /guida_i000000.gif "));
    EXPECT_THAT(run.out, HasSubstr("would send /benvenuti.htm "));
    EXPECT_THAT(run.out, HasSubstr("would send /guida_ver.html "));
    EXPECT_THAT(run.out, Not(HasSubstr("sent /")));
    EXPECT_THAT(Received(), IsEmpty());
    EXPECT_THAT(FilesBelow(root_), IsEmpty());

    // The real run sends exactly that, in that order, with those sizes.
    const CliOutcome real = Publish(Server());
    ASSERT_EQ(real.status, 0) << real.err;
    std::string planned = run.out;
    for (std::size_t at; (at = planned.find("would send ")) != std::string::npos;)
        planned.replace(at, 11, "sent ");
    EXPECT_EQ(real.out, planned + "Pubblicazione OK.\n");
}

TEST_F(PublishCli, AConfigurationOfTheSettingsFileIsUsedWithItsPassword) {
    SystemEnvironment system;
    FileSettings file(FileSettings::DefaultPath(system));
    PublishConfigurations stored(file);
    FtpServerConfig config = PublishConfigurations(settings_).Load(0);
    config.BaseDir = "/sito";
    std::filesystem::create_directories(root_ / "sito");
    stored.Save(0, FtpServerConfig{});
    ASSERT_EQ(stored.Add("Locale"), 1);
    stored.Save(1, config);
    ASSERT_TRUE(file.Flush().ok());

    const CliOutcome run = Publish({document_, "--config", "1"}, nullptr);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("sent /sito/guida_ver.html "));
    EXPECT_TRUE(std::filesystem::exists(root_ / "sito" / "guida_index.htm"));

    const CliOutcome missing = Publish({document_, "--config", "7"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "publish: there is no server configuration 7\n");
}

TEST_F(PublishCli, FailuresAndWrongUsageExitWithTheMessage) {
    const CliOutcome wrong = Publish(Server(), "sbagliata");
    EXPECT_EQ(wrong.status, 1);
    EXPECT_THAT(wrong.err, HasSubstr("Authentication failed."));
    EXPECT_THAT(Received(), IsEmpty());

    const CliOutcome noPassword = Publish(Server(), nullptr);
    EXPECT_EQ(noPassword.status, 1);
    EXPECT_EQ(noPassword.err, "Introdurre la password!\n");

    std::vector<std::string> onLine = Server();
    onLine.push_back("--password=segreto");
    EXPECT_THAT(Publish(onLine).err, HasSubstr("never from the command line"));
    EXPECT_THAT(Publish({document_}).err, HasSubstr("either --config N or --host HOST"));
    EXPECT_THAT(Publish({document_, "--host", "127.0.0.1"}).err, HasSubstr("--user USER"));
    EXPECT_EQ(Publish({document_, "--config", "x"}).status, 1);
}

}  // namespace
}  // namespace orvo::test
