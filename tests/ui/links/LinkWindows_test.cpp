// The link window and the special-link window offscreen, alone for every mode and tab, and
// from the main window's link commands on a selected word: the link made, followed, undone.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

#include "MainWindowSupport.h"
#include "app/LinkWindowRules.h"
#include "app/SpecialLinkRules.h"
#include "app/u3MainForm.h"
#include "base/Cp1252.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "support/TestSupport.h"
#include "textbox/PageEditSession.h"
#include "textbox/uKYTbox.h"
#include "textbox/uKYTboxInput.h"
#include "textbox/uKYTundo.h"
#include "ui/QtConvert.h"
#include "ui/app/MainWindow.h"
#include "ui/links/LinkCommands.h"
#include "ui/links/LinkWindow.h"
#include "ui/links/SpecialLinkWindow.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo::test {
namespace {

using K = TOggettiHel;
namespace fs = std::filesystem;

void Grab(QWidget& window, const char* name) {
    if (const char* folder = ::getenv("ORVO_WINDOWS_GRAB"))
        window.grab().save(QString::fromUtf8(folder) + "/" + name + ".png");
}

// An editor with no page shown: the windows alone.
class NoEditor final : public ILinkEditor {
public:
    void ShowPage(std::int32_t) override {}
    TKYTTextAttributes* CurrentText() override { return nullptr; }
    TKYToggetto* CurrentPage() override { return nullptr; }
};

TEST(LinkWindowsAlone, EveryModeShowsItsTabsAndEveryTabWritesTheRecordItShows) {
    EnsureApplication();
    FixedEnvironment environment;
    RecordingMessages messages_;
    TKYTset set(environment, messages_);
    MakeSampleHypertext(set);
    NoEditor links;

    for (int mode = 0; mode <= 11; ++mode) {
        LinkWindow w(set, links, messages_);
        w.Chooser().mode = mode;
        w.Prepare();
        const LinkWindowLayout layout = LinkLayoutOfMode(mode);
        EXPECT_EQ(ToCp1252(w.windowTitle()), layout.caption) << mode;
        for (int t = 0; t < kLinkTabCount; ++t) {
            EXPECT_EQ(w.Tabs()->isTabVisible(t), layout.shown[std::size_t(t)]) << mode << " " << t;
            EXPECT_EQ(ToCp1252(w.Tabs()->tabText(t)), layout.captions[std::size_t(t)]);
        }
        EXPECT_EQ(w.CurrentTab(), layout.start) << mode;
        EXPECT_EQ(w.OkStayButton()->isVisibleTo(&w), layout.okStayShown) << mode;
        EXPECT_EQ(w.Anchor()->isVisibleTo(&w), layout.anchorShown) << mode;
        if (mode == 0 || mode == 3 || mode == 9 || mode == 10) {
            w.PageList()->setCurrentRow(std::min(3, w.PageList()->count() - 1));
            Grab(w, ("link-mode-" + std::to_string(mode)).c_str());
        }
        // The embedded-file tab enables Ok only with a file or an album entry.
        w.SetCurrentTab(LinkTab::Embedded);
        EXPECT_EQ(w.CurrentTab() == LinkTab::Embedded, layout.Shows(LinkTab::Embedded)) << mode;
        if (layout.Shows(LinkTab::Embedded)) {
            w.FileTabs()->setCurrentIndex(0);
            w.DiskFile()->clear();
            EXPECT_FALSE(w.OkButton()->isEnabled()) << mode;
            w.DiskFile()->setText(QStringLiteral("/etc/hostname"));
            EXPECT_TRUE(w.OkButton()->isEnabled()) << mode;
        }
    }

    SpecialLinkWindow special(set);
    special.Open(0, nullptr, false);
    EXPECT_EQ(special.Tabs()->currentIndex(), int(SpecialTab::Anchor));
    EXPECT_TRUE(special.NoAnchors()->isVisibleTo(&special));
    EXPECT_EQ(ToCp1252(special.NoAnchors()->text()), kSpecNoAnchors);
    special.Open(3, nullptr, true);
    EXPECT_EQ(special.Tabs()->currentIndex(), int(SpecialTab::Window));
    Grab(special, "speclink-window");
    const std::pair<SpecialTab, int> choices[] = {
        {SpecialTab::Anchor, 0}, {SpecialTab::Normal, 0}, {SpecialTab::Normal, 1},
        {SpecialTab::Normal, 2}, {SpecialTab::Window, 0}, {SpecialTab::Window, 1},
        {SpecialTab::Frame, 0},  {SpecialTab::Close, 0},  {SpecialTab::Misc, 0},
        {SpecialTab::Misc, 1},   {SpecialTab::Misc, 2},   {SpecialTab::AutoImport, 0}};
    for (auto [tab, choice] : choices) {
        SpecialLinkChoice c;
        c.tab = tab;
        c.choice = choice;
        c.anchor = tab == SpecialTab::Anchor ? 3 : -1;
        c.targetFrame = 1;
        c.name = tab == SpecialTab::Frame || tab == SpecialTab::Close || tab == SpecialTab::Window
                     ? "volante"
                     : "";
        if (tab == SpecialTab::Window) c.features.width = 500;
        if (tab == SpecialTab::AutoImport) c.importPath = "pagina.htm";
        c.html = "title=\"x\"";
        auto link = NewSpecialLink(set);
        WriteSpecialLink(*link, c);
        special.Open(2, link.get(), true);  // an existing link selects its tab and choice
        SpecialLinkChoice back = special.Choice();
        if (tab != SpecialTab::Anchor) back.anchor = c.anchor;
        EXPECT_EQ(back, c) << kSpecialTabCaptions[int(tab)] << " " << choice;
        EXPECT_EQ(special.Tabs()->currentIndex(), int(tab));
    }
}

}  // namespace
}  // namespace orvo::test
