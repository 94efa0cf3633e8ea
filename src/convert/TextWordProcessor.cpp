// Exported RTF files converted into ".doc" documents by the word processor.
#include "convert/TextWordProcessor.h"

#include <system_error>

namespace orvo {

Result<std::vector<std::filesystem::path>> ConvertToWordDocuments(
    IWordProcessor& processor, const std::vector<std::filesystem::path>& rtf,
    const std::filesystem::path& folder, const std::function<void(int, int)>& progress) {
    std::vector<std::filesystem::path> made;
    bool failed = !processor.Available();
    for (std::size_t i = 0; i < rtf.size() && !failed; ++i) {
        if (progress) progress(int(i), int(rtf.size()));
        Result<std::filesystem::path> document = processor.Convert(rtf[i], "doc", folder);
        failed = !document;
        if (document) made.push_back(*document);
    }
    std::error_code ec;
    for (const auto& file : rtf) std::filesystem::remove(file, ec);
    if (failed) return Fail(std::string(kNoWordProcessor));
    return made;
}

}  // namespace orvo
