// The paragraph's own queries: table paragraphs, default line height, formats in force.
#include "model/TKYTparag.h"

#include "model/Markup.h"

namespace orvo {

bool TKYTparag::IsTableParagraph(IMarkupHost& host) const {
    if (text.empty() || text[0] != ' ' || metrics.empty()) return false;
    const std::int32_t index = metrics[0].objectIndex;
    if (index < 0 || std::size_t(index) >= objects.size() || !objects[std::size_t(index)])
        return false;
    return host.TableCells(*objects[std::size_t(index)]) != nullptr;
}

void TKYTparag::MeasureDefaultLineHeight(ITextMeasurer& measurer) {
    defaultLineHeight = measurer.Metrics(style.AsMyFont()).height;
}

TMyFont TKYTparag::FormatAt(int index) const {
    const int last = std::min<int>(index, int(metrics.size()) - 1);
    for (int i = last; i >= 0; --i) {
        const std::int32_t font = metrics[std::size_t(i)].fontIndex;
        if (font >= 0 && std::size_t(font) < fonts.size())
            return fonts[std::size_t(font)].AsMyFont();
    }
    return style.charFormat.AsMyFont();
}

std::int32_t TKYTparag::LinkAt(int index) const {
    if (index < 0 || std::size_t(index) >= metrics.size()) return -1;
    return metrics[std::size_t(index)].linkId;
}

}  // namespace orvo
