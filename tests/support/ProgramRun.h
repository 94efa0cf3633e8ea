// Runs a program as a user would, without a shell, and collects what it writes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvo::test {

struct ProgramRun {
    int status = -1;  // the exit status; -1 when it did not start or did not exit
    std::string out;
    std::string err;
};

/// Runs argv[0] with `argv`, its standard input fed from `input`, both output streams read as
/// they come (so neither pipe fills and blocks the program). The environment is this
/// process's, changed by `environment`: "NAME=value" sets a variable, "NAME" alone removes it.
ProgramRun RunProgram(const std::vector<std::string>& argv,
                      const std::vector<std::string>& environment = {},
                      std::string_view input = {});

/// This build's orvo-cli with `args`.
ProgramRun RunOrvoCli(std::vector<std::string> args,
                      const std::vector<std::string>& environment = {},
                      std::string_view input = {});

}  // namespace orvo::test
