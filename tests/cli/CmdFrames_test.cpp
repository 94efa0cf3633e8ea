// orvo-cli frames on the sample guide: a page split into two frames, another page shown in
// one, the layout saved to a ".frm" file and the map stored; the map printed back as JSON; the
// layout loaded into another page; hostile layout files refused with the program's message.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "support/ProgramRun.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

class CliFrames : public ::testing::Test {
protected:
    void SetUp() override {
        const ProgramRun sample = RunOrvoCli({"sample", file_});
        ASSERT_EQ(sample.status, 0) << sample.err;
    }
    ProgramRun Frames(std::vector<std::string> args) {
        args.insert(args.begin(), {"frames", file_});
        return RunOrvoCli(args);
    }
    std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string file_ = (TestDir() / "guida cornici.kyt").string();
    std::string layout_ = (TestDir() / "due cornici.frm").string();
};

// The map of page 0 after the split: the top frame in rows, the new frame above showing
// page 3, the cover below taking the rest. 587 pixels are shared below the 10-pixel bar and
// over the 3-pixel splitter: the 160 dragged are 27 %, which makes 158 pixels.
const std::string kStoredMap = R"({
  "name": "Pag0",
  "id": 1,
  "placement": 1,
  "split": "rows",
  "page": 0,
  "sizeKind": "percent",
  "percent": 100,
  "pixels": 20,
  "border": 1,
  "borderWidth": 3,
  "scrolling": true,
  "resizable": true,
  "children": [{
    "name": "Frame000002",
    "id": 2,
    "placement": 0,
    "page": 3,
    "sizeKind": "percent",
    "percent": 27,
    "pixels": 158,
    "border": 1,
    "borderWidth": 3,
    "scrolling": true,
    "resizable": true
  }, {
    "name": "Frame000003",
    "id": 3,
    "placement": 3,
    "page": 0,
    "sizeKind": "rest",
    "percent": 100,
    "pixels": 20,
    "border": 1,
    "borderWidth": 3,
    "scrolling": true,
    "resizable": true
  }]
}
)";

TEST_F(CliFrames, SplitShowSaveStoreAndLoadIntoAnotherPage) {
    ProgramRun run = Frames({"0"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "null\n");  // the cover has no frames yet

    run = Frames({"0", "--split", "Pag0", "top", "160", "--show", "Frame000002", "3",
                  "--save-layout", layout_, "--store"});
    ASSERT_EQ(run.status, 0) << run.err;
    run = Frames({"0"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, kStoredMap);
    const std::string file = Read(layout_);
    ASSERT_EQ(file.size(), 8 + 3 * 58u);
    EXPECT_EQ(file.substr(0, 8), std::string("\x34\x12\x00\x00\x3A\x00\x00\x00", 8));

    // the layout file into page 5: the same frames, the same pages, the top frame named after it
    run = Frames({"5", "--load-layout", layout_, "--store"});
    ASSERT_EQ(run.status, 0) << run.err;
    run = Frames({"5"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::string expected = kStoredMap;
    expected.replace(expected.find("Pag0"), 4, "Pag5");
    expected.replace(expected.find("\"page\": 0"), 9, "\"page\": 5");
    EXPECT_EQ(run.out, expected);
}

TEST_F(CliFrames, RefusalsNameWhatWentWrong) {
    ProgramRun run = Frames({"0", "--split", "Pag0", "top", "40"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("was not split"), std::string::npos) << run.err;

    std::ofstream(layout_, std::ios::binary) << std::string("\x35\x12\x00\x00\x3A\x00\x00\x00", 8);
    run = Frames({"0", "--load-layout", layout_});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Formato file errato!"), std::string::npos) << run.err;

    run = Frames({"0", "--save-layout", layout_});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("the page is not split"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace orvo::test
