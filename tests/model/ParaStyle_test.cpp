// Override records against style definitions: flags, Assign, units, link appearance, the key
// table and the style operations of a hypertext.
#include "model/ParaStyle.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "base/Cp1252.h"
#include "model/StyleTable.h"
#include "model/uKYTset.h"
#include "support/MarkupHost.h"

namespace orvo {
namespace {

using namespace orvo::literals;
using ::testing::ElementsAre;

class OverrideRecords : public ::testing::Test {
protected:
    test::TestMarkupHost host_;
    const TKYToggetto& plain_ = host_.Style(0);
    const TKYToggetto& table_ = host_.Style(1);
};

TEST_F(OverrideRecords, SettingTheStylesOwnValueClearsTheFlag) {
    TKYTparag para;
    para.style.SetDefinition(&plain_);
    para.style.SetColour(0x0000FF);
    EXPECT_TRUE(para.style.Overrides(StyleField::Colour));
    para.style.SetColour(0);
    EXPECT_FALSE(para.style.Overrides(StyleField::Colour));
    para.metrics.resize(1);
    EXPECT_EQ(test::Written(para, host_), "<Z S0 >");
    para.style.SetFontName("times new roman");  // compared with case
    EXPECT_TRUE(para.style.Overrides(StyleField::FontName));
}

TEST_F(OverrideRecords, EffectiveValuesComeFromTheDefinitionUnlessOverridden) {
    TKYTParaStyle style;
    style.SetDefinition(&table_);
    EXPECT_EQ(style.LeftMargin(), 0);
    EXPECT_EQ(style.FontName(), "Times New Roman");
    EXPECT_EQ(style.LinkColour(), 0xFF0000);
    EXPECT_EQ(style.LinkSize(), -1);
    EXPECT_EQ(style.LineHeight(), -32000);
    EXPECT_TRUE(style.HasAutomaticLineHeight());
    style.SetLineHeight(0);
    EXPECT_TRUE(style.HasAutomaticLineHeight());
    style.SetLineHeight(18);
    EXPECT_FALSE(style.HasAutomaticLineHeight());
    style.SetLeftMargin(25);
    EXPECT_EQ(style.LeftMargin(), 25);
    EXPECT_EQ(style.charFormat.Definition(), &table_) << "the character format follows";
}

TEST_F(OverrideRecords, AssignAcrossStylesKeepsEffectiveValuesAndRecomputesFlags) {
    TKYTParaStyle source;
    source.SetDefinition(&plain_);  // margins 10 and 10 from style 0
    source.SetRightMargin(0);
    TKYTParaStyle target;
    target.SetDefinition(&table_);  // margins 0 and 0 from style 1
    target.SetLeftMargin(30);
    target.SetAlignment(2);
    target.Assign(source);
    EXPECT_EQ(target.Definition(), &plain_);
    EXPECT_EQ(target.charFormat.Definition(), &plain_);
    for (const StyleKey& key : kStyleKeys) {
        if (key.field == StyleField::FontName) continue;
        EXPECT_EQ(target.Get(key.field), source.Get(key.field)) << key.key;
        EXPECT_EQ(target.Overrides(key.field), key.field == StyleField::RightMargin) << key.key;
    }
    EXPECT_EQ(target.LeftMargin(), 10);
    EXPECT_EQ(target.Alignment(), 0);
}

TEST_F(OverrideRecords, AssignBetweenTheThreeFontRecords) {
    TMyFont font{"Arial", kFontItalic, 0x00FF00, 20, kPositionSuperscript};
    TKYTFontStyle run;
    run.SetDefinition(&plain_);
    run.Assign(font);
    EXPECT_EQ(run.AsMyFont(), font);
    TKYTParaStyle para;
    para.SetDefinition(&table_);
    para.Assign(run);
    EXPECT_EQ(para.Definition(), &plain_);
    EXPECT_EQ(para.AsMyFont(), font);
    EXPECT_EQ(para.charFormat.AsMyFont(), font);
    TKYTFontStyle back;
    back.Assign(para);
    EXPECT_EQ(back.Definition(), &plain_);
    EXPECT_EQ(back.AsMyFont(), font);
    TMyFont plain;
    EXPECT_EQ(plain, (TMyFont{"", 0, 0, 10, 0})) << "a new TMyFont";
    run.Assign(TMyFont{"Times New Roman", 0, 0, 12, 0});
    EXPECT_FALSE(run.OverridesAny());
}

TEST_F(OverrideRecords, LengthsInTheStylesUnitAtTheInjectedResolution) {
    TKYTParaStyle style;
    style.SetDefinition(&plain_);  // unit mm, left margin 10 px
    EXPECT_NEAR(style.LengthInUnit(StyleField::LeftMargin, 96), 2.6458, 0.0001);
    style.SetLengthInUnit(StyleField::LeftMargin, style.LengthInUnit(StyleField::LeftMargin, 96),
                          96);
    EXPECT_EQ(style.LeftMargin(), 10);
    EXPECT_FALSE(style.Overrides(StyleField::LeftMargin));
    EXPECT_NEAR(PixelsToUnit(96, 0, 96), 2.54, 1e-9);
    EXPECT_NEAR(PixelsToUnit(96, 2, 96), 1.0, 1e-9);
    EXPECT_NEAR(PixelsToUnit(96, 3, 96), 72.0, 1e-9);
    EXPECT_NEAR(PixelsToUnit(96, 4, 96), 6.0, 1e-9);
    EXPECT_NEAR(PixelsToUnit(37, 5, 120), 37.0, 1e-9);
    EXPECT_EQ(UnitToPixels(1.0, 2, 120), 120);
    EXPECT_EQ(UnitToPixels(12.0, 3, 96), 16);
    EXPECT_EQ(UnitToPixels(0.5, 0, 96), 19);  // 18.897 rounds up
    EXPECT_EQ(UnitToPixels(-0.5, 0, 96), -19);
    EXPECT_EQ(UnitToPixels(1e30, 1, 96), 2147483647);
}

TEST_F(OverrideRecords, LinkAppearanceInvertsStyleBits) {
    TKYTParaStyle style;
    style.SetDefinition(&plain_);  // link style 4, colour blue, size -1
    const TMyFont plainRun{"Arial", 0, 0x123456, 14, 0};
    const TMyFont link = LinkAppearance(plainRun, style);
    EXPECT_EQ(link.styleBits, kFontUnderline);
    EXPECT_EQ(link.colour, 0xFF0000);
    EXPECT_EQ(link.size, 14);
    EXPECT_EQ(LinkAppearance({"Arial", kFontUnderline | kFontBold, 0, 14, 0}, style).styleBits,
              kFontBold)
        << "underlined text loses its underline";
    style.SetLinkSize(20);
    style.SetLinkStyle(kFontBold);
    EXPECT_EQ(LinkAppearance({"Arial", kFontBold, 0, 14, 0}, style).styleBits, 0);
    EXPECT_EQ(LinkAppearance(plainRun, style).size, 20);
    EXPECT_EQ(
        LinkInversionNote(),
        "(nota che il link applica un'inversione allo stile abituale, ad esempio se il "
        "testo è in grassetto, ed il link è definito grassetto, il link sarà \"normale\")"_cp);
}

TEST(StyleKeyTable, TiesKeysOffsetsAndFlagsInTheirThreeOrders) {
    std::string keys, head;
    for (const StyleKey& key : kStyleKeys) keys += std::string(key.key) + " ";
    for (StyleField field : kHeadOrder) head += std::string(KeyOf(field).key) + " ";
    EXPECT_EQ(keys, "c F\" s y p P A N M L I l r t b Y C S ");
    EXPECT_EQ(head, "c F\" s y p P A N M L I l r t b C S Y ");
    std::set<int> offsets;
    for (std::size_t i = 0; i < kStyleKeys.size(); ++i) {
        EXPECT_EQ(std::size_t(kStyleKeys[i].field), i);
        offsets.insert(kStyleKeys[i].record.offset);
        EXPECT_LE(kStyleKeys[i].record.offset + kStyleKeys[i].record.width, 103);
    }
    EXPECT_EQ(offsets.size(), 18u);
    EXPECT_EQ(KeyOf(StyleField::LinkColour).record.offset, 81);
    EXPECT_EQ(KeyOf(StyleField::Position).record.offset, 102);
}

class HypertextStyles : public ::testing::Test {
protected:
    FixedEnvironment environment_;
    RecordingMessages messages_;
    TKYTset set_{environment_, messages_};
};

TEST_F(HypertextStyles, NewHypertextHasTheTwoBuiltInStyles) {
    EXPECT_THAT(StyleNames(set_), ElementsAre("[nessuno stile]", "[nessuno stile tabella]"));
    EXPECT_EQ(StyleByNumber(set_, 0), set_.Style0());
    EXPECT_EQ(StyleByNumber(set_, 1), set_.Style1());
    EXPECT_EQ(StyleByNumber(set_, 2), nullptr);
    EXPECT_EQ(StyleByNumber(set_, -1), nullptr);
}

TEST_F(HypertextStyles, NamesAreFoundIgnoringCaseAndMadeUnique) {
    TKYToggetto& title = CreateStyle(set_, "Titolo");
    EXPECT_EQ(StyleNumber(title), 2);
    EXPECT_EQ(StyleByName(set_, "TITOLO"), &title);
    EXPECT_EQ(StyleByName(set_, "Sottotitolo"), nullptr);
    EXPECT_EQ(UniqueStyleName(set_, "Titolo"), "Titolo 1");
    CreateStyle(set_, "titolo 1");
    EXPECT_EQ(UniqueStyleName(set_, "Titolo"), "Titolo 2");
    EXPECT_EQ(UniqueStyleName(set_, "Capitolo"), "Capitolo");
    TKYToggetto& second = CreateStyle(set_, "Titolo");
    EXPECT_EQ(StyleRecord(second.Record()).Name(), "Titolo 2");
    EXPECT_EQ(StyleRecord(second.Record()).FontName(), "Times New Roman");
    EXPECT_EQ(StyleRecord(second.Record()).Origin(), 0);
}

TEST_F(HypertextStyles, LongNamesAreCutFirstThenMadeUniqueWithinThirtyTwo) {
    const std::string forty(40, 'x');
    TKYToggetto& style = CreateStyle(set_, forty);
    EXPECT_EQ(StyleRecord(style.Record()).Name(), std::string(32, 'x'));
    const std::string unique = UniqueStyleName(set_, forty);
    EXPECT_EQ(unique, std::string(30, 'x') + " 1");
    EXPECT_NE(StyleByName(set_, unique), &style);
}

TEST_F(HypertextStyles, RenamingMakesTheNewNameUnique) {
    TKYToggetto& a = CreateStyle(set_, "Alfa");
    TKYToggetto& b = CreateStyle(set_, "Beta");
    RenameStyle(set_, b, "alfa");
    EXPECT_EQ(StyleRecord(b.Record()).Name(), "alfa 1");
    RenameStyle(set_, a, "ALFA");  // only the case changes: kept as typed
    EXPECT_EQ(StyleRecord(a.Record()).Name(), "ALFA");
    EXPECT_EQ(StyleEditLabel("Alfa"), "Modifica stile: Alfa");
}

}  // namespace
}  // namespace orvo
