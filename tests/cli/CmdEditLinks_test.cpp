// Links of every kind made by orvo-cli edit on the sample guide: each one undone leaves the
// page as it was; kept, the exported page is read by html5lib with the addresses each kind
// gives, and node checks the scripts of the page and of its "javascript:" links.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/ProgramRun.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

namespace fs = std::filesystem;

// The first nine words of page 3's first body paragraph ("Un ipertesto \xE8 un documento fatto di
// pagine collegate ..."), each linked to another kind of target.
std::string Script(const std::string& attachment) {
    return "select 1 0 1 2\nlink 4\n"
           "select 1 3 1 12\nlink http://example.org/x?a=1&b=2\n"
           "select 1 13 1 14\nlink orvo://altro.kyt|2\n"
           "select 1 15 1 17\nlink file:" +
           attachment +
           "\n"
           "select 1 18 1 27\nspeclink popup 0 300x200+10+20\n"
           "select 1 28 1 33\nspeclink next\n"
           "select 1 34 1 36\nspeclink window 9vol-ante 5 640x480\n"
           "select 1 37 1 43\nspeclink close principale\n"
           "select 1 44 1 53\nspeclink frame destra 6 2\n";
}
constexpr int kSteps = 9;

// The links of a page as "href<TAB>target" lines; every script of the page and the code of every
// "javascript:" address go into the file named second, for node.
constexpr const char* kReader =
    "import html5lib,sys\n"
    "d=html5lib.parse(open(sys.argv[1],'rb').read(),treebuilder='etree',"
    "namespaceHTMLElements=False)\n"
    "js=[]\n"
    "for s in d.iter('script'):\n"
    "  js.append(''.join(s.itertext()))\n"
    "for a in d.iter('a'):\n"
    "  h=a.get('href')\n"
    "  if h is None: continue\n"
    "  if h.startswith('javascript:'): js.append('void function(){'+h[11:]+'\\n};')\n"
    "  print(h+'\\t'+(a.get('target') or ''))\n"
    "open(sys.argv[2],'w').write('\\n'.join(js))\n";

TEST(CliEditLinks, EveryKindIsUndoneOrExportedAsValidHtmlAndScript) {
    const fs::path dir = TestDir() / "collegamenti";
    fs::create_directories(dir);
    const std::string kyt = (dir / "guida.kyt").string();
    ASSERT_EQ(RunOrvoCli({"sample", kyt}).status, 0);
    ASSERT_EQ(RunOrvoCli({"sample", (dir / "altro.kyt").string()}).status, 0);
    WriteFile(dir / "allegato dati.txt", "dati allegati\n");
    const ProgramRun before = RunOrvoCli({"markup", kyt, "3"});
    ASSERT_EQ(before.status, 0) << before.err;

    const std::string script = Script((dir / "allegato dati.txt").string());
    // Linked and undone, step by step: the page comes back byte for byte.
    const ProgramRun undone = RunOrvoCli({"edit", kyt, "3", "--print"}, {},
                                         script + "undo " + std::to_string(kSteps) + "\n");
    ASSERT_EQ(undone.status, 0) << undone.err;
    EXPECT_EQ(undone.out, before.out);

    const ProgramRun linked = RunOrvoCli({"edit", kyt, "3"}, {}, script);
    ASSERT_EQ(linked.status, 0) << linked.err;

    const fs::path site = dir / "sito";
    const ProgramRun exported = RunOrvoCli({"export", "html", kyt, site.string()});
    ASSERT_EQ(exported.status, 0) << exported.err;
    const fs::path page = site / "guida_000003.html";
    const fs::path scripts = dir / "scripts.js";
    const ProgramRun read =
        RunProgram({"/usr/bin/python3", "-c", kReader, page.string(), scripts.string()});
    ASSERT_EQ(read.status, 0) << read.err;
    // The body's links come first (the header has none), in the order they were made.
    std::vector<std::string> hrefs, targets;
    for (std::size_t at = 0; at < read.out.size();) {
        const std::size_t end = read.out.find('\n', at);
        const std::string line = read.out.substr(at, end - at);
        hrefs.push_back(line.substr(0, line.find('\t')));
        targets.push_back(line.substr(line.find('\t') + 1));
        at = end == std::string::npos ? read.out.size() : end + 1;
    }
    ASSERT_GE(hrefs.size(), std::size_t(kSteps)) << read.out;
    EXPECT_EQ(hrefs[0], "guida_000004.html") << read.out;
    EXPECT_EQ(hrefs[1], "http://example.org/x?a=1&b=2");
    EXPECT_EQ(hrefs[2], "guida_000002.html");  // page 2 of the other guide
    ASSERT_TRUE(fs::exists(site / hrefs[3])) << hrefs[3];
    EXPECT_EQ(ReadFile(site / hrefs[3]), "dati allegati\n");
    EXPECT_EQ(hrefs[4],
              "javascript:OrvoF_open('guida-index.html','','height=200,width=300,left=10,"
              "top=20,dependent=0,fullscreen=0,location=0,menubar=0,resizable=1,scrollbars=1,"
              "status=0,toolbar=0','Pag3');");
    EXPECT_EQ(hrefs[5], "guida_000004.html");  // the next page of the sequence
    EXPECT_NE(hrefs[6].find("'w9vol_ante'"), std::string::npos) << hrefs[6];
    EXPECT_NE(hrefs[6].find("height=480,width=640"), std::string::npos) << hrefs[6];
    EXPECT_NE(hrefs[7].find("javascript:"), std::string::npos) << hrefs[7];
    EXPECT_EQ(targets[8], "destra");
    EXPECT_TRUE(hrefs[8].ends_with("#an2")) << hrefs[8];

    const ProgramRun node = RunProgram({"/usr/bin/node", "--check", scripts.string()});
    EXPECT_EQ(node.status, 0) << node.err << ReadFile(scripts);
    EXPECT_NE(ReadFile(scripts).find("OrvoF_open"), std::string::npos);
}

}  // namespace
}  // namespace orvo::test
