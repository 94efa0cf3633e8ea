// The FTP session and its operation runner.
#include "publish/uQzFtp.h"

#include <algorithm>
#include <ctime>
#include <system_error>
#include <utility>

#include "base/Files.h"
#include "base/Paths.h"

namespace orvo {

namespace {

int SystemYear() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return parts.tm_year + 1900;
}

// Replaces the password wherever a server's text repeats it.
std::string Scrub(std::string text, const std::string& password) {
    if (password.size() < 4) return text;
    for (std::size_t at = text.find(password); at != std::string::npos;
         at = text.find(password, at + 6))
        text.replace(at, password.size(), "******");
    return text;
}

void CheckArgument(std::string_view argument) {
    if (!IsSafeArgument(argument)) throw EFtpLocalError(std::string(kBadArgumentText));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// T_Ftp

T_Ftp::T_Ftp() : CurrentYear(&SystemYear) {}

T_Ftp::~T_Ftp() = default;

// Runs one command sequence. An error reply or a local refusal keeps the session (the dialogue
// is still in step); anything else (closed, reset, timed out, stopped, a garbled reply) closes
// it, so the next command starts afresh. The data connection never outlives the sequence.
template <class F>
void T_Ftp::Guarded(F&& body) {
    try {
        body();
    } catch (const EProtocolBusy&) {
        throw;
    } catch (const EProtocolError&) {
        CloseDataSocket(false);
        listening_.Close();
        busy_ = false;
        throw;
    } catch (const EFtpLocalError&) {
        CloseDataSocket(false);
        listening_.Close();
        busy_ = false;
        throw;
    } catch (...) {
        DropConnection();
        throw;
    }
}

void T_Ftp::DropConnection() {
    CloseDataSocket(false);
    listening_.Close();
    CloseControlSocket();
    connected_ = false;
    loggedIn_ = false;
    busy_ = false;
}

void T_Ftp::ReadReply() {
    ReplyAssembler reply;
    try {
        bool complete = false;
        while (!complete) {
            std::string line = Scrub(ReceiveLine(), Password);
            Trace(line, 1);
            complete = reply.Feed(std::move(line));
        }
    } catch (const ParseError& e) {
        throw ETcpIpError(e.what());
    }
    replyCode_ = reply.Code();
    replyText_ = reply.Text();
    if (replyCode_ > 399) throw EProtocolError("FTP", replyCode_, replyText_);
}

void T_Ftp::SendCommand(std::string_view verb, std::string_view argument) {
    CheckArgument(argument);
    std::string line(verb);
    line += argument;
    SendLine(line);
}

void T_Ftp::CheckBusy() const {
    if (busy_) throw EProtocolBusy();
}

void T_Ftp::EnsureSession() {
    if (!connected_) OpenSession();
}

void T_Ftp::OpenSession() {
    CheckArgument(Username);
    CheckArgument(Password);
    Guarded([&] {
        port_ = Port;
        loggedIn_ = false;
        busy_ = false;
        Connect();
        expectedSize_ = -1;
        ReadReply();
        SendCommand("USER ", Username);
        ReadReply();
        // 230 after USER: logged in without a password; PASS would only earn a 503.
        if (replyCode_ != 230) {
            SendLine("PASS " + Password, std::string_view("PASS ******"));
            ReadReply();
        }
        loggedIn_ = true;
        SendLine("TYPE I");
        ReadReply();
    });
}

void T_Ftp::CloseSession() {
    if (busy_) {
        try {
            AbortTransfer();
        } catch (const ETcpIpError&) {
        }
    }
    if (!connected_) return;
    if (control_.IsOpen() && !closed_) {
        try {
            SendLine("QUIT");
            ReadReply();
        } catch (const ETcpIpError&) {
            // The session closes all the same.
        }
    }
    DropConnection();
}

void T_Ftp::OpenDataConnection() {
    if (Passive) {
        SendLine("PASV");
        ReadReply();
        if (replyCode_ != 227) throw EProtocolError("FTP", replyCode_, replyText_);
        const auto target = ParsePasvReply(replyText_);
        if (!target) throw EProtocolError("FTP", replyCode_, std::string(kBadPassiveText));
        // Only the port is taken: the data connection goes where the control connection goes.
        SetDataSocket(ConnectTo(Endpoint{PeerEndpoint().address, target->port}));
        return;
    }
    Endpoint bound;
    listening_ = Listen(LocalEndpoint().address, bound);
    const std::uint32_t a = bound.address;
    SendLine("PORT " + std::to_string(a >> 24) + "," + std::to_string((a >> 16) & 0xFF) + "," +
             std::to_string((a >> 8) & 0xFF) + "," + std::to_string(a & 0xFF) + "," +
             std::to_string(bound.port >> 8) + "," + std::to_string(bound.port & 0xFF));
    ReadReply();
}

void T_Ftp::AcceptData() {
    if (Passive) return;
    SetDataSocket(Accept(listening_, PeerEndpoint().address));
    listening_.Close();
}

void T_Ftp::FinishTransfer(T_ftp_mode mode) {
    completed_ = true;
    if (OnActionComplete) OnActionComplete(mode);
    busy_ = false;
}

void T_Ftp::ListDirectory(const std::string& path) {
    completed_ = false;
    expectedSize_ = -1;
    CheckBusy();
    CheckArgument(path);
    Guarded([&] {
        EnsureSession();
        if (path.empty()) return;
        OpenDataConnection();
        if (!Passive) {
            SendLine("TYPE A");
            ReadReply();
        }
        SendCommand("LIST ", path);
        ReadReply();
        AcceptData();
        Mode = T_ftp_mode::tftp_getdir;
        completed_ = false;
        busy_ = true;
        listing_.clear();
        bytesSoFar_ = 0;
        while (const std::size_t n = ReceiveBlock(data_, buffer_.data(), kBufferSize)) {
            if (listing_.size() + n > kMaxListing)
                throw ETcpIpError(std::string(kListingTooLongText));
            listing_.append(buffer_.data(), n);
            bytesSoFar_ += std::int64_t(n);
            if (OnTrace)
                Trace("Ricevuti " + std::to_string(n) + " bytes sul socket ID " +
                          std::to_string(data_.Fd()),
                      2, std::int64_t(n));
            if (OnDataTxRx) OnDataTxRx(Mode, -1, bytesSoFar_);
            if (!busy_) return;  // aborted from the callback
        }
        ReadReply();
        CloseDataSocket(true);
        if (!Passive) {
            SendLine("TYPE I");
            ReadReply();
        }
        listingLines_ = SplitListingLines(listing_);
        listing_.clear();
        listingIndex_ = 0;
        FinishTransfer(T_ftp_mode::tftp_getdir);
    });
}

void T_Ftp::RetrieveFile(ByteStream* stream) {
    completed_ = false;
    if (stream) downloadStream_ = stream;
    if (!downloadStream_) return;
    CheckBusy();
    CheckArgument(URI);
    Guarded([&] {
        EnsureSession();
        if (URI.empty()) return;
        OpenDataConnection();
        SendCommand("RETR ", URI);
        ReadReply();
        expectedSize_ = ExpectedSizeOfReply(replyText_);
        AcceptData();
        Mode = T_ftp_mode::tftp_download;
        completed_ = false;
        busy_ = true;
        bytesSoFar_ = 0;
        while (const std::size_t n = ReceiveBlock(data_, buffer_.data(), kBufferSize)) {
            if (!downloadStream_->Write(buffer_.data(), n))
                throw ETcpIpError(std::string(kCannotWriteFileText));
            bytesSoFar_ += std::int64_t(n);
            if (OnTrace)
                Trace("Ricevuti " + std::to_string(n) + " bytes sul socket ID " +
                          std::to_string(data_.Fd()),
                      2, std::int64_t(n));
            if (OnDataTxRx) OnDataTxRx(Mode, expectedSize_, bytesSoFar_);
            if (!busy_) return;
        }
        ReadReply();
        CloseDataSocket(false);
        // A data connection that ended before the announced size is a broken transfer, whatever
        // the server says about it.
        if (expectedSize_ > 0 && bytesSoFar_ < expectedSize_)
            throw EFtpLocalError(std::string(kIncompleteTransferText));
        FinishTransfer(T_ftp_mode::tftp_download);
    });
}

void T_Ftp::StoreFile(ByteStream* stream) {
    completed_ = false;
    if (stream) uploadStream_ = stream;
    if (!uploadStream_) return;
    CheckBusy();
    CheckArgument(URI);
    Guarded([&] {
        EnsureSession();
        if (URI.empty()) return;
        OpenDataConnection();
        SendCommand("STOR ", URI);
        ReadReply();
        AcceptData();
        Mode = T_ftp_mode::tftp_upload;
        completed_ = false;
        busy_ = true;
        expectedSize_ = uploadStream_->Size();
        // A local file that cannot be read to its end must not leave a shortened copy that the
        // server takes for whole: the data connection is reset, not closed.
        const auto abandon = [&] {
            ResetDataSocket();
            try {
                ReadReply();
            } catch (const EProtocolError&) {
            }
            throw EFtpLocalError(std::string(kCannotOpenFileText));
        };
        if (!uploadStream_->Seek(0)) abandon();
        bytesSoFar_ = 0;
        while (true) {
            const std::size_t n = uploadStream_->Read(buffer_.data(), kBufferSize);
            if (n == 0) break;
            SendBlock(data_, buffer_.data(), n);
            bytesSoFar_ += std::int64_t(n);
            if (OnTrace)
                Trace("Trasmessi " + std::to_string(n) + " bytes sul socket ID " +
                          std::to_string(data_.Fd()),
                      2, std::int64_t(n));
            if (OnDataTxRx) OnDataTxRx(Mode, expectedSize_, bytesSoFar_);
            if (!busy_) return;
        }
        if (bytesSoFar_ < expectedSize_) abandon();
        CloseDataSocket(true);
        ReadReply();
        FinishTransfer(T_ftp_mode::tftp_upload);
    });
}

void T_Ftp::AbortTransfer() {
    if (!busy_) return;
    Guarded([&] {
        SendLine("ABOR");
        CloseDataSocket(false);
        try {
            ReadReply();
        } catch (const EProtocolError& e) {
            if (e.code != 426) throw;
            ReadReply();  // the answer to ABOR itself, after the aborted transfer's 426
        }
        busy_ = false;
    });
}

void T_Ftp::ChangeDirectory(const std::string& directory) {
    CheckBusy();
    CheckArgument(directory);
    Guarded([&] {
        EnsureSession();
        SendCommand("CWD ", directory);
        ReadReply();
    });
}

void T_Ftp::CurrentDirectory(std::string& directory) {
    CheckBusy();
    Guarded([&] {
        EnsureSession();
        SendLine("PWD");
        ReadReply();
        directory = DirectoryOfPwdReply(replyText_);
    });
}

void T_Ftp::DeleteFile(const std::string& name) {
    CheckBusy();
    CheckArgument(name);
    Guarded([&] {
        EnsureSession();
        SendCommand("DELE ", name);
        ReadReply();
    });
}

void T_Ftp::RemoveDirectory(const std::string& name) {
    CheckBusy();
    CheckArgument(name);
    Guarded([&] {
        EnsureSession();
        SendCommand("RMD ", name);
        ReadReply();
    });
}

void T_Ftp::MakeDirectory(const std::string& name) {
    CheckBusy();
    CheckArgument(name);
    Guarded([&] {
        EnsureSession();
        SendCommand("MKD ", name);
        ReadReply();
    });
}

void T_Ftp::RenameFile(const std::string& oldName, const std::string& newName) {
    CheckBusy();
    CheckArgument(oldName);
    CheckArgument(newName);
    Guarded([&] {
        EnsureSession();
        SendCommand("RNFR ", oldName);
        ReadReply();  // an error answer raises here, and RNTO is never sent
        SendCommand("RNTO ", newName);
        ReadReply();
    });
}

bool T_Ftp::NextListingEntry(T_Filedata& entry) {
    entry = T_Filedata{};
    const int year = CurrentYear ? CurrentYear() : SystemYear();
    while (listingIndex_ < listingLines_.size()) {
        auto parsed = ParseListingLine(listingLines_[listingIndex_++], year);
        if (parsed && IsListedEntry(*parsed)) {
            entry = std::move(*parsed);
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// TQzFtpComm

TQzFtpComm::TQzFtpComm(IScheduler& scheduler, IEventPump& pump) : pump_(pump), thread_(scheduler) {
    ftp_.OnDataTxRx = [this](T_ftp_mode, std::int64_t expected, std::int64_t bytes) {
        totalBytes_ = expected > 0 ? expected : -1;
        bytesSoFar_ = bytes;
    };
    ftp_.OnTrace = [this](std::string_view text, int level, std::int64_t count) {
        if (level <= 1) {
            std::lock_guard lock(statusMutex_);
            status_ = text;
        }
        if (OnTrace) OnTrace(text, level, count);
    };
    thread_.ThreadProc = [this](int action) { Dispatch(action); };
    thread_.ThreadException = [this](const std::string& message) {
        result_ = kFailure;
        errorText_ = Scrub(message, ftp_.Password);
        failed_ = true;
    };
    thread_.ThreadTerminate = [this] { Finish(); };
    thread_.OnKillRequest = [this] { ftp_.Cancel(); };
}

TQzFtpComm::~TQzFtpComm() {
    thread_.ThreadTerminate = nullptr;
    thread_.ThreadException = nullptr;
    thread_.KillAll();
}

std::string TQzFtpComm::StatusText() const {
    std::lock_guard lock(statusMutex_);
    return status_;
}

int TQzFtpComm::ProgressPercent() const {
    const std::int64_t total = totalBytes_;
    if (total <= 0) return -1;
    const std::int64_t bytes = std::min<std::int64_t>(bytesSoFar_, total);
    return int(bytes * 100 / total);
}

void TQzFtpComm::Finish() {
    busy_ = false;
    if (OnBusyChanged) OnBusyChanged(false);
    if (OnDone) OnDone(result_);
}

int TQzFtpComm::Begin(FtpAction action, std::string first, std::string second, ByteStream* stream) {
    if (busy_) return kNotStarted;
    const bool needsFirst = action == FtpAction::Rename || action == FtpAction::Delete ||
                            action == FtpAction::RemoveDir || action == FtpAction::MakeDir ||
                            action == FtpAction::Retrieve || action == FtpAction::Store ||
                            action == FtpAction::ChangeDir;
    const bool transfer = action == FtpAction::Retrieve || action == FtpAction::Store;
    if ((needsFirst && first.empty()) || (action == FtpAction::Rename && second.empty()) ||
        (transfer && !stream && localPath_.empty())) {
        localPath_.clear();
        return kNotStarted;
    }
    result_ = kSuccess;
    errorText_.clear();
    failed_ = false;
    busy_ = true;
    bytesSoFar_ = 0;
    totalBytes_ = -1;
    {
        std::lock_guard lock(statusMutex_);
        status_.clear();
    }
    first_ = std::move(first);
    second_ = std::move(second);
    stream_ = stream;
    ftp_.ResetCancel();
    if (OnBusyChanged) OnBusyChanged(true);
    auto spawned = thread_.Spawn(int(action));
    if (!spawned) {
        result_ = kFailure;
        errorText_ = spawned.failure().text;
        failed_ = true;
        busy_ = false;
        if (OnBusyChanged) OnBusyChanged(false);
        return kFailure;
    }
    return kSuccess;
}

int TQzFtpComm::RunAndWait(FtpAction action, std::string first, std::string second,
                           ByteStream* stream) {
    const int started = Begin(action, std::move(first), std::move(second), stream);
    if (started != kSuccess) return started;
    pump_.RunUntil([this] { return !busy_; });
    return result_;
}

int TQzFtpComm::RunRename(const std::string& oldName, const std::string& newName) {
    return RunAndWait(FtpAction::Rename, oldName, newName);
}
int TQzFtpComm::RunDelete(const std::string& name) {
    return RunAndWait(FtpAction::Delete, name);
}
int TQzFtpComm::RunRemoveDir(const std::string& name) {
    return RunAndWait(FtpAction::RemoveDir, name);
}
int TQzFtpComm::RunMakeDir(const std::string& name) {
    return RunAndWait(FtpAction::MakeDir, name);
}
int TQzFtpComm::RunConnect() {
    return RunAndWait(FtpAction::Connect);
}
int TQzFtpComm::RunCloseSession() {
    return RunAndWait(FtpAction::Close);
}
int TQzFtpComm::RunList(const std::string& path) {
    return RunAndWait(FtpAction::List, path);
}
int TQzFtpComm::RunChangeDir(const std::string& directory) {
    return RunAndWait(FtpAction::ChangeDir, directory);
}

int TQzFtpComm::RunCurrentDir(std::string& directory) {
    const int result = RunAndWait(FtpAction::CurrentDir);
    directory = result == kSuccess ? currentDir_ : "/";
    return result;
}

int TQzFtpComm::RunGetStream(const std::string& remoteName, ByteStream& stream) {
    return RunAndWait(FtpAction::Retrieve, remoteName, {}, &stream);
}

int TQzFtpComm::RunPutStream(ByteStream& stream, const std::string& remoteName) {
    return RunAndWait(FtpAction::Store, remoteName, {}, &stream);
}

int TQzFtpComm::RunGetFile(const std::string& remoteName, const std::filesystem::path& localPath) {
    if (busy_) return kNotStarted;
    if (localPath.empty()) return kNotStarted;
    localPath_ = localPath;
    return RunAndWait(FtpAction::Retrieve, remoteName);
}

int TQzFtpComm::RunPutFile(const std::filesystem::path& localPath, const std::string& remoteName) {
    if (busy_) return kNotStarted;
    if (localPath.empty()) return kNotStarted;
    localPath_ = localPath;
    return RunAndWait(FtpAction::Store, remoteName);
}

int TQzFtpComm::RunGetIntoFolder(const std::string& remoteName,
                                 const std::filesystem::path& folder) {
    if (busy_) return kNotStarted;
    auto local = LocalPathForRemoteName(folder, remoteName);
    if (!local) {
        result_ = kNotStarted;
        errorText_ = local.failure().text;
        return kNotStarted;
    }
    return RunGetFile(remoteName, *local);
}

int TQzFtpComm::StopOperation() {
    if (!busy_) return kStopped;
    thread_.KillAll();  // asks the session to stop (sockets shut down) and joins its threads
    ftp_.DropConnection();
    ftp_.ResetCancel();
    result_ = kStopped;
    errorText_.clear();
    failed_ = false;
    Finish();
    return kStopped;
}

void TQzFtpComm::Dispatch(int action) {
    switch (FtpAction(action)) {
        case FtpAction::Rename:
            ftp_.RenameFile(first_, second_);
            break;
        case FtpAction::Delete:
            ftp_.DeleteFile(first_);
            break;
        case FtpAction::RemoveDir:
            ftp_.RemoveDirectory(first_);
            break;
        case FtpAction::MakeDir:
            ftp_.MakeDirectory(first_);
            break;
        case FtpAction::Connect:
            ftp_.OpenSession();
            break;
        case FtpAction::Close:
            ftp_.CloseSession();
            break;
        case FtpAction::Retrieve:
            ftp_.URI = first_;
            if (stream_)
                ftp_.RetrieveFile(stream_);
            else
                GetIntoLocalFile();
            break;
        case FtpAction::Store:
            ftp_.URI = first_;
            if (stream_)
                ftp_.StoreFile(stream_);
            else
                PutFromLocalFile();
            break;
        case FtpAction::List:
            ftp_.ListDirectory(first_);
            break;
        case FtpAction::CurrentDir: {
            std::string directory;
            ftp_.CurrentDirectory(directory);
            currentDir_ = directory;
            break;
        }
        case FtpAction::ChangeDir:
            ftp_.ChangeDirectory(first_);
            break;
    }
}

void TQzFtpComm::GetIntoLocalFile() {
    const std::filesystem::path target = std::exchange(localPath_, {});
    const std::string name = NameOfPath(target);
    auto temp = CreateTemporaryBeside(RealFileSystem(), target);
    if (!temp) throw EFtpLocalError(std::string(kCannotOpenFileText) + name);
    // The temporary file goes unless it became the target.
    struct Discard {
        std::filesystem::path path;
        bool keep = false;
        ~Discard() {
            std::error_code ignored;
            if (!keep) std::filesystem::remove(path, ignored);
        }
    } discard{temp->path};
    ftp_.RetrieveFile(&temp->stream);
    if (!ftp_.TransferCompleted()) throw EFtpLocalError(std::string(kIncompleteTransferText));
    std::error_code error;
    const auto existing = std::filesystem::status(target, error);
    if (!error && std::filesystem::is_regular_file(existing))
        std::filesystem::permissions(temp->path, existing.permissions(), error);
    if (!temp->stream.Sync() || !temp->stream.Close())
        throw EFtpLocalError(std::string(kCannotWriteFileText) + name);
    if (!RealFileSystem().Rename(temp->path, target))
        throw EFtpLocalError(std::string(kCannotWriteFileText) + name);
    discard.keep = true;
    (void)RealFileSystem().SyncFolder(target.parent_path().empty() ? "." : target.parent_path());
}

void TQzFtpComm::PutFromLocalFile() {
    const std::filesystem::path source = std::exchange(localPath_, {});
    auto file = FileStream::Open(source, FileStream::Mode::Read);
    if (!file) throw EFtpLocalError(std::string(kCannotOpenFileText) + NameOfPath(source));
    ftp_.StoreFile(&*file);
}

bool IsSafeRemoteName(std::string_view remoteName) {
    for (unsigned char c : remoteName)
        if (c < 0x20 || c == 0x7F) return false;
    return IsSafeName(remoteName);
}

Result<std::filesystem::path> LocalPathForRemoteName(const std::filesystem::path& folder,
                                                     std::string_view remoteName) {
    if (!IsSafeRemoteName(remoteName)) return Fail(std::string(kUnsafeNameText));
    return folder / NativePath(remoteName);
}

}  // namespace orvo
