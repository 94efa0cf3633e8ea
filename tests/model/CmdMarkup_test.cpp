// orvo-cli markup, run as a user runs it, on a document saved under a non-ASCII name.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/Cp1252.h"
#include "model/uKYTset.h"
#include "support/ProgramRun.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::literals;

test::ProgramRun OrvoCli(std::vector<std::string> args) {
    return test::RunOrvoCli(std::move(args));
}

TEST(CmdMarkup, PrintsThePageInWorkingForm) {
    const std::filesystem::path file = test::TestDir() / "perch\xC3\xA9.kyt";
    {
        FixedEnvironment environment;
        RecordingMessages messages;
        TKYTset set(environment, messages);
        auto link = NewObjectOfKind(TOggettiHel::internetLink, &set);
        link->Clear();
        link->SetName("http://example.org/");
        link->TakeIntoUse();
        (void)set.Register(std::move(link), -1);
        auto page = NewObjectOfKind(TOggettiHel::testoHtml, &set);
        page->Clear();
        page->TakeIntoUse();
        std::string text = "<Z S0 c0000ff >Perch\xE9 <$01000000>qui";
        text += '\0';
        page->SetContent(text);
        const std::int32_t id = set.Register(std::move(page), -1);
        ASSERT_TRUE(set.SaveToFile(Utf8ToCp1252(file.string()))) << set.Errors().size();
        const test::ProgramRun run = OrvoCli({"markup", file.string(), std::to_string(id)});
        EXPECT_EQ(run.status, 0) << run.err;
        // The writer closes the link the paragraph ends in.
        EXPECT_EQ(run.out, "<Z S0 c0000FF >Perch\xC3\xA9 <$6f000000>qui<%>\n");
        const test::ProgramRun raw =
            OrvoCli({"markup", "--raw", file.string(), std::to_string(id)});
        EXPECT_EQ(raw.out, "<Z S0 c0000FF >Perch\xE9 <$6f000000>qui<%>");
    }
    const test::ProgramRun missing = OrvoCli({"markup", file.string(), "999"});
    EXPECT_NE(missing.status, 0);
    EXPECT_EQ(missing.err, "the document has no page 999\n");
    EXPECT_NE(OrvoCli({"markup", file.string(), "x"}).status, 0);
}

}  // namespace
}  // namespace orvo
