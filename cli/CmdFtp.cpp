// orvo-cli ftp: one FTP operation through the session runner (ls, mkdir, put, get, delete,
// rename). The password comes from ORVO_FTP_PASSWORD or a file, never from the command line.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iomanip>
#include <ostream>
#include <sstream>
#include <string>

#include "CliCommand.h"
#include "base/Files.h"
#include "publish/uQzFtp.h"

namespace orvo::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: orvo-cli ftp [OPTIONS] HOST[:PORT] USER COMMAND [ARGUMENTS...]\n"
    "Runs one FTP operation on HOST (port 21 unless given).\n"
    "\n"
    "Commands:\n"
    "  ls [PATH]            lists a remote folder: kind (d, -, l), size, date, name\n"
    "  mkdir NAME           makes a remote folder\n"
    "  put LOCAL REMOTE     sends a local file\n"
    "  get REMOTE [LOCAL]   fetches a remote file; into LOCAL, or under its own name into the\n"
    "                       folder LOCAL (or the current folder), when that name is safe\n"
    "  delete NAME          deletes a remote file\n"
    "  rename OLD NEW       renames a remote file or folder\n"
    "\n"
    "Options:\n"
    "  --password-file FILE the password is the first line of FILE\n"
    "  --active             active mode (PORT) instead of passive (PASV)\n"
    "  --timeout SECONDS    how long the server may stay silent (default 30)\n"
    "  --verbose            the dialogue with the server on standard error\n"
    "\n"
    "The password is read from the environment variable ORVO_FTP_PASSWORD or from\n"
    "--password-file, never from the command line; without either, an anonymous password.\n";

struct Options {
    std::string passwordFile;
    bool active = false;
    int timeout = 30;
    bool verbose = false;
    std::vector<std::string> rest;
};

bool ParseOptions(CliContext& context, Options& options, std::string& error) {
    const auto& args = context.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!options.rest.empty()) {
            options.rest.push_back(a);
        } else if (a == "--password-file" && i + 1 < args.size()) {
            options.passwordFile = args[++i];
        } else if (a == "--active") {
            options.active = true;
        } else if (a == "--verbose") {
            options.verbose = true;
        } else if (a == "--timeout" && i + 1 < args.size()) {
            char* end = nullptr;
            const long value = std::strtol(args[++i].c_str(), &end, 10);
            if (!end || *end != '\0' || value < 0 || value > 86400) {
                error = "ftp: --timeout takes a number of seconds";
                return false;
            }
            options.timeout = int(value);
        } else if (a == "--password" || a.rfind("--password=", 0) == 0) {
            error =
                "ftp: the password is read from ORVO_FTP_PASSWORD or --password-file, never "
                "from the command line";
            return false;
        } else if (a.rfind("--", 0) == 0) {
            error = "ftp: unknown option " + a;
            return false;
        } else {
            options.rest.push_back(a);
        }
    }
    if (options.rest.size() < 3) {
        error = "ftp: HOST[:PORT] USER COMMAND expected (see orvo-cli ftp --help)";
        return false;
    }
    return true;
}

std::string DateText(const TFileDate& d) {
    if (!d.known) return "---------- -----";
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", d.year, d.month, d.day, d.hour,
                  d.minute);
    return text;
}

char KindLetter(std::uint8_t kind) {
    switch (kind) {
        case T_Filedata::kDirectory:
            return 'd';
        case T_Filedata::kLink:
            return 'l';
        default:
            return '-';
    }
}

int Failed(CliContext& context, TQzFtpComm& comm, int result) {
    if (result == TQzFtpComm::kNotStarted && comm.ErrorText().empty())
        return FailWith(context, "ftp: the operation could not start");
    return FailWith(context, comm.ErrorText());
}

int RunFtp(CliContext& context) {
    Options options;
    std::string error;
    if (!ParseOptions(context, options, error)) return FailWith(context, error);

    std::string host = options.rest[0];
    int port = 21;
    if (const std::size_t colon = host.rfind(':'); colon != std::string::npos) {
        char* end = nullptr;
        const long value = std::strtol(host.c_str() + colon + 1, &end, 10);
        if (colon + 1 == host.size() || !end || *end != '\0' || value < 1 || value > 65535)
            return FailWith(context, "ftp: the port must be a number from 1 to 65535");
        port = int(value);
        host.resize(colon);
    }
    std::string password(kDefaultPassword);
    if (!options.passwordFile.empty()) {
        auto bytes = ReadFileBytes(options.passwordFile);
        if (!bytes)
            return FailWith(context, std::string(kCannotOpenFileText) + options.passwordFile);
        password = bytes->substr(0, bytes->find_first_of("\r\n"));
    } else if (const char* fromEnvironment = std::getenv("ORVO_FTP_PASSWORD")) {
        password = fromEnvironment;
    }

    LoopScheduler loop;
    TQzFtpComm comm(loop, loop);
    T_Ftp& ftp = comm.Ftp();
    ftp.Hostname = host;
    ftp.Port = port;
    ftp.Username = options.rest[1];
    ftp.Password = password;
    ftp.Passive = !options.active;
    ftp.Timeout = options.timeout;
    if (options.verbose)
        comm.OnTrace = [&context](std::string_view text, int level, std::int64_t) {
            if (level <= 1) context.err << (level == 0 ? "> " : "< ") << text << '\n';
        };

    const std::string& command = options.rest[2];
    const std::vector<std::string> args(options.rest.begin() + 3, options.rest.end());
    const auto wrongCount = [&](std::string_view shape) {
        return FailWith(context, "ftp: usage: " + command + std::string(shape));
    };

    int result = TQzFtpComm::kNotStarted;
    if (command == "ls") {
        if (args.size() > 1) return wrongCount(" [PATH]");
        result = comm.RunList(args.empty() ? "." : args[0]);
        if (result != TQzFtpComm::kSuccess) return Failed(context, comm, result);
        T_Filedata entry;
        while (ftp.NextListingEntry(entry))
            context.out << KindLetter(entry.kind) << ' ' << std::setw(12) << entry.size << ' '
                        << DateText(entry.date) << ' ' << entry.name << '\n';
    } else if (command == "mkdir") {
        if (args.size() != 1) return wrongCount(" NAME");
        result = comm.RunMakeDir(args[0]);
    } else if (command == "put") {
        if (args.size() != 2) return wrongCount(" LOCAL REMOTE");
        result = comm.RunPutFile(args[0], args[1]);
    } else if (command == "get") {
        if (args.empty() || args.size() > 2) return wrongCount(" REMOTE [LOCAL]");
        const std::string& remote = args[0];
        std::filesystem::path local = args.size() == 2 ? args[1] : ".";
        std::error_code ignored;
        if (std::filesystem::is_directory(local, ignored)) {
            const std::string name = remote.substr(remote.find_last_of('/') + 1);
            if (!IsSafeRemoteName(name)) return FailWith(context, kUnsafeNameText);
            local /= name;
        }
        result = comm.RunGetFile(remote, local);
    } else if (command == "delete") {
        if (args.size() != 1) return wrongCount(" NAME");
        result = comm.RunDelete(args[0]);
    } else if (command == "rename") {
        if (args.size() != 2) return wrongCount(" OLD NEW");
        result = comm.RunRename(args[0], args[1]);
    } else {
        return FailWith(context, "ftp: unknown command " + command + " (see orvo-cli ftp --help)");
    }
    if (result != TQzFtpComm::kSuccess) return Failed(context, comm, result);
    (void)comm.RunCloseSession();
    return 0;
}

const CliRegistration kRegistration{
    {"ftp", "runs one FTP operation (ls, mkdir, put, get, ...)", kUsage, &RunFtp}};

}  // namespace
}  // namespace orvo::cli
