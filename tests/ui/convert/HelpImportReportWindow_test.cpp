// The report window of a help-compiler RTF import, offscreen: its caption and the report of a
// real import (pages with their ids and titles, keywords, the link whose target is missing).
#include <stdlib.h>

#include <gtest/gtest.h>

#include <QApplication>

#include "base/Files.h"
#include "base/Paths.h"
#include "convert/RtfImport.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "support/TestSupport.h"
#include "ui/convert/HelpImportReportWindow.h"

namespace orvo::test {
namespace {

TEST(HelpImportReportWindow, ShowsWhatTheImportMadeUnderItsThreeHeadings) {
    if (!QCoreApplication::instance()) {
        if (!getenv("ORVO_SHOT_DIR")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "orvo_ui_convert_tests";
        static char* argv[] = {name, nullptr};
        // Never destroyed: Qt's exit routines would outlive it (the file browser's model).
        static QApplication* app = new QApplication(argc, argv);
        (void)app;
    }
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    set.NewDocument();
    const std::filesystem::path file = TestDir() / "guida.rtf";
    WriteFile(file,
              "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}"
              "#{\\footnote # IDH_UNO}${\\footnote $ Primo argomento}K{\\footnote K casa;cane}"
              "Vedi {\\uldb secondo}{\\v IDH_DUE} e {\\uldb altro}{\\v IDH_MANCA}.\\par\\page "
              "#{\\footnote # IDH_DUE}${\\footnote $ Secondo argomento}Fine.\\par}");
    RtfImportOptions options;
    options.helpMode = true;
    TRtfImp run(set, options);
    run.ImportFiles({NameOfPath(file)}, true);
    ASSERT_GE(run.ImportedPages.size(), 2u);

    HelpImportReportWindow window(run.Report);
    EXPECT_EQ(window.windowTitle(), "Report importazione Win Help:");
    const QString text = window.Text();
    EXPECT_TRUE(text.startsWith("  Pagine importate:\n(IDH_UNO:")) << text.toStdString();
    EXPECT_TRUE(text.contains("..Primo argomento\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("..Secondo argomento\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("  Collegamenti non importati:\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("  Parole chiave importate:\ncasa\ncane\n")) << text.toStdString();
    // The missing target became an empty page of its own: no link failed.
    EXPECT_TRUE(text.endsWith("  Collegamenti non importati:\nnessuna")) << text.toStdString();
    if (const char* dir = getenv("ORVO_SHOT_DIR")) {
        window.show();
        QApplication::processEvents();
        window.grab().save(QString::fromLocal8Bit(dir) + "/help-report.png");
    }
}

}  // namespace
}  // namespace orvo::test
