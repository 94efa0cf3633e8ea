// The FTP session: T_Ftp, an RFC 959 client on the TCP layer, and TQzFtpComm, the runner that
// does each operation on a worker thread and reports a result code (200 success, -6 failure,
// -1 not started, 0 stopped).
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/ByteStream.h"
#include "base/Result.h"
#include "platform/IScheduler.h"
#include "platform/LoopScheduler.h"
#include "publish/FtpListing.h"
#include "publish/FtpReply.h"
#include "publish/TcpIp.h"
#include "publish/WinThread.h"

namespace orvo {

inline constexpr std::string_view kListingTooLongText = "Elenco del server troppo lungo";
inline constexpr std::string_view kIncompleteTransferText = "Trasferimento incompleto";
inline constexpr std::string_view kUnsafeNameText = "Nome di file non ammesso";
inline constexpr std::string_view kCannotOpenFileText = "Non riesco ad aprire il file ";
inline constexpr std::string_view kCannotWriteFileText = "Non riesco a scrivere il file ";
inline constexpr std::string_view kDefaultPassword = "anonymous@";

enum class T_ftp_mode { tftp_download, tftp_upload, tftp_getdir };

/// Called after every data block: mode, expected size (-1 unknown), bytes so far.
using TDataTransferProc =
    std::function<void(T_ftp_mode mode, std::int64_t expected, std::int64_t bytesSoFar)>;
using TFTPActionCompleteProc = std::function<void(T_ftp_mode mode)>;

/// An FTP client. Its operations block (with time-outs) and raise the ETcpIpError family;
/// TQzFtpComm runs them on a worker thread and turns what they raise into result codes. A
/// failure of the connection itself (closed, reset, timed out, stopped) closes the session, so
/// the next command opens a new one; an error reply keeps it.
class T_Ftp : public T_TcpIp {
public:
    static constexpr std::size_t kMaxListing = 16 * 1024 * 1024;

    T_Ftp();
    ~T_Ftp() override;

    std::string URI;  // the remote file RetrieveFile and StoreFile act on
    std::string Username = "ftp";
    std::string Password = std::string(kDefaultPassword);
    bool Passive = true;
    int Port = 21;
    T_ftp_mode Mode = T_ftp_mode::tftp_download;
    TDataTransferProc OnDataTxRx;
    TFTPActionCompleteProc OnActionComplete;

    void OpenSession();
    void CloseSession();
    void ListDirectory(const std::string& path);
    void RetrieveFile(ByteStream* stream);
    void StoreFile(ByteStream* stream);
    void AbortTransfer();
    void ChangeDirectory(const std::string& directory);
    void CurrentDirectory(std::string& directory);
    void DeleteFile(const std::string& name);
    void RemoveDirectory(const std::string& name);
    void MakeDirectory(const std::string& name);
    void RenameFile(const std::string& oldName, const std::string& newName);
    /// The next entry of the last listing; false when the lines are exhausted.
    bool NextListingEntry(T_Filedata& entry);

    /// Closes the sockets without a word to the server (after a stop or a broken connection).
    void DropConnection();

    int ReplyCode() const { return replyCode_; }
    const std::string& ReplyText() const { return replyText_; }
    bool Busy() const { return busy_; }
    bool LoggedIn() const { return loggedIn_; }
    std::int64_t ExpectedSize() const { return expectedSize_; }
    /// True when the last listing, retrieval or storage ran to its final reply.
    bool TransferCompleted() const { return completed_; }
    const std::vector<std::string>& ListingLines() const { return listingLines_; }
    /// The year given to listing dates that carry a time instead of a year.
    std::function<int()> CurrentYear;

private:
    template <class F>
    void Guarded(F&& body);
    void ReadReply();
    void SendCommand(std::string_view verb, std::string_view argument = {});
    void CheckBusy() const;
    void EnsureSession();
    /// Passive: PASV and the connection to the control peer. Active: a listening socket and
    /// PORT. Either way the data socket is ready for AcceptData() after the command's reply.
    void OpenDataConnection();
    void AcceptData();
    void FinishTransfer(T_ftp_mode mode);

    int replyCode_ = 0;
    std::string replyText_;
    std::atomic<bool> busy_{false};
    bool loggedIn_ = false;
    bool completed_ = false;
    std::int64_t expectedSize_ = -1;
    std::int64_t bytesSoFar_ = 0;
    Socket listening_;  // active mode, until the server connects
    std::string listing_;
    std::vector<std::string> listingLines_;
    std::size_t listingIndex_ = 0;
    ByteStream* downloadStream_ = nullptr;
    ByteStream* uploadStream_ = nullptr;
};

/// The worker actions, numbered as the runner dispatches them.
enum class FtpAction {
    Rename = 0,
    Delete = 1,
    RemoveDir = 2,
    MakeDir = 3,
    Connect = 4,
    Close = 5,
    Retrieve = 6,
    Store = 7,
    List = 8,
    CurrentDir = 9,
    ChangeDir = 10,
};

/// The operation runner. Each Run... starts its action on a worker thread and waits through
/// the owner's event pump, so the owner keeps handling its events (a stop button included);
/// Begin... starts it and reports the result later through `OnDone`, on the owner thread. One
/// operation runs at a time: a call while one runs returns -1 and leaves the running one
/// undisturbed. The session stays open between operations.
class TQzFtpComm {
public:
    static constexpr int kSuccess = 200;
    static constexpr int kFailure = -6;
    static constexpr int kNotStarted = -1;
    static constexpr int kStopped = 0;

    TQzFtpComm(IScheduler& scheduler, IEventPump& pump);
    ~TQzFtpComm();
    TQzFtpComm(const TQzFtpComm&) = delete;
    TQzFtpComm& operator=(const TQzFtpComm&) = delete;

    /// The session: set Hostname, Port, Username, Password, Passive and Timeout here before the
    /// first operation (owner thread, while no operation runs).
    T_Ftp& Ftp() { return ftp_; }
    const T_Ftp& Ftp() const { return ftp_; }

    int RunRename(const std::string& oldName, const std::string& newName);
    int RunDelete(const std::string& name);
    int RunRemoveDir(const std::string& name);
    int RunMakeDir(const std::string& name);
    int RunConnect();
    int RunCloseSession();
    /// Fetches `remoteName` into `localPath`. The data goes to a temporary file beside it that
    /// replaces the local file only when the whole transfer succeeded.
    int RunGetFile(const std::string& remoteName, const std::filesystem::path& localPath);
    /// Fetches a name that came from a listing into `folder` under the same name; a name that
    /// would leave the folder is refused (-1, error text kUnsafeNameText).
    int RunGetIntoFolder(const std::string& remoteName, const std::filesystem::path& folder);
    int RunGetStream(const std::string& remoteName, ByteStream& stream);
    int RunPutFile(const std::filesystem::path& localPath, const std::string& remoteName);
    int RunPutStream(ByteStream& stream, const std::string& remoteName);
    int RunList(const std::string& path);
    /// `directory` is "/" when the operation cannot start.
    int RunCurrentDir(std::string& directory);
    int RunChangeDir(const std::string& directory);
    /// Stops the running operation: its sockets are shut down, its thread joined and the session
    /// closed (the next operation opens a new one). Result 0.
    int StopOperation();

    /// Starts an action without waiting; 200 when it started, -1 when busy or when an argument
    /// is missing. OnDone(result) follows on the owner thread.
    int Begin(FtpAction action, std::string first = {}, std::string second = {},
              ByteStream* stream = nullptr);
    std::function<void(int result)> OnDone;
    /// True when an operation starts, false when it ends (owner thread): a progress bar shows
    /// and hides itself with it.
    std::function<void(bool busy)> OnBusyChanged;
    /// Every trace line of the session, on the worker thread (the password shows as "******").
    TTraceProc OnTrace;

    int ResultCode() const { return result_; }
    /// The message of the failure that ended the last operation (Windows-1252).
    const std::string& ErrorText() const { return errorText_; }
    bool Busy() const { return busy_; }
    bool Failed() const { return failed_; }
    /// The answer of the last RunCurrentDir.
    const std::string& CurrentDirAnswer() const { return currentDir_; }

    // Progress, written by the worker and read from any thread.
    std::int64_t BytesSoFar() const { return bytesSoFar_; }
    std::int64_t TotalBytes() const { return totalBytes_; }  // -1 when unknown
    /// The gauge of a progress bar: bytes so far × 100 / total, or -1 when the total is unknown.
    int ProgressPercent() const;
    std::string StatusText() const;

private:
    int RunAndWait(FtpAction action, std::string first = {}, std::string second = {},
                   ByteStream* stream = nullptr);
    void Dispatch(int action);
    void GetIntoLocalFile();
    void PutFromLocalFile();
    void Finish();

    IEventPump& pump_;
    T_Ftp ftp_;
    TWinThread thread_;
    std::atomic<bool> busy_{false};
    bool failed_ = false;
    int result_ = kNotStarted;
    std::string errorText_;
    std::string currentDir_ = "/";
    std::atomic<std::int64_t> bytesSoFar_{0};
    std::atomic<std::int64_t> totalBytes_{-1};
    mutable std::mutex statusMutex_;
    std::string status_;
    // The arguments of the running action: two strings, a stream, a local file.
    std::string first_, second_;
    ByteStream* stream_ = nullptr;
    std::filesystem::path localPath_;
};

/// True for a name from a server listing that may name a local file: not empty, not "." or
/// "..", no "/", "\\", drive colon or control character.
bool IsSafeRemoteName(std::string_view remoteName);

/// The local path for a name taken from a server listing: inside `folder`, or a failure with
/// kUnsafeNameText when the name is empty, "." or "..", holds a separator, a drive colon or a
/// control character.
Result<std::filesystem::path> LocalPathForRemoteName(const std::filesystem::path& folder,
                                                     std::string_view remoteName);

}  // namespace orvo
