// Starting programs on Linux without a shell, and finding the program the desktop associates
// with a file.
#include "platform/PosixShell.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <set>
#include <thread>

#include "base/Cp1252.h"
#include "base/Files.h"

extern char** environ;

namespace orvo {

using namespace orvo::literals;

namespace {

Failure CannotStart(std::string_view program) {
    return Fail(std::string("Non è stato possibile avviare il programma \""_cp) +
                Utf8ToCp1252(program) + "\".");
}

int ExitStatusOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

// Waits for `pid`, retrying when a signal interrupts; returns the raw status or -1.
int WaitFor(int pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return status;
}

// Spawns `argv`; `stdoutFd` >= 0 becomes the child's standard output.
int Spawn(const ShellCommand& command, int stdoutFd, bool newSession, int& error) {
    std::vector<char*> args;
    for (const auto& a : command.argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);

    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (newSession) flags |= POSIX_SPAWN_SETSID;
    posix_spawnattr_setflags(&attributes, flags);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);

    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (stdoutFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, stdoutFd, 1);
        posix_spawn_file_actions_addclose(&actions, stdoutFd);
    }
    if (!command.workingFolder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, command.workingFolder.c_str());

    pid_t pid = -1;
    const bool searchPath = command.argv[0].find('/') == std::string::npos;
    error = searchPath ? ::posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), environ)
                       : ::posix_spawn(&pid, args[0], &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return error == 0 ? pid : -1;
}

std::string TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() &&
           (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return std::string(s);
}

// The string escapes of a desktop entry's values.
std::string UnescapeValue(std::string_view v) {
    std::string out;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] != '\\' || i + 1 == v.size()) {
            out += v[i];
            continue;
        }
        const char e = v[++i];
        switch (e) {
            case 's':
                out += ' ';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case '\\':
                out += '\\';
                break;
            default:
                out += '\\';
                out += e;
        }
    }
    return out;
}

std::vector<std::filesystem::path> DataFolders() {
    std::vector<std::filesystem::path> folders;
    const char* home = std::getenv("HOME");
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && *dataHome)
        folders.emplace_back(dataHome);
    else if (home && *home)
        folders.push_back(std::filesystem::path(home) / ".local/share");
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::string_view list = dirs && *dirs ? dirs : "/usr/local/share:/usr/share";
    while (!list.empty()) {
        const std::size_t cut = list.find(':');
        const std::string_view one = list.substr(0, cut);
        if (!one.empty()) folders.emplace_back(std::string(one));
        if (cut == std::string_view::npos) break;
        list.remove_prefix(cut + 1);
    }
    return folders;
}

}  // namespace

std::optional<std::vector<std::string>> ExpandDesktopExec(std::string_view exec,
                                                          std::string_view file,
                                                          std::string_view name,
                                                          std::string_view entryPath) {
    // First split into arguments, honouring double quotes and their escapes.
    struct Word {
        std::string text;
        bool quoted = false;
    };
    std::vector<Word> words;
    std::size_t i = 0;
    while (i < exec.size()) {
        while (i < exec.size() && (exec[i] == ' ' || exec[i] == '\t')) ++i;
        if (i == exec.size()) break;
        Word word;
        while (i < exec.size() && exec[i] != ' ' && exec[i] != '\t') {
            if (exec[i] != '"') {
                word.text += exec[i++];
                continue;
            }
            word.quoted = true;
            ++i;
            bool closed = false;
            while (i < exec.size()) {
                const char c = exec[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < exec.size() &&
                    std::string_view("\"`$\\").find(exec[i]) != std::string_view::npos) {
                    word.text += exec[i++];
                    continue;
                }
                word.text += c;
            }
            if (!closed) return std::nullopt;
        }
        words.push_back(std::move(word));
    }
    if (words.empty()) return std::nullopt;

    std::vector<std::string> argv;
    bool usedFile = false;
    for (const auto& word : words) {
        if (word.quoted) {  // field codes are not expanded inside quotes
            argv.push_back(word.text);
            continue;
        }
        const std::string& t = word.text;
        if (t == "%f" || t == "%F" || t == "%u" || t == "%U") {
            argv.emplace_back(file);
            usedFile = true;
            continue;
        }
        if (t == "%i") continue;  // no icon to give
        std::string out;
        for (std::size_t k = 0; k < t.size(); ++k) {
            if (t[k] != '%' || k + 1 == t.size()) {
                out += t[k];
                continue;
            }
            const char code = t[++k];
            switch (code) {
                case '%':
                    out += '%';
                    break;
                case 'f':
                case 'F':
                case 'u':
                case 'U':
                    out += file;
                    usedFile = true;
                    break;
                case 'c':
                    out += name;
                    break;
                case 'k':
                    out += entryPath;
                    break;
                default:
                    break;  // %i inside a word, deprecated and unknown codes vanish
            }
        }
        if (!out.empty()) argv.push_back(std::move(out));
    }
    if (argv.empty()) return std::nullopt;
    if (!usedFile) argv.emplace_back(file);
    return argv;
}

DesktopEntry ParseDesktopEntry(std::string_view text) {
    DesktopEntry entry;
    bool inGroup = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string line = TrimBlanks(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '[') {
            inGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inGroup) continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = TrimBlanks(std::string_view(line).substr(0, eq));
        const std::string value = UnescapeValue(TrimBlanks(std::string_view(line).substr(eq + 1)));
        if (key == "Exec" && entry.exec.empty())
            entry.exec = value;
        else if (key == "Name" && entry.name.empty())
            entry.name = value;
        else if (key == "Hidden" && value == "true")
            entry.hidden = true;
    }
    if (entry.hidden) entry.exec.clear();
    return entry;
}

// The processes started here that are still running; shared with their waiter threads, which
// may outlive the shell.
struct PosixShell::Running {
    std::mutex mutex;
    std::set<int> processes;
};

PosixShell::PosixShell() : running_(std::make_shared<Running>()) {}

Result<int> PosixShell::Start(const ShellCommand& command, ExitCallback onExit) {
    if (command.argv.empty() || command.argv[0].empty()) return CannotStart("");
    int error = 0;
    const int pid = Spawn(command, -1, true, error);
    if (pid < 0) return CannotStart(command.argv[0]);
    {
        std::lock_guard lock(running_->mutex);
        running_->processes.insert(pid);
    }
    // The waiter reaps the process in every case, so no program is left a zombie.
    std::thread([running = running_, pid, onExit = std::move(onExit)] {
        const int status = WaitFor(pid);
        {
            std::lock_guard lock(running->mutex);
            running->processes.erase(pid);
        }
        if (onExit) onExit(status < 0 ? -1 : ExitStatusOf(status));
    }).detach();
    return pid;
}

void PosixShell::Terminate(int processId) {
    std::lock_guard lock(running_->mutex);
    // Only a process not yet reaped: its id cannot have been given to another one.
    if (running_->processes.count(processId)) ::kill(processId, SIGTERM);
}

Status PosixShell::OpenWithDefault(const std::filesystem::path& file) {
    auto started = Start({{"xdg-open", file.string()}, {}});
    if (!started) return started.failure();
    return Status::Ok();
}

Result<std::string> PosixShell::Capture(const std::vector<std::string>& argv) {
    if (argv.empty()) return CannotStart("");
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return CannotStart(argv[0]);
    int error = 0;
    const int pid = Spawn({argv, {}}, fds[1], false, error);
    ::close(fds[1]);
    if (pid < 0) {
        ::close(fds[0]);
        return CannotStart(argv[0]);
    }
    std::string out;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n > 0) {
            out.append(buffer, std::size_t(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        break;
    }
    ::close(fds[0]);
    const int status = WaitFor(pid);
    if (status < 0 || ExitStatusOf(status) != 0) return CannotStart(argv[0]);
    return out;
}

AssociatedProgram PosixShell::ProgramFor(const std::filesystem::path& file) {
    AssociatedProgram result;
    auto type = Capture({"xdg-mime", "query", "filetype", file.string()});
    if (!type) return result;
    const std::string mime = TrimBlanks(*type);
    if (mime.empty()) return result;
    auto application = Capture({"xdg-mime", "query", "default", mime});
    if (!application) return result;
    const std::string id = TrimBlanks(*application);
    if (id.empty() || id.find('/') != std::string::npos || id == "." || id == "..") {
        if (id.empty()) result.outcome = ProgramLookup::NoAssociation;
        return result;
    }
    for (const auto& folder : DataFolders()) {
        const std::filesystem::path entryPath = folder / "applications" / id;
        auto bytes = ReadFileBytes(entryPath);
        if (!bytes) continue;
        const DesktopEntry entry = ParseDesktopEntry(*bytes);
        if (entry.exec.empty()) return result;
        auto argv = ExpandDesktopExec(entry.exec, file.string(), entry.name, entryPath.string());
        if (!argv) return result;
        result.outcome = ProgramLookup::Found;
        result.command.argv = std::move(*argv);
        result.command.workingFolder = file.parent_path();
        return result;
    }
    return result;
}

}  // namespace orvo
