// The desktop on Linux: xdg-open for the default action, xdg-mime and the desktop entries for
// the program of a file, posix_spawn with an argument vector to start programs.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IShell.h"

namespace orvo {

/// The Exec line of a desktop entry turned into an argument vector for `file`, by the Desktop
/// Entry rules: the string escapes, double-quoted arguments, and the field codes (%f %F %u %U
/// give the file, %c the Name, %k the entry's own path, %% a percent sign; %i and the
/// deprecated codes vanish). A line without a file code gets the file as its last argument.
/// nullopt when the line is empty or its quoting is broken.
std::optional<std::vector<std::string>> ExpandDesktopExec(std::string_view exec,
                                                          std::string_view file,
                                                          std::string_view name = {},
                                                          std::string_view entryPath = {});

/// The values of the "[Desktop Entry]" group that a launcher needs; Exec is empty when the
/// group or the key is missing, or the entry is hidden.
struct DesktopEntry {
    std::string exec;
    std::string name;
    bool hidden = false;
};
DesktopEntry ParseDesktopEntry(std::string_view text);

class PosixShell final : public IShell {
public:
    PosixShell();
    Status OpenWithDefault(const std::filesystem::path& file) override;
    AssociatedProgram ProgramFor(const std::filesystem::path& file) override;
    Result<int> Start(const ShellCommand& command, ExitCallback onExit = {}) override;
    void Terminate(int processId) override;

    /// Runs `argv` to its end and returns what it wrote on standard output; fails when it
    /// cannot be started or ends with a status other than 0.
    static Result<std::string> Capture(const std::vector<std::string>& argv);

private:
    struct Running;
    std::shared_ptr<Running> running_;
};

}  // namespace orvo
