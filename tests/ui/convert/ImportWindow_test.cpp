// The import window and the "Apri" chooser, offscreen: formats chosen by a file and by drops,
// each format's settings kept in its own section, the refusal without a file, a site imported
// from its root page through the window with its links made page links, and the chooser's
// question and search for a hypertext that moved.
#include <stdlib.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "app/DocumentConverters.h"
#include "app/ImportWindowRules.h"
#include "base/Cp1252.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/ISettings.h"
#include "support/TestSupport.h"
#include "ui/QtConvert.h"
#include "ui/convert/HtmlOpenWindow.h"
#include "ui/convert/ImportWindow.h"
#include "ui/render/QtTextMeasurer.h"

namespace orvo::test {
namespace {

using namespace orvo::literals;
using K = TOggettiHel;

void EnsureApplication() {
    if (QCoreApplication::instance()) return;
    if (!getenv("ORVO_SHOT_DIR")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "orvo_ui_convert_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's exit routines would outlive it (the file browser's model).
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

// With ORVO_SHOT_DIR set (by hand, under Xvfb) the window is shown and saved as a picture.
void Shot(QWidget& window, const char* name) {
    const char* dir = getenv("ORVO_SHOT_DIR");
    if (!dir) return;
    window.show();
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    window.grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
}

struct Desk {
    FixedEnvironment environment;
    RecordingMessages messages;
    MemorySettings settings;
    QtTextMeasurer metrics;  // the desktop's own (its font table for RTF)
    TKYTset set{environment, messages};
    DocumentConverters converters{set, messages, metrics};
    Desk() { set.NewDocument(); }
    ImportWindowParts Parts() { return {set, converters, settings, messages, environment, false}; }
    int Pages() const {
        int n = 0;
        for (const auto& page : set.KindList(K::testoHtml))
            if (page && !page->IsFree()) ++n;
        return n;
    }
};

TEST(ImportWindow, FormatsFollowFilesAndDropsAndKeepTheirOwnSettings) {
    EnsureApplication();
    Desk desk;
    {
        ImportWindowRules rules(desk.Parts());
        EXPECT_EQ(rules.Format(), 1);  // RTF in several pages at start
        struct Case {
            const char* file;
            int format;
        };
        for (const Case& c : {Case{"/a/Pagina.HTM", 0}, Case{"/a/b.rtf", 1}, Case{"/a/c.pas", 4},
                              Case{"/a/d.html", 0}, Case{"/a/e.doc", 0}}) {
            rules.Open(c.file);  // no word processor: ".doc" chooses nothing
            EXPECT_EQ(rules.Format(), c.format) << c.file;
        }
        EXPECT_EQ(rules.Files().size(), 5u);
        rules.Open("/a/b.rtf");  // each once
        EXPECT_EQ(rules.Files().size(), 5u);
        rules.RemoveFiles({4, 0, 9, 0});
        EXPECT_EQ(rules.Files(), (std::vector<std::string>{"/a/b.rtf", "/a/c.pas", "/a/d.html"}));

        rules.ChooseFormat(4);
        rules.Values().numParPerPag = "250";
        rules.Values().titLevel = "99";
        rules.Values().summary = true;
        rules.ChooseFormat(2);
        EXPECT_EQ(rules.Values().numParPerPag, "100");
        EXPECT_FALSE(rules.Values().summary);
        rules.ChooseFormat(4);
        EXPECT_EQ(rules.Values().numParPerPag, "250");
        EXPECT_EQ(rules.Values().titLevel, "15");  // stored within 1 to 15
        EXPECT_TRUE(rules.Values().summary);
        rules.Values().allToGif = true;
    }
    // The shown format's settings are stored when the window goes.
    EXPECT_EQ(desk.settings.ReadString("imp\\4", "allToGif"), "1");
    EXPECT_EQ(desk.settings.ReadString("imp\\4", "numParPerPag"), "250");

    // Drops: a web page first adds nothing; an RTF first chooses RTF and only RTF follows.
    ImportWindowRules dropped(desk.Parts());
    dropped.ChooseFormat(4);
    EXPECT_EQ(dropped.Drop({"/d/a.htm", "/d/b.rtf"}), 0);
    EXPECT_EQ(dropped.Drop({"/d/b.rtf", "/d/c.txt", "/d/d.rtf"}), 2);
    EXPECT_EQ(dropped.Format(), 1);
    EXPECT_EQ(dropped.Files(), (std::vector<std::string>{"/d/b.rtf", "/d/d.rtf"}));

    // No file chosen and none selected: the message, nothing imported.
    ImportWindowRules empty(desk.Parts());
    const int before = desk.Pages();
    EXPECT_EQ(empty.Import("", {}), Outcome::Cancelled);
    ASSERT_EQ(desk.messages.Shown().size(), 1u);
    EXPECT_EQ(desk.messages.Shown()[0].text, "Occorre scegliere almeno un file");
    EXPECT_EQ(desk.Pages(), before);
}

TEST(ImportWindow, ASiteFromItsRootPageBecomesLinkedPages) {
    EnsureApplication();
    const std::filesystem::path dir = TestDir() / "sito";
    WriteFile(dir / "index.html",
              "<title>Indice</title><a href=a.html>Primo</a> <a href=b.html>Secondo</a>");
    WriteFile(dir / "a.html", "<title>Primo</title><a href=c.html>Terzo</a>");
    WriteFile(dir / "b.html", "<title>Secondo</title><a href=index.html>Indice</a>");
    WriteFile(dir / "c.html", "<title>Terzo</title>fine");
    Desk desk;
    const int before = desk.Pages();
    ImportWindow window(desk.Parts());
    window.OpenOnLinks(NameOfPath(dir / "index.html"));
    // Two levels: the root and the pages it links to, not the pages they link to.
    EXPECT_EQ(window.findChild<QLabel*>("Lnum")->text(), QStringLiteral("(3)"));
    auto* list = window.findChild<QListWidget*>("LBlinked");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(2)->text().toStdString(), NameOfPath(dir / "b.html"));
    Shot(window, "import-linked-pages");
    window.PressImport();
    EXPECT_EQ(window.Result(), Outcome::Done);
    EXPECT_TRUE(desk.messages.Shown().empty());
    ASSERT_EQ(desk.Pages(), before + 3);
    const std::vector<std::int32_t>& made = desk.converters.LastImported();
    ASSERT_EQ(made.size(), 3u);
    auto text = [&](int i) {
        return *desk.set.ObjectByKind(K::testoHtml, made[std::size_t(i)])->ContentBytes();
    };
    auto code = [&](int i) {
        return "<$00" + Hex8(std::uint32_t(made[std::size_t(i)])).substr(2) + ">";
    };
    EXPECT_NE(text(0).find(code(1) + "Primo<%>"), std::string::npos) << Escaped(text(0));
    EXPECT_NE(text(0).find(code(2) + "Secondo<%>"), std::string::npos) << Escaped(text(0));
    EXPECT_NE(text(2).find(code(0) + "Indice<%>"), std::string::npos) << Escaped(text(2));
    // c.html was not imported: its link stays a link to the file.
    EXPECT_NE(text(1).find("<$0a"), std::string::npos) << Escaped(text(1));
    EXPECT_EQ(PageRecord::Read(*desk.set.ObjectByKind(K::testoHtml, made[1])).Title(), "Primo");
}

TEST(HtmlOpenWindow, AsksAndSearchesForTheHypertextThePageCameFrom) {
    EnsureApplication();
    RecordingMessages messages;
    {
        HtmlOpenWindow plain("", messages);
        EXPECT_EQ(plain.windowTitle(), QStringLiteral("Apri"));
        EXPECT_EQ(plain.findChildren<QRadioButton*>().size(), 3);
        EXPECT_FALSE(plain.findChild<QPushButton*>("BCerca")->isVisibleTo(&plain));
        plain.findChild<QRadioButton*>("RB2")->setChecked(true);
        plain.PressOk();
        EXPECT_EQ(plain.result(), QDialog::Accepted);
        EXPECT_EQ(plain.Choice(), 2);
    }
    HtmlOpenWindow moved("/da/nessuna/parte/guida.kyt", messages);
    ASSERT_EQ(moved.findChildren<QRadioButton*>().size(), 4);
    EXPECT_TRUE(moved.findChild<QPushButton*>("BCerca")->isVisibleTo(&moved));
    EXPECT_EQ(
        ToCp1252(moved.findChild<QRadioButton*>("RB5")->text()),
        "aprire un nuovo ipertesto in cui la pagina scelta sarà copiata come prima pagina"_cp);
    moved.findChild<QRadioButton*>("RB3")->setChecked(true);
    Shot(moved, "open-chooser");
    messages.ScriptAnswers({Answer::No});
    moved.PressOk();
    EXPECT_NE(moved.result(), QDialog::Accepted);  // No: the window stays
    ASSERT_EQ(messages.Questions().size(), 1u);

    const std::filesystem::path found = TestDir() / "trovata" / "guida.kyt";
    WriteFile(found, "x");
    moved.Found(NameOfPath(found));
    EXPECT_FALSE(moved.findChild<QPushButton*>("BCerca")->isVisibleTo(&moved));
    EXPECT_EQ(ToCp1252(moved.findChild<QLabel*>("Lspiega")->text()),
              "Questa pagina html deriva dall'ipertesto  \"" + NameOfPath(found) +
                  "\": Orvo utilizzerà la pagina in formato nativo, prelevandola "
                  "dall'ipertesto. "_cp.data());
    moved.PressOk();
    EXPECT_EQ(moved.result(), QDialog::Accepted);
    EXPECT_EQ(messages.Questions().size(), 1u);
    EXPECT_EQ(moved.Choice(), 3);
    EXPECT_EQ(moved.Document(), NameOfPath(found));
}

}  // namespace
}  // namespace orvo::test
