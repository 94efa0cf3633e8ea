// The main window following links, moving through its page history, reacting to dropped
// files, previewing in a browser and running its timers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "MainFormSupport.h"
#include "app/LinkedFiles.h"
#include "app/MainFormLinks.h"
#include "base/Cp1252.h"
#include "base/Paths.h"
#include "model/uKYTogge.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

using namespace orvo::literals;
using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace fs = std::filesystem;

const std::string kOtherFileQuestion =
    "Sto per caricare un altro file: \rvuoi salvare il file attuale?";
const std::string kNotSupported = "Non definito o non supportato.";

class Links : public MainFormTest {
protected:
    void SetUp() override {
        Start();
        doc_ = NameIn("libro.kyt");
        other_ = NameIn("altro.kyt");
        WriteDocument(scratch_, doc_, 5);
        WriteDocument(scratch_, other_, 4);
        form_->openFile(doc_, true);
        messages_.Clear();
        editor_.Take();
        windows_.calls.clear();
    }

    LinkSource Source(LinkSourceKind kind = LinkSourceKind::TextBox) const {
        LinkSource source;
        source.kind = kind;
        source.page = editor_.current;
        return source;
    }
    static LinkedObject Page(int page) {
        LinkedObject linked;
        linked.kind = TOggettiHel::testoHtml;
        linked.identifier = page;
        return linked;
    }
    TKYToggetto& Object(TOggettiHel kind) {
        objects_.push_back(NewObjectOfKind(kind, &main_));
        objects_.back()->TakeIntoUse();
        return *objects_.back();
    }
    LinkedObject Web(std::string_view address) {
        TKYToggetto& link = Object(TOggettiHel::internetLink);
        link.View().SetPStr(kLinkAddress, address);
        return LinkedObjectOf(link, main_);
    }
    LinkedObject Special(int subtype, int action = 0, int anchor = -1, std::string_view name = "") {
        TKYToggetto& link = Object(TOggettiHel::speclink);
        RecordView record = link.View();
        record.SetU8(kRecSubtype, std::uint8_t(subtype));
        record.SetU8(kSpecAction, std::uint8_t(action));
        record.SetI32(kSpecAnchor, anchor);
        record.SetPStr(kSpecName, name);
        return LinkedObjectOf(link, main_);
    }
    void Follow(const LinkedObject& object, const LinkSource& source) {
        form_->EditorDoLink(source, object);
    }
    void Follow(const LinkedObject& object) { Follow(object, Source()); }

    std::string doc_, other_;
    std::vector<std::unique_ptr<TKYToggetto>> objects_;
};

// --- Page history --------------------------------------------------------------------------

class History : public Links {};

TEST_F(History, PagesShownAreRecordedAndBackAndForwardDoNotRecordThemAgain) {
    form_->GoToPage(3);
    form_->GoToPage(1);
    const std::string e = "orvo://" + doc_ + "|";
    EXPECT_THAT(form_->History().Entries().size(), 4u);  // the start document came first
    EXPECT_THAT(std::vector(form_->History().Entries().end() - 3, form_->History().Entries().end()),
                ElementsAre(e + "0", e + "3", e + "1"));
    form_->BPrecedenteClick();
    EXPECT_EQ(editor_.current, 3);
    EXPECT_EQ(form_->PageNumber(), 3);
    form_->BPrecedenteClick();
    EXPECT_EQ(editor_.current, 0);
    form_->BseguenteClick();
    EXPECT_EQ(editor_.current, 3);
    EXPECT_EQ(form_->History().Entries().size(), 4u);
    form_->HistoryComboClick(3);
    EXPECT_EQ(editor_.current, 1);
    form_->GoToPage(4);  // after the current entry, which is the last
    EXPECT_EQ(form_->History().Entries().back(), e + "4");
    EXPECT_THAT(form_->PageMenu(), ElementsAre(0, 1, 2, 3, 4));
}

TEST_F(History, NavigationWaitsWhileTheEditorChangesFrames) {
    form_->GoToPage(2);
    editor_.busy = true;
    form_->BPrecedenteClick();
    form_->HistoryComboClick(0);
    EXPECT_EQ(editor_.current, 2);
    editor_.busy = false;
    form_->BPrecedenteClick();
    EXPECT_EQ(editor_.current, 0);
}

TEST_F(History, AnEntryOfAnotherDocumentOpensItAtThatPage) {
    form_->GoToPage(2);
    form_->openFile(other_, true);
    EXPECT_EQ(form_->History().Entries().back(), "orvo://" + other_ + "|0");
    editor_.changed = true;
    messages_.ScriptAnswers({Answer::Cancel});
    form_->BPrecedenteClick();
    EXPECT_EQ(form_->DocumentPath(), other_);
    EXPECT_EQ(form_->History().Current(), int(form_->History().Entries().size()) - 1);
    messages_.ScriptAnswers({Answer::No});
    form_->BPrecedenteClick();
    EXPECT_EQ(form_->DocumentPath(), doc_);
    EXPECT_EQ(editor_.current, 2);
    EXPECT_EQ(form_->History().Entries().back(), "orvo://" + other_ + "|0");  // nothing added
}

TEST_F(History, AnUntitledDocumentIsRecordedAsSenzaTitolo) {
    form_->FileNew();
    AddPage(main_, "a");
    AddPage(main_, "b");
    form_->GoToPage(1);
    EXPECT_EQ(form_->History().Entries().back(), "orvo://Senza titolo|1");
    form_->openFile(other_, true);
    form_->BPrecedenteClick();  // names no file: nothing happens
    EXPECT_EQ(form_->DocumentPath(), other_);
}

// --- Links to pages, documents and addresses -------------------------------------------------

TEST_F(Links, APageLinkShowsThePageAndASpecialLinkGoesToItsAnchor) {
    Follow(Page(2));
    EXPECT_THAT(editor_.Take(), ElementsAre("ShowPage 2", "Refresh"));
    editor_.resolved = Page(4);
    Follow(Special(1, 5, 7));
    EXPECT_THAT(editor_.Take(), ElementsAre("ShowPage 4", "GoToAnchor 7", "Refresh"));
    EXPECT_TRUE(editor_.enabled);
}

TEST_F(Links, FromAFrameSetThePageShowsInThatFrameSet) {
    LinkSource source = Source(LinkSourceKind::FrameSet);
    source.frameSet = 7;
    Follow(Page(3), source);
    EXPECT_THAT(editor_.Take(), ElementsAre("ShowInFrameSet 7 3", "Refresh"));
}

TEST_F(Links, APageOfAnotherHypertextLoadsIt) {
    LinkedObject page = Page(1);
    page.documentFile = other_;
    Follow(page);
    EXPECT_EQ(form_->DocumentPath(), other_);
}

TEST_F(Links, AnOrvoAddressAsksBeforeLeavingAChangedDocument) {
    editor_.changed = true;
    messages_.ScriptAnswers({Answer::Cancel});
    Follow(Web("orvo://altro.kyt|2"));
    EXPECT_THAT(messages_.Questions(), ElementsAre(kOtherFileQuestion));
    EXPECT_EQ(form_->DocumentPath(), doc_);
    messages_.ScriptAnswers({Answer::No});
    Follow(Web("orvo://altro.kyt|2"));
    EXPECT_EQ(form_->DocumentPath(), other_);
    EXPECT_EQ(editor_.current, 2);
}

TEST_F(Links, YesSavesFirstAndAFailedSaveStopsTheLink) {
    AddPage(main_, "nuova");
    editor_.changed = true;
    messages_.ScriptAnswers({Answer::Yes});
    Follow(Web("orvo://altro.kyt|1"));
    EXPECT_EQ(PagesInFile(doc_), 6);
    EXPECT_EQ(form_->DocumentPath(), other_);

    form_->FileNew();
    editor_.changed = true;
    messages_.ScriptAnswers({Answer::Yes});  // Save As then cancelled
    Follow(Web("orvo://" + doc_ + "|1"));
    EXPECT_EQ(form_->DocumentPath(), "");
    EXPECT_TRUE(form_->DocumentChanged());
}

TEST_F(Links, AnOrvoAddressOfTheOpenDocumentOnlyShowsThePage) {
    main_.HeaderRecordView().SetI32(kHdrCoverPage, 3);
    editor_.changed = true;
    Follow(Web("orvo://libro.kyt|2"));
    EXPECT_EQ(editor_.current, 2);
    Follow(Web("orvo:libro.kyt|"));  // no page: the cover
    EXPECT_EQ(editor_.current, 3);
    Follow(Web("orvo://" + doc_ + "|-5"));  // negative: page 0
    EXPECT_EQ(editor_.current, 0);
    EXPECT_THAT(messages_.Questions(), IsEmpty());
    EXPECT_EQ(form_->DocumentPath(), doc_);
}

TEST_F(Links, AnOrvoAddressOfAnUntitledDocumentIsIgnored) {
    Follow(Web("orvo://Senza titolo|1"));
    EXPECT_EQ(form_->DocumentPath(), doc_);
    EXPECT_THAT(messages_.Shown(), IsEmpty());
}

TEST_F(Links, InternetAndMailAddressesGoToTheDesktopInPreviewAndToTheAlbumInEditMode) {
    form_->EditButtonClick();  // preview
    Follow(Web("http://www.esempio.it/perch\xE9.html"));
    Follow(Web("mailto:mario@esempio.it"));
    EXPECT_THAT(shell_.Opened(), ElementsAre(fs::path("http://www.esempio.it/perch\xC3\xA9.html"),
                                             fs::path("mailto:mario@esempio.it")));
    shell_.FailOpens(Failure{Severity::Error, "xdg-open non trovato"});
    Follow(Web("http://x.it"));
    EXPECT_THAT(messages_.Shown(), ElementsAre(Message{Box::Error, "xdg-open non trovato"}));
    form_->EditButtonClick();  // edit
    Follow(Web("http://www.esempio.it"));
    EXPECT_THAT(windows_.calls, ElementsAre("OpenAlbum Collegamenti esterni"));
    EXPECT_EQ(shell_.Opened().size(), 2u);
}

// A question-and-answer window for LinkedFiles that is never reached by these links.
class NoFileWindows final : public ILinkedFileWindows {
public:
    FileLinkAction AskFileAction(std::string_view) override { return FileLinkAction::Annulla; }
    std::optional<fs::path> AskSavePath(std::string_view) override { return std::nullopt; }
    void ShowFileTypeOptions() override {}
    std::optional<fs::path> ChooseApplication() override { return std::nullopt; }
};

TEST(ProgramLinks, StartOnlyAfterTheUserSaysYesAndGetTheLinksParameters) {
    FixedEnvironment environment;
    RecordingMessages messages;
    MemorySettings settings;
    ManualScheduler scheduler;
    RecordingShell shell;
    TKYTset set(environment, messages);
    SettingsStore store(settings, messages);
    NoFileWindows fileWindows;
    LinkedFiles files(store, shell, scheduler, fileWindows);
    LinkedFilesPort port(files, set);

    auto link = NewObjectOfKind(TOggettiHel::internetLink, &set);
    link->SetAuxiliary(std::string("\x02\x00\x00\x00hhnome=mario", 16));
    messages.ScriptAnswers({Answer::No, Answer::Yes});
    port.RunRegisteredProgram("prog:scheda.txt", link.get());
    EXPECT_THAT(shell.Opened(), IsEmpty());
    port.RunRegisteredProgram("prog:scheda.txt", link.get());
    EXPECT_THAT(messages.Questions(),
                ElementsAre("Il collegamento avvia il programma \"scheda.txt\". Vuoi avviarlo?",
                            "Il collegamento avvia il programma \"scheda.txt\". Vuoi avviarlo?"));
    ASSERT_EQ(shell.Opened().size(), 1u);
    EXPECT_EQ(shell.Opened()[0], set.WorkingDirectory() / "params.txt");
    EXPECT_EQ(ReadFile(shell.Opened()[0]), "nome=mario");
}

TEST(EmbeddedFileLinks, AreExtractedIntoTheWorkingFolderAndOpenedByTheirBehaviour) {
    FixedEnvironment environment;
    RecordingMessages messages;
    MemorySettings settings;
    ManualScheduler scheduler;
    RecordingShell shell;
    TKYTset set(environment, messages);
    SettingsStore store(settings, messages);
    NoFileWindows fileWindows;
    LinkedFiles files(store, shell, scheduler, fileWindows);
    LinkedFilesPort port(files, set);

    auto file = NewObjectOfKind(TOggettiHel::genLink, &set);
    file->TakeIntoUse();
    file->SetFileName("C:\\dati\\conti.csv");
    file->SetContent("a;b\r\n1;2\r\n");
    settings.Write("ext\\.CSV", "comp", "2");  // run with the desktop's program
    port.OpenLinkedFile(*file);
    ASSERT_EQ(shell.Opened().size(), 1u)
        << (messages.Shown().empty() ? "" : messages.Shown()[0].text);
    EXPECT_EQ(shell.Opened()[0].parent_path(), set.WorkingDirectory());
    EXPECT_EQ(ReadFile(shell.Opened()[0]), "a;b\r\n1;2\r\n");
}

TEST_F(Links, AProgAddressGoesToTheProgramLinks) {
    Follow(Web("prog:calcolo.txt"));
    EXPECT_THAT(links_.calls, ElementsAre("RunRegisteredProgram prog:calcolo.txt"));
}

TEST_F(Links, EmbeddedFilesOpenTheirWindowAndOtherKindsAreNotSupported) {
    TKYToggetto& file = Object(TOggettiHel::genLink);
    file.View().SetPStr(kGenLinkFile, "tabella.xls");
    Follow(LinkedObjectOf(file, main_));
    EXPECT_THAT(links_.calls, ElementsAre("OpenLinkedFile tabella.xls"));
    LinkedObject unused = LinkedObjectOf(file, main_);
    unused.inUse = false;
    Follow(unused);
    Follow(LinkedObjectOf(Object(TOggettiHel::zipLink), main_));
    EXPECT_EQ(links_.calls.size(), 1u);
    EXPECT_THAT(messages_.Shown(), IsEmpty());
    Follow(LinkedObjectOf(Object(TOggettiHel::keyword), main_));
    EXPECT_THAT(messages_.Shown(), ElementsAre(Message{Box::Information, kNotSupported}));
}

TEST_F(Links, NothingHappensWhileClosingWithoutAPageOrFromAnUnknownControl) {
    Follow(Page(2), Source(LinkSourceKind::Other));
    form_->EditorDoLink(Source(), std::nullopt);
    editor_.current = -1;
    Follow(Page(2));
    editor_.current = 0;
    form_->FormClose();
    editor_.Take();
    Follow(Page(2));
    EXPECT_THAT(editor_.Take(), IsEmpty());
}

// --- Special links ---------------------------------------------------------------------------

class SpecialLinks : public Links {
protected:
    void SetUp() override {
        Links::SetUp();
        form_->EditButtonClick();  // preview
        editor_.resolved = Page(3);
        editor_.Take();
    }
};

TEST_F(SpecialLinks, EachJumpActionShowsTheTargetWhereItSays) {
    Follow(Special(1, 0, 2, ""));
    Follow(Special(1, 1, -1, "destra"));
    Follow(Special(1, 2, 4, "finestra"));
    Follow(Special(1, 3, -1, "nuova"));
    Follow(Special(1, 4, -1, ""));
    Follow(Special(1, 6, 9, ""));
    EXPECT_THAT(
        editor_.Take(),
        ElementsAre("ShowInSourceFrame 3 #2", "Refresh", "ShowInNamedFrame destra 3 #-1", "Refresh",
                    "ShowInSeparateWindow finestra 3 #4", "Refresh", "ShowInNewWindow nuova 3 #-1",
                    "Refresh", "ShowInPopup 3 #-1", "Refresh", "GoToAnchor 9", "Refresh"));
}

TEST_F(SpecialLinks, InEditModeEveryJumpFollowsItsTargetWithTheAnchor) {
    form_->EditButtonClick();
    editor_.Take();
    Follow(Special(1, 2, 4, "finestra"));
    EXPECT_THAT(editor_.Take(), ElementsAre("ShowPage 3", "GoToAnchor 4", "Refresh"));
}

TEST_F(SpecialLinks, AnUnresolvedTargetIsNotFollowed) {
    editor_.resolved.reset();
    Follow(Special(1, 0, 2, ""));
    EXPECT_THAT(editor_.Take(), ElementsAre("Refresh"));
}

TEST_F(SpecialLinks, UnsavedPageEditsAreOfferedFirst) {
    editor_.unsavedEdits = true;
    messages_.ScriptAnswers({Answer::Yes});
    Follow(Special(1, 0, -1, ""));
    EXPECT_THAT(messages_.Questions(), ElementsAre("Salva modifiche a pagina corrente?"));
    EXPECT_THAT(editor_.Take(), ElementsAre("CommitPage", "Refresh"));
    editor_.unsavedEdits = true;
    messages_.ScriptAnswers({Answer::No});
    Follow(Special(1, 0, -1, ""));
    EXPECT_THAT(editor_.Take(), ElementsAre("ShowInSourceFrame 3 #-1", "Refresh"));
}

TEST_F(SpecialLinks, InEditModeUnsavedEditsAreNotAskedAbout) {
    form_->EditButtonClick();
    editor_.unsavedEdits = true;
    editor_.Take();
    Follow(Special(1, 0, -1, ""));
    EXPECT_THAT(messages_.Questions(), IsEmpty());
    EXPECT_THAT(editor_.Take(), ElementsAre("ShowPage 3", "Refresh"));
}

TEST_F(SpecialLinks, ClosingAWindowKeepsTheMainWindowShown) {
    Follow(Special(2, 0, 0, "finestra"));
    EXPECT_THAT(editor_.Take(), ElementsAre("CloseBrowseWindow finestra", "Refresh"));
    Follow(Special(2, 0, -2, "qualsiasi"));
    EXPECT_THAT(editor_.Take(), ElementsAre("Refresh"));
    EXPECT_THAT(messages_.Shown(), ElementsAre(Message{Box::Information, kNotSupported}));
}

TEST_F(SpecialLinks, TheKeywordWindowOpensOrIsNotSupported) {
    Follow(Special(3));
    EXPECT_THAT(windows_.calls, ElementsAre("OpenKeywordSearch"));
    windows_.outcome = Outcome::NotSupported;
    Follow(Special(3));
    EXPECT_THAT(messages_.Shown(), ElementsAre(Message{Box::Information, kNotSupported}));
}

TEST_F(SpecialLinks, PreviousAndNextFollowTheBrowseSequenceOfTheSourcePage) {
    for (auto [page, order] : {std::pair{1, 10}, std::pair{2, 11}, std::pair{4, 12}}) {
        RecordView record = main_.ObjectByKind(TOggettiHel::testoHtml, page)->View();
        record.SetI16(kPageGroup, 0);
        record.SetI16(kPageOrder, std::int16_t(order));
    }
    form_->GoToPage(2);
    Follow(Special(5));
    EXPECT_EQ(editor_.current, 4);
    Follow(Special(4));
    EXPECT_EQ(editor_.current, 2);
    Follow(Special(4));
    EXPECT_EQ(editor_.current, 1);
    LinkSource elsewhere = Source();
    elsewhere.pageFile = other_;
    Follow(Special(5), elsewhere);
    EXPECT_EQ(editor_.current, 1);
}

TEST_F(SpecialLinks, AShortObjectOnAPageSurfaceRunsItsSpecialLinkInPreview) {
    TKYToggetto& marker = Object(TOggettiHel::shortObj);
    editor_.resolved = Special(3);
    Follow(LinkedObjectOf(marker, main_), Source(LinkSourceKind::PageSurface));
    Follow(LinkedObjectOf(marker, main_), Source(LinkSourceKind::TextBox));
    EXPECT_THAT(windows_.calls, ElementsAre("OpenKeywordSearch"));
    form_->EditButtonClick();  // edit mode: markers do nothing
    Follow(LinkedObjectOf(marker, main_), Source(LinkSourceKind::PageSurface));
    EXPECT_EQ(windows_.calls.size(), 1u);
}

class AutomaticImport : public Links {
protected:
    LinkedObject ImportLink(const std::string& file) {
        LinkedObject link = Special(6);
        link.importFile = file;
        return link;
    }
};

TEST_F(AutomaticImport, APageAlreadyImportedFromTheFileIsFollowed) {
    converters_.importedPages[NameIn("cap1.htm")] = 4;
    Follow(ImportLink("cap1.htm"));
    EXPECT_EQ(editor_.current, 4);
    EXPECT_THAT(converters_.calls, IsEmpty());
}

TEST_F(AutomaticImport, AMissingFileCanBeReplacedByAnotherName) {
    const std::string question =
        "Il collegamento richiama il file \"cap2.htm\", non presente. Vuoi suggerire un altro "
        "nome?";
    messages_.ScriptAnswers({Answer::No, Answer::Yes, Answer::Yes});
    Follow(ImportLink("cap2.htm"));
    Follow(ImportLink("cap2.htm"));  // the dialog is cancelled
    const std::string chosen = NameIn("html/capitolo2.htm");
    prompter_.opens = {FileChoice{chosen, 1}};
    Follow(ImportLink("cap2.htm"));
    EXPECT_THAT(messages_.Questions(), ElementsAre(question, question, question));
    ASSERT_EQ(prompter_.openRequests.size(), 2u);
    EXPECT_EQ(prompter_.openRequests[0].folder, NameOfPath(TestDir()));
    EXPECT_EQ(prompter_.openRequests[0].fileName, "cap2.htm");
    EXPECT_THAT(converters_.calls,
                ElementsAre("ImportFiles capitolo2.htm", "MergeImportedStyles 5"));
    EXPECT_EQ(main_.KindCount(TOggettiHel::testoHtml), 7);
    EXPECT_TRUE(form_->DocumentChanged());
}

TEST_F(AutomaticImport, AnExistingFileIsImportedAtOnceButOnlyInEditMode) {
    WriteFile(TestDir() / "cap3.htm", "<HTML></HTML>");
    form_->EditButtonClick();  // preview
    Follow(ImportLink("cap3.htm"));
    EXPECT_THAT(converters_.calls, IsEmpty());
    form_->EditButtonClick();
    Follow(ImportLink("cap3.htm"));
    EXPECT_THAT(converters_.calls, ElementsAre("ImportFiles cap3.htm", "MergeImportedStyles 5"));
    EXPECT_THAT(messages_.Questions(), IsEmpty());
}

// --- Dropped files ---------------------------------------------------------------------------

class Drops : public Links {};

TEST_F(Drops, ADocumentIsOpenedAfterTheSaveQuestion) {
    editor_.changed = true;
    messages_.ScriptAnswers({Answer::No});
    form_->EditorDropFile({other_, doc_});
    EXPECT_THAT(messages_.Questions(), ElementsAre("Salvo le modifiche fatte a " + doc_ + "?"));
    EXPECT_EQ(form_->DocumentPath(), other_);
}

TEST_F(Drops, PicturesAndImportsChangeTheDocumentOnlyInEditMode) {
    form_->EditButtonClick();  // preview
    form_->EditorDropFile({NameIn("foto.gif")});
    form_->EditorDropFile({NameIn("a.txt")});
    EXPECT_THAT(windows_.calls, IsEmpty());
    EXPECT_THAT(converters_.calls, IsEmpty());
    form_->EditButtonClick();
    form_->EditorDropFile({NameIn("foto.gif")});
    EXPECT_THAT(windows_.calls, ElementsAre("InsertDroppedPicture foto.gif"));
}

TEST_F(Drops, TextFilesTheImportAcceptsAreImportedTogether) {
    form_->EditorDropFile({NameIn("a.txt"), NameIn("b.doc"), NameIn("c.rtf"), NameIn("d.gif")});
    EXPECT_THAT(converters_.calls, ElementsAre("ImportFiles a.txt c.rtf", "MergeImportedStyles 5"));
    converters_.calls.clear();
    form_->EditorDropFile({NameIn("b.doc")});
    EXPECT_THAT(converters_.calls, IsEmpty());
    EXPECT_THAT(messages_.Shown(), ElementsAre(Message{Box::Information, kNotSupported}));
}

TEST_F(Drops, AnExportedPageWhoseDocumentExistsOffersALinkToIt) {
    converters_.marker = std::pair{other_, 2};
    form_->EditorDropFile({NameIn("pagina.htm")});
    EXPECT_THAT(windows_.calls, ElementsAre("OfferLinkToPage altro.kyt 2"));
    converters_.marker = std::pair{NameIn("sparito.kyt"), 2};
    converters_.calls.clear();
    form_->EditorDropFile({NameIn("pagina.htm")});
    EXPECT_THAT(converters_.calls, ElementsAre("ReadPageMarker pagina.htm",
                                               "ImportFiles pagina.htm", "MergeImportedStyles 5"));
}

// --- Preview in a browser --------------------------------------------------------------------

class Preview : public Links {};

TEST_F(Preview, TheCurrentPageIsExportedAndOpenedByTheDesktop) {
    form_->GoToPage(2);
    messages_.ScriptAnswers({Answer::No});
    editor_.Take();
    form_->Execute(CommandId::PreviewPageInBrowser);
    EXPECT_THAT(messages_.Questions(),
                ElementsAre("E' necessario salvare il file anche in locale,\rlo faccio?"));
    EXPECT_THAT(editor_.Take(), ElementsAre("CommitPage"));
    EXPECT_THAT(converters_.calls, ElementsAre("ExportForPreview page 2"));
    EXPECT_THAT(shell_.Opened(), ElementsAre(main_.WorkingDirectory() / "TmpHP" / "index.htm"));
}

TEST_F(Preview, YesSavesTheDocumentFirst) {
    AddPage(main_, "nuova");
    editor_.changed = true;
    messages_.ScriptAnswers({Answer::Yes});
    form_->Tuttolipertesto1Click();
    EXPECT_EQ(PagesInFile(doc_), 6);
    EXPECT_THAT(converters_.calls, ElementsAre("ExportForPreview all 0"));
}

TEST_F(Preview, AConfiguredBrowserGetsTheFileAddressAsOneArgument) {
    settings_.Write("Browser", "num", "1");
    settings_.Write("Browser\\0", "Name", "Firefox");
    settings_.Write("Browser\\0", "appPath", "/usr/bin/firefox");
    form_->ApplySettings();
    ASSERT_EQ(form_->PreviewItems().items.size(), 2u);
    EXPECT_EQ(form_->PreviewItems().items[0].caption, "Corrente pagina in Firefox");
    EXPECT_EQ(form_->PreviewItems().items[1].caption, "Tutto l'ipertesto in Firefox");
    messages_.ScriptAnswers({Answer::No});
    form_->PreviewMenuClick(1);
    EXPECT_THAT(converters_.calls, ElementsAre("ExportForPreview all 0"));
    ASSERT_EQ(shell_.Starts().size(), 1u);
    const fs::path page = main_.WorkingDirectory() / "TmpHP" / "index.htm";
    EXPECT_EQ(shell_.Starts()[0].command.argv,
              (std::vector<std::string>{"/usr/bin/firefox", "file://" + page.string()}));
    EXPECT_THAT(shell_.Opened(), IsEmpty());
}

TEST(BrowserAddress, EveryByteButThePlainOnesIsEscaped) {
    EXPECT_EQ(FileUrlOf("/tmp/a-b_c.~/index.htm"), "file:///tmp/a-b_c.~/index.htm");
    EXPECT_EQ(FileUrlOf("/tmp/il mio/perch\xC3\xA9#1?.htm"),
              "file:///tmp/il%20mio/perch%C3%A9%231%3F.htm");
}

TEST_F(Preview, WithoutHtmlExportThereAreNoBrowserItems) {
    settings_.Write("Browser", "num", "1");
    Start(CommandLine{}, true, Services{Service::Printing});
    EXPECT_THAT(form_->PreviewItems().items, IsEmpty());
}

// --- Timers ----------------------------------------------------------------------------------

class Timers : public MainFormTest {};

TEST_F(Timers, TheSaveReminderAsksEveryIntervalAndSavesOnYes) {
    settings_.Write("options", "PromemSave", "1");
    Start();
    const std::string doc = NameIn("promemoria.kyt");
    WriteDocument(scratch_, doc, 1);
    form_->openFile(doc, false);
    AddPage(main_, "altra");
    editor_.changed = true;
    messages_.ScriptAnswers({Answer::Yes, Answer::No});
    scheduler_.Advance(5min - 1ms);
    EXPECT_THAT(messages_.Questions(), IsEmpty());
    scheduler_.Advance(1ms);
    EXPECT_THAT(messages_.Questions(), ElementsAre("Promemoria: vuoi salvare?"));
    EXPECT_EQ(PagesInFile(doc), 2);
    scheduler_.Advance(5min);
    EXPECT_EQ(messages_.Questions().size(), 2u);
    EXPECT_TRUE(form_->ReminderActive());
    form_->FormClose();
    EXPECT_FALSE(form_->ReminderActive());
    scheduler_.Advance(60min);
    EXPECT_EQ(messages_.Questions().size(), 2u);
}

TEST_F(Timers, ATimeSaveOfZeroOrLessTurnsTheReminderOff) {
    settings_.Write("options", "PromemSave", "1");
    for (const char* minutes : {"0", "-3"}) {
        settings_.Write("options", "TimeSave", minutes);
        Start();
        EXPECT_FALSE(form_->ReminderActive()) << minutes;
    }
    settings_.Write("options", "TimeSave", "99999999");
    Start();
    EXPECT_TRUE(form_->ReminderActive());
    EXPECT_LE(form_->ReminderInterval(), std::chrono::milliseconds(0x7FFFFFFF));
    settings_.Write("options", "PromemSave", "yes");
    Start();
    EXPECT_FALSE(form_->ReminderActive());
}

TEST_F(Timers, TheNextActionRuns300MillisecondsAfterTheWindowShows) {
    Start(CommandLine{NextAction::Print, false, {}});
    scheduler_.Advance(299ms);
    EXPECT_THAT(print_.calls, IsEmpty());
    scheduler_.Advance(1ms);
    EXPECT_THAT(print_.calls, ElementsAre("PrintAll"));
    Start(CommandLine{NextAction::PublishFtp, false, {}});
    Start(CommandLine{NextAction::PublishServer, false, {}});
    scheduler_.Advance(300ms);
    // The earlier controller's timer ended with it.
    EXPECT_THAT(publish_.calls, ElementsAre("PublishServer"));
}

TEST_F(Timers, TheWordProcessorProbeRunsOnceADay) {
    probeResult_ = 2;
    Start();
    scheduler_.Advance(300ms);
    EXPECT_EQ(probes_, 1);
    EXPECT_EQ(form_->WordProcessor(), 2);
    EXPECT_EQ(settings_.ReadString("options", "LastDetWordN"), "2");
    EXPECT_EQ(settings_.ReadString("options", "LastDetWord"), "02/01/2024");
    Start();
    scheduler_.Advance(300ms);
    EXPECT_EQ(probes_, 1);
    EXPECT_EQ(form_->WordProcessor(), 2);
    environment_.Advance(24h);
    probeResult_ = 0;
    Start();
    scheduler_.Advance(300ms);
    EXPECT_EQ(probes_, 2);
    EXPECT_EQ(form_->WordProcessor(), 0);
    EXPECT_EQ(settings_.ReadString("options", "LastDetWord"), "02/01/2024");
}

}  // namespace
}  // namespace orvo::test
