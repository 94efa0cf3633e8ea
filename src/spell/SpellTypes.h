// The vocabulary shared by the speller, its dialog and its background check: option bits,
// verification statuses, list codes and the result of one verification.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

/// The option set, one bit each in this order (the set travels as a 16-bit word).
enum TSpellOption : std::uint16_t {
    spoSuggestFromUserDict = 1,
    spoIgnoreAllCaps = 2,
    spoIgnoreMixedDigits = 4,
    spoIgnoreRomanNumerals = 8,
    spoFindUncappedSentences = 16,
    spoFindMissingSpaces = 32,
    spoFindRepeatWord = 64,
    spoFindExtraSpaces = 128,
    spoFindSpacesBeforePunc = 256,
    spoFindSpacesAfterPunc = 512,
    spoRateSuggestions = 1024,
    spoFindInitialNumerals = 2048,
};
inline constexpr std::uint16_t kDefaultSpellOptions = 15;

/// What a verification found.
enum SpellStatus : int {
    kSpellOk = 0,
    kSpellUnknownWord = 1,
    kSpellAutoChange = 2,  // a replacement to apply without asking
    kSpellChangeOnce = 3,  // a replacement to offer first
    kSpellHyphenation = 4,
    kSpellCapitalisation = 5,
    kSpellAbbreviation = 6,
    kSpellNoMoreSuggestions = 8,
    kSpellUncappedSentence = 10,
    kSpellRepeatWord = 11,
    kSpellExtraSpaces = 12,
    kSpellMissingSpace = 13,
    kSpellInitialNumeral = 14,
};

/// Where the next verification of a buffer stands.
enum SpellState : int {
    kSpellStateStart = 0,      // a new check: a sentence starts, no previous word
    kSpellStateContinue = 1,   // the same buffer, after an error
    kSpellStateParagraph = 2,  // the next paragraph of the same check
};

/// The lists a word can be added to besides the user dictionary.
inline constexpr std::uint16_t kListIgnore = 0xFFFE;
inline constexpr std::uint16_t kListChangeOnce = 0xFFFC;
inline constexpr std::uint16_t kListChangeAlways = 0xFFFD;

/// One verification: the first problem at or after the start of the buffer given.
struct SpellVerdict {
    int status = kSpellOk;
    std::size_t offset = 0;  // from the start of the buffer given
    std::size_t length = 0;
    std::string replacement;  // statuses 2 and 3 (Windows-1252)
};

/// Where a check goes on after skipping a problem, from the start of the buffer verified: past
/// the error, but for extra spaces at the first letter of the next word, which the error ends
/// with (else the rest of that word would be checked as a word of its own).
inline std::size_t SpellResumeAfter(const SpellVerdict& verdict) {
    const std::size_t end = verdict.offset + verdict.length;
    return verdict.status == kSpellExtraSpaces && verdict.length >= 2 ? end - 1 : end;
}

/// The texts the user sees.
inline constexpr std::string_view kSpellLoadError = "Errore caricando Spell DLL %s";
inline constexpr std::string_view kSpellUnloadError = "Errore scaricando Spell DLL %s";
inline constexpr std::string_view kSpellCallError = "Errore spelling No %d";
inline constexpr std::string_view kSpellDefaultCaption = "Controllo ortografico %s";

/// "%s" (or "%d") in `pattern` replaced literally by `value`; the value is never read as a
/// format.
std::string SubstituteFormat(std::string_view pattern, std::string_view marker,
                             std::string_view value);

}  // namespace orvo
