// The text export: paragraphs, entities, hidden sections, tables, reference objects, pages
// joined into one file, its failures, and the sample hypertext as a golden file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/ByteStream.h"
#include "base/Cp1252.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "convert/TextExport.h"
#include "model/ObjectRecord.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/PosixShell.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::literals;
using namespace orvo::test;

class TextExportTest : public ::testing::Test {
protected:
    TextExportTest() : set_(environment_, messages_), txt_(&set_) {}

    std::int32_t Page(std::int32_t identifier, std::string markup) {
        TKYToggetto* page = set_.ObjectByKind(TOggettiHel::testoHtml, identifier);
        if (!page) {
            auto made = NewObjectOfKind(TOggettiHel::testoHtml, &set_);
            made->Clear();
            made->TakeIntoUse();
            set_.Register(std::move(made), identifier);
            page = set_.ObjectByKind(TOggettiHel::testoHtml, identifier);
        }
        page->SetContent(markup + '\0');
        return identifier;
    }
    TKYToggetto& Object(TOggettiHel kind) {
        auto made = NewObjectOfKind(kind, &set_);
        made->Clear();
        made->TakeIntoUse();
        const std::int32_t id = set_.Register(std::move(made));
        return *set_.ObjectByKind(kind, id);
    }
    // A table object of rows x columns; its code as the stored text writes it.
    std::string Table(int rows, int columns) {
        TKYToggetto& table = Object(TOggettiHel::tabellaHtml);
        table.View().SetU8(kTableRows, std::uint8_t(rows));
        table.View().SetU8(kTableColumns, std::uint8_t(columns));
        return "<$" + Hex8(std::uint32_t(table.Code())) + ">";
    }
    std::string Reference(std::uint8_t subtype, std::int32_t reference, std::string name = {}) {
        TKYToggetto& marker = Object(TOggettiHel::shortObj);
        marker.View().SetU8(kRecSubtype, subtype);
        marker.View().SetI32(kShortReference, reference);
        if (!name.empty()) marker.SetContent(name);
        return "<$" + Hex8(std::uint32_t(marker.Code())) + ">";
    }
    std::string Text(std::string_view markup) { return PlainText(markup, StoredTextLookup(set_)); }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    TKYTset set_;
    TKYTtoTxt txt_;
};

TEST_F(TextExportTest, ParagraphsAreJoinedByLineEndsWithNoneBeforeTheFirstOrAfterTheLast) {
    EXPECT_EQ(Text("<Z S0 >uno<Z S3 c0000FF A2 >due<Z S0 ><Z S0 >quattro"),
              "uno\r\ndue\r\n\r\nquattro");
    EXPECT_EQ(Text("<Z S0 >"), "");
    EXPECT_EQ(Text(""), "");
}

TEST_F(TextExportTest, EntitiesAreWrittenAsTheirCharactersAndFormatsVanish) {
    EXPECT_EQ(Text("<Z S0 >a&amp;b &lt;i&gt; &#65;&egrave;&hibar;&copy; &&; &zzz"),
              "a&b <i> A\xE8\xAF\xA9 &  zzz");
    EXPECT_EQ(Text("<Z S0 ><Y y1 >gras<Y >so <Y c00FF00 F\"Arial\" s14 >verde"), "grasso verde");
    EXPECT_EQ(Text("<Z S0 >perch\xE9 cos\xEC"), "perch\xE9 cos\xEC");
}

TEST_F(TextExportTest, HiddenSectionsAndUnknownCodesAreSkipped) {
    EXPECT_EQ(Text("<Z S0 >a<Dcommento>nascosto<d>b<F x>fff<f>c<R>rrr<r>d<%>e<@>f<Q zz>g"),
              "abcdefg");
    // A hidden section that never closes hides the rest of the text.
    EXPECT_EQ(Text("<Z S0 >visto<D>mai chiuso<Z S0 >altro"), "visto");
}

TEST_F(TextExportTest, TheTextEndsAtItsZeroByteOrAtACodeCutShort) {
    EXPECT_EQ(Text(std::string("<Z S0 >prima\0dopo", 17)), "prima");
    EXPECT_EQ(Text("<Z S0 >prima<Y c00"), "prima");
    EXPECT_EQ(Text("<Z S0 >a\r\nb\tc\x01"), "abc");  // bytes below 0x20 are not text
}

TEST_F(TextExportTest, ATwoByThreeTableGivesTwoLinesOfThreeCellsSeparatedByTabs) {
    const std::string table = Table(2, 3);
    const std::string cells = "<Z S1 >a<T><Z S1 >b<T><Z S1 >c<T><Z S1 >d<T><Z S1 >e<T><Z S1 >f<T>";
    EXPECT_EQ(Text("<Z S0 >" + table + cells), "a\tb\tc\r\nd\te\tf\r\n");
    EXPECT_EQ(Text("<Z S0 >prima<Z S0 >" + table + cells + "<Z S0 >dopo"),
              "prima\r\na\tb\tc\r\nd\te\tf\r\ndopo");
}

TEST_F(TextExportTest, ParagraphsInsideACellAreNotSeparated) {
    const std::string table = Table(1, 2);
    EXPECT_EQ(Text("<Z S0 >" + table + "<Z S1 >uno<Z S1 >due<T><Z S1 >tre<T><Z S0 >fine"),
              "unodue\ttre\r\nfine");
}

TEST_F(TextExportTest, ATableInsideACellTakesTheBoundariesUntilItCloses) {
    const std::string outer = Table(1, 2);
    const std::string inner = Table(1, 2);
    EXPECT_EQ(Text("<Z S0 >" + outer + "<Z S1 >x" + inner + "<Z S1 >i<T><Z S1 >j<T><T>" +
                   "<Z S1 >y<T><Z S0 >z"),
              "xi\tj\r\n\ty\r\nz");
}

TEST_F(TextExportTest, DamagedTablesNeitherCrashNorSwallowTheText) {
    // A boundary with no table is skipped.
    EXPECT_EQ(Text("<Z S0 >a<T><Z S0 >b"), "a\r\nb");
    // Columns 0: no division by zero, and a table of no cells closes at once.
    const std::string empty = Table(3, 0);
    EXPECT_EQ(Text("<Z S0 >a" + empty + "<Z S0 >b<T><Z S0 >c"), "a\r\nb\r\nc");
    // A table whose content is not inline: the paragraphs after it stay apart.
    const std::string elsewhere = Table(2, 2);
    EXPECT_EQ(Text("<Z S0 >a" + elsewhere + "<@><Z S0 >b<Z S0 >c"), "a\r\nb\r\nc");
    // A table code that names no table.
    EXPECT_EQ(Text("<Z S0 >a<$08000077><Z S1 >b<T>"), "a\r\nb");
}

TEST_F(TextExportTest, ReferenceObjectsKeepTheirTextualForm) {
    const std::string markup = "<Z S0 >src=\"" + Reference(21, 0x0500000A) + "\" " +
                               Reference(22, 0x00000003) + Reference(23, 0x00000004) +
                               Reference(24, 0x0D000001) + Reference(25, -1) + Reference(26, 7) +
                               Reference(28, 2) + Reference(27, 0, "colore") + Reference(10, 5) +
                               "<$00000001>link<%>";
    EXPECT_EQ(Text(markup),
              "src=\"!RefI:0500000a\" !RefL:00000003!RefP:00000004!RefF:0d000001!RefX:ffffffff"
              "!RefY:00000007!ReCF:00000002!ReCP:colore!link");
}

TEST_F(TextExportTest, TwoPagesExportedTogetherRunIntoEachOther) {
    Page(0, "<Z S0 >titolo<Z S0 >ultima riga");
    Page(1, "<Z S0 >prima riga<Z S0 >citt\xE0");
    const std::filesystem::path out = TestDir() / "due.txt";
    txt_.ExportFileName = NameOfPath(out);
    std::vector<std::string> progress;
    txt_.OnExpProgress = [&](TKYTconv&, int pag, int tot, int phase) {
        progress.push_back(std::to_string(pag) + "/" + std::to_string(tot) + "/" +
                           std::to_string(phase));
    };
    ASSERT_TRUE(txt_.ExportPages({0, 1}));
    EXPECT_EQ(ReadFile(out), "titolo\r\nultima rigaprima riga\r\ncitt\xE0");
    EXPECT_EQ(progress, (std::vector<std::string>{"0/2/1", "1/2/1"}));

    ASSERT_TRUE(txt_.ExportPage(1));
    EXPECT_EQ(ReadFile(out), "prima riga\r\ncitt\xE0");
    EXPECT_EQ(PageText(set_, 1), "prima riga\r\ncitt\xE0");
    EXPECT_EQ(PageText(set_, 9), "");  // no such page
}

TEST_F(TextExportTest, AFileThatCannotBeCreatedFailsAndWritesNothing) {
    Page(0, "<Z S0 >testo");
    const std::filesystem::path out = TestDir() / "manca" / "x.txt";
    txt_.ExportFileName = NameOfPath(out);
    const Status done = txt_.ExportPages({0});
    ASSERT_FALSE(done);
    EXPECT_NE(done.failure().text.find(NameOfPath(out)), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(out.parent_path()));
}

TEST_F(TextExportTest, APipeIsRefusedAndALinkWritesTheFileItNames) {
    Page(0, "<Z S0 >testo");
    const std::filesystem::path pipe = TestDir() / "tubo.txt";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    txt_.ExportFileName = NameOfPath(pipe);
    const Status refused = txt_.ExportPages({0});
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.failure().text, "Impossibile scrivere \"" + NameOfPath(pipe) +
                                          "\": non \xE8 un file normale e non viene sostituito.");
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));

    WriteFile(TestDir() / "vero.txt", "vecchio");
    std::filesystem::create_symlink("vero.txt", TestDir() / "collegato.txt");
    txt_.ExportFileName = NameOfPath(TestDir() / "collegato.txt");
    ASSERT_TRUE(txt_.ExportPages({0}));
    EXPECT_TRUE(std::filesystem::is_symlink(TestDir() / "collegato.txt"));
    EXPECT_EQ(ReadFile(TestDir() / "vero.txt"), "testo");
}

TEST_F(TextExportTest, FragmentModeEndsWithOneZeroByte) {
    MemoryStream target;
    ASSERT_TRUE(txt_.ExportText("<Z S0 >a<Z S0 >b", target, {}));
    EXPECT_EQ(target.Bytes(), std::string("a\r\nb\0", 5));
}

TEST_F(TextExportTest, TheSampleHypertextAsOneTextFile) {
    MakeSampleHypertext(set_);
    std::vector<std::int32_t> pages;
    for (int i = 0; i < set_.KindCount(TOggettiHel::testoHtml); ++i) pages.push_back(i);
    const std::filesystem::path out = TestDir() / "sample.txt";
    txt_.ExportFileName = NameOfPath(out);
    ASSERT_TRUE(txt_.ExportPages(pages));
    const std::string text = ReadFile(out);
    ExpectMatchesGolden("convert", "txt_sample.txt", text);
    // Every line end is CR LF, and the whole file is Windows-1252 text.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << i;
        }
        if (text[i] == '\r') {
            EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << i;
        }
    }
    EXPECT_NE(text.find("Questa \xE8 una guida"), std::string::npos);
    // glibc's iconv reads the file as Windows-1252 text, as our codec does.
    const Result<std::string> utf8 =
        PosixShell::Capture({"iconv", "-f", "WINDOWS-1252", "-t", "UTF-8", out.string()});
    ASSERT_TRUE(utf8) << utf8.failure().text;
    EXPECT_EQ(*utf8, Cp1252ToUtf8(text));
    EXPECT_NE(utf8->find("Questa \xC3\xA8 una guida"), std::string::npos);
    EXPECT_NE(text.find("Sfogliare con << e >>\r\n"), std::string::npos);
}

}  // namespace
}  // namespace orvo
