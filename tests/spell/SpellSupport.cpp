// The tests' dictionary.
#include "SpellSupport.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace orvo::test {

std::filesystem::path WriteTestDictionary() {
    const std::filesystem::path folder = TestDir() / "dizionari";
    WriteFile(folder / "it_IT.aff",
              "SET UTF-8\nTRY aeiounrtlscdmpbgfvhzAEIOU'\n\nPFX E Y 1\nPFX E 0 dell' .\n");
    WriteFile(folder / "it_IT.dic",
              "9\ncasa\ncane\nil\nla\nperch\xC3\xA9\nalbero/E\nanno/E\nrosso\nciao\n");
    return folder;
}

std::unique_ptr<TQzSpellChecker> OpenTestChecker(IMessages& messages, bool keepUserWords) {
    if (!keepUserWords) std::filesystem::remove(TestDir() / "utente" / "CUSTOM.DIC");
    auto checker = std::make_unique<TQzSpellChecker>(
        messages, SpellerRegistry({WriteTestDictionary()}), TestDir() / "utente" / "CUSTOM.DIC");
    checker->SetLanguage(1040);
    EXPECT_TRUE(checker->Open());
    return checker;
}

}  // namespace orvo::test
