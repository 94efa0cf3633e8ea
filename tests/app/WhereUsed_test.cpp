// Where objects are used and deleting them: every reason a page or a prototype refers to an
// object, in the lines of the deletion window; the search thread over a snapshot, and
// stopping it; deletion that leaves no code of a deleted object behind, proven by a save and a
// re-open of every deletion the album can make on the sample hypertext.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <mutex>

#include "app/ObjectDeletion.h"
#include "app/WhereUsed.h"
#include "base/Cp1252.h"
#include "base/Paths.h"
#include "model/HeaderRecord.h"
#include "model/ObjectRecord.h"
#include "model/SampleHypertext.h"
#include "model/TKYTorderedTree.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

using K = TOggettiHel;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::string Hex8(std::int32_t code) {
    char buffer[9];
    std::snprintf(buffer, sizeof buffer, "%08x", unsigned(code));
    return buffer;
}

std::string Text(const std::string& body) {
    return "<Z S0 >" + body + std::string(1, '\0');
}

std::string Code(const TKYToggetto& object) {
    return "<$" + Hex8(object.Code()) + ">";
}

class WhereUsed : public ::testing::Test {
protected:
    TKYToggetto& Add(K kind, const std::string& name = "", int subtype = -1) {
        auto object = NewObjectOfKind(kind, &set_);
        object->Clear();
        object->TakeIntoUse();
        if (subtype >= 0) object->View().SetU8(kRecSubtype, std::uint8_t(subtype));
        if (!name.empty()) object->SetName(name);
        TKYToggetto* stored = object.get();
        set_.Register(std::move(object));
        return *stored;
    }
    TKYToggetto& Page(const std::string& title, const std::string& body = "") {
        TKYToggetto& page = Add(K::testoHtml, title);
        page.SetContent(Text(body));
        return page;
    }
    std::vector<std::string> Lines(const TKYToggetto& object) {
        std::vector<std::string> lines;
        for (const std::string& line : ReferenceLines(set_, object.Code()))
            lines.push_back(Cp1252ToUtf8(line));
        return lines;
    }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    TKYTset set_{environment_, messages_};
};

// One document in which every reason is made once, each by a page (or a prototype) of its own.
TEST_F(WhereUsed, EveryReasonIsListedWithItsTextPagesFirstThenPrototypes) {
    Page("Copertina");
    TKYToggetto& picture = Add(K::immagine, "Foto");
    TKYToggetto& target = Page("Bersaglio");
    Add(K::genLink, "altro.zip");  // so the file below and the prototype differ in identifier
    TKYToggetto& file = Add(K::genLink, "suono.wav");
    TKYToggetto& unused = Add(K::genLink, "nessuno.txt");
    TKYToggetto& prototype = Add(K::custom, "Scheda");
    TKYToggetto& keyword = Add(K::keyword, "chiave");
    const std::int32_t pic = picture.Identifier();

    Page("Sfondo").View().SetI32(kPageBackPicture, pic);  // 2
    TKYToggetto& image = Add(K::immagineNew);
    image.View().SetI32(kImagePicture, pic);
    Page("Immagine", Code(image));  // 1 through the image object
    TKYToggetto& table = Add(K::tabellaHtml);
    table.View().SetI32(kTableBackground, 0x03000000 + pic);
    Page("Tabella", Code(table));                                                 // 3
    Page("Con intestazione").View().SetI32(kPageHeader, target.Identifier());     // 4
    Page("Diapositiva").View().SetI32(kPageRedirectTarget, target.Identifier());  // 5
    TKYToggetto& script = Page("Script");
    script.SetAuxiliary(std::string("\0\0\0\0<a href=\"!RefP:", 19) + Hex8(target.Code()) + "\">");
    TKYToggetto& media = Add(K::multiMedia);
    media.View().SetI32(kMediaPoster, pic);
    Page("Multimedia", Code(media));  // 7
    TKYToggetto& floating = Add(K::inputStat, "", kFloatingWindowSubtype);
    floating.View().SetI32(kFloatingPage, target.Identifier());
    Page("Cornice", Code(floating));  // 8
    TKYToggetto& button = Add(K::bottoneCGI);
    button.View().SetI32(kButtonPicture, pic);
    Page("Bottone", Code(button));  // 9
    TKYToggetto& jump = Add(K::speclink, "", 1);
    jump.View().SetI32(kSpecTarget, target.Code());
    Page("Salto", "vai " + Code(jump) + "qui<%>");  // 10
    TKYToggetto& zoned = Add(K::immagineNew);
    zoned.View().SetI32At(kImageZones.offset, jump.Code());
    Page("Mappa", Code(zoned));  // 11
    TKYToggetto& marker = Add(K::shortObj, "", 13);
    marker.View().SetI32(kShortReference, jump.Code());
    Page("Finestra", Code(marker));  // 12
    TKYToggetto& sound = Add(K::multiMedia);
    sound.View().SetI32(kMediaSource, file.Identifier());
    Page("Suono", Code(sound));  // 14
    TKYToggetto& instance = Add(K::multiMedia);
    instance.View().SetI32(kMediaSource, prototype.Identifier());
    Page("Istanza", Code(instance));  // 15
    TKYToggetto& database = Add(K::dbloc);
    database.View().SetI32(kMediaPoster, pic);
    Page("Archivio", Code(database));  // 16
    TKYToggetto& keyed = Page("Chiavi");
    keyed.View().SetI32At(kPageKeywords.offset, keyword.Identifier());  // 1
    TKYToggetto& user = Add(K::custom, "Modello");  // 13: its code's header names the file
    std::string header(4, '\0');
    for (int b = 0; b < 4; ++b) header += char((std::uint32_t(file.Code()) >> (8 * b)) & 0xFF);
    header[0] = 4;
    user.SetAuxiliary(header + "<p>");

    EXPECT_THAT(Lines(picture),
                ElementsAre("+ \"FOTO\" è presente in/collegato da /utilizzato in:",
                            "    - Sfondo   {nello sfondo testo}", "    - Immagine   {nel testo}",
                            "    - Tabella   {nello sfondo di una tabella}",
                            "    - Multimedia   {come immagine alternativa a multimedia}",
                            "    - Bottone   {come/in bottone}",
                            "    - Archivio   {in oggetto DB locale}"));
    EXPECT_THAT(
        Lines(target),
        ElementsAre("+ \"BERSAGLIO\" è presente in/collegato da /utilizzato in:",
                    "    - Con intestazione   {come intestazione o piè di pagina}",
                    "    - Diapositiva   {come diapositiva successiva}",
                    "    - Script   {come script/html}", "    - Cornice   {come/in cornice libera}",
                    "    - Salto   {in collegamento speciale}"));
    EXPECT_THAT(Lines(jump),
                ElementsAre("+ \"BERSAGLIO\" è presente in/collegato da /utilizzato in:",
                            "    - Salto   {nel testo}", "    - Mappa   {in mappa cliccabile}",
                            "    - Finestra   {in oggetto \"lancia finestra\"}"));
    EXPECT_THAT(Lines(file),
                ElementsAre("+ \"SUONO.WAV\" è presente in/collegato da /utilizzato in:",
                            "    - Suono   {in multimedia}", "    - Modello   {in prototipo}"));
    EXPECT_THAT(Lines(prototype),
                ElementsAre("+ \"SCHEDA\" è presente in/collegato da /utilizzato in:",
                            "    - Istanza   {in oggetto personalizzato - istanza di prototipo}"));
    EXPECT_THAT(Lines(keyword),
                ElementsAre("+ \"CHIAVE\" è presente in/collegato da /utilizzato in:",
                            "    - Chiavi   {nel testo}"));
    EXPECT_THAT(Lines(unused), ElementsAre("- \"NESSUNO.TXT\" sembra inutilizzato."));
    EXPECT_TRUE(ReferenceLines(set_, MakeCode(K::genLink, 99)).empty());
    // A freed page refers to nothing.
    set_.ObjectByKind(K::testoHtml, 2)->Clear();  // "Sfondo"
    EXPECT_EQ(Lines(picture)[1], "    - Immagine   {nel testo}");

    for (int reason = 0; reason < kReferenceReasonCount; ++reason)
        EXPECT_FALSE(ReferenceText(reason).empty());
    EXPECT_TRUE(ReferenceText(kReferenceReasonCount).empty());
    EXPECT_EQ(ParseObjectCode("immagine:3"), MakeCode(K::immagine, 3));
    EXPECT_EQ(ParseObjectCode("16:2"), MakeCode(K::immagineNew, 2));
    for (const char* bad : {"immagine", "immagine:", "foto:1", "27:1", "5:-1", "5:16777216", ":1"})
        EXPECT_FALSE(ParseObjectCode(bad)) << bad;
}

// Whether any page text or field, the header or a tree names an object that is not in use.
std::vector<std::string> DanglingReferences(TKYTset& set) {
    std::vector<std::string> found;
    auto inUse = [&](K kind, std::int32_t id) {
        const TKYToggetto* object = set.ObjectByKind(kind, id);
        return object && !object->IsFree();
    };
    for (const auto& page : set.KindList(K::testoHtml)) {
        if (page->IsFree()) continue;
        const std::string text = page->ContentBytes().value();
        for (std::size_t at = text.find("<$"); at != std::string::npos;
             at = text.find("<$", at + 2)) {
            const std::int32_t code = std::int32_t(std::stoul(text.substr(at + 2, 8), nullptr, 16));
            const TKYToggetto* object = set.ObjectByCode(code);
            if (!object || object->IsFree())
                found.push_back(page->Name() + " text " + text.substr(at, 11));
        }
        const RecordView r = page->ReadView();
        if (r.I32(kPageBackPicture) >= 0 && !inUse(K::immagine, r.I32(kPageBackPicture)))
            found.push_back(page->Name() + " background");
        for (const FieldSpec* field : {&kPageHeader, &kPageFooter, &kPageRedirectTarget})
            if (r.I32(*field) >= 0 && !inUse(K::testoHtml, r.I32(*field)))
                found.push_back(page->Name() + " " + std::string(field->name));
    }
    for (const auto& image : set.KindList(K::immagineNew))
        if (!image->IsFree() && !inUse(K::immagine, image->ReadView().I32(kImagePicture)))
            found.push_back("image object " + std::to_string(image->Identifier()));
    const RecordView h = set.HeaderView();
    for (const FieldSpec* field :
         {&kHdrCoverPage, &kHdrContentsPage, &kHdrHeaderPage, &kHdrFooterPage})
        if (h.I32(*field) >= 0 && !inUse(K::testoHtml, h.I32(*field)))
            found.push_back("header " + std::string(field->name));
    TKYTorderedTree tree(&set);
    tree.LoadTree();
    const std::string treeText = tree.Text();
    if (treeText.find(",-1,") != std::string::npos) found.push_back("tree " + treeText);
    return found;
}

// Every object of the album's kinds in the sample, deleted alone (with its references), then
// saved and read again: nothing names a deleted object, and the rest is as it was.
TEST_F(WhereUsed, DeletingAnyAlbumObjectOfTheSampleLeavesNoDanglingReference) {
    MakeSampleHypertext(set_, {});
    const std::string original = NameOfPath(TestDir() / "Campione.kyt");
    ASSERT_TRUE(set_.SaveToFile(original));
    std::vector<std::int32_t> codes;
    for (K kind : {K::testoHtml, K::internetLink, K::genLink, K::keyword, K::immagine, K::custom,
                   K::immagineNew})
        for (const auto& object : set_.KindList(kind))
            if (!object->IsFree() && object->Code() != 0) codes.push_back(object->Code());
    ASSERT_GE(codes.size(), 20u);
    for (std::int32_t code : codes) {
        SCOPED_TRACE(std::string(KindName(CodeKind(code))) + ":" +
                     std::to_string(CodeIdentifier(code)));
        ASSERT_TRUE(set_.LoadFromFile(original));
        const int pagesBefore = int(set_.KindList(K::testoHtml).size());
        int shown = 7;
        const DeletionResult result =
            DeleteObjects(set_, {code}, {[&] { return shown; }, [&](int page) { shown = page; }});
        ASSERT_FALSE(result.deleted.empty());
        EXPECT_EQ(result.deleted[0], code);
        EXPECT_EQ(shown, code == MakeCode(K::testoHtml, 7) ? 0 : 7);
        EXPECT_TRUE(set_.Modified());
        const std::string saved = NameOfPath(TestDir() / "Cancellato.kyt");
        ASSERT_TRUE(set_.SaveToFile(saved));
        ASSERT_TRUE(set_.LoadFromFile(saved));
        EXPECT_TRUE(set_.ObjectByCode(code)->IsFree());
        EXPECT_THAT(DanglingReferences(set_), ElementsAre());
        EXPECT_EQ(int(set_.KindList(K::testoHtml).size()), pagesBefore);
        for (std::int32_t other : codes) {
            const bool deleted = std::find(result.deleted.begin(), result.deleted.end(), other) !=
                                 result.deleted.end();
            if (!deleted && CodeKind(other) != KindIndex(K::immagineNew)) {
                EXPECT_FALSE(set_.ObjectByCode(other)->IsFree()) << std::hex << other;
            }
        }
    }
}

TEST_F(WhereUsed, DeletionTurnsLinksIntoTextDropsObjectsAndNeverTakesTheFirstPage) {
    Page("Copertina");
    TKYToggetto& gone = Page("Via");
    TKYToggetto& picture = Add(K::immagine, "Foto");
    TKYToggetto& image = Add(K::immagineNew);
    image.View().SetI32(kImagePicture, picture.Identifier());
    TKYToggetto& page = Page("Resta", "prima " + Code(gone) + "vai<%> poi " + Code(image) + "fine");
    set_.HeaderRecordView().SetI32(kHdrContentsPage, gone.Identifier());
    set_.HeaderRecordView().SetI32(kHdrBackPicture, picture.Identifier());

    EXPECT_THAT(CollectForDeletion({0, gone.Code(), 0, gone.Code(), picture.Code()}),
                ElementsAre(gone.Code(), picture.Code()));
    EXPECT_EQ(DeletedLine(SelectedLine(set_, gone.Code())), "Via [X] Cancellato");
    const DeletionResult result = DeleteObjects(set_, {0, gone.Code(), picture.Code()});
    EXPECT_THAT(result.deleted, ElementsAre(gone.Code(), picture.Code(), image.Code()));
    EXPECT_FALSE(set_.ObjectByKind(K::testoHtml, 0)->IsFree());
    EXPECT_TRUE(image.IsFree());
    EXPECT_EQ(page.ContentBytes().value(), Text("prima <%>vai<%> poi fine"));
    EXPECT_EQ(set_.HeaderView().I32(kHdrContentsPage), -1);
    EXPECT_EQ(set_.HeaderView().I32(kHdrBackPicture), -1);
}

// The search reads a snapshot: the hypertext may change, and be freed, while it runs; it gives
// the same lines as the direct search; stopped, it says nothing more.
TEST_F(WhereUsed, SearchThreadReadsASnapshotAndStopsForGood) {
    MakeSampleHypertext(set_, {});
    std::vector<std::int32_t> codes;
    for (const auto& picture : set_.KindList(K::immagine)) codes.push_back(picture->Code());
    codes.push_back(MakeCode(K::keyword, 0));
    std::vector<std::vector<std::string>> expected;
    for (std::int32_t code : codes) expected.push_back(ReferenceLines(set_, code));

    std::mutex mutex;
    std::vector<std::vector<std::string>> found;
    bool ended = false;
    {
        auto live = std::make_unique<TKYTset>(environment_, messages_);
        MakeSampleHypertext(*live, {});
        WhereUsedSearch search(
            *live, codes,
            [&](std::size_t index, std::vector<std::string> lines) {
                std::lock_guard lock(mutex);
                EXPECT_EQ(index, found.size());
                found.push_back(std::move(lines));
            },
            [&] { ended = true; });
        live.reset();  // the hypertext goes while the search has not even started
        search.Start();
        while (!search.Finished()) std::this_thread::yield();
        search.Stop();
    }
    EXPECT_TRUE(ended);
    EXPECT_THAT(found, ElementsAreArray(expected));

    // Stopped before it starts: no handler is ever called.
    WhereUsedSearch stopped(
        set_, codes, [&](std::size_t, std::vector<std::string>) { ADD_FAILURE(); },
        [&] { ADD_FAILURE(); });
    stopped.Stop();
    stopped.Start();
    stopped.Stop();
    EXPECT_FALSE(stopped.Finished());
}

}  // namespace
}  // namespace orvo::test
