// TKYTconv: the common base of the converters between a hypertext and foreign formats, and
// the progress event every export reports through.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/Result.h"

namespace orvo {

class TKYTset;
class TKYTconv;

/// Called before each page or image: position in the list from 0, list length, phase
/// (1 pages, 2 secondary pages, 3 image and object files).
using TMyExpProgressEvent = std::function<void(TKYTconv& sender, int pag, int tot, int phase)>;

/// "Export in corso, fase " + phase + ": " + percentage + "%".
std::string ProgressText(int phase, int pag, int tot);

class TKYTconv {
public:
    explicit TKYTconv(TKYTset* set = nullptr) : LinkedKYTset(set) {}
    virtual ~TKYTconv() = default;

    TKYTset* LinkedKYTset = nullptr;
    /// Target file of single-file exports.
    std::string ExportFileName;
    /// Target folder of multi-file exports.
    std::string ExportPath;
    TMyExpProgressEvent OnExpProgress;
    int Language = 0;
    /// When non-empty, used instead of the hypertext's export prefix.
    std::string PrefixOverride;

    /// The prefix of every generated file name: the override, else the hypertext's, with
    /// "/", "\\", ":" and control characters made "_" so that no name leaves its folder.
    std::string FilePrefix() const;

    /// Exports the listed pages and everything they pull in.
    virtual Status ExportPages(const std::vector<std::int32_t>& numbers) = 0;

protected:
    void Progress(int pag, int tot, int phase) {
        if (OnExpProgress) OnExpProgress(*this, pag, tot, phase);
    }
};

}  // namespace orvo
