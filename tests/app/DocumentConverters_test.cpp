// The main window with the real converters: a text file opened, dropped or followed becomes
// pages of an unnamed hypertext; the current page saved as text and HTML; the preview export;
// page markers; what is not built yet says so.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "MainFormSupport.h"
#include "app/DocumentConverters.h"
#include "base/Paths.h"
#include "convert/TextExport.h"
#include "model/ObjectRecord.h"
#include "model/uKYTpag.h"
#include "platform/FixedMetrics.h"
#include "support/ProgramRun.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

namespace fs = std::filesystem;

using CliRun = ProgramRun;

// orvo-cli with `args`, as a user runs it.
CliRun RunCli(std::vector<std::string> args) {
    return RunOrvoCli(std::move(args));
}

class DocumentConvertersTest : public MainFormTest {
protected:
    DocumentConvertersTest() { documents_.AttachEditor(&editor_); }

    // As MainFormTest::Start, with the real converters in place of the scripted ones.
    void StartWithDocuments() {
        MainFormServices services{environment_, messages_,     settings_,  scheduler_, shell_,
                                  prompter_,    editor_,       documents_, print_,     publish_,
                                  windows_,     *linkedFiles_, view_};
        services.probeWordProcessor = [] { return 0; };
        form_ = std::make_unique<TMainFormRules>(main_, library_, services, AllServices());
        form_->FormCreate();
        form_->FormShow({});
        messages_.Clear();
    }
    std::string Text(std::string_view relative, std::string_view bytes) {
        const fs::path path = TestDir() / "testi" / std::string(relative);
        WriteFile(path, bytes);
        return NameOfPath(path);
    }
    int Pages() const { return main_.KindCount(TOggettiHel::testoHtml); }

    FixedMetrics metrics_;
    DocumentConverters documents_{main_, messages_, metrics_};
};

TEST_F(DocumentConvertersTest, OpeningATextFileImportsItIntoAnUnnamedHypertext) {
    StartWithDocuments();
    const std::string source = Text("Appunti.txt", "prima riga\r\nseconda & ultima");
    form_->openFile(source, false);
    EXPECT_EQ(Pages(), 1);
    EXPECT_EQ(PageText(main_, 0), "prima riga\r\nseconda & ultima");
    EXPECT_TRUE(form_->DocumentPath().empty());  // never saved over the text file
    EXPECT_TRUE(form_->DocumentChanged());
    EXPECT_TRUE(form_->EditMode());
    EXPECT_NE(std::find(editor_.calls.begin(), editor_.calls.end(), "ShowPage 0"),
              editor_.calls.end());
    EXPECT_TRUE(messages_.Shown().empty());

    // Saving asks for a name, proposing the source's with ".kyt".
    prompter_.saves.push_back(std::nullopt);
    EXPECT_FALSE(form_->FileSave());
    ASSERT_EQ(prompter_.saveRequests.size(), 1u);
    EXPECT_EQ(prompter_.saveRequests[0].fileName, "Appunti.kyt");
    EXPECT_EQ(prompter_.saveRequests[0].folder, NameOfPath(TestDir() / "testi"));
    EXPECT_EQ(ReadFile(NativePath(source)), "prima riga\r\nseconda & ultima");

    // Saved under the name given, the hypertext has its file from then on.
    const std::string saved = NameOfPath(TestDir() / "Appunti.kyt");
    prompter_.saves.push_back(FileChoice{saved, 1});
    ASSERT_TRUE(form_->FileSave());
    EXPECT_EQ(form_->DocumentPath(), saved);
    EXPECT_EQ(PagesInFile(saved), 1);
}

TEST_F(DocumentConvertersTest, EveryPlainTextExtensionIsImportedOthersAreNotSupported) {
    for (std::string_view ext :
         {".txt", ".TXT", ".asc", ".pas", ".c", ".cpp", ".ini", ".h", ".inc", ".dpr"})
        EXPECT_TRUE(documents_.CanImport(ext)) << ext;
    for (std::string_view ext : {".rtf", ".htm", ".html", ".HTM"})
        EXPECT_TRUE(documents_.CanImport(ext)) << ext;
    // Word-processor documents only with a word processor attached.
    for (std::string_view ext : {".doc", ".wri", ".kyt", ""})
        EXPECT_FALSE(documents_.CanImport(ext)) << ext;

    StartWithDocuments();
    form_->openFile(Text("lettera.wri", "x"), false);
    EXPECT_EQ(messages_.Shown(),
              (std::vector<Message>{{Box::Information, "Non definito o non supportato."}}));
    EXPECT_EQ(Pages(), 0);
}

TEST_F(DocumentConvertersTest, DroppedTextFilesBecomePagesOfTheEditedHypertext) {
    StartWithDocuments();
    form_->FileNew();
    editor_.Take();
    form_->EditorDropFile(
        {Text("uno.txt", "uno"), Text("note.rtf", "{\\rtf1}"), Text("due.ini", "[due]")});
    EXPECT_EQ(Pages(), 3);
    EXPECT_EQ(PageText(main_, 0), "uno");
    EXPECT_EQ(PageText(main_, 1), "[due]");
    EXPECT_EQ(PageText(main_, 2), "");  // the RTF file holds no text
    EXPECT_EQ(editor_.Take(), (std::vector<std::string>{"ShowPage 0"}));
    EXPECT_TRUE(form_->DocumentChanged());
}

TEST_F(DocumentConvertersTest, AnUnreadableFileChangesNothingAndSaysNothing) {
    StartWithDocuments();
    form_->FileNew();
    EXPECT_EQ(documents_.ImportFiles({NameOfPath(TestDir() / "manca.txt")}), Outcome::Failed);
    EXPECT_EQ(Pages(), 0);
    EXPECT_TRUE(messages_.Shown().empty());
    // A missing RTF file is named in the import's problem list.
    EXPECT_EQ(documents_.ImportFiles({NameOfPath(TestDir() / "x.rtf")}), Outcome::Failed);
    EXPECT_EQ(Pages(), 0);
    ASSERT_EQ(messages_.Shown().size(), 1u);
    EXPECT_EQ(messages_.Shown()[0].text,
              std::string(kRtfProblems) + NameOfPath(TestDir() / "x.rtf") + "\r\n");
}

TEST_F(DocumentConvertersTest, TheCurrentPageSavedAsTextAndAsHtml) {
    StartWithDocuments();
    form_->openFile(Text("pagina.txt", "citt\xE0 <vecchia>"), false);
    editor_.current = 0;

    const std::string txt = NameOfPath(TestDir() / "fuori" / "pagina.txt");
    fs::create_directories(TestDir() / "fuori");
    EXPECT_TRUE(form_->saveAs(txt, 5, true, false));
    EXPECT_EQ(ReadFile(NativePath(txt)), "citt\xE0 <vecchia>");

    std::vector<std::string> progress;
    const std::string htm = NameOfPath(TestDir() / "sito" / "x.htm");
    EXPECT_EQ(documents_.ExportPage(PageFormat::Html, htm, 0,
                                    [&](int page, int phase, int total) {
                                        progress.push_back(std::to_string(page) + "/" +
                                                           std::to_string(phase) + "/" +
                                                           std::to_string(total));
                                    }),
              Outcome::Done);
    const fs::path page =
        TestDir() / "sito" / documents_.Html().ObjectFileName(*LivePage(main_, 0));
    const std::string html = ReadFile(page);
    EXPECT_NE(html.find("citt&agrave; &lt;vecchia&gt;"), std::string::npos) << html;
    EXPECT_EQ(progress, (std::vector<std::string>{"1/1/1"}));

    const std::string rtf = NameOfPath(TestDir() / "fuori" / "pagina.rtf");
    EXPECT_TRUE(form_->saveAs(rtf, 4, true, false));
    const std::string rtfBytes = ReadFile(NativePath(rtf));
    EXPECT_TRUE(rtfBytes.starts_with("{\\rtf1")) << rtfBytes;
    EXPECT_NE(rtfBytes.find("citt\\'e0 <vecchia>"), std::string::npos) << rtfBytes;

    EXPECT_EQ(documents_.ExportPage(PageFormat::Text, txt, 7, {}), Outcome::Failed);
}

TEST_F(DocumentConvertersTest, AnExportThatCannotBeWrittenShowsItsFailure) {
    StartWithDocuments();
    form_->openFile(Text("p.txt", "testo"), false);
    messages_.Clear();
    const std::string txt = NameOfPath(TestDir() / "non" / "esiste" / "p.txt");
    EXPECT_EQ(documents_.ExportPage(PageFormat::Text, txt, 0, {}), Outcome::Failed);
    ASSERT_EQ(messages_.Shown().size(), 1u);
    EXPECT_EQ(messages_.Shown()[0].box, Box::Error);
    EXPECT_NE(messages_.Shown()[0].text.find(txt), std::string::npos);

    // The RTF converter's failure, shown once by the program.
    messages_.Clear();
    const std::string rtf = NameOfPath(TestDir() / "non" / "esiste" / "p.rtf");
    EXPECT_EQ(documents_.ExportPage(PageFormat::Rtf, rtf, 0, {}), Outcome::Failed);
    EXPECT_EQ(messages_.Shown(),
              (std::vector<Message>{{Box::Error, "Errore nella scrittura file " + rtf}}));
}

TEST_F(DocumentConvertersTest, TheWordProcessorIsFoundOnThePath) {
    const fs::path bin = TestDir() / "office-bin";
    WriteFile(bin / "soffice", "#!/bin/sh\nexit 0\n");
    fs::permissions(bin / "soffice", fs::perms::owner_all);
    const char* saved = std::getenv("PATH");
    const std::string path = saved ? saved : "";
    ::setenv("PATH", (TestDir() / "nothing-here").c_str(), 1);
    EXPECT_EQ(DocumentConverters::ProbeWordProcessor(), 0);
    ::setenv("PATH", ((TestDir() / "nothing-here").string() + ":" + bin.string()).c_str(), 1);
    EXPECT_EQ(DocumentConverters::ProbeWordProcessor(), 1);
    ::setenv("PATH", path.c_str(), 1);
}

TEST_F(DocumentConvertersTest, ThePreviewExportsThePageOrTheWholeHypertext) {
    StartWithDocuments();
    documents_.ImportFiles({Text("a.txt", "primo"), Text("b.txt", "secondo")});
    const fs::path folder = TestDir() / "anteprima";
    const PreviewExport one = documents_.ExportForPreview(NameOfPath(folder), false, 1);
    ASSERT_EQ(one.outcome, Outcome::Done);
    EXPECT_EQ(one.mainPage,
              NameOfPath(folder / documents_.Html().ObjectFileName(*LivePage(main_, 1))));
    EXPECT_NE(ReadFile(NativePath(one.mainPage)).find("secondo"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder / documents_.Html().ObjectFileName(*LivePage(main_, 0))));

    const PreviewExport all = documents_.ExportForPreview(NameOfPath(folder), true, 1);
    ASSERT_EQ(all.outcome, Outcome::Done);
    EXPECT_EQ(all.mainPage,
              NameOfPath(folder / documents_.Html().ObjectFileName(*LivePage(main_, 0))));
    EXPECT_NE(ReadFile(NativePath(all.mainPage)).find("primo"), std::string::npos);
    EXPECT_EQ(documents_.ExportForPreview(NameOfPath(folder), false, 5).outcome, Outcome::Failed);
}

TEST_F(DocumentConvertersTest, ThePageMarkerOfAnExportedPageNamesItsDocument) {
    WriteDocument(scratch_, NameOfPath(TestDir() / "fonte.kyt"), 3);
    TKYTset source(environment_, messages_);
    ASSERT_TRUE(source.LoadFromFile(NameOfPath(TestDir() / "fonte.kyt")));
    TKYTtoHtml html(&source);
    html.ExportPath = NameOfPath(TestDir() / "marcato");
    std::vector<TKYToggetto*> images;
    std::vector<std::int32_t> exported;
    ASSERT_TRUE(html.ExportPage(images, exported, 2));
    const std::string file =
        NameOfPath(TestDir() / "marcato" / html.ObjectFileName(*LivePage(source, 2)));
    const auto marker = documents_.ReadPageMarker(file);
    ASSERT_TRUE(marker.has_value());
    EXPECT_EQ(marker->first, NameOfPath(fs::absolute(TestDir() / "fonte.kyt")));
    EXPECT_EQ(marker->second, 2);

    EXPECT_FALSE(documents_.ReadPageMarker(Text("plain.htm", "<HTML><BODY>x</BODY></HTML>")));
}

TEST_F(DocumentConvertersTest, WindowsNotBuiltYetAnswerNotSupported) {
    EXPECT_EQ(documents_.OpenImportWindow(), Outcome::NotSupported);
    EXPECT_EQ(documents_.OpenExportWindow("x.htm"), Outcome::NotSupported);
    // Web pages are imported: a missing one fails, and without the chooser's window opening one
    // imports it.
    EXPECT_EQ(documents_.ImportFollowingLinks("x.htm"), Outcome::Failed);
    EXPECT_EQ(documents_.ChooseHtmlOpening("x.htm").outcome, Outcome::Done);
    EXPECT_FALSE(documents_.PageImportedFrom("x.htm"));
}

TEST(CliTextCommands, ImportThenExportGivesTheTextBackWithCrLf) {
    const fs::path folder = TestDir() / "cli testo";
    WriteFile(folder / "perch\xC3\xA9.txt", "uno\tdue\ncitt\xE0 & <c>\n\nfine");
    const fs::path kyt = folder / "nuovo.kyt";
    const CliRun imported =
        RunCli({"import", (folder / "perch\xC3\xA9.txt").string(), kyt.string()});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(PagesInFile(NameOfPath(kyt)), 1);
    const CliRun exported = RunCli({"export", "txt", kyt.string(), (folder / "out.txt").string()});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(Escaped(ReadFile(folder / "out.txt")),
              Escaped("uno        due\r\ncitt\xE0 & <c>\r\n\r\nfine"));
}

TEST(CliTextCommands, OtherFormatsAndBadArgumentsFailWithTheirMessage) {
    FixedEnvironment environment;
    RecordingMessages messages;
    const fs::path folder = TestDir() / "cli altri";
    WriteFile(folder / "a.rtf", "{\\rtf1 x}");
    // A word processor's files go through LibreOffice when it is there (tested with the
    // desktop's import); a kind no converter takes is refused.
    WriteFile(folder / "a.xyz", "x");
    const CliRun rtf = RunCli({"import", (folder / "a.xyz").string(), (folder / "a.kyt").string()});
    EXPECT_EQ(rtf.status, 1);
    EXPECT_EQ(rtf.err, "Non definito o non supportato.\n");
    EXPECT_FALSE(fs::exists(folder / "a.kyt"));
    const CliRun imported =
        RunCli({"import", (folder / "a.rtf").string(), (folder / "r.kyt").string()});
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_TRUE(fs::exists(folder / "r.kyt"));

    const CliRun missing =
        RunCli({"import", (folder / "manca.txt").string(), (folder / "m.kyt").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("manca.txt"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "m.kyt"));

    const fs::path kyt = folder / "doc.kyt";
    TKYTset scratch(environment, messages);
    WriteDocument(scratch, NameOfPath(kyt), 1);
    const std::string before = ReadFile(kyt);
    EXPECT_EQ(RunCli({"export", "txt", kyt.string(), kyt.string()}).status, 1);
    EXPECT_EQ(ReadFile(kyt), before);

    EXPECT_EQ(RunCli({"import", "solo.txt"}).status, 1);
    const CliRun usage = RunCli({"export", "txt", "solo.kyt"});
    EXPECT_EQ(usage.status, 1);
    EXPECT_NE(usage.err.find("Usage: orvo-cli export txt FILE (OUT.txt | --per-page DIR)"),
              std::string::npos);
    EXPECT_NE(RunCli({"import", "--help"}).out.find("Usage: orvo-cli import SOURCE... FILE.kyt"),
              std::string::npos);
}

}  // namespace
}  // namespace orvo::test
