// Whole-file reading, atomic replacement of a file, and the file-system seam through which
// tests make opens, writes, renames and links fail.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/ByteStream.h"
#include "base/Result.h"

namespace orvo {

struct FileIdentity {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    unsigned mode = 0;  // permission bits
    long long size = 0;
    bool operator==(const FileIdentity& o) const { return device == o.device && inode == o.inode; }
};

/// The file operations a save goes through. PosixFileSystem does them for real; a test derives
/// from it and overrides one operation to make it fail.
class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    virtual Result<FileStream> Open(const std::filesystem::path& path, FileStream::Mode mode,
                                    unsigned permissions) = 0;
    [[nodiscard]] virtual bool Write(FileStream& file, std::string_view bytes) = 0;
    [[nodiscard]] virtual bool Sync(FileStream& file) = 0;
    [[nodiscard]] virtual bool Close(FileStream& file) = 0;
    virtual Status Rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    /// A second name for a file (hard link); fails if `to` exists.
    virtual Status Link(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    virtual Status Remove(const std::filesystem::path& path) = 0;
    virtual Status SetPermissions(const std::filesystem::path& path, unsigned mode) = 0;
    virtual Status SyncFolder(const std::filesystem::path& folder) = 0;
    /// Device, inode and mode of a file, following symbolic links; nullopt when it is missing.
    virtual std::optional<FileIdentity> Identify(const std::filesystem::path& path) = 0;
};

class PosixFileSystem : public IFileSystem {
public:
    Result<FileStream> Open(const std::filesystem::path& path, FileStream::Mode mode,
                            unsigned permissions) override;
    [[nodiscard]] bool Write(FileStream& file, std::string_view bytes) override;
    [[nodiscard]] bool Sync(FileStream& file) override;
    [[nodiscard]] bool Close(FileStream& file) override;
    Status Rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
    Status Link(const std::filesystem::path& from, const std::filesystem::path& to) override;
    Status Remove(const std::filesystem::path& path) override;
    Status SetPermissions(const std::filesystem::path& path, unsigned mode) override;
    Status SyncFolder(const std::filesystem::path& folder) override;
    std::optional<FileIdentity> Identify(const std::filesystem::path& path) override;
};

/// The process's real file system.
IFileSystem& RealFileSystem();

/// The whole content of a file.
Result<std::string> ReadFileBytes(const std::filesystem::path& path);

/// The file a replacement of `target` must write: `target` itself when it is a regular file
/// or missing, the file a symbolic link names (through any chain of links; a link to nothing
/// gives the name it holds), so the link stays and the file it names changes. Anything else
/// (a folder, a pipe, a device, a socket) is refused with NotRegularFileMessage.
Result<std::filesystem::path> ReplaceableTarget(const std::filesystem::path& target);
std::string NotRegularFileMessage(const std::filesystem::path& target);

/// Removes the temporaries that writes of `target` left beside it (".NAME.PID-...tmp", also
/// ".NAME.bak.PID-...tmp") when the process that made them no longer runs: a write that was
/// killed never removed its own. Those of running processes stay.
void RemoveStaleTemporaries(const std::filesystem::path& target);

/// Creates a new file next to `target` with a unique name, exclusively (never following a
/// link), and returns its path and stream.
struct TemporaryFile {
    std::filesystem::path path;
    FileStream stream;
};
Result<TemporaryFile> CreateTemporaryBeside(IFileSystem& fs, const std::filesystem::path& target,
                                            unsigned permissions = 0666);

/// Replaces `target` with `bytes` so that the target is always a whole file: a temporary file
/// in the same folder is written, flushed and renamed over it, then the folder is flushed. An
/// existing target's permission bits are kept; a new file gets `newFileMode` (0666 less the
/// umask when not given). A symbolic link is followed (ReplaceableTarget) and what is not a
/// regular file is refused. On failure the target is untouched and no temporary file remains.
Status WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                           std::optional<unsigned> newFileMode = std::nullopt,
                           IFileSystem& fs = RealFileSystem());

/// WriteFileAtomically without flushing anything to the disk, for files that are made again at
/// will (exports): a crash may lose the new file, but never leaves a half-written one in its
/// place.
Status ReplaceFileUnflushed(const std::filesystem::path& target, std::string_view bytes,
                            IFileSystem& fs = RealFileSystem());

}  // namespace orvo
