// Helpers shared by every test program.
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

namespace orvo::test {

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    ASSERT_TRUE(out.good()) << "cannot write " << path;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot read " << path;
        return {};
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += char(v & 0xFF);
    return out;
}

std::string Escaped(std::string_view bytes) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += char(c);
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

void ExpectMatchesGolden(std::string_view folder, std::string_view name, std::string_view actual) {
    const std::filesystem::path golden =
        std::filesystem::path(ORVO_SOURCE_DIR_FOR_GOLDEN) / "tests" / folder / "golden" / name;
    std::string expected;
    bool present = std::filesystem::exists(golden);
    if (present) {
        std::ifstream in(golden, std::ios::binary);
        expected.assign(std::istreambuf_iterator<char>(in), {});
    }
    if (present && expected == actual) return;
    const std::filesystem::path fresh = std::filesystem::path(ORVO_BINARY_DIR) / "golden-new" /
                                        folder / (std::string(name) + ".new");
    std::filesystem::create_directories(fresh.parent_path());
    std::ofstream(fresh, std::ios::binary).write(actual.data(), std::streamsize(actual.size()));
    ADD_FAILURE() << (present ? "output differs from " : "no golden file ") << golden
                  << "; the output is in " << fresh;
}

}  // namespace orvo::test
