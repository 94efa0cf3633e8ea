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

/// Converts each RTF file into `folder` as a ".doc" document of the same name, then deletes
/// the RTF files. The first failure stops the rest and gives kNoWordProcessor, for the caller
/// to show. Progress is (index, count) before each file. Returns the documents made.
Result<std::vector<std::filesystem::path>> ConvertToWordDocuments(
    IWordProcessor& processor, const std::vector<std::filesystem::path>& rtf,
    const std::filesystem::path& folder, const std::function<void(int, int)>& progress = {});

}  // namespace orvo
