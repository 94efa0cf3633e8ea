// The TCP layer on POSIX sockets.
#include "publish/TcpIp.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace orvo {

namespace {

sockaddr_in MakeAddress(Endpoint e) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(e.address);
    sa.sin_port = htons(e.port);
    return sa;
}

Endpoint FromAddress(const sockaddr_in& sa) {
    return Endpoint{ntohl(sa.sin_addr.s_addr), ntohs(sa.sin_port)};
}

std::string SocketId(const Socket& s) {
    return std::to_string(s.Fd());
}

}  // namespace

Socket& Socket::operator=(Socket&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

void Socket::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::optional<std::string> LineBuffer::TakeLine() {
    const std::size_t end = pending_.find('\n', start_);
    if (end == std::string::npos) {
        if (start_ > 0 && start_ == pending_.size()) Clear();
        return std::nullopt;
    }
    std::string line;
    line.reserve(end - start_);
    for (std::size_t i = start_; i < end; ++i)
        if (pending_[i] != '\r') line.push_back(pending_[i]);
    start_ = end + 1;
    if (start_ == pending_.size()) Clear();
    return line;
}

std::string LineBuffer::TakeRest() {
    std::string rest;
    for (std::size_t i = start_; i < pending_.size(); ++i)
        if (pending_[i] != '\r') rest.push_back(pending_[i]);
    Clear();
    return rest;
}

std::string DottedAddress(std::uint32_t a) {
    return std::to_string(a >> 24) + "." + std::to_string((a >> 16) & 0xFF) + "." +
           std::to_string((a >> 8) & 0xFF) + "." + std::to_string(a & 0xFF);
}

T_TcpIp::T_TcpIp() : buffer_(kBufferSize, '\0') {
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

T_TcpIp::~T_TcpIp() {
    std::lock_guard lock(socketsMutex_);
    data_.Close();
    control_.Close();
    if (wakeFd_ >= 0) ::close(wakeFd_);
}

void T_TcpIp::Trace(std::string_view text, int level, std::int64_t count) {
    if (OnTrace) OnTrace(text, level, count);
}

void T_TcpIp::Cancel() {
    cancelled_ = true;
    if (wakeFd_ >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
    }
    std::lock_guard lock(socketsMutex_);
    if (data_.IsOpen()) ::shutdown(data_.Fd(), SHUT_RDWR);
    if (control_.IsOpen()) ::shutdown(control_.Fd(), SHUT_RDWR);
}

void T_TcpIp::ResetCancel() {
    std::uint64_t value = 0;
    if (wakeFd_ >= 0) {
        [[maybe_unused]] const ssize_t n = ::read(wakeFd_, &value, sizeof value);
    }
    cancelled_ = false;
}

// Waits until `fd` is ready for `events`, the time-out runs out (ETcpIpError) or Cancel() is
// called (EStopped).
void T_TcpIp::WaitFor(int fd, short events) {
    using Clock = std::chrono::steady_clock;
    const bool forever = Timeout <= 0;
    const auto deadline = Clock::now() + std::chrono::seconds(forever ? 0 : Timeout);
    while (true) {
        if (cancelled_) throw EStopped();
        pollfd fds[2] = {{fd, events, 0}, {wakeFd_, POLLIN, 0}};
        int wait = -1;
        if (!forever) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) throw ETcpIpError(std::string(kTimeoutText));
            wait = int(left.count()) + 1;
        }
        const int n = ::poll(fds, wakeFd_ >= 0 ? 2 : 1, wait);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw ESocketError(errno);
        }
        if (fds[1].revents != 0 || cancelled_) throw EStopped();
        if (fds[0].revents != 0) return;
    }
}

std::uint32_t T_TcpIp::Resolve() {
    if (Hostname.empty()) throw ETcpIpError(std::string(kHostNotFoundText));
    in_addr parsed{};
    if (::inet_pton(AF_INET, Hostname.c_str(), &parsed) == 1) return ntohl(parsed.s_addr);
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(Hostname.c_str(), nullptr, &hints, &found) != 0 || !found)
        throw ETcpIpError(std::string(kHostNotFoundText) + Hostname);
    const auto* sa = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    const std::uint32_t address = ntohl(sa->sin_addr.s_addr);
    ::freeaddrinfo(found);
    return address;
}

Socket T_TcpIp::ConnectTo(Endpoint to) {
    Socket s(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!s.IsOpen()) throw ESocketError(errno);
    Trace("Apertura socket ID " + SocketId(s), 3);
    const sockaddr_in sa = MakeAddress(to);
    if (::connect(s.Fd(), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0) {
        if (errno != EINPROGRESS) throw ESocketError(errno);
        WaitFor(s.Fd(), POLLOUT);
        int error = 0;
        socklen_t len = sizeof error;
        if (::getsockopt(s.Fd(), SOL_SOCKET, SO_ERROR, &error, &len) != 0) error = errno;
        if (error != 0) throw ESocketError(error);
    }
    return s;
}

void T_TcpIp::Connect() {
    if (connected_) Disconnect();
    const std::uint32_t address = Resolve();
    Socket s = ConnectTo(Endpoint{address, std::uint16_t(port_)});
    {
        std::lock_guard lock(socketsMutex_);
        control_ = std::move(s);
    }
    lines_.Clear();
    closed_ = false;
    connected_ = true;
    if (cancelled_) throw EStopped();
}

void T_TcpIp::Disconnect() {
    CloseDataSocket(false);
    CloseControlSocket();
    connected_ = false;
}

void T_TcpIp::CloseControlSocket() {
    std::lock_guard lock(socketsMutex_);
    if (control_.IsOpen()) {
        Trace("Chiusura socket ID " + SocketId(control_), 3);
        control_.Close();
    }
    lines_.Clear();
}

void T_TcpIp::SetDataSocket(Socket socket) {
    std::lock_guard lock(socketsMutex_);
    data_ = std::move(socket);
    if (cancelled_ && data_.IsOpen()) ::shutdown(data_.Fd(), SHUT_RDWR);
}

void T_TcpIp::CloseDataSocket(bool shutdownSendFirst) {
    std::lock_guard lock(socketsMutex_);
    if (!data_.IsOpen()) return;
    if (shutdownSendFirst) ::shutdown(data_.Fd(), SHUT_WR);
    Trace("Chiusura socket ID " + SocketId(data_), 3);
    data_.Close();
}

void T_TcpIp::ResetDataSocket() {
    std::lock_guard lock(socketsMutex_);
    if (!data_.IsOpen()) return;
    linger hard{1, 0};
    ::setsockopt(data_.Fd(), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    Trace("Chiusura socket ID " + SocketId(data_), 3);
    data_.Close();
}

void T_TcpIp::SendBlock(Socket& socket, const char* data, std::size_t count) {
    std::size_t sent = 0;
    while (sent < count) {
        if (cancelled_) throw EStopped();
        const ssize_t n =
            ::send(socket.Fd(), data + sent, count - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += std::size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            WaitFor(socket.Fd(), POLLOUT);
            continue;
        }
        if (cancelled_) throw EStopped();
        throw ETcpIpError(std::string(kConnectionClosedText));
    }
    if (OnSend) OnSend(std::int64_t(count));
}

std::size_t T_TcpIp::ReceiveBlock(Socket& socket, char* buffer, std::size_t size) {
    while (true) {
        if (cancelled_) throw EStopped();
        const ssize_t n = ::recv(socket.Fd(), buffer, size, MSG_DONTWAIT);
        if (n > 0) {
            if (OnReceive) OnReceive(n);
            return std::size_t(n);
        }
        if (n == 0) {
            if (cancelled_) throw EStopped();
            return 0;
        }
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            WaitFor(socket.Fd(), POLLIN);
            continue;
        }
        if (cancelled_) throw EStopped();
        // A reset is not an end of data: the transfer did not complete.
        throw ETcpIpError(std::string(kConnectionClosedText));
    }
}

void T_TcpIp::SendLine(std::string_view text, std::optional<std::string_view> traceText) {
    if (!control_.IsOpen()) throw ETcpIpError(std::string(kConnectionClosedText));
    std::string line(text);
    line += "\r\n";
    Trace(traceText ? *traceText : text, 0);
    SendBlock(control_, line.data(), line.size());
}

std::string T_TcpIp::ReceiveLine() {
    char chunk[1024];
    while (true) {
        if (auto line = lines_.TakeLine()) return *line;
        if (lines_.Overflowed()) throw ETcpIpError(std::string(kLineTooLongText));
        if (closed_ || !control_.IsOpen()) throw ETcpIpError(std::string(kConnectionClosedText));
        std::size_t n = 0;
        try {
            n = ReceiveBlock(control_, chunk, sizeof chunk);
        } catch (const EStopped&) {
            throw;
        } catch (const ETcpIpError&) {
            closed_ = true;
            throw;
        }
        if (n == 0) {
            closed_ = true;
            if (lines_.Empty()) throw ETcpIpError(std::string(kConnectionClosedText));
            return lines_.TakeRest();
        }
        lines_.Append(std::string_view(chunk, n));
    }
}

Socket T_TcpIp::Listen(std::uint32_t address, Endpoint& bound) {
    Socket s(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!s.IsOpen()) throw ESocketError(errno);
    Trace("Apertura socket ID " + SocketId(s), 3);
    const sockaddr_in sa = MakeAddress(Endpoint{address, 0});
    if (::bind(s.Fd(), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0)
        throw ESocketError(errno);
    Trace("Bind socket ID " + SocketId(s), 3);
    if (::listen(s.Fd(), 2) != 0) throw ESocketError(errno);
    Trace("Listen socket ID " + SocketId(s), 3);
    sockaddr_in got{};
    socklen_t len = sizeof got;
    if (::getsockname(s.Fd(), reinterpret_cast<sockaddr*>(&got), &len) != 0)
        throw ESocketError(errno);
    bound = FromAddress(got);
    return s;
}

Socket T_TcpIp::Accept(Socket& listening, std::uint32_t from) {
    while (true) {
        WaitFor(listening.Fd(), POLLIN);
        sockaddr_in peer{};
        socklen_t len = sizeof peer;
        Socket s(::accept4(listening.Fd(), reinterpret_cast<sockaddr*>(&peer), &len,
                           SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!s.IsOpen()) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK || errno == ECONNABORTED)
                continue;
            throw ESocketError(errno);
        }
        if (FromAddress(peer).address != from) continue;  // only the server may connect
        Trace("Accept socket ID " + SocketId(s), 3);
        return s;
    }
}

Endpoint T_TcpIp::LocalEndpoint() const {
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    if (!control_.IsOpen() ||
        ::getsockname(control_.Fd(), reinterpret_cast<sockaddr*>(&sa), &len) != 0)
        throw ESocketError(errno);
    return FromAddress(sa);
}

Endpoint T_TcpIp::PeerEndpoint() const {
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    if (!control_.IsOpen() ||
        ::getpeername(control_.Fd(), reinterpret_cast<sockaddr*>(&sa), &len) != 0)
        throw ESocketError(errno);
    return FromAddress(sa);
}

}  // namespace orvo
