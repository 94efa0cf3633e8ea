// What the program asks of the desktop: open a file by its default action, find the program
// that the desktop associates with a file, start a program.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/Result.h"

namespace orvo {

/// A program and its arguments, passed to it as they are: never through a shell. The strings
/// are the bytes the system takes (UTF-8 names on disk); argv[0] is the program, a path or a
/// name looked up in PATH.
struct ShellCommand {
    std::vector<std::string> argv;
    std::filesystem::path workingFolder;  // empty: the program's own
    bool operator==(const ShellCommand&) const = default;
};

enum class ProgramLookup {
    Found,          // `command` opens the file
    NoAssociation,  // the desktop knows no program for this type of file
    Failed          // the desktop could not be asked, or its answer is unusable
};

struct AssociatedProgram {
    ProgramLookup outcome = ProgramLookup::Failed;
    ShellCommand command;  // with the file in its place among the arguments
};

class IShell {
public:
    /// Called with the exit status (128 + signal when killed) once a started program ends.
    using ExitCallback = std::function<void(int exitStatus)>;

    virtual ~IShell() = default;
    /// Opens `file` with the desktop's default action and returns at once: nobody learns when
    /// the program that shows it ends.
    virtual Status OpenWithDefault(const std::filesystem::path& file) = 0;
    /// The program the desktop associates with the type of `file`, ready to open it.
    virtual AssociatedProgram ProgramFor(const std::filesystem::path& file) = 0;
    /// Starts `command` detached and returns its process id. `onExit`, when given, is called
    /// on a waiter thread (never the caller's) when the program ends.
    virtual Result<int> Start(const ShellCommand& command, ExitCallback onExit = {}) = 0;
    /// Asks a program started here, and still running, to end (SIGTERM).
    virtual void Terminate(int processId) = 0;
};

}  // namespace orvo
