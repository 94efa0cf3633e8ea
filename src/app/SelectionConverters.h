// The converters that copy and paste go through: a selection's markup written as RTF and as
// plain text by the exporters, and RTF from the clipboard read by the RTF importer into the
// internal selection stream.
#pragma once

#include <functional>

#include "textbox/uKYTattr.h"

namespace orvo {

class ITextMeasurer;
class TKYTset;
class TKYTtesto;

class SelectionConverters final : public ISelectionConverters {
public:
    /// `workingText` gives the text whose local codes a selection's markup uses (the page
    /// being edited); everything given outlives the converters.
    SelectionConverters(TKYTset& set, ITextMeasurer& measurer,
                        std::function<const TKYTtesto*()> workingText);

    Result<std::string> MarkupToRtf(std::string_view markup) override;
    Result<std::string> MarkupToText(std::string_view markup) override;
    std::optional<Result<std::string>> RtfToStream(std::string_view rtf, bool wrapper,
                                                   std::int32_t styleNumber) override;

private:
    TKYTset& set_;
    ITextMeasurer& measurer_;
    std::function<const TKYTtesto*()> workingText_;
};

}  // namespace orvo
