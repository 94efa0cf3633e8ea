// Exported RTF files converted into ".doc" documents by the word processor.
#include "convert/TextWordProcessor.h"

#include <system_error>

#include "platform/IMessages.h"

namespace orvo {

std::vector<std::filesystem::path> ConvertToWordDocuments(
    IWordProcessor& processor, IMessages& messages, const std::vector<std::filesystem::path>& rtf,
    const std::filesystem::path& folder, const std::function<void(int, int)>& progress) {
    std::vector<std::filesystem::path> made;
    bool failed = !processor.Available();
    if (failed) messages.Inform(kNoWordProcessor);
    for (std::size_t i = 0; i < rtf.size() && !failed; ++i) {
        if (progress) progress(int(i), int(rtf.size()));
        Result<std::filesystem::path> document = processor.Convert(rtf[i], "doc", folder);
        if (!document) {
            messages.Inform(kNoWordProcessor);
            failed = true;
            break;
        }
        made.push_back(*document);
    }
    std::error_code ec;
    for (const auto& file : rtf) std::filesystem::remove(file, ec);
    return made;
}

}  // namespace orvo
