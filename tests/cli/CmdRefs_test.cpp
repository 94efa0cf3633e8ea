// orvo-cli refs, delete and set on the sample hypertext: the deletion window's lines for a used
// and an unused object, a used picture refused without --force and deleted with it (the dump
// then names neither the picture nor its image object), header fields set with the options
// window's limits, and the refusals of malformed arguments.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/Paths.h"
#include "support/ProgramRun.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

TEST(CmdRefs, RefsDeleteAndSetOnTheSample) {
    const std::string file = (TestDir() / "Campione.kyt").string();
    ASSERT_EQ(RunOrvoCli({"sample", file}).status, 0);

    ProgramRun refs = RunOrvoCli({"refs", file, "immagine:1"});
    EXPECT_EQ(refs.status, 0) << refs.err;
    EXPECT_EQ(refs.out,
              "+ \"MAPPA DELLA GUIDA\" è presente in/collegato da /utilizzato in:\n"
              "    - La mappa della guida   {nel testo}\n");
    EXPECT_EQ(RunOrvoCli({"refs", file, "5:0"}).out,
              "+ \"CARTA DELLA COPERTINA\" è presente in/collegato da /utilizzato in:\n"
              "    - Copertina   {nello sfondo testo}\n");
    EXPECT_EQ(RunOrvoCli({"refs", file, "testoHtml:1"}).out,
              "- \"INTESTAZIONE\" sembra inutilizzato.\n");

    const std::string before = ReadFile(TestDir() / "Campione.kyt");
    ProgramRun refused = RunOrvoCli({"delete", file, "immagine:1"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, ::testing::HasSubstr("{nel testo}"));
    EXPECT_EQ(ReadFile(TestDir() / "Campione.kyt"), before) << "nothing saved";

    ProgramRun deleted = RunOrvoCli({"delete", file, "immagine:1", "--force"});
    EXPECT_EQ(deleted.status, 0) << deleted.err;
    EXPECT_THAT(deleted.out, ::testing::HasSubstr("Mappa della guida [X] Cancellato\n"
                                                  "with it: immagineNew:0\n"));
    const std::string dump = RunOrvoCli({"dump", file}).out;
    EXPECT_EQ(dump.find("<$10000000>"), std::string::npos);
    EXPECT_THAT(dump, ::testing::HasSubstr("{\"kind\": 5, \"id\": 1, \"free\": true"));
    EXPECT_EQ(RunOrvoCli({"refs", file, "immagine:1"}).status, 1);

    EXPECT_EQ(RunOrvoCli({"set", file, "title", std::string(100, 'x')}).status, 0);
    EXPECT_EQ(RunOrvoCli({"set", file, "contents", "none"}).status, 0);
    EXPECT_EQ(RunOrvoCli({"set", file, "readonly", "1"}).status, 0);
    const std::string header = ReadFile(TestDir() / "Campione.kyt").substr(0, 1978);
    EXPECT_EQ(header.substr(4, 80), char(79) + std::string(79, 'x'));
    EXPECT_EQ(header.substr(1623, 5), std::string("\1\xFF\xFF\xFF\xFF", 5));

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"set", file, "cover", "99"},
          {"set", file, "colore", "1"},
          {"refs", file, "foto:1"},
          {"delete", file, "testoHtml:0", "--force"},
          {"delete", file, "tabellaHtml:0", "--force"}})
        EXPECT_EQ(RunOrvoCli(bad).status, 1) << bad[0] << " " << bad[2];
}

}  // namespace
}  // namespace orvo::test
