// A hypertext ready to publish and a real pyftpdlib server to publish it to, shared by the
// publishing tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "convert/HtmlExport.h"
#include "convert/TKYTListHtmlToTx.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/ISettings.h"
#include "publish/FtpTestSupport.h"
#include "publish/Publisher.h"

namespace orvo::test {

/// The sample guide (9 pages, the cover with an alias page and the paper picture as its
/// background) plus a second picture as the background of one chapter page, saved as
/// "Guida.kyt" in a folder of the test's own.
void MakeGuideToPublish(TKYTset& set);
/// The page whose background is the second picture.
TKYToggetto& PageWithSecondPicture(TKYTset& set);

/// A folder of its own for the running test.
std::filesystem::path ThisTestDir();

/// Every regular file below `folder`, as paths relative to it with "/".
std::set<std::string> FilesBelow(const std::filesystem::path& folder);

/// Commits a new text into `page` as the editor does when a page is left: its change stamp
/// becomes the save counter.
void CommitPageText(TKYTset& set, TKYToggetto& page, std::string_view markup);

class PublishingTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// (Re)starts the server on the same root and log; configuration 0 follows its port.
    void StartServer(PyFtpServer::Options options = {}, int uploadLimit = 0);
    /// Configuration 0 pointing at `port` on 127.0.0.1 with the test user and password.
    void Configure(std::uint16_t port, std::string baseDir = "/");
    /// What the publishing command does before the window shows, then the window's start and
    /// its first connection.
    int Open(PublishMode mode = PublishMode::Publish);
    /// The files the server logged since the last call (the session is closed first, so the
    /// server has handled every upload).
    std::vector<ReceivedFile> Received();
    std::set<std::string> ReceivedNames();
    /// The row of the list standing for `object`.
    int RowOf(const TKYToggetto& object) const;
    std::string ServerFile(const std::string& name) const;

    std::filesystem::path dir_;
    std::filesystem::path root_;
    std::filesystem::path log_;
    std::unique_ptr<PyFtpServer> server_;
    std::size_t seen_ = 0;
    std::string configuredDir_ = "/";

    FixedEnvironment env_;
    RecordingMessages messages_;
    MemorySettings settings_;
    std::unique_ptr<TKYTset> set_;
    std::unique_ptr<ObjectHolders> holders_;
    std::unique_ptr<TKYTtoHtml> html_;
    std::unique_ptr<TKYTListHtmlToTx> list_;
    LoopScheduler loop_;
    std::unique_ptr<TQzFtpComm> comm_;
    std::unique_ptr<Publisher> publisher_;
    std::string document_;
};

}  // namespace orvo::test
