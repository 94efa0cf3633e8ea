// Objects: kinds, defaults, registration, names, old records, copies and object streams.
#include <sys/stat.h>

#include "KytFixture.h"
#include "base/Cp1252.h"
#include "model/StyleRecord.h"

namespace orvo::test {
namespace {

using namespace orvo::literals;
using ::testing::ElementsAre;
using K = TOggettiHel;

using ObjectLife = KytTest;

TEST_F(ObjectLife, NewObjectHasNoKindAndIsFreeOnlyOnceCleared) {
    TKYToggetto object(&set_);
    EXPECT_EQ(object.Kind(), K::testoHtmlRtf);
    EXPECT_FALSE(object.IsFree());
    EXPECT_EQ(object.LocalCode(), -1);
    object.SetKind(K::internetLink);
    object.Clear();
    EXPECT_TRUE(object.IsFree());
    EXPECT_EQ(object.Subtype(), 5);
    object.SetName("mailto:a@b.it");
    object.TakeIntoUse();
    EXPECT_EQ(object.Subtype(), 8);
    EXPECT_FALSE(object.IsFree());
}

TEST_F(ObjectLife, RegisteringReusesTheFirstFreeSlot) {
    for (int i = 0; i < 5; ++i) Add(K::internetLink, "http://x/" + std::to_string(i));
    set_.ObjectByKind(K::internetLink, 2)->Clear();
    TKYToggetto& again = Add(K::internetLink, "http://new");
    EXPECT_EQ(again.Identifier(), 2);
    EXPECT_EQ(set_.ObjectByCode(0x01000002), &again);
    EXPECT_EQ(set_.KindCount(K::internetLink), 5);
    EXPECT_TRUE(set_.Modified());
}

TEST_F(ObjectLife, AGivenIdentifierPastTheEndPadsWithFreeObjects) {
    auto link = Make(K::genLink);
    link->TakeIntoUse();
    EXPECT_FALSE(set_.Modified());
    EXPECT_EQ(set_.Register(std::move(link), 3), 3);
    EXPECT_TRUE(set_.Modified()) << "a given identifier marks the document changed";
    ASSERT_EQ(set_.KindCount(K::genLink), 4);
    for (int id = 0; id < 4; ++id) {
        EXPECT_EQ(set_.ObjectByKind(K::genLink, id)->Identifier(), id);
        EXPECT_EQ(set_.ObjectByKind(K::genLink, id)->IsFree(), id != 3);
    }
}

TEST_F(ObjectLife, SetKindOfARegisteredObjectLeavesAFreeObjectInTheSlot) {
    TKYToggetto& link = Add(K::internetLink, "http://a");
    link.SetKind(K::keyword);
    EXPECT_FALSE(link.Registered());
    ASSERT_NE(set_.ObjectByKind(K::internetLink, 0), nullptr);
    EXPECT_TRUE(set_.ObjectByKind(K::internetLink, 0)->IsFree());
}

TEST_F(ObjectLife, LookupsRefuseOutOfRangeCodesAndKinds) {
    Add(K::testoHtml, "P");
    EXPECT_NE(set_.ObjectByCode(0x00000000), nullptr);
    EXPECT_EQ(set_.ObjectByCode(0x00000001), nullptr);
    EXPECT_EQ(set_.ObjectByKind(K::testoHtml, -1), nullptr);
    EXPECT_EQ(set_.ObjectByKind(25, 0), nullptr);
    EXPECT_EQ(set_.ObjectByCode(0x6F000000), nullptr);
    EXPECT_EQ(set_.ObjectByCode(std::int32_t(0xFF000000)), nullptr);
    EXPECT_EQ(set_.KindCount(26), 0);
    EXPECT_EQ(set_.KindCount(K::stileParagrafo), 2);
}

using KindDefaults = KytTest;

TEST_F(KindDefaults, PageRecordTakesTheHypertextDefaults) {
    set_.HeaderRecordView().SetI32(kHdrBackColour, 0x112233);
    auto page = Make(K::testoHtml);
    const std::string r = RecordString(*page, 292);
    EXPECT_EQ(r[4], 3);
    EXPECT_EQ(r.substr(5, 13), "\x0cSenza titolo");
    EXPECT_EQ(I16At(r, 77), -1);
    EXPECT_EQ(I32At(r, 81), -1);
    EXPECT_EQ(I32At(r, 85), -1);
    EXPECT_EQ(I32At(r, 89), 0);
    EXPECT_EQ(I32At(r, 93), 0xFF0000);
    EXPECT_EQ(I32At(r, 97), 0x0000FF);
    EXPECT_EQ(I32At(r, 101), 0x112233);
    for (int k = 0; k < 20; ++k) EXPECT_EQ(I32At(r, 105 + 4 * k), -1);
    EXPECT_EQ(r[189], 1);
    EXPECT_EQ(I16At(r, 191), 1040);
    EXPECT_EQ(r[195], 2);
    EXPECT_EQ(I32At(r, 196), 2) << "the save counter of a new document";
    EXPECT_EQ(r[200], 0);
    EXPECT_EQ(I16At(r, 221), -1);
    EXPECT_EQ(I32At(r, 227), -1);
    EXPECT_EQ(I32At(r, 231), -1);
    EXPECT_EQ(I32At(r, 235), -1);
    EXPECT_EQ(r[247], 0);
    EXPECT_EQ(r[288], 0) << "not a fixed background";
    page->TakeIntoUse();
    EXPECT_EQ(page->Subtype(), 0);
    EXPECT_EQ(*page->ContentBytes(), std::string("<Z S0 >\0", 8));
}

TEST_F(KindDefaults, TableRecordIsANewOneByOneTable) {
    auto table = Make(K::tabellaHtml);
    const std::string r = RecordString(*table, 220);
    EXPECT_EQ(r[4], 0);
    EXPECT_EQ(r.substr(5, 50), std::string(50, '\x01'));
    EXPECT_EQ(r[55], 1);
    EXPECT_EQ(r.substr(56, 2), "\xff\xff");
    EXPECT_EQ(r.substr(58, 8), std::string(8, '\xff'));
    EXPECT_EQ(static_cast<unsigned char>(r[66]), 255);
    EXPECT_EQ(test::Escaped(r.substr(88, 9)),
              test::Escaped(Bytes({100, 100, 2, 2, 0, 1, 1, 0, 0})));
    EXPECT_EQ(r.substr(97, 110), std::string(110, '\0'));
    EXPECT_EQ(I32At(r, 207), -1);
    EXPECT_EQ(test::Escaped(r.substr(211, 9)),
              test::Escaped(Bytes({0x14, 0, 0, 0x80, 0x10, 0, 0, 0x80, 2})));
    table->TakeIntoUse();
    EXPECT_EQ(table->Subtype(), 2);
}

TEST_F(KindDefaults, NamedKindsAndFreeMarkers) {
    auto keyword = Make(K::keyword);
    EXPECT_EQ(RecordString(*keyword, 2), "\x01-");
    EXPECT_TRUE(keyword->IsFree());
    keyword->SetName("mare");
    EXPECT_FALSE(keyword->IsFree());

    EXPECT_EQ(Make(K::custom)->Name(), "Nuovo prototipo");
    EXPECT_EQ(Make(K::dbloc)->Name(), "db");
    auto map = Make(K::mappaFrame);
    EXPECT_EQ(map->Name(), "Map");
    EXPECT_TRUE(map->IsFree());

    auto picture = Make(K::immagine);
    EXPECT_EQ(picture->Subtype(), 3);
    EXPECT_EQ(picture->Record()[666], 0);
    EXPECT_EQ(picture->VersionStamp(), 2);

    auto dbloc = Make(K::dbloc);
    dbloc->TakeIntoUse();
    EXPECT_EQ(dbloc->Subtype(), 7);
    auto style = Make(K::stileParagrafo);
    EXPECT_FALSE(style->IsFree()) << "styles are never free";
    EXPECT_EQ(style->Record()[300], 0) << "a style record is zero-filled";

    auto title = Make(K::testoHtml);
    title->SetName(std::string(90, 'x'));
    EXPECT_EQ(title->Name().size(), 71u);
}

TEST_F(KindDefaults, ClashingFileNamesBecomeEdPlusSixHexDigits) {
    TKYToggetto& first = Add(K::genLink);
    first.SetFileName("C:\\docs\\Foto.GIF");
    TKYToggetto& second = Add(K::immagine);
    second.SetFileName("c:\\DOCS\\foto.gif");
    const std::string name = second.FileName();
    ASSERT_EQ(name.size(), 12u) << name;
    EXPECT_EQ(name.substr(0, 2), "ed");
    EXPECT_EQ(name.find_first_not_of("0123456789abcdef", 2), 8u);
    EXPECT_EQ(name.substr(8), ".gif");
    EXPECT_EQ(second.ContentFileName(), "c:\\DOCS\\foto.gif")
        << "the file the content is to come from is kept";
}

TEST_F(KindDefaults, FileNamesTooLongForTheFieldKeepTheirExtension) {
    const std::string folder = "c:\\" + std::string(80, 'd') + "\\";
    TKYToggetto& file = Add(K::genLink);
    file.SetFileName(folder + "listino.xls");
    EXPECT_EQ(file.FileName(), "listino.xls");
    EXPECT_EQ(file.ContentFileName(), folder + "listino.xls")
        << "the file the content is to come from is kept";
    TKYToggetto& picture = Add(K::immagine);
    picture.SetFileName(std::string(90, 'f') + ".jpeg");
    EXPECT_EQ(picture.FileName(), std::string(70, 'f') + ".jpeg");
    EXPECT_EQ(picture.FileName().size(), 75u);
    TKYToggetto& fits = Add(K::immagine);
    const std::string whole = "c:\\foto\\" + std::string(60, 'g') + ".gif";
    fits.SetFileName(whole);
    EXPECT_EQ(fits.FileName(), whole);
    EXPECT_EQ(fits.ContentFileName(), "");
}

using OldRecords = KytTest;

TEST_F(OldRecords, ShortPageRecordIsCompleted) {
    set_.HeaderRecordView().SetI32(kHdrSaveCounter, 10);
    auto page = NewObjectOfKind(K::testoHtml, &set_);
    std::string stored(242, '\0');
    stored[5] = 1;
    stored[6] = 'A';
    page->ReadRecord(stored);
    const std::string r = RecordString(*page, 292);
    EXPECT_EQ(page->Name(), "A");
    EXPECT_EQ(I16At(r, 191), 1040);
    EXPECT_EQ(r[195], 1);
    EXPECT_EQ(I32At(r, 196), 9);
    EXPECT_EQ(r[200], 0);
    EXPECT_EQ(I16At(r, 221), 5);
    EXPECT_EQ(I32At(r, 223), -1);
    EXPECT_EQ(I32At(r, 227), -1);
    EXPECT_EQ(I32At(r, 231), -1);
    EXPECT_EQ(I32At(r, 235), -1);
    EXPECT_EQ(I32At(r, 243), -1) << "no auxiliary stream";
    EXPECT_EQ(r[247], 0) << "the alias would otherwise read 255 bytes";
    EXPECT_EQ(r[288], 0);
}

TEST_F(OldRecords, LinkSubtypesAndStampsAreDerived) {
    auto link = NewObjectOfKind(K::internetLink, &set_);
    std::string stored(133, '\xff');
    stored[5] = 8;
    std::memcpy(&stored[6], "http://x", 8);
    link->ReadRecord(stored);
    EXPECT_EQ(link->Subtype(), 7);

    auto file = NewObjectOfKind(K::genLink, &set_);
    std::string old(92, '\0');
    old[4] = 4;
    file->ReadRecord(old);
    EXPECT_EQ(file->VersionStamp(), 1);
    EXPECT_FALSE(file->FileFieldSetInThisRun());

    auto picture = NewObjectOfKind(K::immagine, &set_);
    picture->ReadRecord(std::string(600, '\0'));
    EXPECT_EQ(picture->ReadView().I32(kPictureMapId), -1);
    EXPECT_EQ(picture->Record()[666], 0);
    EXPECT_EQ(picture->VersionStamp(), 1);
}

TEST_F(OldRecords, AtMost668BytesAreTaken) {
    auto picture = NewObjectOfKind(K::immagine, &set_);
    picture->ReadRecord(std::string(1000, '\x07'));
    EXPECT_EQ(RecordString(*picture), std::string(668, '\x07'));
}

using Copies = KytTest;

TEST_F(Copies, AssignOfAPictureGivesAnImageObjectShowingIt) {
    TKYToggetto& picture = Add(K::immagine, std::string(40, 'p'));
    picture.View().SetI16(kPictureWidth, 40);
    picture.View().SetI16(kPictureHeight, 30);
    picture.SetContent("GIF89a...");
    TKYToggetto image(&set_);
    image.Assign(picture);
    EXPECT_EQ(image.Kind(), K::immagineNew);
    EXPECT_FALSE(image.Registered());
    EXPECT_FALSE(image.Content().Present());
    const std::string r = RecordString(image, 553);
    EXPECT_EQ(I32At(r, 0), picture.Identifier());
    EXPECT_EQ(r[4], 1);
    EXPECT_EQ(I32At(r, 5), -1);
    EXPECT_EQ(I32At(r, 9), -1);
    EXPECT_EQ(r[13], 4);
    EXPECT_EQ(I16At(r, 15), 40);
    EXPECT_EQ(I16At(r, 17), 30);
    EXPECT_EQ(I16At(r, 19), 40);
    EXPECT_EQ(I16At(r, 21), 30);
    EXPECT_EQ(I32At(r, 24), 0xFF0000);
    EXPECT_EQ(r.substr(28, 33), "\x20" + std::string(32, 'p'));
    EXPECT_EQ(r.substr(73, 480), std::string(480, '\xff')) << "the picture has no zones";
}

TEST_F(Copies, AssignSharesContentStillInTheFileAndCopiesTheRest) {
    TKYToggetto& page = AddPage("T", std::string("<Z S0 >x\0", 9));
    page.SetAuxiliary(std::string("aux"));
    TKYTtesto copy(&set_);
    copy.Assign(page);
    EXPECT_EQ(copy.Kind(), K::testoHtml);
    EXPECT_EQ(copy.Identifier(), page.Identifier());
    EXPECT_EQ(RecordString(copy), RecordString(page));
    EXPECT_EQ(*copy.ContentBytes(), *page.ContentBytes());
    page.SetContent("changed");
    EXPECT_EQ(*copy.ContentBytes(), std::string("<Z S0 >x\0", 9)) << "a copy, not a share";
    EXPECT_EQ(*copy.Auxiliary(), "aux");
}

using ObjectStreams = KytTest;

TEST_F(ObjectStreams, LayoutIsExactAndRoundTrips) {
    TKYToggetto& link = Add(K::speclink);
    link.SetContent("ct");
    link.SetAuxiliary(std::string("aux!"));
    link.SetContentFileName("f.txt");
    MemoryStream out;
    ASSERT_TRUE(link.WriteToStream(out));
    const std::string& bytes = out.Bytes();
    ASSERT_EQ(bytes.size(), 4 + 1 + 668 + 4 + 5 + 4 + 4 + 2 + 4 + 4u);
    EXPECT_EQ(I32At(bytes, 0), 0);
    EXPECT_EQ(bytes[4], 10);
    EXPECT_EQ(bytes.substr(5, 668), RecordString(link));
    EXPECT_EQ(I32At(bytes, 673), 5);
    EXPECT_EQ(bytes.substr(677, 5), "f.txt");
    EXPECT_EQ(I32At(bytes, 682), 2);
    EXPECT_EQ(I32At(bytes, 686), 0);
    EXPECT_EQ(bytes.substr(690, 2), "ct");
    EXPECT_EQ(I32At(bytes, 692), 4);
    EXPECT_EQ(bytes.substr(696), "aux!");

    TKYToggetto back(&set_);
    MemoryStream in(bytes);
    ASSERT_TRUE(back.ReadFromStream(in));
    MemoryStream again;
    ASSERT_TRUE(back.WriteToStream(again));
    EXPECT_EQ(test::Escaped(again.Bytes()), test::Escaped(bytes));
}

TEST_F(ObjectStreams, APictureWithoutContentEmbedsItsFile) {
    WriteFile(TestDir() / "pic.gif", "GIF89a-bytes");
    TKYToggetto& picture = Add(K::immagine, "pic");
    picture.SetFileName(Path("pic.gif"));
    MemoryStream out;
    ASSERT_TRUE(picture.WriteToStream(out));
    const std::string& bytes = out.Bytes();
    const std::size_t at = 673 + 4 + 0;
    EXPECT_EQ(I32At(bytes, at), 12);
    EXPECT_EQ(bytes.substr(at + 8, 12), "GIF89a-bytes");
}

TEST_F(ObjectStreams, HostileSizesLeaveTheStreamsEmpty) {
    TKYToggetto& link = Add(K::shortObj);
    link.SetContent("content");
    MemoryStream out;
    ASSERT_TRUE(link.WriteToStream(out));
    std::string bytes = out.Bytes();
    bytes[680] = '\x7f';  // content size 0x7f000007, far past the end
    TKYToggetto back(&set_);
    back.SetContent("old");
    MemoryStream in(bytes);
    ASSERT_TRUE(back.ReadFromStream(in));
    EXPECT_FALSE(back.Content().Present());
    EXPECT_FALSE(back.Auxiliary().has_value());

    for (std::size_t cut : {0u, 3u, 100u, 672u}) {
        TKYToggetto truncated(&set_);
        MemoryStream short_(bytes.substr(0, cut));
        EXPECT_FALSE(truncated.ReadFromStream(short_)) << cut;
        EXPECT_EQ(truncated.Kind(), K::testoHtmlRtf) << "unchanged";
    }
}

TEST_F(ObjectStreams, ARegisteredObjectRefusesAnotherKind) {
    TKYToggetto& page = AddPage("Keep", std::string("<Z S0 >\0", 8));
    TKYToggetto& link = Add(K::internetLink, "http://a");
    MemoryStream out;
    ASSERT_TRUE(link.WriteToStream(out));
    MemoryStream in(out.Bytes());
    EXPECT_FALSE(page.ReadFromStream(in));
    EXPECT_THAT(
        messages_.Shown(),
        ElementsAre(Message{Box::Error, std::string("In un TKYToggetto registrato si può caricare "
                                                    "solo un TKYToggetto dello stesso tipo!"_cp)}));
    EXPECT_EQ(page.Kind(), K::testoHtml);
    EXPECT_EQ(page.Name(), "Keep");
}

using Equality = KytTest;

TEST_F(Equality, LinksByAddressPicturesByBytesStylesByFormat) {
    TKYToggetto& a = Add(K::internetLink, "http://a");
    Add(K::internetLink, "http://b");
    auto probe = Make(K::internetLink);
    probe->SetName("http://a");
    EXPECT_EQ(probe->FindEqual(), &a);
    probe->SetName("HTTP://A");
    EXPECT_EQ(probe->FindEqual(), nullptr) << "names compare exactly";

    TKYToggetto& p = Add(K::immagine, "one");
    p.SetContent("same bytes");
    auto q = Make(K::immagine);
    q->SetContent("same bytes");
    EXPECT_EQ(q->FindEqual(), &p);
    ASSERT_FALSE(p.ExtractContent().empty());  // its bytes are in a file now, none in memory
    EXPECT_EQ(q->FindEqual(), &p) << "the bytes are compared wherever they are";
    q->SetContent("same byteZ");
    EXPECT_EQ(q->FindEqual(), nullptr);

    auto style = Make(K::stileParagrafo);
    StyleRecord(style->Record()).SetName("Nuovo");
    style->Record()[110] = 0xFF;  // unstored bytes do not count
    TKYToggetto& stored = *set_.Style0();
    EXPECT_TRUE(stored.Equals(*style)) << "style 0 compares no font names";
    StyleRecord(style->Record()).SetFontName("Arial");
    EXPECT_TRUE(stored.Equals(*style));
    EXPECT_FALSE(style->Equals(stored)) << "font names differ";
}

}  // namespace
}  // namespace orvo::test
