// Holders of a hypertext's objects around a save, which replaces every object: the shown page's
// box, the export list's images, the page tree and the preview's surfaces, all following the
// container's replace notifications through ObjectHolders; and the preview's decisions of where
// a followed link shows its page.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "app/PreviewEditor.h"
#include "app/u3MainForm.h"
#include "base/Paths.h"
#include "convert/HtmlExport.h"
#include "convert/TKYTListHtmlToTx.h"
#include "model/ObjectHolders.h"
#include "model/SampleHypertext.h"
#include "model/TKYTorderedTree.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"
#include "platform/RecordingCanvas.h"
#include "support/TestSupport.h"
#include "textbox/IBoxHost.h"
#include "textbox/TKYTpage.h"
#include "textbox/TKYTpageHeadless.h"
#include "textbox/uKYTbox.h"
#include "textbox/uKYTboxView.h"

namespace orvo::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class Holders : public ::testing::Test {
protected:
    Holders() { MakeSampleHypertext(set_, {}); }
    std::string Save() {
        const std::string path = NameOfPath(TestDir() / "Salvato.kyt");
        EXPECT_TRUE(set_.SaveToFile(path)) << (set_.Errors().empty() ? "" : set_.Errors()[0]);
        return path;
    }
    FixedEnvironment environment_;
    RecordingMessages messages_;
    TKYTset set_{environment_, messages_};
    ObjectHolders holders_{set_};
};

TEST_F(Holders, DetachInOrderAttachInReverseAndLeaveWithTheirRegistration) {
    std::vector<std::string> told;
    auto first = holders_.Add([&] { told.push_back("-1"); }, [&] { told.push_back("+1"); });
    {
        auto second = holders_.Add([&] { told.push_back("-2"); }, [&] { told.push_back("+2"); });
        Save();
        EXPECT_THAT(told, ElementsAre("-1", "-2", "+2", "+1"));
    }
    told.clear();
    set_.NewDocument();  // a new document replaces the objects too
    EXPECT_THAT(told, ElementsAre("-1", "+1"));
    EXPECT_FALSE(holders_.Detached());
    EXPECT_EQ(holders_.Count(), 1u);
}

TEST_F(Holders, EveryHolderStillWorksAfterTwoSaves) {
    // The page shown, in a box laid out over the document's styles.
    FixedMetrics metrics;
    RecordingBoxHost host(500, 400);
    TKYTboxViewFactory views(metrics, host);
    HeadlessFrameSet frameSet;
    RecordingUndoPurge undo;
    ManualSpellPacer spell;
    ManualScheduler scheduler;
    TKYTpage page(set_, frameSet, views, undo, spell, scheduler);
    page.SetReadOnly(true);
    ASSERT_NE(page.ShowText(0), nullptr);
    const auto paint = [&] {
        auto* view = dynamic_cast<TKYTboxView*>(page.View());
        EXPECT_NE(view, nullptr);
        if (!view) return std::vector<std::string>{};
        RecordingCanvas canvas(metrics);
        view->Box().Paint(canvas, {0, 0, 500, 400});  // reads every paragraph's style
        std::vector<std::string> texts;
        for (const auto& p : view->Box().AllParagraphs()) texts.push_back(p->text);
        return texts;
    };
    const std::vector<std::string> shown = paint();
    ASSERT_FALSE(shown.empty());

    // The export list of the images the last HTML export met.
    TKYTtoHtml html(&set_);
    html.ExportPath = NameOfPath(TestDir() / "sito");
    std::filesystem::create_directories(TestDir() / "sito");
    TKYTListHtmlToTx list(&html);
    ASSERT_TRUE(html.ExportAllPages(list.ExportedImages));
    ASSERT_FALSE(list.ExportedImages.empty());
    std::vector<std::int32_t> imageCodes;
    for (const TKYToggetto* image : list.ExportedImages) imageCodes.push_back(image->Code());
    list.Rebuild();
    const std::size_t rows = list.Rows().size();

    // The page tree holds codes only and finds its objects again.
    TKYTorderedTree tree(&set_, TOggettiHel::testoHtml);
    tree.LoadTree();
    std::vector<std::int32_t> treeCodes;
    tree.CollectCodes(treeCodes);

    auto pageHeld = holders_.Add([&] { page.DetachView(); }, [&] { page.ReattachView(); });
    auto listHeld = holders_.Add([&] { list.DetachObjects(); }, [&] { list.ReattachObjects(); });
    for (int round = 0; round < 2; ++round) {
        Save();
        EXPECT_EQ(paint(), shown);
        ASSERT_EQ(list.ExportedImages.size(), imageCodes.size());
        for (std::size_t i = 0; i < imageCodes.size(); ++i)
            EXPECT_EQ(list.ExportedImages[i], set_.ObjectByCode(imageCodes[i]));
        list.Rebuild();
        EXPECT_EQ(list.Rows().size(), rows);
        std::vector<TKYToggetto*> objects;
        tree.CollectObjects(objects);
        ASSERT_EQ(objects.size(), treeCodes.size());
        for (std::size_t i = 0; i < objects.size(); ++i)
            EXPECT_EQ(objects[i], set_.ObjectByCode(treeCodes[i]));
    }
    // The page found again by its identifier: a commit stores over it, no new page.
    const int pages = set_.KindCount(TOggettiHel::testoHtml);
    page.CommitText();
    EXPECT_EQ(set_.KindCount(TOggettiHel::testoHtml), pages);
    EXPECT_THAT(messages_.Shown(), IsEmpty());
}

// A surface that shows pages of the hypertext without a box: it notes what it was asked.
class FakeSurface final : public IPreviewSurface {
public:
    explicit FakeSurface(TKYTset& set, std::string name = "") : set_(set), name(std::move(name)) {}
    bool ShowPage(std::int32_t p) override {
        const TKYToggetto* object = set_.ObjectByKind(TOggettiHel::testoHtml, p);
        if (!object || object->IsFree()) return false;
        page = p;
        return true;
    }
    void ClosePage() override { page = -1; }
    std::int32_t PageShown() const override { return page; }
    bool GoToAnchor(std::int32_t a) override {
        anchors.push_back(a);
        return true;
    }
    const TKYTbox* Box() const override { return nullptr; }
    const TKYTtesto* WorkingText() const override { return nullptr; }
    void Raise() override { ++raised; }
    void ApplyFeatures(const WindowFeatures&) override {}
    void DetachPage() override { detached = true; }
    void ReattachPage() override {
        detached = false;
        if (page >= 0 && !ShowPage(page)) page = -1;
    }
    void SetEnabled(bool) override {}
    void Repaint() override {}

    TKYTset& set_;
    std::string name;
    std::int32_t page = -1;
    std::vector<std::int32_t> anchors;
    int raised = 0;
    bool detached = false;
};

class FakeBrowse final : public IBrowseWindowsPort {
public:
    explicit FakeBrowse(TKYTset& set) : set_(set) {}
    IPreviewSurface& Named(std::string_view name) override {
        for (auto& w : windows)
            if (w->name == name) return *w;
        return New(name);
    }
    IPreviewSurface& New(std::string_view name) override {
        windows.push_back(std::make_unique<FakeSurface>(set_, std::string(name)));
        return *windows.back();
    }
    IPreviewSurface& Popup() override { return New("(popup)"); }
    void Close(std::string_view name) override { closed.emplace_back(name); }
    void CloseAll() override { windows.clear(); }
    void DetachPages() override {
        for (auto& w : windows) w->DetachPage();
    }
    void ReattachPages() override {
        for (auto& w : windows) w->ReattachPage();
    }
    TKYTset& set_;
    std::vector<std::unique_ptr<FakeSurface>> windows;
    std::vector<std::string> closed;
};

class PreviewSurfaces : public Holders {
protected:
    PreviewSurfaces() {
        PreviewEditor::Hooks hooks;
        hooks.changed = [this](int p) { changes_.push_back(p); };
        editor_ = std::make_unique<PreviewEditor>(set_, main_, browse_, messages_, hooks);
    }
    FakeSurface main_{set_};
    FakeBrowse browse_{set_};
    std::vector<int> changes_;
    std::unique_ptr<PreviewEditor> editor_;
};

TEST_F(PreviewSurfaces, LinksShowTheirPagesWhereTheirActionSaysAndAnchorsFollowThePageShown) {
    editor_->ShowPage(0);
    EXPECT_EQ(main_.page, 0);
    EXPECT_THAT(changes_, ElementsAre(0));
    // Named frames are browse windows (made once, raised each time); the anchor goes with the
    // page to the window that shows it.
    editor_->ShowInNamedFrame("dettagli", 3, 2);
    editor_->ShowInNamedFrame("dettagli", 4, -1);
    ASSERT_EQ(browse_.windows.size(), 1u);
    EXPECT_EQ(browse_.windows[0]->page, 4);
    EXPECT_THAT(browse_.windows[0]->anchors, ElementsAre(2));
    EXPECT_EQ(browse_.windows[0]->raised, 2);
    editor_->GoToAnchor(7);
    EXPECT_THAT(browse_.windows[0]->anchors, ElementsAre(2, 7));
    EXPECT_THAT(main_.anchors, IsEmpty());

    // A new window every time; a pop-up; the main window's frame set only.
    editor_->ShowInNewWindow("dettagli", 5, -1);
    editor_->ShowInPopup({}, 6, -1, LinkedObject{});
    ASSERT_EQ(browse_.windows.size(), 3u);
    EXPECT_EQ(browse_.windows[1]->page, 5);
    EXPECT_EQ(browse_.windows[2]->name, "(popup)");
    editor_->ShowInFrameSet(-1, 3);
    EXPECT_EQ(main_.page, 3);
    editor_->ShowInFrameSet(2, 4);
    EXPECT_EQ(main_.page, 3);
    EXPECT_THAT(messages_.Shown(),
                ElementsAre(Message{Box::Information, std::string(kNotSupported)}));

    // Around a save every surface detaches and comes back; a page gone leaves the main one.
    editor_->DetachPages();
    EXPECT_TRUE(main_.detached);
    EXPECT_TRUE(browse_.windows[1]->detached);
    set_.ObjectByKind(TOggettiHel::testoHtml, 3)->Clear();
    changes_.clear();
    editor_->ReattachPages();
    EXPECT_FALSE(main_.detached);
    EXPECT_EQ(main_.page, -1);
    EXPECT_EQ(editor_->CurrentPage(), -1);
    EXPECT_THAT(changes_, ElementsAre(-1));
    EXPECT_EQ(browse_.windows[1]->page, 5);

    editor_->CloseBrowseWindow("dettagli");
    EXPECT_THAT(browse_.closed, ElementsAre("dettagli"));
    editor_->ReleasePages();
    EXPECT_TRUE(browse_.windows.empty());
}

}  // namespace
}  // namespace orvo::test
