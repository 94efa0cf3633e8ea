// Localisation blocks applied to a window, and the language store's generated file.
#include "app/uQzLangs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "LocalizationSupport.h"
#include "base/Cp1252.h"
#include "base/Paths.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::literals;
using test::TestComponent;
using test::TestHolder;
using test::TestWindow;
using ::testing::ElementsAre;

std::unique_ptr<TestHolder> Column(std::string caption, int width) {
    auto c = std::make_unique<TestHolder>();
    c->Text("Caption", std::move(caption))
        .Integer("Width", width)
        .Enumeration("Alignment", "taLeftJustify", {"taLeftJustify", "taRightJustify", "taCenter"});
    return c;
}

// A window like the program's dialogs: texts, a radio group, a list view, a menu, a popup menu.
class Localisation : public ::testing::Test {
protected:
    Localisation() {
        window_.Self().Text("Caption", "FAncora").Text("Hint", "").Text("Filter", "*.*");
        window_.Add("Label1").Text("Caption", "vecchio  ").Text("Hint", "");
        window_.Add("BOk").Text("Caption", "OK").Text("Hint", " ").Integer("Tag", 7);
        window_.Add("RGCursors").Text("Caption", "Pointers").Strings("Items", {"a", "b", "c", "d"});
        std::vector<std::unique_ptr<TestHolder>> columns;
        columns.push_back(Column("Page", 100));
        columns.push_back(Column("Size", 50));
        window_.Add("LVPages").Collection("Columns", std::move(columns));
        window_.Add("N1", ComponentKind::MenuItem)
            .Text("Caption", "File")
            .Text("Hint", "")
            .Strings("Items", {"keep"});
        window_.Add("PopupMenu1").Reference("Items", nullptr);
        window_.Add("", ComponentKind::Other).Text("Caption", "nameless ");
        window_.Add("Languager", ComponentKind::Languager).Text("Caption", "lang ");
        window_.Add("OpenDialog1").Text("Filter", "All|*.*").Text("Title", "Open");
    }

    Status Apply(std::string_view block) { return languager_.SetLocalizationString(block); }

    TestWindow window_{"FAncora"};
    test::TestWindows windows_;
    TQzLanguager languager_{window_, &windows_};
};

const std::string kItalian =
    "*_*fancora_caption\r\n Ancora\r\n"
    "*_*label1_caption\r\n Introduci un nuovo valore numerico per l''ancora:\r\n"
    "*_*bok_caption\r\n &Ok\r\n"
    "*_*bok_hint\r\n Conferma\r\n"
    "*_.rgcursors_items*count\r\n 4\r\n"
    "*_.rgcursors_items*item0\r\n Normali\r\n"
    "*_.rgcursors_items*item1\r\n Evidenti\r\n"
    "*_.rgcursors_items*item2\r\n Grandi\r\n"
    "*_.rgcursors_items*item3\r\n Grandi ed evidenti\r\n"
    "*_*rgcursors_caption\r\n Puntatori\r\n"
    "*_.lvpages_columns*item0_caption\r\n Pagina\r\n"
    "*_.lvpages_columns*item0_width\r\n 300\r\n"
    "*_.lvpages_columns*item0_alignment\r\n taLeftJustify\r\n"
    "*_.lvpages_columns*item1_caption\r\n Dimensione\r\n"
    "*_.lvpages_columns*item1_alignment\r\n tarightjustify\r\n"
    "*_*n1_caption\r\n &File\r\n"
    "*_*popupmenu1_items\r\n PopupMenu1.\r\n"
    "*_*opendialog1_filter\r\n Tutti i files (*.*)|*.*\r\n"
    "*_*opendialog1_title\r\n Apri\r\n";

const std::string kEnglish =
    "*_*fancora_caption\r\n Anchor\r\n"
    "*_*label1_caption\r\n Enter a new number for the anchor:\r\n"
    "*_*bok_caption\r\n &OK\r\n"
    "*_*bok_hint\r\n Confirm\r\n"
    "*_.rgcursors_items*count\r\n 4\r\n"
    "*_.rgcursors_items*item0\r\n Normal\r\n"
    "*_.rgcursors_items*item1\r\n Visible\r\n"
    "*_.rgcursors_items*item2\r\n Large\r\n"
    "*_.rgcursors_items*item3\r\n Large and visible\r\n"
    "*_*rgcursors_caption\r\n Pointers\r\n"
    "*_.lvpages_columns*item0_caption\r\n Page\r\n"
    "*_.lvpages_columns*item0_width\r\n 250\r\n"
    "*_.lvpages_columns*item1_caption\r\n Size\r\n"
    "*_*n1_caption\r\n &File\r\n"
    "*_*opendialog1_filter\r\n All files (*.*)|*.*\r\n"
    "*_*opendialog1_title\r\n Open\r\n";

TEST_F(Localisation, ABlockSetsEveryNamedProperty) {
    ASSERT_TRUE(Apply(kItalian).ok());
    EXPECT_EQ(window_.Self().Get("Caption"), "Ancora");
    EXPECT_EQ(window_.Get("Label1").Get("Caption"),
              "Introduci un nuovo valore numerico per l'ancora:");
    EXPECT_EQ(window_.Get("BOk").Get("Caption"), "&Ok");
    EXPECT_EQ(window_.Get("BOk").Get("Hint"), "Conferma");
    EXPECT_EQ(window_.Get("BOk").Get("Tag"), "7");  // not a text: never localised
    EXPECT_THAT(window_.Get("RGCursors").List("Items"),
                ElementsAre("Normali", "Evidenti", "Grandi", "Grandi ed evidenti"));
    EXPECT_EQ(window_.Get("RGCursors").Get("Caption"), "Puntatori");
    TestHolder& lv = window_.Get("LVPages");
    EXPECT_EQ(lv.Item("Columns", 0).Get("Caption"), "Pagina");
    EXPECT_EQ(lv.Item("Columns", 0).Get("Width"), "300");
    EXPECT_EQ(lv.Item("Columns", 1).Get("Caption"), "Dimensione");
    EXPECT_EQ(lv.Item("Columns", 1).Get("Width"), "50");
    EXPECT_EQ(lv.Item("Columns", 1).Get("Alignment"), "taRightJustify");
    EXPECT_EQ(lv.updates, 1);
    EXPECT_EQ(window_.Get("N1").Get("Caption"), "&File");
    EXPECT_EQ(window_.Get("PopupMenu1").Ref("Items"), nullptr);  // no window "PopupMenu1"
    EXPECT_EQ(window_.Get("OpenDialog1").Get("Filter"), "Tutti i files (*.*)|*.*");
    EXPECT_EQ(window_.Get("OpenDialog1").Get("Title"), "Apri");
    EXPECT_EQ(window_.Get("Languager").Get("Caption"), "lang ");
    EXPECT_EQ(window_.Get("").Get("Caption"), "nameless ");
}

TEST_F(Localisation, AnotherLanguagesBlockReplacesEveryText) {
    ASSERT_TRUE(Apply(kItalian).ok());
    ASSERT_TRUE(Apply(kEnglish).ok());
    EXPECT_EQ(window_.Self().Get("Caption"), "Anchor");
    EXPECT_EQ(window_.Get("Label1").Get("Caption"), "Enter a new number for the anchor:");
    EXPECT_EQ(window_.Get("BOk").Get("Caption"), "&OK");
    EXPECT_EQ(window_.Get("BOk").Get("Hint"), "Confirm");
    EXPECT_THAT(window_.Get("RGCursors").List("Items"),
                ElementsAre("Normal", "Visible", "Large", "Large and visible"));
    EXPECT_EQ(window_.Get("LVPages").Item("Columns", 0).Get("Caption"), "Page");
    EXPECT_EQ(window_.Get("LVPages").Item("Columns", 0).Get("Width"), "250");
    EXPECT_EQ(window_.Get("LVPages").Item("Columns", 1).Get("Caption"), "Size");
    EXPECT_EQ(window_.Get("OpenDialog1").Get("Title"), "Open");
}

TEST_F(Localisation, AMalformedBlockIsReportedAndNothingOfItApplied) {
    const std::string broken =
        "*_*fancora_caption\r\n Ancora\r\n"
        "*_*label1_caption\r\n"  // its value line is missing: the next key takes its place
        "*_*bok_caption\r\n &Ok\r\n";
    Status applied = Apply(broken);
    ASSERT_FALSE(applied.ok());
    EXPECT_EQ(applied.failure().text, "Blocco di localizzazione non valido alla riga 5.");
    EXPECT_EQ(window_.Self().Get("Caption"), "FAncora");
    EXPECT_EQ(window_.Get("Label1").Get("Caption"), "vecchio  ");  // not even trimmed

    EXPECT_EQ(CheckBlock("Ancora\r\n x\r\n").failure().text,
              "Blocco di localizzazione non valido alla riga 1.");
    EXPECT_EQ(CheckBlock("*_*a_caption\r\n\r\n").failure().text,
              "Blocco di localizzazione non valido alla riga 2.");
    EXPECT_TRUE(CheckBlock("*_*a_caption").ok());
    EXPECT_TRUE(CheckBlock("*_*a_caption\r\n x\r\n*_*b_caption\r\n").ok());
    EXPECT_TRUE(CheckBlock("").ok());
    EXPECT_TRUE(CheckBlock("*_*a_caption\n x\r*_*b_caption\r\n y").ok());
}

TEST_F(Localisation, AKeyOnTheLastLineLeavesItsPropertyAsAnAbsentKeyDoes) {
    Status applied = Apply("*_*fancora_caption\r\n Ancora\r\n*_*label1_caption\r\n");
    ASSERT_TRUE(applied.ok()) << applied.failure().text;
    EXPECT_EQ(window_.Self().Get("Caption"), "Ancora");
    EXPECT_EQ(window_.Get("Label1").Get("Caption"), "vecchio");  // its own value, trimmed
}

TEST_F(Localisation, AnAbsentKeyGivesTheOwnValueTrimmed) {
    ASSERT_TRUE(Apply("*_*bok_caption\r\n &Ok\r\n").ok());
    EXPECT_EQ(window_.Get("Label1").Get("Caption"), "vecchio");
    EXPECT_EQ(window_.Get("BOk").Get("Hint"), "");
    EXPECT_THAT(window_.Get("RGCursors").List("Items"), ElementsAre("a", "b", "c", "d"));
}

TEST_F(Localisation, TheFirstOfTwoKeysWinsAndValueLinesAreLookedAtToo) {
    ASSERT_TRUE(Apply("*_*bok_caption\r\n Primo\r\n"
                      "*_*bok_caption\r\n Secondo\r\n"
                      "*_*x_caption\r\n*_*label1_caption\r\n"  // a value line that is a key
                      "*_*y_caption\r\n*_*bok_hint\r\n")       // ... on the last line
                    .ok());
    EXPECT_EQ(window_.Get("BOk").Get("Caption"), "Primo");
    // The value line "*_*label1_caption" matches the key; the key line after it is its value,
    // less its first character.
    EXPECT_EQ(window_.Get("Label1").Get("Caption"), "_*y_caption");
    EXPECT_EQ(window_.Get("BOk").Get("Hint"), "");  // no line behind it: own value, trimmed
}

TEST_F(Localisation, KeysMatchWithoutRegardToCase) {
    TestWindow list("FlistErr");
    list.Self().Text("Caption", "x");
    TQzLanguager localiser(list);
    ASSERT_TRUE(localiser.SetLocalizationString("*_*flistErr_caption\r\n Errori\r\n").ok());
    EXPECT_EQ(list.Self().Get("Caption"), "Errori");
    ASSERT_TRUE(localiser.SetLocalizationString("*_*FLISTERR_CAPTION\r\n ERRORI\r\n").ok());
    EXPECT_EQ(list.Self().Get("Caption"), "ERRORI");
}

TEST_F(Localisation, ValueEscapes) {
    const std::string block =
        "*_*label1_caption\r\n Prima riga\xA7!seconda riga\r\n"
        "*_*bok_caption\r\n Fine\xA7!\r\n"
        "*_*bok_hint\r\n \xA7x\xA7\xA7 l'altro e l''altro \xA7\r\n"
        "*_.rgcursors_items*count\r\n 2\r\n"
        "*_.rgcursors_items*item0\r\n  uno\xA7!\r\n"
        "*_.rgcursors_items*item1\r\n due  \r\n";
    ASSERT_TRUE(Apply(block).ok());
    EXPECT_EQ(window_.Get("Label1").Get("Caption"), "Prima riga\r\nseconda riga");
    EXPECT_EQ(window_.Get("BOk").Get("Caption"), "Fine");
    EXPECT_EQ(window_.Get("BOk").Get("Hint"), "x\xA7 l'altro e l'altro");
    // List items are not trimmed.
    EXPECT_THAT(window_.Get("RGCursors").List("Items"), ElementsAre(" uno\r\n", "due  "));
}

TEST_F(Localisation, ListCounts) {
    for (const char* count : {"0", "-1", "tre"}) {
        ASSERT_TRUE(Apply(std::string("*_.rgcursors_items*count\r\n ") + count +
                          "\r\n*_.rgcursors_items*item0\r\n X\r\n")
                        .ok());
        EXPECT_THAT(window_.Get("RGCursors").List("Items"), ElementsAre("a", "b", "c", "d"))
            << count;
    }
    ASSERT_TRUE(Apply("*_.rgcursors_items*item0\r\n X\r\n").ok());  // no count at all
    EXPECT_THAT(window_.Get("RGCursors").List("Items"), ElementsAre("a", "b", "c", "d"));
    ASSERT_TRUE(Apply("*_.rgcursors_items*count\r\n 3\r\n"
                      "*_.rgcursors_items*item0\r\n Uno\r\n"
                      "*_.rgcursors_items*item1\r\n Due\r\n")
                    .ok());
    EXPECT_THAT(window_.Get("RGCursors").List("Items"), ElementsAre("Uno", "Due", ""));
    ASSERT_TRUE(Apply("*_.rgcursors_items*count\r\n 2147483647\r\n").ok());
    EXPECT_EQ(window_.Get("RGCursors").List("Items").size(), 65536u);
}

TEST_F(Localisation, CollectionsKeepTheirItems) {
    ASSERT_TRUE(Apply("*_.lvpages_columns*item5_caption\r\n Nuova\r\n"
                      "*_.lvpages_columns*item0_width\r\n largo\r\n"
                      "*_.lvpages_columns*item1_alignment\r\n centrato\r\n")
                    .ok());
    TestHolder& lv = window_.Get("LVPages");
    EXPECT_EQ(lv.Items("Columns").size(), 2u);
    EXPECT_EQ(lv.Item("Columns", 0).Get("Width"), "0");                  // no number
    EXPECT_EQ(lv.Item("Columns", 1).Get("Alignment"), "taLeftJustify");  // no such name
}

TEST_F(Localisation, MenuItemsAndWindowsTakeOnlyCaptionTextAndHint) {
    ASSERT_TRUE(Apply("*_.n1_items*count\r\n 1\r\n*_.n1_items*item0\r\n Via\r\n"
                      "*_*fancora_filter\r\n nuovo\r\n")
                    .ok());
    EXPECT_THAT(window_.Get("N1").List("Items"), ElementsAre("keep"));
    EXPECT_EQ(window_.Self().Get("Filter"), "*.*");
    EXPECT_THAT(languager_.PropertiesList(),
                ElementsAre("fancora.caption", "fancora.hint", "label1.caption", "label1.hint",
                            "bok.caption", "bok.hint", "rgcursors.caption", "rgcursors.items",
                            "lvpages.columns", "n1.caption", "n1.hint", "popupmenu1.items",
                            "opendialog1.filter", "opendialog1.title"));
}

TEST_F(Localisation, ReferencesNameAComponentOfAnOpenWindow) {
    TestWindow other("FMain");
    TestComponent& menu = other.Add("PopupEdit");
    windows_.open.push_back(&other);
    TestComponent& popup = window_.Get("PopupMenu1");

    ASSERT_TRUE(Apply("*_*popupmenu1_items\r\n fmain.popupedit\r\n").ok());
    EXPECT_EQ(popup.Ref("Items"), static_cast<ILocalizableComponent*>(&menu));
    ASSERT_TRUE(Apply("*_*popupmenu1_items\r\n FClosed.PopupEdit\r\n").ok());
    EXPECT_EQ(popup.Ref("Items"), static_cast<ILocalizableComponent*>(&menu));  // unchanged
    ASSERT_TRUE(Apply("*_*popupmenu1_items\r\n bok\r\n").ok());                 // in this window
    EXPECT_EQ(popup.Ref("Items"), window_.FindComponent("BOk"));
    ASSERT_TRUE(Apply("*_*popupmenu1_items\r\n (NULL)\r\n").ok());
    EXPECT_EQ(popup.Ref("Items"), nullptr);
    ASSERT_TRUE(Apply("*_*popupmenu1_items\r\n FMain.Nothing\r\n").ok());
    EXPECT_EQ(popup.Ref("Items"), nullptr);
}

TEST_F(Localisation, ObjectsAndFailingPropertiesAndRenamedComponents) {
    auto font = std::make_unique<TestHolder>();
    font->Text("Name", "Arial").Integer("Size", 8).Character("Kind", 'a').Real("Scale", "1.5");
    TestComponent& edit = window_.Add("Edit1");
    edit.Throwing("Hint").Text("Text", "  testo ").Object("Title", std::move(font));
    languager_.Notification(&edit, TQzLanguager::Operation::Insert);
    ASSERT_TRUE(Apply("*_*edit1_hint\r\n Suggerimento\r\n"
                      "*_*edit1_text\r\n Nuovo\r\n"
                      "*_*edit1_titlename\r\n Times New Roman\r\n"
                      "*_*edit1_titlesize\r\n 12\r\n"
                      "*_*edit1_titlekind\r\n zeta\r\n"
                      "*_*edit1_titlescale\r\n 2,5\r\n")
                    .ok());
    EXPECT_EQ(edit.Get("Hint"), "untouched");  // it threw; the next ones were still applied
    EXPECT_EQ(edit.Get("Text"), "Nuovo");
    EXPECT_EQ(edit.Inner("Title").Get("Name"), "Times New Roman");
    EXPECT_EQ(edit.Inner("Title").Get("Size"), "12");
    EXPECT_EQ(edit.Inner("Title").Get("Kind"), "z");
    EXPECT_EQ(edit.Inner("Title").Get("Scale"), "1.5");  // "2,5" is no real number

    // Every assignment uses the components' current names.
    edit.Rename("EditNome");
    ASSERT_TRUE(Apply("*_*editnome_text\r\n Rinominato\r\n").ok());
    EXPECT_EQ(edit.Get("Text"), "Rinominato");

    // Once the list is built (as the designer reads it), a removed component leaves it.
    EXPECT_EQ(languager_.PropertiesList().back(), "editnome.title");
    languager_.Notification(&edit, TQzLanguager::Operation::Remove);
    EXPECT_EQ(languager_.PropertiesList().back(), "opendialog1.title");
    ASSERT_TRUE(Apply("*_*editnome_text\r\n Tolto\r\n").ok());
    EXPECT_EQ(edit.Get("Text"), "Rinominato");
}

// ---------------------------------------------------------------------------------------------
// The language store

const std::string kTwoLanguages =
    "unit u3LOCforms;\r\ninterface\r\n\r\nconst\r\n"
    "\r\n//STRING mantained by QzLanguagesStore.\r\n//Please modify only strings marked by {##>} "
    "{<##}.\r\n{$ifdef eng}\r\n\r\n{$endif}//QzLanguagesStore\r\n\r\n"
    "\r\n//STRING mantained by QzLanguagesStore.\r\n//Please modify only strings marked by {##>} "
    "{<##}.\r\n{$ifdef ita}\r\n\r\n{$endif}//QzLanguagesStore\r\n\r\n"
    "\r\nimplementation\r\nend.";

class LanguageStore : public ::testing::Test {
protected:
    std::filesystem::path folder_ =
        test::TestDir() / "langs" / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::path file_ = folder_ / "u3LOCforms.txt";
    TQzLanguagesStore store_;

    void SetUp() override {
        std::filesystem::create_directories(folder_);
        store_.LanguagesPasUnit = NameOfPath(file_);
    }
};

TEST_F(LanguageStore, WritesTheSkeletonByteForByte) {
    EXPECT_EQ(TQzLanguagesStore::WriteStoreSkeleton("u3LOCforms", {"eng", "ita"}), kTwoLanguages);
    ASSERT_TRUE(store_.SetLanguagesDefines({"eng", "ita"}).ok());
    EXPECT_EQ(test::ReadFile(file_), kTwoLanguages);
}

TEST_F(LanguageStore, AnEmptyListKeepsTheDefaultLanguage) {
    EXPECT_THAT(store_.LanguagesDefines(), ElementsAre("eng"));
    store_.DefaultLang = "ita";
    ASSERT_TRUE(store_.SetLanguagesDefines({}).ok());
    EXPECT_THAT(store_.LanguagesDefines(), ElementsAre("ita"));
    store_.LoadLanguagesDefines({"eng", "fra"});
    EXPECT_THAT(store_.LanguagesDefines(), ElementsAre("eng", "fra"));
    EXPECT_EQ(test::ReadFile(file_).find("fra"), std::string::npos);  // no file was touched
}

TEST_F(LanguageStore, AMissingLanguageStartsAsACopyOfTheFirst) {
    const std::string engOnly =
        "unit u3LOCforms;\r\ninterface\r\n\r\nconst\r\n"
        "\r\n//STRING mantained by QzLanguagesStore.\r\n//Please modify only strings marked by "
        "{##>} {<##}.\r\n{$ifdef eng}\r\n  FAncora = '{##>}Anchor{<##}';\r\n"
        "{$endif}//QzLanguagesStore\r\n\r\n"
        "\r\nimplementation\r\nend.";
    test::WriteFile(file_, engOnly);
    ASSERT_TRUE(store_.SetLanguagesDefines({"eng", "ita"}).ok());
    const std::string expected =
        "unit u3LOCforms;\r\ninterface\r\n\r\nconst\r\n"
        "\r\n//STRING mantained by QzLanguagesStore.\r\n//Please modify only strings marked by "
        "{##>} {<##}.\r\n{$ifdef eng}\r\n  FAncora = '{##>}Anchor{<##}';\r\n"
        "{$endif}//QzLanguagesStore\r\n\r\n"
        "\r\n//STRING mantained by QzLanguagesStore.\r\n//Please modify only strings marked by "
        "{##>} {<##}.\r\n{$ifdef ita}\r\n  FAncora = '{##>}Anchor{<##}';"
        "\r\n{$endif}//QzLanguagesStore\r\n\r\n"
        "\r\nimplementation\r\nend.";
    EXPECT_EQ(test::Escaped(test::ReadFile(file_)), test::Escaped(expected));
    // A second time there is nothing to add.
    ASSERT_TRUE(store_.SetLanguagesDefines({"ita", "eng"}).ok());
    EXPECT_EQ(test::ReadFile(file_), expected);
}

TEST_F(LanguageStore, AFileThatIsNotALanguageFileIsKeptAsABackup) {
    const std::string notes = "appunti del traduttore, senza sezioni\r\n";
    test::WriteFile(file_, notes);
    ASSERT_TRUE(store_.SetLanguagesDefines({"eng", "ita"}).ok());
    EXPECT_EQ(test::ReadFile(file_), kTwoLanguages);
    std::filesystem::path backup = file_;
    backup += ".bak";
    EXPECT_EQ(test::ReadFile(backup), notes);

    test::WriteFile(file_, "di nuovo rotto");
    ASSERT_TRUE(store_.SetLanguagesDefines({"eng", "ita"}).ok());
    std::filesystem::path second = file_;
    second += ".bak1";
    EXPECT_EQ(test::ReadFile(backup), notes);
    EXPECT_EQ(test::ReadFile(second), "di nuovo rotto");
}

TEST_F(LanguageStore, ASectionThatNeverClosesGivesAnEmptyCopy) {
    const std::string itaSection =
        "\r\n//STRING mantained by QzLanguagesStore.\r\n//Please modify only strings marked by "
        "{##>} {<##}.\r\n{$ifdef ita}\r\n\r\n{$endif}//QzLanguagesStore\r\n\r\n";
    EXPECT_EQ(TQzLanguagesStore::MergeLanguages(
                  "unit x;\r\ninterface\r\n\r\nconst\r\n\r\n{$ifdef eng}\r\n  A = 1;"
                  "\r\nimplementation\r\nend.",
                  "x", {"eng", "ita"}),
              "unit x;\r\ninterface\r\n\r\nconst\r\n\r\n{$ifdef eng}\r\n  A = 1;" + itaSection +
                  "\r\nimplementation\r\nend.");
    // The opening line is the file's last: nothing follows it to copy.
    EXPECT_EQ(TQzLanguagesStore::MergeLanguages("\r\nconst\r\nimplementation\r\n{$ifdef eng}", "x",
                                                {"eng", "ita"}),
              "\r\nconst" + itaSection + "\r\nimplementation\r\n{$ifdef eng}");
}

}  // namespace
}  // namespace orvo
