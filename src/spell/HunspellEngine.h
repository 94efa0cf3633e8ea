// HunspellEngine: the speller engine over libhunspell. It reads Windows-1252 buffers the way the
// dialog and the background check hand them over, finds the words in them (letters and digits,
// with apostrophes inside a word kept, so elided forms such as "dell'anno" are one word),
// applies the option set, the ignore list, the change lists and the user's words, and asks the
// dictionary about the rest in its own encoding.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "spell/SpellTypes.h"

class Hunspell;

namespace orvo {

/// A word character of the buffers: a Windows-1252 letter or a digit.
bool IsSpellWordChar(unsigned char c);
/// An apostrophe: "'" or the typographic one (0x92).
bool IsSpellApostrophe(unsigned char c);
/// The Roman numeral in upper case, well formed ("XIV", not "IIII" or "VX").
bool IsRomanNumeral(std::string_view word);

class HunspellEngine {
public:
    /// The dictionary pair; nullptr when either file cannot be read or holds no words.
    static std::unique_ptr<HunspellEngine> Load(const std::filesystem::path& aff,
                                                const std::filesystem::path& dic);
    ~HunspellEngine();
    HunspellEngine(const HunspellEngine&) = delete;
    HunspellEngine& operator=(const HunspellEngine&) = delete;

    void SetOptions(std::uint16_t options) { options_ = options; }
    std::uint16_t Options() const { return options_; }

    /// The first problem in `buffer` (Windows-1252). The state says whether the buffer starts a
    /// new check, continues the same text after an error, or is the next paragraph.
    SpellVerdict Verify(std::string_view buffer, int state);
    /// Whether one word passes (lists, options and dictionary; Windows-1252).
    bool WordPasses(std::string_view word);
    /// The dictionary's suggestions for a word, in Windows-1252; those the code page cannot
    /// write are left out.
    std::vector<std::string> Suggest(std::string_view word);

    /// Adds the word to the dictionary in memory (the user's words).
    void AddWord(std::string_view word);
    /// Adds to the ignore list (kListIgnore) or a change list (kListChangeOnce,
    /// kListChangeAlways, with the replacement).
    void AddToList(std::uint16_t list, std::string_view word, std::string_view replacement = {});

    /// The dictionary's encoding as its affix file names it ("UTF-8", "ISO8859-1", ...).
    const std::string& Encoding() const { return encoding_; }

private:
    HunspellEngine() = default;
    std::string ToDictionary(std::string_view cp1252) const;
    std::string FromDictionary(std::string_view bytes, bool& representable) const;
    bool DictionaryKnows(std::string_view cp1252);
    bool Ignored(std::string_view word) const;
    /// The first stretch of [start, end) of the buffer the dictionary does not know: the whole
    /// word, or for a word with apostrophes that fails whole, its first failing part.
    bool FirstUnknown(std::string_view buffer, std::size_t start, std::size_t end,
                      std::size_t& errorStart, std::size_t& errorEnd);

    std::unique_ptr<Hunspell> hunspell_;
    std::string encoding_;
    bool utf8_ = false;
    // The dictionary counts an apostrophe among its word characters (English "don't"): a word
    // with apostrophes is then judged whole only.
    bool apostropheInWords_ = false;
    std::uint16_t options_ = kDefaultSpellOptions;
    std::unordered_map<std::string, bool> known_;  // dictionary answers by word
    std::set<std::string> ignored_;
    std::unordered_map<std::string, std::string> changeOnce_, changeAlways_;
    std::string previous_;  // the last word that passed, for repeated words
    bool sentenceStart_ = true;
};

}  // namespace orvo
