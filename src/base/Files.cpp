// Whole-file reading, atomic replacement of a file, and the real file system.
#include "base/Files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "base/Cp1252.h"
#include "base/Paths.h"

namespace orvo {

using namespace orvo::literals;

static Failure ErrnoFailure(std::string_view what) {
    return Fail(std::string(what) + ": " + std::strerror(errno));
}

Result<FileStream> PosixFileSystem::Open(const std::filesystem::path& path, FileStream::Mode mode,
                                         unsigned permissions) {
    return FileStream::Open(path, mode, permissions);
}

bool PosixFileSystem::Write(FileStream& file, std::string_view bytes) {
    return file.Write(bytes);
}
bool PosixFileSystem::Sync(FileStream& file) {
    return file.Sync();
}
bool PosixFileSystem::Close(FileStream& file) {
    return file.Close();
}

Status PosixFileSystem::Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) return ErrnoFailure("rename");
    return Status::Ok();
}

Status PosixFileSystem::Link(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::link(from.c_str(), to.c_str()) != 0) return ErrnoFailure("link");
    return Status::Ok();
}

Status PosixFileSystem::Remove(const std::filesystem::path& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) return ErrnoFailure("unlink");
    return Status::Ok();
}

Status PosixFileSystem::SetPermissions(const std::filesystem::path& path, unsigned mode) {
    if (::chmod(path.c_str(), mode) != 0) return ErrnoFailure("chmod");
    return Status::Ok();
}

Status PosixFileSystem::SyncFolder(const std::filesystem::path& folder) {
    const std::filesystem::path dir = folder.empty() ? std::filesystem::path(".") : folder;
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return ErrnoFailure("open folder");
    const int rc = ::fsync(fd);
    ::close(fd);
    if (rc != 0) return ErrnoFailure("fsync folder");
    return Status::Ok();
}

std::optional<FileIdentity> PosixFileSystem::Identify(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return FileIdentity{st.st_dev, st.st_ino, unsigned(st.st_mode & 07777), st.st_size};
}

IFileSystem& RealFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

Result<std::string> ReadFileBytes(const std::filesystem::path& path) {
    auto file = FileStream::Open(path, FileStream::Mode::Read);
    if (!file) return file.failure();
    const std::int64_t size = file->Size();
    std::string bytes;
    if (size > 0) bytes.resize(std::size_t(size));
    const std::size_t got = bytes.empty() ? 0 : file->Read(bytes.data(), bytes.size());
    bytes.resize(got);
    // A file that grew while being read: take the rest too.
    char chunk[65536];
    for (std::size_t n; (n = file->Read(chunk, sizeof chunk)) > 0;) bytes.append(chunk, n);
    return bytes;
}

std::string NotRegularFileMessage(const std::filesystem::path& target) {
    return "Impossibile scrivere \"" + NameOfPath(target) +
           std::string("\": non è un file normale e non viene sostituito."_cp);
}

Result<std::filesystem::path> ReplaceableTarget(const std::filesystem::path& target) {
    std::filesystem::path path = target;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            if (errno == ENOENT) return path;
            return ErrnoFailure(path.string());
        }
        if (S_ISREG(st.st_mode)) return path;
        if (!S_ISLNK(st.st_mode)) return Fail(NotRegularFileMessage(target));
        std::error_code ec;
        const std::filesystem::path named = std::filesystem::read_symlink(path, ec);
        if (ec) return Fail(path.string() + ": " + ec.message());
        path = named.is_absolute() ? named : path.parent_path() / named;
    }
    errno = ELOOP;
    return ErrnoFailure(target.string());
}

void RemoveStaleTemporaries(const std::filesystem::path& target) {
    const std::string start = "." + target.filename().string() + ".";
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::error_code ec;
    std::vector<std::filesystem::path> stale;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (!name.starts_with(start) || !name.ends_with(".tmp")) continue;
        std::string_view rest = std::string_view(name).substr(start.size());
        if (rest.starts_with("bak.")) rest.remove_prefix(4);
        // The process number, then "-", as UniqueSuffix writes it.
        std::size_t digits = 0;
        while (digits < rest.size() && digits < 10 && rest[digits] >= '0' && rest[digits] <= '9')
            ++digits;
        if (digits == 0 || digits >= rest.size() || rest[digits] != '-') continue;
        const long long pid = std::stoll(std::string(rest.substr(0, digits)));
        if (pid <= 0 || pid > std::numeric_limits<pid_t>::max() || pid == ::getpid()) continue;
        if (::kill(pid_t(pid), 0) == 0 || errno != ESRCH) continue;  // running, or not ours
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) == 0 && S_ISREG(st.st_mode))
            stale.push_back(it->path());
    }
    for (const std::filesystem::path& path : stale) (void)::unlink(path.c_str());
}

static std::string UniqueSuffix() {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    return std::to_string(::getpid()) + "-" + std::to_string(seed) + "-" +
           std::to_string(counter.fetch_add(1));
}

Result<TemporaryFile> CreateTemporaryBeside(IFileSystem& fs, const std::filesystem::path& target,
                                            unsigned permissions) {
    const std::filesystem::path folder = target.parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate =
            folder / ("." + target.filename().string() + "." + UniqueSuffix() + ".tmp");
        auto stream = fs.Open(candidate, FileStream::Mode::CreateExclusive, permissions);
        if (stream) return TemporaryFile{std::move(candidate), std::move(*stream)};
        if (errno != EEXIST) return stream.failure();
    }
    return Fail("no unique temporary name");
}

namespace {

Status WriteBesideAndRename(const std::filesystem::path& named, std::string_view bytes,
                            std::optional<unsigned> newFileMode, IFileSystem& fs, bool flush) {
    const Result<std::filesystem::path> resolved = ReplaceableTarget(named);
    if (!resolved) return resolved.failure();
    const std::filesystem::path& target = *resolved;
    const std::optional<FileIdentity> existing = fs.Identify(target);
    auto temporary = CreateTemporaryBeside(fs, target, newFileMode.value_or(0666));
    if (!temporary) return temporary.failure();
    auto abandon = [&](Failure failure) -> Status {
        (void)fs.Close(temporary->stream);
        (void)fs.Remove(temporary->path);
        return failure;
    };
    if (!fs.Write(temporary->stream, bytes)) return abandon(ErrnoFailure("write"));
    if (flush && !fs.Sync(temporary->stream)) return abandon(ErrnoFailure("fsync"));
    if (!fs.Close(temporary->stream)) return abandon(ErrnoFailure("close"));
    const std::optional<unsigned> mode = existing ? std::optional(existing->mode) : newFileMode;
    if (mode) {
        if (Status s = fs.SetPermissions(temporary->path, *mode); !s) return abandon(s.failure());
    }
    if (Status s = fs.Rename(temporary->path, target); !s) return abandon(s.failure());
    return flush ? fs.SyncFolder(target.parent_path()) : Status::Ok();
}

}  // namespace

Status WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                           std::optional<unsigned> newFileMode, IFileSystem& fs) {
    return WriteBesideAndRename(target, bytes, newFileMode, fs, true);
}

Status ReplaceFileUnflushed(const std::filesystem::path& target, std::string_view bytes,
                            IFileSystem& fs) {
    return WriteBesideAndRename(target, bytes, std::nullopt, fs, false);
}

}  // namespace orvo
