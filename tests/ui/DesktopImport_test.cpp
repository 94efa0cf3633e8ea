// Importing into the desktop's hypertext: word-processor documents through the word processor
// found on the PATH (a stand-in soffice that writes RTF, or none at all), the report window
// after an import of help-compiler RTF, the chooser of a web page and the import window.
#include <stdlib.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QRadioButton>
#include <QTimer>

#include <filesystem>

#include "MainWindowSupport.h"
#include "app/DocumentConverters.h"
#include "base/Paths.h"
#include "model/uKYTset.h"
#include "platform/WordProcessor.h"
#include "support/TestSupport.h"
#include "ui/app/MainWindow.h"
#include "ui/convert/HelpImportReportWindow.h"
#include "ui/convert/HtmlOpenWindow.h"
#include "ui/convert/ImportWindow.h"

namespace orvo::test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

class DesktopImport : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        const char* path = std::getenv("PATH");
        savedPath_ = path ? path : "";
    }
    void TearDown() override { ::setenv("PATH", savedPath_.c_str(), 1); }

    std::string savedPath_;
};

TEST_F(DesktopImport, AWordDocumentGoesThroughTheWordProcessorOrSaysItIsMissing) {
    auto window = Open(first_);
    const std::string letter = NameOfPath(TestDir() / "lettera.doc");
    WriteFile(NativePath(letter), "non RTF: un documento di un programma di scrittura");

    // No soffice on the PATH.
    ::setenv("PATH", (TestDir() / "vuota").c_str(), 1);
    window->OpenFile(letter);
    EXPECT_THAT(messages_.Shown(),
                ::testing::ElementsAre(Message{Box::Error, std::string(kNoWordProcessor)}));
    EXPECT_THAT(ViewText(*window), ::testing::Not(HasSubstr("Lettera convertita")));

    // A soffice that converts into the folder it is given, as LibreOffice does.
    const fs::path bin = TestDir() / "office";
    WriteFile(bin / "soffice",
              "#!/bin/sh\n"
              "out=; src=\n"
              "while [ $# -gt 0 ]; do\n"
              "  case \"$1\" in --outdir) out=\"$2\"; shift;; -*) ;; *) src=\"$1\";; esac\n"
              "  shift\n"
              "done\n"
              "name=${src##*/}\n"
              "printf '{\\\\rtf1\\\\ansi {\\\\b Lettera} convertita\\\\par}' > "
              "\"$out/${name%.*}.rtf\"\n");
    fs::permissions(bin / "soffice", fs::perms::owner_all);
    ::setenv("PATH", bin.c_str(), 1);
    messages_.Clear();
    window->OpenFile(letter);
    EXPECT_THAT(messages_.Shown(), ::testing::IsEmpty()) << messages_.Shown().front().text;
    EXPECT_THAT(ViewText(*window), HasSubstr("Lettera convertita"));
    EXPECT_FALSE(fs::exists(window->Document().WorkingDirectory() / "rtftmpI"));
}

TEST_F(DesktopImport, AHelpCompilerImportShowsItsReport) {
    auto window = Open(first_);
    const std::string help = NameOfPath(TestDir() / "guida.rtf");
    WriteFile(NativePath(help),
              "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}"
              "#{\\footnote # IDH_UNO}${\\footnote $ Primo argomento}K{\\footnote K casa}"
              "Vedi {\\uldb secondo}{\\v IDH_DUE} e {\\uldb macro}{\\v !Esegui}.\\par\\page "
              "#{\\footnote # IDH_DUE}${\\footnote $ Secondo argomento}Fine.\\par}");
    DocumentConverters& converters = window->Converters();
    converters.RtfImport.helpMode = true;
    converters.RtfSplit = true;
    QString title, text;
    QTimer::singleShot(0, [&] {
        if (auto* shown =
                dynamic_cast<HelpImportReportWindow*>(QApplication::activeModalWidget())) {
            title = shown->windowTitle();
            text = shown->Text();
            shown->reject();
        }
    });
    window->OpenFile(help);
    EXPECT_EQ(title.toStdString(), "Report importazione Win Help:");
    EXPECT_THAT(text.toStdString(), HasSubstr("(IDH_UNO:"));
    EXPECT_THAT(text.toStdString(), HasSubstr("..Secondo argomento\n"));
    EXPECT_THAT(text.toStdString(), HasSubstr("  Parole chiave importate:\ncasa\n"));
    EXPECT_THAT(text.toStdString(), HasSubstr("  Collegamenti non importati:\nmacro"));

    // A plain RTF import reports nothing and shows no window.
    converters.RtfImport.helpMode = false;
    title.clear();
    bool shown = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            shown = true;
            modal->close();
        }
    });
    const std::string plain = NameOfPath(TestDir() / "semplice.rtf");
    WriteFile(NativePath(plain), "{\\rtf1\\ansi Semplice.\\par}");
    window->OpenFile(plain);
    QApplication::processEvents();
    EXPECT_FALSE(shown);
    EXPECT_THAT(ViewText(*window), HasSubstr("Semplice."));
}

}  // namespace
}  // namespace orvo::test

namespace orvo::test {
namespace {

// A web page opened from the desktop goes through the "Apri" chooser (importing it into the
// hypertext shown); "&Importa/apri pagine..." opens the import window, which imports an RTF
// file in its own format and shows the page it made.
TEST_F(DesktopImport, AWebPageGoesThroughTheChooserAndTheImportCommandThroughItsWindow) {
    auto window = Open(first_);
    const std::string page = NameOfPath(TestDir() / "pagina.html");
    WriteFile(NativePath(page), "<title>Dal web</title><p>Parole venute dal web.");
    QString caption;
    int offered = 0;
    QTimer::singleShot(0, [&] {
        auto* chooser = dynamic_cast<HtmlOpenWindow*>(QApplication::activeModalWidget());
        if (!chooser) return;
        caption = chooser->windowTitle();
        offered = int(chooser->findChildren<QRadioButton*>().size());
        chooser->PressOk();  // the first way: into the hypertext shown
    });
    window->OpenFile(page);
    EXPECT_EQ(caption.toStdString(), "Apri");
    EXPECT_EQ(offered, 3);
    EXPECT_THAT(ViewText(*window), HasSubstr("Parole venute dal web."));

    const std::string rtf = NameOfPath(TestDir() / "lettera.rtf");
    WriteFile(NativePath(rtf), "{\\rtf1\\ansi Una lettera {\\b importata}.\\par}");
    QString title;
    QTimer::singleShot(0, [&] {
        auto* importing = dynamic_cast<ImportWindow*>(QApplication::activeModalWidget());
        if (!importing) return;
        title = importing->windowTitle();
        importing->OpenOn(rtf);
        importing->PressImport();
    });
    QAction* command = window->findChild<QAction*>(QStringLiteral("MIFileImport"));
    ASSERT_NE(command, nullptr);
    ASSERT_TRUE(command->isVisible());
    command->trigger();
    QApplication::processEvents();
    EXPECT_EQ(title.toStdString(), "Importazione");
    EXPECT_THAT(ViewText(*window), HasSubstr("Una lettera importata."));
    EXPECT_TRUE(messages_.Shown().empty());
}

}  // namespace
}  // namespace orvo::test
