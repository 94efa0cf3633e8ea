// The main window: menus and toolbar built from the command table, the page tree, the page
// view in preview mode with clickable links, the history box and the status bar, all over
// the main window's command flow (TMainFormRules), which decides everything.
#pragma once

#include <QIcon>
#include <QMainWindow>
#include <QMenu>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/CommandLine.h"
#include "base/Result.h"

namespace orvo {

class BrowseWindow;
class BrowseWindows;
class DocumentConverters;
class Environment;
class HistoryBox;
class IMessages;
class IPreviewSurface;
class IPrompter;
class ISettings;
class IShell;
class FormatCommands;
class InsertCommands;
class LinkCommands;
class PageListView;
class DesktopSpelling;
class PageTreeView;
class PageViewWidget;
class TKYToggetto;
class QtConverters;
class QtPublishService;
class QtSecondaryWindows;
class TKYTset;
class TMainFormRules;

/// The program's icon (icons/orvo.svg), drawn at the usual icon sizes.
QIcon ProgramIcon();
/// The same icon as an SVG document, as "/INIT" installs it.
std::string_view ProgramIconSvg();

struct MainWindowOptions {
    /// Null: Qt message boxes and dialogs. Tests hand recording ones.
    IMessages* messages = nullptr;
    IPrompter* prompter = nullptr;
    std::filesystem::path programPath;
    std::filesystem::path desktopDataHome;
    /// The localisation block of the main window; empty: the block built in (Italian).
    std::string localization;
    /// File dialogs with Qt's own widgets rather than the desktop's (tests drive them).
    bool nonNativeDialogs = false;
    /// The publishing wizard, the tips or the splash at start (the program, not the tests).
    bool startWindows = false;
};

class MainWindow final : public QMainWindow {
public:
    MainWindow(Environment& environment, ISettings& settings, IShell& shell,
               const MainWindowOptions& options = {});
    ~MainWindow() override;

    /// Runs the start of the program (FormCreate, then FormShow with `line`) and shows the
    /// window.
    void Start(const CommandLine& line);

    TMainFormRules& Rules();
    TKYTset& Document();
    PageViewWidget& PageView();
    PageTreeView& Tree();
    /// The list of pages, on the panel's second tab.
    PageListView& PageList();
    HistoryBox& History();
    /// The HTML, text and RTF converters of the open hypertext.
    DocumentConverters& Converters();
    /// The separate and pop-up browse windows that links opened.
    BrowseWindows& Browse();
    /// The converters as the command flow reaches them, with the export window.
    QtConverters& ExportService();
    /// The options, new-hypertext, tips and about windows.
    QtSecondaryWindows& Windows();
    /// The publishing window and its wizard.
    QtPublishService& Publishing();
    /// The link commands and their windows (made with the menus).
    LinkCommands& Links();
    InsertCommands& Insertions();
    FormatCommands& Formats();
    /// The spelling checker, its dialog and the walk over the pages.
    DesktopSpelling& Spelling();
    /// Applies another localisation block to every text of the window: menus, toolbar,
    /// panel, list columns, status bar, dialog titles. A malformed block changes nothing.
    Status SetLocalization(std::string_view block);
    /// The page shown, -1 for none.
    int PageShown() const;
    /// Follows the link under (x, y) of the page surface, as a click there does; false when no
    /// link lies there.
    bool ClickAt(int x, int y);
    /// The link code under (x, y) of the page surface, or -1.
    std::int32_t LinkAt(int x, int y) const;
    /// Nanoseconds from the last openFile to the end of the page view's first paint after it;
    /// -1 until a paint has ended.
    qint64 OpenToPaintNanoseconds() const;
    /// Opens `path` as the "Apri" command does once the file is chosen, timing it.
    void OpenFile(const std::string& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The link window in `mode` (4: a page, an address or an embedded file; 5: a page),
    /// preset with the object of `presetCode`: the chosen object's code (an address made in
    /// the window is registered), none when cancelled.
    std::optional<std::int32_t> ChooseLinkTarget(int mode, std::int32_t presetCode);
    struct State;
    /// Follows the link under `at` of `surface` (whose widget is `view`); `from` is the browse
    /// window that holds it (nullptr: this window).
    bool FollowLinkIn(IPreviewSurface& surface, PageViewWidget& view, QPoint at,
                      IPreviewSurface* from);
    /// Follows the link object `link` that a button of the page in `view` (the main window's
    /// page or one of its frames) asks for.
    void FollowObjectIn(PageViewWidget& view, const TKYToggetto& link);
    /// Follows `link` asked for by a button of the page of `surface` (`from`: the browse
    /// window that holds it, nullptr: this window).
    void FollowObjectIn(IPreviewSurface& surface, IPreviewSurface* from, const TKYToggetto& link);
    void BuildMenus();
    void AddLinkCommands(std::map<std::string_view, QMenu*>& menus);
    void AddFormatCommands(std::map<std::string_view, QMenu*>& menus);
    void BuildToolbar();
    void Refresh();
    void Localize();
    void RestorePlacement();
    void SavePlacement();
    std::unique_ptr<State> state_;
};

}  // namespace orvo
