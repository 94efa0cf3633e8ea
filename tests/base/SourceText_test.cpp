// Every Windows-1252 text in the sources goes through the _cp conversion or "\xNN" escapes:
// a raw UTF-8 sequence inside a string literal that reaches the core would show as two wrong
// characters in a message, a stored file or an export.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {
bool IsHigh(char c) {
    return static_cast<unsigned char>(c) > 0x7F;
}

// Finds the string literals of a source file that hold bytes over 0x7F and are not converted:
// adjacent literals ("a" "b"_cp, also across lines) form one literal whose suffix is that of
// the last piece. Returns "line: literal" for each.
std::vector<std::string> RawLiterals(const std::string& text) {
    std::vector<std::string> found;
    std::size_t i = 0, groupLine = 0;
    int line = 1;
    bool inGroup = false, groupHigh = false;
    std::string groupText;
    auto closeGroup = [&](bool converted) {
        if (inGroup && groupHigh && !converted)
            found.push_back(std::to_string(groupLine) + ": " + groupText);
        inGroup = groupHigh = false;
        groupText.clear();
    };
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n') {
            ++line, ++i;
        } else if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (text.compare(i, 2, "//") == 0) {
            while (i < text.size() && text[i] != '\n') ++i;
        } else if (text.compare(i, 2, "/*") == 0) {
            const std::size_t close = text.find("*/", i + 2);
            const std::size_t stop = close == std::string::npos ? text.size() : close + 2;
            line += int(std::count(text.begin() + i, text.begin() + stop, '\n'));
            i = stop;
        } else if (c == '\'') {
            for (++i; i < text.size() && text[i] != '\'' && text[i] != '\n'; ++i)
                if (text[i] == '\\') ++i;
            ++i;
        } else if (c == '"') {
            if (!inGroup) inGroup = true, groupLine = std::size_t(line);
            const std::size_t begin = i;
            for (++i; i < text.size() && text[i] != '"' && text[i] != '\n'; ++i)
                if (text[i] == '\\') ++i;
            ++i;
            const std::string piece = text.substr(begin, i - begin);
            groupHigh = groupHigh || std::any_of(piece.begin(), piece.end(), IsHigh);
            groupText += piece;
            if (text.compare(i, 3, "_cp") == 0) closeGroup(true);
        } else {
            closeGroup(false);
            ++i;
        }
    }
    closeGroup(false);
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
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string text((std::istreambuf_iterator<char>(in)), {});
            for (const std::string& literal : RawLiterals(text))
                offenders.push_back(entry.path().string() + ":" + literal);
        }
    }
    EXPECT_TRUE(offenders.empty()) << [&] {
        std::string all;
        for (const auto& o : offenders) all += o + "\n";
        return all;
    }();
}
