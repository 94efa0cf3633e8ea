// The open document file.
#include "model/DocumentFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace orvo {

Result<std::shared_ptr<const DocumentFile>> DocumentFile::Open(const std::filesystem::path& path) {
    // Not blocking: a name may be a FIFO or a device; only a regular file is kept.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return Fail("open failed");
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Fail("not a regular file");
    }
    std::shared_ptr<DocumentFile> file(new DocumentFile(fd, std::int64_t(st.st_size), path));
    file->device_ = std::uint64_t(st.st_dev);
    file->inode_ = std::uint64_t(st.st_ino);
    return std::shared_ptr<const DocumentFile>(std::move(file));
}

DocumentFile::~DocumentFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool DocumentFile::ReadInto(std::int64_t position, std::int64_t size, std::string& out) const {
    if (position < 0 || size < 0 || position > size_ || size > size_ - position) return false;
    const std::size_t start = out.size();
    out.resize(start + std::size_t(size));
    std::int64_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd_, out.data() + start + done, std::size_t(size - done),
                                  off_t(position + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            out.resize(start);
            return false;
        }
        done += n;
    }
    return true;
}

Result<std::string> DocumentFile::ReadAt(std::int64_t position, std::int64_t size) const {
    std::string bytes;
    if (!ReadInto(position, size, bytes)) return Fail("read failed");
    return bytes;
}

bool DocumentFile::SameFileAs(const std::filesystem::path& other) const {
    struct stat st {};
    if (::stat(other.c_str(), &st) != 0) return false;
    return std::uint64_t(st.st_dev) == device_ && std::uint64_t(st.st_ino) == inode_;
}

}  // namespace orvo
