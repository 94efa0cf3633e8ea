// orvo-cli table on the sample hypertext: a table made, filled and changed from the command
// line, then read back by independent readers of the export (html5lib and pandoc) with the
// same grid as the plain-text export; the limits of rows and columns with their messages.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/ProgramRun.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

ProgramRun Cli(std::vector<std::string> args) {
    return RunOrvoCli(std::move(args));
}

// The rows of the text export that hold tabs: the table's rows, cells split at the tabs.
std::string TextGrid(const std::string& text) {
    std::string grid;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find('\t') == std::string::npos) continue;
        grid += line + "\n";
    }
    return grid;
}

TEST(CliTable, MadeFilledAndChangedTablesReadTheSameEverywhere) {
    const std::filesystem::path kyt = TestDir() / "tabella.kyt";
    ASSERT_EQ(Cli({"sample", kyt}).status, 0);
    ProgramRun run = Cli({"table", kyt, "0", "--new", "3", "4", "--para", "1"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "table 0: 3 x 4\n");
    // A header row, words in every cell, then a row and a column added and one of each deleted.
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) {
            const std::string word = r == 0 ? "Titolo" + std::to_string(c)
                                            : "r" + std::to_string(r) + "c" + std::to_string(c);
            run = Cli(
                {"table", kyt, "0", "--set-cell", "0", std::to_string(r), std::to_string(c), word});
            ASSERT_EQ(run.status, 0) << run.err;
        }
    ASSERT_EQ(Cli({"table", kyt, "0", "--add-rows", "0", "1", "3"}).status, 0);
    ASSERT_EQ(Cli({"table", kyt, "0", "--set-cell", "0", "3", "0", "però"}).status, 0);
    ASSERT_EQ(Cli({"table", kyt, "0", "--add-cols", "0", "1", "1"}).status, 0);
    run = Cli({"table", kyt, "0", "--delete-cols", "0", "1", "4"});
    ASSERT_EQ(run.status, 0) << run.err;
    run = Cli({"table", kyt, "0", "--delete-rows", "0", "1", "1"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "table 0: 3 x 4\n");

    const std::string expected =
        "Titolo0\t\tTitolo1\tTitolo2\n"
        "r2c0\t\tr2c1\tr2c2\n"
        "per\xC3\xB2\t\t\t\n";
    ASSERT_EQ(Cli({"export", "txt", kyt, TestDir() / "tabella.txt"}).status, 0);
    const std::string text = ReadFile(TestDir() / "tabella.txt");
    std::string utf8;
    for (unsigned char ch : TextGrid(text)) {
        if (ch < 0x80) {
            utf8 += char(ch);
        } else {
            utf8 += char(0xC0 | (ch >> 6));
            utf8 += char(0x80 | (ch & 0x3F));
        }
    }
    // The new table is on the cover, before the sample's own table page.
    EXPECT_EQ(utf8.substr(0, expected.size()), expected);

    const std::filesystem::path site = TestDir() / "sito-tabella";
    ASSERT_EQ(Cli({"export", "html", kyt, site}).status, 0);
    const std::filesystem::path cover = site / "guida_index.html";
    ASSERT_TRUE(std::filesystem::exists(cover));
    const ProgramRun parsed =
        RunProgram({"/usr/bin/python3", "-c",
                    "import html5lib,sys\n"
                    "d=html5lib.parse(open(sys.argv[1],'rb').read(),treebuilder='etree',"
                    "namespaceHTMLElements=False)\n"
                    "for t in d.iter('table'):\n"
                    "  for tr in t.iter('tr'):\n"
                    "    cells=[' '.join(''.join(td.itertext()).replace('\\xa0',' ').split())"
                    " for td in tr.findall('td')]\n"
                    "    print('\\t'.join(cells))\n",
                    cover.string()});
    ASSERT_EQ(parsed.status, 0) << parsed.err;
    EXPECT_EQ(parsed.out, expected);

    const ProgramRun plain = RunProgram(
        {"/usr/bin/pandoc", "-f", "html", "-t", "plain", "--columns=200", cover.string()});
    ASSERT_EQ(plain.status, 0) << plain.err;
    // The grid: every row's words on one line, in order.
    for (const char* row : {"Titolo0", "r2c0", "per\xC3\xB2"}) {
        const std::size_t at = plain.out.find(row);
        ASSERT_NE(at, std::string::npos) << plain.out;
        const std::string line = plain.out.substr(at, plain.out.find('\n', at) - at);
        if (std::string(row) == "Titolo0") {
            EXPECT_LT(line.find("Titolo1"), line.find("Titolo2")) << line;
        }
        if (std::string(row) == "r2c0") {
            EXPECT_LT(line.find("r2c1"), line.find("r2c2")) << line;
        }
    }
}

// The sample's table page, exported: html5lib reads the same grid as the text export gives
// (the picture's cell has no words), and pandoc draws it with the same rows and cells, the
// picture without alternative text as "[]".
TEST(CliTable, TheSamplesTablePageExportsAsTheSameGridEverywhere) {
    const std::filesystem::path kyt = TestDir() / "guida-tabella.kyt";
    ASSERT_EQ(Cli({"sample", kyt}).status, 0);
    ASSERT_EQ(Cli({"export", "txt", kyt, TestDir() / "guida.txt"}).status, 0);
    const std::string expected =
        "Parte\tChe cosa mostra\tDove\n"
        "Copertina\tIl titolo e i primi collegamenti\tVai alla copertina\n"
        "Disegno\tUna tabella in piccolo\t\n"
        "Capitoli\tLe pagine in ordine\tNell'albero delle pagine\n";
    EXPECT_EQ(TextGrid(ReadFile(TestDir() / "guida.txt")), expected);

    const std::filesystem::path site = TestDir() / "sito-guida";
    ASSERT_EQ(Cli({"export", "html", kyt, site}).status, 0);
    const std::filesystem::path page = site / "guida_00000a.html";
    ASSERT_TRUE(std::filesystem::exists(page));
    const ProgramRun parsed =
        RunProgram({"/usr/bin/python3", "-c",
                    "import html5lib,sys\n"
                    "d=html5lib.parse(open(sys.argv[1],'rb').read(),treebuilder='etree',"
                    "namespaceHTMLElements=False)\n"
                    "for t in d.iter('table'):\n"
                    "  for tr in t.iter('tr'):\n"
                    "    cells=[' '.join(''.join(td.itertext()).replace('\\xa0',' ').split())"
                    " for td in tr.findall('td')]\n"
                    "    print('\\t'.join(cells))\n"
                    "print(len(d.findall('.//td//a')), len(d.findall('.//td//img')))\n",
                    page.string()});
    ASSERT_EQ(parsed.status, 0) << parsed.err;
    EXPECT_EQ(parsed.out, expected + "1 1\n") << "a cell with a link, one with a picture";

    const ProgramRun plain = RunProgram(
        {"/usr/bin/pandoc", "-f", "html", "-t", "plain", "--columns=250", page.string()});
    ASSERT_EQ(plain.status, 0) << plain.err;
    // The grid's lines "| a | b | c |" made into tab-separated rows.
    std::string grid;
    std::istringstream lines(plain.out);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] != '|') continue;
        std::string row;
        std::istringstream cells(line.substr(1));
        for (std::string cell; std::getline(cells, cell, '|');) {
            const std::size_t first = cell.find_first_not_of(' ');
            const std::size_t last = cell.find_last_not_of(' ');
            // Each cell's paragraph ends with a no-break space, which pandoc keeps.
            row += first == std::string::npos ? "" : cell.substr(first, last - first + 1);
            while (row.ends_with(" ") || row.ends_with("\xC2\xA0"))
                row.resize(row.size() - (row.back() == ' ' ? 1 : 2));
            row += '\t';
        }
        row.pop_back();
        grid += row + "\n";
    }
    std::string withPicture = expected;
    withPicture.replace(withPicture.find("piccolo\t\n"), 9, "piccolo\t[]\n");
    EXPECT_EQ(grid, withPicture) << plain.out;
}

// A new table of style 11 ("Lista") colours its cells as the style says with the colours
// given (and the default ones when none are given), and the export writes them per cell.
TEST(CliTable, NewTablesTakeTheirStylesBackgrounds) {
    const std::string script =
        "import html5lib,sys\n"
        "d=html5lib.parse(open(sys.argv[1],'rb').read(),treebuilder='etree',"
        "namespaceHTMLElements=False)\n"
        "t=next(d.iter('table'))\n"
        "for tr in t.iter('tr'):\n"
        "  print(' '.join((td.get('bgcolor') or '-').upper() for td in tr.findall('td')))\n";
    struct Case {
        std::vector<std::string> colours;
        std::string grid;
    };
    const std::vector<Case> cases{
        {{"--first", "#102030", "--second", "abcdef"},
         "#102030 #102030 #ABCDEF\n- - #ABCDEF\n#102030 #102030 #ABCDEF\n"},
        {{}, "#C0E0F0 #C0E0F0 #E0E0E0\n- - #E0E0E0\n#C0E0F0 #C0E0F0 #E0E0E0\n"},
        {{"--second", "none"}, "#C0E0F0 #C0E0F0 -\n- - -\n#C0E0F0 #C0E0F0 -\n"},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::filesystem::path kyt = TestDir() / ("stile" + std::to_string(n) + ".kyt");
        ASSERT_EQ(Cli({"sample", kyt}).status, 0);
        std::vector<std::string> args{"table", kyt.string(), "0",       "--new",
                                      "3",     "3",          "--style", "11"};
        args.insert(args.end(), c.colours.begin(), c.colours.end());
        const ProgramRun run = Cli(args);
        ASSERT_EQ(run.status, 0) << run.err;
        const std::filesystem::path site = TestDir() / ("sito-stile" + std::to_string(n++));
        ASSERT_EQ(Cli({"export", "html", kyt, site}).status, 0);
        const ProgramRun parsed =
            RunProgram({"/usr/bin/python3", "-c", script, (site / "guida_index.html").string()});
        ASSERT_EQ(parsed.status, 0) << parsed.err;
        EXPECT_EQ(parsed.out, c.grid);
    }
    const ProgramRun bad = Cli({"table", (TestDir() / "stile0.kyt").string(), "0", "--new", "2",
                                "2", "--first", "12345G"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("--first takes a colour RRGGBB or none"), std::string::npos) << bad.err;
}

TEST(CliTable, LimitsAndRefusalsLeaveTheFileAsItWas) {
    const std::filesystem::path kyt = TestDir() / "limiti.kyt";
    ASSERT_EQ(Cli({"sample", kyt}).status, 0);
    ASSERT_EQ(Cli({"table", kyt, "0", "--new", "3", "4"}).status, 0);
    const std::string before = ReadFile(kyt);
    struct Refusal {
        std::vector<std::string> action;
        std::string message;
    };
    const std::vector<Refusal> refusals{
        {{"--add-cols", "0", "47", "0"}, "Il numero massimo di colonne \xC3\xA8 limitato."},
        {{"--add-rows", "0", "253", "0"}, "Il numero massimo di righe \xC3\xA8 limitato."},
        {{"--delete-rows", "0", "3", "0"}, "refused: delete-rows 3 at 0 of a 3 x 4 table"},
        {{"--delete-cols", "0", "2", "3"}, "refused: delete-cols 2 at 3 of a 3 x 4 table"},
        {{"--add-rows", "1", "1", "0"}, "the page has 1 tables"},
        {{"--new", "201", "2"}, "a new table has 1 to 200 rows and 1 to 50 columns"},
    };
    for (const Refusal& r : refusals) {
        std::vector<std::string> args{"table", kyt.string(), "0"};
        args.insert(args.end(), r.action.begin(), r.action.end());
        const ProgramRun run = Cli(args);
        EXPECT_EQ(run.status, 1) << r.action[0];
        EXPECT_NE(run.err.find(r.message), std::string::npos) << run.err;
        EXPECT_EQ(ReadFile(kyt), before) << r.action[0];
    }
    // Up to the limits: 50 columns, 255 rows.
    ProgramRun run = Cli({"table", kyt, "0", "--add-cols", "0", "46", "4"});
    ASSERT_EQ(run.status, 0) << run.err;
    run = Cli({"table", kyt, "0", "--add-rows", "0", "252", "0"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "table 0: 255 x 50\n");
    run = Cli({"table", kyt, "0"});
    EXPECT_EQ(run.out, "table 0: 255 x 50\n");
}

}  // namespace
}  // namespace orvo::test
