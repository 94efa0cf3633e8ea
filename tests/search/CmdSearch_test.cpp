// orvo-cli search against grep over the same pages' text export (one file a page), on 200
// words drawn from the text with every mix of case and whole words; replace, then search finds
// no old word and the new one wherever the old one stood.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <future>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "base/Cp1252.h"
#include "model/SampleHypertext.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "support/ProgramRun.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
        fields.push_back(line.substr(from, tab - from));
    fields.push_back(line.substr(from));
    return fields;
}

bool Letter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           (c >= 0xC0 && c != 0xD7 && c != 0xF7);
}

class CmdSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        FixedEnvironment environment;
        RecordingMessages messages;
        TKYTset set(environment, messages);
        SampleOptions options;
        options.pages = 40;
        options.textKb = 1;
        MakeSampleHypertext(set, options);
        ASSERT_TRUE(set.SaveToFile(kyt_.string()));
        const ProgramRun run =
            RunOrvoCli({"export", "txt", kyt_.string(), "--per-page", (dir_ / "cp").string()});
        ASSERT_EQ(run.status, 0) << run.err;
        // The pages in UTF-8 for grep, and their words.
        fs::create_directories(dir_ / "utf8");
        for (const auto& entry : fs::directory_iterator(dir_ / "cp")) {
            const std::string text = ReadFile(entry.path());
            WriteFile(dir_ / "utf8" / entry.path().filename(), Cp1252ToUtf8(text));
            files_.push_back((dir_ / "utf8" / entry.path().filename()).string());
            for (std::size_t i = 0; i < text.size();) {
                if (!Letter(static_cast<unsigned char>(text[i]))) {
                    ++i;
                    continue;
                }
                std::size_t end = i;
                while (end < text.size() && Letter(static_cast<unsigned char>(text[end]))) ++end;
                words_.insert(text.substr(i, end - i));
                i = end;
            }
        }
        std::sort(files_.begin(), files_.end());
    }

    // The pages orvo-cli search lists.
    std::set<int> OrvoPages(const std::string& word, int variant) {
        std::vector<std::string> args{"search", kyt_.string(), Cp1252ToUtf8(word)};
        if (variant & 1) args.push_back("--whole-word");
        if (variant & 2) args.push_back("--match-case");
        const ProgramRun run = RunOrvoCli(args);
        EXPECT_EQ(run.status, 0) << run.err;
        std::set<int> pages;
        for (const std::string& line : Lines(run.out)) pages.insert(std::stoi(line));
        return pages;
    }

    // The pages whose export grep finds the word in.
    std::set<int> GrepPages(const std::string& word, int variant) {
        std::vector<std::string> argv{"/usr/bin/grep", "-l", "-F"};
        if (variant & 1) argv.push_back("-w");
        if (!(variant & 2)) argv.push_back("-i");
        argv.push_back("--");
        argv.push_back(Cp1252ToUtf8(word));
        argv.insert(argv.end(), files_.begin(), files_.end());
        const ProgramRun run = RunProgram(argv, {"LC_ALL=C.UTF-8"});
        EXPECT_LE(run.status, 1) << run.err;
        std::set<int> pages;
        for (const std::string& line : Lines(run.out))
            pages.insert(std::stoi(fs::path(line).stem().string()));
        return pages;
    }

    fs::path dir_ = TestDir();
    fs::path kyt_ = TestDir() / "Grande.kyt";
    std::vector<std::string> files_;
    std::set<std::string> words_;
};

TEST_F(CmdSearchTest, AgreesWithGrepOnTwoHundredWords) {
    ASSERT_GT(words_.size(), 100u);
    std::vector<std::string> pool(words_.begin(), words_.end());
    std::mt19937 random(31);
    std::vector<std::string> words;
    for (int i = 0; i < 200; ++i) {
        std::string word = pool[random() % pool.size()];
        // Some words are cut (found inside longer ones) or change case.
        if (random() % 3 == 0 && word.size() > 3) word = word.substr(0, word.size() - 1);
        if (random() % 3 == 0) word = random() % 2 ? Upper1252(word) : Lower1252(word);
        words.push_back(word);
    }
    // Four words at a time, each program run on its own thread.
    int found = 0;
    for (std::size_t first = 0; first < words.size(); first += 4) {
        std::vector<std::future<std::pair<std::set<int>, std::set<int>>>> runs;
        for (std::size_t i = first; i < std::min(first + 4, words.size()); ++i)
            runs.push_back(std::async(std::launch::async, [this, &words, i] {
                const int variant = int(i % 4);  // 1 whole words, 2 match case
                return std::make_pair(OrvoPages(words[i], variant), GrepPages(words[i], variant));
            }));
        for (std::size_t k = 0; k < runs.size(); ++k) {
            const auto [ours, grep] = runs[k].get();
            EXPECT_EQ(ours, grep) << Cp1252ToUtf8(words[first + k]) << " variant "
                                  << (first + k) % 4;
            found += !ours.empty();
        }
    }
    // The draw reaches both sides: words found and words not found.
    EXPECT_GT(found, 50);
    EXPECT_LT(found, 200);
}

TEST_F(CmdSearchTest, ReplaceThenSearchFindsTheNewWordWhereTheOldStood) {
    // A word of several pages, as a whole word and in its case.
    const std::string word = "ipertesto", replacement = "Zibaldone";
    const std::vector<std::string> before =
        Lines(RunOrvoCli({"search", kyt_.string(), word, "--whole-word", "--match-case"}).out);
    ASSERT_GT(before.size(), 3u);
    ASSERT_TRUE(RunOrvoCli({"search", kyt_.string(), replacement}).out.empty());
    // Where the new word will stand: on each line the old one's columns, moved by the
    // difference in length of the words before it on that line.
    std::map<std::string, std::string> expected;  // page -> positions
    int total = 0;
    const int delta = int(replacement.size()) - int(word.size());
    for (const std::string& line : before) {
        const std::vector<std::string> f = Fields(line);
        std::istringstream hits(f[3]);
        std::map<int, int> onLine;
        std::string positions;
        for (std::string hit; hits >> hit; ++total) {
            const int l = std::stoi(hit), c = std::stoi(hit.substr(hit.find(':') + 1));
            positions += (positions.empty() ? "" : " ") + std::to_string(l) + ":" +
                         std::to_string(c + delta * onLine[l]++);
        }
        expected[f[0]] = positions;
    }
    const ProgramRun run =
        RunOrvoCli({"replace", kyt_.string(), word, replacement, "--whole-word", "--match-case"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "replaced " + std::to_string(total) + " in " +
                           std::to_string(before.size()) + " pages\n");
    EXPECT_TRUE(
        RunOrvoCli({"search", kyt_.string(), word, "--whole-word", "--match-case"}).out.empty());
    std::map<std::string, std::string> after;
    for (const std::string& line :
         Lines(RunOrvoCli({"search", kyt_.string(), replacement, "--match-case"}).out)) {
        const std::vector<std::string> f = Fields(line);
        EXPECT_EQ(f[1], replacement);
        after[f[0]] = f[3];
    }
    EXPECT_EQ(after, expected);

    // A dry run counts and leaves the file; a missing replacement is refused.
    const std::string bytes = ReadFile(kyt_);
    EXPECT_EQ(
        RunOrvoCli({"replace", kyt_.string(), replacement, "x", "--dry-run"}).out,
        "replaced " + std::to_string(total) + " in " + std::to_string(before.size()) + " pages\n");
    const ProgramRun empty = RunOrvoCli({"replace", kyt_.string(), replacement, ""});
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.err, "WORD and REPLACEMENT must both be given\n");
    EXPECT_EQ(ReadFile(kyt_), bytes);
}

TEST_F(CmdSearchTest, ReplaceReachesTheCellsOfTables) {
    ASSERT_EQ(RunOrvoCli({"table", kyt_.string(), "3", "--new", "2", "2"}).status, 0);
    const ProgramRun cell =
        RunOrvoCli({"table", kyt_.string(), "3", "--set-cell", "0", "1", "1", "la casa e la casa"});
    ASSERT_EQ(cell.status, 0) << cell.err;
    std::set<std::string> pages;
    for (const std::string& line : Lines(RunOrvoCli({"search", kyt_.string(), "casa"}).out))
        pages.insert(Fields(line)[0]);
    ASSERT_TRUE(pages.count("3"));
    const ProgramRun run = RunOrvoCli({"replace", kyt_.string(), "casa", "villa", "--whole-word"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(RunOrvoCli({"search", kyt_.string(), "casa"}).out.empty());
    std::set<std::string> after;
    for (const std::string& line : Lines(RunOrvoCli({"search", kyt_.string(), "villa"}).out)) {
        after.insert(Fields(line)[0]);
        // The cell's line (after the tab that leads it) holds both words where "casa" stood:
        // "la villa e la villa", columns 5 and 16.
        if (Fields(line)[0] == "3") {
            const std::string hits = Fields(line)[3];
            EXPECT_TRUE(hits.ends_with(":16")) << hits;
            EXPECT_NE(hits.find(":5 "), std::string::npos) << hits;
        }
    }
    EXPECT_EQ(after, pages);
}

TEST_F(CmdSearchTest, KeywordsAndTheirPages) {
    const ProgramRun list = RunOrvoCli({"keywords", kyt_.string()});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out, "0\tipertesto\n1\tstile\n2\tcollegamento\n3\tsequenza\n");
    const ProgramRun pages = RunOrvoCli({"keywords", kyt_.string(), "STI"});
    ASSERT_EQ(pages.status, 0) << pages.err;
    EXPECT_FALSE(pages.out.empty());
    for (const std::string& line : Lines(pages.out)) EXPECT_EQ(Fields(line).size(), 2u) << line;
    const ProgramRun none = RunOrvoCli({"keywords", kyt_.string(), "zzz"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, "no keyword zzz\n");
}

}  // namespace
}  // namespace orvo::test
