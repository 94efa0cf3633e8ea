// Real RTF documents that no one here wrote (../shared/corpus/rtf beside the checkout): each
// imports, and every visible phrase its EXPECTED.json lists is in the plain text of the
// imported pages; hidden text stays hidden; tables and pictures are counted.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "base/Cp1252.h"
#include "base/Paths.h"
#include "convert/RtfImport.h"
#include "convert/TextExport.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::test;

// Just enough JSON for EXPECTED.json: objects, arrays, strings, numbers, true/false/null.
struct Json {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    double number = 0;
    bool flag = false;
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> fields;
    const Json& operator[](const std::string& key) const {
        static const Json none;
        const auto found = fields.find(key);
        return found == fields.end() ? none : found->second;
    }
};

class JsonReader {
public:
    explicit JsonReader(std::string_view s) : s_(s) {}
    Json Value() {
        Blank();
        Json v;
        if (p_ >= s_.size()) return v;
        const char c = s_[p_];
        if (c == '{') {
            v.kind = Json::Object;
            ++p_;
            while (Blank(), p_ < s_.size() && s_[p_] != '}') {
                std::string key = Value().text;
                Blank();
                ++p_;  // ':'
                v.fields[key] = Value();
                Blank();
                if (p_ < s_.size() && s_[p_] == ',') ++p_;
            }
            ++p_;
        } else if (c == '[') {
            v.kind = Json::Array;
            ++p_;
            while (Blank(), p_ < s_.size() && s_[p_] != ']') {
                v.items.push_back(Value());
                Blank();
                if (p_ < s_.size() && s_[p_] == ',') ++p_;
            }
            ++p_;
        } else if (c == '"') {
            v.kind = Json::String;
            ++p_;
            while (p_ < s_.size() && s_[p_] != '"') {
                if (s_[p_] != '\\') {
                    v.text += s_[p_++];
                    continue;
                }
                const char e = s_[++p_];
                ++p_;
                if (e == 'u') {
                    char32_t cp = char32_t(std::stoul(std::string(s_.substr(p_, 4)), nullptr, 16));
                    p_ += 4;
                    if (cp >= 0xD800 && cp <= 0xDBFF && s_.substr(p_, 2) == "\\u") {
                        const char32_t low =
                            char32_t(std::stoul(std::string(s_.substr(p_ + 2, 4)), nullptr, 16));
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                        p_ += 6;
                    }
                    AppendUtf8(v.text, cp);
                } else {
                    v.text += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
                }
            }
            ++p_;
        } else if (s_.substr(p_, 4) == "true" || s_.substr(p_, 5) == "false") {
            v.kind = Json::Bool;
            v.flag = s_[p_] == 't';
            p_ += v.flag ? 4 : 5;
        } else if (s_.substr(p_, 4) == "null") {
            p_ += 4;
        } else {
            v.kind = Json::Number;
            std::size_t used = 0;
            v.number = std::stod(std::string(s_.substr(p_, 32)), &used);
            p_ += used;
        }
        return v;
    }

private:
    static void AppendUtf8(std::string& out, char32_t cp) {
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp < 0x800) {
            out += char(0xC0 | (cp >> 6));
            out += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += char(0xE0 | (cp >> 12));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        } else {
            out += char(0xF0 | (cp >> 18));
            out += char(0x80 | ((cp >> 12) & 0x3F));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
    }
    void Blank() {
        while (p_ < s_.size() && static_cast<unsigned char>(s_[p_]) <= ' ') ++p_;
    }
    std::string_view s_;
    std::size_t p_ = 0;
};

// Every run of blanks (no-break spaces too) as one blank.
std::string Collapse(std::string_view utf8) {
    std::string out;
    bool blank = false;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const bool nbsp = c == 0xC2 && i + 1 < utf8.size() && utf8[i + 1] == char(0xA0);
        if (c <= ' ' || nbsp) {
            if (nbsp) ++i;
            blank = true;
            continue;
        }
        if (blank && !out.empty()) out += ' ';
        blank = false;
        out += char(c);
    }
    return out;
}

std::filesystem::path CorpusFolder() {
    return std::filesystem::path(ORVO_SOURCE_DIR) / ".." / "shared" / "corpus" / "rtf";
}

// Phrases this reader is known not to show, with the reason (kept short and checked: a phrase
// listed here that does show fails the test, so the list cannot go stale).
const std::map<std::string, std::string>& KnownMisses() {
    static const std::map<std::string, std::string> misses{};
    return misses;
}

TEST(RtfImportCorpus, EveryVisiblePhraseOfEveryFileIsInTheImportedText) {
    const std::filesystem::path folder = CorpusFolder();
    ASSERT_TRUE(std::filesystem::exists(folder / "EXPECTED.json")) << folder;
    const Json expected = JsonReader(ReadFile(folder / "EXPECTED.json")).Value();
    ASSERT_EQ(expected["files"].kind, Json::Object);
    int files = 0, phrases = 0, beyondCodePage = 0;
    std::vector<std::string> misses;
    for (const auto& [name, facts] : expected["files"].fields) {
        ++files;
        FixedEnvironment environment;
        RecordingMessages messages;
        TKYTset set(environment, messages);
        set.NewDocument();
        const bool help = name.starts_with("winhelp");
        RtfImportOptions options;
        options.helpMode = help;
        TRtfImp importer(set, options);
        importer.ImportFiles({NameOfPath(folder / name)}, help);
        ASSERT_FALSE(importer.ImportedPages.empty()) << name;
        std::string text;
        for (std::int32_t page : importer.ImportedPages) text += PageText(set, page) + "\r\n";
        const std::string shown = Collapse(Cp1252ToUtf8(text));
        if (const char* dump = std::getenv("ORVO_RTF_CORPUS_DUMP"))
            WriteFile(
                std::filesystem::path(dump) / (std::string(StemOf(LastComponent(name))) + ".txt"),
                Cp1252ToUtf8(text));
        for (const Json& phrase : facts["phrases"].items) {
            ++phrases;
            // A phrase with characters the code page lacks is looked for in its "?" form.
            const std::string cp = Utf8ToCp1252(phrase.text);
            const std::string wanted = Collapse(Cp1252ToUtf8(cp));
            if (Cp1252ToUtf8(cp) != phrase.text) ++beyondCodePage;
            const bool found = shown.find(wanted) != std::string::npos;
            const auto known = KnownMisses().find(name + ": " + phrase.text);
            if (known != KnownMisses().end()) {
                EXPECT_FALSE(found) << "no longer missed: " << known->first;
                continue;
            }
            if (!found) misses.push_back(name + ": " + phrase.text);
        }
        for (const Json& hidden : facts["hidden_not_visible"].items)
            EXPECT_EQ(shown.find(Collapse(hidden.text)), std::string::npos)
                << name << " shows hidden text " << hidden.text;
        if (facts["tables"].kind == Json::Number) {
            const int wanted =
                int((facts["tables_top_level"].kind == Json::Number ? facts["tables_top_level"]
                                                                    : facts["tables"])
                        .number);
            int tables = 0;
            for (const auto& t : set.KindList(TOggettiHel::tabellaHtml))
                if (!t->IsFree()) ++tables;
            EXPECT_EQ(tables, wanted) << name << " tables";
        }
        // Help files name their bitmaps ("{bmc name.bmp}") in their folder, which word
        // processors do not show; the help import does.
        if (facts["pictures"].kind == Json::Number && !help) {
            int pictures = 0;
            for (const auto& p : set.KindList(TOggettiHel::immagineNew))
                if (!p->IsFree() && p->ReadView().I32(kImagePicture) >= 0) ++pictures;
            EXPECT_EQ(pictures, int(facts["pictures"].number)) << name << " pictures";
        }
    }
    EXPECT_GE(files, 30);
    std::cout << files << " files, " << phrases << " phrases (" << beyondCodePage
              << " in their \"?\" form), " << misses.size() << " missed\n";
    std::string list;
    for (const std::string& miss : misses) list += "\n  " + miss;
    EXPECT_TRUE(misses.empty()) << misses.size() << " of " << phrases << " phrases missed ("
                                << beyondCodePage << " looked for in their \"?\" form):" << list;
}

// Bold, italic and list paragraphs of files that have them survive: the run head in force at
// the phrase carries the style bits, a list item's paragraph head its list kind.
TEST(RtfImportCorpus, BoldItalicAndListsSurvive) {
    const struct {
        const char* file;
        const char* phrase;  // in the stored markup
        const char* head;    // what the run or paragraph head in force there holds
    } cases[] = {
        {"ted_rtf0_mixed_faces.rtf", ">bold<", " y1 "},
        {"ted_rtf0_mixed_faces.rtf", ">bold-italics<", " y3 "},
        {"textedit_list.rtf", ">one", " N10 "},
        {"textedit_list.rtf", ">new list", " N10 "},
    };
    for (const auto& c : cases) {
        FixedEnvironment environment;
        RecordingMessages messages;
        TKYTset set(environment, messages);
        set.NewDocument();
        TRtfImp importer(set, {});
        importer.ImportFiles({NameOfPath(CorpusFolder() / c.file)}, false);
        ASSERT_EQ(importer.ImportedPages.size(), 1u) << c.file;
        const Result<std::string> markup =
            LivePage(set, importer.ImportedPages.front())->ContentBytes();
        ASSERT_TRUE(markup.ok()) << c.file;
        const std::size_t at = markup->find(c.phrase);
        ASSERT_NE(at, std::string::npos) << c.file << " " << c.phrase << "\n" << *markup;
        const std::size_t head = markup->rfind('<', at);
        ASSERT_NE(head, std::string::npos);
        EXPECT_NE(markup->substr(head, at - head + 1).find(c.head), std::string::npos)
            << c.file << " " << c.phrase << ": " << markup->substr(head, at - head + 1);
    }
}

// RTF that pandoc writes from Debian's own HTML documentation imports with its words in order:
// each word longer than three letters of pandoc's plain reading of that RTF is found in our
// imported text after the one before it.
TEST(RtfImportCorpus, PandocRtfOfDebianDocumentationKeepsItsWordsInOrder) {
    std::vector<std::filesystem::path> pages;
    std::error_code ec;
    for (const char* folder : {"/usr/share/doc/base-passwd", "/usr/share/doc/libffi8/html"})
        for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
            if (ExtensionOf(it->path().filename().string()) == ".html" && it->is_regular_file(ec) &&
                it->file_size(ec) < 500000)
                pages.push_back(it->path());
    ASSERT_FALSE(pages.empty());
    std::sort(pages.begin(), pages.end());
    if (pages.size() > 6) pages.resize(6);
    for (const auto& path : pages) {
        const std::filesystem::path rtf = TestDir() / "debian.rtf";
        const std::filesystem::path plain = TestDir() / "debian.txt";
        const std::string write = "/usr/bin/pandoc -s -f html -t rtf '" + path.string() + "' -o '" +
                                  rtf.string() + "' 2>/dev/null";
        ASSERT_EQ(std::system(write.c_str()), 0) << write;
        const std::string read = "/usr/bin/pandoc -f rtf -t plain --wrap=none '" + rtf.string() +
                                 "' -o '" + plain.string() + "' 2>/dev/null";
        ASSERT_EQ(std::system(read.c_str()), 0) << read;
        FixedEnvironment environment;
        RecordingMessages messages;
        TKYTset set(environment, messages);
        set.NewDocument();
        const RtfImportOptions options;
        TRtfImp importer(set, options);
        importer.ImportFiles({NameOfPath(rtf)}, false);
        ASSERT_FALSE(importer.ImportedPages.empty()) << path;
        std::string text;
        for (std::int32_t page : importer.ImportedPages) text += PageText(set, page) + "\r\n";
        const std::string ours = Cp1252ToUtf8(text);
        int words = 0, inOrder = 0;
        std::size_t at = 0;
        std::string word;
        for (char c : ReadFile(plain) + " ") {
            if (std::isalpha(static_cast<unsigned char>(c))) {
                word += c;
                continue;
            }
            if (word.size() > 3) {
                ++words;
                if (const std::size_t found = ours.find(word, at); found != std::string::npos) {
                    ++inOrder;
                    at = found + word.size();
                }
            }
            word.clear();
        }
        ASSERT_GT(words, 20) << path;
        EXPECT_GE(inOrder * 100, words * 97) << path << ": " << inOrder << " of " << words;
    }
}

}  // namespace
}  // namespace orvo
