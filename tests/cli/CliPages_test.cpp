// orvo-cli sample and tree, run as the built program.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "support/ProgramRun.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

using ::testing::HasSubstr;

using CliOutcome = ProgramRun;

// Runs `program` with `args` (no shell).
CliOutcome Spawn(const std::string& program, std::vector<std::string> args) {
    args.insert(args.begin(), program);
    return RunProgram(args);
}

CliOutcome OrvoCli(const std::vector<std::string>& args) {
    return RunOrvoCli(args);
}

std::string Path(std::string_view name) {
    return (TestDir() / name).string();
}

TEST(CliPages, SampleWritesTheGuideThatTreeShowsChapterByChapter) {
    const std::string file = Path("Guida perché.kyt");
    const CliOutcome sample = OrvoCli({"sample", file});
    ASSERT_EQ(sample.status, 0) << sample.err;
    EXPECT_EQ(sample.err, "");
    EXPECT_EQ(sample.out, "");
    const CliOutcome tree = OrvoCli({"tree", file});
    ASSERT_EQ(tree.status, 0) << tree.err;
    EXPECT_EQ(tree.err, "");
    EXPECT_EQ(tree.out,
              "Guida perché.kyt\n"
              "  Copertina [0]\n"
              "  Primi passi/\n"
              "    Che cos'è un ipertesto [3]\n"
              "    Pagine e capitoli [4]\n"
              "    Gli stili di paragrafo [5]\n"
              "  Approfondimenti/\n"
              "    I collegamenti [6]\n"
              "    Intestazione e piè di pagina [7]\n"
              "    Parole chiave e sequenze [8]\n"
              "  La mappa della guida [9]\n"
              "  Una tabella [10]\n"
              "  Un modulo [11]\n");
}

TEST(CliPages, SampleTakesAPageCountAndATextSize) {
    const std::string file = Path("Grande.kyt");
    const CliOutcome sample = OrvoCli({"sample", file, "--pages", "4", "--text-kb", "3"});
    ASSERT_EQ(sample.status, 0) << sample.err;
    const CliOutcome tree = OrvoCli({"tree", file});
    EXPECT_EQ(tree.out,
              "Grande.kyt\n"
              "  Copertina [0]\n"
              "  Primi passi/\n"
              "    Che cos'è un ipertesto [3]\n"
              "    Pagine e capitoli [4]\n"
              "  Approfondimenti/\n"
              "    Gli stili di paragrafo [5]\n"
              "  La mappa della guida [6]\n"
              "  Una tabella [7]\n"
              "  Un modulo [8]\n");
    // four filled pages of at least 3 KiB each, and the header and footer
    EXPECT_GT(ReadFile(file).size(), 4u * 3072u);
}

TEST(CliPages, SampleRefusesWhatItCannotRead) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"sample"},
                                                 {"sample", Path("a.kyt"), "--pages"},
                                                 {"sample", Path("a.kyt"), "--pages", "0"},
                                                 {"sample", Path("a.kyt"), "--pages", "7x"},
                                                 {"sample", Path("a.kyt"), "--text-kb", "-1"},
                                                 {"sample", Path("a.kyt"), "--colori", "2"},
                                                 {"sample", Path("a.kyt"), Path("b.kyt")}}) {
        const CliOutcome run = OrvoCli(args);
        EXPECT_EQ(run.status, 1) << args.back();
        EXPECT_NE(run.err, "") << args.back();
        EXPECT_FALSE(std::filesystem::exists(Path("a.kyt"))) << args.back();
    }
    EXPECT_EQ(OrvoCli({"sample", Path("a.kyt"), "--pages", "0"}).err,
              "--pages needs a number from 1 to 100000\n");
    EXPECT_EQ(OrvoCli({"sample"}).err, "Usage: orvo-cli sample FILE [--pages N] [--text-kb K]\n");
    const CliOutcome help = OrvoCli({"sample", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("--text-kb K"));
}

// The dump of the sample read by Python's own JSON reader.
TEST(CliPages, DumpGivesThePageTreeAndEachPagesRecordFields) {
    const std::string file = Path("Guida.kyt");
    ASSERT_EQ(OrvoCli({"sample", file}).status, 0);
    const CliOutcome dump = OrvoCli({"dump", file});
    ASSERT_EQ(dump.status, 0) << dump.err;
    WriteFile(TestDir() / "dump.json", dump.out);
    const std::string check =
        "import json,sys\n"
        "d=json.load(open(sys.argv[1]))\n"
        "t=d['tree']\n"
        "assert t[:3]==[{'page':0,'level':1},{'chapter':'Primi passi','level':1},"
        "{'page':3,'level':2}],t\n"
        "assert [e.get('page') for e in t]==[0,None,3,4,5,None,6,7,8,9,10,11],t\n"
        "assert t[5]=={'chapter':'Approfondimenti','level':1},t[5]\n"
        "p={x['id']:x for x in d['pages']}\n"
        "c=p[0]\n"
        "assert (c['alias'],c['header'],c['footer'])==('benvenuti.htm',-2,-2),c\n"
        "assert (c['backgroundColour'],c['linkColour'])==('FFFFE0','0000FF'),c\n"
        "assert c['redirect']=={'seconds':-1,'target':-1},c\n"
        "assert (p[4]['group'],p[4]['order'],p[4]['inSequence'])==(1,2,True),p[4]\n"
        "assert (p[7]['group'],p[7]['order'])==(2,2),p[7]\n"
        "assert p[8]['keywords']==[3,2],p[8]\n"
        "assert (p[3]['header'],p[3]['footer'],p[3]['textVersion'])==(-1,-1,2),p[3]\n"
        "assert p[2]['title']=='Pi\\u00e8 di pagina',p[2]\n"
        "print('ok')\n";
    WriteFile(TestDir() / "check.py", check);
    const CliOutcome python = Spawn("/usr/bin/python3", {(TestDir() / "check.py").string(),
                                                         (TestDir() / "dump.json").string()});
    EXPECT_EQ(python.out, "ok\n") << python.err;

    // every page opened, committed and saved again: the same pages and the same tree
    const CliOutcome resave = OrvoCli({"resave", file, Path("Copia.kyt"), "--open-pages"});
    ASSERT_EQ(resave.status, 0) << resave.err;
    EXPECT_EQ(resave.err, "");
    const CliOutcome again = OrvoCli({"dump", Path("Copia.kyt")});
    auto from = [](const std::string& json, std::string_view key) {
        return json.substr(json.find(key));
    };
    EXPECT_EQ(from(again.out, "\"pages\""), from(dump.out, "\"pages\""));
}

TEST(CliPages, ResaveOpeningPagesStoresEachTextAsTheWriterWritesIt) {
    {
        FixedEnvironment env;
        RecordingMessages messages;
        TKYTset set(env, messages);
        auto page = NewObjectOfKind(TOggettiHel::testoHtml, &set);
        page->Clear();
        page->TakeIntoUse();
        // overrides equal to the style's own values are not written back
        page->SetContent(std::string("<Z S0 c000000 s12 >x") + '\0');
        set.Register(std::move(page));
        ASSERT_TRUE(set.SaveToFile(Path("Grezzo.kyt")));
    }
    ASSERT_EQ(OrvoCli({"resave", Path("Grezzo.kyt"), Path("Uguale.kyt")}).status, 0);
    EXPECT_THAT(OrvoCli({"dump", Path("Uguale.kyt")}).out,
                HasSubstr("\"text\": \"<Z S0 c000000 s12 >x\\u0000\""));
    ASSERT_EQ(OrvoCli({"resave", "--open-pages", Path("Grezzo.kyt"), Path("Pulito.kyt")}).status,
              0);
    EXPECT_THAT(OrvoCli({"dump", Path("Pulito.kyt")}).out,
                HasSubstr("\"text\": \"<Z S0 >x\\u0000\""));
    EXPECT_EQ(OrvoCli({"resave", Path("Grezzo.kyt"), "--open-pages"}).status, 1);
}

TEST(CliPages, TreeOfAMissingFileFailsWithTheWarning) {
    const CliOutcome run = OrvoCli({"tree", Path("manca.kyt")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_THAT(run.err, HasSubstr("Attenzione!: " + Path("manca.kyt") + " non esiste"));
    EXPECT_EQ(OrvoCli({"tree"}).status, 1);
}

TEST(CliPages, TreeOfADocumentWithoutAStoreShowsItsDefaultTree) {
    ASSERT_EQ(OrvoCli({"new", Path("Vuoto.kyt")}).status, 0);
    const CliOutcome run = OrvoCli({"tree", Path("Vuoto.kyt")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Vuoto.kyt\n");
}

}  // namespace
}  // namespace orvo::test
