// The main of every test program: gives the process a private folder and points ORVO_HOME,
// XDG_CONFIG_HOME, XDG_DATA_HOME and TMPDIR into it, so no test sees another's files or the
// user's own settings.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/TestSupport.h"

namespace orvo::test {

static std::filesystem::path g_testDir;

const std::filesystem::path& TestDir() {
    return g_testDir;
}

static void MakePrivateFolders() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/orvo-test-XXXXXX";
    if (!::mkdtemp(pattern.data())) std::abort();
    g_testDir = pattern;
    for (const char* sub : {"home", "config", "data", "tmp"})
        std::filesystem::create_directories(g_testDir / sub);
    ::setenv("ORVO_HOME", (g_testDir / "home").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (g_testDir / "config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (g_testDir / "data").c_str(), 1);
    ::setenv("TMPDIR", (g_testDir / "tmp").c_str(), 1);
}

}  // namespace orvo::test

int main(int argc, char** argv) {
    ::testing::InitGoogleMock(&argc, argv);
    orvo::test::MakePrivateFolders();
    const int rc = RUN_ALL_TESTS();
    if (!std::getenv("ORVO_KEEP_TEST_DIRS")) {
        std::error_code ec;
        std::filesystem::remove_all(orvo::test::TestDir(), ec);
    }
    return rc;
}
