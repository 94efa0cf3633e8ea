// The recording shell of the tests.
#include "platform/RecordingShell.h"

namespace orvo {

Status RecordingShell::OpenWithDefault(const std::filesystem::path& file) {
    if (openFailure_) return *openFailure_;
    opened_.push_back(file);
    return Status::Ok();
}

AssociatedProgram RecordingShell::ProgramFor(const std::filesystem::path& file) {
    lookedUp_.push_back(file);
    AssociatedProgram answer = association_;
    if (answer.outcome == ProgramLookup::Found) {
        answer.command.argv.push_back(file.string());
        answer.command.workingFolder = file.parent_path();
    }
    return answer;
}

Result<int> RecordingShell::Start(const ShellCommand& command, ExitCallback onExit) {
    if (startFailure_) return *startFailure_;
    started_.push_back({command, ++nextProcessId_, std::move(onExit), false});
    return started_.back().processId;
}

void RecordingShell::Terminate(int processId) {
    for (auto& s : started_)
        if (s.processId == processId) s.terminated = true;
}

void RecordingShell::Finish(std::size_t index, int exitStatus) {
    if (index >= started_.size()) return;
    if (auto callback = std::move(started_[index].onExit)) callback(exitStatus);
    started_[index].onExit = nullptr;
}

}  // namespace orvo
