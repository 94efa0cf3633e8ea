// List numbering and mark positions.
#include "textbox/ListNumbering.h"

namespace orvo {

void NumberParagraphs(Paragraphs& paragraphs) {
    std::int32_t counter = 1;
    for (auto& p : paragraphs) {
        if (p->style.ListKind() == kListNumbered) {
            p->listNumber = counter++;
        } else {
            counter = 1;
        }
    }
}

std::string ListNumberMark(std::int32_t number) {
    return std::to_string(number) + ". ";
}

std::int32_t NumberMarkX(std::int32_t left, std::int32_t firstIndent, std::int32_t markWidth) {
    if (firstIndent < 0) return left + firstIndent;
    if (firstIndent < markWidth) return left - markWidth;
    return left;
}

std::int32_t BulletMarkX(std::int32_t left, std::int32_t firstIndent) {
    if (firstIndent < 0) return left + firstIndent;
    if (firstIndent > 9) return left;
    return left - 10;
}

}  // namespace orvo
