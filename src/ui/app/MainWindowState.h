// The main window's private state: the hypertext, the services the command flow is built
// over, and the widgets. Shared by the files that make up the main window.
#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QPoint>
#include <QTabWidget>
#include <QToolBar>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/DocumentConverters.h"
#include "app/LinkedFiles.h"
#include "app/MainFormBlock.h"
#include "app/MainFormLinks.h"
#include "app/PreviewEditor.h"
#include "app/SelectionConverters.h"
#include "app/u3MainForm.h"
#include "app/u3Utils.h"
#include "model/ObjectHolders.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/PosixShell.h"
#include "platform/WordProcessor.h"
#include "textbox/uKYTCornice.h"
#include "ui/album/AlbumWindows.h"
#include "ui/app/BrowseWindows.h"
#include "ui/app/EditingTools.h"
#include "ui/app/ExportWindow.h"
#include "ui/app/HistoryBox.h"
#include "ui/app/LinkedFileWindows.h"
#include "ui/app/MainWindow.h"
#include "ui/app/PageListView.h"
#include "ui/app/PageTreeView.h"
#include "ui/app/PublishWindow.h"
#include "ui/app/QtMessages.h"
#include "ui/app/QtPrompter.h"
#include "ui/app/QtScheduler.h"
#include "ui/app/SecondaryWindows.h"
#include "ui/convert/HelpImportReportWindow.h"
#include "ui/format/FormatCommands.h"
#include "ui/insert/InsertCommands.h"
#include "ui/links/LinkCommands.h"
#include "ui/pages/PageWindows.h"
#include "ui/pictures/PictureCommands.h"
#include "ui/print/QtPrintService.h"
#include "ui/render/QtTextMeasurer.h"
#include "ui/spell/DesktopSpelling.h"
#include "ui/textbox/FrameSetWidget.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo {
// The main window's frame set as the preview's main surface: the page shown is the frame set's
// main page, whose frame map (if any) splits it into frames showing pages.
class MainPageSurface final : public IPreviewSurface {
public:
    MainPageSurface(FrameSetWidget& frames, TKYTset& set) : frames_(frames), set_(set) {}
    bool ShowPage(std::int32_t page) override;
    void ClosePage() override {
        frames_.ForgetStaleControl();
        frames_.FrameSet().SetMainPageNumber(-1);
    }
    std::int32_t PageShown() const override;
    bool GoToAnchor(std::int32_t anchor) override {
        PageViewWidget* view = MasterView();
        return view && view->GoToAnchor(anchor);
    }
    const TKYTbox* Box() const override {
        PageViewWidget* view = MasterView();
        return view ? view->Box() : nullptr;
    }
    const TKYTtesto* WorkingText() const override {
        PageViewWidget* view = MasterView();
        return view ? view->WorkingText() : nullptr;
    }
    void Raise() override {}
    void ApplyFeatures(const WindowFeatures&) override {}
    void DetachPage() override {
        frames_.ForgetStaleControl();
        frames_.FrameSet().DetachPages();
    }
    void ReattachPage() override { frames_.FrameSet().ReattachPages(); }
    void SetEnabled(bool on) override { frames_.setEnabled(on); }
    void Repaint() override {
        for (PageViewWidget* view : frames_.Views()) view->Surface()->update();
    }
    /// The page widget that shows the main page; else the focused one.
    PageViewWidget* MasterView() const;

private:
    FrameSetWidget& frames_;
    TKYTset& set_;
};

// The browse windows as the preview opens them; a pop-up goes where the link was clicked.
class BrowsePort final : public IBrowseWindowsPort {
public:
    BrowsePort(BrowseWindows& windows, const QPoint& clickPoint)
        : windows_(windows), clickPoint_(clickPoint) {}
    IPreviewSurface& Named(std::string_view name) override { return windows_.Named(name); }
    IPreviewSurface& New(std::string_view name) override { return windows_.New(name); }
    IPreviewSurface& Popup() override { return windows_.Popup(clickPoint_); }
    void Close(std::string_view name) override { windows_.Close(name); }
    void CloseAll() override { windows_.CloseAll(); }
    void DetachPages() override { windows_.DetachPages(); }
    void ReattachPages() override { windows_.ReattachPages(); }

private:
    BrowseWindows& windows_;
    const QPoint& clickPoint_;
};

class ViewNotice final : public IMainWindowView {
public:
    explicit ViewNotice(std::function<void()> changed) : changed_(std::move(changed)) {}
    void StateChanged() override { changed_(); }

private:
    std::function<void()> changed_;
};

struct MainWindow::State {
    State(Environment& env, const MainWindowOptions& options, QWidget* parent)
        : environment(env),
          qtMessages(parent),
          qtPrompter(parent),
          messages(options.messages ? *options.messages : qtMessages),
          prompter(options.prompter ? *options.prompter : qtPrompter),
          main(env, messages),
          holders(main),
          library(env, messages),
          browse(main, *parent),
          converters(main, messages, measurer),
          wordProcessor(shell, main.WorkingDirectory() / "soffice-profile") {
        // Word-processor documents go through LibreOffice into RTF (or say it is missing);
        // a help-compiler import shows its report.
        converters.AttachWordProcessor(&wordProcessor);
        converters.onHelpReport = [parent](const HelpImportReport& report) {
            HelpImportReportWindow window(report, parent);
            window.exec();
        };
    }
    Environment& environment;
    QtMessages qtMessages;
    QtPrompter qtPrompter;
    IMessages& messages;
    IPrompter& prompter;
    TKYTset main;
    ObjectHolders holders;  // the one listener of main's replace notifications
    TKYTset library;
    BrowseWindows browse;
    QtScheduler scheduler;
    QtTextMeasurer measurer{96};  // the RTF export's font table
    DocumentConverters converters;
    PosixShell shell;
    LibreOfficeWordProcessor wordProcessor;
    std::unique_ptr<QtPrintService> print;
    // The export, publishing, options, new-hypertext, tips and about windows.
    std::unique_ptr<QtConverters> exporting;
    std::unique_ptr<QtPublishService> publish;
    std::unique_ptr<QtSecondaryWindows> windows;
    // The spelling checker in the hypertext's language and its two commands.
    std::unique_ptr<DesktopSpelling> spelling;
    std::unique_ptr<SpellingWindows> spellingWindows;
    std::unique_ptr<PageWindows> pageWindows;    // "Proprietà pagina"
    std::unique_ptr<AlbumWindows> albumWindows;  // the album and the hypertext options
    FunctionOptionsHost optionsHost;
    bool startWindows = false;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<QtLinkedFileWindows> fileWindows;
    std::unique_ptr<LinkedFiles> files;
    std::unique_ptr<LinkedFilesPort> linkedFiles;
    std::unique_ptr<MainPageSurface> mainSurface;
    std::unique_ptr<BrowsePort> browsePort;
    std::unique_ptr<PreviewEditor> editor;
    std::unique_ptr<SelectionConverters> selectionConverters;
    std::unique_ptr<EditingEditorView> editingEditor;  // the editor the command flow sees
    std::unique_ptr<EditingTools> editing;
    std::unique_ptr<LinkCommands> links;         // the link commands, made with the first menus
    std::unique_ptr<InsertCommands> insertions;  // anchors, form objects, symbols: the same
    std::unique_ptr<FormatCommands> formats;     // fonts, positions, paragraph styles: the same
    std::unique_ptr<PictureCommands> pictures;   // "&Immagine/mappa..." and the image menu
    std::unique_ptr<PictureWindowsLayer> pictureWindows;  // a dropped picture
    ObjectHolders::Registration pagesHeld;
    std::unique_ptr<ViewNotice> notice;
    std::unique_ptr<TMainFormRules> rules;
    ISettings* settings = nullptr;

    PageTreeView* tree = nullptr;
    PageListView* list = nullptr;
    QTabWidget* panel = nullptr;
    FrameSetWidget* frameSet = nullptr;  // the central area: the frames of the page shown
    PageViewWidget* view = nullptr;      // the main view: the first frame's page widget
    QLabel* previewMark = nullptr;
    QLabel* editMark = nullptr;
    std::string block;  // the localisation block applied
    QPoint clickPoint;  // where on the screen the link being followed was clicked
    HistoryBox* history = nullptr;
    QToolBar* toolbar = nullptr;
    QAction* editButton = nullptr;
    QAction* back = nullptr;
    QAction* forward = nullptr;
    std::optional<MenuStamp> menusShown;  // what the menus were built from
    DocumentStamp documentShown;          // what the tree and list were read from
    bool refreshing = false;

    QElapsedTimer openTimer;
    bool timingOpen = false;
    qint64 openToPaint = -1;
};

}  // namespace orvo
