// The spelling dialog's window offscreen, over the real Italian Hunspell dictionary: what it
// shows of each problem (title, the line with the word in red, suggestions, buttons), the word
// edited in place (only the red stretch may change), change, change all, add to the user
// dictionary; closing the running window cancels; the localisation block reaches every button.
#include <stdlib.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>

#include <string>
#include <tuple>
#include <vector>

#include "base/Files.h"
#include "platform/IMessages.h"
#include "spell/QzSpellers.h"
#include "spell/TQzSpellerDialog.h"
#include "support/TestSupport.h"
#include "ui/QtConvert.h"
#include "ui/app/QtLocalizer.h"
#include "ui/spell/QtSpellerDialog.h"

namespace orvo::test {
namespace {

void EnsureApplication() {
    if (QCoreApplication::instance()) return;
    if (!getenv("ORVO_SHOT_DIR")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "orvo_ui_spell_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}

// The characters of the editor drawn in red.
QString RedText(QTextEdit& edit) {
    QString red;
    for (QTextBlock block = edit.document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().foreground().color() == QColor(255, 0, 0))
                red += it.fragment().text();
    return red;
}

class SpellerWindow : public ::testing::Test {
protected:
    SpellerWindow()
        : checker_(messages_, SpellerRegistry({"/usr/share/hunspell"}),
                   TestDir() / "utente" / "CUSTOM.DIC") {
        EnsureApplication();
        checker_.SetLanguage(1040);
        checker_.OnGetPar = [this](std::string& text, int& start) {
            start = 0;
            text = next_ < paragraphs_.size() ? paragraphs_[next_++] : std::string();
        };
        checker_.OnChangeText = [this](std::size_t at, std::size_t length, const std::string& word,
                                       int type) { changes_.emplace_back(at, length, word, type); };
        checker_.OnEnd = [this] { ++ends_; };
    }
    void Shot(QWidget& window, const char* name) {
        if (const char* dir = getenv("ORVO_SHOT_DIR")) {
            window.show();
            QApplication::processEvents();
            window.grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
        }
    }

    RecordingMessages messages_;
    TQzSpellChecker checker_;
    std::vector<std::string> paragraphs_;
    std::size_t next_ = 0;
    std::vector<std::tuple<std::size_t, std::size_t, std::string, int>> changes_;
    int ends_ = 0;
};

TEST_F(SpellerWindow, ShowsEachProblemAndAppliesTheUsersChoice) {
    ASSERT_TRUE(checker_.Open()) << "hunspell-it is not installed";
    paragraphs_ = {"Una frase con un erore qui.", "Ancora un erore e poi zzqxw."};
    QtSpellerDialog window;
    checker_.Execute();  // no view yet: the rules wait at the first problem
    TQzSpellerDialog& rules = *checker_.Dialog();
    window.Attach(rules);

    EXPECT_EQ(window.windowTitle(), "Controllo ortografico Italiano");
    EXPECT_FALSE(window.Panel1()->isVisibleTo(&window));
    EXPECT_EQ(window.InfoMsg()->text(), "Parola sconosciuta:");
    EXPECT_EQ(window.Label2()->text(),
              "Correggi la parola in rosso o scegli uno dei &suggerimenti:");
    QTextEdit& edit = *window.Misspelling();
    EXPECT_EQ(edit.toPlainText(), "Una frase con un erore qui.");
    EXPECT_EQ(RedText(edit), "erore");
    EXPECT_EQ(edit.textCursor().position(), 17);
    ASSERT_GT(window.Variants()->count(), 0);
    EXPECT_FALSE(window.Variants()->findItems("errore", Qt::MatchExactly).isEmpty());
    for (const char* shown : {"ChangeButton", "ChangeAllButton", "SkipButton", "SkipAllButton",
                              "AddButton", "CancelButton"}) {
        EXPECT_TRUE(window.Button(shown)->isVisibleTo(&window)) << shown;
        EXPECT_TRUE(window.Button(shown)->isEnabled()) << shown;
    }
    for (const char* hidden : {"DelButton", "CancelEdit", "Bresume", "StartButton", "BSalta"})
        EXPECT_FALSE(window.Button(hidden)->isVisibleTo(&window)) << hidden;
    Shot(window, "speller-problem");

    // Text around the red word is protected: an edit there is undone.
    QTextCursor outside(edit.document());
    outside.setPosition(1);
    outside.insertText("X");
    EXPECT_EQ(edit.toPlainText(), "Una frase con un erore qui.");
    EXPECT_FALSE(window.Button("CancelEdit")->isVisibleTo(&window));
    // The red word edited in place: "Annulla edit" shows, the word goes in as typed.
    QTextCursor inside(edit.document());
    inside.setPosition(19);
    inside.insertText("r");
    EXPECT_EQ(edit.toPlainText(), "Una frase con un errore qui.");
    EXPECT_EQ(RedText(edit), "errore");
    EXPECT_TRUE(window.Button("CancelEdit")->isVisibleTo(&window));
    EXPECT_FALSE(window.Button("ChangeAllButton")->isEnabled());
    EXPECT_FALSE(window.Button("AddButton")->isEnabled());
    Shot(window, "speller-edited");
    window.Button("ChangeButton")->click();
    ASSERT_EQ(changes_.size(), 1u);
    EXPECT_EQ(changes_[0],
              std::make_tuple(std::size_t(17), std::size_t(5), std::string("errore"), 0));

    // The next paragraph: change all takes the chosen suggestion.
    EXPECT_EQ(edit.toPlainText(), "Ancora un erore e poi zzqxw.");
    EXPECT_FALSE(window.Button("CancelEdit")->isVisibleTo(&window));
    const auto found = window.Variants()->findItems("errore", Qt::MatchExactly);
    ASSERT_FALSE(found.isEmpty());
    window.Variants()->itemClicked(found.front());
    window.Button("ChangeAllButton")->click();
    ASSERT_EQ(changes_.size(), 2u);
    EXPECT_EQ(changes_[1],
              std::make_tuple(std::size_t(10), std::size_t(5), std::string("errore"), 1));

    // An unknown word added to the user dictionary passes; the paragraphs run out.
    EXPECT_EQ(RedText(edit), "zzqxw");
    window.Button("AddButton")->click();
    EXPECT_TRUE(rules.Ended());
    EXPECT_EQ(ends_, 1);
    EXPECT_EQ(ReadFile(checker_.UserDictionaryFile()), "zzqxw\n");
    EXPECT_TRUE(checker_.WordPasses("zzqxw"));
    EXPECT_FALSE(checker_.Cancelled());
}

TEST_F(SpellerWindow, ClosingTheRunningWindowCancelsAndTheBlockNamesEveryControl) {
    ASSERT_TRUE(checker_.Open()) << "hunspell-it is not installed";
    QtSpellerDialog window;
    // Every caption of the block lands on its control: a block with other values shows them.
    std::string block(SpellerDialogBlock());
    std::vector<std::pair<const char*, std::string>> captions;
    for (const char* name :
         {"ChangeButton", "ChangeAllButton", "SkipButton", "SkipAllButton", "AddButton",
          "CancelButton", "CancelEdit", "DelButton", "Bresume", "StartButton", "BSalta"}) {
        EXPECT_FALSE(window.Button(name)->text().isEmpty()) << name;
        captions.emplace_back(name, window.Button(name)->text().toStdString());
    }
    EXPECT_EQ(captions[0].second, "&Cambia");
    EXPECT_EQ(captions[10].second, "&Salta la pagina");
    EXPECT_EQ(window.Panel1()->title(), "Controllo in corso...");
    for (const auto& [name, caption] : captions) {
        const std::string line = "\r\n " + caption + "\r\n";
        const std::size_t at = block.find(line);
        ASSERT_NE(at, std::string::npos) << caption;
        block.replace(at, line.size(), "\r\n [" + std::string(name) + "]\r\n");
    }
    ASSERT_TRUE(LocalizeWindow(window, block).ok());
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(window.Button(name)->text().toStdString(), "[" + std::string(name) + "]");

    // "C&hiudi" is the window's cancel: closing it while it runs ends the check.
    paragraphs_ = {"Un altro erore.", "Mai letto."};
    checker_.SetDialogView(&window);
    QTimer::singleShot(0, &window, [&window] { window.reject(); });
    checker_.Execute();
    EXPECT_TRUE(checker_.Cancelled());
    EXPECT_TRUE(checker_.Dialog()->Ended());
    EXPECT_EQ(next_, 1u);
    EXPECT_FALSE(window.isVisible());
    checker_.SetDialogView(nullptr);
}

}  // namespace
}  // namespace orvo::test
