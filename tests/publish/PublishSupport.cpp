// The hypertext to publish and the server it goes to.
#include "publish/PublishSupport.h"

#include "base/Files.h"
#include "base/Paths.h"
#include "model/SampleHypertext.h"
#include "model/TextForms.h"
#include "model/uKYTpag.h"
#include "picture/GifCodec.h"
#include "picture/Picture.h"
#include "support/TestSupport.h"

namespace orvo::test {

namespace {
constexpr const char* kSecondPictureName = "Mattoni";
}

std::filesystem::path ThisTestDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path dir =
        TestDir() / (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::create_directories(dir);
    return dir;
}

void MakeGuideToPublish(TKYTset& set) {
    MakeSampleHypertext(set, SampleOptions{});
    Bitmap bricks(24, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x)
            bricks.Set(x, y,
                       (y % 8 == 0 || (x + (y / 8) * 6) % 12 == 0) ? Rgb{200, 200, 200}
                                                                   : Rgb{160, 60, 40});
    Result<std::string> gif = BitmapToGif(bricks, false);
    ASSERT_TRUE(gif.ok());
    // The picture's file field is short: a long path would lose the extension.
    const std::string file = NameOfPath(TestDir() / "mattoni.gif");
    WriteFile(NativePath(file), *gif);
    Result<TKYToggetto*> picture = set.AddPictureFromFile(file);
    ASSERT_TRUE(picture.ok());
    (*picture)->SetName(kSecondPictureName);
    PageRecord(PageWithSecondPicture(set)).SetBackgroundPicture((*picture)->Identifier());
}

TKYToggetto& PageWithSecondPicture(TKYTset& set) {
    // The last page of the second chapter.
    TKYToggetto* last = nullptr;
    for (const auto& page : set.KindList(TOggettiHel::testoHtml))
        if (page && !page->IsFree()) last = page.get();
    return *last;
}

std::set<std::string> FilesBelow(const std::filesystem::path& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        if (it->is_regular_file())
            names.insert(std::filesystem::relative(it->path(), folder).generic_string());
    return names;
}

void CommitPageText(TKYTset& set, TKYToggetto& page, std::string_view markup) {
    auto text = OpenText(set, page, false);
    StoreText(set, *text, markup, page, true);
}

// ---------------------------------------------------------------------------------------------

void PublishingTest::SetUp() {
    dir_ = ThisTestDir();
    root_ = dir_ / "server";
    log_ = dir_ / "received.log";
    StartServer();
    ASSERT_TRUE(server_->Started());

    set_ = std::make_unique<TKYTset>(env_, messages_);
    MakeGuideToPublish(*set_);
    std::filesystem::create_directories(dir_ / "doc");
    document_ = NameOfPath(dir_ / "doc" / "Guida.kyt");
    ASSERT_TRUE(set_->SaveToFile(document_));
    holders_ = std::make_unique<ObjectHolders>(*set_);
    html_ = std::make_unique<TKYTtoHtml>(set_.get());
    list_ = std::make_unique<TKYTListHtmlToTx>(html_.get());
    comm_ = std::make_unique<TQzFtpComm>(loop_, loop_);
    publisher_ =
        std::make_unique<Publisher>(*set_, *holders_, *html_, *list_, *comm_, settings_, messages_);
    publisher_->SaveDocument = [this] { return set_->SaveToFile(document_); };
    Configure(server_->Port());
}

void PublishingTest::StartServer(PyFtpServer::Options options, int uploadLimit) {
    server_.reset();
    server_ = std::make_unique<PyFtpServer>(root_, std::move(options), log_, uploadLimit);
    if (publisher_) Configure(server_->Port(), configuredDir_);
}

void PublishingTest::TearDown() {
    if (comm_) (void)comm_->RunCloseSession();
}

void PublishingTest::Configure(std::uint16_t port, std::string baseDir) {
    FtpServerConfig config;
    config.nomeConf = "Prova";
    config.server = "127.0.0.1";
    config.port = port;
    config.timeout = 10;
    config.user = kFtpUser;
    config.savePass = true;
    config.pass = kFtpPassword;
    configuredDir_ = baseDir;
    config.BaseDir = std::move(baseDir);
    config.www = "http://www.esempio.it/guida/";
    PublishConfigurations(settings_).Save(0, config);
}

int PublishingTest::Open(PublishMode mode) {
    EXPECT_TRUE(publisher_->ExportSite().ok());
    publisher_->Start(mode);
    return publisher_->Connect();
}

std::vector<ReceivedFile> PublishingTest::Received() {
    (void)comm_->RunCloseSession();
    std::vector<ReceivedFile> all = ReadReceivedLog(log_);
    std::vector<ReceivedFile> since(all.begin() + std::ptrdiff_t(std::min(seen_, all.size())),
                                    all.end());
    seen_ = all.size();
    return since;
}

std::set<std::string> PublishingTest::ReceivedNames() {
    std::set<std::string> names;
    for (const ReceivedFile& file : Received()) names.insert(file.name);
    return names;
}

int PublishingTest::RowOf(const TKYToggetto& object) const {
    const auto& rows = list_->Rows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].code == object.Code()) return int(i);
    ADD_FAILURE() << "no row for object " << object.Code();
    return -1;
}

std::string PublishingTest::ServerFile(const std::string& name) const {
    return ReadFile(root_ / name);
}

}  // namespace orvo::test
