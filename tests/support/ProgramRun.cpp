// Running a program for a test: posix_spawn with three pipes, polled until both outputs end.
#include "support/ProgramRun.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

extern char** environ;

namespace orvo::test {
namespace {

std::string NameOf(std::string_view entry) {
    return std::string(entry.substr(0, entry.find('=')));
}

std::vector<std::string> ChangedEnvironment(const std::vector<std::string>& changes) {
    std::vector<std::string> result;
    for (char** e = environ; *e; ++e) {
        const std::string name = NameOf(*e);
        bool replaced = false;
        for (const std::string& change : changes) replaced |= NameOf(change) == name;
        if (!replaced) result.emplace_back(*e);
    }
    for (const std::string& change : changes)
        if (change.find('=') != std::string::npos) result.push_back(change);
    return result;
}

}  // namespace

ProgramRun RunProgram(const std::vector<std::string>& argv,
                      const std::vector<std::string>& environment, std::string_view input) {
    ProgramRun run;
    if (argv.empty()) return run;
    std::vector<std::string> args = argv;
    std::vector<char*> argp;
    for (std::string& a : args) argp.push_back(a.data());
    argp.push_back(nullptr);
    std::vector<std::string> env = ChangedEnvironment(environment);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    int in[2], out[2], err[2];
    if (::pipe2(in, O_CLOEXEC) != 0) return run;
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, argp[0], &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    if (spawned == 0) {
        // A program that stops reading early must not kill the test with SIGPIPE.
        struct sigaction ignore {
        }, previous{};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGPIPE, &ignore, &previous);
        for (std::size_t sent = 0; sent < input.size();) {
            const ssize_t n = ::write(in[1], input.data() + sent, input.size() - sent);
            if (n <= 0) break;
            sent += std::size_t(n);
        }
        ::close(in[1]);
        in[1] = -1;
        ::sigaction(SIGPIPE, &previous, nullptr);
        pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
        for (int open = 2; open > 0 && ::poll(fds, 2, 120000) > 0;) {
            for (pollfd& p : fds) {
                if (p.fd < 0 || !(p.revents & (POLLIN | POLLHUP | POLLERR))) continue;
                char buffer[4096];
                const ssize_t n = ::read(p.fd, buffer, sizeof buffer);
                if (n <= 0) {
                    p.fd = -1;
                    --open;
                } else {
                    (&p == &fds[0] ? run.out : run.err).append(buffer, std::size_t(n));
                }
            }
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (in[1] >= 0) ::close(in[1]);
    ::close(out[0]);
    ::close(err[0]);
    return run;
}

ProgramRun RunOrvoCli(std::vector<std::string> args, const std::vector<std::string>& environment,
                      std::string_view input) {
    args.insert(args.begin(), ORVO_BINARY_DIR "/cli/orvo-cli");
    return RunProgram(args, environment, input);
}

}  // namespace orvo::test
