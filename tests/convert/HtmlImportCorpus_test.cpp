// Real web pages that no one here wrote (../shared/corpus/html beside the checkout, and
// Debian's package documentation): each imports, the visible phrases its EXPECTED.json lists
// are in the plain text of the imported page, tables and pictures are counted the same, and a
// site imported from its root holds every reachable page once, linked to each other.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
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
#include "objects/ImageRecord.h"
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
        // An option's text is an item of a drop-down input, which the text export leaves out.
        {"lynx_bad_html.html: first option", "item of a drop-down input"},
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

// What a page of an import links to: the pages (page codes in its text, the zones of its
// images, the targets of its special links and markers) and the files named by links of
// automatic import that were left as they are.
struct PageLinksOf {
    std::set<std::int32_t> pages;
    std::vector<std::string> files;
};
PageLinksOf LinkedPages(const TKYTset& set, std::int32_t page) {
    PageLinksOf linked;
    auto add = [&](std::int32_t code) {
        if (code >= 0 && CodeKind(code) == KindIndex(K::testoHtml))
            linked.pages.insert(CodeIdentifier(code));
        if (code < 0 || CodeKind(code) != KindIndex(K::speclink)) return;
        const TKYToggetto* link = set.ObjectByCode(code);
        if (!link || link->IsFree() || link->Subtype() != 6) return;
        std::string file = *link->ContentBytes();
        while (!file.empty() && file.back() == '\0') file.pop_back();
        linked.files.push_back(file);
    };
    Result<std::string> markup = set.ObjectByKind(K::testoHtml, page)->ContentBytes();
    if (!markup) return linked;
    for (std::size_t at = markup->find("<$"); at != std::string::npos;
         at = markup->find("<$", at + 2)) {
        if (at + 11 > markup->size() || (*markup)[at + 10] != '>') continue;
        const std::int32_t code = std::int32_t(std::stoul(markup->substr(at + 2, 8), nullptr, 16));
        add(code);
        TKYToggetto* object = set.ObjectByCode(code);
        if (!object || object->IsFree()) continue;
        if (CodeKind(code) == KindIndex(K::immagineNew)) {
            for (const ZoneRecord& zone : ImageRecord(*object).Zones())
                if (!zone.Empty()) add(zone.link);
        } else if (CodeKind(code) == KindIndex(K::speclink)) {
            add(object->ReadView().I32(kSpecTarget));
        } else if (CodeKind(code) == KindIndex(K::shortObj)) {
            add(object->ReadView().I32(kShortReference));
        }
    }
    return linked;
}

// Each site imported from its root as "--follow-links" does: every reachable page once, with
// its phrases, tables and pictures; every link to an imported file leads to its new page, so
// the pages are reached from the root's page through the new links alone.
TEST(HtmlImportCorpus, SitesImportFromTheirRootWithEveryPageOnceLinkedToEachOther) {
    const Json expected = [] {
        const std::string text = ReadFile(Corpus() / "EXPECTED.json");
        std::size_t p = 0;
        return ReadJson(text, p);
    }();
    ASSERT_EQ(expected["sites"].kind, Json::Object);
    // Pages that only a map no picture uses links to: imported (every HREF is followed), but no
    // page shows a link to them, in a browser either.
    const std::set<std::string> unlinked{"lynx_tags_forms/square.html",
                                         "lynx_tags_forms/circle.html",
                                         "lynx_tags_forms/triangle.html"};
    int sites = 0, phrases = 0;
    std::vector<std::string> misses;
    for (const auto& [site, facts] : expected["sites"].fields) {
        ++sites;
        const std::filesystem::path folder =
            std::filesystem::absolute(Corpus() / site).lexically_normal();
        const std::string root = NameOfPath(folder / facts["root"].text);
        std::vector<std::string> files;
        CollectLinkedPages(root, files, 200);
        files.insert(files.begin(), root);
        FixedEnvironment environment;
        RecordingMessages messages;
        TKYTset set(environment, messages);
        set.NewDocument();
        THt2Imp run(set, {false, 0xFFFFFF, -1, folder});
        run.ImportFiles(files);
        ResolveImportedLinks(set);

        // Every reachable page once.
        std::map<std::string, std::int32_t> pageOf;
        for (std::int32_t page : run.ImportedPages) {
            const std::string name =
                NameOfPath(std::filesystem::path(NativePath(ImportedFileOf(set, page)))
                               .lexically_relative(folder));
            EXPECT_TRUE(pageOf.emplace(name, page).second) << site << ": " << name << " twice";
        }
        std::set<std::string> reachable;
        for (const Json& page : facts["reachable_pages"].items) reachable.insert(page.text);
        std::set<std::string> imported;
        for (const auto& entry : pageOf) imported.insert(entry.first);
        EXPECT_EQ(imported, reachable) << site;

        for (const auto& [name, page] : pageOf) {
            const Json& fact = facts["pages"][name];
            const std::string shown = Collapse(Cp1252ToUtf8(PageText(set, page)));
            for (const Json& phrase : fact["phrases"].items) {
                ++phrases;
                const std::string cp = Utf8ToCp1252(phrase.text);
                if (shown.find(Collapse(Cp1252ToUtf8(cp))) == std::string::npos)
                    misses.push_back(site + "/" + name + ": " + phrase.text);
            }
        }
        // Tables and pictures of the whole site (the objects are the document's).
        int tables = 0, pictures = 0;
        for (const auto& [name, fact] : facts["pages"].fields) {
            tables += int(fact["counted"]["tables"].number);
            pictures += int(fact["counted"]["images"].number);
        }
        EXPECT_EQ(Live(set, K::tabellaHtml), tables) << site;
        EXPECT_EQ(Live(set, K::immagineNew), pictures) << site;
        EXPECT_EQ(Live(set, K::immagine), int(facts["resources"].items.size())) << site;

        // No page links to an imported file any more, each such link leads to its page; the
        // new links alone lead from the root's page to every other page.
        ASSERT_FALSE(run.ImportedPages.empty()) << site;
        std::set<std::int32_t> reached{run.ImportedPages.front()};
        std::deque<std::int32_t> next{run.ImportedPages.front()};
        for (const auto& [name, page] : pageOf) {
            const PageLinksOf linked = LinkedPages(set, page);
            for (const std::string& target : linked.files)
                for (const std::string& file : files)
                    EXPECT_FALSE(SameText1252(target, file))
                        << site << "/" << name << ": " << target;
        }
        while (!next.empty()) {
            for (std::int32_t to : LinkedPages(set, next.front()).pages)
                if (reached.insert(to).second) next.push_back(to);
            next.pop_front();
        }
        for (const auto& [name, page] : pageOf)
            EXPECT_EQ(reached.count(page) == 1, unlinked.count(site + "/" + name) == 0)
                << site << "/" << name;
    }
    EXPECT_EQ(sites, 2);
    std::cout << sites << " sites, " << phrases << " phrases, " << misses.size() << " missed\n";
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
