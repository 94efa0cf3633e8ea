// The text import: files as pages (escaping, line ends, the page numbers it takes, round trips
// through the export, hostile bytes) and plain text as the clipboard stream (modes 0 and 1,
// the "Codice" style, reference objects read back).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/ByteReader.h"
#include "base/ByteStream.h"
#include "base/Cp1252.h"
#include "base/Paths.h"
#include "convert/TextExport.h"
#include "convert/TextImport.h"
#include "model/ObjectRecord.h"
#include "model/StyleRecord.h"
#include "model/StyleTable.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::literals;
using namespace orvo::test;

std::string Le32(std::int32_t v) {
    std::string out;
    ByteWriter(out).I32(v);
    return out;
}

std::string WithZero(std::string s) {
    s += '\0';
    return s;
}

class TextImportTest : public ::testing::Test {
protected:
    TextImportTest() : set_(environment_, messages_), txt_(&set_) {}

    std::string File(std::string_view name, std::string_view bytes) {
        const std::filesystem::path path = TestDir() / "in" / std::string(name);
        WriteFile(path, bytes);
        return NameOfPath(path);
    }
    std::string Markup(std::int32_t page) {
        TKYToggetto* object = LivePage(set_, page);
        if (!object) return "(no page)";
        Result<std::string> bytes = object->ContentBytes();
        return bytes ? *bytes : "(unreadable)";
    }
    int Pages() const { return set_.KindCount(TOggettiHel::testoHtml); }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    TKYTset set_;
    TKYTtoTxt txt_;
};

TEST_F(TextImportTest, ALessThanSignBecomesItsEntityAndExportsBack) {
    const std::int32_t page = txt_.ImportFiles({File("a.txt", "a<b")});
    EXPECT_EQ(page, 0);
    EXPECT_EQ(Markup(0), WithZero("<Z S0 >a&lt;b"));
    EXPECT_EQ(PageText(set_, 0), "a<b");
}

TEST_F(TextImportTest, LinesBecomeParagraphsWithTabsAsEightBlanks) {
    txt_.ImportFiles({File("b.txt", "uno\tdue\r\nR&D > tutto\r\n\r\nfine\r\n")});
    EXPECT_EQ(Markup(0),
              WithZero("<Z S0 >uno        due<Z S0 >R&amp;D &gt; tutto<Z S0 ><Z S0 >fine"));
}

TEST_F(TextImportTest, AnEmptyFileGivesOneEmptyParagraph) {
    txt_.ImportFiles({File("vuoto.txt", "")});
    EXPECT_EQ(Markup(0), WithZero("<Z S0 >"));
    EXPECT_EQ(PageText(set_, 0), "");
}

TEST_F(TextImportTest, MissingFilesAreSkippedSilentlyAndTheFirstPageMadeIsReturned) {
    const std::string missing = NameOfPath(TestDir() / "non-esiste.txt");
    const std::string folder = NameOfPath(TestDir());  // a folder cannot be read as text
    std::vector<std::string> progress;
    txt_.OnExpProgress = [&](TKYTconv&, int pag, int tot, int phase) {
        progress.push_back(std::to_string(pag) + "/" + std::to_string(tot) + "/" +
                           std::to_string(phase));
    };
    EXPECT_EQ(txt_.ImportFiles({missing, folder}), 0);
    EXPECT_TRUE(txt_.ImportedPages.empty());
    EXPECT_EQ(Pages(), 0);

    const std::int32_t first =
        txt_.ImportFiles({missing, File("p.txt", "primo"), File("s.txt", "secondo")});
    EXPECT_EQ(first, 0);
    EXPECT_EQ(txt_.ImportedPages, (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(PageText(set_, 1), "secondo");
    EXPECT_EQ(progress, (std::vector<std::string>{"0/2/1", "1/2/1", "0/3/1", "1/3/1", "2/3/1"}));
    EXPECT_TRUE(messages_.Shown().empty());
    EXPECT_TRUE(set_.Modified());
}

TEST_F(TextImportTest, AnAlmostEmptyOnlyPageIsTakenOverNeverDuplicated) {
    // A new hypertext whose only page holds "<Z S0 >" and its zero byte.
    auto page = NewObjectOfKind(TOggettiHel::testoHtml, &set_);
    page->Clear();
    page->TakeIntoUse();
    PageRecord(*page).SetTitle("Copertina");
    TKYToggetto* cover = set_.ObjectByKind(TOggettiHel::testoHtml, set_.Register(std::move(page)));

    txt_.ImportColour = 0x00C0FFEE;
    txt_.ImportImage = 3;
    EXPECT_EQ(txt_.ImportFiles({File("x.txt", "testo")}), 0);
    EXPECT_EQ(Pages(), 1);
    EXPECT_EQ(set_.ObjectByKind(TOggettiHel::testoHtml, 0), cover);  // the same object
    EXPECT_EQ(PageRecord::Read(*cover).Title(), "Copertina");
    EXPECT_EQ(PageRecord::Read(*cover).BackgroundColour(), 0x00C0FFEE);
    EXPECT_EQ(PageRecord::Read(*cover).BackgroundPicture(), 3);
    EXPECT_EQ(PageText(set_, 0), "testo");

    // Page 0 now holds text: the next import makes page 1 with the defaults given.
    txt_.ImportColour = 0xFFFFFF;
    txt_.ImportImage = -1;
    EXPECT_EQ(txt_.ImportFiles({File("y.txt", "altro")}), 1);
    EXPECT_EQ(Pages(), 2);
    const PageRecord second = PageRecord::Read(*LivePage(set_, 1));
    EXPECT_EQ(second.BackgroundColour(), 0xFFFFFF);
    EXPECT_EQ(second.BackgroundPicture(), -1);
    EXPECT_EQ(PageText(set_, 0), "testo");
}

TEST_F(TextImportTest, AnOnlyPageWithTextIsKept) {
    auto page = NewObjectOfKind(TOggettiHel::testoHtml, &set_);
    page->Clear();
    page->TakeIntoUse();
    page->SetContent(std::string("<Z S0 >ab\0", 10));  // 10 bytes: more than 9
    set_.Register(std::move(page));
    EXPECT_EQ(txt_.ImportFiles({File("z.txt", "nuovo")}), 1);
    EXPECT_EQ(PageText(set_, 0), "ab");
}

TEST_F(TextImportTest, HostileBytesNeverEndOrBreakThePageText) {
    // A zero byte would end the text; other control bytes are not text either. Markup typed
    // into the file stays text.
    txt_.ImportFiles({File("h.txt", std::string("a\0b", 3) + "\x01\x1A"
                                                             "c<Z S9 >&#65;<$FF000001>\x7F\xFF")});
    EXPECT_EQ(Markup(0), WithZero("<Z S0 >abc&lt;Z S9 &gt;&amp;#65;&lt;$FF000001&gt;\x7F\xFF"));
    EXPECT_EQ(PageText(set_, 0), "abc<Z S9 >&#65;<$FF000001>\x7F\xFF");
}

TEST_F(TextImportTest, Utf8FilesAreReadAsTheirWindows1252Characters) {
    EXPECT_EQ(TextFileToCp1252(
                  "citt\xC3\xA0 \xE2\x82\xAC \xE2\x80\x9Cs\xC3\xAC\xE2\x80\x9D \xE2\x86\x92"),
              "citt\xE0 \x80 \x93s\xEC\x94 ?");
    EXPECT_EQ(TextFileToCp1252("\xEF\xBB\xBFsolo ascii"), "solo ascii");
    // Windows-1252 files, and byte strings that are not well-formed UTF-8, stay as they are.
    for (std::string_view bytes : {"citt\xE0 \x80", "\xC0\xA9 overlong", "\xED\xA0\x80 surrogate",
                                   "\xF4\x90\x80\x80", "\xC3", "ascii"})
        EXPECT_EQ(TextFileToCp1252(bytes), bytes) << Escaped(bytes);

    txt_.ImportFiles({File("utf8.txt", "\xEF\xBB\xBFperch\xC3\xA9\r\n<fine>")});
    EXPECT_EQ(Markup(0), WithZero("<Z S0 >perch\xE9<Z S0 >&lt;fine&gt;"));
}

struct RoundTrip {
    const char* name;
    std::string file;
    std::string text;  // what the export of the page gives
};

class TextRoundTrip : public TextImportTest, public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(TextRoundTrip, ImportedThenExportedGivesTheSameLines) {
    const RoundTrip& c = GetParam();
    txt_.ImportFiles({File(std::string(c.name) + ".txt", c.file)});
    const std::filesystem::path out = TestDir() / (std::string(c.name) + ".out.txt");
    txt_.ExportFileName = NameOfPath(out);
    ASSERT_TRUE(txt_.ExportPages({0}));
    EXPECT_EQ(Escaped(ReadFile(out)), Escaped(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    LineEnds, TextRoundTrip,
    ::testing::Values(RoundTrip{"crlf", "uno\r\ndue\r\n\r\ntre", "uno\r\ndue\r\n\r\ntre"},
                      // The end of the last line adds no empty paragraph.
                      RoundTrip{"crlfEnd", "uno\r\ndue\r\n", "uno\r\ndue"},
                      RoundTrip{"lf", "uno\ndue\n\ntre\n", "uno\r\ndue\r\n\r\ntre"},
                      RoundTrip{"cr", "uno\rdue\r\rtre", "uno\r\ndue\r\n\r\ntre"},
                      RoundTrip{"mixed", "a\r\n\nb\r\r\nc", "a\r\n\r\nb\r\n\r\nc"},
                      RoundTrip{"accents", "perch\xE9 cos\xEC, citt\xE0 \x80 \x93virgolette\x94",
                                "perch\xE9 cos\xEC, citt\xE0 \x80 \x93virgolette\x94"},
                      RoundTrip{"escapes", "a & b < c > d &amp; e", "a & b < c > d &amp; e"},
                      RoundTrip{"hugeLine", std::string(1 << 20, 'x') + "\r\nfine",
                                std::string(1 << 20, 'x') + "\r\nfine"}),
    [](const auto& info) { return std::string(info.param.name); });

// The clipboard stream of mode 0: the header, no objects, the line count, the markup and the
// two zero bytes.
TEST_F(TextImportTest, TextToClipboardMarkupInModeZero) {
    MemoryStream target;
    ASSERT_TRUE(txt_.ImportText("uno\r\nd<u>e", target, 0, 4));
    EXPECT_EQ(Escaped(target.Bytes()),
              Escaped(Le32(1) + Le32(0) + Le32(0) + Le32(0) + Le32(2) +
                      "<Z S4 >uno<Z S4 >d&lt;u&gt;e" + std::string(2, '\0')));

    MemoryStream empty;
    ASSERT_TRUE(txt_.ImportText("", empty, 0, 0));
    EXPECT_EQ(Escaped(empty.Bytes()), Escaped(Le32(1) + Le32(0) + Le32(0) + Le32(0) + Le32(1) +
                                              "<Z S0 >" + std::string(2, '\0')));
}

// What a stream of ImportText holds, read back.
struct Clipboard {
    std::vector<std::unique_ptr<TKYToggetto>> objects;
    std::int32_t lines = 0;
    std::string markup;
};

Clipboard ReadClipboard(TKYTset& set, const std::string& bytes) {
    Clipboard c;
    MemoryStream in(bytes);
    std::int32_t head[4] = {};
    EXPECT_TRUE(in.ReadExact(head, sizeof head));
    EXPECT_EQ(head[0], 1);
    EXPECT_EQ(head[1], 0);
    EXPECT_EQ(head[2], 0);
    for (std::int32_t i = 0; i < head[3]; ++i) {
        std::int32_t entry[2] = {};
        EXPECT_TRUE(in.ReadExact(entry, sizeof entry));
        EXPECT_EQ(entry[0], KindIndex(TOggettiHel::shortObj));
        EXPECT_EQ(entry[1], i);
        auto object = NewObjectOfKind(TOggettiHel::shortObj, &set);
        EXPECT_TRUE(object->ReadFromStream(in));
        c.objects.push_back(std::move(object));
    }
    EXPECT_TRUE(in.ReadExact(&c.lines, 4));
    c.markup = bytes.substr(std::size_t(in.Position()));
    return c;
}

TEST_F(TextImportTest, CodeModeTurnsTextualReferencesIntoObjects) {
    MemoryStream target;
    ASSERT_TRUE(txt_.ImportText(
        "<IMG SRC=\"!RefI:0500000a\"> !ReCP:colore! !RefL:0000000 ! !ReCP:aperto\r\n"
        "!RefX:FFFFFFFF!RefY:00000001!ReCF:00000002!RefP:00000004!RefF:0d000001!Refx:00000000",
        target, 1, 0));
    const TKYToggetto* code = StyleByName(set_, "Codice");
    ASSERT_NE(code, nullptr);
    const std::string s = std::to_string(code->Identifier());
    EXPECT_EQ(StyleRecord(const_cast<TKYToggetto*>(code)->Record()).FontName(), "Courier New");
    EXPECT_EQ(StyleRecord(const_cast<TKYToggetto*>(code)->Record()).Size(), 10);

    Clipboard c = ReadClipboard(set_, target.Bytes());
    EXPECT_EQ(c.lines, 2);
    EXPECT_EQ(Escaped(c.markup),
              Escaped("<Z S" + s +
                      " >&lt;IMG SRC=\"<$FF000000>\"&gt; <$FF000001> !RefL:0000000 ! "
                      "!ReCP:aperto<Z S" +
                      s +
                      " ><$FF000002><$FF000003><$FF000004><$FF000005>"
                      "<$FF000006>!Refx:00000000" +
                      std::string(2, '\0')));
    ASSERT_EQ(c.objects.size(), 7u);
    const std::vector<std::pair<int, std::int32_t>> expected{
        {21, 0x0500000A}, {27, 0}, {25, -1}, {26, 1}, {28, 2}, {23, 4}, {24, 0x0D000001}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(c.objects[i]->Subtype(), expected[i].first) << i;
        if (expected[i].first != 27) {
            EXPECT_EQ(c.objects[i]->ReadView().I32(kShortReference), expected[i].second) << i;
        }
    }
    EXPECT_EQ(*c.objects[1]->ContentBytes(), "colore");

    // The style is made once.
    const int styles = set_.KindCount(TOggettiHel::stileParagrafo);
    MemoryStream again;
    ASSERT_TRUE(txt_.ImportText("x", again, 1, 0));
    EXPECT_EQ(set_.KindCount(TOggettiHel::stileParagrafo), styles);
}

TEST_F(TextImportTest, CustomCodeWrittenAsTextReadsBackAsTheSameObjects) {
    // The text of a fragment whose own list holds two references, read back in code mode.
    std::vector<std::unique_ptr<TKYToggetto>> own;
    for (auto [subtype, reference] : {std::pair{21, 0x05000007}, std::pair{22, 0x0000002A}}) {
        auto marker = NewObjectOfKind(TOggettiHel::shortObj, &set_);
        marker->Clear();
        marker->View().SetU8(kRecSubtype, std::uint8_t(subtype));
        marker->View().SetI32(kShortReference, reference);
        own.push_back(std::move(marker));
    }
    auto property = NewObjectOfKind(TOggettiHel::shortObj, &set_);
    property->Clear();
    property->View().SetU8(kRecSubtype, 27);
    property->SetContent("larghezza");
    own.push_back(std::move(property));
    const TextObjectLookup lookup = [&](std::int32_t code) -> const TKYToggetto* {
        if (CodeKind(code) != 0xFF) return nullptr;
        const std::size_t i = std::size_t(CodeIdentifier(code));
        return i < own.size() ? own[i].get() : nullptr;
    };
    MemoryStream text;
    ASSERT_TRUE(
        txt_.ExportText("<Z S0 >&lt;IMG SRC=\"<$FF000000>\"&gt;<Z S0 >&lt;A "
                        "HREF=\"<$FF000001>\" W=<$FF000002>&gt;",
                        text, lookup));
    std::string plain = text.Bytes();
    ASSERT_FALSE(plain.empty());
    plain.pop_back();  // the fragment's zero byte
    EXPECT_EQ(plain,
              "<IMG SRC=\"!RefI:05000007\">\r\n<A HREF=\"!RefL:0000002a\" W=!ReCP:larghezza!>");

    MemoryStream back;
    ASSERT_TRUE(txt_.ImportText(plain, back, 1, 0));
    Clipboard c = ReadClipboard(set_, back.Bytes());
    ASSERT_EQ(c.objects.size(), own.size());
    for (std::size_t i = 0; i < own.size(); ++i) {
        EXPECT_EQ(c.objects[i]->Subtype(), own[i]->Subtype());
        EXPECT_EQ(c.objects[i]->ReadView().I32(kShortReference),
                  own[i]->ReadView().I32(kShortReference));
        EXPECT_EQ(*c.objects[i]->ContentBytes(), *own[i]->ContentBytes());
    }
    // And its text is the one exported.
    const TextObjectLookup readBack = [&](std::int32_t code) -> const TKYToggetto* {
        const std::size_t i = std::size_t(CodeIdentifier(code));
        return CodeKind(code) == 0xFF && i < c.objects.size() ? c.objects[i].get() : nullptr;
    };
    EXPECT_EQ(PlainText(c.markup, readBack), plain);
}

}  // namespace
}  // namespace orvo
