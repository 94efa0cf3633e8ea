// The page the editing benchmarks type into: short paragraphs with a bold run in each.
#pragma once

#include <string>

namespace orvo {

// The stored markup of `paragraphs` paragraphs "Paragrafo N con un po' di testo", "un po'" in
// bold, ended by the text's NUL.
inline std::string LongPageMarkup(int paragraphs) {
    std::string markup;
    for (int i = 0; i < paragraphs; ++i)
        markup += "<Z S0 >Paragrafo " + std::to_string(i) + " con <Y y1 >un po'<Y > di testo";
    markup.push_back('\0');
    return markup;
}

}  // namespace orvo
