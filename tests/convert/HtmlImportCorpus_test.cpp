// Real web pages that no one here wrote (../shared/corpus/html beside the checkout, and
// Debian's package documentation): each imports, the visible phrases its EXPECTED.json lists
// are in the plain text of the imported page, tables and pictures are counted the same, and a
// site imported from its root holds every reachable page once, linked to each other.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/Cp1252.h"
#include "base/Paths.h"
#include "convert/HtmlImport.h"
#include "convert/TextExport.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::test;
using K = TOggettiHel;

// Enough of JSON for EXPECTED.json.
struct Json {
    enum Kind { Null, Other, String, Array, Object } kind = Null;
    double number = 0;
    bool isNumber = false;
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> fields;
    const Json& operator[](const std::string& key) const {
        static const Json none;
        const auto found = fields.find(key);
        return found == fields.end() ? none : found->second;
    }
};

Json ReadJson(std::string_view s, std::size_t& p) {
    auto blank = [&] {
        while (p < s.size() && static_cast<unsigned char>(s[p]) <= ' ') ++p;
    };
    blank();
    Json v;
    if (p >= s.size()) return v;
    if (s[p] == '{' || s[p] == '[') {
        const bool object = s[p++] == '{';
        v.kind = object ? Json::Object : Json::Array;
        while (blank(), p < s.size() && s[p] != (object ? '}' : ']')) {
            if (object) {
                const std::string key = ReadJson(s, p).text;
                blank();
                ++p;
                v.fields[key] = ReadJson(s, p);
            } else {
                v.items.push_back(ReadJson(s, p));
            }
            blank();
            if (p < s.size() && s[p] == ',') ++p;
        }
        ++p;
    } else if (s[p] == '"') {
        v.kind = Json::String;
        for (++p; p < s.size() && s[p] != '"';) {
            if (s[p] != '\\') {
                v.text += s[p++];
                continue;
            }
            const char e = s[++p];
            ++p;
            if (e != 'u') {
                v.text += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
                continue;
            }
            char32_t cp = char32_t(std::stoul(std::string(s.substr(p, 4)), nullptr, 16));
            p += 4;
            if (cp >= 0xD800 && cp <= 0xDBFF && s.substr(p, 2) == "\\u") {
                cp = 0x10000 + ((cp - 0xD800) << 10) +
                     (char32_t(std::stoul(std::string(s.substr(p + 2, 4)), nullptr, 16)) - 0xDC00);
                p += 6;
            }
            std::string u;
            if (cp < 0x80) {
                u += char(cp);
            } else if (cp < 0x800) {
                u += {char(0xC0 | (cp >> 6)), char(0x80 | (cp & 0x3F))};
            } else if (cp < 0x10000) {
                u += {char(0xE0 | (cp >> 12)), char(0x80 | ((cp >> 6) & 0x3F)),
                      char(0x80 | (cp & 0x3F))};
            } else {
                u += {char(0xF0 | (cp >> 18)), char(0x80 | ((cp >> 12) & 0x3F)),
                      char(0x80 | ((cp >> 6) & 0x3F)), char(0x80 | (cp & 0x3F))};
            }
            v.text += u;
        }
        ++p;
    } else {
        v.kind = Json::Other;
        const std::size_t start = p;
        while (p < s.size() && s[p] != ',' && s[p] != '}' && s[p] != ']' &&
               static_cast<unsigned char>(s[p]) > ' ')
            ++p;
        const std::string word(s.substr(start, p - start));
        if (!word.empty() &&
            (std::isdigit(static_cast<unsigned char>(word[0])) || word[0] == '-')) {
            v.isNumber = true;
            v.number = std::stod(word);
        }
    }
    return v;
}

// Runs of blanks (no-break spaces too) as one blank.
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

std::filesystem::path Corpus() {
    return std::filesystem::path(ORVO_SOURCE_DIR) / ".." / "shared" / "corpus" / "html";
}

int Live(const TKYTset& set, K kind) {
    int n = 0;
    for (const auto& o : set.KindList(kind))
        if (o && !o->IsFree()) ++n;
    return n;
}

// Phrases known not to show, with the reason. A listed phrase that does show fails the test.
const std::map<std::string, std::string>& KnownMisses() {
    static const std::map<std::string, std::string> misses{
        // Form controls are kept as the page's own HTML (no form objects yet): an option's
        // text is no page text.
        {"lynx_bad_html.html: first option", "form control kept as HTML"},
    };
    return misses;
}

TEST(HtmlImportCorpus, EveryPageImportsWithItsPhrasesTablesAndPictures) {
    const Json expected = [] {
        const std::string text = ReadFile(Corpus() / "EXPECTED.json");
        std::size_t p = 0;
        return ReadJson(text, p);
    }();
    ASSERT_EQ(expected["files"].kind, Json::Object);
    int files = 0, phrases = 0, beyond = 0;
    std::vector<std::string> misses;
    for (const auto& [name, facts] : expected["files"].fields) {
        ++files;
        FixedEnvironment environment;
        RecordingMessages messages;
        TKYTset set(environment, messages);
        set.NewDocument();
        THt2Imp run(set);
        const std::int32_t page = run.ImportFiles({NameOfPath(Corpus() / name)});
        ASSERT_EQ(run.ImportedPages.size(), 1u) << name;
        const std::string shown = Collapse(Cp1252ToUtf8(PageText(set, page)));
        for (const Json& phrase : facts["phrases"].items) {
            ++phrases;
            // Characters Windows-1252 lacks are looked for in their "?" form.
            const std::string cp = Utf8ToCp1252(phrase.text);
            if (Cp1252ToUtf8(cp) != phrase.text) ++beyond;
            const bool found = shown.find(Collapse(Cp1252ToUtf8(cp))) != std::string::npos;
            const auto known = KnownMisses().find(name + ": " + phrase.text);
            if (known != KnownMisses().end()) {
                EXPECT_FALSE(found) << "no longer missed: " << known->first;
                continue;
            }
            if (!found) misses.push_back(name + ": " + phrase.text);
        }
        for (const Json& hidden : facts["hidden_not_visible"].items)
            EXPECT_EQ(shown.find(Collapse(hidden.text)), std::string::npos)
                << name << ": " << hidden.text;
        const Json& counted = facts["counted"];
        if (counted["tables"].isNumber) {
            EXPECT_EQ(Live(set, K::tabellaHtml), int(counted["tables"].number)) << name;
        }
        // Pictures the corpus holds become images; the others are written "[i] ".
        if (counted["images"].isNumber) {
            const int present =
                facts["images_present"].isNumber ? int(facts["images_present"].number) : 0;
            EXPECT_EQ(Live(set, K::immagineNew), present) << name;
            std::size_t marks = 0;
            for (std::size_t at = shown.find("[i]"); at != std::string::npos;
                 at = shown.find("[i]", at + 1))
                ++marks;
            EXPECT_EQ(int(marks) + present, int(counted["images"].number)) << name;
        }
    }
    EXPECT_GE(files, 13);
    std::cout << files << " pages, " << phrases << " phrases (" << beyond
              << " in their \"?\" form), " << misses.size() << " missed\n";
    std::string list;
    for (const std::string& miss : misses) list += "\n  " + miss;
    EXPECT_TRUE(misses.empty()) << list;
}

// Debian's own HTML documentation: every file imports, and each of its words longer than
// three letters that pandoc's plain text shows is in ours.
TEST(HtmlImportCorpus, DebianDocumentationImportsWithThePandocWords) {
    std::vector<std::filesystem::path> pages;
    std::error_code ec;
    // Both come with every Debian system (base-passwd is essential, libffi8 under Python).
    for (const char* folder : {"/usr/share/doc/base-passwd", "/usr/share/doc/libffi8/html"})
        for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            const std::string ext = ExtensionOf(it->path().filename().string());
            if ((ext == ".html" || ext == ".htm") && it->is_regular_file(ec) &&
                it->file_size(ec) < 2000000)
                pages.push_back(it->path());
        }
    ASSERT_FALSE(pages.empty());
    std::sort(pages.begin(), pages.end());
    if (pages.size() > 12) pages.resize(12);
    for (const auto& path : pages) {
        FixedEnvironment environment;
        RecordingMessages messages;
        TKYTset set(environment, messages);
        set.NewDocument();
        THt2Imp run(set);
        const std::int32_t page = run.ImportFiles({NameOfPath(path)});
        ASSERT_EQ(run.ImportedPages.size(), 1u) << path;
        const std::string ours = Collapse(Cp1252ToUtf8(PageText(set, page)));
        const std::filesystem::path plain = TestDir() / "pandoc.txt";
        const std::string command = "pandoc -f html -t plain --wrap=none '" + path.string() +
                                    "' -o '" + plain.string() + "' 2>/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        int words = 0, found = 0;
        std::string word;
        for (char c : ReadFile(plain) + " ") {
            if (std::isalpha(static_cast<unsigned char>(c))) {
                word += c;
                continue;
            }
            if (word.size() > 3) {
                ++words;
                if (ours.find(word) != std::string::npos) ++found;
            }
            word.clear();
        }
        // pandoc shows link targets and image descriptions in brackets that are no page text.
        EXPECT_GE(found * 100, words * 97) << path << ": " << found << " of " << words;
    }
}

}  // namespace
}  // namespace orvo
