// "Formato" in the main window, offscreen: a word given a font and a colour in "Carattere", a
// word made superscript, a paragraph given another style; one step undone; the rest saved and
// found in the page orvo-cli exports.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QMouseEvent>
#include <QSpinBox>

#include <filesystem>

#include "MainWindowSupport.h"
#include "app/u3MainForm.h"
#include "base/Files.h"
#include "base/Paths.h"
#include "support/ProgramRun.h"
#include "support/TestSupport.h"
#include "textbox/uKYTbox.h"
#include "ui/format/FormatCommands.h"
#include "ui/format/FormatWindows.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo::test {
namespace {

using ::testing::HasSubstr;
namespace fs = std::filesystem;

class FormatCommandsTest : public MainWindowTest {};

void Trigger(MainWindow& window, const char* name) {
    QAction* action = window.findChild<QAction*>(QString::fromLatin1(name));
    ASSERT_NE(action, nullptr) << name;
    action->trigger();
}

// A double click on the first character of `word`: the word is selected.
void SelectWord(PageViewWidget& view, std::string_view word) {
    const QPoint at = test::PointOf(view, word);
    Click(view.Surface(), at);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, view.Surface()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.Surface(), &twice);
    QMouseEvent release(QEvent::MouseButtonRelease, at, view.Surface()->mapToGlobal(at),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view.Surface(), &release);
}

TEST_F(FormatCommandsTest, FontPositionAndParagraphStyleReachTheExportedPage) {
    auto window = Open(first_);
    ASSERT_TRUE(window->Rules().EditMode());
    PageViewWidget& view = window->PageView();
    FormatCommands& format = window->Formats();

    // "grassetto" in red at 20 points, italic too; the window shows the word's own format.
    SelectWord(view, "grassetto");
    format.execDialog = [](QDialog& d) {
        auto& w = dynamic_cast<FontWindow&>(d);
        EXPECT_TRUE(w.Bold()->isChecked());
        EXPECT_FALSE(w.Italic()->isChecked());
        w.Size()->setValue(20);
        w.Italic()->setChecked(true);
        w.SetColour(0x0000FF);
        return int(QDialog::Accepted);
    };
    Trigger(*window, "MIFormatFont");

    // "corsivo" superscript, then subscript and back to superscript: three steps, one undone.
    SelectWord(view, "corsivo");
    Trigger(*window, "MIFormatSuperscript");
    Trigger(*window, "MIFormatSubscript");
    Trigger(*window, "MIEditUndo");

    // The paragraph "Cominciate..." takes the style "Titolo"; a cancelled choice changes
    // nothing.
    Click(view.Surface(), test::PointOf(view, "Cominciate"));
    format.execDialog = [](QDialog&) { return int(QDialog::Rejected); };
    Trigger(*window, "MIFormatParagraphStyle");
    format.execDialog = [](QDialog& d) {
        auto& w = dynamic_cast<ParagraphStyleWindow&>(d);
        const auto found = w.List()->findItems(QStringLiteral("Titolo"), Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1);
        if (!found.isEmpty()) w.List()->setCurrentItem(found.front());
        return int(QDialog::Accepted);
    };
    Trigger(*window, "MIFormatParagraphStyle");
    Trigger(*window, "MIFormatReformat");

    Trigger(*window, "MIFileSave");
    EXPECT_FALSE(window->Rules().DocumentChanged());
    window.reset();

    const fs::path site = TestDir() / "sito";
    const ProgramRun run = RunOrvoCli({"export", "html", first_, NameOfPath(site)});
    ASSERT_EQ(run.status, 0) << run.err;
    std::string cover;
    for (const auto& entry : fs::directory_iterator(site))
        if (Result<std::string> page = ReadFileBytes(entry.path());
            page && page->find("Benvenuti") != std::string::npos)
            cover = *page;
    // The font's name stays the word's own (the list showed the font standing in for it).
    EXPECT_THAT(cover, HasSubstr("<FONT style='color:#FF0000;font-size:20pt;' SIZE=+3 "
                                 "COLOR=#FF0000>"));
    EXPECT_THAT(cover, HasSubstr("<B><I>grassetto</I></B>"));
    EXPECT_THAT(cover, HasSubstr("<SUP>corsivo"));
    EXPECT_THAT(cover, HasSubstr("<DIV class=s2 >\r\n<FONT SIZE=+2 COLOR=#000080 FACE=\"Arial\">"
                                 "<B>Cominciate dal"));
}

}  // namespace
}  // namespace orvo::test
