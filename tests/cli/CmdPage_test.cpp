// orvo-cli page on the sample hypertext: a page's title, alias, colours, background picture and
// head code set from the command line, printed back from the saved file, then exported and read
// by html5lib: the head code's picture reference resolves to the exported picture's file, the
// same file the body takes as its background. Malformed arguments leave the file as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/ProgramRun.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

namespace fs = std::filesystem;

ProgramRun Cli(std::vector<std::string> args) {
    return RunOrvoCli(std::move(args));
}

TEST(CliPage, PropertiesSetPrintedAndSeenInTheExport) {
    const fs::path kyt = TestDir() / "pagina.kyt";
    ASSERT_EQ(Cli({"sample", kyt}).status, 0);
    const fs::path head = TestDir() / "testa.txt";
    WriteFile(head,
              "<meta name=\"autore\" content=\"a & b\">\r\n"
              "<link rel=\"icon\" href=\"!RefI:05000000\">");
    ProgramRun run =
        Cli({"page", kyt, "3", "--title", "Citt\xC3\xA0 <nuova>", "--alias", "   ", "--colours",
             "0x0000FF,,0x00FF00,0xE0FFFF", "--background", "0", "--head-code", head});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "page: 3\n"
              "title: Citt\xC3\xA0 <nuova>\n"
              "alias: \n"
              "revision: 2\n"
              "colours: text 0x0000FF, link 0xFF0000, visited 0x00FF00, background 0xE0FFFF\n"
              "background picture: 0 Carta della copertina\n"
              "fixed background: no\n"
              "sequence: yes, group 1, order 1\n"
              "header: globale\n"
              "footer: globale\n"
              "head code:\n"
              "<meta name=\"autore\" content=\"a & b\">\r\n"
              "<link rel=\"icon\" href=\"!RefI:05000000\">\r\n");
    // Printing alone changes nothing.
    const std::string saved = ReadFile(kyt);
    ProgramRun again = Cli({"page", kyt, "3"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, run.out);
    EXPECT_EQ(ReadFile(kyt), saved);

    const fs::path site = TestDir() / "sito-pagina";
    ASSERT_EQ(Cli({"export", "html", kyt, site}).status, 0);
    const fs::path page = site / "guida_000003.html";
    ASSERT_TRUE(fs::exists(page));
    const ProgramRun parsed =
        RunProgram({"/usr/bin/python3", "-c",
                    "import html5lib,sys\n"
                    "p=html5lib.HTMLParser(strict=False)\n"
                    "d=p.parse(open(sys.argv[1],'rb').read(),"
                    "transport_encoding='windows-1252')\n"
                    "ns='{http://www.w3.org/1999/xhtml}'\n"
                    "print(d.find('.//'+ns+'title').text.strip())\n"
                    "print(d.find('.//'+ns+'meta[@name=\"autore\"]').get('content'))\n"
                    "print(d.find('.//'+ns+'link[@rel=\"icon\"]').get('href'))\n"
                    "b=d.find('.//'+ns+'body')\n"
                    "print(' '.join(b.get(a,'-') for a in "
                    "('bgcolor','text','link','vlink','background')))\n",
                    page.string()});
    ASSERT_EQ(parsed.status, 0) << parsed.err;
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < parsed.out.size();) {
        const std::size_t end = parsed.out.find('\n', at);
        lines.push_back(parsed.out.substr(at, end - at));
        at = end + 1;
    }
    ASSERT_EQ(lines.size(), 4u) << parsed.out;
    EXPECT_EQ(lines[0], "Citt\xC3\xA0 <nuova>");
    EXPECT_EQ(lines[1], "a & b");
    const std::string icon = lines[2];
    ASSERT_FALSE(icon.empty());
    EXPECT_EQ(icon.find("!Ref"), std::string::npos);
    EXPECT_TRUE(fs::exists(site / icon)) << icon;
    // Colours as RRGGBB; the background is the same picture file as the head's reference.
    EXPECT_EQ(lines[3], "#FFFFE0 #FF0000 #0000FF #00FF00 " + icon) << lines[3];
}

TEST(CliPage, MalformedArgumentsLeaveTheFileAsItWas) {
    const fs::path kyt = TestDir() / "intatto.kyt";
    ASSERT_EQ(Cli({"sample", kyt}).status, 0);
    const std::string before = ReadFile(kyt);
    const std::vector<std::vector<std::string>> cases = {
        {"page", kyt.string(), "99"},
        {"page", kyt.string(), "tre"},
        {"page", kyt.string(), "3", "--colours", "1,2"},
        {"page", kyt.string(), "3", "--colours", "1,2,3,4,5"},
        {"page", kyt.string(), "3", "--colours", "1,2,3,0x1000000"},
        {"page", kyt.string(), "3", "--background", "77"},
        {"page", kyt.string(), "3", "--head-code", (TestDir() / "manca.txt").string()},
        {"page", kyt.string(), "3", "--title"},
        {"page", kyt.string(), "3", "--frame", "x"},
    };
    for (const auto& args : cases) {
        const ProgramRun run = RunOrvoCli(args);
        EXPECT_EQ(run.status, 1) << args.back();
        EXPECT_FALSE(run.err.empty()) << args.back();
        EXPECT_EQ(ReadFile(kyt), before) << args.back();
    }
}

}  // namespace
}  // namespace orvo::test
