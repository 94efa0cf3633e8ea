// The speller engine over libhunspell.
#include "spell/HunspellEngine.h"

#include <iconv.h>
#include <hunspell/hunspell.hxx>

#include <algorithm>
#include <fstream>

#include "base/Cp1252.h"

namespace orvo {

std::string SubstituteFormat(std::string_view pattern, std::string_view marker,
                             std::string_view value) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = pattern.find(marker); at != std::string_view::npos;
         at = pattern.find(marker, from)) {
        out.append(pattern.substr(from, at - from));
        out.append(value);
        from = at + marker.size();
    }
    out.append(pattern.substr(from));
    return out;
}

bool IsSpellWordChar(unsigned char c) {
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    if (c >= 0xC0) return c != 0xD7 && c != 0xF7;
    switch (c) {
        case 0x83:
        case 0x8A:
        case 0x8C:
        case 0x8E:
        case 0x9A:
        case 0x9C:
        case 0x9E:
        case 0x9F:
        case 0xAA:
        case 0xB5:
        case 0xBA:
            return true;
        default:
            return false;
    }
}

bool IsSpellApostrophe(unsigned char c) {
    return c == '\'' || c == 0x92;
}

namespace {

constexpr std::size_t kKnownWordsKept = 200000;

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

bool IsLetter(unsigned char c) {
    return IsSpellWordChar(c) && !IsDigit(c);
}

int RomanValue(char c) {
    switch (c) {
        case 'I':
            return 1;
        case 'V':
            return 5;
        case 'X':
            return 10;
        case 'L':
            return 50;
        case 'C':
            return 100;
        case 'D':
            return 500;
        case 'M':
            return 1000;
        default:
            return 0;
    }
}

std::string RomanOf(int value) {
    static constexpr std::pair<int, std::string_view> kParts[] = {
        {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
        {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    std::string out;
    for (const auto& [amount, text] : kParts)
        while (value >= amount) {
            out += text;
            value -= amount;
        }
    return out;
}

// Converts between encodings with iconv; false when a character has no place in the target.
bool Iconv(std::string_view in, const char* from, const char* to, std::string& out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1)) return false;
    out.assign(in.size() * 4 + 4, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    const std::size_t done = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (done == std::size_t(-1)) return false;
    out.resize(out.size() - dstLeft);
    return true;
}

}  // namespace

bool IsRomanNumeral(std::string_view word) {
    if (word.empty() || word.size() > 15) return false;
    int value = 0;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const int v = RomanValue(word[i]);
        if (v == 0) return false;
        const int next = i + 1 < word.size() ? RomanValue(word[i + 1]) : 0;
        value += next > v ? -v : v;
    }
    return value > 0 && value < 4000 && RomanOf(value) == word;
}

std::unique_ptr<HunspellEngine> HunspellEngine::Load(const std::filesystem::path& aff,
                                                     const std::filesystem::path& dic) {
    for (const auto& file : {aff, dic}) {
        std::ifstream in(file, std::ios::binary);
        if (!in || in.peek() == std::ifstream::traits_type::eof()) return nullptr;
    }
    std::unique_ptr<HunspellEngine> engine(new HunspellEngine());
    engine->hunspell_ = std::make_unique<Hunspell>(aff.c_str(), dic.c_str());
    engine->encoding_ = engine->hunspell_->get_dict_encoding();
    std::string upper = engine->encoding_;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    engine->utf8_ = upper == "UTF-8" || upper == "UTF8";
    const std::string& wordChars = engine->hunspell_->get_wordchars_cpp();
    engine->apostropheInWords_ = wordChars.find('\'') != std::string::npos ||
                                 wordChars.find("\xE2\x80\x99") != std::string::npos;
    return engine;
}

HunspellEngine::~HunspellEngine() = default;

std::string HunspellEngine::ToDictionary(std::string_view cp1252) const {
    std::string word(cp1252);
    std::replace(word.begin(), word.end(), char(0x92), '\'');
    const std::string utf8 = Cp1252ToUtf8(word);
    if (utf8_) return utf8;
    std::string out;
    return Iconv(utf8, "UTF-8", encoding_.c_str(), out) ? out : std::string();
}

std::string HunspellEngine::FromDictionary(std::string_view bytes, bool& representable) const {
    std::string utf8;
    if (utf8_) {
        utf8 = std::string(bytes);
    } else if (!Iconv(bytes, encoding_.c_str(), "UTF-8", utf8)) {
        representable = false;
        return {};
    }
    std::string out = Utf8ToCp1252(utf8, '\0');
    representable = out.find('\0') == std::string::npos;
    return out;
}

bool HunspellEngine::DictionaryKnows(std::string_view cp1252) {
    std::string key(cp1252);
    if (auto found = known_.find(key); found != known_.end()) return found->second;
    const std::string word = ToDictionary(cp1252);
    const bool known = !word.empty() && hunspell_->spell(word);
    // The answers are kept for the words of a session's texts; a flood of distinct strings
    // starts the memory over rather than growing it without end.
    if (known_.size() >= kKnownWordsKept) known_.clear();
    known_.emplace(std::move(key), known);
    return known;
}

bool HunspellEngine::Ignored(std::string_view word) const {
    if (ignored_.count(std::string(word))) return true;
    bool digits = false, lower = false, letters = false;
    for (unsigned char c : word) {
        if (IsDigit(c)) digits = true;
        if (IsLetter(c)) {
            letters = true;
            if (UpperCase1252(c) != c || c == 0xDF || c == 0xFF) lower = true;
        }
    }
    if (digits && (options_ & spoIgnoreMixedDigits)) return true;
    if (!letters) return true;  // numbers are not words
    if ((options_ & spoIgnoreAllCaps) && !lower) return true;
    if ((options_ & spoIgnoreRomanNumerals) && IsRomanNumeral(word)) return true;
    return false;
}

bool HunspellEngine::FirstUnknown(std::string_view buffer, std::size_t start, std::size_t end,
                                  std::size_t& errorStart, std::size_t& errorEnd) {
    const std::string_view word = buffer.substr(start, end - start);
    if (Ignored(word) || DictionaryKnows(word)) return false;
    // A word with apostrophes that the dictionary does not know whole is judged part by part
    // (elided forms: "dell'anno"), unless the dictionary takes apostrophes as part of its
    // words: the first part it does not know is the error.
    std::size_t partStart = start;
    const std::size_t scanEnd = apostropheInWords_ ? start : end;
    for (std::size_t i = start; i <= scanEnd; ++i) {
        if (i < scanEnd && !IsSpellApostrophe(static_cast<unsigned char>(buffer[i]))) continue;
        if (i == scanEnd && partStart == start) break;  // no apostrophe: the whole word
        const std::string_view part = buffer.substr(partStart, i - partStart);
        if (!part.empty() && !Ignored(part) && !DictionaryKnows(part)) {
            errorStart = partStart;
            errorEnd = i;
            return true;
        }
        partStart = i + 1;
    }
    if (partStart != start) return false;  // every part passed
    errorStart = start;
    errorEnd = end;
    return true;
}

bool HunspellEngine::WordPasses(std::string_view word) {
    std::size_t a = 0, b = 0;
    const std::string key(word);
    if (changeOnce_.count(key) || changeAlways_.count(key)) return false;
    return !FirstUnknown(word, 0, word.size(), a, b);
}

SpellVerdict HunspellEngine::Verify(std::string_view buffer, int state) {
    if (state == kSpellStateStart) {
        previous_.clear();
        sentenceStart_ = true;
    }
    std::size_t pos = 0;
    // The end of the word before the gap being crossed; npos at the buffer's start.
    std::size_t previousEnd = std::string_view::npos;
    const std::size_t n = buffer.size();
    while (pos < n) {
        // The gap before the next word.
        const std::size_t gapStart = pos;
        bool blanksOnly = true;
        while (pos < n) {
            const auto c = static_cast<unsigned char>(buffer[pos]);
            if (IsSpellWordChar(c)) break;
            if (c == '.' || c == '!' || c == '?') sentenceStart_ = true;
            if (c != ' ') blanksOnly = false;
            ++pos;
        }
        if (pos >= n) break;
        std::size_t end = pos;
        while (end < n) {
            const auto c = static_cast<unsigned char>(buffer[end]);
            if (IsSpellWordChar(c)) {
                ++end;
            } else if (IsSpellApostrophe(c) && end + 1 < n &&
                       IsSpellWordChar(static_cast<unsigned char>(buffer[end + 1]))) {
                end += 2;
            } else {
                break;
            }
        }
        const std::string word(buffer.substr(pos, end - pos));
        const bool afterWord = previousEnd != std::string_view::npos;
        if ((options_ & spoFindExtraSpaces) && afterWord && blanksOnly && pos - gapStart >= 2) {
            // From the last character of the word before to the first of this one.
            return {kSpellExtraSpaces, previousEnd - 1, pos - previousEnd + 2, {}};
        }
        if (auto found = changeAlways_.find(word); found != changeAlways_.end())
            return {kSpellAutoChange, pos, end - pos, found->second};
        if (auto found = changeOnce_.find(word); found != changeOnce_.end())
            return {kSpellChangeOnce, pos, end - pos, found->second};
        if ((options_ & spoFindRepeatWord) && !previous_.empty() && blanksOnly &&
            (afterWord || gapStart == 0) && SameText1252(previous_, word) &&
            !IsDigit(static_cast<unsigned char>(word[0])))
            return {kSpellRepeatWord, pos, end - pos, {}};
        if ((options_ & spoFindUncappedSentences) && sentenceStart_ &&
            IsLetter(static_cast<unsigned char>(word[0])) &&
            UpperCase1252(static_cast<unsigned char>(word[0])) !=
                static_cast<unsigned char>(word[0])) {
            sentenceStart_ = false;
            previous_ = word;
            return {kSpellUncappedSentence, pos, end - pos, {}};
        }
        std::size_t errorStart = 0, errorEnd = 0;
        if (FirstUnknown(buffer, pos, end, errorStart, errorEnd)) {
            previous_ = word;
            sentenceStart_ = false;
            return {kSpellUnknownWord, errorStart, errorEnd - errorStart, {}};
        }
        previous_ = word;
        sentenceStart_ = false;
        previousEnd = end;
        pos = end;
    }
    return {};
}

std::vector<std::string> HunspellEngine::Suggest(std::string_view word) {
    std::vector<std::string> out;
    const std::string dictionaryWord = ToDictionary(word);
    if (dictionaryWord.empty()) return out;
    for (const std::string& suggestion : hunspell_->suggest(dictionaryWord)) {
        bool representable = true;
        std::string text = FromDictionary(suggestion, representable);
        if (representable && !text.empty() && std::find(out.begin(), out.end(), text) == out.end())
            out.push_back(std::move(text));
    }
    return out;
}

void HunspellEngine::AddWord(std::string_view word) {
    const std::string dictionaryWord = ToDictionary(word);
    if (dictionaryWord.empty()) return;
    hunspell_->add(dictionaryWord);
    known_.erase(std::string(word));
}

void HunspellEngine::AddToList(std::uint16_t list, std::string_view word,
                               std::string_view replacement) {
    const std::string key(word);
    if (list == kListIgnore)
        ignored_.insert(key);
    else if (list == kListChangeOnce)
        changeOnce_[key] = std::string(replacement);
    else if (list == kListChangeAlways)
        changeAlways_[key] = std::string(replacement);
}

}  // namespace orvo
