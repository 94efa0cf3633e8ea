// orvo-cli print, run as the built program; the PDF files read back by poppler's pdfinfo and
// pdftotext.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/ProgramRun.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

using ::testing::HasSubstr;

ProgramRun Cli(std::vector<std::string> args) {
    ProgramRun run = RunOrvoCli(std::move(args));
    run.out += run.err;
    return run;
}

std::string Tool(std::vector<std::string> argv) {
    const ProgramRun run = RunProgram(argv);
    EXPECT_EQ(run.status, 0) << argv[0] << " failed (poppler-utils installed?): " << run.err;
    return run.out;
}

std::string Info(const std::filesystem::path& pdf, const std::string& field) {
    std::istringstream lines(Tool({"/usr/bin/pdfinfo", pdf.string()}));
    for (std::string line; std::getline(lines, line);)
        if (line.starts_with(field + ":")) {
            const std::size_t value = line.find_first_not_of(' ', field.size() + 1);
            return value == std::string::npos ? "" : line.substr(value);
        }
    return {};
}

// A list number as the printed page shows it: digits, then a full stop ("12.").
bool IsListNumber(const std::string& w) {
    return w.size() >= 2 && w.back() == '.' &&
           std::all_of(w.begin(), w.end() - 1, [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// The text of each sheet.
std::vector<std::string> Sheets(const std::filesystem::path& pdf) {
    std::string text = Tool({"/usr/bin/pdftotext", pdf.string(), "-"});
    std::vector<std::string> sheets;
    std::size_t from = 0;
    for (std::size_t ff; (ff = text.find('\f', from)) != std::string::npos; from = ff + 1)
        sheets.push_back(text.substr(from, ff - from));
    return sheets;
}

std::string Joined(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& w : words) out += (out.empty() ? "" : " ") + w;
    return out;
}

TEST(CliPrint, TheSampleSheetByPageWithHeaderAndFooter) {
    const std::filesystem::path kyt = TestDir() / "guida.kyt";
    ASSERT_EQ(Cli({"sample", kyt}).status, 0);
    const std::filesystem::path pdf = TestDir() / "guida.pdf";
    const ProgramRun done = Cli({"print", kyt, "--pdf", pdf});
    ASSERT_EQ(done.status, 0) << done.out;
    EXPECT_THAT(done.out, HasSubstr("10 pages, 10 sheets: "));
    EXPECT_EQ(Info(pdf, "Pages"), "10");
    EXPECT_EQ(Info(pdf, "Page size"), "595 x 842 pts (A4)");
    EXPECT_EQ(Info(pdf, "Title"), "Orvo, pag: Copertina");

    // The words of every page, in order, are those the text export writes for it (which
    // writes the header and footer pages once, as pages of their own, and no list marks).
    const std::filesystem::path txt = TestDir() / "guida.txt";
    ASSERT_EQ(Cli({"export", "txt", kyt, txt}).status, 0);
    const std::string header = "Guida di Orvo";
    const std::string footer = "Pagina della guida \xC2\xB7 \xC2\xA9 Gli autori di Orvo";
    const std::vector<std::string> sheets = Sheets(pdf);
    ASSERT_EQ(sheets.size(), 10u);
    std::string printed;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        std::vector<std::string> words;
        for (const std::string& w : Words(sheets[i]))
            if (w != "\xE2\x80\xA2" && !IsListNumber(w)) words.push_back(w);
        std::string text = Joined(words);
        if (i == 0) {
            EXPECT_TRUE(text.starts_with("Benvenuti nella guida di Orvo")) << text;
        } else {
            // Every page but the cover has the guide's header and footer on its sheet.
            ASSERT_TRUE(text.starts_with(header + " ")) << i << ": " << text;
            ASSERT_TRUE(text.ends_with(" " + footer)) << i << ": " << text;
            text = text.substr(header.size() + 1, text.size() - header.size() - footer.size() - 2);
        }
        printed += (printed.empty() ? "" : " ") + text;
    }
    // The export is Windows-1252; its pages follow one another without a break, so the two
    // are compared without blanks.
    std::string exported = Tool({"/usr/bin/iconv", "-f", "CP1252", "-t", "UTF-8", txt.string()});
    auto squeezed = [](std::string s) {
        std::erase_if(s, [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
        return s;
    };
    // The header and footer pages follow the cover in the export; on paper they frame pages.
    exported = squeezed(exported);
    const std::size_t frame = exported.find(squeezed(header + footer));
    ASSERT_NE(frame, std::string::npos);
    exported.erase(frame, squeezed(header + footer).size());
    // The last page holds a table, whose cells pdftotext reads in an order of its own (a cell
    // wrapped on paper, the line below the table between columns): from its title on, the
    // same characters.
    printed = squeezed(printed);
    const std::size_t table = exported.find("Unatabella");
    ASSERT_NE(table, std::string::npos);
    EXPECT_EQ(printed.substr(0, table), exported.substr(0, table));
    std::string printedTable = printed.substr(std::min(table, printed.size()));
    std::string exportedTable = exported.substr(table);
    std::sort(printedTable.begin(), printedTable.end());
    std::sort(exportedTable.begin(), exportedTable.end());
    EXPECT_EQ(printedTable, exportedTable);
}

TEST(CliPrint, ALongTextFillsWholeSheetsAsTheMarginsImply) {
    // 1590 lines: 30 sheets of 53 lines at 25 mm margins.
    std::string text;
    char line[64];
    for (int i = 1; i <= 1590; ++i) {
        std::snprintf(line, sizeof line, "Riga %04d del testo lungo da stampare\r\n", i);
        text += line;
    }
    const std::filesystem::path source = TestDir() / "lungo.txt";
    std::ofstream(source, std::ios::binary) << text;
    const std::filesystem::path kyt = TestDir() / "lungo.kyt";
    ASSERT_EQ(Cli({"import", source, kyt}).status, 0);

    for (const auto& [margins, sheets] :
         std::vector<std::pair<std::string, int>>{{"25,25,25,25", 30}, {"10,40,10,40", 34}}) {
        const std::filesystem::path pdf = TestDir() / ("lungo" + margins + ".pdf");
        const ProgramRun done = Cli({"print", kyt, "--pdf", pdf, "--margins", margins});
        ASSERT_EQ(done.status, 0) << done.out;
        EXPECT_EQ(Info(pdf, "Pages"), std::to_string(sheets)) << margins;
        const std::vector<std::string> pages = Sheets(pdf);
        ASSERT_EQ(pages.size(), std::size_t(sheets));
        int next = 1;
        std::size_t perSheet = 0;
        for (std::size_t s = 0; s < pages.size(); ++s) {
            std::istringstream in(pages[s]);
            std::size_t count = 0;
            for (std::string l; std::getline(in, l);) {
                if (l.empty()) continue;
                std::snprintf(line, sizeof line, "Riga %04d del testo lungo da stampare", next++);
                ASSERT_EQ(l, line) << "sheet " << s + 1;  // every line whole, once, in order
                ++count;
            }
            EXPECT_GT(count, 0u) << "blank sheet " << s + 1;
            if (s == 0) perSheet = count;
            if (s + 1 < pages.size()) {
                EXPECT_EQ(count, perSheet) << "sheet " << s + 1;
            }
        }
        EXPECT_EQ(next, 1591);
        // As many lines as the band between the margins holds, at the lines' pitch.
        const std::string bbox =
            Tool({"/usr/bin/pdftotext", "-bbox", "-f", "2", "-l", "2", pdf.string(), "-"});
        std::vector<double> tops;
        // The top of every word "Riga": <word xMin=".." yMin="TOP" ...>Riga</word>
        for (std::size_t at = bbox.find(">Riga<"); at != std::string::npos;
             at = bbox.find(">Riga<", at + 1)) {
            const std::size_t tag = bbox.rfind('<', at);
            const std::size_t y = bbox.find("yMin=\"", tag);
            if (tag == std::string::npos || y == std::string::npos || y > at) continue;
            tops.push_back(std::stod(bbox.substr(y + 6)));
        }
        ASSERT_GE(tops.size(), 2u);
        const double pitch = tops[1] - tops[0];
        const int top = std::stoi(margins.substr(margins.find(',') + 1));
        const double band = (297.0 - 2 * top) * 72 / 25.4;
        EXPECT_NEAR(tops[0], top * 72 / 25.4, 0.5);
        EXPECT_EQ(perSheet, std::size_t(std::ceil(band / pitch))) << margins;
    }
}

TEST(CliPrint, ChosenPagesOneFileAPageAndUsage) {
    const std::filesystem::path kyt = TestDir() / "guida.kyt";
    ASSERT_EQ(Cli({"sample", kyt}).status, 0);
    const std::filesystem::path pdf = TestDir() / "scelte.pdf";
    ASSERT_EQ(Cli({"print", kyt, "--pdf", pdf, "--pages", "4,0"}).status, 0);
    const std::vector<std::string> sheets = Sheets(pdf);
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_THAT(sheets[1], HasSubstr("Benvenuti nella guida di Orvo"));
    EXPECT_THAT(sheets[0], ::testing::Not(HasSubstr("Benvenuti")));

    const std::filesystem::path folder = TestDir() / "fogli";
    ASSERT_EQ(Cli({"print", kyt, "--per-page", folder, "--pages", "0,3-4"}).status, 0);
    for (const char* name : {"0.pdf", "3.pdf", "4.pdf"})
        EXPECT_EQ(Info(folder / name, "Pages"), "1") << name;

    EXPECT_THAT(Cli({"print", kyt, "--pdf", pdf, "--pages", "99"}).out,
                HasSubstr("the document has no page 99"));
    EXPECT_THAT(Cli({"print", kyt, "--pdf", pdf, "--margins", "1,2,3"}).out,
                HasSubstr("--margins takes four millimetres"));
    const ProgramRun tooWide = Cli({"print", kyt, "--pdf", pdf, "--margins", "110,10,110,10"});
    EXPECT_EQ(tooWide.status, 1);
    EXPECT_THAT(tooWide.out, HasSubstr("I margini non lasciano spazio per stampare"));
    EXPECT_THAT(Cli({"print", kyt}).out, HasSubstr("Usage: orvo-cli print FILE --pdf OUT.pdf"));
}

}  // namespace
}  // namespace orvo::test
