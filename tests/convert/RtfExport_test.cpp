// RTF export: the document frame, paragraphs, character codes, lists, escapes, links of the
// help variant, topic footnotes, comments, tables, the one-file export and its question, the
// help project and the help compiler.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "base/Cp1252.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "convert/RtfExport.h"
#include "convert/RtfWriter.h"
#include "convert/TextWordProcessor.h"
#include "model/HeaderRecord.h"
#include "model/ObjectRecord.h"
#include "model/SampleHypertext.h"
#include "model/StyleRecord.h"
#include "model/StyleTable.h"
#include "model/TextForms.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"
#include "platform/ISettings.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::literals;
using namespace orvo::test;
using K = TOggettiHel;

// The head of a fragment whose body uses only the first style ("[nessuno stile]", margins of
// 10 pixels) and Times New Roman in black.
constexpr std::string_view kPlainHead =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman\\fprq2 Times New Roman;}}"
    "{\\colortbl;\\red0\\green0\\blue0;}{\\stylesheet{\\s1 \\widctlpar "
    "\\f0\\fs24\\cf1\\i0\\b0\\ul0\\strike0\\up0\\ql\\fi0\\li150\\ri150\\sb0\\sa0 [nessuno stile];}}"
    "\\paperw11905\\paperh16837\\margt1417\\margb1417\\margl1417\\margr1417 ";
constexpr std::string_view kPlainPara =
    "\\pard\\plain "
    "\\s1\\f0\\fs24\\cf1\\i0\\b0\\ul0\\strike0\\up0\\ql\\fi0\\li150\\ri150\\sb0\\sa0 ";

class RtfExportTest : public ::testing::Test {
protected:
    RtfExportTest() : set_(environment_, messages_), rtf_(&set_, metrics_) {
        setenv("TZ", "UTC", 1);
        tzset();
    }

    TKYToggetto& Page(std::int32_t identifier, std::string markup, std::string title = "Pagina") {
        TKYToggetto* page = set_.ObjectByKind(K::testoHtml, identifier);
        if (!page) {
            auto made = NewObjectOfKind(K::testoHtml, &set_);
            made->Clear();
            made->TakeIntoUse();
            set_.Register(std::move(made), identifier);
            page = set_.ObjectByKind(K::testoHtml, identifier);
        }
        if (page->IsFree()) page->TakeIntoUse();  // a filler left by a higher identifier
        page->SetContent(markup + '\0');
        PageRecord(*page).SetTitle(title);
        PageRecord(*page).SetHeader(kNoHeaderFooter);
        PageRecord(*page).SetFooter(kNoHeaderFooter);
        return *page;
    }
    TKYToggetto& Object(K kind) {
        auto made = NewObjectOfKind(kind, &set_);
        made->Clear();
        made->TakeIntoUse();
        const std::int32_t id = set_.Register(std::move(made));
        return *set_.ObjectByKind(kind, id);
    }
    std::string Code(const TKYToggetto& object) {
        return "<$" + Hex8(std::uint32_t(object.Code())) + ">";
    }
    // The body of one page as the one-file export writes it.
    std::string Body(std::string markup, const TKYToggetto* page = nullptr) {
        (void)page;
        return rtf_.WriteRtfBody(markup, rpPage);
    }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    FixedMetrics metrics_;
    TKYTset set_;
    TKYTtortf rtf_;
};

TEST_F(RtfExportTest, FragmentIsAWholeDocumentWithATrailingZero) {
    const std::string rtf = rtf_.ExportText("<Z S0 >ab<Z S0 >c");
    EXPECT_EQ(rtf, std::string(kPlainHead) + std::string(kPlainPara) + "ab\\par \r\n" +
                       std::string(kPlainPara) + "c\\par \r\n}" + std::string(1, '\0'));
    // No information group in a fragment; the fonts and styles are forgotten afterwards.
    EXPECT_EQ(rtf.find("{\\info"), std::string::npos);
    EXPECT_TRUE(rtf_.Fonts().empty());
}

TEST_F(RtfExportTest, EscapesOfTextAndEntities) {
    // Backslash and braces get a backslash; 126 and above are hex; entities decode first and
    // are escaped the same way; control bytes are dropped.
    EXPECT_EQ(Body("<Z S0 >a\\b{c}~\xE8&#123;&lt;&egrave;\x01z"),
              std::string(kPlainPara) + "a\\\\b\\{c\\}\\'7e\\'e8\\{<\\'e8z\\par \r\n");
    EXPECT_EQ(RtfString("a\rb\n{\x7F"), "a\\par \r\nb\\{\\'7f");
    EXPECT_EQ(RtfString("\x01\t"), "");
}

TEST_F(RtfExportTest, CharacterCodesOnlyWhereTheyChange) {
    // After a paragraph start every code is written; then only the differences.
    EXPECT_EQ(Body("<Z S0 >a<Y y1 >b<Y y3 >c<Y >d<Y c0000FF s10 >e<Y p2 >f"),
              std::string(kPlainPara) +
                  "a\\f0\\fs24\\cf1\\i0\\b\\ul0\\strike0\\up0 b\\i c\\i0\\b0 d"
                  "\\fs20\\cf2 e\\fs24\\cf1\\up6 f\\par \r\n");
    // The colour table: black first, then blue.
    const std::string head = rtf_.DocumentHeader();
    EXPECT_NE(head.find("{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}"),
              std::string::npos);
}

TEST_F(RtfExportTest, FontTableFamiliesAndPitches) {
    Body("<Z S0 ><Y F\"Arial\" >a<Y F\"Courier New\" >b<Y F\"Symbol\" >c");
    const std::string head = rtf_.DocumentHeader();
    EXPECT_NE(head.find("{\\fonttbl{\\f0\\froman\\fprq2 Times New Roman;}{\\f1\\fswiss\\fprq2 "
                        "Arial;}{\\f2\\fmodern\\fprq1 Courier New;}{\\f3\\froman\\fprq2 Symbol;}}"),
              std::string::npos)
        << head;
}

TEST_F(RtfExportTest, ListsNumberAndBullet) {
    const std::string body = Body("<Z S0 N6 I-12 >a<Z S0 N6 >b<Z S0 >c<Z S0 N6 >d<Z S0 N10 >e");
    const std::string dec =
        "{\\*\\pn \\pnlvlbody\\pndec\\pnstart1\\pnhang\\pnindent180{\\pntxta .}}";
    EXPECT_NE(body.find("\\ql" + dec + "{\\pntext 1.\\tab}\\fi-180"), std::string::npos) << body;
    EXPECT_NE(body.find("{\\pntext 2.\\tab}"), std::string::npos);
    // A paragraph without numbering starts the count again.
    EXPECT_NE(body.find("d\\par"), std::string::npos);
    EXPECT_EQ(body.find("{\\pntext 3."), std::string::npos);
    EXPECT_NE(body.find("\\pnindent0{\\pntxta .}}{\\pntext 1.\\tab}"), std::string::npos);
    // A bulleted paragraph registers Symbol and points at it.
    EXPECT_NE(body.find("{\\*\\pn\\pnlvlblt\\pnf1\\pnstart1\\pnhang\\pnindent0{\\pntxtb\\'b7}}"
                        "{\\pntext\\f1\\'b7\\tab}"),
              std::string::npos)
        << body;
    EXPECT_EQ(rtf_.Fonts().at(1), "Symbol");
}

TEST_F(RtfExportTest, ParagraphLayoutInTwips) {
    // 96 pixels per inch: 1 pixel = 15 twips. Line heights from -19999 up are written.
    EXPECT_EQ(Body("<Z S0 A2 L20 I8 l16 r4 t2 b3 >x<Z S0 A3 L-20000 >"),
              "\\pard\\plain \\s1\\f0\\fs24\\cf1\\i0\\b0\\ul0\\strike0\\up0\\qc\\sl300\\fi120"
              "\\li240\\ri60\\sb30\\sa45 x\\par \r\n"
              "\\pard\\plain \\s1\\f0\\fs24\\cf1\\i0\\b0\\ul0\\strike0\\up0\\qj\\fi0\\li150\\ri150"
              "\\sb0\\sa0 \\par \r\n");
    // A paragraph code without a style number ends after "\pard\plain ".
    EXPECT_EQ(Body("<Z >x"), "\\pard\\plain x\\par \r\n");
    // A value cut short by the end of the code.
    messages_.Clear();
    Body("<Z S0 s12>x");
    ASSERT_FALSE(messages_.Shown().empty());
    EXPECT_EQ(messages_.Shown()[0].text, "Truncated line!");
}

TEST_F(RtfExportTest, InformationGroupIsEscapedAndDated) {
    RecordView header = set_.HeaderRecordView();
    header.SetPStr(kHdrTitle, "Titolo {a}\\b");
    header.SetPStr(kHdrAuthors, "Autore }");
    header.SetPStr(kHdrCopyright, "\xA9 2024");
    header.SetPStr(kHdrCompany, "Ditta{");
    environment_.SetUserName("mario");
    environment_.SetNow(std::chrono::sys_days{std::chrono::year{2024} / 3 / 7} +
                        std::chrono::hours{9} + std::chrono::minutes{5});
    Body("<Z S0 >");
    const std::string head = rtf_.DocumentHeader();
    const std::string info =
        "{\\info{\\title Titolo \\{a\\}\\\\b}{\\author Autore \\}}{\\operator mario}"
        "{\\*\\copyright \\'a9 2024}{\\company Ditta\\{}{\\version" +
        std::to_string(set_.SaveCounter()) +
        "}{\\revtim\\yr2024\\mo3\\dy7\\hr9\\min5}}\\widowctrl\\paperw";
    EXPECT_NE(head.find(info), std::string::npos) << head;
    // The operator holds at most 79 characters.
    environment_.SetUserName(std::string(100, 'u'));
    EXPECT_NE(rtf_.DocumentHeader().find("{\\operator " + std::string(79, 'u') + "}"),
              std::string::npos);
}

TEST_F(RtfExportTest, ColoursKeepTheirIndexesAcrossFragments) {
    rtf_.ExportText("<Z S0 ><Y c00FF00 >x");
    const std::string second = rtf_.ExportText("<Z S0 ><Y cFF0000 >y<Y c00FF00 >z");
    EXPECT_NE(second.find("\\cf3\\i0\\b0\\ul0\\strike0\\up0 y\\cf2 z"), std::string::npos)
        << second;
    EXPECT_NE(second.find("{\\colortbl;\\red0\\green0\\blue0;\\red0\\green255\\blue0;"
                          "\\red255\\green0\\blue0;}"),
              std::string::npos);
}

TEST_F(RtfExportTest, FragmentOfAnOpenedTextFindsItsOwnObjects) {
    TKYToggetto& comment = Object(K::shortObj);
    comment.Record()[4] = 10;
    comment.SetAuxiliary(std::string("Ada\r\nnota"));
    TKYToggetto& table = Object(K::tabellaHtml);
    table.View().SetU8(kTableRows, 1);
    table.View().SetU8(kTableColumns, 1);
    TKYToggetto& page =
        Page(0, "<Z S0 >a" + Code(comment) + "<Z S0 >" + Code(table) + "<Z S1 >cella<T><Z S0 >b");
    std::unique_ptr<TKYTtesto> text = OpenText(set_, page, false);
    ASSERT_TRUE(text);
    Result<std::string> working = text->ContentBytes();
    ASSERT_TRUE(working);
    // The opened text names its copies by 0xFF codes, which only the text can resolve.
    ASSERT_NE(working->find("<$FF000000>"), std::string::npos) << Escaped(*working);
    EXPECT_EQ(rtf_.ExportText(*working).find("annotation"), std::string::npos);
    rtf_.ResolveObject = WorkingTextObjects(set_, *text);
    const std::string rtf = rtf_.ExportText(*working);
    EXPECT_NE(rtf.find("{\\*\\atnauthor Ada}"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\trowd"), std::string::npos);
    EXPECT_NE(rtf.find("cella\\cell \\row "), std::string::npos);
}

TEST_F(RtfExportTest, HiddenSectionsAndUnknownCodesAreSkipped) {
    EXPECT_EQ(Body("<Z S0 >a<D>no<d>b<Qx>c<R>n<r>"), std::string(kPlainPara) + "abc\\par \r\n");
}

TEST_F(RtfExportTest, ContextIdsAndWindowNames) {
    EXPECT_EQ(HelpContextId("Pagina 1!", 5), "Pagina1_5");
    EXPECT_EQ(HelpContextId("Un titolo molto lungo per la guida", 123), "Untitolomoltolun_123");
    EXPECT_EQ(HelpContextId("Un titolo molto lungo per la guida", 123).size(), 20u);
    EXPECT_EQ(HelpContextId("\xE8_a.b", 0), "_a.b_0");
    EXPECT_EQ(HelpWindowName("Finestra due"), "Finestra");
    EXPECT_EQ(HelpWindowName("w"), "w_0");
}

TEST_F(RtfExportTest, PageFileNames) {
    set_.SetExpPrefix("doc");
    set_.HeaderRecordView().SetI32(kHdrCoverPage, 0);
    EXPECT_EQ(rtf_.PageFileName(Page(0, "<Z S0 >")), "docindex.rtf");
    EXPECT_EQ(rtf_.PageFileName(Page(26, "<Z S0 >")), "doc00001a.rtf");
}

// The help variant: topics with footnotes, jumps and macros, no underline codes.
class RtfHelpTest : public RtfExportTest {
protected:
    RtfHelpTest() { rtf_.HelpMode = true; }
    std::string PageBody(const TKYToggetto& page) {
        rtf_.ExportFileName = NameOfPath(TestDir() / "help.rtf");
        EXPECT_TRUE(rtf_.ExportPages({page.Identifier()}));
        const std::string file = ReadFile(TestDir() / "help.rtf");
        const std::size_t start = file.find("\\margr1417 ");
        return start == std::string::npos ? file : file.substr(start + 11);
    }
    TKYToggetto& Special(int type, int action, std::int32_t target, std::string name = "") {
        TKYToggetto& link = Object(K::speclink);
        link.Record()[4] = std::uint8_t(type);
        RecordView r = link.View();
        r.SetU8(kSpecAction, std::uint8_t(action));
        r.SetI32(kSpecTarget, target);
        r.SetPStr(kSpecName, name);
        return link;
    }
};

TEST_F(RtfHelpTest, TopicFootnotesAndJumps) {
    TKYToggetto& target = Page(5, "<Z S0 >t", "Pagina 1!");
    TKYToggetto& kw = Object(K::keyword);
    kw.View().SetPStr(kKeywordText, "uno;due");
    TKYToggetto& page = Page(3, "<Z S0 >vai a " + Code(target) + "<Y y4 >la<%> fine", "Ti;tolo");
    PageRecord record(page);
    record.SetKeyword(0, kw.Identifier());
    record.SetKeyword(2, 999);  // missing: its separator stays
    record.SetGroup(2);
    record.SetOrder(7);
    record.SetInSequence(true);
    rtf_.TitlesAsKeywords = true;
    EXPECT_EQ(
        PageBody(page),
        "\\ftnbj {\\super #{\\footnote {\\super #}{\\field{\\fldrslt Titolo_3}}}}"
        "{\\super ${\\footnote {\\super $}{\\field{\\fldrslt Ti;tolo}}}}"
        "{\\super K{\\footnote {\\super K}{\\field{\\fldrslt Ti,tolo;uno;due;}}}}"
        "{\\super +{\\footnote {\\super +}{\\field{\\fldrslt seq2:7}}}}"
        "\\pard\\plain \\s1\\f0\\fs24\\cf1\\i0\\b0\\strike0\\up0\\ql\\fi0\\li150\\ri150\\sb0\\sa0 "
        "vai a \\uldb \\f0\\fs24\\cf1\\i0\\b0\\strike0\\up0 la"
        "\\ul0{\\field{\\fldrslt {\\v Pagina1_5}}} fine\\par \r\n}");
}

TEST_F(RtfHelpTest, SpecialLinksAndOtherHypertexts) {
    Page(5, "<Z S0 >t", "Meta");
    TKYToggetto& other = Object(K::internetLink);
    other.View().SetPStr(kLinkAddress, "orvo://Altro.kyt|4");
    TKYToggetto& web = Object(K::internetLink);
    web.View().SetPStr(kLinkAddress, "http://esempio.it/");
    std::string markup = "<Z S0 >";
    markup += Code(Special(1, 0, 5)) + "a<%>";
    markup += Code(Special(1, 4, 5)) + "b<%>";
    markup += Code(Special(1, 2, 5, "Finestra due")) + "c<%>";
    markup += Code(Special(2, 0, -1, "Aiuto")) + "d<%>";
    markup += Code(Special(3, 0, -1)) + "e<%>";
    markup += Code(Special(4, 0, -1)) + "f<%>";
    markup += Code(Special(5, 0, -1)) + "g<%>";
    markup += Code(Special(6, 0, -1)) + "h<%>";
    markup += Code(other) + "i<%>" + Code(web) + "j<%>";
    const std::string body = PageBody(Page(1, markup, "Uno"));
    const std::string fontCodes = "\\f0\\fs24\\cf1\\i0\\b0\\strike0\\up0 ";
    for (const std::string& expected : std::vector<std::string>{
             "\\uldb a\\ul0{\\field{\\fldrslt {\\v Meta_5}}}" + fontCodes,
             std::string("\\ul b\\ul0{\\field{\\fldrslt {\\v Meta_5}}}"),
             std::string("\\uldb c\\ul0{\\field{\\fldrslt {\\v Meta_5>Finestra}}}"),
             std::string("\\uldb d\\ul0{\\field{\\fldrslt {\\v !CloseWindow(\"Aiuto_0\")}}}"),
             std::string("\\uldb e\\ul0{\\field{\\fldrslt {\\v !Search()}}}"),
             std::string("\\uldb f\\ul0{\\field{\\fldrslt {\\v !Prev()}}}"),
             std::string("\\uldb g\\ul0{\\field{\\fldrslt {\\v !Next()}}}"),
             std::string("\\uldb h\\ul0 "),
             std::string("\\uldb i\\ul0{\\field{\\fldrslt {\\v !JumpContext(\"Altro.hlp\",4)}}}"),
             std::string("\\uldb j\\ul0 ")}) {
        EXPECT_NE(body.find(expected), std::string::npos) << expected << "\n" << body;
    }
    // Only the first write of the font after the paragraph codes is complete; underline
    // codes never appear among them.
    EXPECT_EQ(body.find("\\ul0\\strike"), std::string::npos);
    EXPECT_EQ(rtf_.Windows(), (std::vector<std::string>{"Finestra", "Aiuto_0"}));
}

TEST_F(RtfHelpTest, ProjectFileAndCompiler) {
    RecordView header = set_.HeaderRecordView();
    header.SetPStr(kHdrTitle, "Guida");
    header.SetI32(kHdrCoverPage, 0);
    Page(0, "<Z S0 >" + Code(Special(1, 1, 1, "Laterale")) + "x<%>", "Copertina");
    Page(1, "<Z S0 >y", "Seconda pagina");
    rtf_.ExportFileName = NameOfPath(TestDir() / "guida.rtf");
    ASSERT_TRUE(rtf_.ExportHelp({0, 1}));
    EXPECT_EQ(ReadFile(TestDir() / "guida.HPJ"),
              "[OPTIONS]\r\nTITLE=Guida\r\nCONTENTS=Copertina_0\r\n"
              "CITATION=Built with TamberWorks Orvo https://orvo.example.org/\r\n\r\n"
              "[WINDOWS]\r\nLaterale=\"\", auto-size height\r\n"
              "[MAP]\r\nCopertina_0 0\r\nSecondapagina_1 1\r\n\r\n"
              "[FILES]\r\nguida.rtf\r\n[CONFIG]\r\nBROWSEBUTTONS()\r\n");
    // Pages are separated by \page and carry no header or footer groups.
    const std::string rtf = ReadFile(TestDir() / "guida.rtf");
    EXPECT_NE(rtf.find("\\par \r\n\\page\\ftnbj "), std::string::npos);
    EXPECT_EQ(rtf.find("{\\header"), std::string::npos);

    // The compiler: an old help file goes, the configured path gets the project file as one
    // argument, never through a shell.
    WriteFile(TestDir() / "guida.hlp", "old");
    RecordingShell shell;
    MemorySettings settings;
    messages_.Clear();
    Status absent = rtf_.StartHelpCompiler(shell, settings, false);
    ASSERT_FALSE(absent);
    EXPECT_EQ(absent.failure().text, kNoHelpCompiler);
    EXPECT_TRUE(messages_.Shown().empty());
    EXPECT_FALSE(std::filesystem::exists(TestDir() / "guida.hlp"));
    settings.Write("options", "HcpPath", "/opt/hc dir/hcw; rm");
    ASSERT_TRUE(rtf_.StartHelpCompiler(shell, settings, false));
    ASSERT_EQ(shell.Starts().size(), 1u);
    EXPECT_EQ(
        shell.Starts()[0].command.argv,
        (std::vector<std::string>{"/opt/hc dir/hcw; rm", (TestDir() / "guida.HPJ").string()}));
    ASSERT_TRUE(rtf_.StartHelpCompiler(shell, settings, true));
    ASSERT_EQ(shell.Opened().size(), 1u);
    EXPECT_EQ(shell.Opened()[0], TestDir() / "guida.HPJ");
}

TEST_F(RtfHelpTest, DialogFormatsAndTheirSettings) {
    TKYToggetto& kw = Object(K::keyword);
    kw.View().SetPStr(kKeywordText, "chiave");
    TKYToggetto& page = Page(0, "<Z S0 >x", "Titolo");
    PageRecord(page).SetKeyword(0, kw.Identifier());
    MemorySettings settings;
    RecordingShell shell;
    const std::string folder = NameOfPath(TestDir() / "formati");
    std::filesystem::create_directories(TestDir() / "formati");
    // Format 3 with the dialog's defaults: no titles among the keywords, no compiler.
    ASSERT_TRUE(rtf_.ExportFormat(3, {0}, folder, "g.rtf", shell, settings));
    EXPECT_NE(ReadFile(TestDir() / "formati" / "g.rtf").find("{\\fldrslt chiave}"),
              std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(TestDir() / "formati" / "g.HPJ"));
    EXPECT_TRUE(shell.Starts().empty());
    EXPECT_TRUE(shell.Opened().empty());
    settings.Write("exp\\3", "runTitKey", "1");
    settings.Write("exp\\3", "runHcp", "1");
    settings.Write("exp\\3", "runDefaultHcp", "0");
    settings.Write("options", "HcpPath", "/usr/bin/hc");
    ASSERT_TRUE(rtf_.ExportFormat(3, {0}, folder, "g.rtf", shell, settings));
    EXPECT_NE(ReadFile(TestDir() / "formati" / "g.rtf").find("{\\fldrslt Titolo;chiave}"),
              std::string::npos);
    ASSERT_EQ(shell.Starts().size(), 1u);
    EXPECT_EQ(shell.Starts()[0].command.argv.at(0), "/usr/bin/hc");
    // Format 1 is the plain variant: no footnotes; format 2 writes one file per page.
    ASSERT_TRUE(rtf_.ExportFormat(1, {0}, folder, "uno.rtf", shell, settings));
    EXPECT_EQ(ReadFile(TestDir() / "formati" / "uno.rtf").find("\\footnote"), std::string::npos);
    ASSERT_TRUE(rtf_.ExportFormat(2, {0}, folder, "", shell, settings));
    EXPECT_TRUE(std::filesystem::exists(TestDir() / "formati" / "index.rtf"));  // the home page
    EXPECT_FALSE(rtf_.ExportFormat(4, {0}, folder, "x.txt", shell, settings));
}

// A word processor that makes a ".doc" by copying the RTF it is given.
class CopyingWordProcessor final : public IWordProcessor {
public:
    bool available = true;
    std::vector<std::string> seen;  // the RTF files' bytes, in order
    bool Available() const override { return available; }
    Result<std::filesystem::path> Convert(const std::filesystem::path& file,
                                          std::string_view format,
                                          const std::filesystem::path& folder) override {
        EXPECT_EQ(format, "doc");
        seen.push_back(ReadFile(file));
        std::filesystem::path doc = folder / file.filename();
        doc.replace_extension(".doc");
        WriteFile(doc, "DOC" + seen.back());
        return doc;
    }
};

TEST_F(RtfExportTest, WordDocumentsGoThroughTemporaryRtf) {
    Page(0, "<Z S0 >uno");
    Page(1, "<Z S0 >due");
    MemorySettings settings;
    RecordingShell shell;
    CopyingWordProcessor word;
    const std::filesystem::path out = TestDir() / "doc";
    std::filesystem::create_directories(out);
    std::vector<int> phases;
    rtf_.OnExpProgress = [&](TKYTconv&, int, int, int phase) { phases.push_back(phase); };
    ASSERT_TRUE(rtf_.ExportFormat(5, {0, 1}, NameOfPath(out), "tutto.doc", shell, settings, &word));
    ASSERT_EQ(word.seen.size(), 1u);
    EXPECT_NE(word.seen[0].find("uno\\par \r\n\\sect\\sectd "), std::string::npos);
    EXPECT_TRUE(ReadFile(out / "tutto.doc").starts_with("DOC{\\rtf1"));
    EXPECT_EQ(phases, (std::vector<int>{1, 1, 3}));
    // The temporary RTF is gone.
    EXPECT_TRUE(std::filesystem::is_empty(set_.WorkingDirectory() / "rtftmp"));
    ASSERT_TRUE(rtf_.ExportFormat(6, {0, 1}, NameOfPath(out), "", shell, settings, &word));
    EXPECT_EQ(word.seen.size(), 3u);
    EXPECT_TRUE(std::filesystem::exists(out / "index.doc"));
    EXPECT_TRUE(std::filesystem::exists(out / "000001.doc"));
    // No word processor: the message, nothing written.
    word.available = false;
    const Status absent =
        rtf_.ExportFormat(5, {0}, NameOfPath(out), "altro.doc", shell, settings, &word);
    ASSERT_FALSE(absent);
    EXPECT_EQ(absent.failure().text,
              "MsWord non installato, o linguaggio di MsWord non supportato.");
    EXPECT_FALSE(std::filesystem::exists(out / "altro.doc"));
}

TEST_F(RtfExportTest, CommentsBecomeAnnotations) {
    TKYToggetto& comment = Object(K::shortObj);
    comment.Record()[4] = 10;
    comment.SetAuxiliary(std::string("\xE8va\r\nriga {1}\r\nriga 2"));
    TKYToggetto& unsigned_ = Object(K::shortObj);
    unsigned_.Record()[4] = 10;
    unsigned_.SetAuxiliary(std::string("\r\nsenza autore"));
    const std::string body = Body("<Z S0 >a" + Code(comment) + "b" + Code(unsigned_));
    EXPECT_NE(
        body.find("a\\v{\\*\\atnid \\'c8}{\\*\\atnauthor \\'e8va}\\chatn {\\*\\annotation "
                  "\\pard\\plain\\fs20 \\widctlpar{\\chatn }riga \\{1\\}\\par \r\nriga 2}\\v0 b"),
        std::string::npos)
        << body;
    // An empty first line: the author is "Orvo".
    EXPECT_NE(body.find("{\\*\\atnid O}{\\*\\atnauthor Orvo}\\chatn {\\*\\annotation \\pard\\plain"
                        "\\fs20 \\widctlpar{\\chatn }senza autore}\\v0 "),
              std::string::npos)
        << body;
    // Headers and footers write no comments.
    EXPECT_EQ(rtf_.WriteRtfBody("<Z S0 >a" + Code(comment), rpHeader).find("annotation"),
              std::string::npos);
}

// A table of `columns` columns, kinds and widths given, `rows` rows, border in pixels.
class RtfTableTest : public RtfExportTest {
protected:
    TKYToggetto& Table(int rows, int columns, int border, std::vector<std::pair<int, int>> cols) {
        TKYToggetto& table = Object(K::tabellaHtml);
        RecordView r = table.View();
        r.SetU8(kTableRows, std::uint8_t(rows));
        r.SetU8(kTableColumns, std::uint8_t(columns));
        r.SetU8(kTableBorder, std::uint8_t(border));
        r.SetU8(kTablePadding, 2);
        for (std::size_t c = 0; c < cols.size(); ++c) {
            r.SetU8At(kTableColumnKinds + c, std::uint8_t(cols[c].first));
            r.SetI16At(kTableColumnWidths + 2 * c, std::int16_t(cols[c].second));
        }
        return table;
    }
};

TEST_F(RtfTableTest, RowsCellsAndWidths) {
    // Three percent columns of 33: the parts of 9071 twips add up with carried remainders.
    TKYToggetto& table = Table(2, 3, 0, {{0, 33}, {0, 33}, {0, 34}});
    std::string markup = "<Z S0 l0 r0 >" + Code(table);
    for (int i = 0; i < 6; ++i) markup += "<Z S1 >c" + std::to_string(i) + "<T>";
    markup += "<Z S0 >after";
    const std::string body = Body(markup);
    const std::string row = "\\trowd\\trleft0\\trgaph30\\cellx2993\\cellx5986\\cellx9071 ";
    EXPECT_NE(body.find("\\li0\\ri0\\sb0\\sa0 " + row + "\\pard\\intbl\\s2"), std::string::npos)
        << body;
    EXPECT_NE(body.find("c0\\cell \\pard\\intbl"), std::string::npos);
    EXPECT_NE(body.find("c2\\cell \\row " + row + "\\pard\\intbl"), std::string::npos);
    EXPECT_NE(body.find("c5\\cell \\row \\pard\\plain \\s1"), std::string::npos) << body;
    EXPECT_EQ(body.find("\\par \r\n\\pard\\intbl"), std::string::npos);
}

TEST_F(RtfTableTest, BordersFixedAndAutomaticColumns) {
    struct Case {
        int pixels;
        std::string border;
    };
    // 5 px = 75 twips (thin), 6 px = 90 (thick, halved), 10 px = 150, 11 px = 165 (75).
    for (const Case& c : {Case{5, "\\brdrs\\brdrw75"}, Case{6, "\\brdrth\\brdrw45"},
                          Case{10, "\\brdrth\\brdrw75"}, Case{11, "\\brdrth\\brdrw75"}}) {
        TKYToggetto& table = Table(1, 3, c.pixels, {{1, 100}, {2, 0}, {2, 0}});
        const std::string body = Body("<Z S0 l10 r10 >" + Code(table) + "<T><T><T>");
        const std::string& B = c.border;
        // Available: 11905 - 2834 - 150 - 150 = 8771; the fixed column 1500, the first free
        // one 30, the last the rest plus 30.
        const std::string cell =
            "\\clbrdrb" + B + "\\clbrdrt" + B + "\\clbrdrl" + B + "\\clbrdrr" + B;
        EXPECT_NE(
            body.find("\\trowd\\trleft0\\trgaph30\\trbrdrt" + B + "\\trbrdrl" + B + "\\trbrdrb" +
                      B + "\\trbrdrr" + B + "\\trbrdrh" + B + "\\trbrdrv" + B + " " + cell +
                      "\\cellx1500" + cell + "\\cellx1530" + cell + "\\cellx8771 "),
            std::string::npos)
            << body;
    }
}

TEST_F(RtfTableTest, CellColoursEmptyTablesAndTextsEndingInsideATable) {
    TKYToggetto& table = Table(1, 2, 0, {{0, 50}, {0, 50}});
    std::string backgrounds;
    for (std::uint32_t v : {0x0000FFu, 0x03000001u}) {
        for (int i = 0; i < 4; ++i) backgrounds += char((v >> (8 * i)) & 0xFF);
    }
    table.SetAuxiliary(backgrounds);
    const std::string body = Body("<Z S0 l0 r0 >" + Code(table) + "<Z S1 >a");
    EXPECT_NE(body.find("\\trgaph30\\clcfpat2\\clshdng10000\\cellx4535\\cellx9071 "),
              std::string::npos)
        << body;
    // The open cells are closed at the end, so every row ends.
    EXPECT_NE(body.find("a\\cell \\cell \\row \\par \r\n"), std::string::npos) << body;

    // A table whose cells are not written inline ("<@>" after its code) waits for none.
    EXPECT_EQ(Body("<Z S0 >" + Code(table) + "<@><Z S0 >x"),
              std::string(kPlainPara) + "\\par \r\n" + std::string(kPlainPara) + "x\\par \r\n");
    // Tables nested a thousand deep in a text that ends: only the outer one's cells close.
    TKYToggetto& big = Table(255, 50, 0, {});
    std::string nested = "<Z S0 >";
    for (int i = 0; i < 1000; ++i) nested += Code(big);
    const std::string closed = Body(nested);
    std::size_t cells = 0;
    for (std::size_t at = closed.find("\\cell "); at != std::string::npos;
         at = closed.find("\\cell ", at + 1))
        ++cells;
    EXPECT_EQ(cells, 255u * 50u);
    EXPECT_TRUE(closed.ends_with("\\cell \\row \\par \r\n"));
    // No columns: nothing is laid out and nothing divides by zero; a stray cell end is skipped.
    TKYToggetto& empty = Table(3, 0, 1, {});
    EXPECT_EQ(Body("<Z S0 >" + Code(empty) + "x<T>y"), std::string(kPlainPara) + "xy\\par \r\n");
}

TEST_F(RtfExportTest, OneFileExportHeadersFootersAndSeparators) {
    set_.HeaderRecordView().SetI32(kHdrHeaderPage, 10);
    Page(10, "<Z S0 >testa");
    Page(11, "<Z S0 >piede");
    Page(0, "<Z S0 >uno");
    TKYToggetto& two = Page(1, "<Z S0 >due");
    PageRecord(two).SetHeader(kHypertextHeaderFooter);
    PageRecord(two).SetFooter(11);
    TKYToggetto& three = Page(2, "<Z S0 >tre");
    PageRecord(three).SetHeader(kHypertextHeaderFooter);
    PageRecord(three).SetFooter(11);
    rtf_.ExportFileName = NameOfPath(TestDir() / "uno.rtf");
    std::vector<std::string> progress;
    rtf_.OnExpProgress = [&](TKYTconv&, int pag, int tot, int phase) {
        progress.push_back(std::to_string(pag) + "/" + std::to_string(tot) + ":" +
                           std::to_string(phase));
    };
    ASSERT_TRUE(rtf_.ExportPages({0, 1, 2}));
    const std::string rtf = ReadFile(TestDir() / "uno.rtf");
    const std::string p = std::string(kPlainPara);
    const std::size_t body = rtf.find("\\margr1417 ");
    ASSERT_NE(body, std::string::npos);
    EXPECT_EQ(rtf.substr(body + 11), "{\\header }{\\footer }" + p + "uno\\par \r\n" +
                                         "\\sect\\sectd {\\header " + p +
                                         "testa\\par \r\n}{\\footer " + p + "piede\\par \r\n}" + p +
                                         "due\\par \r\n" + "\\sect\\sectd " + p + "tre\\par \r\n}");
    EXPECT_EQ(progress, (std::vector<std::string>{"0/3:1", "1/3:1", "2/3:1"}));
    // The temporary body is gone.
    EXPECT_FALSE(std::filesystem::exists(set_.WorkingDirectory() / "rtfBody.tmp"));
}

TEST_F(RtfExportTest, LargeBodyAsksOnceAndNoStopsWithAWholeDocument) {
    for (int i = 0; i < 4; ++i) Page(i, "<Z S0 >pagina " + std::to_string(i));
    rtf_.ExportFileName = NameOfPath(TestDir() / "grande.rtf");
    rtf_.LargeBodyLimit = 200;
    messages_.ScriptAnswers({Answer::No});
    ASSERT_TRUE(rtf_.ExportPages({0, 1, 2, 3}));
    ASSERT_EQ(messages_.Questions().size(), 1u);
    EXPECT_EQ(messages_.Questions()[0], kRtfLargeQuestion);
    std::string rtf = ReadFile(TestDir() / "grande.rtf");
    EXPECT_NE(rtf.find("pagina 1"), std::string::npos);
    EXPECT_EQ(rtf.find("pagina 2"), std::string::npos);
    EXPECT_TRUE(rtf.ends_with("\\par \r\n}"));
    // Yes: asked once, every page written.
    messages_.Clear();
    messages_.ScriptAnswers({Answer::Yes});
    ASSERT_TRUE(rtf_.ExportPages({0, 1, 2, 3}));
    EXPECT_EQ(messages_.Questions().size(), 1u);
    EXPECT_NE(ReadFile(TestDir() / "grande.rtf").find("pagina 3"), std::string::npos);
}

TEST_F(RtfExportTest, UnwritableTargetIsReported) {
    Page(0, "<Z S0 >x");
    rtf_.ExportFileName = NameOfPath(TestDir() / "manca" / "x.rtf");
    const Status done = rtf_.ExportPages({0});
    ASSERT_FALSE(done);
    EXPECT_EQ(done.failure().text, "Errore nella scrittura file " + rtf_.ExportFileName);
    EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(RtfExportTest, PerPageFilesEachWithItsOwnTables) {
    set_.SetExpPrefix("p");
    set_.HeaderRecordView().SetI32(kHdrCoverPage, 0);
    Page(0, "<Z S0 ><Y c00FF00 F\"Arial\" >verde");
    Page(1, "<Z S0 >nero");
    rtf_.ExportPath = NameOfPath(TestDir() / "pagine");
    std::filesystem::create_directories(TestDir() / "pagine");
    ASSERT_TRUE(rtf_.ExportPerPage({0, 1}));
    const std::string second = ReadFile(TestDir() / "pagine" / "p000001.rtf");
    EXPECT_NE(second.find("{\\colortbl;\\red0\\green0\\blue0;}"), std::string::npos);
    EXPECT_EQ(second.find("Arial"), std::string::npos);
    EXPECT_NE(second.find("{\\info"), std::string::npos);
    EXPECT_TRUE(second.ends_with("nero\\par \r\n}}"));
    EXPECT_NE(ReadFile(TestDir() / "pagine" / "pindex.rtf").find("Arial"), std::string::npos);
}

TEST_F(RtfExportTest, PerPageNamesStayInTheChosenFolder) {
    // A document's prefix with folder parts, as a hostile or damaged file may hold.
    for (const char* prefix : {"../../../../esc", "..\\..\\esc", "/tmp/esc", "c:esc"}) {
        const std::filesystem::path root = TestDir() / "a" / "b" / "c" / "d";
        std::filesystem::remove_all(TestDir() / "a");
        std::filesystem::create_directories(root / "pagine");
        set_.SetExpPrefix(prefix);
        Page(1, "<Z S0 >x");
        rtf_.ExportPath = NameOfPath(root / "pagine");
        ASSERT_TRUE(rtf_.ExportPerPage({1})) << prefix;
        std::vector<std::filesystem::path> written;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(TestDir() / "a"))
            if (entry.is_regular_file()) written.push_back(entry.path());
        ASSERT_EQ(written.size(), 1u) << prefix;
        EXPECT_EQ(written[0].parent_path(), root / "pagine") << prefix;
        EXPECT_TRUE(written[0].filename().string().ends_with("esc000001.rtf")) << written[0];
    }
}

TEST_F(RtfExportTest, SampleHypertextGolden) {
    MakeSampleHypertext(set_, {});
    std::vector<std::int32_t> pages;
    for (const auto& page : set_.KindList(K::testoHtml))
        if (page && !page->IsFree()) pages.push_back(page->Identifier());
    rtf_.ExportFileName = NameOfPath(TestDir() / "guida.rtf");
    ASSERT_TRUE(rtf_.ExportPages(pages));
    ExpectMatchesGolden("convert", "rtf_sample.rtf", ReadFile(TestDir() / "guida.rtf"));
    TKYTtortf help(&set_, metrics_);
    help.TitlesAsKeywords = true;
    help.ExportFileName = NameOfPath(TestDir() / "guida_help.rtf");
    ASSERT_TRUE(help.ExportHelp(pages));
    ExpectMatchesGolden("convert", "rtf_sample_help.rtf", ReadFile(TestDir() / "guida_help.rtf"));
    ExpectMatchesGolden("convert", "rtf_sample_help.hpj", ReadFile(TestDir() / "guida_help.HPJ"));
}

}  // namespace
}  // namespace orvo
