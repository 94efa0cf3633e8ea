// The user dictionary file.
#include "spell/UserDictionary.h"

#include <algorithm>

#include "base/Cp1252.h"

namespace orvo {

bool IsUserWord(std::string_view word) {
    if (word.empty() || word.size() > kUserWordMax) return false;
    return std::none_of(word.begin(), word.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b <= 0x20 || b == 0x7F || b == 0xA0 ||
               (b >= 0x80 && b <= 0x9F && Cp1252ToCodePoint(b) < 0x100);
    });
}

std::vector<std::string> ReadUserDictionary(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    std::vector<std::string> words;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (line.empty() || line.front() == '#' || line.size() > kUserWordMax * 4) continue;
        // Every sequence must decode to a character the code page has.
        std::string word;
        bool good = true;
        for (std::size_t i = 0; i < line.size() && good;) {
            const char32_t cp = detail::DecodeUtf8(line, i);
            const int byte = cp == detail::kBadSequence ? -1 : CodePointToCp1252(cp);
            if (byte < 0)
                good = false;
            else
                word += char(byte);
        }
        if (!good || !IsUserWord(word)) continue;
        if (std::find(words.begin(), words.end(), word) == words.end()) words.push_back(word);
    }
    return words;
}

std::string WriteUserDictionary(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& word : words) {
        out += Cp1252ToUtf8(word);
        out += '\n';
    }
    return out;
}

}  // namespace orvo
