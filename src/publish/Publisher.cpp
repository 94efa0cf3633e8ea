// Publishing over FTP: the site's items sent by version, the version page, the document file's
// transfer and the configuration commands.
#include "publish/Publisher.h"

#include <system_error>

#include "base/ByteStream.h"
#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Paths.h"
#include "convert/HtmlExport.h"
#include "convert/TKYTListHtmlToTx.h"
#include "model/HeaderRecord.h"
#include "model/uKYTset.h"
#include "publish/VersionPage.h"

namespace orvo {

using namespace literals;

namespace {

constexpr std::string_view kImagesFolder = "images";

// A memory stream that refuses to grow past its limit, so a hostile server cannot fill memory.
class CappedStream final : public ByteStream {
public:
    explicit CappedStream(std::size_t limit) : limit_(limit) {}
    std::size_t Read(void* buffer, std::size_t count) override {
        return bytes_.Read(buffer, count);
    }
    [[nodiscard]] bool Write(const void* data, std::size_t count) override {
        if (std::size_t(bytes_.Size()) + count > limit_) return false;
        return bytes_.Write(data, count);
    }
    std::int64_t Position() const override { return bytes_.Position(); }
    [[nodiscard]] bool Seek(std::int64_t position) override { return bytes_.Seek(position); }
    std::int64_t Size() const override { return bytes_.Size(); }
    const std::string& Bytes() const { return bytes_.Bytes(); }

private:
    MemoryStream bytes_;
    std::size_t limit_;
};

std::string WithSlash(std::string directory) {
    if (directory.empty() || directory.back() != '/') directory.push_back('/');
    return directory;
}

bool IsFile(const std::string& cp1252Path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(NativePath(cp1252Path), ec);
}

std::int64_t SizeOf(const std::string& cp1252Path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(NativePath(cp1252Path), ec);
    return ec ? 0 : std::int64_t(size);
}

// Runs `on(true)` now and `on(false)` when the scope ends.
class RunningScope {
public:
    RunningScope(bool& flag, const std::function<void(bool)>& on) : flag_(flag), on_(on) {
        flag_ = true;
        if (on_) on_(true);
    }
    ~RunningScope() {
        flag_ = false;
        if (on_) on_(false);
    }

private:
    bool& flag_;
    const std::function<void(bool)>& on_;
};

}  // namespace

std::string RenameConfigurationPrompt(std::string_view name) {
    return "Rinomina la configurazione \"" + std::string(name) + "\":";
}

std::string_view PublishStatusText(int result) {
    switch (result) {
        case TQzFtpComm::kSuccess:
            return kPublishOkText;
        case kImagesFolderFailed:
            return kImagesFolderErrorText;
        case TQzFtpComm::kStopped:
            return kStoppedByUserText;
        default:
            return kPublishErrorText;
    }
}

std::string_view TransferStatusText(int result) {
    switch (result) {
        case TQzFtpComm::kSuccess:
            return kTransferOkText;
        case TQzFtpComm::kStopped:
            return kStoppedByUserText;
        default:
            return kPublishErrorText;
    }
}

Publisher::Publisher(TKYTset& set, ObjectHolders& holders, TKYTtoHtml& html, TKYTListHtmlToTx& list,
                     TQzFtpComm& comm, ISettings& settings, IMessages& messages)
    : set_(set),
      html_(html),
      list_(list),
      comm_(comm),
      configs_(settings),
      messages_(messages),
      listHeld_(
          holders.Add([this] { list_.DetachObjects(); }, [this] { list_.ReattachObjects(); })) {}

// ---------------------------------------------------------------------------------------------
// Opening

Status Publisher::ExportSite() {
    std::filesystem::path folder = set_.DocumentFolder();
    if (folder.empty()) folder = set_.WorkingDirectory();
    list_.ExportedImages.clear();
    html_.ExportPath = NameOfPath(folder / std::string(kExportFolderName));
    html_.PrefixOverride.clear();
    if (OnExportProgress)
        html_.OnExpProgress = [this](TKYTconv&, int pag, int tot, int phase) {
            OnExportProgress(ProgressText(phase, pag, tot));
        };
    Status done = html_.ExportAllPages(list_.ExportedImages);
    list_.Rebuild();
    return done;
}

void Publisher::Start(PublishMode mode) {
    mode_ = mode;
    names_ = configs_.Names();
    autoChoose_ = configs_.AutoChoose();
    selected_ = configs_.SelectedFor(int(mode));
    fields_ = configs_.Load(selected_);
    ApplyToSession();
    if (mode == PublishMode::Publish || mode == PublishMode::Unused) {
        html_.PrefixOverride.clear();
        list_.Rebuild();
    }
}

void Publisher::ApplyToSession() {
    T_Ftp& ftp = comm_.Ftp();
    ftp.Hostname = fields_.server;
    ftp.Username = fields_.user;
    // The configured port and time-out are applied: a server on another port is reached there.
    ftp.Port = fields_.port;
    ftp.Timeout = fields_.timeout;
}

// ---------------------------------------------------------------------------------------------
// Configurations

int Publisher::SelectConfiguration(int index) {
    if (index < 0 || index >= int(names_.size())) return TQzFtpComm::kNotStarted;
    Stop();
    configs_.Save(selected_, fields_);
    selected_ = index;
    fields_ = configs_.Load(index);
    ApplyToSession();
    return Connect();
}

bool Publisher::AddConfiguration(std::string_view name) {
    configs_.Save(selected_, fields_);
    if (name.empty()) return false;
    selected_ = configs_.Add(name);
    names_ = configs_.Names();
    fields_ = configs_.Load(selected_);
    ApplyToSession();
    return true;
}

bool Publisher::RenameCurrent(std::string_view name) {
    if (name.empty()) return false;
    fields_.nomeConf = std::string(name);
    configs_.Save(selected_, fields_);
    names_ = configs_.Names();
    fields_ = configs_.Load(selected_);
    // The password typed but not kept stays in the field.
    return true;
}

int Publisher::ApplyConfiguration() {
    configs_.Save(selected_, fields_);
    Stop();
    ApplyToSession();
    return Connect();
}

void Publisher::CloseButton() {
    configs_.Save(selected_, fields_);
    configs_.SetSelected(int(mode_), selected_);
}

bool Publisher::RequestClose() {
    if (comm_.Busy()) {
        if (!messages_.Ask(kCloseWhileBusyQuestion)) return false;
        Stop();
    }
    configs_.SetAutoChoose(autoChoose_);
    configs_.Save(selected_, fields_);
    return true;
}

// ---------------------------------------------------------------------------------------------
// The server

int Publisher::Connect() {
    T_Ftp& ftp = comm_.Ftp();
    ftp.Password = fields_.pass;
    Stop();
    if (ftp.LoggedIn()) (void)comm_.RunCloseSession();
    remote_.clear();
    serverVersion_ = -1;
    // What the last attempt said goes: a failure before a connection that works is not shown.
    status_.clear();
    detail_.clear();
    const int result = ChangeDirectory(fields_.BaseDir.empty() ? "/" : fields_.BaseDir);
    if (result == TQzFtpComm::kFailure) status_ = std::string(kCannotConnectText);
    return result;
}

int Publisher::EnsureConnected() {
    if (comm_.Ftp().LoggedIn()) return TQzFtpComm::kSuccess;
    const int result = comm_.RunConnect();
    if (result != TQzFtpComm::kSuccess) detail_ = comm_.ErrorText();
    return result;
}

int Publisher::ChangeDirectory(const std::string& directory) {
    int result = EnsureConnected();
    if (result == TQzFtpComm::kSuccess) result = comm_.RunChangeDir(directory);
    std::string current;
    if (result == TQzFtpComm::kSuccess) result = comm_.RunCurrentDir(current);
    if (result != TQzFtpComm::kSuccess) {
        detail_ = comm_.ErrorText();
        return result;
    }
    directory_ = WithSlash(current);
    return Reload();
}

int Publisher::ListDirectory() {
    remote_.clear();
    const int result = comm_.RunList(directory_);
    if (result != TQzFtpComm::kSuccess) {
        detail_ = comm_.ErrorText();
        return result;
    }
    T_Filedata entry;
    while (comm_.Ftp().NextListingEntry(entry)) remote_.push_back(entry);
    return result;
}

int Publisher::Reload() {
    const int result = ListDirectory();
    if (result != TQzFtpComm::kSuccess) return result;
    ReadServerVersion();
    if (autoChoose_ && (mode_ == PublishMode::Publish || mode_ == PublishMode::Unused))
        ChooseChanged();
    return result;
}

std::string Publisher::VersionPageName() const {
    return orvo::VersionPageName(html_.SafePrefix());
}

void Publisher::ReadServerVersion() {
    serverVersion_ = -1;
    const std::string name = VersionPageName();
    // The page as written, then the short form a server of 8.3 names keeps.
    for (const std::string& candidate : {name, name.substr(0, name.size() - 1)}) {
        const T_Filedata* listed = nullptr;
        for (const T_Filedata& entry : remote_)
            if (entry.name == candidate && entry.kind == T_Filedata::kFile) listed = &entry;
        if (!listed || listed->size > std::int64_t(kMaxVersionPageBytes)) continue;
        CappedStream page(kMaxVersionPageBytes);
        if (comm_.RunGetStream(directory_ + candidate, page) != TQzFtpComm::kSuccess) continue;
        serverVersion_ = ParseVersionPage(page.Bytes()).value_or(-1);
        return;
    }
}

std::string Publisher::VersionLabel() const {
    return ServerVersionText(serverVersion_);
}

std::string Publisher::PageAddress() const {
    const std::int32_t cover = set_.HeaderView().I32(kHdrCoverPage);
    const TKYToggetto* page = set_.ObjectByKind(TOggettiHel::testoHtml, cover);
    if (!page || page->IsFree()) return fields_.www;
    return fields_.www + html_.ObjectFileName(*page, 0);
}

// ---------------------------------------------------------------------------------------------
// Choosing

void Publisher::ChooseChanged() {
    list_.CheckNewerThan(serverVersion_);
}

void Publisher::ToggleAll() {
    allChecked_ = !allChecked_;
    list_.SetAllChecked(allChecked_);
}

// ---------------------------------------------------------------------------------------------
// Publishing

std::string Publisher::ImagesPart() const {
    return html_.ExpSepImage ? std::string(kImagesFolder) + "/" : std::string();
}

std::vector<PublishTransfer> Publisher::Plan() const {
    std::vector<PublishTransfer> plan;
    const std::string remote = directory_.empty() ? WithSlash(fields_.BaseDir) : directory_;
    const auto& rows = list_.Rows();
    for (int i = 0; i < int(rows.size()); ++i) {
        const TListHtmlRow& row = rows[std::size_t(i)];
        if (!row.checked) continue;
        std::string first, second;
        list_.ItemFiles(i, first, second);
        const std::string name(LastComponent(first));
        if (!row.code) {
            plan.push_back({first, remote + name, SizeOf(first)});
        } else if (row.kind == TOggettiHel::testoHtml) {
            plan.push_back({first, remote + name, SizeOf(first)});
            if (!second.empty())
                plan.push_back(
                    {second, remote + std::string(LastComponent(second)), SizeOf(second)});
            if (const TKYToggetto* page = list_.ObjectOf(i)) {
                const std::string alias = html_.AliasFileName(*page);
                if (!alias.empty())
                    plan.push_back({NameOfPath(NativePath(html_.ExportPath) / NativePath(alias)),
                                    remote + alias, std::int64_t(html_.AliasPage(*page).size())});
            }
        } else {
            const TKYToggetto* object = list_.ObjectOf(i);
            plan.push_back(
                {first, remote + ImagesPart() + name, object ? object->Content().Size() : 0});
        }
    }
    const std::string version = VersionPageBytes(set_.KYTFileName(), set_.SaveCounter() - 1);
    plan.push_back({"", remote + VersionPageName(), std::int64_t(version.size())});
    return plan;
}

int Publisher::Finish(int result) {
    status_ = std::string(PublishStatusText(result));
    return result;
}

int Publisher::Publish() {
    if (running_) return TQzFtpComm::kNotStarted;
    detail_.clear();
    if (fields_.pass.empty()) {
        messages_.Inform(kEnterPasswordText);
        return TQzFtpComm::kNotStarted;
    }
    RunningScope running(running_, OnRunning);
    sent_.clear();
    comm_.Ftp().Password = fields_.pass;
    if (set_.Modified() && messages_.Ask(kSaveFirstQuestion) && SaveDocument) (void)SaveDocument();
    if (set_.KYTFileName().empty() || !IsFile(set_.KYTFileName()))
        return Finish(TQzFtpComm::kStopped);
    int result = EnsureConnected();
    if (result != TQzFtpComm::kSuccess) return Finish(result);
    if (directory_.empty()) directory_ = WithSlash(fields_.BaseDir);

    bool imagesPending = html_.ExpSepImage;
    const std::int32_t published = set_.SaveCounter() - 1;
    const int rows = int(list_.Rows().size());
    for (int i = 0; i < rows; ++i) {
        if (list_.Rows()[std::size_t(i)].checked) {
            result = SendItem(i, imagesPending);
            if (result != TQzFtpComm::kSuccess) return Finish(result);
            list_.MutableRows()[std::size_t(i)].checked = false;
            list_.SetStamp(i, published);
        } else if (list_.AdvanceStamp(i, published)) {
            // Counts as changed at the next publication.
            set_.SetModified(true);
        }
    }
    MemoryStream page(VersionPageBytes(set_.KYTFileName(), published));
    const std::string target = directory_ + VersionPageName();
    result = comm_.RunPutStream(page, target);
    if (result != TQzFtpComm::kSuccess) {
        detail_ = comm_.ErrorText();
        return Finish(result);
    }
    const PublishTransfer sent{"", target, page.Size()};
    sent_.push_back(sent);
    if (OnSent) OnSent(sent);
    list_.RefreshStamps();
    (void)Reload();
    return Finish(result);
}

int Publisher::SendItem(int row, bool& imagesPending) {
    const TListHtmlRow& item = list_.Rows()[std::size_t(row)];
    std::string first, second;
    list_.ItemFiles(row, first, second);
    const std::string name(LastComponent(first));
    if (!item.code) return Put(first, directory_ + name);
    TKYToggetto* object = list_.ObjectOf(row);
    if (!object) {
        detail_ = std::string(kCannotOpenFileText) + first;
        return kLocalFileFailed;
    }
    if (item.kind == TOggettiHel::testoHtml) {
        // A page whose file is missing is an error, never stamped as published.
        int result = Put(first, directory_ + name);
        if (result == TQzFtpComm::kSuccess && !second.empty() && IsFile(second))
            result = Put(second, directory_ + std::string(LastComponent(second)));
        if (result != TQzFtpComm::kSuccess) return result;
        Result<std::string> alias = html_.WriteAliasPage(*object, html_.ExportPath);
        if (!alias) {
            detail_ = alias.failure().text;
            return kLocalFileFailed;
        }
        if (!alias->empty()) result = Put(*alias, directory_ + std::string(LastComponent(*alias)));
        return result;
    }
    // Pictures and linked files: written from the document, then sent. With images in their
    // own folder both kinds live there, as the pages refer to them.
    if (imagesPending) {
        const int made = MakeImagesFolder();
        if (made != TQzFtpComm::kSuccess)
            return made == TQzFtpComm::kStopped ? made : kImagesFolderFailed;
        imagesPending = false;
    }
    const std::filesystem::path local = NativePath(first);
    std::error_code ec;
    std::filesystem::create_directories(local.parent_path(), ec);
    Result<std::string> bytes = object->ContentBytes();
    if (!bytes) {
        detail_ = bytes.failure().text;
        return kLocalFileFailed;
    }
    if (Status written = WriteFileAtomically(local, *bytes); !written) {
        detail_ = written.failure().text;
        return kLocalFileFailed;
    }
    return Put(first, directory_ + ImagesPart() + name);
}

int Publisher::MakeImagesFolder() {
    const int made = comm_.RunMakeDir(directory_ + std::string(kImagesFolder) + "/");
    if (made == TQzFtpComm::kSuccess || made == TQzFtpComm::kStopped) return made;
    // A folder made by an earlier publication is refused by MKD ("550 File exists."): it is
    // what we want, so look for it before giving up.
    if (comm_.RunList(directory_) == TQzFtpComm::kSuccess) {
        T_Filedata entry;
        bool found = false;
        while (comm_.Ftp().NextListingEntry(entry))
            if (entry.name == kImagesFolder && entry.kind == T_Filedata::kDirectory) found = true;
        if (found) return TQzFtpComm::kSuccess;
    }
    detail_ = comm_.ErrorText();
    return kImagesFolderFailed;
}

int Publisher::Put(const std::string& local, const std::string& remote) {
    if (!IsFile(local)) {
        detail_ = std::string(kCannotOpenFileText) + local;
        return kLocalFileFailed;
    }
    const int result = comm_.RunPutFile(NativePath(local), remote);
    if (result != TQzFtpComm::kSuccess) {
        detail_ = comm_.ErrorText();
        return result;
    }
    const PublishTransfer sent{local, remote, SizeOf(local)};
    sent_.push_back(sent);
    if (OnSent) OnSent(sent);
    return result;
}

void Publisher::Stop() {
    if (comm_.Busy()) (void)comm_.StopOperation();
}

// ---------------------------------------------------------------------------------------------
// The document file

int Publisher::TransferDocument() {
    detail_.clear();
    if (set_.Modified() && messages_.Ask(kSaveFirstQuestion) && SaveDocument) (void)SaveDocument();
    const std::string& document = set_.KYTFileName();
    if (document.empty() || !IsFile(document)) {
        status_ = "Errore: " + document;
        return TQzFtpComm::kNotStarted;
    }
    return SendFiles({document});
}

int Publisher::SendFiles(const std::vector<std::string>& localFiles) {
    if (running_) return TQzFtpComm::kNotStarted;
    if (fields_.pass.empty()) {
        messages_.Inform(kEnterPasswordText);
        return TQzFtpComm::kNotStarted;
    }
    RunningScope running(running_, OnRunning);
    sent_.clear();
    comm_.Ftp().Password = fields_.pass;
    int result = EnsureConnected();
    if (result == TQzFtpComm::kSuccess && directory_.empty())
        directory_ = WithSlash(fields_.BaseDir);
    for (const std::string& file : localFiles) {
        if (result != TQzFtpComm::kSuccess) break;
        result = Put(file, directory_ + std::string(LastComponent(file)));
    }
    if (result != TQzFtpComm::kStopped && comm_.Ftp().LoggedIn()) (void)ListDirectory();
    status_ = std::string(TransferStatusText(result));
    return result;
}

int Publisher::FetchFiles(const std::vector<std::string>& remoteNames,
                          const std::filesystem::path& folder) {
    if (running_) return TQzFtpComm::kNotStarted;
    RunningScope running(running_, OnRunning);
    detail_.clear();
    comm_.Ftp().Password = fields_.pass;
    int result = EnsureConnected();
    for (const std::string& name : remoteNames) {
        if (result != TQzFtpComm::kSuccess) break;
        bool listedFile = false;
        for (const T_Filedata& entry : remote_)
            if (entry.name == name && entry.kind == T_Filedata::kFile) listedFile = true;
        if (!listedFile) continue;
        Result<std::filesystem::path> target = LocalPathForRemoteName(folder, name);
        if (!target) {
            detail_ = target.failure().text;
            result = TQzFtpComm::kNotStarted;
            break;
        }
        std::error_code ec;
        if (std::filesystem::exists(*target, ec)) {
            // The open document reads its pages from its file: it is never replaced under it.
            if (!set_.KYTFileName().empty() &&
                std::filesystem::equivalent(*target, NativePath(set_.KYTFileName()), ec)) {
                detail_ = std::string("Non si può sostituire l'ipertesto aperto: "_cp) + name;
                result = TQzFtpComm::kNotStarted;
                break;
            }
            if (!messages_.Ask("Il file " + name + std::string(" esiste già. Sostituirlo?"_cp)))
                continue;
        }
        result = comm_.RunGetFile(directory_ + name, *target);
        if (result != TQzFtpComm::kSuccess) detail_ = comm_.ErrorText();
    }
    status_ = std::string(TransferStatusText(result));
    return result;
}

}  // namespace orvo
