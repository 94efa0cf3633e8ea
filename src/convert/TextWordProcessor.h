// Converting exported RTF files into ".doc" documents through the word processor (which the
// platform layer gives: platform/WordProcessor.h).
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "platform/WordProcessor.h"

namespace orvo {

class IMessages;

/// Converts each RTF file into `folder` as a ".doc" document of the same name, then deletes
/// the RTF files. On the first failure kNoWordProcessor is shown and the remaining files are
/// skipped. Progress is (index, count) before each file. Returns the documents made.
std::vector<std::filesystem::path> ConvertToWordDocuments(
    IWordProcessor& processor, IMessages& messages, const std::vector<std::filesystem::path>& rtf,
    const std::filesystem::path& folder, const std::function<void(int, int)>& progress = {});

}  // namespace orvo
