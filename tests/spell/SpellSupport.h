// A small Italian-like dictionary written by the tests, and a checker over it.
#pragma once

#include <filesystem>
#include <memory>

#include "platform/IMessages.h"
#include "spell/QzSpellers.h"

namespace orvo::test {

/// Writes it_IT.aff and it_IT.dic (UTF-8) into a fresh folder of the test and returns it: the
/// words "casa", "cane", "il", "la", "perché", "albero", "anno", "rosso" and "ciao", with the
/// elided prefix "dell'" on "albero" and "anno".
std::filesystem::path WriteTestDictionary();

/// A checker over that folder for 1040, its user dictionary in the test's folder (emptied
/// first unless `keepUserWords`); opened.
std::unique_ptr<TQzSpellChecker> OpenTestChecker(IMessages& messages, bool keepUserWords = false);

}  // namespace orvo::test
