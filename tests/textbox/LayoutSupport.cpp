// The shared helpers of the layout tests.
#include "LayoutSupport.h"

namespace orvo::test {

std::string Text(std::string_view markup) {
    std::string out(markup);
    out.push_back('\0');
    return out;
}

std::vector<std::string> LineTexts(const TKYTparag& paragraph) {
    std::vector<std::string> out;
    for (const TKYTline& line : paragraph.lines)
        out.push_back(paragraph.text.substr(std::size_t(line.first), std::size_t(line.count)));
    return out;
}

std::vector<std::string> LineTexts(const TKYTbox& box) {
    std::vector<std::string> out;
    for (const auto& p : box.AllParagraphs())
        for (std::string& line : LineTexts(*p)) out.push_back(std::move(line));
    return out;
}

TKYTTextPos At(std::int32_t paragraph, std::int32_t character) {
    TKYTTextPos pos;
    pos.paraIndex = paragraph;
    pos.charIndex = character;
    return pos;
}

}  // namespace orvo::test
