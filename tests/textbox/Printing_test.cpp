// Printing at 600 pixels per inch on the recording printer: sheets cut between lines and
// between table rows, pictures that do not fit moved to the next sheet, objects and lines
// taller than a sheet, backgrounds, list numbers, the image scale, the page set-up and its
// profile, and the print window's list.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>

#include "base/Files.h"
#include "base/Paths.h"
#include "model/KytFixture.h"
#include "model/ObjectRecord.h"
#include "model/TextForms.h"
#include "model/uKYTpag.h"
#include "picture/GifCodec.h"
#include "platform/ISettings.h"
#include "platform/RecordingPrintDevice.h"
#include "textbox/TFprintRules.h"
#include "textbox/TPageSetupDialog.h"
#include "textbox/uKYTprint.h"

namespace orvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::int32_t kSheetHeight = 7016;  // A4 at 600 pixels per inch

std::string Text(std::string_view markup) {
    return std::string(markup) + '\0';
}

std::string Hex6(std::int32_t id) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%06X", unsigned(id));
    return buffer;
}

// "<Z S0 >Riga 001<Z S0 >Riga 002..."
std::string Lines(int count, std::string_view prefix = "Riga ") {
    std::string markup;
    char number[8];
    for (int i = 1; i <= count; ++i) {
        std::snprintf(number, sizeof number, "%03d", i);
        markup += "<Z S0 >" + std::string(prefix) + number;
    }
    return markup;
}

struct Drawn {
    std::size_t sheet = 0;
    std::string text;
    Rect area;
};

class Printing : public test::KytTest {
protected:
    RecordingPrintDevice device_;
    TPageSetupDialog setup_;

    bool Print(const TKYToggetto* page, bool background = false, std::int32_t scale = 2500) {
        TKYTpageP printing(set_, device_);
        printing.printBackground = background;
        printing.imageScale = scale;
        return printing.Riempi(page, setup_);
    }

    std::vector<Drawn> TextsDrawn() const {
        std::vector<Drawn> drawn;
        const auto sheets = device_.AllSheets();
        for (std::size_t s = 0; s < sheets.size(); ++s)
            for (const CanvasOp& op : sheets[s]->ops)
                if (op.kind == CanvasOpKind::Text) drawn.push_back({s, op.text, op.area});
        return drawn;
    }

    // A picture of w x h pixels and an image showing it at its own size; the image's code.
    std::int32_t AddImage(int w, int h) {
        Bitmap bitmap(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) bitmap.Set(x, y, Rgb{0x20, 0x60, 0xA0});
        Result<std::string> gif = BitmapToGif(bitmap, false);
        EXPECT_TRUE(gif.ok());
        const std::string file = set_.TempFileName("prova.gif");
        EXPECT_TRUE(WriteFileAtomically(NativePath(file), *gif, 0600u, set_.FileSystem()));
        Result<TKYToggetto*> picture = set_.AddPictureFromFile(file);
        EXPECT_TRUE(picture.ok());
        auto image = NewObjectOfKind(TOggettiHel::immagineNew, &set_);
        image->Assign(**picture);
        return set_.Register(std::move(image));
    }
};

TEST_F(Printing, SheetsBreakBetweenLinesAndKeepEveryLineWholeAndInOrder) {
    const TKYToggetto& page = AddPage("Lungo", Text(Lines(300)));
    ASSERT_TRUE(Print(&page));

    ASSERT_EQ(device_.Jobs().size(), 1u);
    EXPECT_EQ(device_.Jobs()[0].title, "Orvo, pag: Lungo");
    EXPECT_TRUE(device_.Jobs()[0].ended);
    const auto drawn = TextsDrawn();
    ASSERT_EQ(drawn.size(), 300u);
    const std::size_t sheets = device_.AllSheets().size();
    EXPECT_GE(sheets, 4u);
    const std::int32_t marginTop = setup_.Down(setup_.MarginTop());
    const std::int32_t bandBottom = kSheetHeight - setup_.Down(setup_.MarginBottom());
    std::vector<int> perSheet(sheets, 0);
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        char expected[32];
        std::snprintf(expected, sizeof expected, "Riga %03zu", i + 1);
        EXPECT_EQ(drawn[i].text, expected);  // every line once, in order
        EXPECT_GE(drawn[i].area.top, marginTop);
        EXPECT_LT(drawn[i].area.top, bandBottom);       // it starts inside the band
        EXPECT_LE(drawn[i].area.bottom, kSheetHeight);  // and ends on the paper
        ++perSheet[drawn[i].sheet];
        // A sheet after the first starts with its first line at the top margin.
        if (i > 0 && drawn[i].sheet != drawn[i - 1].sheet) {
            EXPECT_EQ(drawn[i].area.top, marginTop);
            // The sheet before was full: its next line would have started below the band.
            const std::int32_t pitch = drawn[i - 1].area.top - drawn[i - 2].area.top;
            EXPECT_GE(drawn[i - 1].area.top + pitch, bandBottom);
        }
    }
    for (int count : perSheet) EXPECT_GT(count, 0);  // no blank sheet
}

// Text that ends in lines drawing nothing (empty paragraphs, a table code naming no table,
// a place holder, an image without a picture) starts no sheet; a list mark alone does.
TEST_F(Printing, LinesThatDrawNothingStartNoSheet) {
    const TKYToggetto& full = AddPage("Piena", Text(Lines(300)));
    ASSERT_TRUE(Print(&full));
    const std::size_t perSheet = device_.AllSheets()[0]->Texts().size();
    auto field = NewObjectOfKind(TOggettiHel::inputStat, &set_);
    field->Clear();
    field->Record()[4] = 1;
    const std::int32_t fieldId = set_.Register(std::move(field));
    auto image = NewObjectOfKind(TOggettiHel::immagineNew, &set_);
    image->Clear();
    image->View().SetI16(kImageWidth, 50);
    image->View().SetI16(kImageHeight, 50);
    const std::int32_t imageId = set_.Register(std::move(image));
    const struct {
        std::string tail;
        std::size_t sheets;
    } cases[] = {
        {"<Z S0 ><Z S0 >", 1},
        {"<Z S0 ><$08FFFFFF><Z S0 >", 1},
        {"<Z S0 ><$14" + Hex6(fieldId) + ">", 1},
        {"<Z S0 ><$10" + Hex6(imageId) + ">", 1},
        {"<Z S0 ><Z S0 N6 >", 2},
    };
    for (const auto& c : cases) {
        device_.Clear();
        const TKYToggetto& page = AddPage("Coda", Text(Lines(int(perSheet)) + c.tail));
        ASSERT_TRUE(Print(&page)) << c.tail;
        const auto sheets = device_.AllSheets();
        ASSERT_EQ(sheets.size(), c.sheets) << c.tail;
        EXPECT_EQ(sheets[0]->Texts().size(), perSheet) << c.tail;
        if (c.sheets == 2) {
            EXPECT_THAT(sheets[1]->Texts(), ElementsAre("1. "));
        }
    }
}

TEST_F(Printing, BackgroundFillsEverySheetAndHeaderAndFooterPrintOnce) {
    TKYToggetto& page = AddPage("Pagina", Text(Lines(200)));
    const TKYToggetto& header = AddPage("Testata", Text("<Z S0 >Testata uno<Z S0 >Testata due"));
    const TKYToggetto& footer = AddPage("Piede", Text("<Z S0 >Piede"));
    PageRecord record(page);
    record.SetHeader(header.Identifier());
    record.SetFooter(footer.Identifier());
    record.SetBackgroundColour(0x00E0FFFF);
    ASSERT_TRUE(Print(&page, true));

    const auto sheets = device_.AllSheets();
    ASSERT_GE(sheets.size(), 3u);
    for (const RecordedSheet* sheet : sheets) {
        ASSERT_FALSE(sheet->ops.empty());
        EXPECT_EQ(sheet->ops.front().kind, CanvasOpKind::Fill);
        EXPECT_EQ(sheet->ops.front().area, (Rect{0, 0, 4960, kSheetHeight}));
        EXPECT_EQ(sheet->ops.front().colour, 0x00E0FFFF);
    }
    const auto first = sheets.front()->Texts(), last = sheets.back()->Texts();
    EXPECT_THAT(std::vector(first.begin(), first.begin() + 3),
                ElementsAre("Testata uno", "Testata due", "Riga 001"));
    EXPECT_EQ(last.back(), "Piede");
    int headers = 0, footers = 0;
    for (const Drawn& d : TextsDrawn()) {
        headers += d.text.starts_with("Testata");
        footers += d.text == "Piede";
    }
    EXPECT_EQ(headers, 2);
    EXPECT_EQ(footers, 1);
}

TEST_F(Printing, TablesSplitBetweenRows) {
    TKYToggetto& table = Add(TOggettiHel::tabellaHtml);
    RecordView r = table.View();
    r.SetU8(kTableRows, 90);
    r.SetU8(kTableColumns, 2);
    for (int c = 0; c < 2; ++c) {
        r.SetU8At(kTableColumnKinds + c, 0);  // percent
        r.SetI16At(kTableColumnWidths + 2 * c, 50);
    }
    std::string markup = "<Z S0 >Prima<Z S0 ><$08" + Hex6(table.Identifier()) + ">";
    char cell[32];
    for (int row = 0; row < 90; ++row)
        for (int column = 0; column < 2; ++column) {
            std::snprintf(cell, sizeof cell, "r%02dc%d", row, column);
            // Every tenth row holds three lines in its first cell.
            markup += "<Z S1 >" + std::string(cell);
            if (column == 0 && row % 10 == 0)
                markup += "<Z S1 >x" + std::string(cell + 1, 2) + "a<Z S1 >x" +
                          std::string(cell + 1, 2) + "b";
            markup += "<T>";
        }
    markup += "<Z S0 >Dopo";
    const TKYToggetto& page = AddPage("Tabella", Text(markup));
    ASSERT_TRUE(Print(&page));

    const auto drawn = TextsDrawn();
    ASSERT_GE(device_.AllSheets().size(), 2u);
    std::map<std::string, std::size_t> sheetOf;
    std::vector<std::string> cells;
    for (const Drawn& d : drawn) {
        EXPECT_EQ(sheetOf.count(d.text), 0u) << d.text << " printed twice";
        sheetOf[d.text] = d.sheet;
        if (d.text.size() == 5 && d.text[0] == 'r') cells.push_back(d.text);
        EXPECT_LE(d.area.bottom, kSheetHeight);
    }
    ASSERT_EQ(cells.size(), 180u);
    for (int row = 0; row < 90; ++row) {
        std::snprintf(cell, sizeof cell, "r%02dc%d", row, 0);
        const std::string left = cell;
        std::snprintf(cell, sizeof cell, "r%02dc%d", row, 1);
        EXPECT_EQ(sheetOf[left], sheetOf[cell]) << "row " << row << " split over two sheets";
        EXPECT_EQ(cells[std::size_t(2 * row)], left);
    }
    EXPECT_EQ(drawn.front().text, "Prima");
    EXPECT_EQ(drawn.back().text, "Dopo");
    EXPECT_NE(sheetOf["r00c0"], sheetOf["r89c1"]);
}

// A line holding a table taller than a sheet has its letters and its list mark at the baseline,
// below the table: they print on the sheet where they stand, on the paper, next to the table's
// last row, once. In a bulleted paragraph of letters of no height the mark stands on the very
// row where the paragraph ends, and rows left empty end the table: the last sheet holds the
// mark and the letters, it is not blank.
TEST_F(Printing, LettersBesideATableTallerThanASheetPrintOnThePaperWhereTheyStand) {
    TKYToggetto& table = Add(TOggettiHel::tabellaHtml);
    RecordView r = table.View();
    r.SetU8(kTableRows, 150);
    r.SetU8(kTableColumns, 1);
    r.SetI16At(kTableColumnWidths, 50);
    const struct {
        std::string style;
        int filledRows;  // the rows after them are empty
        std::string after;
    } cases[] = {
        {"<Z S0 >", 150, "<Z S0 >Dopo"},
        {"<Z S0 s0 N10 >", 70, ""},
    };
    for (const auto& c : cases) {
        std::string markup = "<Z S0 >Prima" + c.style + "x<$08" + Hex6(table.Identifier()) + ">";
        std::vector<std::string> expected{"Prima", "x"};
        char cell[16];
        for (int row = 0; row < 150; ++row) {
            std::snprintf(cell, sizeof cell, "r%03d", row);
            markup += row < c.filledRows ? "<Z S1 >" + std::string(cell) + "<T>" : "<Z S1 ><T>";
            if (row < c.filledRows) expected.push_back(cell);
        }
        markup += "y" + c.after;
        expected.push_back("y");
        if (!c.after.empty()) expected.push_back("Dopo");
        device_.Clear();
        const TKYToggetto& page = AddPage("Alta", Text(markup));
        ASSERT_TRUE(Print(&page)) << c.style;

        const auto sheets = device_.AllSheets();
        ASSERT_GE(sheets.size(), 3u) << c.style;
        std::map<std::string, Drawn> at;
        std::vector<std::size_t> marks;
        for (const Drawn& d : TextsDrawn()) {
            EXPECT_GE(d.area.top, 0) << c.style << d.text;
            EXPECT_LE(d.area.bottom, kSheetHeight) << c.style << d.text << " below the paper";
            EXPECT_EQ(at.count(d.text), 0u) << c.style << d.text << " printed twice";
            at[d.text] = d;
        }
        for (std::size_t s = 0; s < sheets.size(); ++s) {
            EXPECT_FALSE(sheets[s]->ops.empty()) << c.style << "sheet " << s << " is blank";
            for (const CanvasOp& op : sheets[s]->ops)
                if (op.kind == CanvasOpKind::Text && op.font.name == "Wingdings")
                    marks.push_back(s);
        }
        for (const std::string& word : expected) EXPECT_EQ(at.count(word), 1u) << c.style << word;
        // The letters stand on the baseline, below the table's last row, on the sheet after
        // the last filled row or on its own.
        std::snprintf(cell, sizeof cell, "r%03d", c.filledRows - 1);
        const std::string last = cell;
        EXPECT_EQ(at["x"].sheet, at["y"].sheet) << c.style;
        EXPECT_EQ(at["x"].area.top, at["y"].area.top) << c.style;
        EXPECT_GE(at["x"].sheet, at[last].sheet) << c.style;
        EXPECT_EQ(at["Prima"].sheet, 0u) << c.style;
        if (c.style.find("N10") != std::string::npos) {
            EXPECT_THAT(marks, ElementsAre(at["x"].sheet)) << c.style;
            EXPECT_EQ(at["x"].sheet, sheets.size() - 1) << c.style;
        } else {
            EXPECT_THAT(marks, IsEmpty());
            EXPECT_EQ(at["Dopo"].sheet, sheets.size() - 1);
        }
    }
}

// A paragraph whose letters grow on its first sheet goes on in the larger letters on the next
// ones, each line drawn whole (not letter by letter, as a font unlike the measured one is).
TEST_F(Printing, AFormatSetOnOneSheetStaysInForceOnTheNext) {
    std::string markup = "<Z S0 >";
    char word[16];
    for (int i = 1; i <= 1500; ++i) {
        if (i == 11) markup += "<Y s20 >";
        std::snprintf(word, sizeof word, "w%04d ", i);
        markup += word;
    }
    const TKYToggetto& page = AddPage("Grande", Text(markup));
    ASSERT_TRUE(Print(&page));
    ASSERT_GE(device_.AllSheets().size(), 2u);
    std::string all;
    int wrongSize = 0, letterByLetter = 0;
    for (const auto* sheet : device_.AllSheets())
        for (const CanvasOp& op : sheet->ops) {
            if (op.kind != CanvasOpKind::Text) continue;
            const bool after = all.size() >= 60;  // "w0001 " ... "w0010 " come first
            wrongSize += op.font.size != (after ? 20 : 12);
            letterByLetter += op.text.size() == 1;
            all += op.text;
        }
    EXPECT_EQ(wrongSize, 0);
    EXPECT_EQ(letterByLetter, 0);
    EXPECT_EQ(all, markup.substr(7, 60) + markup.substr(75));
}

// A table inside a cell whose content lies sheets below the line that holds it, and a text
// naming one table twice, once inside one of its own cells: every word prints once, in order,
// and no sheet is blank.
TEST_F(Printing, NestedTablesPrintWhereverTheyReachAndATableNamedAgainPrintsOnce) {
    auto newTable = [&](int rows, int columns) {
        TKYToggetto& table = Add(TOggettiHel::tabellaHtml);
        RecordView r = table.View();
        r.SetU8(kTableRows, std::uint8_t(rows));
        r.SetU8(kTableColumns, std::uint8_t(columns));
        for (int c = 0; c < columns; ++c) {
            r.SetU8At(kTableColumnKinds + c, 0);  // percent
            r.SetI16At(kTableColumnWidths + 2 * c, std::int16_t(100 / columns));
        }
        return table.Identifier();
    };
    const std::int32_t outer = newTable(1, 1), inner = newTable(1, 2);
    // 3000 screen pixels of space above "Dopo": sheets below "x".
    const TKYToggetto& nested =
        AddPage("Annidata", Text("<Z S0 >Prima<Z S0 ><$08" + Hex6(outer) + "><Z S1 ><$08" +
                                 Hex6(inner) + "><Z S1 >x<T><Z S1 t3000 >Dopo<T><T><Z S0 >Fine"));
    ASSERT_TRUE(Print(&nested));
    std::vector<std::string> words;
    std::map<std::string, std::size_t> sheetOf;
    for (const Drawn& d : TextsDrawn()) words.push_back(d.text), sheetOf[d.text] = d.sheet;
    EXPECT_THAT(words, ElementsAre("Prima", "x", "Dopo", "Fine"));
    // The empty space above "Dopo" is skipped: the next sheet starts with it.
    EXPECT_EQ(sheetOf["Dopo"], sheetOf["x"] + 1);
    const auto sheets = device_.AllSheets();
    for (std::size_t s = 0; s < sheets.size(); ++s)
        EXPECT_FALSE(sheets[s]->Texts().empty()) << "sheet " << s << " is blank";

    // The same table in one of its own cells and again after it ("<@>": its cells are not
    // given again), in a text being edited.
    device_.Clear();
    const std::int32_t twice = newTable(1, 2);
    const TKYToggetto& page = AddPage("Due volte", Text("<Z S0 >x<$08" + Hex6(twice) + ">"));
    std::unique_ptr<TKYTtesto> text = OpenText(set_, page, false);
    ASSERT_EQ(text->pageObjects.size(), 1u);
    text->SetContent(
        Text("<Z S0 >Prima<$FF000000><Z S1 >a<$FF000000><T><Z S1 >b<T>"
             "<Z S0 >Poi<$FF000000><@><Z S0 >Fine"));
    TKYTpageP printing(set_, device_);
    ASSERT_TRUE(printing.Riempi(std::move(text), setup_));
    ASSERT_EQ(device_.AllSheets().size(), 1u);
    EXPECT_THAT(device_.AllSheets()[0]->Texts(), ElementsAre("Prima", "a", "b", "Poi", "Fine"));
}

// Negative space below "b" puts "c" sheets above it: "c" prints on the sheet it stands on.
TEST_F(Printing, AParagraphAboveTheOneBeforeItStillPrints) {
    const TKYToggetto& page = AddPage("Su", Text("<Z S0 >a<Z S0 t2000 b-1600 >b<Z S0 >c"));
    ASSERT_TRUE(Print(&page));
    std::vector<std::pair<std::size_t, std::string>> drawn;
    for (const Drawn& d : TextsDrawn()) drawn.emplace_back(d.sheet, d.text);
    EXPECT_THAT(drawn, ElementsAre(std::pair<std::size_t, std::string>{0, "a"},
                                   std::pair<std::size_t, std::string>{0, "c"},
                                   std::pair<std::size_t, std::string>{1, "b"}));

    // The same in a table cell: the cell reaches down to "b", below its last paragraph.
    device_.Clear();
    TKYToggetto& table = Add(TOggettiHel::tabellaHtml);
    RecordView r = table.View();
    r.SetU8(kTableRows, 2);
    r.SetU8(kTableColumns, 1);
    r.SetI16At(kTableColumnWidths, 100);
    const TKYToggetto& cells =
        AddPage("Cella", Text("<Z S0 ><$08" + Hex6(table.Identifier()) +
                              "><Z S1 >a<Z S1 t2000 b-1600 >b<Z S1 >c<T><Z S1 >d<T>"));
    ASSERT_TRUE(Print(&cells));
    drawn.clear();
    for (const Drawn& d : TextsDrawn()) drawn.emplace_back(d.sheet, d.text);
    EXPECT_THAT(drawn, ElementsAre(std::pair<std::size_t, std::string>{0, "a"},
                                   std::pair<std::size_t, std::string>{0, "c"},
                                   std::pair<std::size_t, std::string>{1, "b"},
                                   std::pair<std::size_t, std::string>{1, "d"}));

    // A table in a paragraph of fixed line height 6: the table reaches far below its line.
    device_.Clear();
    const TKYToggetto& fixed = AddPage("Fissa", Text("<Z S0 L6 ><$08" + Hex6(table.Identifier()) +
                                                     "><Z S1 >a<T><Z S1 t2000 >b<T><Z S0 >c"));
    ASSERT_TRUE(Print(&fixed));
    drawn.clear();
    for (const Drawn& d : TextsDrawn()) drawn.emplace_back(d.sheet, d.text);
    EXPECT_THAT(drawn, ElementsAre(std::pair<std::size_t, std::string>{0, "a"},
                                   std::pair<std::size_t, std::string>{0, "c"},
                                   std::pair<std::size_t, std::string>{1, "b"}));
}

TEST_F(Printing, APictureThatWouldRunOffTheSheetMovesToTheNext) {
    const std::int32_t image = AddImage(40, 400);  // 100 mm high at the default scale
    const std::string markup = Lines(50) + "<Z S0 ><$10" + Hex6(image) + "><Z S0 >Dopo";
    const TKYToggetto& page = AddPage("Figura", Text(markup));
    ASSERT_TRUE(Print(&page));

    const auto sheets = device_.AllSheets();
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(sheets[0]->Texts().size(), 50u);
    EXPECT_THAT(sheets[0]->images, IsEmpty());
    ASSERT_EQ(sheets[1]->images.size(), 1u);
    const Rect area = sheets[1]->images[0].area;
    EXPECT_EQ(area.top, setup_.Down(setup_.MarginTop()));  // at the top of the next sheet
    EXPECT_EQ(area.left, TextsDrawn().front().area.left);  // where the lines start
    EXPECT_NEAR(area.Height(), 100.0 * 600 / 25.4, 2.0);
    EXPECT_NEAR(area.Width(), 10.0 * 600 / 25.4, 2.0);
    EXPECT_THAT(sheets[1]->Texts(), ElementsAre("Dopo"));
}

TEST_F(Printing, ObjectsAndLinesTallerThanASheetAreScaledOrStandAlone) {
    const std::int32_t image = AddImage(100, 2000);  // 500 mm at the default scale
    const std::string markup = "<Z S0 >Prima<Z S0 ><$10" + Hex6(image) +
                               "><Z S0 s1000 >Enorme<Z S0 s1000 >Gigante<Z S0 >Fine";
    const TKYToggetto& page = AddPage("Alta", Text(markup));
    ASSERT_TRUE(Print(&page));

    const auto sheets = device_.AllSheets();
    // "Prima" and the picture scaled to the band (it may reach into the bottom margin, not
    // off the paper); each giant line alone; "Fine".
    ASSERT_EQ(sheets.size(), 4u);
    EXPECT_THAT(sheets[0]->Texts(), ElementsAre("Prima"));
    ASSERT_EQ(sheets[0]->images.size(), 1u);
    const Rect area = sheets[0]->images[0].area;
    EXPECT_LE(area.bottom, kSheetHeight);
    const std::int32_t band =
        kSheetHeight - setup_.Down(double(setup_.MarginTop()) + setup_.MarginBottom());
    EXPECT_EQ(area.Height(), band);
    EXPECT_NEAR(double(area.Width()) / area.Height(), 100.0 / 2000.0, 0.001);
    EXPECT_THAT(sheets[1]->Texts(), ElementsAre("Enorme"));
    EXPECT_THAT(sheets[2]->Texts(), ElementsAre("Gigante"));
    EXPECT_THAT(sheets[3]->Texts(), ElementsAre("Fine"));
}

TEST_F(Printing, ImageScaleSetsThePrintedSize) {
    const std::int32_t image = AddImage(100, 100);
    const TKYToggetto& page = AddPage("Scala", Text("<Z S0 ><$10" + Hex6(image) + ">"));
    for (const std::int32_t scale : {2500, 5000}) {
        device_.Clear();
        ASSERT_TRUE(Print(&page, false, scale));
        ASSERT_EQ(device_.AllSheets().size(), 1u);
        ASSERT_EQ(device_.AllSheets()[0]->images.size(), 1u);
        const Rect area = device_.AllSheets()[0]->images[0].area;
        const double mm = scale / 100.0;  // 100 screen pixels print this many millimetres
        EXPECT_NEAR(area.Width(), mm * 600 / 25.4, 1.0) << scale;
        EXPECT_NEAR(area.Height(), mm * 600 / 25.4, 1.0) << scale;
    }
}

TEST_F(Printing, NumberedParagraphsCountOneTwoThreeAndRestartAfterAPlainOne) {
    const TKYToggetto& page = AddPage(
        "Elenco", Text("<Z S0 N6 >uno<Z S0 N6 >due<Z S0 N6 >tre<Z S0 >testo<Z S0 N6 >ancora"));
    ASSERT_TRUE(Print(&page));
    EXPECT_THAT(device_.AllSheets()[0]->Texts(),
                ElementsAre("1. ", "uno", "2. ", "due", "3. ", "tre", "testo", "1. ", "ancora"));
}

TEST_F(Printing, FailuresSayWhyAndPrintNothing) {
    EXPECT_FALSE(Print(nullptr));
    const TKYToggetto& page = AddPage("P", Text("<Z S0 >x"));
    ASSERT_TRUE(setup_.SetMarginTop(15000));
    ASSERT_TRUE(setup_.SetMarginBottom(15000));
    EXPECT_FALSE(Print(&page));  // 300 mm of margins on a 297 mm sheet
    ASSERT_TRUE(setup_.SetMarginTop(2500));
    device_.reachable = false;
    EXPECT_FALSE(Print(&page));
    EXPECT_THAT(messages_.Shown(),
                ElementsAre(Message{Box::Error, "Invalid use of TKYTpageP.Riempi"},
                            Message{Box::Error, std::string(kNoPrintableArea)},
                            Message{Box::Error, std::string(kNoPrinterReachable)}));
    EXPECT_THAT(device_.Jobs(), IsEmpty());
}

TEST(PageSetup, MarginRulesAndTheProfileRoundTrip) {
    TPageSetupDialog setup;
    ASSERT_TRUE(setup.SetMinMarginLeft(1000));
    EXPECT_FALSE(setup.SetMarginLeft(1000));  // the left margin must exceed its minimum
    EXPECT_EQ(setup.MarginLeft(), 2500);
    ASSERT_TRUE(setup.SetMinMarginTop(1000));
    EXPECT_TRUE(setup.SetMarginTop(1000));  // the others may equal theirs
    EXPECT_FALSE(setup.SetMinMarginTop(1001));

    RecordingPrintDevice device;
    device.printers.push_back("Ufficio");
    PrinterDescription office{"Ufficio", "pdf", "lpt1", {9, 0, 0, 1, 100, 2, 7, 600, 2, 1}};
    ASSERT_TRUE(device.SetDescription(office));
    ASSERT_TRUE(setup.SetMarginRight(1234));
    MemorySettings settings;
    setup.SaveSettings(settings, device);
    const std::string key = "printerProfiles\\PrnSettings_PrinterSettings1";
    EXPECT_EQ(settings.ReadString(key, "device"), "Ufficio");
    EXPECT_EQ(settings.ReadString(key, "dmPrintQuality"), "600");
    EXPECT_EQ(settings.ReadString(key, "Top"), "1000");
    EXPECT_EQ(settings.ReadString(key, "PrnParsSaved"), "1");

    RecordingPrintDevice other;
    other.printers.push_back("Ufficio");
    TPageSetupDialog read;
    read.SetIniSettings("PrinterSettings1", settings, other);
    EXPECT_EQ(other.Description(), office);
    EXPECT_EQ(read.MarginRight(), 1234);
    EXPECT_EQ(read.MarginTop(), 1000);
    EXPECT_FLOAT_EQ(read.Fx(), 4960.0f / 21000.0f);

    // A value missing ends the reading: what came before it stays.
    settings.DeleteValue(key, "Right");
    TPageSetupDialog partial;
    partial.SetIniSettings("PrinterSettings1", settings, other);
    EXPECT_EQ(partial.MarginLeft(), 2500);
    EXPECT_EQ(partial.MarginRight(), 2500);
    EXPECT_EQ(partial.MarginTop(), 2500);
}

TEST_F(Printing, ThePrintWindowListsPagesOnceAndPrintsThemInOrder) {
    AddPage("Uno", Text("<Z S0 >primo"));
    AddPage("Due", Text("<Z S0 >secondo"));
    AddPage("Tre", Text("<Z S0 >terzo"));
    TFprintRules rules(set_);
    EXPECT_FALSE(rules.Add(-1));
    EXPECT_FALSE(rules.Add(7));
    EXPECT_TRUE(rules.Add(2));
    EXPECT_FALSE(rules.Add(2));
    EXPECT_TRUE(rules.Add(0));
    EXPECT_TRUE(rules.MoveDown(0));
    EXPECT_FALSE(rules.MoveDown(1));
    EXPECT_THAT(rules.Items(),
                ElementsAre(TFprintRules::Item{"Uno", 0}, TFprintRules::Item{"Tre", 2}));
    std::vector<std::pair<int, int>> steps;
    EXPECT_EQ(rules.Print(device_, setup_, {}, 1,
                          [&](int s, int t) {
                              steps.push_back({s, t});
                          }),
              2);
    ASSERT_EQ(device_.Jobs().size(), 2u);
    EXPECT_EQ(device_.Jobs()[0].title, "Orvo, pag: Uno");
    EXPECT_EQ(device_.Jobs()[1].title, "Orvo, pag: Tre");
    EXPECT_THAT(steps,
                ElementsAre(std::pair{1, 4}, std::pair{2, 4}, std::pair{3, 4}, std::pair{4, 4}));

    rules.AllInDefaultOrder();
    EXPECT_EQ(rules.Items().size(), 3u);
    rules.Remove({0, 2, 2});
    EXPECT_THAT(rules.Items(), ElementsAre(TFprintRules::Item{"Due", 1}));
    rules.Clear();
    device_.Clear();
    EXPECT_EQ(rules.Print(device_, setup_, {}, 1), 1);  // the page shown in the preview
    EXPECT_EQ(device_.Jobs().at(0).title, "Orvo, pag: Due");
}

}  // namespace
}  // namespace orvo
