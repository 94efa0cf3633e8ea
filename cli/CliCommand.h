// The commands of orvo-cli: each cli/Cmd*.cpp registers one with a static CliRegistration.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Environment.h"
#include "platform/IMessages.h"

namespace orvo::cli {

/// What a command gets: its arguments (after the command name, UTF-8 as typed), the streams,
/// the machine and a message sink that writes boxes to standard error and answers No.
struct CliContext {
    std::vector<std::string> args;
    std::ostream& out;
    std::ostream& err;
    Environment& environment;
    IMessages& messages;
};

/// Returns the exit status: 0 on success, 1 with the message on standard error otherwise.
using CliRun = int (*)(CliContext& context);

struct CliCommand {
    std::string_view name;
    std::string_view summary;  // one line for the list of commands
    std::string_view usage;    // the whole --help text of the command
    CliRun run;
};

class CliRegistry {
public:
    static void Add(const CliCommand& command);
    static const std::vector<CliCommand>& All();
    static const CliCommand* Find(std::string_view name);
};

struct CliRegistration {
    explicit CliRegistration(const CliCommand& command) { CliRegistry::Add(command); }
};

/// Writes a Windows-1252 message as UTF-8 on `err` with a newline and returns 1.
int FailWith(CliContext& context, std::string_view cp1252Message);

}  // namespace orvo::cli
