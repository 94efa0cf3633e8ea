// The document file itself over FTP (the window's second tab) against pyftpdlib: sending it,
// fetching files into a local folder, and the names and files that must not be written.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/Paths.h"
#include "publish/PublishSupport.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class PublishDocument : public PublishingTest {
protected:
    std::filesystem::path DocumentFolder() const { return NativePath(document_).parent_path(); }
};

TEST_F(PublishDocument, TheDocumentIsSavedWhenAskedAndSent) {
    ASSERT_EQ(Open(PublishMode::TransferDocument), 200);
    set_->SetModified(true);
    messages_.ScriptAnswers({Answer::Yes});
    bool saved = false;
    publisher_->SaveDocument = [&] { return saved = set_->SaveToFile(document_); };
    ASSERT_EQ(publisher_->TransferDocument(), 200);
    EXPECT_TRUE(saved);
    EXPECT_THAT(messages_.Questions(),
                ElementsAre("E' necessario salvare il file anche in locale,\rlo faccio?"));
    EXPECT_EQ(publisher_->StatusText(), "Trasferimento OK");
    EXPECT_TRUE(ServerFile("Guida.kyt") == ReadFile(NativePath(document_)));
    // The remote list is read again and shows it.
    bool listed = false;
    for (const T_Filedata& entry : publisher_->RemoteEntries()) listed |= entry.name == "Guida.kyt";
    EXPECT_TRUE(listed);
}

TEST_F(PublishDocument, ADocumentWithoutAFileIsAnError) {
    TKYTset unsaved(env_, messages_);
    TKYTtoHtml html(&unsaved);
    TKYTListHtmlToTx list(&html);
    ObjectHolders holders(unsaved);
    Publisher publisher(unsaved, holders, html, list, *comm_, settings_, messages_);
    publisher.Start(PublishMode::TransferDocument);
    EXPECT_EQ(publisher.TransferDocument(), -1);
    EXPECT_EQ(publisher.StatusText(), "Errore: ");
    EXPECT_THAT(Received(), IsEmpty());
}

TEST_F(PublishDocument, FetchedFilesStayInTheFolderAndNeverReplaceTheOpenDocument) {
    WriteFile(root_ / "copia.kyt", "copia dal server");
    WriteFile(root_ / "Guida.kyt", "non deve arrivare");
    WriteFile(root_ / "note.txt", "nuove note");
    WriteFile(root_ / "..\\fuori.txt", "fuori");  // a backslash is a plain character here
    std::filesystem::create_directories(root_ / "cartella");
    const std::string before = ReadFile(NativePath(document_));
    WriteFile(DocumentFolder() / "note.txt", "note locali");
    ASSERT_EQ(Open(PublishMode::TransferDocument), 200);

    EXPECT_EQ(publisher_->FetchFiles({"cartella", "copia.kyt"}, DocumentFolder()), 200);
    EXPECT_EQ(publisher_->StatusText(), "Trasferimento OK");
    EXPECT_EQ(ReadFile(DocumentFolder() / "copia.kyt"), "copia dal server");
    EXPECT_FALSE(std::filesystem::exists(DocumentFolder() / "cartella"));

    EXPECT_EQ(publisher_->FetchFiles({"..\\fuori.txt"}, DocumentFolder()), -1);
    EXPECT_EQ(publisher_->StatusText(), "Errore");
    EXPECT_EQ(publisher_->Detail(), "Nome di file non ammesso");
    EXPECT_FALSE(std::filesystem::exists(DocumentFolder().parent_path() / "fuori.txt"));
    EXPECT_FALSE(std::filesystem::exists(DocumentFolder() / "..\\fuori.txt"));

    EXPECT_EQ(publisher_->FetchFiles({"Guida.kyt"}, DocumentFolder()), -1);
    EXPECT_EQ(publisher_->Detail(), "Non si pu\xF2 sostituire l'ipertesto aperto: Guida.kyt");
    EXPECT_TRUE(ReadFile(NativePath(document_)) == before);

    // An existing file is replaced only when the user agrees.
    messages_.ScriptAnswers({Answer::No});
    EXPECT_EQ(publisher_->FetchFiles({"note.txt"}, DocumentFolder()), 200);
    EXPECT_EQ(ReadFile(DocumentFolder() / "note.txt"), "note locali");
    messages_.ScriptAnswers({Answer::Yes});
    EXPECT_EQ(publisher_->FetchFiles({"note.txt"}, DocumentFolder()), 200);
    EXPECT_EQ(ReadFile(DocumentFolder() / "note.txt"), "nuove note");
    EXPECT_THAT(messages_.Questions(), ElementsAre("Il file note.txt esiste gi\xE0. Sostituirlo?",
                                                   "Il file note.txt esiste gi\xE0. Sostituirlo?"));
}

TEST_F(PublishDocument, LocalFilesAreSentUnderTheirOwnNames) {
    WriteFile(dir_ / "uno.txt", "uno");
    WriteFile(dir_ / "due.txt", "due");
    ASSERT_EQ(Open(PublishMode::TransferDocument), 200);
    EXPECT_EQ(publisher_->SendFiles({NameOfPath(dir_ / "uno.txt"), NameOfPath(dir_ / "manca.txt"),
                                     NameOfPath(dir_ / "due.txt")}),
              kLocalFileFailed);
    EXPECT_EQ(publisher_->StatusText(), "Errore");
    // It stops at the first failure.
    EXPECT_THAT(Received(), ElementsAre(ReceivedFile{"uno.txt", 3}));
    publisher_->Fields().pass.clear();
    EXPECT_EQ(publisher_->SendFiles({NameOfPath(dir_ / "due.txt")}), -1);
    EXPECT_EQ(messages_.Shown().back().text, "Introdurre la password!");
}

}  // namespace
}  // namespace orvo::test
