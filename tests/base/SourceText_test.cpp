// Every Windows-1252 text in the sources goes through the _cp conversion or "\xNN" escapes:
// a raw UTF-8 sequence inside a string literal that reaches the core would show as two wrong
// characters in a message, a stored file or an export.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

namespace fs = std::filesystem;

namespace {
// Finds string literals that hold bytes over 0x7F and are not followed by the _cp suffix.
std::vector<std::string> RawLiterals(const std::string& line) {
    std::vector<std::string> found;
    bool inString = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (!inString) {
            if (c == '/' && i + 1 < line.size() && line[i + 1] == '/') break;  // comment
            if (c == '\'' && i + 2 < line.size() && line[i + 2] == '\'')
                i += 2;
            else if (c == '"')
                inString = true, start = i;
        } else if (c == '\\') {
            ++i;
        } else if (c == '"') {
            inString = false;
            const std::string literal = line.substr(start, i - start + 1);
            const bool high = std::any_of(literal.begin(), literal.end(), [](char ch) {
                return static_cast<unsigned char>(ch) > 0x7F;
            });
            const bool converted = line.compare(i + 1, 3, "_cp") == 0;
            if (high && !converted) found.push_back(literal);
        }
    }
    return found;
}
}  // namespace

TEST(SourceText, NoStringLiteralOfTheCoreHoldsRawUtf8) {
    std::vector<std::string> offenders;
    for (const char* folder : {"src", "cli"}) {
        const fs::path root = fs::path(ORVO_SOURCE_DIR) / folder;
        if (!fs::exists(root)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            const std::string ext = entry.path().extension();
            if (ext != ".cpp" && ext != ".h") continue;
            if (entry.path().string().find("/src/ui/") != std::string::npos) continue;  // QString
            std::ifstream in(entry.path());
            std::string line;
            for (int number = 1; std::getline(in, line); ++number)
                for (const std::string& literal : RawLiterals(line))
                    offenders.push_back(entry.path().string() + ":" + std::to_string(number) +
                                        ": " + literal);
        }
    }
    EXPECT_TRUE(offenders.empty()) << [&] {
        std::string all;
        for (const auto& o : offenders) all += o + "\n";
        return all;
    }();
}
