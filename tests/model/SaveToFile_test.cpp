// Writing document files: the exact bytes of a new document, round trips of every kind, the
// backup, and saves that fail (disk full, failed opens and renames) leaving everything intact.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "KytFixture.h"
#include "base/Cp1252.h"
#include "model/StyleRecord.h"

namespace orvo::test {
namespace {

using namespace orvo::literals;
using ::testing::ElementsAre;
using K = TOggettiHel;

std::string At(const std::string& bytes, std::size_t offset, std::size_t n) {
    return Escaped(bytes.substr(offset, n));
}

std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

using NewDocumentFile = KytTest;

TEST_F(NewDocumentFile, LibroIsExactly2500Bytes) {
    ASSERT_TRUE(set_.SaveToFile(Path("Libro.kyt")));
    const std::string f = ReadFile(Path("Libro.kyt"));
    ASSERT_EQ(f.size(), 2500u);  // 1978 + 26 x 12 + 4 + 206, empty data area
    EXPECT_EQ(f.substr(0, 4), "ZEBU");
    EXPECT_EQ(f.substr(4, 7), "\x06Libro.");
    EXPECT_EQ(f.substr(1346, 6), "\x05libro");
    EXPECT_EQ(f.substr(1540, 7), "\x06utente") << "the user's name";
    EXPECT_EQ(f[1620], 25);
    EXPECT_EQ(At(f, 1621, 2), Escaped(Bytes({2, 0})));
    EXPECT_EQ(At(f, 1632, 4), Escaped(Bytes({3, 0, 0, 0})));
    EXPECT_EQ(At(f, 1636, 6), Escaped(Bytes({0, 0, 0, 1, 0, 1})));
    EXPECT_EQ(f.substr(1642, 12),
              "\x0b"
              "Courier New");
    EXPECT_EQ(f.substr(1682, 16), "\x0fTimes New Roman");
    EXPECT_EQ(At(f, 1722, 2), Escaped(Bytes({0x60, 0})));
    EXPECT_EQ(At(f, 1724, 8), Escaped(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})));
    EXPECT_EQ(At(f, 1736, 8), Escaped(Bytes({0xC0, 0xC0, 0xC0, 0, 0xFF, 0xFF, 0xFF, 0xFF})));
    EXPECT_EQ(At(f, 1744, 2), Escaped(Bytes({0x09, 0x04})));
    EXPECT_EQ(At(f, 1746, 12), Escaped(Bytes({0, 0, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0})));
    EXPECT_EQ(f.substr(1758, 220), std::string(220, '\0'));
    for (int kind = 0; kind <= 25; ++kind) {
        const std::size_t e = 1978 + 12 * kind;
        const int count = kind == 17 ? 2 : 0;
        const int offset = kind > 17 ? 206 : 0;
        EXPECT_EQ(I32At(f, e), offset) << kind;
        EXPECT_EQ(I32At(f, e + 8), count) << kind;
    }
    EXPECT_EQ(At(f, 2182, 12), Escaped(Bytes({0, 0, 0, 0, 103, 0, 0, 0, 2, 0, 0, 0})));
    EXPECT_EQ(At(f, 2290, 4), Escaped(Bytes({206, 0, 0, 0})));
    EXPECT_EQ(f[2294 + 4], 1);
    EXPECT_EQ(f.substr(2294 + 5, 16), "\x0f[nessuno stile]");
    EXPECT_EQ(f.substr(2294 + 39, 16), "\x0fTimes New Roman");
    EXPECT_EQ(f[2397 + 4], 1);
    EXPECT_EQ(f.substr(2397 + 5, 24), "\x17[nessuno stile tabella]");
    EXPECT_EQ(At(f, 2397 + 86, 4), Escaped(Bytes({0, 0, 0, 0})));
    EXPECT_EQ(At(f, 2294 + 86, 4), Escaped(Bytes({10, 0, 10, 0})));

    EXPECT_EQ(set_.SaveCounter(), 3) << "read back from the written file";
    EXPECT_EQ(set_.KYTFileName(), Path("Libro.kyt"));
    EXPECT_FALSE(set_.Modified());
}

TEST_F(NewDocumentFile, AnEmptyNameIsRefused) {
    EXPECT_FALSE(set_.SaveToFile(""));
    EXPECT_THAT(messages_.Shown(), ElementsAre(Message{Box::Error, "Nome file non valido!"}));
}

class SaveRoundTrip : public KytTest {
protected:
    // One object of every kind that the writer stores, in use, with streams where the kind
    // has them.
    void FillEveryKind() {
        for (int kind = 0; kind <= 24; ++kind) {
            if (kind == 2 || kind == 6 || kind == 14 || kind == 15 || kind == 17) continue;
            TKYToggetto& object = Add(KindOf(kind));
            object.SetName("oggetto " + std::to_string(kind));
            object.View().SetU8At(kStoredRecordSize[kind] - 1, std::uint8_t(kind));
            if (kContentPlace[kind].Exists())
                object.SetContent("contenuto " + std::to_string(kind) + std::string(1, '\0'));
            if (kAuxiliaryPlace[kind].Exists())
                object.SetAuxiliary("ausiliario " + std::to_string(kind));
        }
        auto style = Make(K::stileParagrafo);
        StyleRecord(style->Record()).SetName("Titolo");
        set_.Register(std::move(style));
    }
};

TEST_F(SaveRoundTrip, EveryKindSurvivesByteForByte) {
    FillEveryKind();
    std::vector<std::string> before;
    std::vector<std::string> contents;
    for (int kind = 0; kind <= 25; ++kind)
        for (const auto& object : set_.KindList(KindOf(kind))) {
            before.push_back(RecordString(*object, kStoredRecordSize[kind]));
            contents.push_back(*object->ContentBytes() + "|" + object->Auxiliary().value_or(""));
        }
    ASSERT_TRUE(set_.SaveToFile(Path("tutto.kyt")));
    ASSERT_TRUE(set_.Errors().empty());
    std::size_t i = 0;
    for (int kind = 0; kind <= 25; ++kind)
        for (const auto& object : set_.KindList(KindOf(kind))) {
            std::string after = RecordString(*object, kStoredRecordSize[kind]);
            std::string expected = before[i];
            // Only the stream positions and sizes are the writer's.
            for (const DataPlace* place : {&kContentPlace[kind], &kAuxiliaryPlace[kind]}) {
                if (!place->Exists() || object->IsFree()) continue;
                expected.replace(std::size_t(place->position), 4, after,
                                 std::size_t(place->position), 4);
                expected.replace(std::size_t(place->size), place->sizeIsI16 ? 2 : 4, after,
                                 std::size_t(place->size), place->sizeIsI16 ? 2 : 4);
            }
            EXPECT_EQ(Escaped(after), Escaped(expected)) << "kind " << kind;
            EXPECT_EQ(*object->ContentBytes() + "|" + object->Auxiliary().value_or(""), contents[i])
                << "kind " << kind;
            ++i;
        }
    EXPECT_EQ(i, before.size());

    // Saving the loaded document again changes only the save counter.
    const std::string first = ReadFile(Path("tutto.kyt"));
    ASSERT_TRUE(set_.SaveToFile(Path("ancora.kyt")));
    const std::string second = ReadFile(Path("ancora.kyt"));
    ASSERT_EQ(first.size(), second.size());
    std::string masked = second;
    masked.replace(1632, 4, first, 1632, 4);
    EXPECT_EQ(masked == first, true);
    EXPECT_EQ(I32At(second, 1632), I32At(first, 1632) + 1);
}

TEST_F(SaveRoundTrip, SavingOverTheOpenFileKeepsContentReadFromIt) {
    TKYToggetto& file = Add(K::genLink);
    file.SetFileName("dati.bin");
    file.SetContent(std::string(100000, 'z'));
    ASSERT_TRUE(set_.SaveToFile(Path("Libro.kyt")));
    ASSERT_TRUE(set_.ObjectByKind(K::genLink, 0)->Content().InDocumentFile());
    const std::string firstVersion = ReadFile(Path("Libro.kyt"));
    ASSERT_TRUE(set_.SaveToFile(Path("Libro.kyt")));
    EXPECT_EQ(*set_.ObjectByKind(K::genLink, 0)->ContentBytes(), std::string(100000, 'z'));
    EXPECT_EQ(ReadFile(Path("Libro.bak")), firstVersion) << "the previous version";
    EXPECT_EQ(set_.SaveCounter(), 4);
    EXPECT_THAT(FolderEntries(TestDir()), ::testing::IsSupersetOf({"Libro.bak", "Libro.kyt"}));
    for (const std::string& name : FolderEntries(TestDir()))
        EXPECT_FALSE(name.ends_with(".tmp")) << name;
}

TEST_F(SaveRoundTrip, BackupsOffLeaveNoBak) {
    set_.Backups = false;
    ASSERT_TRUE(set_.SaveToFile(Path("SenzaCopia.kyt")));
    ASSERT_TRUE(set_.SaveToFile(Path("SenzaCopia.kyt")));
    EXPECT_FALSE(std::filesystem::exists(TestDir() / "SenzaCopia.bak"));
}

TEST_F(SaveRoundTrip, PermissionBitsAreKeptOrTakenFromTheUmask) {
    const mode_t old = ::umask(027);
    ASSERT_TRUE(set_.SaveToFile(Path("nuovo.kyt")));
    struct stat st {};
    ASSERT_EQ(::stat(Path("nuovo.kyt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    ::chmod(Path("nuovo.kyt").c_str(), 0604);
    ASSERT_TRUE(set_.SaveToFile(Path("nuovo.kyt")));
    ASSERT_EQ(::stat(Path("nuovo.kyt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0604u);
    ::umask(old);
}

TEST_F(SaveRoundTrip, ALinkKeepsNamingTheSavedFileAndASpecialFileIsRefused) {
    std::filesystem::create_directories(TestDir() / "vero");
    ASSERT_TRUE(set_.SaveToFile(Path("vero/libro.kyt")));
    std::filesystem::create_symlink("vero/libro.kyt", TestDir() / "collegamento.kyt");
    set_.HeaderRecordView().SetPStr(kHdrTitle, "Salvato dal collegamento");
    ASSERT_TRUE(set_.SaveToFile(Path("collegamento.kyt")));
    EXPECT_TRUE(std::filesystem::is_symlink(TestDir() / "collegamento.kyt"));
    TKYTset reread(env_, messages_);
    ASSERT_TRUE(reread.LoadFromFile(Path("vero/libro.kyt")));
    EXPECT_EQ(reread.HeaderView().PStr(kHdrTitle), "Salvato dal collegamento");
    EXPECT_TRUE(std::filesystem::exists(TestDir() / "vero" / "libro.bak")) << "beside the file";

    ASSERT_EQ(::mkfifo(Path("condotto.kyt").c_str(), 0600), 0);
    EXPECT_FALSE(set_.SaveToFile(Path("condotto.kyt")));
    EXPECT_THAT(set_.Errors(), ElementsAre("Impossibile scrivere \"" + Path("condotto.kyt") +
                                           "\": non \xE8 un file normale e non viene "
                                           "sostituito."));
    EXPECT_TRUE(std::filesystem::is_fifo(TestDir() / "condotto.kyt"));
}

TEST_F(SaveRoundTrip, TheSaveCounterWrapsRoundAndOldTemporariesGo) {
    set_.HeaderRecordView().SetI32(kHdrSaveCounter, INT32_MAX);
    ASSERT_TRUE(set_.SaveToFile(Path("contatore.kyt")));
    EXPECT_EQ(set_.SaveCounter(), INT32_MIN);
    // A save killed in another process left its temporaries: the next save removes them.
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);
    const std::string stale = ".contatore.kyt." + std::to_string(child) + "-1-0.tmp";
    WriteFile(TestDir() / stale, "mezzo file");
    ASSERT_TRUE(set_.SaveToFile(Path("contatore.kyt")));
    EXPECT_EQ(set_.SaveCounter(), INT32_MIN + 1);
    EXPECT_FALSE(std::filesystem::exists(TestDir() / stale));
}

TEST_F(SaveRoundTrip, LinkedFilesAreEmbeddedOnlyFromTheDocumentsFolder) {
    ASSERT_TRUE(set_.SaveToFile(Path("doc/Libro.kyt")));
    WriteFile(TestDir() / "doc/dentro.gif", "inside");
    WriteFile(TestDir() / "fuori.gif", "outside");
    for (const char* name : {"dentro.gif", "../fuori.gif"}) {
        TKYToggetto& picture = Add(K::immagine, name);
        picture.SetFileName(name);
        picture.MarkFileFieldFromData();  // as if read from a document file
    }
    TKYToggetto& chosen = Add(K::genLink);
    chosen.SetFileName(Path("fuori.gif"));  // chosen by the user in this run
    ASSERT_TRUE(set_.SaveToFile(Path("doc/Libro.kyt")));
    EXPECT_TRUE(messages_.Shown().empty());
    EXPECT_EQ(*set_.ObjectByKind(K::immagine, 0)->ContentBytes(), "inside");
    EXPECT_EQ(*set_.ObjectByKind(K::immagine, 1)->ContentBytes(), "") << "written empty";
    EXPECT_EQ(*set_.ObjectByKind(K::genLink, 0)->ContentBytes(), "outside");
}

TEST_F(SaveRoundTrip, AFileToEmbedThatCannotBeReadStopsTheSaveNamingIt) {
    ASSERT_TRUE(set_.SaveToFile(Path("Embed.kyt")));
    const std::string previous = ReadFile(Path("Embed.kyt"));
    std::filesystem::create_directories(TestDir() / "cartella.gif");  // there, but no file
    TKYToggetto& picture = Add(K::immagine, "cartella");
    picture.SetFileName(Path("cartella.gif"));
    TKYToggetto& missing = Add(K::genLink);
    missing.SetFileName(Path("manca.bin"));  // missing: written empty, no error
    EXPECT_FALSE(set_.SaveToFile(Path("Embed.kyt")));
    EXPECT_THAT(set_.Errors(),
                ElementsAre(std::string("Errore nell'apertura file: "_cp) + Path("cartella.gif")));
    EXPECT_EQ(ReadFile(Path("Embed.kyt")), previous);
    EXPECT_EQ(set_.SaveCounter(), 3);
    std::filesystem::remove(TestDir() / "cartella.gif");
    EXPECT_TRUE(set_.SaveToFile(Path("Embed.kyt")));
    EXPECT_EQ(*set_.ObjectByKind(K::genLink, 0)->ContentBytes(), "");
}

// Makes chosen operations fail, as a full disk or a locked folder would.
class FailingFileSystem : public PosixFileSystem {
public:
    int failOpens = 0;
    bool failRenameToTarget = false;
    bool failLinks = false;
    std::filesystem::path target;
    Result<FileStream> Open(const std::filesystem::path& path, FileStream::Mode mode,
                            unsigned permissions) override {
        if (failOpens > 0 && mode == FileStream::Mode::CreateExclusive) {
            --failOpens;
            errno = EACCES;
            return Fail("open refused");
        }
        return PosixFileSystem::Open(path, mode, permissions);
    }
    Status Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
        if (failRenameToTarget && to == target) return Fail("rename refused");
        return PosixFileSystem::Rename(from, to);
    }
    Status Link(const std::filesystem::path& from, const std::filesystem::path& to) override {
        if (failLinks) {
            errno = EPERM;
            return Fail("no links here");
        }
        return PosixFileSystem::Link(from, to);
    }
};

class FailedSave : public ::testing::Test {
protected:
    FixedEnvironment env_;
    RecordingMessages messages_;
    FailingFileSystem fs_;
    TKYTset set_{env_, messages_, fs_};
    std::string target_ = (TestDir() / "Libro.kyt").string();

    void SetUp() override {
        auto page = NewObjectOfKind(K::testoHtml, &set_);
        page->Clear();
        page->TakeIntoUse();
        page->SetName("Prima");
        set_.Register(std::move(page));
        ASSERT_TRUE(set_.SaveToFile(target_));
        fs_.target = target_;
        set_.ObjectByKind(K::testoHtml, 0)->SetName("Modificata");
        set_.SetModified(true);
        previous_ = ReadFile(target_);
    }
    // The file on disk, the open document and the folder are as before the save.
    void ExpectNothingChanged() {
        EXPECT_EQ(ReadFile(target_), previous_);
        EXPECT_EQ(set_.KYTFileName(), target_);
        EXPECT_EQ(set_.ObjectByKind(K::testoHtml, 0)->Name(), "Modificata");
        EXPECT_EQ(set_.SaveCounter(), 3);
        EXPECT_TRUE(set_.Modified());
        for (const std::string& name : FolderEntries(TestDir()))
            EXPECT_FALSE(name.ends_with(".tmp")) << name;
    }
    std::string Question() const {
        return "Probabile errore di condivisione, o disco pieno.\rChiudi l'altra applicazione "
               "che sta accedendo al file, e scegli \"Si\" per riprovare a scrivere.\r(" +
               target_ + ")";
    }
    std::string previous_;
};

TEST_F(FailedSave, AFailedRenameLeavesTheTargetTheBackupAndTheDocument) {
    ASSERT_TRUE(set_.SaveToFile(target_));
    previous_ = ReadFile(target_);
    const std::string backup = ReadFile(TestDir() / "Libro.bak");
    set_.ObjectByKind(K::testoHtml, 0)->SetName("Modificata");
    set_.SetModified(true);
    fs_.failRenameToTarget = true;
    EXPECT_FALSE(set_.SaveToFile(target_));
    EXPECT_THAT(set_.Errors(), ElementsAre("Errore nella scrittura file "));
    EXPECT_EQ(ReadFile(TestDir() / "Libro.bak"), backup);
    EXPECT_EQ(ReadFile(target_), previous_);
    EXPECT_EQ(set_.SaveCounter(), 4);
    EXPECT_EQ(set_.ObjectByKind(K::testoHtml, 0)->Name(), "Modificata");
    for (const std::string& name : FolderEntries(TestDir()))
        EXPECT_FALSE(name.ends_with(".tmp")) << name;
}

TEST_F(FailedSave, AFailedOpenAsksAndYesRetries) {
    fs_.failOpens = 1;
    messages_.ScriptAnswers({Answer::Yes});
    EXPECT_TRUE(set_.SaveToFile(target_));
    EXPECT_THAT(messages_.Questions(), ElementsAre(Question()));
    EXPECT_EQ(set_.SaveCounter(), 4);
    EXPECT_EQ(set_.ObjectByKind(K::testoHtml, 0)->Name(), "Modificata");
}

TEST_F(FailedSave, AFailedOpenAnsweredNoGivesUp) {
    fs_.failOpens = 5;
    messages_.ScriptAnswers({Answer::Yes, Answer::No});
    EXPECT_FALSE(set_.SaveToFile(target_));
    EXPECT_EQ(messages_.Questions().size(), 2u);
    EXPECT_THAT(set_.Errors(), ElementsAre("Errore nella scrittura file "));
    ExpectNothingChanged();
}

TEST_F(FailedSave, WithoutHardLinksTheBackupIsACopy) {
    fs_.failLinks = true;
    EXPECT_TRUE(set_.SaveToFile(target_));
    EXPECT_EQ(ReadFile(TestDir() / "Libro.bak"), previous_);
}

TEST_F(FailedSave, AFullDiskLeavesTheTargetAndTheDocument) {
    // A page far larger than the file-size limit the child is given.
    set_.ObjectByKind(K::testoHtml, 0)->SetContent(std::string(200000, 'x') + '\0');
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {
            100000, 100000
        };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const bool saved = set_.SaveToFile(target_);
        const bool reported =
            set_.Errors() == std::vector<std::string>{"Errore nella scrittura file "};
        const bool asked = messages_.Questions() == std::vector<std::string>{Question()};
        const bool intact = ReadFile(target_) == previous_ &&
                            set_.ObjectByKind(K::testoHtml, 0)->Name() == "Modificata" &&
                            set_.SaveCounter() == 3;
        ::_exit(!saved && reported && asked && intact ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ExpectNothingChanged();
    EXPECT_EQ(set_.ObjectByKind(K::testoHtml, 0)->Content().Size(), 200001);
}

}  // namespace
}  // namespace orvo::test
