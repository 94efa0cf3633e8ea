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
#include "app/SpecLinkRules.h"
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
#include "ui/links/SpecLinkWindow.h"
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

    SpecLinkWindow spec(set);
    spec.Open(0, nullptr, false);
    EXPECT_EQ(spec.Tabs()->currentIndex(), int(SpecTab::Anchor));
    EXPECT_TRUE(spec.NoAnchors()->isVisibleTo(&spec));
    EXPECT_EQ(ToCp1252(spec.NoAnchors()->text()), kSpecNoAnchors);
    spec.Open(3, nullptr, true);
    EXPECT_EQ(spec.Tabs()->currentIndex(), int(SpecTab::Window));
    Grab(spec, "speclink-window");
    const std::pair<SpecTab, int> choices[] = {
        {SpecTab::Anchor, 0}, {SpecTab::Normal, 0}, {SpecTab::Normal, 1}, {SpecTab::Normal, 2},
        {SpecTab::Window, 0}, {SpecTab::Window, 1}, {SpecTab::Frame, 0},  {SpecTab::Close, 0},
        {SpecTab::Misc, 0},   {SpecTab::Misc, 1},   {SpecTab::Misc, 2},   {SpecTab::AutoImport, 0}};
    for (auto [tab, choice] : choices) {
        SpecLinkChoice c;
        c.tab = tab;
        c.choice = choice;
        c.anchor = tab == SpecTab::Anchor ? 3 : -1;
        c.targetFrame = 1;
        c.name = tab == SpecTab::Frame || tab == SpecTab::Close || tab == SpecTab::Window
                     ? "volante"
                     : "";
        if (tab == SpecTab::Window) c.features.width = 500;
        if (tab == SpecTab::AutoImport) c.importPath = "pagina.htm";
        c.html = "title=\"x\"";
        auto link = NewSpecLink(set);
        WriteSpecLink(*link, c);
        spec.Open(2, link.get(), true);  // an existing link selects its tab and choice
        SpecLinkChoice back = spec.Choice();
        if (tab != SpecTab::Anchor) back.anchor = c.anchor;
        EXPECT_EQ(back, c) << kSpecTabCaptions[int(tab)] << " " << choice;
        EXPECT_EQ(spec.Tabs()->currentIndex(), int(tab));
    }
}

}  // namespace
}  // namespace orvo::test
