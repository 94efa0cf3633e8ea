// The link window's and the special-link window's rules without widgets: the tabs of each
// mode, the records their Ok writes (byte for byte at the record's offsets), embedded files,
// new and copied pages, and the window-name prompt.
#include "app/LinkWindowRules.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/SpecialLinkRules.h"
#include "base/Cp1252.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "support/TestSupport.h"
#include "textbox/IBoxHost.h"
#include "textbox/TKYTpage.h"
#include "textbox/TKYTpageHeadless.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTbox.h"
#include "textbox/uKYTboxView.h"
#include "textbox/uKYTundo.h"

namespace orvo::test {
namespace {

using namespace orvo::literals;
using K = TOggettiHel;
namespace fs = std::filesystem;

std::int32_t I32At(const TKYToggetto& o, std::size_t at) {
    std::int32_t v;
    std::memcpy(&v, o.Record().data() + at, 4);
    return v;
}
std::string BytesAt(const TKYToggetto& o, std::size_t at, std::size_t n) {
    return std::string(reinterpret_cast<const char*>(o.Record().data() + at), n);
}

TEST(LinkWindowModes, TabsCaptionsAndFieldsOfEveryMode) {
    using T = LinkTab;
    struct Case {
        int mode;
        std::vector<T> tabs;
        T start;
        std::string_view caption;
        bool anchor, okStay, top;
    };
    const std::vector<T> all{T::Page,     T::CopyPage, T::OtherPage, T::CopyOther, T::Internet,
                             T::Embedded, T::Empty,    T::Template,  T::Html};
    const std::vector<T> fresh{T::CopyPage, T::CopyOther, T::Empty, T::Template, T::Html};
    const Case cases[] = {
        {0, all, T::Page, kLinkWindowCaption, false, true, true},
        {1, all, T::Page, kLinkWindowCaption, true, true, true},
        {2,
         {T::Page, T::OtherPage, T::Internet, T::Embedded},
         T::Page,
         kLinkWindowCaption,
         true,
         false,
         true},
        {3, {T::Page}, T::Page, kLinkWindowCaption, true, false, true},
        {4, {T::Page, T::Internet, T::Embedded}, T::Page, kLinkWindowCaption, false, false, true},
        {5, {T::Page}, T::Page, kLinkWindowCaption, false, false, false},
        {6, {T::Page}, T::Page, "Visualizza...", false, false, false},
        {7, {T::Page, T::OtherPage, T::Internet}, T::Page, kLinkWindowCaption, false, false, true},
        {8,
         {T::Page, T::OtherPage, T::Internet},
         T::Internet,
         kLinkWindowCaption,
         false,
         false,
         true},
        {9, fresh, T::Empty, "Nuova...", false, false, true},
        {10,
         {T::CopyPage, T::CopyOther, T::Template, T::Html},
         T::CopyPage,
         "Incolla...",
         false,
         false,
         true},
        {11, {T::Embedded}, T::Embedded, kLinkWindowCaption, false, false, true},
    };
    for (const Case& c : cases) {
        const LinkWindowLayout l = LinkLayoutOfMode(c.mode);
        std::vector<T> shown;
        for (int t = 0; t < kLinkTabCount; ++t)
            if (l.Shows(T(t))) shown.push_back(T(t));
        std::vector<T> want = c.tabs;
        std::sort(want.begin(), want.end());
        EXPECT_EQ(shown, want) << "mode " << c.mode;
        EXPECT_EQ(l.start, c.start) << c.mode;
        EXPECT_EQ(l.caption, c.caption) << c.mode;
        EXPECT_EQ(l.anchorShown, c.anchor) << c.mode;
        EXPECT_EQ(l.okStayShown, c.okStay) << c.mode;
        EXPECT_EQ(l.topPanelShown, c.top) << c.mode;
        EXPECT_EQ(l.importBackground, c.mode == 10) << c.mode;
        EXPECT_EQ(l.pageListShown, c.mode != 3) << c.mode;
    }
    EXPECT_EQ(LinkLayoutOfMode(9).captions[1], "Da pagina esistente");
    EXPECT_EQ(LinkLayoutOfMode(9).captions[3], "Da altro ipertesto");
    EXPECT_EQ(LinkLayoutOfMode(10).captions[7], "Da modello");
    EXPECT_EQ(LinkLayoutOfMode(10).captions[8], "Da file Html");
    EXPECT_EQ(LinkLayoutOfMode(0).captions[8], "Nuova copiando pagina Html");
}

TEST(LinkWindowAddresses, DocumentLinksAreRelativeOnlyBelowTheDocumentsFolder) {
    struct Case {
        const char* document;
        const char* chosen;
        int page;
        const char* automatic;
        const char* address;
    };
    const Case cases[] = {
        {"/a/doc/libro.kyt", "/a/doc/sub/altro.kyt", 3, "", "orvo://sub/altro.kyt|3"},
        {"/a/doc/libro.kyt", "/a/doc/altro.kyt", -1, "", "orvo://altro.kyt|0"},
        // A sibling folder whose name begins with the document's folder name stays whole.
        {"/a/doc/libro.kyt", "/a/docs2/altro.kyt", 2, "", "orvo:///a/docs2/altro.kyt|2"},
        {"/a/doc/libro.kyt", "/b/altro.kyt", 0, "", "orvo:///b/altro.kyt|0"},
        {"", "/b/altro.kyt", 5, "", "orvo:///b/altro.kyt|5"},
        {"/a/doc/libro.kyt", "/a/doc/x.kyt", 1, "orvo://../y.kyt|4", "orvo://../y.kyt|4"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DocumentLinkAddress(c.document, c.chosen, c.page, c.automatic), c.address)
            << c.chosen;
}

class LinkRules : public ::testing::Test {
protected:
    void SetUp() override { MakeSampleHypertext(set_); }
    FixedEnvironment env_;
    RecordingMessages messages_;
    TKYTset set_{env_, messages_};
};

TEST_F(LinkRules, InternetLinksTakeTheSubtypeOfTheirAddressAndAreNotRegistered) {
    const int before = set_.KindCount(K::internetLink);
    struct Case {
        std::string address;
        int subtype;
    };
    const Case cases[] = {{"orvo://altro.kyt|2", 6}, {"http://example.org/", 7},
                          {"mailto:a@b.it", 8},      {"ftp://example.org/", 4},
                          {"prog:editor.exe", 4},    {std::string(200, 'h'), 4}};
    for (const Case& c : cases) {
        auto link = MakeInternetLink(set_, c.address);
        EXPECT_EQ(link->Kind(), K::internetLink);
        EXPECT_EQ(link->Record()[4], c.subtype) << c.address;
        const std::size_t n = std::min<std::size_t>(c.address.size(), 127);
        EXPECT_EQ(link->Record()[5], n);
        EXPECT_EQ(BytesAt(*link, 6, n), c.address.substr(0, n));
        EXPECT_FALSE(link->Registered());
    }
    EXPECT_EQ(set_.KindCount(K::internetLink), before);
}

TEST_F(LinkRules, AnEmbeddedFileIsReadWhereItLiesCopiedToTheWorkingFolderAndSaved) {
    const fs::path source = TestDir() / "fuori" / "relazione finale.pdf";
    const std::string bytes = "%PDF-1.4\n" + std::string(3000, '\x07') + "fine";
    WriteFile(source, bytes);
    Result<TKYToggetto*> added = AddEmbeddedFile(set_, source);
    ASSERT_TRUE(added) << added.failure().text;
    TKYToggetto& file = **added;
    EXPECT_TRUE(file.Registered());
    EXPECT_EQ(file.Record()[4], 4);
    EXPECT_EQ(file.FileName(), "relazione finale.pdf");
    EXPECT_EQ(I32At(file, 85), std::int32_t(bytes.size()));
    const fs::path copy = NativePath(file.ContentFileName());
    EXPECT_EQ(copy.parent_path(), set_.WorkingDirectory());
    EXPECT_EQ(ReadFile(copy), bytes);
    EXPECT_EQ(ReadFile(source), bytes);  // the chosen file is only read

    // Refilled from another file: the previous copy goes, the identifier stays.
    const fs::path second = TestDir() / "fuori" / "nota.txt";
    WriteFile(second, "nota");
    const std::int32_t id = file.Identifier();
    ASSERT_TRUE(AddEmbeddedFile(set_, second, &file));
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_EQ(file.Identifier(), id);
    EXPECT_EQ(file.FileName(), "nota.txt");

    // The bytes are stored in the document.
    const std::string doc = (TestDir() / "incorporato.kyt").string();
    ASSERT_TRUE(set_.SaveToFile(doc)) << (set_.Errors().empty() ? "" : set_.Errors()[0]);
    TKYTset read(env_, messages_);
    ASSERT_TRUE(read.LoadFromFile(doc));
    const TKYToggetto* stored = read.ObjectByKind(K::genLink, id);
    ASSERT_TRUE(stored);
    Result<std::string> content = stored->ContentBytes();
    ASSERT_TRUE(content);
    EXPECT_EQ(*content, "nota");

    // A file that cannot be read registers nothing.
    const int count = set_.KindCount(K::genLink);
    EXPECT_FALSE(AddEmbeddedFile(set_, TestDir() / "manca.bin"));
    EXPECT_EQ(set_.KindCount(K::genLink), count);
}

// The editor the chooser works on: the page it shows in a headless box with its editing.
class HeadlessLinkEditor final : public ILinkEditor {
public:
    explicit HeadlessLinkEditor(TKYTset& set) : set_(set), undo_(UndoListOf(set)) {}
    ~HeadlessLinkEditor() override { editing_.reset(); }
    void ShowPage(std::int32_t page) override {
        if (surface_ && surface_->Showing()) surface_->CommitText();
        editing_.reset();
        surface_ = std::make_unique<TKYTpage>(set_, frames_, views_, undo_, spell_, scheduler_);
        TKYTtesto* text = surface_->ShowText(page);
        ASSERT_TRUE(text);
        EditContext context(set_, *text, messages_);
        context.undo = &undo_;
        editing_ = std::make_unique<BoxEditing>(views_.Last()->Box(), std::move(context),
                                                &controls_, page, frame_);
        shown = page;
        ++shows;
    }
    TKYTTextAttributes* CurrentText() override { return editing_ ? &editing_->Text() : nullptr; }
    TKYToggetto* CurrentPage() override { return surface_ ? surface_->WorkingText() : nullptr; }
    std::string Markup() {
        surface_->CommitText();
        Result<std::string> b = set_.ObjectByKind(K::testoHtml, shown)->ContentBytes();
        return b ? *b : std::string();
    }
    std::int32_t shown = -1;
    int shows = 0;
    RecordingMessages messages_;

private:
    TKYTset& set_;
    FixedMetrics metrics_;
    RecordingBoxHost host_{600, 400};
    TKYTboxViewFactory views_{metrics_, host_};
    HeadlessFrameSet frames_;
    ManualSpellPacer spell_;
    ManualScheduler scheduler_;
    TKYTundoList& undo_;
    std::int32_t frame_ = undo_.Frames().NewFrameId();
    TKYTundoIndiciList controls_;
    std::unique_ptr<TKYTpage> surface_;
    std::unique_ptr<BoxEditing> editing_;
};

TEST_F(LinkRules, OkHandsTheTargetToTheCallerAndCancelLeavesNone) {
    HeadlessLinkEditor editor(set_);
    editor.ShowPage(0);
    TLinkChooser chooser(set_, editor);
    std::vector<std::int32_t> chosen;
    chooser.onChoose = [&](TKYToggetto& o) { chosen.push_back(o.Code()); };

    LinkChoice page;
    page.page = 2;
    ASSERT_TRUE(chooser.Ok(page, true));
    EXPECT_EQ(editor.shown, 2);  // "&Ok" moves to the page
    ASSERT_TRUE(chooser.Ok(page, false));
    EXPECT_FALSE(chooser.ChangePage());
    EXPECT_EQ(editor.shows, 2);  // "&Ok, e non cambiare pagina" stays
    EXPECT_EQ(chosen, (std::vector<std::int32_t>{2, 2}));
    chooser.Cancel();
    EXPECT_EQ(chooser.ResultObject(), nullptr);

    // Mode 1 never changes page; the internet tab makes an unregistered link.
    chooser.mode = 1;
    LinkChoice web;
    web.tab = LinkTab::Internet;
    web.address = "http://example.org/";
    Result<TKYToggetto*> made = chooser.Ok(web, true);
    ASSERT_TRUE(made);
    EXPECT_FALSE(chooser.ChangePage());
    EXPECT_EQ((*made)->Record()[4], 7);
    EXPECT_FALSE((*made)->Registered());

    // A tab the mode does not show, and the embedded tab without a file, refuse.
    chooser.mode = 5;
    EXPECT_FALSE(chooser.Ok(web, true));
    chooser.mode = 0;
    LinkChoice none;
    none.tab = LinkTab::Embedded;
    none.fromDisk = true;
    EXPECT_FALSE(LinkOkEnabled(none));
    EXPECT_FALSE(chooser.Ok(none, true));
}

TEST_F(LinkRules, NewPagesAreRegisteredShownAndFilledFromTheirSource) {
    HeadlessLinkEditor editor(set_);
    editor.ShowPage(0);
    TLinkChooser chooser(set_, editor);
    chooser.mode = 9;
    const int pages = set_.KindCount(K::testoHtml);
    LinkChoice empty;
    empty.tab = LinkTab::Empty;
    Result<TKYToggetto*> made = chooser.Ok(empty, true);
    ASSERT_TRUE(made);
    EXPECT_EQ((*made)->Identifier(), pages);
    EXPECT_EQ(editor.shown, pages);
    EXPECT_EQ(editor.Markup(), std::string("<Z S0 >\0", 8));

    // A copy of page 2 carries its text and its background, as one undoable step.
    TKYToggetto& source = *set_.ObjectByKind(K::testoHtml, 4);
    source.View().SetI32(kPageBackColour, 0x00C0FFEE);
    LinkChoice copy;
    copy.tab = LinkTab::CopyPage;
    copy.page = 4;
    made = chooser.Ok(copy, true);
    ASSERT_TRUE(made) << made.failure().text;
    EXPECT_EQ((*made)->Identifier(), pages + 1);
    Result<std::string> original = source.ContentBytes();
    const std::string copied = editor.Markup();
    EXPECT_EQ(I32At(**made, 101), 0x00C0FFEE);
    ASSERT_TRUE(original);
    // The same words in the same order (the stored codes of links may differ).
    const auto words = [](std::string s) {
        std::string out;
        bool in = false;
        for (char c : s) {
            if (c == '<') in = true;
            if (!in && std::uint8_t(c) >= 0x20) out += c;
            if (c == '>') in = false;
        }
        return out;
    };
    EXPECT_FALSE(words(*original).empty());
    EXPECT_EQ(words(copied), words(*original));
    EXPECT_EQ(UndoListOf(set_).Labels().front(), kCopyPageLabel);

    // From another hypertext file: a page of it; an unreadable file creates nothing.
    const std::string otherFile = (TestDir() / "altro.kyt").string();
    {
        TKYTset other(env_, messages_);
        MakeSampleHypertext(other, {.pages = 3});
        ASSERT_TRUE(other.SaveToFile(otherFile));
    }
    LinkChoice fromOther;
    fromOther.tab = LinkTab::CopyOther;
    fromOther.otherFile = otherFile;
    fromOther.otherPage = 0;
    ASSERT_TRUE(chooser.Ok(fromOther, true));
    EXPECT_EQ(editor.shown, pages + 2);
    fromOther.otherFile = (TestDir() / "manca.kyt").string();
    EXPECT_FALSE(chooser.Ok(fromOther, true));
    EXPECT_EQ(set_.KindCount(K::testoHtml), pages + 3);

    // From an HTML file: its words and its background colour; a missing file creates nothing
    // and says which file it could not open.
    const fs::path html = TestDir() / "pagina.htm";
    WriteFile(html,
              "<html><body bgcolor=\"#102030\"><h1>Titolo</h1><p>Prima <b>riga</b> "
              "citt\xE0</p><p>Seconda riga</p></body></html>");
    LinkChoice fromHtml;
    fromHtml.tab = LinkTab::Html;
    fromHtml.htmlFile = html;
    made = chooser.Ok(fromHtml, true);
    ASSERT_TRUE(made) << made.failure().text;
    EXPECT_EQ((*made)->Identifier(), pages + 3);
    EXPECT_EQ(editor.shown, pages + 3);
    EXPECT_EQ(words(editor.Markup()), "TitoloPrima riga citt\xE0Seconda riga");
    EXPECT_EQ(I32At(**made, 101), 0x00302010);
    fromHtml.htmlFile = TestDir() / "manca.htm";
    made = chooser.Ok(fromHtml, true);
    ASSERT_FALSE(made);
    EXPECT_EQ(made.failure().text, "Errore nell'apertura file: " + NameOfPath(fromHtml.htmlFile));
    EXPECT_EQ(set_.KindCount(K::testoHtml), pages + 4);
}

TEST_F(LinkRules, PresetsSelectTheirEntry) {
    const PresetEntry page = PresetEntryOf(set_, set_.ObjectByKind(K::testoHtml, 3));
    EXPECT_TRUE(page.found);
    EXPECT_EQ(page.tab, LinkTab::Page);
    EXPECT_EQ(page.page, 3);
    auto missing = MakeInternetLink(set_, "orvo://" + (TestDir() / "manca.kyt").string() + "|2");
    const PresetEntry none = PresetEntryOf(set_, missing.get());
    EXPECT_EQ(none.tab, LinkTab::OtherPage);
    EXPECT_FALSE(none.found);
    auto web = MakeInternetLink(set_, "mailto:nessuno@example.org");
    EXPECT_EQ(PresetEntryOf(set_, web.get()).tab, LinkTab::Internet);
}

// ---------------------------------------------------------------------------------------------
// Special links

TEST_F(LinkRules, EveryTabWritesItsRecordAndReadsBackTheSameChoice) {
    struct Case {
        SpecialTab tab;
        int choice;
        int subtype, action, anchor;
        const char* name;
    };
    const Case cases[] = {
        {SpecialTab::Anchor, 0, 1, 6, 4, ""},       {SpecialTab::Normal, 0, 1, 5, -1, ""},
        {SpecialTab::Normal, 1, 1, 0, -1, ""},      {SpecialTab::Normal, 2, 1, 3, -1, ""},
        {SpecialTab::Window, 0, 1, 2, -1, "volo"},  {SpecialTab::Window, 1, 1, 4, -1, ""},
        {SpecialTab::Frame, 0, 1, 1, -1, "destra"}, {SpecialTab::Close, 0, 2, 0xFF, -1, "volo"},
        {SpecialTab::Misc, 0, 3, 0xFF, -1, ""},     {SpecialTab::Misc, 1, 4, 0xFF, -1, ""},
        {SpecialTab::Misc, 2, 5, 0xFF, -1, ""},     {SpecialTab::AutoImport, 0, 6, 0xFF, -1, ""},
    };
    for (const Case& c : cases) {
        SpecialLinkChoice choice;
        choice.tab = c.tab;
        choice.choice = c.choice;
        choice.anchor = c.tab == SpecialTab::Anchor ? 4 : -1;
        choice.name = c.name;
        choice.targetFrame = 1;
        choice.html = "onMouseOver=\"x()\"";
        if (c.tab == SpecialTab::Window) {
            choice.features.width = 320;
            choice.features.height = 200;
            choice.features.scrollbars = true;
        }
        if (c.tab == SpecialTab::AutoImport) choice.importPath = "capitolo2.htm";
        auto link = NewSpecialLink(set_);
        WriteSpecialLink(*link, choice);
        const std::string label =
            std::string(kSpecialTabCaptions[int(c.tab)]) + " " + std::to_string(c.choice);
        EXPECT_EQ(link->Record()[4], c.subtype) << label;
        EXPECT_EQ(I32At(*link, 9), c.anchor) << label;
        EXPECT_EQ(I32At(*link, 13), -1) << label;
        EXPECT_EQ(link->Record()[17], 1) << label;
        EXPECT_EQ(link->Record()[18], c.action) << label;
        EXPECT_EQ(link->Record()[19], std::strlen(c.name)) << label;
        EXPECT_EQ(BytesAt(*link, 20, std::strlen(c.name)), c.name) << label;
        EXPECT_EQ(BytesAt(*link, 39, 8), std::string(8, '\xFF')) << label;  // aux place
        EXPECT_EQ(link->AuxiliaryCode(), choice.html);
        if (c.tab == SpecialTab::Window) {
            Result<std::string> content = link->ContentBytes();
            ASSERT_TRUE(content);
            EXPECT_EQ(*content,
                      Bytes({0xE0, 0xB1, 0xE0, 0xB1, 0x40, 0x01, 0xC8, 0x00, 0xE0, 0xB1, 0xE0,
                             0xB1, 0,    0,    0,    0,    0,    0,    0,    1,    0,    0}));
        }
        if (c.tab == SpecialTab::AutoImport) {
            EXPECT_EQ(*link->ContentBytes(), "capitolo2.htm");
        }
        SpecialLinkChoice back = ReadSpecialLink(*link);
        if (c.tab != SpecialTab::Anchor) back.anchor = -1;
        EXPECT_EQ(back, choice) << label;
    }
}

TEST_F(LinkRules, NamesAreIdentifiersOfNineteenCharactersAndTheMainWindowClosesAsMinusTwo) {
    SpecialLinkChoice close;
    close.tab = SpecialTab::Close;
    close.closeMain = true;
    auto link = NewSpecialLink(set_);
    WriteSpecialLink(*link, close);
    EXPECT_EQ(link->Record()[4], 2);
    EXPECT_EQ(I32At(*link, 9), -2);
    EXPECT_EQ(link->ReadView().PStr(kSpecName), "principale");
    EXPECT_TRUE(ReadSpecialLink(*link).closeMain);

    SpecialLinkChoice frame;
    frame.tab = SpecialTab::Frame;
    frame.name = "9 finestra \xE8 lunga davvero molto";
    WriteSpecialLink(*link, frame);
    EXPECT_EQ(link->Record()[19], 19);
    EXPECT_EQ(BytesAt(*link, 20, 19), "w9_finestra___lunga");
    EXPECT_EQ(BytesAt(*link, 39, 8), std::string(8, '\xFF'));

    // A separate window without a name asks until one is given; cancelling stops.
    SpecialLinkChoice window;
    window.tab = SpecialTab::Window;
    WriteSpecialLink(*link, window);
    EXPECT_TRUE(SpecialLinkNeedsName(*link));
    std::vector<std::optional<std::string>> answers{"", "  ", "volo"};
    std::size_t asked = 0;
    EXPECT_EQ(AskWindowName([&] { return answers[asked++]; }), "__");
    EXPECT_EQ(asked, 2u);
    asked = 0;
    answers = {"", std::nullopt, "mai"};
    EXPECT_EQ(AskWindowName([&] { return answers[asked++]; }), std::nullopt);
    EXPECT_EQ(asked, 2u);

    EXPECT_EQ(SpecialLinkTargetMode(*link, 0), 1);
    EXPECT_EQ(SpecialLinkTargetMode(*link, 3), 5);
    WriteSpecialLink(*link, SpecialLinkChoice{});
    EXPECT_EQ(SpecialLinkTargetMode(*link, 0), 3);
}

TEST_F(LinkRules, ASpecialLinkToPageZeroIsAppliedAndStoredWithItsTarget) {
    HeadlessLinkEditor editor(set_);
    editor.ShowPage(1);
    TKYTTextAttributes& text = *editor.CurrentText();
    TKYTbox& box = text.Box();
    text.Select({box.FirstEditable(), 0}, {box.FirstEditable(), 3});
    SpecialLinkChoice popup;
    popup.tab = SpecialTab::Window;
    popup.choice = 1;
    popup.features.width = 300;
    popup.features.height = 150;
    auto link = NewSpecialLink(set_);
    WriteSpecialLink(*link, popup);
    ApplySpecialLinkToText(text, *link, set_.ObjectByKind(K::testoHtml, 0));
    EXPECT_EQ(UndoListOf(set_).Labels().front(), "Inserisci collegamento ");
    const std::string markup = editor.Markup();
    // The stored text names a registered special link whose target is page 0.
    const TKYToggetto* stored = nullptr;
    for (const auto& o : set_.KindList(K::speclink))
        if (o && !o->IsFree() &&
            Lower1252(markup).find(Lower1252(Hex8(std::uint32_t(o->Code())))) != std::string::npos)
            stored = o.get();
    ASSERT_TRUE(stored) << Escaped(markup);
    EXPECT_EQ(I32At(*stored, 13), 0);
    EXPECT_EQ(stored->Record()[18], 4);
    EXPECT_EQ(ReadWindowFeatures(*stored->ContentBytes()).width, 300);
}

}  // namespace
}  // namespace orvo::test
