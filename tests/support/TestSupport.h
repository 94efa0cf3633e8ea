// Helpers shared by every test program: the test's private folder, files, golden outputs.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

namespace orvo::test {

/// This test's private folder (made fresh for each test process, removed at exit unless
/// ORVO_KEEP_TEST_DIRS is set). ORVO_HOME, XDG_CONFIG_HOME, XDG_DATA_HOME and TMPDIR point
/// inside it.
const std::filesystem::path& TestDir();

/// Writes `bytes` to `path` (making its folders); fails the test on error.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);
/// The bytes of `path`; fails the test and returns "" on error.
std::string ReadFile(const std::filesystem::path& path);

/// Bytes from numbers: Bytes({0x5A, 0x45}) == "ZE".
std::string Bytes(std::initializer_list<int> values);

/// Compares `actual` with tests/<folder>/golden/<name>. On a mismatch writes
/// <build>/golden-new/<folder>/<name>.new and fails with its path, so a person can review and
/// copy it.
void ExpectMatchesGolden(std::string_view folder, std::string_view name, std::string_view actual);

/// Prints bytes readably for failure messages: printable ASCII as is, others as \xNN.
std::string Escaped(std::string_view bytes);

}  // namespace orvo::test
