// orvo-cli new, info, dump and resave, run as the built program.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Cp1252.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "support/ProgramRun.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

using namespace orvo::literals;
using ::testing::HasSubstr;
using K = TOggettiHel;

using CliRun = ProgramRun;

// Runs `program` with `args` (no shell), standard input from `input`.
CliRun Execute(const std::string& program, std::vector<std::string> args,
               const std::string& input = "") {
    args.insert(args.begin(), program);
    return RunProgram(args, {}, input);
}

CliRun Cli(const std::vector<std::string>& args) {
    return RunOrvoCli(args);
}

std::string Path(std::string_view name) {
    return (TestDir() / name).string();
}

// A document with pages, a link, a picture, an embedded file and a style.
void WriteRichDocument(const std::string& path) {
    FixedEnvironment env;
    RecordingMessages messages;
    TKYTset set(env, messages);
    auto add = [&](TOggettiHel kind, std::string_view name) -> TKYToggetto& {
        auto object = NewObjectOfKind(kind, &set);
        object->Clear();
        object->TakeIntoUse();
        object->SetName(name);
        TKYToggetto* raw = object.get();
        set.Register(std::move(object));
        return *raw;
    };
    add(K::testoHtml, "Perché"_cp)
        .SetContent(std::string("<Z S0 >caff\xe8 <$01000000>qui<%>\0", 31));
    add(K::testoHtml, "Seconda").SetContent(std::string("<Z S0 >due\0", 11));
    add(K::internetLink, "http://www.orvo.it").TakeIntoUse();
    TKYToggetto& picture = add(K::immagine, "logo");
    picture.SetFileName("logo.gif");
    picture.SetContent("GIF89a" + std::string(500, '\x01'));
    TKYToggetto& file = add(K::genLink, "listino.xls");
    file.SetContent(std::string(3000, 'L'));
    add(K::keyword, "mare");
    set.HeaderRecordView().SetPStr(kHdrCompany, "Società"_cp);
    ASSERT_TRUE(set.SaveToFile(path));
}

TEST(CliDocument, NewWritesTheEmptyHypertext) {
    const CliRun run = Cli({"new", Path("Libro.kyt")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(ReadFile(Path("Libro.kyt")).size(), 2500u);
    EXPECT_EQ(Cli({"new"}).status, 1);
    const CliRun help = Cli({"new", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("Usage: orvo-cli new FILE"));
}

TEST(CliDocument, InfoPrintsEveryHeaderFieldInUtf8) {
    WriteRichDocument(Path("Ricco.kyt"));
    const CliRun run = Cli({"info", Path("Ricco.kyt")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("\ntitle: Ricco.\n"));
    EXPECT_THAT(run.out, HasSubstr("\ncompany: Società\n"));
    EXPECT_THAT(run.out, HasSubstr("\nformatVersion: 2\n"));
    EXPECT_THAT(run.out, HasSubstr("\nsaveCounter: 3\n"));
    EXPECT_THAT(run.out, HasSubstr("\nexportPrefix: ricco\n"));
    EXPECT_THAT(run.out, HasSubstr("\nlanguage: 1033\n"));
    EXPECT_THAT(run.out, HasSubstr("\npixelsPerInch: 96\n"));
    EXPECT_EQ(run.out.substr(0, 12), "magic: ZEBU\n");
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 33);
}

TEST(CliDocument, InfoOnAMissingFileFailsWithTheWarning) {
    const CliRun run = Cli({"info", Path("manca.kyt")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_THAT(run.err, HasSubstr("Attenzione!: " + Path("manca.kyt") + " non esiste"));
    WriteFile(TestDir() / "nope.kyt", "NOPE" + std::string(2000, ' '));
    const CliRun unknown = Cli({"dump", Path("nope.kyt")});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_THAT(unknown.err, HasSubstr("Informazione: Formato sconosciuto."));
}

TEST(CliDocument, DumpIsJsonThatAnotherReaderParses) {
    WriteRichDocument(Path("Ricco.kyt"));
    const CliRun run = Cli({"dump", Path("Ricco.kyt")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("\"title\": \"Perch\\u00e9\""));
    EXPECT_THAT(run.out, HasSubstr("caff\\u00e8 <$01000000>qui<%>\\u0000"));
    const std::string check =
        "import json,sys\n"
        "d=json.load(sys.stdin)\n"
        "h=d['header']\n"
        "assert h['title']=='Ricco.', h\n"
        "assert h['company']=='Societ\\xe0', h\n"
        "assert h['formatVersion']==2 and h['saveCounter']==3 and h['readOnly'] is False\n"
        "assert len(d['kinds'])==27 and d['kinds'][0]==2 and d['kinds'][17]==2, d['kinds']\n"
        "assert d['kinds'][5]==1 and d['kinds'][3]==1 and d['kinds'][4]==1\n"
        "p=d['pages'][0]\n"
        "assert p['title']=='Perch\\xe9' and p['free'] is False\n"
        "assert p['text'].encode('latin-1')==b'<Z S0 >caff\\xe8 <$01000000>qui<%>\\x00', p\n"
        "o=[x for x in d['objects'] if x['kind']==1][0]\n"
        "assert o['name']=='http://www.orvo.it' and o['id']==0\n"
        "print('ok')\n";
    const CliRun python = Execute("/usr/bin/python3", {"-c", check}, run.out);
    EXPECT_EQ(python.status, 0) << python.err;
    EXPECT_EQ(python.out, "ok\n");
}

TEST(CliDocument, ResaveChangesOnlyTheCounterAndTheResolution) {
    WriteRichDocument(Path("Ricco.kyt"));
    const CliRun run = Cli({"resave", Path("Ricco.kyt"), Path("Copia.kyt")});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string before = ReadFile(Path("Ricco.kyt"));
    const std::string after = ReadFile(Path("Copia.kyt"));
    ASSERT_EQ(before.size(), after.size());
    EXPECT_EQ(after[1632], before[1632] + 1) << "save counter";
    std::string masked = after;
    masked.replace(1632, 4, before, 1632, 4);
    masked.replace(1722, 2, before, 1722, 2);
    EXPECT_TRUE(masked == before) << "every other byte is the same";
    const CliRun bad = Cli({"resave", Path("Ricco.kyt")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_THAT(bad.err, HasSubstr("Usage: orvo-cli resave FILE OUT"));
}

}  // namespace
}  // namespace orvo::test
