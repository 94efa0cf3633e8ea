// The settings hive on disk: the registry's key tree below "\\SOFTWARE\\QX\\Orvo3.0lite\\" kept
// in one text file, replaced atomically, shared safely by several running programs.
#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Files.h"
#include "base/Result.h"
#include "platform/Environment.h"
#include "platform/ISettings.h"

namespace orvo {

/// The registry path of the program's key, as the settings file writes it.
inline constexpr std::string_view kProgramKey = "\\SOFTWARE\\QX\\Orvo3.0lite";

/// What the settings file held when it was last read.
struct SettingsFileState {
    bool exists = false;
    bool damaged = false;  // lines that could not be read, or no end line
    int damagedLine = 0;   // the first such line, 1-based (0: the end line is missing)
};

/// Reads and writes the text form of a settings tree. The file is UTF-8 and reads like a
/// registry export:
///
///     ; Orvo settings
///     [\SOFTWARE\QX\Orvo3.0lite\options]
///     "Bak"="1"
///     ; end
///
/// Names and values are Windows-1252 in memory. In quoted strings "\\", "\"", "\r", "\n", "\t"
/// and "\xHH" stand for themselves; in key lines "%HH" stands for a byte. Every key is written,
/// empty ones too, so a group that holds only groups survives.
std::string SerializeSettings(const SettingsTree& tree);
/// Reads what SerializeSettings writes. A line that cannot be read is skipped and marks the
/// state damaged; keys outside the program's key are dropped the same way.
SettingsTree ParseSettings(std::string_view text, SettingsFileState* state = nullptr);

/// The file store. Every change is applied to what is on disk at that moment: under an
/// exclusive lock (flock on "<file>.lock") the file is read again, the change is made on the
/// fresh tree, and the whole file is replaced (temporary file, fsync, rename). Two programs
/// that write in turn therefore lose nothing of each other's. Reads look again at the file
/// when it has changed since it was read. The file and its lock are mode 0600 (the store holds
/// FTP passwords), the folder 0700 when it is made.
///
/// A write that fails (no room, no permission) is kept in memory, so this program goes on
/// seeing it, and is tried again at the next change or Flush; LastFailure() tells why. A
/// damaged file is copied to "<file>.damaged" before it is first replaced.
class FileSettings final : public ISettings {
public:
    explicit FileSettings(std::filesystem::path file, IFileSystem& fs = RealFileSystem());

    /// "settings.reg" in the user's configuration folder ($ORVO_HOME, else
    /// $XDG_CONFIG_HOME/orvo).
    static std::filesystem::path DefaultPath(const Environment& environment);

    std::optional<std::string> Read(std::string_view key, std::string_view name) const override;
    void Write(std::string_view key, std::string_view name, std::string_view value) override;
    bool KeyExists(std::string_view key) const override;
    std::vector<std::string> SubKeys(std::string_view key) const override;
    std::vector<std::string> ValueNames(std::string_view key) const override;
    void DeleteKey(std::string_view key) override;
    void DeleteValue(std::string_view key, std::string_view name) override;

    /// Holds back writing while it lives: the changes made meanwhile are written together, in
    /// one locked replacement, when the outermost Batch ends.
    class Batch {
    public:
        explicit Batch(FileSettings& settings);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        FileSettings& settings_;
    };

    /// Writes the changes not yet on disk; Ok when there are none.
    Status Flush();
    /// Why the last write failed; Ok after a write that succeeded.
    Status LastFailure() const;
    /// Changes made in this program that are not on disk yet.
    std::size_t PendingChanges() const;
    SettingsFileState FileState() const;
    const std::filesystem::path& Path() const { return file_; }

private:
    struct Change {
        enum Kind { kWrite, kDeleteKey, kDeleteValue } kind;
        std::string key, name, value;
    };
    struct Stamp {
        bool exists = false;
        unsigned long long device = 0, inode = 0;
        long long size = 0, mtimeNs = 0;
        bool operator==(const Stamp&) const = default;
    };

    static void Apply(SettingsTree& tree, const Change& change);
    Stamp CurrentStamp() const;
    // Reads the file again when it changed (mutex_ held); pending changes are laid over it.
    void Refresh() const;
    void LoadLocked() const;
    void Record(Change change);
    Status FlushLocked();
    Status WriteUnderLock();

    std::filesystem::path file_;
    std::filesystem::path lockFile_;
    IFileSystem& fs_;

    mutable std::recursive_mutex mutex_;
    mutable SettingsTree disk_;  // as last read from the file
    mutable SettingsTree view_;  // disk_ with pending_ applied: what this program sees
    mutable Stamp stamp_;
    mutable SettingsFileState state_;
    mutable bool loaded_ = false;
    mutable bool unreadable_ = false;  // the file is there but could not be read
    std::vector<Change> pending_;
    int batchDepth_ = 0;
    bool backedUp_ = false;
    Status lastFailure_;
};

}  // namespace orvo
