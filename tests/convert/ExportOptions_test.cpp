// The export window's format choice and the HTML options kept in the settings.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/Paths.h"
#include "convert/ExportOptions.h"
#include "convert/HtmlExport.h"
#include "convert/TKYTListHtmlToTx.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/ISettings.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

TEST(ExportOptions, FormatFromFileName) {
    EXPECT_EQ(FormatForFileName("Guida.htm", false), 0);
    EXPECT_EQ(FormatForFileName("C:\\x\\Guida.HTML", false), 0);
    EXPECT_EQ(FormatForFileName("a.rtf", true), 1);
    EXPECT_EQ(FormatForFileName("a.cpp", false), 4);
    EXPECT_EQ(FormatForFileName("a.c", false), 4);  // ".c;" is no part of ".cpp;"
    EXPECT_EQ(FormatForFileName("a.doc", false), -1);
    EXPECT_EQ(FormatForFileName("a.doc", true), 5);
    EXPECT_EQ(FormatForFileName("a.ht", false), -1);  // "*.htm;" does not hold ".ht;"
    EXPECT_EQ(FormatForFileName("senza", false), -1);
    EXPECT_EQ(FormatForFileName("a.wri", false), -1);
    EXPECT_EQ(FormatForFileName("a.WRI", true), 5);
    EXPECT_EQ(FormatSection(4), "exp\\4");
}

TEST(ExportOptions, FormatListAndWhatEachFormatShows) {
    const std::vector<ExportFormat> withoutWord{
        {0, "HTML"},
        {1, "RTF (Word, Word Perfect, Publisher, ...): un solo file"},
        {2, "RTF (Word, Word Perfect, Publisher, ...): un file per ogni pagina"},
        {3, "RTF (WinHelp Compiler): un solo file"},
        {4, "ASCII (Blocco note,...)"}};
    EXPECT_EQ(ExportFormats(false), withoutWord);
    std::vector<ExportFormat> withWord = withoutWord;
    withWord.push_back({5, "DOC (Word): un solo file"});
    EXPECT_EQ(ExportFormats(true), withWord);
    EXPECT_EQ(FormatCaption(6), "");
    EXPECT_EQ(FormatCaption(-1), "");
    EXPECT_EQ(FormatExtensions(3), "*.rtf;");
    EXPECT_EQ(FormatExtensions(6), "*.doc;*.wri;*.rtf;");
    EXPECT_EQ(FormatExtensions(7), "");

    EXPECT_EQ(ListTypeForFormat(0), TListType::ltHtml);
    EXPECT_EQ(ListTypeForFormat(2), TListType::ltManyFiles);
    EXPECT_EQ(ListTypeForFormat(6), TListType::ltManyFiles);
    for (int format : {1, 3, 4, 5}) {
        EXPECT_EQ(ListTypeForFormat(format), TListType::ltOneFile) << format;
        EXPECT_TRUE(FormatHasMainFile(format)) << format;
        EXPECT_TRUE(FormatTicksEveryRow(format)) << format;
    }
    for (int format : {0, 2, 6}) EXPECT_FALSE(FormatHasMainFile(format)) << format;
    EXPECT_TRUE(FormatTicksEveryRow(0));
    EXPECT_FALSE(FormatTicksEveryRow(2));
    EXPECT_FALSE(FormatTicksEveryRow(6));

    EXPECT_EQ(ProposedMainFileName("/home/anna/Guida.kyt", 0), "Guida.htm");
    EXPECT_EQ(ProposedMainFileName("/home/anna/Guida.kyt", 1), "Guida.rtf");
    EXPECT_EQ(ProposedMainFileName("C:\\dati\\Guida.v2.KYT", 3), "Guida.v2.rtf");
    EXPECT_EQ(ProposedMainFileName("/home/anna/Guida.kyt", 4), "Guida.txt");
    EXPECT_EQ(ProposedMainFileName("/home/anna/Guida.kyt", 5), "Guida.doc");
    EXPECT_EQ(ProposedMainFileName("/home/anna/Guida.kyt", 2), "");
    EXPECT_EQ(ProposedMainFileName("/home/anna/Guida.kyt", 6), "");
    EXPECT_EQ(ProposedMainFileName("", 4), "Senza titolo.txt");
    // The proposal chooses the format again: the document's ".htm" name gives HTML.
    EXPECT_EQ(FormatForFileName(ProposedMainFileName("/x/Guida.kyt", 0), false), 0);
    EXPECT_EQ(FormatForFileName(ProposedMainFileName("/x/Guida.kyt", 4), false), 4);
}

TEST(ExportOptions, EachFormatKeepsItsOwnSection) {
    MemorySettings settings;
    const FormatSettings defaults = LoadFormatSettings(settings, 1, "/tmp/anna");
    EXPECT_EQ(defaults.directory, "/tmp/anna/");
    EXPECT_EQ(defaults.width, 210);
    EXPECT_EQ(defaults.height, 297);
    EXPECT_EQ(defaults.top, 15);
    EXPECT_EQ(defaults.bottom, 15);
    EXPECT_EQ(defaults.left, 15);
    EXPECT_EQ(defaults.right, 15);
    EXPECT_EQ(defaults.runCompiler, 0);
    EXPECT_EQ(defaults.titlesAsKeywords, 0);
    EXPECT_EQ(defaults.registeredCompiler, 1);

    FormatSettings rtf = defaults;
    rtf.directory = "/home/anna\\esporta\\rtf";
    rtf.width = 148;
    rtf.height = 210;
    rtf.top = 10;
    rtf.bottom = 11;
    rtf.left = 12;
    rtf.right = 13;
    rtf.runCompiler = 1;
    rtf.titlesAsKeywords = 1;
    rtf.registeredCompiler = 0;
    SaveFormatSettings(settings, 3, rtf);
    EXPECT_EQ(settings.ReadString("exp\\3", "expPathInWindow"), "/home/anna/esporta/rtf/");
    EXPECT_EQ(settings.ReadString("exp\\3", "largh"), "148");
    EXPECT_EQ(settings.ReadString("exp\\3", "lungh"), "210");
    EXPECT_EQ(settings.ReadString("exp\\3", "sx"), "12");
    EXPECT_EQ(settings.ReadString("exp\\3", "dx"), "13");
    EXPECT_EQ(settings.ReadString("exp\\3", "runDefaultHcp"), "0");
    FormatSettings back = LoadFormatSettings(settings, 3, "/tmp/anna");
    rtf.directory = "/home/anna/esporta/rtf/";
    EXPECT_EQ(back, rtf);
    // Another format is untouched; values that are no numbers give the defaults.
    EXPECT_EQ(LoadFormatSettings(settings, 4, "/tmp/anna/"), defaults);
    settings.Write("exp\\4", "largh", "largo");
    settings.Write("exp\\4", "top", "");
    settings.Write("exp\\4", "expPathInWindow", "/srv/sito");
    const FormatSettings odd = LoadFormatSettings(settings, 4, "/tmp/anna");
    EXPECT_EQ(odd.width, 210);
    EXPECT_EQ(odd.top, 15);
    EXPECT_EQ(odd.directory, "/srv/sito/");

    EXPECT_EQ(CompilerPath(settings), "");
    settings.Write("options", "HcpPath", "/opt/hc/hcw");
    EXPECT_EQ(CompilerPath(settings), "/opt/hc/hcw");
    EXPECT_EQ(WithTrailingSeparator(""), "/");
    EXPECT_EQ(WithTrailingSeparator("a\\b\\"), "a/b/");

    EXPECT_EQ(DirectoryFailureText("/sola/lettura"),
              "Errore nella creazione directory: \"/sola/lettura\" controlla la linguetta "
              "\"path\".");
}

TEST(ExportOptions, TickButtonAndTicksKeptAcrossARebuild) {
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    for (int i = 0; i < 3; ++i) {
        auto page = NewObjectOfKind(TOggettiHel::testoHtml, &set);
        page->Clear();
        page->TakeIntoUse();
        set.Register(std::move(page), i);
        PageRecord(*set.ObjectByKind(TOggettiHel::testoHtml, i))
            .SetTitle(std::string(1, char('a' + i)));
    }
    TKYTtoHtml html(&set);
    TKYTListHtmlToTx list(&html);
    ShowFormatInList(list, 2);
    ASSERT_EQ(list.Rows().size(), 3u);
    EXPECT_EQ(list.ListType, TListType::ltManyFiles);
    for (const TListHtmlRow& row : list.Rows()) EXPECT_FALSE(row.checked);
    EXPECT_EQ(PressAllRowsButton("Tutte", list), "Nessuna");
    for (const TListHtmlRow& row : list.Rows()) EXPECT_TRUE(row.checked);
    EXPECT_EQ(PressAllRowsButton("Nessuna", list), "Tutte");
    for (const TListHtmlRow& row : list.Rows()) EXPECT_FALSE(row.checked);
    ShowFormatInList(list, 4);
    EXPECT_EQ(list.ListType, TListType::ltOneFile);
    for (const TListHtmlRow& row : list.Rows()) EXPECT_TRUE(row.checked);

    // The HTML options changed: the same rows keep their ticks.
    ShowFormatInList(list, 0);
    ASSERT_EQ(list.Rows().size(), 4u);  // "Stili del testo" and the pages
    list.MutableRows()[0].checked = false;
    list.MutableRows()[2].checked = false;
    html.ExpTipoExt = 0;
    ASSERT_TRUE(RebuildKeepingTicks(list));
    EXPECT_EQ(list.Rows()[2].texts[colFile], "_000001.htm");
    EXPECT_FALSE(list.Rows()[0].checked);
    EXPECT_TRUE(list.Rows()[1].checked);
    EXPECT_FALSE(list.Rows()[2].checked);
    EXPECT_TRUE(list.Rows()[3].checked);
    // A row more: the new list keeps its own ticks.
    auto extra = NewObjectOfKind(TOggettiHel::testoHtml, &set);
    extra->Clear();
    extra->TakeIntoUse();
    set.Register(std::move(extra), 3);
    EXPECT_FALSE(RebuildKeepingTicks(list));
    ASSERT_EQ(list.Rows().size(), 5u);
    for (const TListHtmlRow& row : list.Rows())
        EXPECT_EQ(row.checked, row.code == std::nullopt) << row.caption;
}

TEST(ExportOptions, HtmlOptionsInTheSettings) {
    MemorySettings settings;
    TKYTtoHtml html;
    html.ExpOrigName = html.ExpSepImage = true;
    html.ExpAlt = false;
    html.ExpTipoExt = 1;
    LoadHtmlOptions(settings, html);  // nothing stored: the defaults of the settings
    EXPECT_FALSE(html.ExpOrigName);
    EXPECT_FALSE(html.ExpSepImage);
    EXPECT_TRUE(html.ExpAlt);
    EXPECT_EQ(html.ExpTipoExt, 0);
    settings.Write("htmlexp", "expOrigName", "yes");
    settings.Write("htmlexp", "expAlt", "x");
    settings.Write("htmlexp", "expTipoExt", "7");
    LoadHtmlOptions(settings, html);
    EXPECT_FALSE(html.ExpOrigName);
    EXPECT_TRUE(html.ExpAlt);
    EXPECT_EQ(html.ExpTipoExt, 1);
    html.ExpSepImage = true;
    html.ExpAlt = false;
    SaveHtmlOptions(settings, html);
    EXPECT_EQ(settings.ReadString("HTMLEXP", "expsepimage"), "1");
    EXPECT_EQ(settings.ReadString("htmlexp", "expAlt"), "0");
    TKYTtoHtml again;
    LoadHtmlOptions(settings, again);
    EXPECT_TRUE(again.ExpSepImage);
    EXPECT_FALSE(again.ExpAlt);
    EXPECT_EQ(again.ExpTipoExt, 1);
}

TEST(ExportOptions, TheWindowsHtmlRunExportsTheTickedPagesWithTheirAliases) {
    using namespace orvo::test;
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    auto picture = NewObjectOfKind(TOggettiHel::immagine, &set);
    picture->Clear();
    picture->TakeIntoUse();
    picture->SetFileName("sfondo.gif");
    picture->SetContent("GIF89a");
    TKYToggetto* background =
        set.ObjectByKind(TOggettiHel::immagine, set.Register(std::move(picture)));
    for (int i = 0; i < 3; ++i) {
        auto made = NewObjectOfKind(TOggettiHel::testoHtml, &set);
        made->Clear();
        made->TakeIntoUse();
        set.Register(std::move(made), i);
        TKYToggetto& page = *set.ObjectByKind(TOggettiHel::testoHtml, i);
        PageRecord record(page);
        record.SetTitle(std::string(1, char('a' + i)));
        record.SetHeader(kNoHeaderFooter);
        record.SetFooter(kNoHeaderFooter);
        page.SetContent(std::string("<Z S0 >x") + '\0');
    }
    PageRecord(*set.ObjectByKind(TOggettiHel::testoHtml, 1)).SetAlias("uno.html");
    PageRecord(*set.ObjectByKind(TOggettiHel::testoHtml, 2))
        .SetBackgroundPicture(background->Identifier());
    set.SetExpPrefix("sito");
    TKYTtoHtml html(&set);
    html.PrefixOverride = "altro";
    html.ExportPath = NameOfPath(TestDir() / "fuori" / "sito");
    TKYTListHtmlToTx list(&html);
    list.Rebuild();
    // "Stili del testo" is ticked; of the pages "b" and "c".
    list.MutableRows()[2].checked = list.MutableRows()[3].checked = true;
    list.ExportedImages = {background, background};
    std::vector<std::string> shown;
    int ownProgress = 0;
    html.OnExpProgress = [&](TKYTconv&, int, int, int) { ++ownProgress; };
    ASSERT_TRUE(RunHtmlExport(html, list, [&](const std::string& text) { shown.push_back(text); }));
    EXPECT_EQ(shown, (std::vector<std::string>{"Export in corso, fase 1: 0%",
                                               "Export in corso, fase 1: 50%",
                                               "Export in corso, fase 3: 0%"}));
    EXPECT_EQ(ownProgress, 0);
    EXPECT_EQ(html.PrefixOverride, "sito");
    EXPECT_EQ(list.ExportedImages, std::vector<TKYToggetto*>{background});
    const auto folder = TestDir() / "fuori" / "sito";
    EXPECT_TRUE(std::filesystem::exists(folder / "sito_style.css"));
    EXPECT_FALSE(std::filesystem::exists(folder / "sito_index.html"));
    EXPECT_TRUE(std::filesystem::exists(folder / "sito_000001.html"));
    EXPECT_TRUE(std::filesystem::exists(folder / "sito_000002.html"));
    char gif[32];
    std::snprintf(gif, sizeof gif, "sito_i%06x.gif", unsigned(background->Identifier()));
    EXPECT_EQ(ReadFile(folder / gif), "GIF89a");
    EXPECT_EQ(TKYTtoHtml::ReadPageMarker(NameOfPath(folder / "uno.html")).page, 1);
    EXPECT_NE(ReadFile(folder / "uno.html").find("URL=sito_000001.html"), std::string::npos);
    // The export's own progress handler is back in place.
    ASSERT_TRUE(html.ExportPages({0}));
    EXPECT_EQ(ownProgress, 1);

    // A folder that cannot be made: the window's text, and nothing written.
    WriteFile(TestDir() / "file", "x");
    html.ExportPath = NameOfPath(TestDir() / "file" / "sito");
    shown.clear();
    Status failed =
        RunHtmlExport(html, list, [&](const std::string& text) { shown.push_back(text); });
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.failure().text, "Errore nella creazione directory: \"" + html.ExportPath +
                                         "\" controlla la linguetta \"path\".");
    EXPECT_TRUE(shown.empty());
    html.ExportPath.clear();
    failed = RunHtmlExport(html, list, nullptr);
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.failure().text,
              "Errore nella creazione directory: \"\" controlla la linguetta \"path\".");
}

}  // namespace
}  // namespace orvo
