// Publishing the guide to a real pyftpdlib server on 127.0.0.1: what the server's own log says
// it received at each publication, the stamps left on the objects, the version page, failures
// half-way, a stop, the images folder and a page whose file is missing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/Paths.h"
#include "model/uKYTpag.h"
#include "publish/PublishSupport.h"
#include "publish/VersionPage.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

std::vector<TKYToggetto*> Pages(TKYTset& set) {
    std::vector<TKYToggetto*> pages;
    for (const auto& page : set.KindList(TOggettiHel::testoHtml))
        if (page && !page->IsFree()) pages.push_back(page.get());
    return pages;
}

// A chapter page without an alias, so that it is sent as one file.
TKYToggetto& ChapterPage(TKYTset& set, int n) {
    return *Pages(set)[std::size_t(3 + n)];
}

class Publishing : public PublishingTest {};

TEST_F(Publishing, FirstSendsTheWholeSiteThenOnlyWhatChanged) {
    html_->ExpSepImage = true;
    ASSERT_EQ(Open(), 200);
    EXPECT_EQ(publisher_->ServerVersion(), -1);
    EXPECT_EQ(publisher_->VersionLabel(),
              "In questa dir del server non risulta nessuna versione dell'ipertesto.");
    EXPECT_EQ(publisher_->PageAddress(), "http://www.esempio.it/guida/guida_index.html");

    // First publication: the server mirrors the export folder, plus the version page.
    const std::int32_t first = set_->SaveCounter() - 1;
    ASSERT_EQ(publisher_->Publish(), 200);
    EXPECT_EQ(publisher_->StatusText(), "Pubblicazione OK.");
    std::set<std::string> expected = FilesBelow(NativePath(html_->ExportPath));
    EXPECT_EQ(expected.size(), 12u /* pages */ + 1 /* the map's popup version */ + 1 /* style */ +
                                   1 /* alias */ + 4 /* pictures */ + 1 /* the form's sound */);
    EXPECT_TRUE(expected.count("images/guida_i000000.gif")) << ::testing::PrintToString(expected);
    EXPECT_TRUE(expected.count("benvenuti.htm"));
    expected.insert("guida_ver.html");
    EXPECT_EQ(ReceivedNames(), expected);
    for (const std::string& name : FilesBelow(NativePath(html_->ExportPath)))
        EXPECT_EQ(ServerFile(name), ReadFile(NativePath(html_->ExportPath) / name)) << name;
    const std::string versionPage = ServerFile("guida_ver.html");
    EXPECT_EQ(ParseVersionPage(versionPage), first);
    EXPECT_THAT(versionPage, HasSubstr("Hypertext :" + document_ + "<BR>\r\n"));
    for (TKYToggetto* page : Pages(*set_)) EXPECT_EQ(page->VersionStamp(), first);
    for (TKYToggetto* picture : list_->ExportedImages) EXPECT_EQ(picture->VersionStamp(), first);
    // After the reload the server's version is read again; only the style sheet is newer.
    EXPECT_EQ(publisher_->ServerVersion(), first);
    for (const TListHtmlRow& row : list_->Rows()) EXPECT_EQ(row.checked, !row.code) << row.caption;

    // One page changed through the editor's commit, the document saved (which reads it back
    // into new objects), published again.
    const std::int32_t code = ChapterPage(*set_, 1).Code();
    CommitPageText(*set_, ChapterPage(*set_, 1), "<Z S0 >Una pagina cambiata");
    ASSERT_TRUE(set_->SaveToFile(document_));
    ASSERT_EQ(Open(), 200);
    EXPECT_EQ(publisher_->ServerVersion(), first);
    EXPECT_EQ(publisher_->VersionLabel(),
              "Sul server \xE8 presente la versione " + std::to_string(first));
    ASSERT_EQ(publisher_->Publish(), 200);
    const std::string changedName = html_->ObjectFileName(*set_->ObjectByCode(code), 0);
    EXPECT_EQ(ReceivedNames(),
              (std::set<std::string>{"guida_style.css", changedName, "guida_ver.html"}));
    EXPECT_THAT(ServerFile(changedName), HasSubstr("Una pagina cambiata"));
    EXPECT_EQ(ParseVersionPage(ServerFile("guida_ver.html")), first + 1);
    EXPECT_EQ(set_->ObjectByCode(code)->VersionStamp(), first + 1);

    // Nothing changed: the style sheet (it carries no stamp) and the version page only.
    ASSERT_EQ(Open(), 200);
    ASSERT_EQ(publisher_->Publish(), 200);
    EXPECT_EQ(ReceivedNames(), (std::set<std::string>{"guida_style.css", "guida_ver.html"}));
    EXPECT_THAT(messages_.Shown(), IsEmpty());
}

TEST_F(Publishing, AFailureHalfWayStampsOnlyWhatWasSentAndTheNextRunCompletes) {
    ASSERT_EQ(Open(), 200);
    ASSERT_EQ(publisher_->Publish(), 200);
    const std::int32_t version = set_->SaveCounter() - 1;
    (void)Received();

    // Two pages changed and not saved (the question is answered No): their stamps are the
    // save counter, one above the version the next publication gives.
    TKYToggetto& sent = ChapterPage(*set_, 0);
    TKYToggetto& blocked = ChapterPage(*set_, 2);
    CommitPageText(*set_, sent, "<Z S0 >Prima");
    CommitPageText(*set_, blocked, "<Z S0 >Seconda");
    const std::string blockedName = html_->ObjectFileName(blocked, 0);
    // The server cannot store the second page: a folder stands where its file goes.
    std::filesystem::remove(root_ / blockedName);
    std::filesystem::create_directory(root_ / blockedName);

    ASSERT_EQ(Open(), 200);
    ASSERT_LT(RowOf(sent), RowOf(blocked));
    EXPECT_NE(publisher_->Publish(), 200);
    EXPECT_EQ(publisher_->StatusText(), "Errore");
    EXPECT_THAT(messages_.Questions(),
                ElementsAre("E' necessario salvare il file anche in locale,\rlo faccio?"));
    EXPECT_EQ(ReceivedNames(),
              (std::set<std::string>{"guida_style.css", html_->ObjectFileName(sent, 0)}));
    EXPECT_EQ(ParseVersionPage(ServerFile("guida_ver.html")), version);
    EXPECT_EQ(sent.VersionStamp(), version);
    EXPECT_EQ(blocked.VersionStamp(), version + 1);
    EXPECT_FALSE(list_->Rows()[std::size_t(RowOf(sent))].checked);
    EXPECT_TRUE(list_->Rows()[std::size_t(RowOf(blocked))].checked);

    // Published at the same counter as the first time: the unchecked pages met before the
    // failure, already current, moved one version ahead; those after it were not reached.
    std::set<std::string> again = {"guida_style.css", blockedName, "guida_ver.html"};
    for (TKYToggetto* page : Pages(*set_)) {
        if (page == &sent || page == &blocked) continue;
        const bool before = RowOf(*page) < RowOf(blocked);
        EXPECT_EQ(page->VersionStamp(), before ? version + 1 : version) << page->Name();
        if (!before) continue;
        again.insert(html_->ObjectFileName(*page, 0));
        const std::string alias = html_->AliasFileName(*page);
        if (!alias.empty()) again.insert(alias);
    }

    // The obstacle gone, the next publication sends what is still missing.
    std::filesystem::remove(root_ / blockedName);
    ASSERT_EQ(Open(), 200);
    ASSERT_EQ(publisher_->Publish(), 200);
    EXPECT_EQ(ReceivedNames(), again);
    EXPECT_THAT(ServerFile(blockedName), HasSubstr("Seconda"));
    EXPECT_EQ(blocked.VersionStamp(), version);
}

TEST_F(Publishing, StopDuringAnUploadIsInterruptedAndTheNextPublicationWorks) {
    // A slow server: 64 KB a second, and a page of some hundreds of KB.
    StartServer({}, 64 * 1024);
    ASSERT_TRUE(server_->Started());
    CommitPageText(*set_, ChapterPage(*set_, 0), "<Z S0 >" + std::string(600 * 1024, 'x'));
    ASSERT_TRUE(set_->SaveToFile(document_));

    ASSERT_EQ(Open(), 200);
    bool runningSeen = false;
    publisher_->OnRunning = [&](bool running) { runningSeen = runningSeen || running; };
    loop_.StartTimer(std::chrono::milliseconds(500), false, [this] { publisher_->Stop(); });
    EXPECT_EQ(publisher_->Publish(), 0);
    EXPECT_TRUE(runningSeen);
    EXPECT_EQ(publisher_->StatusText(), "Interrotto dall'utente");
    for (const ReceivedFile& file : Received()) EXPECT_NE(file.name, "guida_ver.html");

    StartServer();
    ASSERT_TRUE(server_->Started());
    ASSERT_EQ(Open(), 200);
    ASSERT_EQ(publisher_->Publish(), 200);
    EXPECT_EQ(publisher_->StatusText(), "Pubblicazione OK.");
    EXPECT_EQ(ServerFile(html_->ObjectFileName(ChapterPage(*set_, 0), 0)).size(),
              std::filesystem::file_size(NativePath(html_->ExportPath) /
                                         html_->ObjectFileName(ChapterPage(*set_, 0), 0)));
    EXPECT_TRUE(std::filesystem::exists(root_ / "guida_ver.html"));
}

TEST_F(Publishing, ClosingWhileSendingAsksAndStopsOnlyOnYes) {
    StartServer({}, 64 * 1024);
    ASSERT_TRUE(server_->Started());
    CommitPageText(*set_, ChapterPage(*set_, 0), "<Z S0 >" + std::string(600 * 1024, 'y'));
    ASSERT_TRUE(set_->SaveToFile(document_));
    ASSERT_EQ(Open(), 200);
    messages_.ScriptAnswers({Answer::No, Answer::Yes});
    std::vector<bool> closed;
    loop_.StartTimer(std::chrono::milliseconds(300), false,
                     [&] { closed.push_back(publisher_->RequestClose()); });
    loop_.StartTimer(std::chrono::milliseconds(700), false, [&] {
        closed.push_back(comm_->Busy());  // "No" left the transfer running
        closed.push_back(publisher_->RequestClose());
    });
    EXPECT_EQ(publisher_->Publish(), 0);
    EXPECT_THAT(closed, ElementsAre(false, true, true));
    EXPECT_THAT(messages_.Questions(),
                ElementsAre("Alcune operazioni di rete sono ancora in corso. Vuoi cancellarle?",
                            "Alcune operazioni di rete sono ancora in corso. Vuoi cancellarle?"));
    EXPECT_EQ(publisher_->StatusText(), "Interrotto dall'utente");
}

TEST_F(Publishing, AnImagesFolderMadeBeforeIsUsedAgain) {
    html_->ExpSepImage = true;
    TraceLog trace;
    trace.Attach(*comm_);
    ASSERT_EQ(Open(), 200);
    ASSERT_EQ(publisher_->Publish(), 200);
    (void)Received();
    ASSERT_EQ(Open(), 200);
    publisher_->ToggleAll();
    EXPECT_EQ(publisher_->AllCaption(), "Nessuna");
    ASSERT_EQ(publisher_->Publish(), 200);
    EXPECT_EQ(publisher_->StatusText(), "Pubblicazione OK.");
    // The server refused to make the folder again, and the pictures went into it all the same.
    EXPECT_TRUE(trace.Contains("550"));
    const std::set<std::string> names = ReceivedNames();
    EXPECT_TRUE(names.count("images/guida_i000000.gif"));
    EXPECT_EQ(names.size(), 21u);  // with the sample's map, table and form pages and their objects
}

TEST_F(Publishing, ALinkedFileGoesIntoTheImagesFolderTheLinkPointsTo) {
    auto file = NewObjectOfKind(TOggettiHel::genLink, set_.get());
    file->Clear();
    file->TakeIntoUse();
    file->SetName("Le note");
    file->SetFileName("note.pdf");
    file->SetContent("%PDF-1.4 note di prova");
    const std::int32_t id = set_->Register(std::move(file), -1);
    const TKYToggetto& linked = *set_->ObjectByKind(TOggettiHel::genLink, id);
    char code[9];
    std::snprintf(code, sizeof code, "%08x", unsigned(linked.Code()));
    TKYToggetto& page = ChapterPage(*set_, 2);
    CommitPageText(*set_, page, std::string("<Z S0 >Scarica <$") + code + ">le note<%>");
    html_->ExpSepImage = true;
    ASSERT_EQ(Open(), 200);
    const std::string name = html_->ObjectFileName(linked, 0);
    EXPECT_EQ(name, "images/guida_g" + std::string(code + 2) + ".pdf");
    EXPECT_THAT(ReadFile(NativePath(html_->ExportPath) / html_->ObjectFileName(page, 0)),
                HasSubstr("HREF=\"" + name + "\""));
    ASSERT_EQ(publisher_->Publish(), 200);
    EXPECT_TRUE(ReceivedNames().count(name));
    EXPECT_EQ(ServerFile(name), "%PDF-1.4 note di prova");
}

// The save before sending replaces every object: the export list keeps its pictures by code
// and finds them again, never pointing at the objects the save destroyed.
TEST_F(Publishing, TheExportedPicturesFollowTheSaveBeforeSending) {
    ASSERT_TRUE(publisher_->ExportSite().ok());
    std::vector<std::int32_t> codes;
    for (const TKYToggetto* object : list_->ExportedImages) codes.push_back(object->Code());
    ASSERT_FALSE(codes.empty());
    ASSERT_TRUE(set_->SaveToFile(document_));
    ASSERT_EQ(list_->ExportedImages.size(), codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) {
        EXPECT_EQ(list_->ExportedImages[i], set_->ObjectByCode(codes[i]));
        EXPECT_EQ(list_->ExportedImages[i]->Code(), codes[i]);
    }
}

TEST_F(Publishing, AnImagesFolderThatCannotBeMadeStopsThePublication) {
    // A file stands where the folder should be: MKD is refused and no folder is listed.
    WriteFile(root_ / "images", "non una cartella");
    html_->ExpSepImage = true;
    ASSERT_EQ(Open(), 200);
    EXPECT_EQ(publisher_->Publish(), -20);
    EXPECT_EQ(publisher_->StatusText(), "Errore creando directory per immagini");
    // The style sheet, first in the list, went; nothing after the folder did.
    EXPECT_THAT(ReceivedNames(), ElementsAre("guida_style.css"));
}

TEST_F(Publishing, ACheckedPageWhoseFileIsMissingIsAnErrorAndStaysUnstamped) {
    TKYToggetto& page = ChapterPage(*set_, 1);
    CommitPageText(*set_, page, "<Z S0 >Nuova");
    messages_.ScriptAnswers({Answer::No});
    ASSERT_EQ(Open(), 200);
    const std::int32_t published = set_->SaveCounter() - 1;
    const std::filesystem::path file =
        NativePath(html_->ExportPath) / html_->ObjectFileName(page, 0);
    std::filesystem::remove(file);
    EXPECT_EQ(publisher_->Publish(), kLocalFileFailed);
    EXPECT_EQ(publisher_->StatusText(), "Errore");
    EXPECT_EQ(publisher_->Detail(), "Non riesco ad aprire il file " + NameOfPath(file));
    EXPECT_EQ(page.VersionStamp(), published + 1);
    EXPECT_TRUE(list_->Rows()[std::size_t(RowOf(page))].checked);
    EXPECT_FALSE(std::filesystem::exists(root_ / "guida_ver.html"));
}

TEST_F(Publishing, ASiteSavedFiveTimesIsVersionSix) {
    TKYTset fresh(env_, messages_);
    // A new document's counter is 2; five saves make it 7.
    MakeGuideToPublish(fresh);
    const std::string name = NameOfPath(dir_ / "doc" / "Cinque.kyt");
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(fresh.SaveToFile(name));
    ASSERT_EQ(fresh.SaveCounter(), 7);
    TKYTtoHtml html(&fresh);
    TKYTListHtmlToTx list(&html);
    ObjectHolders holders(fresh);
    Publisher publisher(fresh, holders, html, list, *comm_, settings_, messages_);
    ASSERT_TRUE(publisher.ExportSite().ok());
    publisher.Start(PublishMode::Publish);
    ASSERT_EQ(publisher.Connect(), 200);
    ASSERT_EQ(publisher.Publish(), 200);
    EXPECT_EQ(ServerFile("guida_ver.html"),
              "<HTML><HEAD><TITLE>Version</TITLE></HEAD>\r\n<BODY>ORVO. Please don't "
              "delete.<BR>\r\nHypertext :" +
                  name + "<BR>\r\nVersion   :6<BR>\r\n<!--VER=6--><BR>\r\n</BODY>");
    for (TKYToggetto* page : Pages(fresh)) EXPECT_EQ(page->VersionStamp(), 6);
}

TEST_F(Publishing, NothingCheckedStillSendsTheVersionPage) {
    std::vector<std::string> progress;
    publisher_->OnExportProgress = [&](const std::string& text) { progress.push_back(text); };
    ASSERT_EQ(Open(), 200);
    // The twelve pages of the export in phase 1, the map's popup version in phase 2.
    ASSERT_EQ(progress.size(), 13u);
    EXPECT_EQ(progress[0], "Export in corso, fase 1: 0%");
    EXPECT_EQ(progress[11], "Export in corso, fase 1: 91%");
    EXPECT_EQ(progress[12], "Export in corso, fase 2: 0%");
    list_->SetAllChecked(false);
    ASSERT_EQ(publisher_->Publish(), 200);
    const std::vector<ReceivedFile> received = Received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].name, "guida_ver.html");
}

TEST_F(Publishing, AnUncheckedPageAlreadyCurrentMovesOneVersionAhead) {
    ASSERT_EQ(Open(), 200);
    ASSERT_EQ(publisher_->Publish(), 200);
    const std::int32_t version = set_->SaveCounter() - 1;
    set_->SetModified(false);
    // Published again at the same counter: every page carries the published version.
    ASSERT_EQ(Open(), 200);
    ASSERT_EQ(publisher_->Publish(), 200);
    EXPECT_TRUE(set_->Modified());
    for (TKYToggetto* page : Pages(*set_)) EXPECT_EQ(page->VersionStamp(), version + 1);
    for (TKYToggetto* picture : list_->ExportedImages) EXPECT_EQ(picture->VersionStamp(), version);
}

// ---------------------------------------------------------------------------------------------
// The server's version page and the choice of what to send

class ServerVersion : public PublishingTest {
protected:
    void SetStamps() {
        const auto pages = Pages(*set_);
        pages[3]->SetVersionStamp(6);
        pages[4]->SetVersionStamp(7);
        pages[5]->SetVersionStamp(8);
        for (TKYToggetto* page : pages)
            if (page != pages[3] && page != pages[4] && page != pages[5]) page->SetVersionStamp(1);
        for (const auto& picture : set_->KindList(TOggettiHel::immagine))
            if (picture && !picture->IsFree()) picture->SetVersionStamp(1);
    }
    std::vector<std::string> Checked() const {
        std::vector<std::string> names;
        for (const TListHtmlRow& row : list_->Rows())
            if (row.checked) names.push_back(row.texts[colFile]);
        return names;
    }
};

TEST_F(ServerVersion, SevenOnTheServerChoosesOnlyWhatIsNewer) {
    SetStamps();
    WriteFile(root_ / "guida_ver.html",
              "<HTML>\r\n<!--VER=x7-->\r\nVersion   :7<BR>\r\n<!--VER=7--><BR>\r\n");
    ASSERT_EQ(Open(), 200);
    EXPECT_EQ(publisher_->ServerVersion(), 7);
    EXPECT_EQ(publisher_->VersionLabel(), "Sul server \xE8 presente la versione 7");
    EXPECT_THAT(Checked(), UnorderedElementsAre("guida_style.css",
                                                html_->ObjectFileName(*Pages(*set_)[5], 0)));
}

TEST_F(ServerVersion, WithoutAReadablePageEverythingIsNewer) {
    SetStamps();
    // Not our page: too large to be one.
    WriteFile(root_ / "guida_ver.html", "<!--VER=7-->" + std::string(kMaxVersionPageBytes, ' '));
    ASSERT_EQ(Open(), 200);
    EXPECT_EQ(publisher_->ServerVersion(), -1);
    EXPECT_EQ(Checked().size(), list_->Rows().size());
    // A folder of that name is no version page either.
    std::filesystem::remove(root_ / "guida_ver.html");
    std::filesystem::create_directory(root_ / "guida_ver.html");
    ASSERT_EQ(Open(), 200);
    EXPECT_EQ(publisher_->ServerVersion(), -1);
}

TEST_F(ServerVersion, TheShortNameIsReadWhenTheLongOneIsMissing) {
    WriteFile(root_ / "guida_ver.htm", VersionPageBytes("C:\\siti\\guida.kyt", 12));
    ASSERT_EQ(Open(), 200);
    EXPECT_EQ(publisher_->ServerVersion(), 12);
}

TEST_F(ServerVersion, WithoutAutomaticChoiceTheUserChooses) {
    SetStamps();
    WriteFile(root_ / "guida_ver.html", VersionPageBytes(document_, 7));
    settings_.Write("ftpnet", "autoChooseMod", "0");
    ASSERT_EQ(Open(), 200);
    // As rebuilt: the style sheet only.
    EXPECT_THAT(Checked(), ElementsAre("guida_style.css"));
    publisher_->ChooseChanged();
    EXPECT_THAT(Checked(), UnorderedElementsAre("guida_style.css",
                                                html_->ObjectFileName(*Pages(*set_)[5], 0)));
    publisher_->ToggleAll();
    EXPECT_EQ(Checked().size(), list_->Rows().size());
    EXPECT_EQ(publisher_->AllCaption(), "Nessuna");
    publisher_->ToggleAll();
    EXPECT_THAT(Checked(), IsEmpty());
    EXPECT_EQ(publisher_->AllCaption(), "Tutte");
}

// ---------------------------------------------------------------------------------------------
// What stops a publication before anything is sent

class PublishRefusal : public PublishingTest {};

TEST_F(PublishRefusal, AnEmptyPasswordIsAskedForAndNothingIsSent) {
    ASSERT_EQ(Open(), 200);
    publisher_->Fields().pass.clear();
    EXPECT_EQ(publisher_->Publish(), -1);
    EXPECT_THAT(messages_.Shown(),
                ElementsAre(Message{Box::Information, "Introdurre la password!"}));
    EXPECT_THAT(Received(), IsEmpty());
}

TEST_F(PublishRefusal, AServerThatCannotBeReachedIsAnError) {
    std::uint16_t closed = server_->Port();
    server_.reset();
    Configure(closed);
    EXPECT_EQ(Open(), -6);
    EXPECT_EQ(publisher_->StatusText(), "Impossibile connettersi");
    EXPECT_EQ(publisher_->Publish(), -6);
    EXPECT_EQ(publisher_->StatusText(), "Errore");
}

TEST_F(PublishRefusal, ADocumentNeverSavedIsInterrupted) {
    TKYTset unsaved(env_, messages_);
    MakeGuideToPublish(unsaved);
    TKYTtoHtml html(&unsaved);
    TKYTListHtmlToTx list(&html);
    ObjectHolders holders(unsaved);
    Publisher publisher(unsaved, holders, html, list, *comm_, settings_, messages_);
    ASSERT_TRUE(publisher.ExportSite().ok());
    publisher.Start(PublishMode::Publish);
    ASSERT_EQ(publisher.Connect(), 200);
    messages_.ScriptAnswers({Answer::No});
    EXPECT_EQ(publisher.Publish(), 0);
    EXPECT_EQ(publisher.StatusText(), "Interrotto dall'utente");
    EXPECT_THAT(Received(), IsEmpty());
}

}  // namespace
}  // namespace orvo::test
