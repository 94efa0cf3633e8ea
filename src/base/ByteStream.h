// Byte streams in the roles the document code uses: in memory and on disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/Result.h"

namespace orvo {

/// A stream with a position. Reads return how many bytes came; writes return false on failure.
class ByteStream {
public:
    virtual ~ByteStream() = default;
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    [[nodiscard]] virtual bool Write(const void* data, std::size_t count) = 0;
    virtual std::int64_t Position() const = 0;
    [[nodiscard]] virtual bool Seek(std::int64_t position) = 0;
    virtual std::int64_t Size() const = 0;

    [[nodiscard]] bool Write(std::string_view bytes) { return Write(bytes.data(), bytes.size()); }
    /// Reads exactly `count` bytes or fails, leaving the position after what was read.
    [[nodiscard]] bool ReadExact(void* buffer, std::size_t count) {
        return Read(buffer, count) == count;
    }
};

/// A growable stream over a byte string.
class MemoryStream final : public ByteStream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::string bytes) : bytes_(std::move(bytes)) {}

    std::size_t Read(void* buffer, std::size_t count) override;
    [[nodiscard]] bool Write(const void* data, std::size_t count) override;
    using ByteStream::Write;
    std::int64_t Position() const override { return std::int64_t(pos_); }
    [[nodiscard]] bool Seek(std::int64_t position) override;
    std::int64_t Size() const override { return std::int64_t(bytes_.size()); }

    const std::string& Bytes() const { return bytes_; }
    std::string TakeBytes() { return std::move(bytes_); }
    void Clear() {
        bytes_.clear();
        pos_ = 0;
    }

private:
    std::string bytes_;
    std::size_t pos_ = 0;
};

/// A stream over a file on disk (unbuffered POSIX descriptor).
class FileStream final : public ByteStream {
public:
    enum class Mode { Read, ReadWrite, Create, CreateExclusive };
    /// Opens `path`; Create truncates or makes the file, CreateExclusive fails if it exists.
    static Result<FileStream> Open(const std::filesystem::path& path, Mode mode,
                                   unsigned permissions = 0666);
    FileStream(FileStream&& other) noexcept;
    FileStream& operator=(FileStream&& other) noexcept;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;
    ~FileStream() override;

    std::size_t Read(void* buffer, std::size_t count) override;
    [[nodiscard]] bool Write(const void* data, std::size_t count) override;
    using ByteStream::Write;
    std::int64_t Position() const override;
    [[nodiscard]] bool Seek(std::int64_t position) override;
    std::int64_t Size() const override;
    /// Flushes the file's data to the disk (fsync).
    [[nodiscard]] bool Sync();
    /// Closes the descriptor; false when the close reported an error.
    [[nodiscard]] bool Close();
    int Descriptor() const { return fd_; }

private:
    explicit FileStream(int fd) : fd_(fd) {}
    int fd_ = -1;
};

}  // namespace orvo
