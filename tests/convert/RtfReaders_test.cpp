// Independent readers of our RTF: pandoc, unrtf and (when installed) LibreOffice read each
// per-page file of a generated hypertext into the same words, in the same order, as our text
// export of that page; pandoc's HTML shows the same bold and italic runs.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "base/Cp1252.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "convert/RtfExport.h"
#include "convert/TextExport.h"
#include "model/HeaderRecord.h"
#include "model/SampleHypertext.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::literals;
using namespace orvo::test;
using K = TOggettiHel;

bool Installed(const char* program) {
    return std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) == 0;
}

// What a fixed command line prints on standard output.
std::string Output(const std::string& command) {
    std::string out;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0) << command;
    return out;
}

std::string Quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

// Whitespace-separated words of Windows-1252 text; a list marker at the start of a line
// ("1.", a bullet), which the text export does not write, is left out.
std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        std::vector<std::string> lineWords;
        std::string word;
        for (char c : line) {
            const unsigned char u = static_cast<unsigned char>(c);
            if (u == ' ' || u == '\t' || u == 0xA0) {
                if (!word.empty()) lineWords.push_back(word);
                word.clear();
            } else {
                word += c;
            }
        }
        if (!word.empty()) lineWords.push_back(word);
        if (!lineWords.empty()) {
            const std::string& first = lineWords.front();
            const bool number = first.size() > 1 && first.back() == '.' &&
                                first.find_first_not_of("0123456789") == first.size() - 1;
            if (number || first == "\xB7" || first == "\x95") lineWords.erase(lineWords.begin());
        }
        words.insert(words.end(), lineWords.begin(), lineWords.end());
        start = end + 1;
    }
    return words;
}

// UTF-8 from a reader as Windows-1252, the typographic spaces a reader may use to keep
// repeated blanks (U+2000 to U+200A) made plain blanks.
std::string FromReader(std::string utf8) {
    std::string plain;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const bool space = utf8.compare(i, 2, "\xE2\x80") == 0 && i + 2 < utf8.size() &&
                           static_cast<unsigned char>(utf8[i + 2]) <= 0x8A;
        if (space) {
            plain += ' ';
            i += 2;
        } else {
            plain += utf8[i];
        }
    }
    return Utf8ToCp1252(plain);
}

std::string Joined(const std::vector<std::string>& words) {
    std::string s;
    for (const std::string& w : words) s += (s.empty() ? "" : " ") + w;
    return Cp1252ToUtf8(s);
}

// A hypertext of our own besides the sample: accents, the characters RTF escapes, entities
// and formatted runs, a list of each kind.
void AddGeneratedPages(TKYTset& set, std::vector<std::int32_t>& pages) {
    const std::vector<std::string> texts = {
        "<Z S0 >Perch\xE9 \\ e {graffe} & &lt;segni&gt; &amp; citt\xE0<Z S0 >"
        "<Y y1 >grassetto<Y > e <Y y2 >corsivo<Y > e <Y y3 >tutti e due<Y > qui.",
        "<Z S0 >\x80 cento \xA9 \x93virgolette\x94 ~tilde~ <Y y1 >{uno}<Y ><Z S0 N6 >primo"
        "<Z S0 N6 >secondo<Z S0 N10 >punto \\x",
        "<Z S0 >Parole con l'apostrofo: un'altra, dell'anno.<Z S0 ><Y y2 >Perch\xE9 no?<Y >"
        " Fine.",
    };
    for (std::size_t i = 0; i < texts.size(); ++i) {
        auto page = NewObjectOfKind(K::testoHtml, &set);
        page->Clear();
        page->TakeIntoUse();
        page->SetContent(texts[i] + '\0');
        PageRecord(*page).SetTitle("Generata " + std::to_string(i));
        pages.push_back(set.Register(std::move(page)));
    }
}

class RtfReadersTest : public ::testing::Test {
protected:
    RtfReadersTest() : set_(environment_, messages_), rtf_(&set_, metrics_) {
        MakeSampleHypertext(set_, {});
        for (const auto& page : set_.KindList(K::testoHtml))
            if (page && !page->IsFree()) pages_.push_back(page->Identifier());
        AddGeneratedPages(set_, pages_);
        folder_ = TestDir() / "per-page";
        std::filesystem::create_directories(folder_);
        rtf_.ExportPath = NameOfPath(folder_);
        EXPECT_TRUE(rtf_.ExportPerPage(pages_));
    }
    std::filesystem::path FileOf(std::int32_t page) {
        return folder_ / NativePath(rtf_.PageFileName(*set_.ObjectByKind(K::testoHtml, page)));
    }
    std::vector<std::string> Expected(std::int32_t page) { return Words(PageText(set_, page)); }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    FixedMetrics metrics_;
    TKYTset set_;
    TKYTtortf rtf_;
    std::vector<std::int32_t> pages_;
    std::filesystem::path folder_;
};

// pandoc and unrtf come with ./test: a machine without them fails rather than skips.
TEST_F(RtfReadersTest, PandocReadsTheWordsOfEveryPage) {
    ASSERT_TRUE(Installed("pandoc")) << "pandoc is missing";
    for (std::int32_t page : pages_) {
        const std::string text =
            Output("pandoc -f rtf -t plain --wrap=none " + Quoted(FileOf(page)));
        // A table comes out between rules of dashes, which are no words of the page.
        std::string kept;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);)
            if (line.find_first_not_of("- \r") != std::string::npos ||
                line.find('-') == std::string::npos)
                kept += line + "\n";
        EXPECT_EQ(Joined(Words(FromReader(kept))), Joined(Expected(page))) << "page " << page;
    }
}

TEST_F(RtfReadersTest, UnrtfReadsTheWordsOfEveryPage) {
    ASSERT_TRUE(Installed("unrtf")) << "unrtf is missing";
    // The body of unrtf's HTML as text: line breaks at <br>, tags dropped, entities decoded.
    const std::string toText =
        " | /usr/bin/python3 -c \"import sys,html,re; t=sys.stdin.read(); "
        "t=t[t.find('<body>'):]; t=re.sub(r'<br>', '\\n', t); t=re.sub(r'<[^>]*>', '', t); "
        "sys.stdout.write(html.unescape(t))\"";
    for (std::int32_t page : pages_) {
        const std::string text =
            Output("unrtf --html " + Quoted(FileOf(page)) + " 2>/dev/null" + toText);
        EXPECT_EQ(Joined(Words(FromReader(text))), Joined(Expected(page))) << "page " << page;
    }
}

TEST_F(RtfReadersTest, PandocShowsTheSameBoldAndItalicRuns) {
    ASSERT_TRUE(Installed("pandoc")) << "pandoc is missing";
    auto runs = [](const std::string& html, const std::string& tag) {
        std::vector<std::string> found;
        const std::string open = "<" + tag + ">", close = "</" + tag + ">";
        for (std::size_t at = html.find(open); at != std::string::npos;
             at = html.find(open, at + 1)) {
            const std::size_t end = html.find(close, at);
            std::string inner = html.substr(at + open.size(), end - at - open.size());
            // A run both bold and italic nests one tag in the other.
            for (const char* t : {"<strong>", "</strong>", "<em>", "</em>"})
                for (std::size_t p; (p = inner.find(t)) != std::string::npos;)
                    inner.erase(p, std::string(t).size());
            found.push_back(inner);
        }
        return found;
    };
    const std::int32_t first = pages_[pages_.size() - 3];
    const std::string html = Output("pandoc -f rtf -t html --wrap=none " + Quoted(FileOf(first)));
    EXPECT_EQ(runs(html, "strong"), (std::vector<std::string>{"grassetto", "tutti e due"})) << html;
    EXPECT_EQ(runs(html, "em"), (std::vector<std::string>{"corsivo", "tutti e due"})) << html;
    const std::string second =
        Output("pandoc -f rtf -t html --wrap=none " + Quoted(FileOf(pages_.back() - 1)));
    EXPECT_EQ(runs(second, "strong"), (std::vector<std::string>{"{uno}"})) << second;
    // The sample's cover: one bold and one italic run.
    const std::string cover = Output("pandoc -f rtf -t html --wrap=none " + Quoted(FileOf(0)));
    EXPECT_EQ(runs(cover, "em"), (std::vector<std::string>{"corsivo"})) << cover;
    const std::vector<std::string> bold = runs(cover, "strong");
    ASSERT_FALSE(bold.empty());
    // The heading style is bold too.
    EXPECT_EQ(bold, (std::vector<std::string>{"Benvenuti nella guida di Orvo", "grassetto"}));
}

TEST_F(RtfReadersTest, LibreOfficeReadsTheSameWords) {
    if (!Installed("soffice")) GTEST_SKIP() << "no LibreOffice";
    const std::filesystem::path profile = TestDir() / "lo-profile";
    const std::filesystem::path out = TestDir() / "lo-text";
    std::filesystem::create_directories(out);
    std::string files;
    for (std::int32_t page : pages_) files += " " + Quoted(FileOf(page));
    Output("timeout 300 soffice --headless --norestore -env:UserInstallation=file://" +
           profile.string() + " --convert-to txt:Text --outdir " + Quoted(out) + files +
           " >/dev/null 2>&1");
    for (std::int32_t page : pages_) {
        std::filesystem::path text = out / FileOf(page).filename();
        text.replace_extension(".txt");
        ASSERT_TRUE(std::filesystem::exists(text)) << text;
        std::string bytes = ReadFile(text);
        if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
        EXPECT_EQ(Joined(Words(FromReader(bytes))), Joined(Expected(page))) << "page " << page;
    }
}

}  // namespace
}  // namespace orvo
