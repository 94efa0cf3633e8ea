// The TCP layer under the FTP session: its exceptions, an owned socket, and T_TcpIp, a blocking
// client whose every wait is bounded by a time-out and can be cut short from another thread.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orvo {

inline constexpr std::string_view kHostNotFoundText =
    "Non riesco a tradurre in numeri il nome host ";
inline constexpr std::string_view kSocketErrorText = "Errore di creazione socket";
inline constexpr std::string_view kProtocolBusyText = "Protocollo occupato";
inline constexpr std::string_view kTimeoutText = "Il server non risponde (tempo scaduto)";
inline constexpr std::string_view kConnectionClosedText = "Connessione chiusa dal server";
inline constexpr std::string_view kStoppedText = "Interrotto dall'utente";
inline constexpr std::string_view kLineTooLongText = "Risposta del server troppo lunga";

/// Every failure of the TCP and FTP layers. The message is the user's text (Windows-1252).
class ETcpIpError : public std::runtime_error {
public:
    explicit ETcpIpError(const std::string& message) : std::runtime_error(message) {}
};

/// A socket could not be made or connected; `code` is the system's error number.
class ESocketError : public ETcpIpError {
public:
    explicit ESocketError(int code) : ETcpIpError(std::string(kSocketErrorText)), code(code) {}
    int code;
};

/// The server answered with an error: its reply code and text.
class EProtocolError : public ETcpIpError {
public:
    EProtocolError(std::string protocol, int code, const std::string& text)
        : ETcpIpError(text), protocol(std::move(protocol)), code(code) {}
    std::string protocol;
    int code;
};

/// A command was given while a transfer runs.
class EProtocolBusy : public ETcpIpError {
public:
    EProtocolBusy() : ETcpIpError(std::string(kProtocolBusyText)) {}
};

/// Refused on our side before or after a dialogue that stayed in step with the server (an
/// argument that cannot be sent, a local file, a short transfer): the session stays open.
class EFtpLocalError : public ETcpIpError {
public:
    explicit EFtpLocalError(const std::string& message) : ETcpIpError(message) {}
};

/// The operation was stopped from another thread.
class EStopped : public ETcpIpError {
public:
    EStopped() : ETcpIpError(std::string(kStoppedText)) {}
};

/// Trace callback: text, level (0 command, 1 reply line, 2 bytes moved, 3 socket events) and
/// the byte count of level 2.
using TTraceProc = std::function<void(std::string_view text, int level, std::int64_t count)>;

/// An owned socket descriptor, closed when it goes.
class Socket {
public:
    Socket() = default;
    explicit Socket(int fd) : fd_(fd) {}
    Socket(Socket&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Socket& operator=(Socket&& other) noexcept;
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    ~Socket() { Close(); }

    int Fd() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    void Close();

private:
    int fd_ = -1;
};

/// Splits received bytes into lines: a line feed ends a line, carriage returns are dropped.
/// A line longer than the limit is refused rather than kept growing.
class LineBuffer {
public:
    static constexpr std::size_t kMaxLine = 8192;

    void Append(std::string_view bytes) { pending_.append(bytes); }
    /// The next whole line, if one has arrived.
    std::optional<std::string> TakeLine();
    /// What is left after the last line feed (the peer closed before ending it).
    std::string TakeRest();
    /// True when the bytes after the last line feed already exceed the limit.
    bool Overflowed() const { return pending_.size() - start_ > kMaxLine; }
    bool Empty() const { return pending_.size() == start_; }
    void Clear() {
        pending_.clear();
        start_ = 0;
    }

private:
    std::string pending_;
    std::size_t start_ = 0;
};

/// An IPv4 address and port in host byte order.
struct Endpoint {
    std::uint32_t address = 0;
    std::uint16_t port = 0;
};
std::string DottedAddress(std::uint32_t address);

/// A TCP client over blocking-style calls on non-blocking sockets: every wait is a poll bounded
/// by `Timeout` that also watches a wake-up descriptor, so Cancel() from any thread ends it.
/// Used on one thread at a time; only Cancel() may be called from another.
class T_TcpIp {
public:
    static constexpr std::size_t kBufferSize = 32512;

    T_TcpIp();
    virtual ~T_TcpIp();
    T_TcpIp(const T_TcpIp&) = delete;
    T_TcpIp& operator=(const T_TcpIp&) = delete;

    std::string Hostname;  // host name or dotted address
    int Timeout =
        30;  // seconds for a connect, a send or a receive to make progress; 0 waits forever
    TTraceProc OnTrace;
    std::function<void(std::int64_t count)> OnReceive;
    std::function<void(std::int64_t count)> OnSend;

    /// Resolves `Hostname` and connects the control socket to `port_`.
    void Connect();
    void Disconnect();
    bool Connected() const { return connected_; }
    /// True once the peer closed the control connection or a receive on it failed.
    bool PeerClosed() const { return closed_; }

    /// Sends `text` + "\r\n" on the control socket, all of it; traced at level 0 as
    /// `traceText` when given (so a password never reaches a trace).
    void SendLine(std::string_view text, std::optional<std::string_view> traceText = {});
    /// One line from the control socket. A peer that closes after part of a line gives that
    /// part; one that closes before any byte raises ETcpIpError.
    std::string ReceiveLine();

    /// Up to `size` bytes from `socket`; 0 when the peer closed it.
    std::size_t ReceiveBlock(Socket& socket, char* buffer, std::size_t size);
    /// Sends all `count` bytes on `socket`.
    void SendBlock(Socket& socket, const char* data, std::size_t count);

    /// Opens a connected socket to `to` (the data connection of passive mode).
    Socket ConnectTo(Endpoint to);
    /// A socket listening on `address` and a port the system chooses (backlog 2); `bound`
    /// receives the port.
    Socket Listen(std::uint32_t address, Endpoint& bound);
    /// Waits for a connection on `listening` from `from.address` and returns it; connections
    /// from other addresses are refused.
    Socket Accept(Socket& listening, std::uint32_t from);

    /// Local and peer endpoints of the control connection.
    Endpoint LocalEndpoint() const;
    Endpoint PeerEndpoint() const;

    /// Ends every wait of the thread using this object with EStopped and shuts the sockets
    /// down. Safe from any thread.
    void Cancel();
    /// Clears a previous Cancel(); call before starting new work.
    void ResetCancel();
    bool Cancelled() const { return cancelled_; }

protected:
    void Trace(std::string_view text, int level, std::int64_t count = 0);
    /// Installs or closes the data socket under the lock Cancel() takes.
    void SetDataSocket(Socket socket);
    void CloseDataSocket(bool shutdownSendFirst);
    /// Closes the data socket so that the peer sees a reset, not an end of data.
    void ResetDataSocket();
    void CloseControlSocket();

    int port_ = 21;
    Socket control_;
    Socket data_;
    std::string buffer_;  // kBufferSize bytes, one block of a transfer
    std::atomic<bool> connected_{false};
    std::atomic<bool> closed_{false};

private:
    void WaitFor(int fd, short events);
    std::uint32_t Resolve();

    LineBuffer lines_;
    int wakeFd_ = -1;
    std::atomic<bool> cancelled_{false};
    std::mutex
        socketsMutex_;  // held while a socket member is replaced and while Cancel() shuts them
};

}  // namespace orvo
