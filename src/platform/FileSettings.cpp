// The settings hive on disk: its text form, and the locked read-merge-replace cycle.
#include "platform/FileSettings.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/Cp1252.h"
#include "base/Paths.h"

namespace orvo {
namespace {

constexpr std::string_view kHeaderLine = "; Orvo settings";
constexpr std::string_view kEndLine = "; end";
constexpr unsigned kFileMode = 0600;

using namespace orvo::literals;

Failure CannotSave(const std::filesystem::path& where) {
    return Fail(std::string("Non è stato possibile salvare le impostazioni in "_cp) +
                NameOfPath(where) + ".");
}

const char kHexDigits[] = "0123456789ABCDEF";

void AppendHexByte(std::string& out, char prefix, unsigned char c) {
    out += prefix;
    if (prefix == '\\') out += 'x';
    out += kHexDigits[c >> 4];
    out += kHexDigits[c & 15];
}

// Key names: "%" and control bytes as "%HH"; never a "\\" (it separates the groups).
std::string EscapeKeyName(std::string_view name) {
    std::string out;
    for (char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || c == '%')
            AppendHexByte(out, '%', c);
        else
            out += ch;
    }
    return out;
}

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (ch) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F)
                    AppendHexByte(out, '\\', c);
                else
                    out += ch;
        }
    }
    out += '"';
    return out;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a quoted string at text[pos]; advances pos past the closing quote.
bool ReadQuoted(std::string_view text, std::size_t& pos, std::string& out) {
    if (pos >= text.size() || text[pos] != '"') return false;
    ++pos;
    out.clear();
    while (pos < text.size()) {
        const char c = text[pos++];
        if (c == '"') return true;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (pos >= text.size()) return false;
        const char e = text[pos++];
        switch (e) {
            case '\\':
                out += '\\';
                break;
            case '"':
                out += '"';
                break;
            case 'r':
                out += '\r';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'x': {
                if (pos + 2 > text.size()) return false;
                const int hi = HexValue(text[pos]), lo = HexValue(text[pos + 1]);
                if (hi < 0 || lo < 0) return false;
                out += static_cast<char>(hi * 16 + lo);
                pos += 2;
                break;
            }
            default:
                return false;
        }
    }
    return false;
}

bool UnescapeKeyName(std::string_view text, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return false;
        const int hi = HexValue(text[i + 1]), lo = HexValue(text[i + 2]);
        if (hi < 0 || lo < 0) return false;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return true;
}

void SerializeNode(const SettingsTree::Node& node, const std::string& path, std::string& out) {
    out += '[';
    out += path;
    out += "]\n";
    for (const auto& [name, value] : node.values) {
        out += Quote(name);
        out += '=';
        out += Quote(value);
        out += '\n';
    }
    for (const auto& child : node.children)
        SerializeNode(*child, path + "\\" + EscapeKeyName(child->name), out);
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// The groups of a key line below the program's key, or nullopt when the line names another key.
std::optional<std::vector<std::string>> ReadKeyLine(std::string_view line) {
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
    const std::string_view inside = line.substr(1, line.size() - 2);
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= inside.size()) {
        std::size_t cut = inside.find('\\', start);
        if (cut == std::string_view::npos) cut = inside.size();
        std::string part;
        if (!UnescapeKeyName(inside.substr(start, cut - start), part)) return std::nullopt;
        parts.push_back(std::move(part));
        start = cut + 1;
    }
    // "\\SOFTWARE\\QX\\Orvo3.0lite": an empty first part, then the three names.
    static const char* const kRoot[] = {"", "SOFTWARE", "QX", "Orvo3.0lite"};
    if (parts.size() < 4) return std::nullopt;
    for (int i = 0; i < 4; ++i)
        if (!SameText1252(parts[i], kRoot[i])) return std::nullopt;
    parts.erase(parts.begin(), parts.begin() + 4);
    for (const auto& p : parts)
        if (p.empty() || p.find('/') != std::string::npos) return std::nullopt;
    return parts;
}

// The whole file, opened through the file-system seam.
std::optional<std::string> ReadThrough(IFileSystem& fs, const std::filesystem::path& path) {
    auto stream = fs.Open(path, FileStream::Mode::Read, 0);
    if (!stream) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const std::size_t n = stream->Read(buffer, sizeof buffer);
        if (n == 0) break;
        bytes.append(buffer, n);
    }
    const bool whole = std::int64_t(bytes.size()) == stream->Size();
    if (!fs.Close(*stream) || !whole) return std::nullopt;  // a read cut short is no content
    return bytes;
}

std::string JoinKey(const std::vector<std::string>& parts) {
    std::string key;
    for (const auto& p : parts) {
        if (!key.empty()) key += '\\';
        key += p;
    }
    return key;
}

}  // namespace

std::string SerializeSettings(const SettingsTree& tree) {
    std::string out(kHeaderLine);
    out += '\n';
    std::string body;
    SerializeNode(tree.Root(), std::string(kProgramKey), body);
    out += Cp1252ToUtf8(body);
    out += kEndLine;
    out += '\n';
    return out;
}

SettingsTree ParseSettings(std::string_view text, SettingsFileState* state) {
    SettingsTree tree;
    SettingsFileState local;
    local.exists = true;
    bool sawEnd = false;
    SettingsTree::Node* current = nullptr;
    int lineNumber = 0;
    std::size_t start = 0;
    auto markDamaged = [&](int line) {
        if (!local.damaged) local.damagedLine = line;
        local.damaged = true;
    };
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        ++lineNumber;
        const std::string line = Utf8ToCp1252(TrimRight(text.substr(start, end - start)));
        start = end + 1;
        if (sawEnd) {
            if (!line.empty()) markDamaged(lineNumber);
            continue;
        }
        if (line.empty()) continue;
        if (line[0] == ';') {
            if (line == kEndLine) sawEnd = true;
            continue;
        }
        if (line[0] == '[') {
            auto parts = ReadKeyLine(line);
            if (!parts) {
                markDamaged(lineNumber);
                current = nullptr;  // its values go with it
                continue;
            }
            current = &tree.FindOrCreate(JoinKey(*parts));
            continue;
        }
        std::size_t pos = 0;
        std::string name, value;
        if (current && ReadQuoted(line, pos, name) && pos < line.size() && line[pos] == '=' &&
            ReadQuoted(line, ++pos, value) && pos == line.size()) {
            SettingsTree::SetValue(*current, name, value);
        } else {
            markDamaged(lineNumber);
        }
    }
    if (!sawEnd && !local.damaged) {
        local.damaged = true;
        local.damagedLine = 0;
    }
    if (state) *state = local;
    return tree;
}

FileSettings::FileSettings(std::filesystem::path file, IFileSystem& fs)
    : file_(std::move(file)), fs_(fs) {
    lockFile_ = file_;
    lockFile_ += ".lock";
}

std::filesystem::path FileSettings::DefaultPath(const Environment& environment) {
    return environment.UserConfigDir() / "settings.reg";
}

FileSettings::Stamp FileSettings::CurrentStamp() const {
    Stamp s;
    struct stat st {};
    if (::stat(file_.c_str(), &st) != 0) return s;
    s.exists = true;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.size = st.st_size;
    s.mtimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    return s;
}

void FileSettings::LoadLocked() const {
    stamp_ = CurrentStamp();
    loaded_ = true;
    state_ = {};
    unreadable_ = false;
    if (!stamp_.exists) {
        disk_ = SettingsTree();
        return;
    }
    auto bytes = ReadThrough(fs_, file_);
    if (!bytes) {
        // A file that cannot be read is a key that cannot be opened: reads give nothing.
        disk_ = SettingsTree();
        state_.exists = true;
        unreadable_ = true;
        return;
    }
    disk_ = ParseSettings(*bytes, &state_);
}

void FileSettings::Refresh() const {
    if (loaded_ && CurrentStamp() == stamp_) return;
    LoadLocked();
    view_ = disk_;
    for (const auto& change : pending_) Apply(view_, change);
}

void FileSettings::Apply(SettingsTree& tree, const Change& change) {
    switch (change.kind) {
        case Change::kWrite:
            SettingsTree::SetValue(tree.FindOrCreate(change.key), change.name, change.value);
            break;
        case Change::kDeleteKey:
            tree.Remove(change.key);
            break;
        case Change::kDeleteValue:
            if (auto* node = const_cast<SettingsTree::Node*>(tree.Find(change.key)))
                SettingsTree::RemoveValue(*node, change.name);
            break;
    }
}

std::optional<std::string> FileSettings::Read(std::string_view key, std::string_view name) const {
    std::lock_guard lock(mutex_);
    Refresh();
    const auto* node = view_.Find(key);
    if (!node) return std::nullopt;
    const std::string* value = SettingsTree::ValueOf(*node, name);
    return value ? std::optional(*value) : std::nullopt;
}

bool FileSettings::KeyExists(std::string_view key) const {
    std::lock_guard lock(mutex_);
    Refresh();
    return view_.Find(key) != nullptr;
}

std::vector<std::string> FileSettings::SubKeys(std::string_view key) const {
    std::lock_guard lock(mutex_);
    Refresh();
    std::vector<std::string> out;
    if (const auto* node = view_.Find(key))
        for (const auto& child : node->children) out.push_back(child->name);
    return out;
}

std::vector<std::string> FileSettings::ValueNames(std::string_view key) const {
    std::lock_guard lock(mutex_);
    Refresh();
    std::vector<std::string> out;
    if (const auto* node = view_.Find(key))
        for (const auto& value : node->values) out.push_back(value.first);
    return out;
}

void FileSettings::Write(std::string_view key, std::string_view name, std::string_view value) {
    Record({Change::kWrite, std::string(key), std::string(name), std::string(value)});
}

void FileSettings::DeleteKey(std::string_view key) {
    Record({Change::kDeleteKey, std::string(key), {}, {}});
}

void FileSettings::DeleteValue(std::string_view key, std::string_view name) {
    Record({Change::kDeleteValue, std::string(key), std::string(name), {}});
}

void FileSettings::Record(Change change) {
    std::lock_guard lock(mutex_);
    Refresh();
    Apply(view_, change);
    pending_.push_back(std::move(change));
    if (batchDepth_ == 0) (void)FlushLocked();
}

FileSettings::Batch::Batch(FileSettings& settings) : settings_(settings) {
    std::lock_guard lock(settings_.mutex_);
    ++settings_.batchDepth_;
}

FileSettings::Batch::~Batch() {
    std::lock_guard lock(settings_.mutex_);
    if (--settings_.batchDepth_ == 0) (void)settings_.FlushLocked();
}

Status FileSettings::Flush() {
    std::lock_guard lock(mutex_);
    return FlushLocked();
}

Status FileSettings::LastFailure() const {
    std::lock_guard lock(mutex_);
    return lastFailure_;
}

std::size_t FileSettings::PendingChanges() const {
    std::lock_guard lock(mutex_);
    return pending_.size();
}

SettingsFileState FileSettings::FileState() const {
    std::lock_guard lock(mutex_);
    Refresh();
    return state_;
}

Status FileSettings::FlushLocked() {
    if (pending_.empty()) return lastFailure_ = Status::Ok();
    lastFailure_ = WriteUnderLock();
    return lastFailure_;
}

Status FileSettings::WriteUnderLock() {
    const std::filesystem::path folder = file_.parent_path();
    if (!folder.empty()) {
        std::error_code ec;
        if (!std::filesystem::is_directory(folder, ec)) {
            std::filesystem::create_directories(folder, ec);
            if (ec) return CannotSave(folder);
            std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ec);
        }
    }
    const int lockFd =
        ::open(lockFile_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, kFileMode);
    if (lockFd < 0) return CannotSave(file_);
    int rc;
    do rc = ::flock(lockFd, LOCK_EX);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(lockFd);
        return CannotSave(file_);
    }

    // Under the lock: what is on disk now is the base every pending change is laid on.
    LoadLocked();
    Status result = Status::Ok();
    // A file that is there but cannot be read is never replaced: what it holds would be lost.
    if (unreadable_) result = CannotSave(file_);
    if (result && state_.damaged && stamp_.exists && !backedUp_) {
        if (auto bytes = ReadFileBytes(file_)) {
            std::filesystem::path copy = file_;
            copy += ".damaged";
            result = WriteFileAtomically(copy, *bytes, kFileMode, fs_);
            if (result) backedUp_ = true;
        }
    }
    SettingsTree merged = disk_;
    for (const auto& change : pending_) Apply(merged, change);
    if (result) {
        if (auto id = fs_.Identify(file_); id && (id->mode & 07777) != kFileMode)
            result = fs_.SetPermissions(file_, kFileMode);
    }
    if (result) result = WriteFileAtomically(file_, SerializeSettings(merged), kFileMode, fs_);
    if (result) {
        disk_ = std::move(merged);
        pending_.clear();
        stamp_ = CurrentStamp();
        state_ = SettingsFileState{true, false, 0};
    }
    view_ = disk_;
    for (const auto& change : pending_) Apply(view_, change);
    ::flock(lockFd, LOCK_UN);
    ::close(lockFd);
    return result;
}

}  // namespace orvo
