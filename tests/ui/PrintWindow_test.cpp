// The print window offscreen: its list filled by its buttons and by links followed in its
// preview, the chosen pages printed in the list's order into a PDF file, read back by
// poppler's pdftotext; "Stampa pagina corrente" printing without the window.
#include <stdlib.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTreeWidget>

#include "app/u3Utils.h"
#include "base/Cp1252.h"
#include "model/HeaderRecord.h"
#include "model/SampleHypertext.h"
#include "model/TKYTorderedTree.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/ISettings.h"
#include "support/ProgramRun.h"
#include "support/TestSupport.h"
#include "textbox/TFprintRules.h"
#include "textbox/TPageSetupDialog.h"
#include "ui/print/QtPrintService.h"
#include "ui/print/TFprint.h"

namespace orvo::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

void EnsureApplication() {
    if (QCoreApplication::instance()) return;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "orvo_ui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}

TEST(PrintWindow, ListsThePagesAndPrintsTheChosenOnesInOrder) {
    EnsureApplication();
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    MakeSampleHypertext(set);
    MemorySettings settings;
    settings.Write("options", "clicprintprev", "0");
    TPageSetupDialog setup;
    TFprint window(set, settings, setup, 4);

    EXPECT_EQ(window.windowTitle(), "Stampa");
    window.findChild<QPushButton*>("BTutte")->click();
    const std::vector<std::int32_t> order = DefaultPageOrder(set);
    std::vector<std::string> names;
    for (std::int32_t page : order) names.push_back(LivePage(set, page)->Name());
    EXPECT_EQ(window.ListedNames(), names);
    ASSERT_GE(names.size(), 5u);

    // Keep the fourth and the second listed, in that order, then the page being edited.
    auto* list = window.findChild<QTreeWidget*>("Pagine");
    list->clearSelection();
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        if (row != 1 && row != 3) list->topLevelItem(row)->setSelected(true);
    window.findChild<QPushButton*>("BCestina")->click();
    EXPECT_EQ(window.ListedNames(), (std::vector{names[1], names[3]}));
    list->setCurrentItem(list->topLevelItem(1));
    window.findChild<QPushButton*>("BPrima")->click();
    window.findChild<QPushButton*>("BCorrente")->click();  // page 4
    window.findChild<QPushButton*>("BCorrente")->click();  // once only
    const std::string edited = LivePage(set, 4)->Name();
    EXPECT_EQ(window.ListedNames(), (std::vector{names[3], names[1], edited}));

    const std::filesystem::path pdf = TestDir() / "scelte.pdf";
    window.SetPdfFile(QString::fromStdString(pdf.string()));
    EXPECT_EQ(window.PrintList(), 3);
    const ProgramRun text = RunProgram({"/usr/bin/pdftotext", pdf.string(), "-"});
    ASSERT_EQ(text.status, 0) << text.err;
    std::vector<std::string> sheets;
    for (std::size_t from = 0, ff; (ff = text.out.find('\f', from)) != std::string::npos;
         from = ff + 1)
        sheets.push_back(text.out.substr(from, ff - from));
    ASSERT_EQ(sheets.size(), 3u);
    // Each sheet shows its page's title (the first paragraph of the sample's pages).
    const std::vector<std::int32_t> printed{order[3], order[1], 4};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string title = Cp1252ToUtf8(LivePage(set, printed[i])->Name());
        EXPECT_THAT(sheets[i], HasSubstr(title)) << i;
    }
    window.reject();
    EXPECT_EQ(settings.ReadString("options", "clicprintprev"), "0");
    EXPECT_TRUE(messages.Shown().empty());
}

// Pages of a PDF file as pdftotext reads them, one string a sheet.
std::vector<std::string> PdfSheets(const std::filesystem::path& pdf) {
    const ProgramRun text = RunProgram({"/usr/bin/pdftotext", pdf.string(), "-"});
    EXPECT_EQ(text.status, 0) << text.err;
    std::vector<std::string> sheets;
    for (std::size_t from = 0, ff; (ff = text.out.find('\f', from)) != std::string::npos;
         from = ff + 1)
        sheets.push_back(text.out.substr(from, ff - from));
    return sheets;
}

TEST(PrintWindow, ALinkFollowedInThePreviewAddsItsPage) {
    EnsureApplication();
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    MakeSampleHypertext(set);
    MemorySettings settings;
    TPageSetupDialog setup;
    const std::int32_t cover = set.HeaderView().I32(kHdrCoverPage);
    TFprint window(set, settings, setup, cover);
    window.show();
    QApplication::processEvents();
    EXPECT_FALSE(window.ClickPreviewAt(0, 0));  // the margin holds no link
    bool followed = false;
    for (int y = 0; y < 600 && !followed; y += 3)
        for (int x = 0; x < 320 && !followed; x += 3) followed = window.ClickPreviewAt(x, y);
    ASSERT_TRUE(followed);
    // The page the link showed is the only one listed, and it is another page.
    const std::vector<std::string> listed = window.ListedNames();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_NE(listed[0], LivePage(set, cover)->Name());
    window.reject();
}

TEST(PrintWindow, PrintingTheCurrentPagePrintsItAtOnce) {
    EnsureApplication();
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    MakeSampleHypertext(set);
    MemorySettings settings;
    int commits = 0;
    QtPrintService print(
        set, settings, messages, nullptr, [] { return 4; }, [&commits] { ++commits; });
    const std::filesystem::path pdf = TestDir() / "corrente.pdf";
    print.SetPdfFile(QString::fromStdString(pdf.string()));
    EXPECT_EQ(print.PrintCurrentPage(), Outcome::Done);
    EXPECT_EQ(commits, 1);
    const std::vector<std::string> sheets = PdfSheets(pdf);
    ASSERT_FALSE(sheets.empty());
    EXPECT_THAT(sheets[0], HasSubstr(Cp1252ToUtf8(LivePage(set, 4)->Name())));
    EXPECT_TRUE(messages.Shown().empty());
}

}  // namespace
}  // namespace orvo::test
