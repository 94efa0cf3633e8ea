// What the main window's widget tests share: the offscreen application, synthesised clicks,
// sample documents on disk and a window opened on one of them.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QPoint>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <string>
#include <string_view>

#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/ISettings.h"
#include "platform/RecordingShell.h"
#include "ui/app/MainWindow.h"

namespace orvo {
class PageViewWidget;
}

namespace orvo::test {

void EnsureApplication();
/// A left press and release at `at` of `widget`.
void Click(QWidget* widget, QPoint at);
/// Every paragraph of the page `view` shows, one a line.
std::string ViewText(const PageViewWidget& view);
/// The middle of the first character of `words` on the page `view` shows.
QPoint PointOf(const PageViewWidget& view, std::string_view words);

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    /// A sample hypertext of `pages` pages saved as `name` in the test's folder.
    std::string Write(const std::string& name, int pages);
    std::unique_ptr<MainWindow> Open(const std::string& path, MainWindowOptions options = {});
    static std::string ViewText(MainWindow& window);
    static QPoint PointOf(MainWindow& window, std::string_view words);
    std::string PageName(MainWindow& window, int page);
    /// Puts the window in preview mode (a sample without an edit password opens in edit
    /// mode).
    static void Preview(MainWindow& window);
    QStringList HistoryItems(MainWindow& window);
    QAction* ToolbarAction(MainWindow& window, const char* name);

    FixedEnvironment environment_;
    RecordingMessages messages_, scratchMessages_;
    MemorySettings settings_;
    RecordingShell shell_;
    std::string first_, second_;
};

}  // namespace orvo::test
