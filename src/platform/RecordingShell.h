// A shell for tests: records what the program asked of the desktop and lets the test decide
// the answers and when a started program ends.
#pragma once

#include <mutex>
#include <optional>
#include <vector>

#include "platform/IShell.h"

namespace orvo {

class RecordingShell final : public IShell {
public:
    struct Started {
        ShellCommand command;
        int processId = 0;
        ExitCallback onExit;
        bool terminated = false;
    };

    Status OpenWithDefault(const std::filesystem::path& file) override;
    AssociatedProgram ProgramFor(const std::filesystem::path& file) override;
    Result<int> Start(const ShellCommand& command, ExitCallback onExit = {}) override;
    void Terminate(int processId) override;

    /// The answer of ProgramFor (Failed until set); when Found, the file is appended to argv
    /// and its folder becomes the working folder.
    void SetAssociation(AssociatedProgram answer) { association_ = std::move(answer); }
    /// Makes the next opens or starts fail with `failure`.
    void FailOpens(std::optional<Failure> failure) { openFailure_ = std::move(failure); }
    void FailStarts(std::optional<Failure> failure) { startFailure_ = std::move(failure); }

    /// Ends the `index`-th started program with `exitStatus`: its callback runs on this thread.
    void Finish(std::size_t index, int exitStatus = 0);

    const std::vector<std::filesystem::path>& Opened() const { return opened_; }
    const std::vector<std::filesystem::path>& LookedUp() const { return lookedUp_; }
    const std::vector<Started>& Starts() const { return started_; }

private:
    std::vector<std::filesystem::path> opened_;
    std::vector<std::filesystem::path> lookedUp_;
    std::vector<Started> started_;
    AssociatedProgram association_;
    std::optional<Failure> openFailure_, startFailure_;
    int nextProcessId_ = 1000;
};

}  // namespace orvo
