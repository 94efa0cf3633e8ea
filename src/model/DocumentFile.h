// The open document file: kept open for reading while a document is loaded, because pictures
// and embedded files are read from it on demand.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "base/Result.h"

namespace orvo {

/// A read-only descriptor on a document file. Every read is bounded by the size the file had
/// when it was opened and fails, rather than returning less, when the file has since shrunk.
class DocumentFile {
public:
    static Result<std::shared_ptr<const DocumentFile>> Open(const std::filesystem::path& path);
    ~DocumentFile();
    DocumentFile(const DocumentFile&) = delete;
    DocumentFile& operator=(const DocumentFile&) = delete;

    std::int64_t Size() const { return size_; }
    const std::filesystem::path& Path() const { return path_; }
    /// `size` bytes at `position`, or a failure when they lie outside the file or cannot be read.
    Result<std::string> ReadAt(std::int64_t position, std::int64_t size) const;
    /// Appends `size` bytes at `position` to `out` (no copy of a whole content in between).
    [[nodiscard]] bool ReadInto(std::int64_t position, std::int64_t size, std::string& out) const;
    /// Device and inode, to tell whether another path names the same file.
    bool SameFileAs(const std::filesystem::path& other) const;

private:
    DocumentFile(int fd, std::int64_t size, std::filesystem::path path)
        : fd_(fd), size_(size), path_(std::move(path)) {}
    int fd_ = -1;
    std::int64_t size_ = 0;
    std::filesystem::path path_;
    std::uint64_t device_ = 0;
    std::uint64_t inode_ = 0;
};

}  // namespace orvo
