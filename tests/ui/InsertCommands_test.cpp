// "Inserisci" in the main window, offscreen: a text field, a submit button, an anchor, a
// symbol, a sound's player and embedded HTML put at the caret from the menu, one undone, the
// rest saved and found in the page orvo-cli exports.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>

#include <filesystem>

#include "MainWindowSupport.h"
#include "app/u3MainForm.h"
#include "base/Files.h"
#include "base/Paths.h"
#include "support/ProgramRun.h"
#include "support/TestSupport.h"
#include "textbox/uKYTbox.h"
#include "ui/insert/InsertCommands.h"
#include "ui/insert/InsertWindows.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo::test {
namespace {

using ::testing::HasSubstr;
namespace fs = std::filesystem;

class InsertCommandsTest : public MainWindowTest {};

QAction* Item(MainWindow& window, const char* name) {
    QAction* action = window.findChild<QAction*>(QString::fromLatin1(name));
    EXPECT_NE(action, nullptr) << name;
    return action;
}

// The point just after `words` on the page shown.
QPoint After(const PageViewWidget& view, std::string_view words) {
    const TKYTbox* box = view.Box();
    for (std::int32_t i = 0; box && i < box->ParagraphCount(); ++i) {
        const std::size_t at = box->Paragraph(i).text.find(words);
        if (at == std::string::npos) continue;
        TKYTTextPos pos;
        pos.paraIndex = i;
        pos.charIndex = std::int32_t(at + words.size());
        pos = box->ResolvePosition(pos);
        return {pos.x, pos.y + pos.height / 2};
    }
    ADD_FAILURE() << "not on the page: " << words;
    return {};
}

TEST_F(InsertCommandsTest, EachInsertionGoesInAtTheCaretAndIsSaved) {
    auto window = Open(first_);
    ASSERT_TRUE(window->Rules().EditMode());
    PageViewWidget& view = window->PageView();
    Click(view.Surface(), After(view, "Questa \xE8 una guida"));
    InsertCommands& insert = window->Insertions();

    // A text field named and filled in its window; the menu's item runs it.
    const std::string before = ViewText(*window);
    insert.execDialog = [](QDialog& d) {
        auto& w = dynamic_cast<FormObjectWindow&>(d);
        EXPECT_EQ(w.windowTitle(), "Casella");
        EXPECT_EQ(w.Name()->text(), "campo1");
        w.Name()->setText(QStringLiteral("citta"));
        w.Value()->setText(QStringLiteral("Orvieto"));
        return int(QDialog::Accepted);
    };
    Item(*window, "MIFormText")->trigger();
    EXPECT_NE(ViewText(*window), before);
    // Undone, the page reads as before; made again, it stays. The paragraph the undo restored
    // is selected: a click outside it clears that, then the caret goes back.
    Item(*window, "MIEditUndo")->trigger();
    EXPECT_EQ(ViewText(*window), before);
    Click(view.Surface(), After(view, "Benvenuti"));
    Click(view.Surface(), After(view, "Questa \xE8 una guida"));
    Item(*window, "MIFormText")->trigger();

    // A cancelled window places nothing.
    const std::string withField = ViewText(*window);
    insert.execDialog = [](QDialog&) { return int(QDialog::Rejected); };
    Item(*window, "MIFormSubmit")->trigger();
    EXPECT_EQ(ViewText(*window), withField);
    insert.execDialog = [](QDialog&) { return int(QDialog::Accepted); };
    Item(*window, "MIFormSubmit")->trigger();

    Item(*window, "MIInsertAnchor")->trigger();
    insert.execDialog = [](QDialog& d) {
        dynamic_cast<SymbolWindow&>(d).Choose(0x86);
        return int(QDialog::Accepted);
    };
    Item(*window, "MIInsertSymbol")->trigger();
    EXPECT_THAT(ViewText(*window), HasSubstr("\x86 di esempio"));

    // A sound chosen on disk is embedded and its player placed; an unreadable file is refused
    // with the reason and places nothing.
    const fs::path bell = TestDir() / "campanello.wav";
    WriteFile(bell, std::string("RIFF\x04\0\0\0WAVE", 12));
    insert.chooseFile = [&](std::string_view filter) -> std::optional<std::string> {
        EXPECT_EQ(filter, kPlayerFilter);
        return bell.string();
    };
    Item(*window, "MIInsertAnimation")->trigger();
    const std::string withPlayer = ViewText(*window);
    insert.chooseFile = [&](std::string_view) -> std::optional<std::string> {
        return (TestDir() / "assente.wav").string();
    };
    Item(*window, "MIInsertAnimation")->trigger();
    EXPECT_EQ(ViewText(*window), withPlayer);
    ASSERT_EQ(messages_.Shown().size(), 1u);
    EXPECT_EQ(messages_.Shown()[0].text,
              "Errore nell'apertura file: " + NameOfPath(TestDir() / "assente.wav"));

    // HTML code of another site, placed as a box.
    insert.execDialog = [](QDialog& d) {
        auto& w = dynamic_cast<EmbedWindow&>(d);
        w.Code()->setPlainText(QStringLiteral("<iframe src=\"mappa.htm\"></iframe>"));
        return int(QDialog::Accepted);
    };
    Item(*window, "MIInsertEmbed")->trigger();

    Item(*window, "MIFileSave")->trigger();
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
    EXPECT_THAT(cover, HasSubstr("una guida<INPUT NAME=\"citta\" VALUE=\"Orvieto\" SIZE=20 >\r\n"
                                 "<INPUT TYPE=submit NAME=\"campo1\"  VALUE=\"Invia\"  >\r\n"
                                 "<A NAME=\"an0\"></A>\x86"));
    const std::size_t player = cover.find("<EMBED SRC=\"");
    ASSERT_NE(player, std::string::npos);
    const std::size_t name = player + 12;
    const std::string sound = cover.substr(name, cover.find('"', name) - name);
    EXPECT_THAT(sound, testing::EndsWith(".wav"));
    EXPECT_THAT(cover.substr(name + sound.size()),
                testing::StartsWith("\" CONTROLS=SMALLCONSOLE height=15>\r\n</EMBED>\r\n<iframe "
                                    "src=\"mappa.htm\"></iframe> di esempio"));
    const Result<std::string> copied = ReadFileBytes(site / sound);
    ASSERT_TRUE(copied);
    EXPECT_EQ(*copied, std::string("RIFF\x04\0\0\0WAVE", 12));
}

}  // namespace
}  // namespace orvo::test
