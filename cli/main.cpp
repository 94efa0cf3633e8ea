// orvo-cli: the Orvo core without a window, for batch work and for tests.
#include <algorithm>
#include <iostream>
#include <string>

#include "CliCommand.h"
#include "base/Cp1252.h"

namespace orvo::cli {

static std::vector<CliCommand>& Commands() {
    static std::vector<CliCommand> commands;
    return commands;
}

void CliRegistry::Add(const CliCommand& command) {
    Commands().push_back(command);
}

const std::vector<CliCommand>& CliRegistry::All() {
    auto& commands = Commands();
    std::sort(commands.begin(), commands.end(),
              [](const CliCommand& a, const CliCommand& b) { return a.name < b.name; });
    return commands;
}

const CliCommand* CliRegistry::Find(std::string_view name) {
    for (const CliCommand& c : Commands())
        if (c.name == name) return &c;
    return nullptr;
}

int FailWith(CliContext& context, std::string_view cp1252Message) {
    std::string text = Cp1252ToUtf8(cp1252Message);
    std::replace(text.begin(), text.end(), '\r', '\n');
    context.err << text << '\n';
    return 1;
}

/// Message boxes of a command-line run: written to standard error; every question is
/// answered No, so nothing is overwritten or retried without the user asking for it.
class StderrMessages final : public IMessages {
public:
    explicit StderrMessages(std::ostream& err) : err_(err) {}
    void Show(Box box, std::string_view text) override {
        std::string utf8 = Cp1252ToUtf8(text);
        std::replace(utf8.begin(), utf8.end(), '\r', '\n');
        err_ << Caption(box) << ": " << utf8 << '\n';
    }
    bool Ask(std::string_view question) override {
        err_ << Cp1252ToUtf8(question) << " (No)\n";
        return false;
    }
    Answer AskYesNoCancel(std::string_view question) override {
        err_ << Cp1252ToUtf8(question) << " (Annulla)\n";
        return Answer::Cancel;
    }

private:
    std::ostream& err_;
};

static void PrintCommands(std::ostream& out) {
    out << "Usage: orvo-cli COMMAND [ARGUMENTS...]\n"
           "       orvo-cli COMMAND --help\n\nCommands:\n";
    for (const CliCommand& c : CliRegistry::All()) {
        out << "  " << c.name;
        for (std::size_t i = c.name.size(); i < 14; ++i) out << ' ';
        out << c.summary << '\n';
    }
}

}  // namespace orvo::cli

int main(int argc, char** argv) {
    using namespace orvo::cli;
    if (argc < 2 || std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h") {
        PrintCommands(std::cout);
        return argc < 2 ? 1 : 0;
    }
    const CliCommand* command = CliRegistry::Find(argv[1]);
    if (!command) {
        std::cerr << "orvo-cli: unknown command \"" << argv[1] << "\"\n";
        PrintCommands(std::cerr);
        return 1;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        std::cout << command->usage;
        if (!command->usage.empty() && command->usage.back() != '\n') std::cout << '\n';
        return 0;
    }
    orvo::SystemEnvironment environment;
    StderrMessages messages(std::cerr);
    CliContext context{std::move(args), std::cout, std::cerr, environment, messages};
    return command->run(context);
}
