// What objects tell: descriptions, references, attributes, term search, extracted content,
// temporary names and "orvo:" links.
#include <sys/stat.h>

#include "KytFixture.h"
#include "base/ByteReader.h"
#include "base/Cp1252.h"
#include "base/Format.h"

namespace orvo::test {
namespace {

using namespace orvo::literals;
using ::testing::ElementsAre;
using K = TOggettiHel;

// An auxiliary stream in the custom-code layout: int32 header length, header, code.
std::string CodeStream(std::string_view code, std::string_view header = "") {
    std::string out;
    ByteWriter w(out);
    w.I32(std::int32_t(header.size()));
    w.Bytes(header);
    w.Bytes(code);
    return out;
}

using Descriptions = KytTest;

TEST_F(Descriptions, PagesLinksAndFiles) {
    Add(K::testoHtml, "A");
    Add(K::testoHtml, "B");
    Add(K::testoHtml, "C");
    TKYToggetto& x = Add(K::testoHtml, "X");
    EXPECT_EQ(x.Describe(), "X|Collegamento a: X (3)");
    x.Clear();
    EXPECT_EQ(x.Describe(), "Non definito.");

    EXPECT_EQ(Add(K::internetLink, "mailto:anna@posta.it").Describe(),
              "anna@posta.it|Collegamento a e-mail: anna@posta.it");
    EXPECT_EQ(Add(K::internetLink, "http://www.orvo.it").Describe(),
              "http://www.orvo.it|Collegamento a: http://www.orvo.it");
    TKYToggetto& file = Add(K::genLink);
    file.SetFileName("c:\\dati\\listino.xls");
    EXPECT_EQ(file.Describe(), "listino.xls|Collegamento a file: listino.xls");
    EXPECT_EQ(Add(K::custom, "Galleria").Describe(), "Galleria|Custom  Galleria");
}

TEST_F(Descriptions, SpecialLinks) {
    Add(K::testoHtml, "Home");
    TKYToggetto& jump = Add(K::speclink);
    RecordView r = jump.View();
    r.SetI32(kSpecTarget, 0x00000000);
    r.SetU8(kSpecFrame, 1);
    r.SetU8(kSpecAction, 2);
    r.SetPStr(kSpecName, "win");
    r.SetI32(kSpecAnchor, 4);
    EXPECT_EQ(jump.Describe(),
              "Home|Qui si crea in finestra separata \"win\"  l'insieme cornici: Home #a4 @0");
    EXPECT_EQ(jump.Name(), "Home");
    r.SetU8(kSpecAction, 6);
    EXPECT_EQ(jump.Describe(),
              "Home|Qui si salta all'interno della pagina corrente, all'ancora:  #a4");
    jump.SetAuxiliary(CodeStream("<b>codice</b>", "hd"));
    EXPECT_EQ(jump.Describe(),
              "Home|Qui si salta all'interno della pagina corrente, all'ancora:  #a4"
              "\r\n----------\r\n<b>codice</b>");

    TKYToggetto& previous = Add(K::speclink);
    previous.View().SetU8(kRecSubtype, 4);
    EXPECT_EQ(previous.Describe(), "pagina precedente|Collegamento a: pagina precedente");
}

TEST_F(Descriptions, LinksNamingEachOtherInACircleEnd) {
    TKYToggetto& a = Add(K::speclink);
    TKYToggetto& b = Add(K::shortObj);
    a.View().SetI32(kSpecTarget, b.Code());
    a.View().SetU8(kSpecAction, 0);
    a.View().SetU8(kSpecFrame, 0);
    b.View().SetU8(kRecSubtype, 13);
    b.View().SetI32(kShortReference, a.Code());
    EXPECT_THAT(a.Describe(), ::testing::StartsWith("|Qui si rimpiazza la cornice corrente con"));
    EXPECT_THAT(b.Describe(), ::testing::EndsWith("@0"));
}

TEST_F(Descriptions, ReferenceObjects) {
    TKYToggetto& picture = Add(K::immagine, "logo");
    TKYToggetto& ref = Add(K::shortObj);
    ref.View().SetU8(kRecSubtype, 21);
    ref.View().SetI32(kShortReference, picture.Code());
    EXPECT_EQ(ref.Describe(), "Riferimento a immagine: logo");
    ref.View().SetU8(kRecSubtype, 25);
    EXPECT_EQ(ref.Describe(), std::string("Qui verrà riportata la dimensione X"_cp));
    ref.View().SetU8(kRecSubtype, 14);
    ref.View().SetI32(kShortReference, 7);
    EXPECT_EQ(ref.Describe(), "Ancora: a7");
}

TEST_F(Descriptions, LinkToAnotherHypertextNamesItsPage) {
    // Another document with page 0 "Indice" and page 1 "Capitolo".
    {
        FixedEnvironment env;
        RecordingMessages messages;
        TKYTset other(env, messages);
        for (const char* title : {"Indice", "Capitolo"}) {
            auto page = NewObjectOfKind(K::testoHtml, &other);
            page->Clear();
            page->TakeIntoUse();
            page->SetName(title);
            other.Register(std::move(page));
        }
        ASSERT_TRUE(other.SaveToFile(Path("altro.kyt")));
    }
    ASSERT_TRUE(set_.SaveToFile(Path("qui.kyt")));
    TKYToggetto& link = Add(K::internetLink, "orvo://altro.kyt|1");
    EXPECT_EQ(link.Describe(),
              "altro.kyt Pag.:Capitolo|Collegamento a ipertesto: altro.kyt Pag.:Capitolo");
    link.SetName("orvo://altro.kyt|9");
    EXPECT_EQ(link.Describe(), "altro.kyt Pag.:9|Collegamento a ipertesto: altro.kyt Pag.:9");
}

using References = KytTest;

TEST_F(References, ThroughTextKeywordsBackgroundAndCode) {
    TKYToggetto& keyword = Add(K::keyword, "mare");
    TKYToggetto& picture = Add(K::immagine, "sfondo");
    TKYToggetto& target = AddPage("Target", std::string("<Z S0 >\0", 8));
    TKYToggetto& page = AddPage("Page", std::string("<Z S0 >vai <$00000000>qui<%>\0", 30));
    EXPECT_EQ(page.Refers(target.Code()), 1);
    EXPECT_EQ(page.Refers(MakeCode(K::testoHtml, 5)), 0);

    page.View().SetI32At(kPageKeywords.offset + 8, keyword.Identifier());
    EXPECT_EQ(page.Refers(keyword.Code()), 1);
    page.View().SetI32(kPageBackPicture, picture.Identifier());
    EXPECT_EQ(page.Refers(picture.Code()), 2);
    page.View().SetI32(kPageHeader, target.Identifier());
    EXPECT_EQ(page.Refers(target.Code()), 4);

    TKYToggetto& button = Add(K::bottoneCGI, "ok");
    button.SetAuxiliary(CodeStream("src=!RefI:05" + std::string("000000") + " x"));
    EXPECT_EQ(button.Refers(picture.Code()), 6) << "hex digits of the code, any case";
    button.Clear();
    EXPECT_EQ(button.Refers(picture.Code()), 0) << "a free object refers to nothing";
}

TEST_F(References, APictureIsFoundThroughTheImageObjectsOfAText) {
    TKYToggetto& picture = Add(K::immagine, "foto");
    TKYToggetto& image = Add(K::immagineNew);
    image.View().SetI32(kImagePicture, picture.Identifier());
    const std::string code = "<$" + Hex8(std::uint32_t(image.Code())) + ">";
    TKYToggetto& page = AddPage("P", "<Z S0 >" + code + std::string(1, '\0'));
    EXPECT_EQ(page.Refers(picture.Code()), 1);
    image.View().SetI32(kImagePicture, -1);
    EXPECT_EQ(page.Refers(picture.Code()), 0);
}

TEST_F(References, TablesMediaDatabaseObjectsAndFloatingWindowsNameWhatTheirFieldsHold) {
    TKYToggetto& picture = Add(K::immagine, "foto");
    TKYToggetto& other = Add(K::immagine, "altra");
    const std::int32_t named = 0x03000000 + picture.Identifier();
    auto put = [](std::string& bytes, std::int32_t v) {
        for (int b = 0; b < 4; ++b) bytes += char((std::uint32_t(v) >> (8 * b)) & 0xFF);
    };
    // Reason numbers: 3 table background, 7 multimedia picture, 8 floating window, 14 in
    // multimedia, 15 instance of a prototype, 16 local database object.
    TKYToggetto& table = Add(K::tabellaHtml);
    EXPECT_EQ(table.Refers(picture.Code()), 0);
    table.View().SetI32(kTableBackground, named);
    EXPECT_EQ(table.Refers(picture.Code()), 3);
    EXPECT_EQ(table.Refers(other.Code()), 0);
    table.View().SetI32(kTableBackground, picture.Identifier());  // a colour, not a picture
    EXPECT_EQ(table.Refers(picture.Code()), 0);
    std::string cells;
    for (std::int32_t v : {0x00FF00, -1, named}) put(cells, v);
    table.SetAuxiliary(cells);
    EXPECT_EQ(table.Refers(picture.Code()), 3) << "a cell's background";

    TKYToggetto& media = Add(K::multiMedia);
    TKYToggetto& clip = Add(K::genLink, "suono.wav");
    TKYToggetto& prototype = Add(K::custom, "Prototipo");
    media.View().SetI32(kMediaPoster, picture.Identifier());
    EXPECT_EQ(media.Refers(picture.Code()), 7);
    media.View().SetI32(kMediaPoster, -1);
    media.View().SetI32(kMediaElementPicture, picture.Identifier());
    EXPECT_EQ(media.Refers(picture.Code()), 7);
    media.View().SetI32(kMediaSource, clip.Identifier());
    EXPECT_EQ(media.Refers(clip.Code()), 14);
    media.View().SetI32(kMediaSource, prototype.Identifier());
    EXPECT_EQ(media.Refers(prototype.Code()), 15);
    EXPECT_EQ(media.Refers(other.Code()), 0);

    TKYToggetto& database = Add(K::dbloc, "db");
    database.View().SetI32(kMediaPoster, picture.Identifier());
    EXPECT_EQ(database.Refers(picture.Code()), 16);

    TKYToggetto& target = AddPage("Mostrata", std::string("<Z S0 >\0", 8));
    TKYToggetto& floating = Add(K::inputStat, "cornice");
    floating.View().SetI32(kFloatingPage, target.Identifier());
    EXPECT_EQ(floating.Refers(target.Code()), 0) << "only the floating window's subtype";
    floating.View().SetU8(kRecSubtype, kFloatingWindowSubtype);
    EXPECT_EQ(floating.Refers(target.Code()), 8);

    // A page finds the picture through the table its text holds.
    TKYToggetto& page =
        AddPage("P", "<Z S0 ><$" + Hex8(std::uint32_t(table.Code())) + ">" + std::string(1, '\0'));
    EXPECT_EQ(page.Refers(picture.Code()), 3);
}

TEST_F(References, ClearingAMarkerImageOrButtonClearsTheSpecialLinksOnlyItNames) {
    auto speclink = [&] {
        TKYToggetto& link = Add(K::speclink);
        link.View().SetU8(kRecSubtype, 1);
        return link.Code();
    };
    TKYToggetto& marker = Add(K::shortObj);
    marker.View().SetU8(kRecSubtype, 13);
    const std::int32_t script = speclink();
    marker.View().SetI32(kShortReference, script);
    TKYToggetto& image = Add(K::immagineNew);
    const std::int32_t zone = speclink(), shared = speclink();
    image.View().SetI32At(kImageZones.offset + 3 * kZoneRecordSize, zone);
    image.View().SetI32At(kImageZones.offset + 5 * kZoneRecordSize, shared);
    TKYToggetto& button = Add(K::bottoneCGI, "vai");
    const std::int32_t pressed = speclink();
    button.View().SetI32(kButtonLink, pressed);
    TKYToggetto& sharing = Add(K::bottoneCGI, "anche");
    sharing.View().SetI32(kButtonLink, shared);
    const std::int32_t web = Add(K::internetLink, "http://a.it/").Code();
    image.View().SetI32At(kImageZones.offset, web);

    EXPECT_EQ(marker.Refers(script), 12);
    EXPECT_EQ(image.Refers(zone), 11);
    EXPECT_EQ(button.Refers(pressed), 9);
    auto live = [&](std::int32_t code) { return !set_.ObjectByCode(code)->IsFree(); };
    marker.Clear();
    EXPECT_FALSE(live(script));
    image.Clear();
    EXPECT_FALSE(live(zone));
    EXPECT_TRUE(live(shared)) << "the other button still names it";
    EXPECT_TRUE(live(web)) << "web links are shared by pages";
    button.Clear();
    EXPECT_FALSE(live(pressed));
    // A marker of another subtype holds an anchor number, not a link.
    TKYToggetto& anchor = Add(K::shortObj);
    anchor.View().SetU8(kRecSubtype, 14);
    const std::int32_t kept = speclink();
    anchor.View().SetI32(kShortReference, kept);
    anchor.Clear();
    EXPECT_TRUE(live(kept));
}

using Attributes = KytTest;

TEST_F(Attributes, ScanFollowsQuotesCaseAndTheLastPair) {
    TKYToggetto& image = Add(K::immagineNew);
    image.SetAuxiliary(CodeStream(
        "NAME=\"primo nome\" alt='dice \"ciao\"' a b=1\r\n\tname=Ultimo\0name=dopo", "HEADER"));
    EXPECT_EQ(image.GetAttribute("name"), "Ultimo") << "the last pair before 0x00 wins";
    EXPECT_EQ(image.GetAttribute("ALT"), "dice \"ciao\"");
    EXPECT_EQ(image.GetAttribute("a"), "");
    EXPECT_EQ(image.GetAttribute("b"), "1");
    EXPECT_EQ(image.GetAttribute("header"), std::nullopt) << "the header is skipped";
    EXPECT_EQ(image.GetAttribute("missing"), std::nullopt);
    TKYToggetto& custom = Add(K::custom, "c");
    custom.SetAuxiliary(CodeStream("name=x"));
    EXPECT_EQ(custom.GetAttribute("name"), std::nullopt);
    image.SetAuxiliary(std::string("\xff\xff\xff\x7f", 4));  // header longer than the stream
    EXPECT_EQ(image.GetAttribute("name"), std::nullopt);
}

TEST_F(Attributes, UnclosedQuotesStopAtTheEnd) {
    TKYToggetto& image = Add(K::immagineNew);
    image.SetAuxiliary(CodeStream("name=\"never closed"));
    EXPECT_EQ(image.GetAttribute("name"), "never closed");
}

using Terms = KytTest;

TEST_F(Terms, CodesAreDroppedAndTermsMoveUp) {
    TKYToggetto& page = AddPage(
        "P", std::string("<Z S0 >Il Mare<Y c0000FF >azzurro<D x>nascosto<d><Z S1 >fine\0", 61));
    EXPECT_EQ(page.MatchTerms("mare", "azzurro", "", "", 0), "mare");
    EXPECT_EQ(page.MatchTerms("Mare", "", "", "", 2), "Mare");
    EXPECT_EQ(page.MatchTerms("mare", "", "", "", 2), "") << "2 matches case";
    EXPECT_EQ(page.MatchTerms("nascosto", "", "", "", 0), "") << "ignored blocks are dropped";
    EXPECT_EQ(page.MatchTerms("azzurro\r\nfine", "", "", "", 0), "azzurro\r\nfine")
        << "a paragraph head becomes CR LF";
    EXPECT_EQ(page.MatchTerms("", "", "fine", "", 0), "fine") << "third moves to first";
    EXPECT_EQ(page.MatchTerms("", "mare", "", "", 0), "mare");
    EXPECT_EQ(page.MatchTerms("cielo", "", "", "fine", 0), "fine");
    EXPECT_EQ(page.MatchTerms("cielo", "", "fine", "luna", 0), "");
    EXPECT_EQ(page.MatchTerms("", "", "", "", 0), "");
    EXPECT_EQ(page.MatchTerms("c0000ff", "", "", "", 0), "");
}

using Extraction = KytTest;

TEST_F(Extraction, ContentGoesToThePrivateWorkingDirectory) {
    TKYToggetto& file = Add(K::genLink);
    file.SetFileName("c:\\a\\..\\dati.txt");
    file.SetContent("payload");
    const std::string path = file.ExtractContent();
    ASSERT_FALSE(path.empty());
    const std::filesystem::path folder = set_.WorkingDirectory();
    EXPECT_EQ(std::filesystem::path(path).parent_path(), folder);
    EXPECT_EQ(std::filesystem::path(path).filename(), "dati.txt");
    EXPECT_EQ(ReadFile(path), "payload");
    EXPECT_FALSE(file.Content().Present());
    EXPECT_EQ(file.ContentFileName(), path);
    EXPECT_EQ(*file.ContentBytes(), "payload");
    EXPECT_EQ(file.ExtractContent(), path) << "no content: its file";
    struct stat st {};
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(folder.parent_path(), env_.TempRoot());
    EXPECT_EQ(folder.filename().string().size(), 17u);
    EXPECT_EQ(folder.filename().string()[8], '_');

    ASSERT_TRUE(file.SaveContentAs(Path("out/sub/copia.txt")));
    EXPECT_EQ(ReadFile(TestDir() / "out/sub/copia.txt"), "payload");
}

TEST_F(Extraction, TemporaryNamesUseTheLastComponentOnly) {
    const std::filesystem::path folder = set_.WorkingDirectory();
    EXPECT_EQ(set_.TempFileName("../../etc/passwd"), (folder / "passwd").string());
    EXPECT_EQ(set_.TempFileName("c:\\x\\..\\"), (folder / "file").string());
    EXPECT_EQ(set_.TempFileName(".."), (folder / "file").string());
    WriteFile(folder / "foto.gif", "x");
    const std::string other = set_.TempFileName("foto.gif");
    const std::string name = std::filesystem::path(other).filename().string();
    ASSERT_EQ(name.size(), 12u) << name;
    EXPECT_EQ(name.substr(0, 2), "re");
    EXPECT_EQ(name.find_first_not_of("0123456789abcdef", 2), 8u);
    EXPECT_EQ(name.substr(8), ".gif");
}

TEST_F(Extraction, AFailedExtractionKeepsTheContent) {
    TKYToggetto& file = Add(K::genLink);
    file.SetFileName("dati.txt");
    file.SetContent("keep me");
    std::filesystem::remove_all(set_.WorkingDirectory());  // the folder vanished
    const std::string path = file.ExtractContent();
    EXPECT_EQ(path, "");
    ASSERT_EQ(messages_.Shown().size(), 1u);
    EXPECT_EQ(messages_.Shown()[0].box, Box::Error);
    EXPECT_TRUE(messages_.Shown()[0].text.starts_with(
        "Lo spazio su HD potrebbe essere insufficiente! Errore nella scorporazione file: "))
        << messages_.Shown()[0].text;
    EXPECT_EQ(*file.ContentBytes(), "keep me");
}

using DocumentLinks = KytTest;

TEST_F(DocumentLinks, FilePageAndCurrentDocument) {
    ASSERT_TRUE(set_.SaveToFile(Path("Libro.kyt")));
    const std::string folder = TestDir().string();
    DocumentLink link = set_.ParseDocumentLink("orvo://Libro.kyt|5");
    EXPECT_TRUE(link.isDocumentLink);
    EXPECT_EQ(link.file, folder + "/Libro.kyt");
    EXPECT_FALSE(link.isCurrentDocument) << "only the full name matches exactly";
    EXPECT_EQ(link.page, 5);
    EXPECT_EQ(set_.ParseDocumentLink("orvo:Libro.kyt|").page, -2);
    EXPECT_EQ(set_.ParseDocumentLink("orvo://Libro.kyt|-3").page, 0);
    EXPECT_EQ(set_.ParseDocumentLink("orvo://Libro.kyt|abc").page, 0);
    EXPECT_EQ(set_.ParseDocumentLink("orvo://Libro.kyt").page, -2);
    EXPECT_EQ(set_.ParseDocumentLink("orvo://Libro.kyt|99999999999999999").page, 0)
        << "at most 12 characters";
    EXPECT_EQ(set_.ParseDocumentLink("orvo:///abs/x.kyt|1").file, "/abs/x.kyt");
    EXPECT_FALSE(set_.ParseDocumentLink("http://x|1").isDocumentLink);
    DocumentLink self = set_.ParseDocumentLink("orvo://" + Path("Libro.kyt") + "|2");
    EXPECT_TRUE(self.isCurrentDocument);
    EXPECT_EQ(self.page, 2);
}

TEST_F(DocumentLinks, ExportedNamesOfOtherFiles) {
    set_.SetExpPrefix("libro");
    set_.HeaderRecordView().SetI32(kHdrCoverPage, 3);
    ASSERT_TRUE(set_.SaveToFile(Path("Libro.kyt")));
    EXPECT_EQ(set_.ExportedPageName(Path("Libro.kyt"), 3, ".htm"), "libro_index.htm");
    EXPECT_EQ(set_.ExportedPageName(Path("Libro.kyt"), 26, ".html"), "libro_00001a.html");
    EXPECT_EQ(set_.ExportedPageName(Path("missing.kyt"), 1, ".htm"), "");
    std::string old = ReadFile(Path("Libro.kyt"));
    old[1621] = 1;
    WriteFile(TestDir() / "old.kyt", old);
    EXPECT_EQ(set_.ExportedPageName(Path("old.kyt"), 1, ".htm"), "LinkToOldHypertext.htm");
    std::string hostile = ReadFile(Path("Libro.kyt"));
    hostile[1346] = 5;
    std::memcpy(&hostile[1347], "../xx", 5);
    WriteFile(TestDir() / "hostile.kyt", hostile);
    EXPECT_EQ(set_.ExportedPageName(Path("hostile.kyt"), 1, ".htm"), "");
    std::string unprefixed = ReadFile(Path("Libro.kyt"));
    unprefixed[1346] = 0;
    WriteFile(TestDir() / "unprefixed.kyt", unprefixed);
    EXPECT_EQ(set_.ExportedPageName(Path("unprefixed.kyt"), 1, ".htm"), "_000001.htm");
}

}  // namespace
}  // namespace orvo::test
