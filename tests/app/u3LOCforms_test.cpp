// The compiled-in blocks: well formed, and their texts reach the windows byte for byte.
#include "app/u3LOCforms.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "LocalizationSupport.h"
#include "app/uQzLangs.h"
#include "base/Cp1252.h"

namespace orvo {
namespace {

using namespace orvo::literals;
using ::testing::ElementsAre;

TEST(CompiledBlocks, AreWellFormedAndNameOnlyTheirWindow) {
    ASSERT_FALSE(LocalizationBlocks().empty());
    for (const WindowBlock& b : LocalizationBlocks()) {
        EXPECT_TRUE(CheckBlock(b.block).ok()) << b.window;
        const auto lines = SplitBlockLines(b.block);
        const std::string own = "*_*" + Lower1252(b.window) + "_caption";
        EXPECT_EQ(lines.front(), own) << b.window;
        for (std::size_t i = 0; i < lines.size(); i += 2) {
            EXPECT_TRUE(lines[i].starts_with("*_*") || lines[i].starts_with("*_."))
                << b.window << ": " << lines[i];
            EXPECT_EQ(lines[i], Lower1252(lines[i])) << b.window << ": " << lines[i];
        }
    }
    EXPECT_EQ(LocalizationBlock("FOPZPROG"), LocalizationBlock("FopzProg"));
    EXPECT_TRUE(LocalizationBlock("FNessuna").empty());
}

TEST(CompiledBlocks, TheOptionsWindowGetsItsItalianTexts) {
    test::TestWindow window("FopzProg");
    window.Self().Text("Caption", "");
    window.Add("LUndoDeep").Text("Caption", "");
    window.Add("LNoSpell").Text("Caption", "");
    window.Add("LEstensioni1").Text("Caption", "");
    window.Add("CBPromemSave").Text("Caption", "");
    window.Add("CBComp").Strings("Items", {});
    window.Add("BCancExt").Text("Hint", "");
    TQzLanguager localiser(window);
    ASSERT_TRUE(localiser.SetLocalizationString(LocalizationBlock("FopzProg")).ok());
    EXPECT_EQ(window.Self().Get("Caption"), "Opzioni del programma");
    EXPECT_EQ(window.Get("LUndoDeep").Get("Caption"), "Profondit\xE0 undo:");
    EXPECT_EQ(window.Get("LNoSpell").Get("Caption"),
              "Il correttore ortografico Microsoft non \xE8 disponibile su questo sistema, o non "
              "funziona correttamente.");
    EXPECT_EQ(window.Get("LEstensioni1").Get("Caption"),
              "Se l'editor/lettore incontra files collegati all'ipertesto, il suo comportamento "
              "\xE8 definito cos\xEC:");
    EXPECT_EQ(window.Get("CBPromemSave").Get("Caption"), "Promemoria salvataggio:  ogni");
    EXPECT_THAT(
        window.Get("CBComp").List("Items"),
        ElementsAre("chiedi all'utente", "salva",
                    "esegui utilizzando l'applicazione corrispondente registrata in Windows",
                    "esegui utilizzando:"));
    EXPECT_EQ(window.Get("BCancExt").Get("Hint"), "Elimina selezionata");
}

}  // namespace
}  // namespace orvo
