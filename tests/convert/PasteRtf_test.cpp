// RTF pasted into a page through the RTF import: the objects the fragment names join the page's
// own text, so the hypertext keeps no second copy of them once the page is stored.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "convert/RtfImport.h"
#include "model/KytFixture.h"
#include "model/TextForms.h"
#include "platform/FixedMetrics.h"
#include "textbox/IBoxHost.h"
#include "textbox/StoredFragment.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTbox.h"

namespace orvo::test {
namespace {

using K = TOggettiHel;
using ::testing::IsEmpty;

// The clipboard's RTF read by the importer into a stream whose text keeps the stored codes of
// what the importer registered.
class ImporterOnly final : public ISelectionConverters {
public:
    explicit ImporterOnly(TKYTset& set) : set_(set) {}
    Result<std::string> MarkupToRtf(std::string_view) override { return Fail("not here"); }
    Result<std::string> MarkupToText(std::string_view) override { return Fail("not here"); }
    std::optional<Result<std::string>> RtfToStream(std::string_view rtf, bool,
                                                   std::int32_t) override {
        TRtfImp importer(set_, RtfImportOptions{});
        int paragraphs = 0;
        std::string markup = importer.ImportFragment(rtf, &paragraphs);
        std::string stream;
        for (std::int32_t value : {1, 0, 0, 0, paragraphs})
            for (int shift = 0; shift < 32; shift += 8) stream.push_back(char(value >> shift));
        return Result<std::string>(stream + markup + '\0');
    }

private:
    TKYTset& set_;
};

class PasteRtf : public KytTest {
protected:
    void Open(std::string_view markup) {
        page_ = &Add(K::testoHtml, "Pagina");
        page_->SetContent(std::string(markup) + '\0');
        text_ = OpenText(set_, *page_, false);
        host_ = std::make_unique<TextMarkupHost>(set_, *text_, metrics_);
        box_ = std::make_unique<TKYTbox>(*host_, boxHost_);
        box_->LoadText(std::nullopt, *text_->ContentBytes(), std::nullopt);
        EditContext context{set_, *text_, messages_};
        context.undo = &UndoListOf(set_);
        context.converters = &converters_;
        UndoListOf(set_).Frames().SetFrame(0, page_->Identifier(), &controls_);
        editing_ = std::make_unique<BoxEditing>(*box_, context, &controls_, page_->Identifier(), 0);
    }
    std::string Markup() {
        std::string bytes = WriteText(box_->AllParagraphs(), *host_);
        bytes.pop_back();
        return bytes;
    }
    int Live(K kind) {
        int n = 0;
        for (const auto& o : set_.KindList(kind))
            if (o && !o->IsFree()) ++n;
        return n;
    }

    FixedMetrics metrics_;
    RecordingBoxHost boxHost_{600, 400};
    ImporterOnly converters_{set_};
    TKYTundoIndiciList controls_;
    TKYToggetto* page_ = nullptr;
    std::unique_ptr<TKYTtesto> text_;
    std::unique_ptr<TextMarkupHost> host_;
    std::unique_ptr<TKYTbox> box_;
    std::unique_ptr<BoxEditing> editing_;
};

TEST_F(PasteRtf, ALinkOfTheFragmentBecomesThePagesOwnLink) {
    Open("<Z S0 >uno due");
    editing_->Text().SetCaretAt({0, 4});
    const int linksBefore = Live(K::internetLink);
    ASSERT_TRUE(editing_->PasteRtf(
        "{\\rtf1\\ansi{\\field{\\*\\fldinst HYPERLINK \"http://esempio.it/\"}{\\fldrslt "
        "\\b vai}} qui }"));
    EXPECT_THAT(messages_.Shown(), IsEmpty());
    // The importer's registration is taken back: the link lives in the page's text.
    EXPECT_EQ(Live(K::internetLink), linksBefore);
    ASSERT_EQ(text_->links.size(), 1u);
    EXPECT_EQ(text_->links[0]->Name(), "http://esempio.it/");
    EXPECT_THAT(Markup(), ::testing::StartsWith("<Z S0 >uno <$6f000000>vai"));
    EXPECT_THAT(Markup(), ::testing::EndsWith(" qui due"));
    EXPECT_EQ(UndoListOf(set_).Labels().front(), "Inserimento da Cartella appunti");
    // Stored, the page names one registered web link.
    StoreText(set_, *text_, WriteText(box_->AllParagraphs(), *host_), *page_, false);
    EXPECT_EQ(Live(K::internetLink), linksBefore + 1);
    UndoListOf(set_).UndoOne();
    EXPECT_EQ(Markup(), "<Z S0 >uno due");
}

TEST_F(PasteRtf, ObjectsInUseBeforeTravelAsCopiesAndNothingElseMoves) {
    Open("<Z S0 >x");
    auto link = NewObjectOfKind(K::internetLink, &set_);
    link->Clear();
    link->SetName("http://a.it/");
    link->TakeIntoUse();
    const std::int32_t id = set_.Register(std::move(link));
    const std::int32_t code = MakeCode(K::internetLink, id);
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08X", unsigned(code));
    const RegisteredObjects before(set_);
    std::string markup = std::string("<Z S0 >a<$") + digits + ">b<%><$00000002>c";
    std::string stream;
    for (std::int32_t value : {1, 0, 0, 0, 1})
        for (int shift = 0; shift < 32; shift += 8) stream.push_back(char(value >> shift));
    Result<std::string> carried = CarryStoredObjects(stream + markup + '\0', set_, before);
    ASSERT_TRUE(carried);
    // The link in use stays registered; its copy travels with the stream; a page code stays.
    EXPECT_FALSE(set_.ObjectByCode(code)->IsFree());
    ASSERT_TRUE(editing_->Text().InsertFromStream(*carried, kLabelPaste, false, false));
    EXPECT_EQ(Markup(), "<Z S0 >a<$6f000000>b<$00000002>c<%>x");
    EXPECT_EQ(text_->links[0]->Name(), "http://a.it/");
}

}  // namespace
}  // namespace orvo::test
