// The main window's document life cycle: start-up, open, modify, save, save as, close,
// imported documents, recent files and the edit password, against real files on disk.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "MainFormSupport.h"
#include "base/Cp1252.h"
#include "base/Paths.h"
#include "platform/FileSettings.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

using namespace orvo::literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace fs = std::filesystem;

const std::string kSaveQuestion = "Salvo le modifiche fatte a %s?";

std::string SaveQuestion(const std::string& path) {
    return "Salvo le modifiche fatte a " + path + "?";
}

// --- Start-up ------------------------------------------------------------------------------

class StartUp : public MainFormTest {};

TEST_F(StartUp, FirstRunWritesThePublishingDefaults) {
    Start();
    EXPECT_EQ(settings_.ReadString("orvonet", "numConfTot"), "1");
    EXPECT_EQ(settings_.ReadString("orvonet", "numSelectedConf"), "0");
    const std::vector<std::pair<const char*, const char*>> orvonet{
        {"directoryGet", "c:\\temp"},
        {"orvoBaseDir", "/scripts/cgi-orvo/"},
        {"orvoBaseDir2", "/scripts/cgi-orvo/"},
        {"orvoCGI", "orvod.dll"},
        {"orvoUpCGI", "orvoupd.dll"},
        {"nomeConf", "DefaultNT"},
        {"port", "80"},
        {"sezione", "0"},
        {"timeout", "30"},
        {"user", "default"}};
    for (auto [name, value] : orvonet)
        EXPECT_EQ(settings_.ReadString("orvonet\\0", name), value) << name;
    EXPECT_FALSE(settings_.ReadString("orvonet\\0", "server").empty());
    for (const char* name :
         {"numSelectedConf", "numSelectedConf0", "numSelectedConf1", "numSelectedConf2"})
        EXPECT_EQ(settings_.ReadString("ftpnet", name), "0") << name;
    const std::vector<std::pair<const char*, const char*>> ftpnet{
        {"BaseDir", "/"},  {"nomeConf", "Default"}, {"port", "21"},    {"savePass", "0"},
        {"timeout", "30"}, {"user", "anonymous"},   {"useScript", "0"}};
    for (auto [name, value] : ftpnet)
        EXPECT_EQ(settings_.ReadString("ftpnet\\0", name), value) << name;
    EXPECT_FALSE(settings_.ReadString("ftpnet\\0", "server").empty());
}

TEST_F(StartUp, ExistingPublishingConfigurationsAreLeftAlone) {
    settings_.Write("ftpnet", "NUMCONFTOT", "2");
    settings_.Write("ftpnet\\0", "user", "mario");
    Start();
    EXPECT_EQ(settings_.ReadString("ftpnet", "numConfTot"), "2");
    EXPECT_EQ(settings_.ReadString("ftpnet\\0", "user"), "mario");
    EXPECT_EQ(settings_.Read("ftpnet\\0", "port"), std::nullopt);
    EXPECT_EQ(settings_.ReadString("orvonet", "numConfTot"), "1");  // that one was missing
}

TEST_F(StartUp, ThePublishingSetUpRunsUntilItIsDoneAndTheTipsOrTheSplashShow) {
    Start(CommandLine{}, false);
    form_->ProgramStart();
    EXPECT_THAT(publish_.calls, ElementsAre("RunSetupWizard"));
    EXPECT_THAT(windows_.calls, ElementsAre("ShowTips Caricamento in corso"));
    form_->FormShow({});
    EXPECT_THAT(windows_.calls,
                ElementsAre("ShowTips Caricamento in corso", "RetitleTips Suggerimenti"));

    publish_.calls.clear();
    windows_.calls.clear();
    settings_.Write("options", "liteOk", "1");
    settings_.Write("options", "TipOfTheDay", "0");
    Start(CommandLine{}, false);
    form_->ProgramStart();
    form_->FormShow({});
    EXPECT_THAT(publish_.calls, IsEmpty());
    EXPECT_THAT(windows_.calls,
                ElementsAre("ShowSplash", "RetitleTips Suggerimenti", "CloseSplash"));
}

TEST_F(StartUp, TheTipsCloseByThemselvesOrForAPendingAction) {
    settings_.Write("options", "AutoHideTip", "1");
    Start();
    EXPECT_THAT(windows_.calls, ElementsAre("CloseTips"));
    settings_.Write("options", "AutoHideTip", "0");
    windows_.calls.clear();
    Start(CommandLine{NextAction::PublishFtp, false, {}});
    EXPECT_THAT(windows_.calls, ElementsAre("CloseTips"));
}

TEST_F(StartUp, WithoutArgumentsTheStartDocumentIsMadeEmptyOnlyWhenMissing) {
    Start();
    const fs::path index = environment_.UserDataDir() / "Docs" / "index.kyt";
    ASSERT_TRUE(fs::exists(index));
    EXPECT_EQ(fs::file_size(index), 0u);
    EXPECT_EQ(form_->Caption(), "index.kyt - Orvo");
    EXPECT_EQ(form_->DocumentPath(), NameOfPath(index));
    EXPECT_TRUE(form_->EditMode());  // no edit password

    WriteDocument(scratch_, NameOfPath(index), 3);
    const std::string before = ReadFile(index);
    Start();
    EXPECT_EQ(ReadFile(index), before);  // never emptied
    EXPECT_EQ(main_.KindCount(TOggettiHel::testoHtml), 3);
}

TEST_F(StartUp, TheLastFileOpensUnlessTheStartIsBlank) {
    const std::string last = NameIn("ultimo.kyt");
    WriteDocument(scratch_, last, 2);
    settings_.Write("options", "LastFile", last);
    Start();
    EXPECT_EQ(form_->DocumentPath(), last);
    EXPECT_EQ(form_->Caption(), "ultimo.kyt - Orvo");
    settings_.Write("options", "AtStartBlank", "1");
    Start();
    EXPECT_EQ(LastComponent(form_->DocumentPath()), "index.kyt");
}

TEST_F(StartUp, TheCommandLineFileOpensAndAMissingOneFallsBackToTheLastDocument) {
    const std::string named = NameIn("perch\xE9.kyt");
    WriteDocument(scratch_, named, 4);
    Start(CommandLine{NextAction::ProbeWordProcessor, false, NativePath(named)});
    EXPECT_EQ(form_->DocumentPath(), named);
    EXPECT_EQ(form_->Caption(), "perch\xE9.kyt - Orvo");
    EXPECT_EQ(main_.KindCount(TOggettiHel::testoHtml), 4);

    Start(CommandLine{NextAction::ProbeWordProcessor, false, NativePath(NameIn("nessuno.kyt"))});
    EXPECT_EQ(LastComponent(form_->DocumentPath()), "index.kyt");
    EXPECT_THAT(messages_.Shown(), IsEmpty());
}

TEST_F(StartUp, ARelativeCommandLineFileIsTakenFromTheWorkingFolder) {
    const std::string named = NameIn("rel/doc.kyt");
    WriteDocument(scratch_, named, 1);
    const fs::path previous = fs::current_path();
    fs::current_path(TestDir() / "rel");
    Start(CommandLine{NextAction::ProbeWordProcessor, false, "doc.kyt"});
    fs::current_path(previous);
    EXPECT_EQ(form_->DocumentPath(), named);
}

TEST_F(StartUp, InitRegistersTheDocumentTypeWithTheDesktop) {
    Start(CommandLine{NextAction::ProbeWordProcessor, true, {}});
    const fs::path home = TestDir() / "desktop";
    EXPECT_EQ(ReadFile(home / "mime/packages/orvo.xml"), MimePackageText());
    EXPECT_EQ(ReadFile(home / "applications/orvo.desktop"), DesktopEntryText("/usr/bin/orvo"));
}

TEST_F(StartUp, ThePrototypeLibraryIsCreatedOnceAndReadAfterwards) {
    Start();
    const fs::path library = environment_.UserDataDir() / "Custom" / "default.cus";
    ASSERT_TRUE(fs::exists(library));
    EXPECT_EQ(library_.KYTFileName(), NameOfPath(library));
    EXPECT_EQ(PagesInFile(NameOfPath(library)), 0);
    const std::string written = ReadFile(library);
    EXPECT_EQ(written.substr(0, 4), "ZEBU");
    Start();
    EXPECT_EQ(ReadFile(library), written);  // read, not written again
    EXPECT_EQ(library_.KYTFileName(), NameOfPath(library));
}

TEST_F(StartUp, DefaultLibNamesTheLibraryOnlyWithTheCusExtension) {
    const std::string mine = NameIn("miei/proto.cus");
    WriteDocument(scratch_, mine, 1);
    settings_.Write("options", "DefaultLib", mine);
    Start();
    EXPECT_EQ(library_.KYTFileName(), mine);
    settings_.Write("options", "DefaultLib", NameIn("miei/proto.kyt"));
    Start();
    EXPECT_EQ(LastComponent(library_.KYTFileName()), "default.cus");
}

TEST_F(StartUp, TheWindowCacheIsAtLeastThreeAndTheToolbarLayoutIsRestoredOnlyOnRequest) {
    settings_.Write("options", "FormLim", "1");
    settings_.Write("toolbar", "layout", "AAAA");
    Start();
    EXPECT_EQ(form_->FrameLimit(), 3);
    EXPECT_EQ(form_->ToolbarLayout(), std::nullopt);
    settings_.Write("options", "formlim", "7");
    settings_.Write("options", "NotSaveTool", "0");
    Start();
    EXPECT_EQ(form_->FrameLimit(), 7);
    EXPECT_EQ(form_->ToolbarLayout(), std::optional<std::string>("AAAA"));
}

TEST_F(StartUp, TheHtmlExportOptionsAreRead) {
    Start();
    EXPECT_EQ(form_->HtmlOptions(), (HtmlExportOptions{false, false, true, 0}));
    settings_.Write("htmlexp", "expOrigName", "1");
    settings_.Write("htmlexp", "expSepImage", "yes");
    settings_.Write("htmlexp", "expAlt", "0");
    settings_.Write("htmlexp", "expTipoExt", "2");
    Start();
    EXPECT_EQ(form_->HtmlOptions(), (HtmlExportOptions{true, false, false, 2}));
}

// --- Opening ------------------------------------------------------------------------------

class Opening : public MainFormTest {
protected:
    void SetUp() override { Start(); }
};

TEST_F(Opening, ADocumentWithoutPasswordOpensInEditModeAndOneWithPasswordInPreview) {
    const std::string free = NameIn("libero.kyt");
    const std::string locked = NameIn("chiuso.kyt");
    WriteDocument(scratch_, free, 2);
    WriteDocument(scratch_, locked, 2, "segreto");
    form_->openFile(free, true);
    EXPECT_TRUE(form_->EditMode());
    EXPECT_FALSE(editor_.readOnly);
    form_->openFile(locked, true);
    EXPECT_FALSE(form_->EditMode());
    EXPECT_TRUE(editor_.readOnly);
    EXPECT_EQ(editor_.current, 0);
    // The start document came first.
    EXPECT_THAT(form_->Recent().Entries(),
                ElementsAre(form_->Recent().Entries().front(), NameIn("libero.kyt"), locked));
}

TEST_F(Opening, TheEditPasswordIsAskedAndAWrongOneKeepsPreview) {
    const std::string locked = NameIn("chiuso.kyt");
    WriteDocument(scratch_, locked, 1, "segreto");
    form_->openFile(locked, true);
    prompter_.inputs = {std::string("sbagliata"), std::nullopt, std::string("segreto")};
    form_->EditButtonClick();
    EXPECT_THAT(prompter_.inputPrompts,
                ElementsAre("Modo editor|Introduci la password per l'edit"));
    EXPECT_THAT(messages_.Shown(), ElementsAre(Message{Box::Error, "Password errata!"}));
    EXPECT_FALSE(form_->EditMode());
    form_->EditButtonClick();  // cancelled: no message
    EXPECT_EQ(messages_.Shown().size(), 1u);
    EXPECT_FALSE(form_->EditMode());
    form_->EditButtonClick();
    EXPECT_TRUE(form_->EditMode());
    EXPECT_TRUE(form_->EverEdited());
    form_->EditButtonClick();  // leaving edit mode asks nothing
    EXPECT_FALSE(form_->EditMode());
    EXPECT_EQ(prompter_.inputPrompts.size(), 3u);
}

TEST_F(Opening, AFileThatCannotBeReadLeavesAnUntitledDocumentAndLeavesTheRecentFiles) {
    const std::string good = NameIn("buono.kyt");
    const std::string bad = NameIn("rotto.kyt");
    WriteDocument(scratch_, good, 1);
    WriteFile(NativePath(bad), std::string(2000, 'x'));
    form_->openFile(good, true);
    form_->openFile(bad, true);
    form_->addRecent(bad);  // as if it had been opened in an earlier run
    form_->openFile(bad, true);
    EXPECT_EQ(form_->Caption(), "Senza titolo - Orvo");
    EXPECT_EQ(form_->DocumentPath(), "");
    EXPECT_THAT(form_->Recent().Entries(),
                ElementsAre(NameOfPath(form_->StartDocumentPath()), good));
    EXPECT_EQ(messages_.Shown().back(), (Message{Box::Information, "Formato sconosciuto."}));
    EXPECT_EQ(form_->LastPath(), good);
}

TEST_F(Opening, PicturesAndUnknownTypesOnlyRefreshTheEditor) {
    const std::string before = form_->DocumentPath();
    editor_.Take();
    form_->openFile(NameIn("foto.JPG"), true);
    form_->openFile(NameIn("nota.xyz"), true);
    EXPECT_THAT(editor_.Take(), ElementsAre("Refresh", "Refresh"));
    EXPECT_EQ(form_->DocumentPath(), before);
}

TEST_F(Opening, ATypeWithoutItsConverterSaysSoAndKeepsTheDocument) {
    const std::string doc = NameIn("tenuto.kyt");
    WriteDocument(scratch_, doc, 2);
    form_->openFile(doc, true);
    editor_.changed = true;
    form_->openFile(NameIn("lettera.wri"), true);
    EXPECT_THAT(messages_.Shown(),
                ElementsAre(Message{Box::Information, "Non definito o non supportato."}));
    EXPECT_THAT(messages_.Questions(), IsEmpty());
    EXPECT_EQ(form_->DocumentPath(), doc);
    EXPECT_TRUE(form_->DocumentChanged());
}

TEST_F(Opening, AnImportedTextHasNoDocumentFileSoSavingNeverOverwritesTheSource) {
    const std::string source = NameIn("testi/lettera.rtf");
    WriteFile(NativePath(source), "{\\rtf1 ciao}");
    form_->openFile(source, false);
    EXPECT_THAT(converters_.calls, ElementsAre("ImportFiles lettera.rtf", "MergeImportedStyles 0"));
    EXPECT_EQ(form_->Caption(), "lettera.rtf - Orvo");
    EXPECT_EQ(form_->DocumentPath(), "");
    EXPECT_TRUE(form_->EditMode());
    EXPECT_EQ(form_->Recent().Entries().back(), source);

    prompter_.saves = {FileChoice{NameIn("testi/lettera.kyt"), 1}};
    EXPECT_TRUE(form_->FileSave());
    ASSERT_EQ(prompter_.saveRequests.size(), 1u);
    EXPECT_EQ(prompter_.saveRequests[0].folder, NameIn("testi"));
    EXPECT_EQ(prompter_.saveRequests[0].fileName, "lettera.kyt");
    EXPECT_EQ(prompter_.saveRequests[0].filter, TMainFormRules::kSaveFilter);
    EXPECT_EQ(ReadFile(NativePath(source)), "{\\rtf1 ciao}");
    EXPECT_EQ(PagesInFile(NameIn("testi/lettera.kyt")), 2);
    EXPECT_EQ(form_->DocumentPath(), NameIn("testi/lettera.kyt"));
    EXPECT_EQ(main_.ExpPrefix(), "lettera");
}

TEST_F(Opening, ImportingAskedToSaveTheDocumentFirstAndCancelStopsIt) {
    const std::string doc = NameIn("mio.kyt");
    WriteDocument(scratch_, doc, 1);
    form_->openFile(doc, true);
    editor_.changed = true;
    messages_.ScriptAnswers({Answer::Cancel});
    form_->openFile(NameIn("a.txt"), true);
    EXPECT_THAT(messages_.Questions(), ElementsAre(SaveQuestion(doc)));
    EXPECT_THAT(converters_.calls, IsEmpty());
    EXPECT_EQ(form_->DocumentPath(), doc);
}

TEST_F(Opening, TheExtensionDecidesWhateverItsCase) {
    const std::string upper = NameIn("GRANDE.KYT");
    WriteDocument(scratch_, upper, 2);
    form_->openFile(upper, true);
    EXPECT_EQ(form_->DocumentPath(), upper);
    converters_.opening = HtmlOpening{Outcome::Cancelled, 0, "", 0};
    form_->openFile(NameIn("PAGINA.HTML"), true);
    form_->openFile(NameIn("note.TXT"), false);
    EXPECT_THAT(converters_.calls, ElementsAre("ChooseHtmlOpening PAGINA.HTML",
                                               "ImportFiles note.TXT", "MergeImportedStyles 0"));
}

TEST_F(Opening, TheOpenDialogStartsInTheDocumentsFolderAndItsChoiceIsOpened) {
    const std::string doc = NameIn("cartella/primo.kyt");
    const std::string next = NameIn("cartella/secondo.kyt");
    WriteDocument(scratch_, doc, 1);
    WriteDocument(scratch_, next, 2);
    form_->openFile(doc, true);
    prompter_.opens = {std::nullopt, FileChoice{next, 1}};
    form_->FileOpen();
    EXPECT_EQ(form_->DocumentPath(), doc);
    form_->FileOpen();
    EXPECT_EQ(form_->DocumentPath(), next);
    ASSERT_EQ(prompter_.openRequests.size(), 2u);
    EXPECT_EQ(prompter_.openRequests[0].folder, NameIn("cartella"));
    EXPECT_EQ(prompter_.openRequests[0].filter,
              "Orvo hypertext (*.kyt)|*.kyt|Tutti i files (*.*)|*.*");
}

TEST_F(Opening, NewFromATemplateKeepsItsPagesButNotItsName) {
    const std::string model = NameOfPath(form_->TemplatesFolder() / "modello.kyt");
    WriteDocument(scratch_, model, 3);
    windows_.outcome = Outcome::Cancelled;
    form_->Nuovoda1Click();
    EXPECT_EQ(LastComponent(form_->DocumentPath()), "index.kyt");
    windows_.outcome = Outcome::Done;
    windows_.newHypertextChoice = model;
    form_->Nuovoda1Click();
    EXPECT_EQ(form_->DocumentPath(), "");
    EXPECT_EQ(form_->Caption(), "Senza titolo - Orvo");
    EXPECT_EQ(main_.KindCount(TOggettiHel::testoHtml), 3);
    EXPECT_EQ(form_->Recent().Entries().back(), NameOfPath(form_->StartDocumentPath()));
    prompter_.saves = {std::nullopt};
    EXPECT_FALSE(form_->FileSave());  // a copy of the template is saved under a new name
    EXPECT_EQ(prompter_.saveRequests.size(), 1u);
    windows_.newHypertextChoice.clear();
    form_->Nuovoda1Click();
    EXPECT_EQ(main_.KindCount(TOggettiHel::testoHtml), 0);
    EXPECT_TRUE(form_->EditMode());
}

TEST_F(Opening, TheImportWindowMarksTheDocumentChangedOnlyWhenItImported) {
    converters_.outcome = Outcome::Cancelled;
    form_->Execute(CommandId::FileImport);
    EXPECT_FALSE(form_->DocumentChanged());
    converters_.outcome = Outcome::NotSupported;
    form_->Execute(CommandId::FileImport);
    EXPECT_THAT(messages_.Shown(),
                ElementsAre(Message{Box::Information, "Non definito o non supportato."}));
    converters_.outcome = Outcome::Done;
    form_->Execute(CommandId::FileImport);
    EXPECT_TRUE(form_->DocumentChanged());
    EXPECT_THAT(converters_.calls,
                ElementsAre("OpenImportWindow", "OpenImportWindow", "OpenImportWindow"));
}

// A spell checker whose language switch can be made to fail.
class ScriptedSpeller final : public ISpellLanguage {
public:
    int Language() const override { return language; }
    bool SetLanguage(int wanted) override {
        switches.push_back(wanted);
        if (wanted == refused) return false;
        language = wanted;
        return true;
    }
    int language = 1040;
    int refused = -1;
    std::vector<int> switches;
};

class SpellLanguage : public MainFormTest {};

TEST_F(SpellLanguage, TheCheckerFollowsTheDocumentAndGoesBackWhenItCannot) {
    ScriptedSpeller speller;
    Start(CommandLine{}, false);
    MainFormServices services{environment_, messages_, settings_,   scheduler_, shell_,
                              prompter_,    editor_,   converters_, print_,     publish_,
                              windows_,     links_,    view_,       &speller};
    form_ = std::make_unique<TMainFormRules>(main_, library_, services, AllServices());
    form_->FormCreate();
    const std::string english = NameIn("inglese.kyt");
    WriteDocument(scratch_, english, 1);  // a new document's language is 1033
    form_->openFile(english, false);
    EXPECT_EQ(speller.language, 1033);
    speller.refused = 1033;
    speller.language = 1040;
    form_->openFile(english, false);
    EXPECT_THAT(speller.switches, ElementsAre(1033, 1033, 1040));
    EXPECT_EQ(speller.language, 1040);
    form_->FileNew();
    EXPECT_EQ(main_.HeaderView().U16(kHdrLanguage), 1040);
}

TEST_F(StartUp, TheProgramSettingsReachTheContainersTheEditorAndTheWindow) {
    settings_.Write("options", "maxCacheImg", "7");
    settings_.Write("options", "undoDeep", "0");
    settings_.Write("options", "Bak", "0");
    settings_.Write("options", "Alt", "1");
    settings_.Write("options", "Virgolette", "1");
    settings_.Write("options", "BordoSx", "1");
    settings_.Write("options", "CercaTop", "1");
    settings_.Write("options", "Cursors", "2");
    Start();
    EXPECT_EQ(main_.MaxCacheImg, 7);
    EXPECT_EQ(library_.MaxCacheImg, 7);
    EXPECT_EQ(main_.UndoDeep, 1);
    EXPECT_FALSE(main_.Backups);
    EXPECT_TRUE(main_.AutomaticAlternativeText);
    EXPECT_TRUE(editor_.autoEngQuote);
    EXPECT_TRUE(form_->BorderPanelVisible());
    EXPECT_TRUE(form_->SearchWindowOnTop());
    EXPECT_EQ(form_->CursorSet(), 2);
}

// --- Saving --------------------------------------------------------------------------------

class Saving : public MainFormTest {
protected:
    void SetUp() override {
        Start();
        doc_ = NameIn("libro.kyt");
        WriteDocument(scratch_, doc_, 3);
        form_->openFile(doc_, true);
        messages_.Clear();
    }
    std::string doc_;
};

TEST_F(Saving, SaveWritesTheDocumentToItsFileAndClearsTheChanges) {
    const std::string before = ReadFile(NativePath(doc_));
    AddPage(main_, "Nuova");
    editor_.changed = true;
    editor_.unsavedEdits = true;
    editor_.Take();
    ASSERT_TRUE(form_->FileSave());
    EXPECT_THAT(editor_.Take(), ElementsAre("CommitPage"));
    EXPECT_NE(ReadFile(NativePath(doc_)), before);
    EXPECT_EQ(PagesInFile(doc_), 4);
    EXPECT_FALSE(form_->DocumentChanged());
    EXPECT_THAT(messages_.Shown(), IsEmpty());
    EXPECT_THAT(prompter_.saveRequests, IsEmpty());
    EXPECT_EQ(form_->LastPath(), doc_);
}

TEST_F(Saving, SaveAsAsksInTheDocumentsFolderAndRenamesTheDocument) {
    prompter_.saves = {FileChoice{NameIn("altro/Copia Del Libro Molto Lunga"), 1}};
    ASSERT_TRUE(form_->FileSaveAs());
    const FileDialogRequest& asked = prompter_.saveRequests.at(0);
    EXPECT_EQ(asked.folder, NameOfPath(TestDir()));
    EXPECT_EQ(asked.fileName, "libro");
    EXPECT_EQ(asked.filterIndex, 1);
    const std::string saved = NameIn("altro/Copia Del Libro Molto Lunga.kyt");
    EXPECT_EQ(PagesInFile(saved), 3);
    EXPECT_EQ(form_->DocumentPath(), saved);
    EXPECT_EQ(form_->Caption(), "Copia Del Libro Molto Lunga.kyt - Orvo");
    EXPECT_EQ(main_.ExpPrefix(), "copia del libro ");  // lower case, 16 characters
    EXPECT_EQ(form_->Recent().Entries().back(), saved);
}

TEST_F(Saving, ACancelledSaveAsLeavesEverythingAsItWas) {
    form_->FileNew();
    AddPage(main_, "Bozza");
    editor_.changed = true;
    const auto files = std::distance(fs::directory_iterator(TestDir()), fs::directory_iterator());
    EXPECT_FALSE(form_->FileSave());  // unnamed: Save As, then cancelled
    EXPECT_EQ(prompter_.saveRequests.size(), 1u);
    EXPECT_EQ(prompter_.saveRequests[0].fileName, "Senza titolo");
    EXPECT_EQ(std::distance(fs::directory_iterator(TestDir()), fs::directory_iterator()), files);
    EXPECT_TRUE(form_->DocumentChanged());
    EXPECT_EQ(form_->Caption(), "Senza titolo - Orvo");
}

TEST_F(Saving, AFailedSaveShowsTheErrorListAndKeepsTheFileAndTheChanges) {
    WriteFile(TestDir() / "blocco", "a file, not a folder");
    const std::string before = ReadFile(NativePath(doc_));
    editor_.changed = true;
    prompter_.saves = {FileChoice{NameIn("blocco/dentro.kyt"), 1}};
    EXPECT_FALSE(form_->FileSaveAs());
    ASSERT_EQ(prompter_.errorLists.size(), 1u);
    EXPECT_EQ(prompter_.errorLists[0].first, "Salvataggio non riuscito!");
    EXPECT_FALSE(prompter_.errorLists[0].second.empty());
    EXPECT_EQ(form_->DocumentPath(), doc_);
    EXPECT_TRUE(form_->DocumentChanged());
    EXPECT_EQ(ReadFile(NativePath(doc_)), before);
}

TEST_F(Saving, ThePlainTextExtensionsWriteTheCurrentPageWhateverTheFilter) {
    editor_.current = 2;
    for (const char* name : {"pagina.txt", "pagina.C", "pagina.pas", "pagina.asc", "pagina.ini"})
        EXPECT_TRUE(form_->saveAs(NameIn(name), 1, true, false)) << name;
    EXPECT_THAT(converters_.calls,
                ElementsAre("ExportPage Text pagina.txt 2", "ExportPage Text pagina.C 2",
                            "ExportPage Text pagina.pas 2", "ExportPage Text pagina.asc 2",
                            "ExportPage Text pagina.ini 2"));
    EXPECT_EQ(form_->StatusText(), "Export in corso, fase 2: 25%");
    EXPECT_EQ(form_->DocumentPath(), doc_);  // exporting a page does not rename the document
    EXPECT_FALSE(fs::exists(TestDir() / "pagina.txt"));  // the scripted converter wrote nothing
}

TEST_F(Saving, TheFilterIndexChoosesTheWriterAndKytAlwaysMeansTheDocument) {
    editor_.current = 1;
    editor_.unsavedEdits = true;
    editor_.Take();
    EXPECT_TRUE(form_->saveAs(NameIn("p.htm"), 3, true, false));
    EXPECT_THAT(editor_.Take(), ElementsAre("CommitPage"));
    EXPECT_TRUE(form_->saveAs(NameIn("p.rtf"), 4, false, false));
    EXPECT_TRUE(form_->saveAs(NameIn("tutto.htm"), 2, true, false));
    EXPECT_TRUE(form_->saveAs(NameIn("tutto.rtf"), 6, true, false));
    EXPECT_TRUE(form_->saveAs(NameIn("vero.kyt"), 3, true, false));
    EXPECT_THAT(converters_.calls, ElementsAre("ExportPage Html p.htm 1", "ExportPage Rtf p.rtf 1",
                                               "OpenExportWindow " + NameIn("tutto.htm"),
                                               "OpenExportWindow " + NameIn("tutto.rtf")));
    EXPECT_EQ(PagesInFile(NameIn("vero.kyt")), 3);
    converters_.outcome = Outcome::NotSupported;
    EXPECT_FALSE(form_->saveAs(NameIn("p2.htm"), 3, true, false));
    EXPECT_THAT(messages_.Shown(),
                ElementsAre(Message{Box::Information, "Non definito o non supportato."}));
}

TEST_F(Saving, IntoTheExamplesFolderTheUserIsAskedFirst) {
    const std::string example = NameOfPath(form_->ExamplesFolder() / "esempio.kyt");
    const std::string question =
        "Sei sicuro di voler salvare questo file nella directory degli esempi? Scegli No per "
        "cambiare il path.";
    messages_.ScriptAnswers({Answer::Cancel});
    EXPECT_FALSE(form_->saveAs(example, 1, true, false));
    EXPECT_FALSE(fs::exists(NativePath(example)));
    messages_.ScriptAnswers({Answer::No});
    prompter_.saves = {FileChoice{NameIn("fuori.kyt"), 1}};
    EXPECT_TRUE(form_->saveAs(example, 1, true, false));
    EXPECT_FALSE(fs::exists(NativePath(example)));
    EXPECT_EQ(PagesInFile(NameIn("fuori.kyt")), 3);
    messages_.ScriptAnswers({Answer::Yes});
    EXPECT_TRUE(form_->saveAs(example, 1, true, false));
    EXPECT_EQ(PagesInFile(example), 3);
    EXPECT_THAT(messages_.Questions(), ElementsAre(question, question, question));
    EXPECT_EQ(form_->Caption(), "esempio.kyt [esempio] - Orvo");
    EXPECT_EQ(form_->Recent().Entries().back(), NameIn("fuori.kyt"));  // examples not recorded
}

TEST_F(Saving, IntoATemplatesFolderTheUserIsAskedUnlessSavingAsATemplate) {
    const std::string question =
        "Sei sicuro di voler salvare questo file come modello? Scegli No per cambiare il path.";
    const std::string templ = NameOfPath(environment_.UserDataDir() / "Templates" / "m.kyt");
    messages_.ScriptAnswers({Answer::Yes});
    EXPECT_TRUE(form_->saveAs(templ, 1, true, false));
    EXPECT_THAT(messages_.Questions(), ElementsAre(question));
    messages_.Clear();
    prompter_.saves = {FileChoice{NameOfPath(form_->TemplatesFolder() / "modello"), 1}};
    EXPECT_TRUE(form_->Salvacomemodello1Click());
    EXPECT_THAT(messages_.Questions(), IsEmpty());
    EXPECT_EQ(prompter_.saveRequests.at(0).folder, NameOfPath(form_->TemplatesFolder()));
    EXPECT_EQ(prompter_.saveRequests.at(0).fileName, "m");
    EXPECT_EQ(PagesInFile(NameOfPath(form_->TemplatesFolder() / "modello.kyt")), 3);
}

TEST_F(Saving, AnUnnamedTemplateIsProposedAsSenzaTitolo1) {
    form_->FileNew();
    prompter_.saves = {std::nullopt};
    EXPECT_FALSE(form_->Salvacomemodello1Click());
    EXPECT_EQ(prompter_.saveRequests.at(0).fileName, "Senza titolo1.kyt");
    EXPECT_TRUE(fs::is_directory(form_->TemplatesFolder()));
}

// --- Closing and replacing -----------------------------------------------------------------

class Closing : public Saving {};

TEST_F(Closing, NothingIsAskedWhenNothingChanged) {
    EXPECT_TRUE(form_->FormCloseQuery());
    EXPECT_THAT(messages_.Questions(), IsEmpty());
}

TEST_F(Closing, YesSavesThenCloses) {
    AddPage(main_, "Altra");
    main_.SetModified(true);
    messages_.ScriptAnswers({Answer::Yes});
    EXPECT_TRUE(form_->FormCloseQuery());
    EXPECT_THAT(messages_.Questions(), ElementsAre(SaveQuestion(doc_)));
    EXPECT_EQ(PagesInFile(doc_), 4);
}

TEST_F(Closing, NoClosesWithoutSaving) {
    const std::string before = ReadFile(NativePath(doc_));
    AddPage(main_, "Altra");
    editor_.changed = true;
    messages_.ScriptAnswers({Answer::No});
    EXPECT_TRUE(form_->FormCloseQuery());
    EXPECT_EQ(ReadFile(NativePath(doc_)), before);
}

TEST_F(Closing, CancelKeepsTheWindowOpenAndTheEditorEnabled) {
    editor_.changed = true;
    editor_.enabled = false;
    messages_.ScriptAnswers({Answer::Cancel});
    EXPECT_FALSE(form_->FormCloseQuery());
    EXPECT_TRUE(editor_.enabled);
    EXPECT_TRUE(form_->DocumentChanged());
}

TEST_F(Closing, ASaveThatFailsOrIsCancelledKeepsTheWindowOpen) {
    form_->FileNew();
    editor_.changed = true;
    messages_.ScriptAnswers({Answer::Yes});
    EXPECT_FALSE(form_->FormCloseQuery());  // Save As cancelled
    EXPECT_THAT(messages_.Questions(), ElementsAre(SaveQuestion("Senza titolo")));

    WriteFile(TestDir() / "blocco", "x");
    prompter_.saves = {FileChoice{NameIn("blocco/x.kyt"), 1}};
    messages_.ScriptAnswers({Answer::Yes});
    EXPECT_FALSE(form_->FormCloseQuery());
    EXPECT_EQ(prompter_.errorLists.size(), 1u);
    EXPECT_TRUE(form_->DocumentChanged());
}

TEST_F(Closing, AChangedDocumentIsNotAskedAboutUntilEditModeWasEntered) {
    const std::string locked = NameIn("chiuso.kyt");
    WriteDocument(scratch_, locked, 1, "pw");
    form_->openFile(locked, false);
    main_.SetModified(true);
    EXPECT_TRUE(form_->FormCloseQuery());
    EXPECT_THAT(messages_.Questions(), IsEmpty());
}

TEST_F(Closing, OpeningAnotherDocumentAsksAndAFailedSaveStopsTheOpening) {
    const std::string other = NameIn("altro.kyt");
    WriteDocument(scratch_, other, 1);
    form_->FileNew();
    editor_.changed = true;
    messages_.ScriptAnswers({Answer::Yes});  // then Save As is cancelled
    form_->openFile(other, true);
    EXPECT_EQ(form_->DocumentPath(), "");
    EXPECT_TRUE(form_->DocumentChanged());
    messages_.ScriptAnswers({Answer::No});
    form_->openFile(other, true);
    EXPECT_EQ(form_->DocumentPath(), other);
}

TEST_F(Closing, NewAsksFirstAndGivesAnUntitledDocumentInEditMode) {
    editor_.changed = true;
    messages_.ScriptAnswers({Answer::Cancel});
    form_->FileNew();
    EXPECT_EQ(form_->DocumentPath(), doc_);
    messages_.ScriptAnswers({Answer::No});
    form_->FileNew();
    EXPECT_EQ(form_->DocumentPath(), "");
    EXPECT_EQ(form_->Caption(), "Senza titolo - Orvo");
    EXPECT_EQ(main_.KindCount(TOggettiHel::testoHtml), 0);
    EXPECT_TRUE(form_->EditMode());
    EXPECT_FALSE(form_->DocumentChanged());
}

TEST_F(Closing, DestroyWritesTheLastFileAndAllFiveRecentSlots) {
    settings_.Write("RecentFile", "3", "/vecchio.kyt");
    settings_.Write("RecentFile", "4", "/vecchio2.kyt");
    form_->removeRecent("/vecchio.kyt");
    form_->removeRecent("/vecchio2.kyt");
    windows_.calls.clear();
    form_->FormClose();
    EXPECT_THAT(windows_.calls, ElementsAre("CloseTips"));  // no window outlives the program
    form_->FormDestroy(std::string("stato"));
    EXPECT_EQ(settings_.ReadString("options", "LastFile"), doc_);
    EXPECT_EQ(settings_.ReadString("toolbar", "layout"), "stato");
    const auto recent = form_->Recent().Entries();
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(settings_.Read("RecentFile", std::to_string(i)),
                  std::optional<std::string>(i < recent.size() ? recent[i] : ""))
            << i;
    EXPECT_TRUE(editor_.readOnly);
}

TEST_F(Closing, ALastFileThatNoLongerExistsIsNotWritten) {
    settings_.Write("options", "LastFile", "/prima.kyt");
    fs::remove(NativePath(doc_));
    form_->FormDestroy(std::nullopt);
    EXPECT_EQ(settings_.ReadString("options", "LastFile"), "/prima.kyt");
    EXPECT_EQ(settings_.Read("toolbar", "layout"), std::nullopt);
}

TEST_F(Closing, ARecentFileItemAsksThenOpensItsFile) {
    const std::string other = NameIn("altro.kyt");
    WriteDocument(scratch_, other, 2);
    form_->openFile(other, false);
    form_->openFile(doc_, false);
    ASSERT_EQ(form_->Recent().Entries().back(), doc_);
    const int index = int(form_->Recent().Entries().size()) - 2;
    ASSERT_EQ(form_->Recent().Entries()[std::size_t(index)], other);
    editor_.changed = true;
    messages_.ScriptAnswers({Answer::No});
    form_->RecentFileClick(index);
    EXPECT_EQ(form_->DocumentPath(), other);
    EXPECT_EQ(form_->Recent().Entries().back(), other);
    form_->RecentFileClick(9);  // nothing there
    EXPECT_EQ(form_->DocumentPath(), other);
}

// --- HTML files and the "Apri" chooser -----------------------------------------------------

class OpeningHtml : public Saving {
protected:
    void Choose(int choice, const std::string& document, int page = 1) {
        converters_.opening = HtmlOpening{Outcome::Done, choice, document, page};
        converters_.calls.clear();
        windows_.calls.clear();
        form_->openFile(NameIn("pagina.html"), true);
    }
};

TEST_F(OpeningHtml, ChoicesForAMissingSourceDocumentFallBack) {
    const std::string missing = NameIn("sparito.kyt");
    Choose(3, missing);
    EXPECT_THAT(converters_.calls,
                ElementsAre("ChooseHtmlOpening pagina.html", "ImportFollowingLinks pagina.html"));
    Choose(4, missing);
    EXPECT_THAT(converters_.calls,
                ElementsAre("ChooseHtmlOpening pagina.html", "ImportFollowingLinks pagina.html"));
    Choose(5, missing);
    EXPECT_THAT(converters_.calls, ElementsAre("ChooseHtmlOpening pagina.html",
                                               "ImportFiles pagina.html", "MergeImportedStyles 0"));
    EXPECT_EQ(form_->DocumentPath(), "");
    const int pages = main_.KindCount(TOggettiHel::testoHtml);
    Choose(6, missing);  // into the current hypertext
    EXPECT_THAT(converters_.calls,
                ElementsAre("ChooseHtmlOpening pagina.html", "ImportFiles pagina.html",
                            "MergeImportedStyles " + std::to_string(pages)));
}

TEST_F(OpeningHtml, ChoiceThreeOpensTheSourceDocumentAtTheMarkedPage) {
    Choose(3, doc_, 2);
    EXPECT_EQ(form_->DocumentPath(), doc_);
    EXPECT_EQ(editor_.current, 2);
    EXPECT_TRUE(form_->EditMode());
}

TEST_F(OpeningHtml, ChoiceThreeStillAsksForTheEditPassword) {
    const std::string locked = NameIn("chiuso.kyt");
    WriteDocument(scratch_, locked, 3, "pw");
    prompter_.inputs = {std::string("no")};
    Choose(3, locked, 1);
    EXPECT_EQ(form_->DocumentPath(), locked);
    EXPECT_FALSE(form_->EditMode());
    EXPECT_THAT(messages_.Shown(), ElementsAre(Message{Box::Error, "Password errata!"}));
}

TEST_F(OpeningHtml, ChoicesFourFiveAndSixUseTheirWindows) {
    windows_.newHypertextChoice = doc_;
    Choose(4, doc_);
    EXPECT_THAT(windows_.calls, ElementsAre("NewHypertext libro.kyt"));
    EXPECT_EQ(form_->DocumentPath(), "");  // a copy: no file name
    EXPECT_EQ(main_.KindCount(TOggettiHel::testoHtml), 3);
    Choose(5, doc_, 2);
    EXPECT_THAT(windows_.calls, ElementsAre("CopyPageIn libro.kyt 2 first"));
    EXPECT_EQ(main_.KindCount(TOggettiHel::testoHtml), 0);
    Choose(6, doc_, 1);
    EXPECT_THAT(windows_.calls, ElementsAre("CopyPageIn libro.kyt 1 last"));
    EXPECT_TRUE(form_->DocumentChanged());
}

TEST_F(OpeningHtml, ACancelledChooserDoesNothing) {
    converters_.opening = HtmlOpening{Outcome::Cancelled, 1, "", 0};
    form_->openFile(NameIn("x.htm"), true);
    EXPECT_EQ(form_->DocumentPath(), doc_);
    EXPECT_THAT(converters_.calls, ElementsAre("ChooseHtmlOpening x.htm"));
}

// --- Commands ------------------------------------------------------------------------------

class Commands : public Saving {};

TEST_F(Commands, ACommandHiddenInTheCurrentModeDoesNothing) {
    windows_.calls.clear();
    form_->EditButtonClick();  // preview
    ASSERT_FALSE(form_->EditMode());
    form_->Execute(CommandId::FileSaveAs);
    form_->Execute(CommandId::InsertTable);
    EXPECT_THAT(prompter_.saveRequests, IsEmpty());
    EXPECT_THAT(windows_.calls, IsEmpty());
    form_->Execute(CommandId::SearchFind);
    EXPECT_THAT(windows_.calls,
                ElementsAre("RunCommand " + std::to_string(int(CommandId::SearchFind))));
}

TEST_F(Commands, ACommandOfAServiceNotBuiltDoesNothing) {
    Start(CommandLine{}, true, Services{});
    windows_.calls.clear();
    form_->Execute(CommandId::InsertTable);
    form_->Execute(CommandId::FilePrint);
    EXPECT_THAT(windows_.calls, IsEmpty());
    EXPECT_THAT(print_.calls, IsEmpty());
}

TEST_F(Commands, PrintingWithoutAPrinterSaysSo) {
    print_.available = false;
    form_->Execute(CommandId::FilePrint);
    EXPECT_THAT(messages_.Shown(),
                ElementsAre(Message{Box::Error,
                                    "Nessuna stampante raggiungibile nell'ambiente Windows.\r"
                                    "Uscire dal programma ed usare il pannello di controllo per "
                                    "installare stampanti."}));
    print_.available = true;
    editor_.unsavedEdits = true;
    editor_.Take();
    form_->Execute(CommandId::FilePrintAll);
    form_->Execute(CommandId::FilePrintCurrent);
    form_->Execute(CommandId::FilePrint);
    EXPECT_THAT(print_.calls, ElementsAre("PrintAll", "PrintCurrentPage", "OpenPrintWindow"));
    EXPECT_THAT(editor_.Take(), ElementsAre("CommitPage"));
}

TEST_F(Commands, TheExportCommandsNameTheDocumentWithTheirExtension) {
    form_->Execute(CommandId::PublishExportHtml);
    form_->Execute(CommandId::PublishExportWinHelp);
    form_->Execute(CommandId::FileExportPages);
    EXPECT_THAT(converters_.calls, ElementsAre("OpenExportWindow " + NameIn("libro.htm"),
                                               "OpenExportWindow " + NameIn("libro.rtf"),
                                               "OpenExportWindow " + NameIn("libro.htm")));
}

TEST_F(Commands, CoverContentsAndTheBrowseSequenceMoveBetweenPages) {
    main_.HeaderRecordView().SetI32(kHdrCoverPage, 2);
    main_.HeaderRecordView().SetI32(kHdrContentsPage, -1);
    form_->Execute(CommandId::HypertextCover);
    EXPECT_EQ(editor_.current, 2);
    form_->Execute(CommandId::HypertextContents);  // none
    EXPECT_EQ(editor_.current, 2);
    // Pages 0 and 2 in group 1 (orders 5 and 6); page 1 outside any sequence.
    for (auto [page, order] : {std::pair{0, 5}, std::pair{2, 6}}) {
        RecordView record = main_.ObjectByKind(TOggettiHel::testoHtml, page)->View();
        record.SetI16(kPageGroup, 1);
        record.SetI16(kPageOrder, std::int16_t(order));
    }
    form_->Execute(CommandId::HypertextPreviousPage);
    EXPECT_EQ(editor_.current, 0);
    form_->Execute(CommandId::HypertextPreviousPage);
    EXPECT_EQ(editor_.current, 0);
    form_->Execute(CommandId::HypertextNextPage);
    EXPECT_EQ(editor_.current, 2);
}

TEST_F(Commands, ReloadingThePageShowsItAgainInPreview) {
    form_->GoToPage(2);
    form_->Execute(CommandId::HypertextReloadPage);  // edit mode: not shown, nothing done
    EXPECT_EQ(editor_.Take().back(), "ShowPage 2");
    form_->EditButtonClick();
    form_->Execute(CommandId::HypertextReloadPage);
    EXPECT_THAT(editor_.Take(), ElementsAre("HideContextToolbars", "ReleasePages", "ShowPage 2"));
    form_->Execute(CommandId::HypertextReadOnly);  // the read-only item leaves preview
    EXPECT_TRUE(form_->EditMode());
}

TEST_F(Commands, TheOptionsWindowAppliesTheSettingsAgain) {
    settings_.Write("options", "PromemSave", "1");
    settings_.Write("options", "TimeSave", "2");
    EXPECT_FALSE(form_->ReminderActive());
    form_->Execute(CommandId::ToolsOptions);
    EXPECT_TRUE(form_->ReminderActive());
    EXPECT_EQ(form_->ReminderInterval(), std::chrono::minutes(2));
}

// Two runs of the program on one settings file: what the first writes at exit, the second
// finds at start.
class Sessions : public MainFormTest {
protected:
    std::unique_ptr<TMainFormRules> Run(ISettings& settings) {
        MainFormServices services{environment_, messages_, settings,    scheduler_, shell_,
                                  prompter_,    editor_,   converters_, print_,     publish_,
                                  windows_,     links_,    view_};
        auto form = std::make_unique<TMainFormRules>(main_, library_, services, AllServices());
        editor_.onPageChanged = [raw = form.get()](int page) { raw->EditorPageChanged(page); };
        form->FormCreate();
        form->FormShow({});
        return form;
    }
};

TEST_F(Sessions, TheNextRunOpensTheLastDocumentAndListsTheRecentOnes) {
    const fs::path file = TestDir() / "config" / "settings.reg";
    const std::string first = NameIn("primo.kyt");
    const std::string gone = NameIn("sparira.kyt");
    WriteDocument(scratch_, first, 2);
    WriteDocument(scratch_, gone, 1);
    {
        FileSettings settings(file);
        auto form = Run(settings);
        form->openFile(gone, true);
        form->openFile(first, true);
        AddPage(main_, "terza");
        editor_.changed = true;
        prompter_.saves = {FileChoice{NameIn("secondo.kyt"), 1}};
        ASSERT_TRUE(form->FileSaveAs());
        ASSERT_TRUE(form->FormCloseQuery());
        form->FormClose();
        form->FormDestroy(std::string("barre"));
    }
    fs::remove(NativePath(gone));
    {
        FileSettings settings(file);
        EXPECT_EQ(settings.ReadString("RecentFile", "4"), "");
        auto form = Run(settings);
        EXPECT_EQ(form->DocumentPath(), NameIn("secondo.kyt"));
        EXPECT_EQ(main_.KindCount(TOggettiHel::testoHtml), 3);
        EXPECT_THAT(form->Recent().Entries(), ElementsAre(NameOfPath(form->StartDocumentPath()),
                                                          gone, first, NameIn("secondo.kyt")));
        form->openFile(gone, true);  // gone since: dropped from the list
        EXPECT_EQ(messages_.Shown().back(), (Message{Box::Warning, gone + " non esiste"}));
        form->FormDestroy(std::nullopt);
    }
    FileSettings settings(file);
    EXPECT_EQ(settings.ReadString("options", "LastFile"), NameIn("secondo.kyt"));
    EXPECT_EQ(settings.ReadString("toolbar", "layout"), "barre");
    EXPECT_EQ(settings.ReadString("RecentFile", "1"), first);
    EXPECT_EQ(settings.Read("RecentFile", "3"), std::optional<std::string>(""));
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST(ExportProgress, IsAnIntegerPercentage) {
    EXPECT_EQ(TMainFormRules::ExpProgressText(1, 2, 3), "Export in corso, fase 2: 33%");
    EXPECT_EQ(TMainFormRules::ExpProgressText(3, 1, 3), "Export in corso, fase 1: 100%");
    EXPECT_EQ(TMainFormRules::ExpProgressText(5, 0, 0), "Export in corso, fase 0: 0%");
    EXPECT_EQ(TMainFormRules::ExpProgressText(40000000, 1, 40000000),
              "Export in corso, fase 1: 100%");
}

}  // namespace
}  // namespace orvo::test
