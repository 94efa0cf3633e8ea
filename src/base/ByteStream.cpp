// Byte streams in memory and on disk.
#include "base/ByteStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace orvo {

std::size_t MemoryStream::Read(void* buffer, std::size_t count) {
    if (pos_ >= bytes_.size()) return 0;
    const std::size_t n = std::min(count, bytes_.size() - pos_);
    std::memcpy(buffer, bytes_.data() + pos_, n);
    pos_ += n;
    return n;
}

bool MemoryStream::Write(const void* data, std::size_t count) {
    if (pos_ > bytes_.size()) bytes_.resize(pos_, '\0');
    const std::size_t overlap = std::min(count, bytes_.size() - pos_);
    std::memcpy(bytes_.data() + pos_, data, overlap);
    bytes_.append(static_cast<const char*>(data) + overlap, count - overlap);
    pos_ += count;
    return true;
}

bool MemoryStream::Seek(std::int64_t position) {
    if (position < 0) return false;
    pos_ = std::size_t(position);
    return true;
}

Result<FileStream> FileStream::Open(const std::filesystem::path& path, Mode mode,
                                    unsigned permissions) {
    int flags = O_CLOEXEC;
    switch (mode) {
        case Mode::Read:
            flags |= O_RDONLY;
            break;
        case Mode::ReadWrite:
            flags |= O_RDWR;
            break;
        case Mode::Create:
            flags |= O_RDWR | O_CREAT | O_TRUNC;
            break;
        case Mode::CreateExclusive:
            flags |= O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW;
            break;
    }
    int fd;
    do fd = ::open(path.c_str(), flags, permissions);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) return Fail(std::strerror(errno));
    return FileStream(fd);
}

FileStream::FileStream(FileStream&& other) noexcept : fd_(other.fd_) {
    other.fd_ = -1;
}

FileStream& FileStream::operator=(FileStream&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

FileStream::~FileStream() {
    if (fd_ >= 0) ::close(fd_);
}

std::size_t FileStream::Read(void* buffer, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(fd_, static_cast<char*>(buffer) + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += std::size_t(n);
    }
    return done;
}

bool FileStream::Write(const void* data, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd_, static_cast<const char*>(data) + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += std::size_t(n);
    }
    return true;
}

std::int64_t FileStream::Position() const {
    return ::lseek(fd_, 0, SEEK_CUR);
}

bool FileStream::Seek(std::int64_t position) {
    return position >= 0 && ::lseek(fd_, position, SEEK_SET) == position;
}

std::int64_t FileStream::Size() const {
    struct stat st {};
    return ::fstat(fd_, &st) == 0 ? std::int64_t(st.st_size) : -1;
}

bool FileStream::Sync() {
    return ::fsync(fd_) == 0;
}

bool FileStream::Close() {
    if (fd_ < 0) return true;
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0;
}

}  // namespace orvo
