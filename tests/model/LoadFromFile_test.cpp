// Reading document files: every refusal with its exact message, version-1 conversions, files
// cut short and hostile tables, offsets and sizes.
#include <sys/stat.h>

#include "KytFixture.h"
#include "base/ByteReader.h"
#include "base/Cp1252.h"

namespace orvo::test {
namespace {

using namespace orvo::literals;
using ::testing::ElementsAre;
using K = TOggettiHel;
using namespace std::string_literals;

// A document file made by hand: header, kind table, record-area size, records, data.
struct KytBuilder {
    int highestKind = 25;
    int version = 2;
    std::string header = std::string(1978, '\0');
    std::vector<std::vector<std::string>> records = std::vector<std::vector<std::string>>(27);
    std::vector<int> recordSizes =
        std::vector<int>(kStoredRecordSize.begin(), kStoredRecordSize.end());
    std::string data;

    KytBuilder() {
        std::memcpy(header.data(), "ZEBU", 4);
        header[1632] = 5;  // save counter 5
    }
    // Appends `bytes` to the data area and returns their position in it.
    std::int32_t Data(std::string_view bytes) {
        const auto at = std::int32_t(data.size());
        data += bytes;
        return at;
    }
    std::string Build() const {
        std::string out = header;
        out[1620] = char(highestKind);
        out[1621] = char(version & 0xFF);
        out[1622] = char((version >> 8) & 0xFF);
        ByteWriter w(out);
        std::string area;
        for (int kind = 0; kind <= highestKind; ++kind) {
            w.I32(std::int32_t(area.size()));
            w.I32(recordSizes[kind]);
            w.I32(std::int32_t(records[kind].size()));
            for (const std::string& r : records[kind]) area += r;
        }
        w.I32(std::int32_t(area.size()));
        return out + area + data;
    }
};

std::string Record(int size, std::initializer_list<std::pair<int, std::string>> fields,
                   char fill = '\xff') {
    std::string r(std::size_t(size), fill);
    for (const auto& [at, bytes] : fields) r.replace(std::size_t(at), bytes.size(), bytes);
    return r;
}
std::string Le32(std::int32_t v) {
    std::string out;
    ByteWriter(out).I32(v);
    return out;
}

class LoadFromFile : public KytTest {
protected:
    std::string Write(std::string_view name, std::string_view bytes) {
        WriteFile(TestDir() / name, bytes);
        return Path(name);
    }
    // The container holds a new document again, with no file name.
    void ExpectNewDocument() {
        EXPECT_EQ(set_.KYTFileName(), "");
        EXPECT_EQ(set_.KindCount(K::stileParagrafo), 2);
        EXPECT_EQ(set_.KindCount(K::testoHtml), 0);
        EXPECT_EQ(set_.SaveCounter(), 2);
        EXPECT_EQ(set_.HeaderView().PStr(kHdrTitle), "Senza titolo");
    }
    std::string ReadError(const std::string& file) {
        return std::string("Errore nella lettura file:") + file;
    }
};

TEST_F(LoadFromFile, AMissingFileIsAWarning) {
    AddPage("Resta", std::string("<Z S0 >\0", 8));
    EXPECT_FALSE(set_.LoadFromFile(Path("manca.kyt")));
    EXPECT_THAT(messages_.Shown(),
                ElementsAre(Message{Box::Warning, Path("manca.kyt") + " non esiste"}));
    EXPECT_EQ(set_.KindCount(K::testoHtml), 1) << "the open document stays";
}

TEST_F(LoadFromFile, WrongSignatureIsUnknownFormat) {
    EXPECT_FALSE(set_.LoadFromFile(Write("nope.kyt", "NOPE" + std::string(3000, 'x'))));
    EXPECT_THAT(messages_.Shown(), ElementsAre(Message{Box::Information, "Formato sconosciuto."}));
    ExpectNewDocument();
}

TEST_F(LoadFromFile, LowerCaseSignatureIsAccepted) {
    KytBuilder b;
    std::memcpy(b.header.data(), "zebu", 4);
    EXPECT_TRUE(set_.LoadFromFile(Write("lower.kyt", b.Build())));
    EXPECT_TRUE(messages_.Shown().empty());
    EXPECT_EQ(set_.KindCount(K::stileParagrafo), 2) << "built-in styles added to a file with none";
}

TEST_F(LoadFromFile, VersionRefusalsShowTheirTexts) {
    KytBuilder early;
    early.version = 1;
    early.highestKind = 7;
    EXPECT_FALSE(set_.LoadFromFile(Write("v1.kyt", early.Build())));
    KytBuilder newer;
    newer.version = 3;
    EXPECT_FALSE(set_.LoadFromFile(Write("v3.kyt", newer.Build())));
    KytBuilder wide;
    wide.highestKind = 27;
    wide.records.resize(28);
    wide.recordSizes.push_back(0);
    EXPECT_FALSE(set_.LoadFromFile(Write("k27.kyt", wide.Build())));
    EXPECT_THAT(
        messages_.Shown(),
        ElementsAre(
            Message{Box::Information,
                    std::string("Attenzione: file salvato con una versione del "
                                "programma\ranteriore alla 0.98. Non più supportato. "
                                "UNSUPPORTED\r"_cp)},
            Message{Box::Error, std::string("File non supportato dalla corrente versione del "
                                            "programma.\rPer aprirlo occorre una versione più "
                                            "recente del programma."_cp)},
            Message{Box::Information,
                    "File non supportato dalla corrente versione del programma."}));
    ExpectNewDocument();
}

TEST_F(LoadFromFile, AFileOfTwentySixKindsIsRead) {
    KytBuilder b;
    b.highestKind = 26;
    b.records[0].push_back(Record(292, {{4, "\x00"s}, {5, "\x03Uno"}, {185, Le32(-1)}}));
    EXPECT_TRUE(set_.LoadFromFile(Write("k26.kyt", b.Build())));
    EXPECT_EQ(set_.KindCount(K::testoHtml), 1);
    EXPECT_EQ(set_.ObjectByKind(K::testoHtml, 0)->Name(), "Uno");
    EXPECT_FALSE(set_.ObjectByKind(K::testoHtml, 0)->Content().Present())
        << "a negative size is no text";
}

TEST_F(LoadFromFile, AnEmptyFileIsANewDocumentNamedAfterIt) {
    EXPECT_TRUE(set_.LoadFromFile(Write("Il Mio Libro Lungo.kyt", "")));
    EXPECT_TRUE(messages_.Shown().empty());
    EXPECT_EQ(set_.KYTFileName(), Path("Il Mio Libro Lungo.kyt"));
    EXPECT_EQ(set_.ExpPrefix(), "il mio l");
    EXPECT_EQ(set_.KindCount(K::stileParagrafo), 2);
}

TEST_F(LoadFromFile, AShortFileIsAReadError) {
    const std::string name = Write("corto.kyt", "ZEBU" + std::string(996, '\0'));
    EXPECT_FALSE(set_.LoadFromFile(name));
    EXPECT_THAT(messages_.Shown(), ElementsAre(Message{Box::Information, ReadError(name)}));
    ExpectNewDocument();
}

TEST_F(LoadFromFile, AFifoIsAReadErrorNotAHang) {
    const std::string name = Path("tubo.kyt");
    ASSERT_EQ(::mkfifo(name.c_str(), 0600), 0);
    EXPECT_FALSE(set_.LoadFromFile(name));
    EXPECT_THAT(messages_.Shown(), ElementsAre(Message{Box::Information, ReadError(name)}));
}

TEST_F(LoadFromFile, RecordsAndDataAreRead) {
    KytBuilder b;
    const std::string text("<Z S0 >Ciao<Y y1 >mondo\0", 24);
    const std::int32_t at = b.Data(text);
    const std::int32_t head = b.Data("head code");
    b.records[0].push_back(Record(292, {{0, Le32(at)},
                                        {4, "\x00"s},
                                        {5, "\x05Prima"},
                                        {185, Le32(std::int32_t(text.size()))},
                                        {195, "\x02"},
                                        {239, Le32(head)},
                                        {243, Le32(9)}}));
    const std::int32_t file = b.Data("embedded file bytes");
    b.records[3].push_back(Record(
        93, {{0, Le32(file)}, {4, "\x04"}, {5, "\x05a.txt"}, {85, Le32(19)}, {89, Le32(4)}}));
    EXPECT_TRUE(set_.LoadFromFile(Write("dati.kyt", b.Build())));
    const TKYToggetto* page = set_.ObjectByKind(K::testoHtml, 0);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->Registered());
    EXPECT_EQ(*page->ContentBytes(), text);
    EXPECT_EQ(*page->Auxiliary(), "head code");
    const TKYToggetto* link = set_.ObjectByKind(K::genLink, 0);
    EXPECT_TRUE(link->Content().InDocumentFile()) << "embedded files stay in the file";
    EXPECT_EQ(*link->ContentBytes(), "embedded file bytes");
    EXPECT_EQ(link->VersionStamp(), 4);
    EXPECT_FALSE(set_.Modified());
    EXPECT_EQ(set_.SaveCounter(), 5);
}

TEST_F(LoadFromFile, VersionOneFilesConvertTheirLegacyKinds) {
    KytBuilder b;
    b.version = 1;
    b.highestKind = 8;
    b.records.resize(9);
    b.records[5].push_back(Record(667, {{4, "\x03"}}));  // a free picture slot
    const std::int32_t gif = b.Data("GIF89a");
    b.records[6].push_back(Record(
        667, {{0, Le32(gif)}, {4, "\x00"s}, {5, "\x05mappa"}, {94, "\x05m.gif"}, {174, Le32(6)}}));
    b.records[6].push_back(
        Record(667, {{0, Le32(gif)}, {4, "\x00"s}, {5, "\x06mappa2"}, {174, Le32(6)}}));
    const std::int32_t zip = b.Data("PK..");
    b.records[2].push_back(
        Record(93, {{0, Le32(zip)}, {4, "\x04"}, {5, "\x07old.zip"}, {85, Le32(4)}}));
    EXPECT_TRUE(set_.LoadFromFile(Write("Vecchio Libro.kyt", b.Build())));
    EXPECT_TRUE(messages_.Shown().empty());
    EXPECT_EQ(set_.ExpPrefix(), "vecchio ");
    EXPECT_EQ(set_.HeaderView().I32(kHdrHeaderPage), -1);
    EXPECT_EQ(set_.HeaderView().I32(kHdrBackColour), 0xC0C0C0);
    EXPECT_EQ(set_.HeaderView().U16(kHdrLanguage), 1033);
    EXPECT_EQ(set_.KindCount(K::mappaClic), 0);
    EXPECT_EQ(set_.KindCount(K::zipLink), 0);
    ASSERT_EQ(set_.KindCount(K::immagine), 2);
    const TKYToggetto* first = set_.ObjectByCode(0x06000000);
    const TKYToggetto* second = set_.ObjectByCode(0x06000001);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->Kind(), K::immagine);
    EXPECT_EQ(first->Identifier(), 0) << "took the free picture slot";
    EXPECT_EQ(second->Identifier(), 1);
    EXPECT_EQ(first->Name(), "mappa");
    EXPECT_EQ(first->ReadView().I32(kPictureMapId), 0);
    EXPECT_EQ(second->ReadView().I32(kPictureMapId), 1);
    EXPECT_EQ(first->VersionStamp(), 4);
    EXPECT_EQ(*first->ContentBytes(), "GIF89a");
    const TKYToggetto* zipped = set_.ObjectByCode(0x02000000);
    ASSERT_NE(zipped, nullptr);
    EXPECT_EQ(zipped->Kind(), K::genLink);
    EXPECT_EQ(*zipped->ContentBytes(), "PK..");
    EXPECT_EQ(set_.ConversionTable().size(), 3u);
}

TEST_F(LoadFromFile, FilesCutAtAnyLengthAreRefusedCleanly) {
    AddPage("Pagina", std::string("<Z S0 >testo della pagina\0", 26));
    TKYToggetto& file = Add(K::genLink);
    file.SetFileName("x.bin");
    file.SetContent(std::string(300, 'b'));
    ASSERT_TRUE(set_.SaveToFile(Path("intero.kyt")));
    const std::string whole = ReadFile(Path("intero.kyt"));
    for (std::size_t cut = 1; cut < whole.size(); cut += (cut < 2400 ? 61 : 5)) {
        messages_.Clear();
        TKYTset other(env_, messages_);
        const std::string name = Write("cut.kyt", whole.substr(0, cut));
        EXPECT_FALSE(other.LoadFromFile(name)) << cut;
        ASSERT_EQ(messages_.Shown().size(), 1u) << cut;
        EXPECT_EQ(messages_.Shown()[0].text, ReadError(name)) << cut;
        EXPECT_EQ(other.KYTFileName(), "");
        EXPECT_EQ(other.KindCount(K::testoHtml), 0);
    }
}

TEST_F(LoadFromFile, HostileTablesOffsetsAndSizesAreReadErrors) {
    auto expectReadError = [&](const KytBuilder& b, const char* what) {
        messages_.Clear();
        TKYTset other(env_, messages_);
        const std::string name = Write("hostile.kyt", b.Build());
        EXPECT_FALSE(other.LoadFromFile(name)) << what;
        EXPECT_THAT(messages_.Shown(), ElementsAre(Message{Box::Information, ReadError(name)}))
            << what;
    };
    {
        KytBuilder b;
        b.records[0].push_back(Record(292, {{0, Le32(0)}, {4, "\x00"s}, {185, Le32(100)}}));
        expectReadError(b, "text beyond the data area");
    }
    {
        KytBuilder b;
        b.Data("abc");
        b.records[0].push_back(Record(292, {{0, Le32(2)}, {4, "\x00"s}, {185, Le32(0x7fffffff)}}));
        expectReadError(b, "size overflowing the data area");
    }
    {
        KytBuilder b;
        b.records[13].push_back(Record(67, {{4, "\x07"}, {38, Le32(1 << 30)}, {42, Le32(4)}}));
        expectReadError(b, "auxiliary data beyond the end");
    }
    {
        KytBuilder b;
        b.records[1].push_back(Record(133, {{4, "\x07"}}));
        b.recordSizes[1] = 1 << 30;
        expectReadError(b, "record size past the record area");
    }
    {
        KytBuilder b;
        std::string built = b.Build();
        // count of kind 0 = 16 million, size 292: far more than the file holds
        built.replace(1978 + 8, 4, Le32(0xFFFFFF));
        messages_.Clear();
        TKYTset other(env_, messages_);
        EXPECT_FALSE(other.LoadFromFile(Write("count.kyt", built)));
        EXPECT_EQ(messages_.Shown().size(), 1u);
    }
    {
        KytBuilder b;
        std::string built = b.Build();
        built.replace(1978 + 26 * 12, 4, Le32(-5));  // negative record-area size
        messages_.Clear();
        TKYTset other(env_, messages_);
        EXPECT_FALSE(other.LoadFromFile(Write("area.kyt", built)));
        EXPECT_EQ(messages_.Shown().size(), 1u);
    }
    {
        // A free object's stale positions are not checked: our own saves keep them.
        KytBuilder b;
        b.records[0].push_back(Record(292, {{0, Le32(999)}, {4, "\x03"}, {185, Le32(999)}}));
        messages_.Clear();
        TKYTset other(env_, messages_);
        EXPECT_TRUE(other.LoadFromFile(Write("free.kyt", b.Build())));
        EXPECT_TRUE(messages_.Shown().empty());
    }
}

}  // namespace
}  // namespace orvo::test
