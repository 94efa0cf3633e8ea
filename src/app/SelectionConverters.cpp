// Copy and paste through the RTF and text converters.
#include "app/SelectionConverters.h"

#include "convert/RtfExport.h"
#include "convert/RtfImport.h"
#include "convert/TextExport.h"
#include "model/uKYTset.h"
#include "textbox/SelectionStream.h"

namespace orvo {

SelectionConverters::SelectionConverters(TKYTset& set, ITextMeasurer& measurer,
                                         std::function<const TKYTtesto*()> workingText)
    : set_(set), measurer_(measurer), workingText_(std::move(workingText)) {}

Result<std::string> SelectionConverters::MarkupToRtf(std::string_view markup) {
    TKYTtortf writer(&set_, measurer_);
    if (const TKYTtesto* text = workingText_ ? workingText_() : nullptr)
        writer.ResolveObject = WorkingTextObjects(set_, *text);
    std::string rtf = writer.ExportText(markup);
    // The clipboard holds the document without the writer's closing 0x00 byte.
    while (!rtf.empty() && rtf.back() == '\0') rtf.pop_back();
    if (rtf.empty()) return Fail("the selection gave no RTF");
    return rtf;
}

Result<std::string> SelectionConverters::MarkupToText(std::string_view markup) {
    const TKYTtesto* text = workingText_ ? workingText_() : nullptr;
    TextObjectLookup lookup =
        text ? TextObjectLookup(WorkingTextObjects(set_, *text)) : StoredTextLookup(set_);
    return PlainText(markup, lookup);
}

std::optional<Result<std::string>> SelectionConverters::RtfToStream(std::string_view rtf, bool,
                                                                    std::int32_t) {
    TRtfImp importer(set_, RtfImportOptions{});
    int paragraphs = 0;
    std::string markup = importer.ImportFragment(rtf, &paragraphs);
    if (markup.empty() || markup.back() != '\0') markup.push_back('\0');
    if (paragraphs < 1) paragraphs = 1;
    // A text stream with no links, shared or inline objects of its own: the importer has
    // registered what the text names with the hypertext.
    std::string stream;
    for (std::int32_t value : {kStreamContentText, 0, 0, 0, std::int32_t(paragraphs)}) {
        for (int shift = 0; shift < 32; shift += 8)
            stream.push_back(char((std::uint32_t(value) >> shift) & 0xFF));
    }
    stream += markup;
    return Result<std::string>(std::move(stream));
}

}  // namespace orvo
