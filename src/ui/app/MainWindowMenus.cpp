// The main window's menus and toolbar, built from the command table and rebuilt when what the
// command flow shows changes, and the refresh of every widget from the command flow's state.
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QStatusBar>
#include <QStyle>
#include <QSvgRenderer>

#include <map>

#include "app/MenuCatalogue.h"
#include "ui/QtConvert.h"
#include "ui/app/DialogSupport.h"
#include "ui/app/MainWindowState.h"
#include "ui/app/ProgramIconSvg.h"

namespace orvo {
namespace {

QString MenuText(std::string_view caption) {
    return ToQString(caption);  // "&" marks the access key in Qt as well
}

}  // namespace

std::string_view ProgramIconSvg() {
    return kProgramIconSvg;
}

QIcon ProgramIcon() {
    QSvgRenderer renderer(
        QByteArray::fromRawData(kProgramIconSvg.data(), qsizetype(kProgramIconSvg.size())));
    QIcon icon;
    if (!renderer.isValid()) return icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void MainWindow::BuildToolbar() {
    State& s = *state_;
    s.toolbar = addToolBar(QString());
    s.toolbar->setObjectName(QStringLiteral("ToolBarMain"));
    QAction* open = s.toolbar->addAction(style()->standardIcon(QStyle::SP_DialogOpenButton), {});
    open->setObjectName(QStringLiteral("BApri"));
    connect(open, &QAction::triggered, this,
            [this] { state_->rules->Execute(CommandId::FileOpen); });
    QAction* save = s.toolbar->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton), {});
    save->setObjectName(QStringLiteral("BSalva"));
    connect(save, &QAction::triggered, this,
            [this] { state_->rules->Execute(CommandId::FileSave); });
    s.toolbar->addSeparator();
    // Edit mode on or off; the command flow asks for the edit password when there is one.
    s.editButton =
        s.toolbar->addAction(style()->standardIcon(QStyle::SP_FileDialogDetailedView), {});
    s.editButton->setObjectName(QStringLiteral("EditButton"));
    s.editButton->setCheckable(true);
    connect(s.editButton, &QAction::triggered, this, [this] {
        state_->rules->EditButtonClick();
        Refresh();
    });
    s.toolbar->addSeparator();
    s.back = s.toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), {});
    s.back->setObjectName(QStringLiteral("BPrecedente"));
    connect(s.back, &QAction::triggered, this, [this] { state_->rules->BPrecedenteClick(); });
    s.forward = s.toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), {});
    s.forward->setObjectName(QStringLiteral("Bseguente"));
    connect(s.forward, &QAction::triggered, this, [this] { state_->rules->BseguenteClick(); });
    s.toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    s.history = new HistoryBox(s.toolbar);
    s.history->setObjectName(QStringLiteral("HistoryCombo"));
    s.history->onPick = [this](int index) { state_->rules->HistoryComboClick(index); };
    s.toolbar->addWidget(s.history);
    s.editing->AddToMainToolbar(*s.toolbar);
}

DesktopSpelling& MainWindow::Spelling() {
    return *state_->spelling;
}

LinkCommands& MainWindow::Links() {
    return *state_->links;
}

InsertCommands& MainWindow::Insertions() {
    return *state_->insertions;
}

FormatCommands& MainWindow::Formats() {
    return *state_->formats;
}

// The character and paragraph commands of "Fo&rmato", in edit mode, around the style commands.
void MainWindow::AddFormatCommands(std::map<std::string_view, QMenu*>& menus) {
    State& s = *state_;
    if (!s.formats)
        s.formats = std::make_unique<FormatCommands>(
            FormatCommandsHost{s.main, [this] { return state_->frameSet->FocusedView(); },
                               [this] { Refresh(); }},
            this);
    if (!s.rules->EditMode()) return;
    const std::string_view name = MenuItemOf(CommandId::FormatFont).menu;
    QMenu*& format = menus[name];
    if (!format) {
        format = menuBar()->addMenu(MenuText(name));
        format->setObjectName(ToQString(MenuComponentName(name)));
    }
    for (QAction* action : format->actions())
        if (action->objectName() == ToQString(CommandComponentName(CommandId::FormatFont))) return;
    s.formats->AddToMenu(*format);
}

// The link commands: made with the first menus; in edit mode those the command table does
// not show yet go into "&Inserisci".
void MainWindow::AddLinkCommands(std::map<std::string_view, QMenu*>& menus) {
    State& s = *state_;
    if (!s.links) {
        LinkCommandsHost host{s.main,
                              s.messages,
                              [this] { return state_->frameSet->FocusedView(); },
                              [this](std::int32_t page) { state_->rules->GoToPage(page); },
                              [this] { state_->editingEditor->CommitPage(); },
                              [this] { Refresh(); }};
        s.links = std::make_unique<LinkCommands>(std::move(host), this);
        s.links->localize = [](QWidget& window) { LocalizeFromBlock(window); };
    }
    if (!s.rules->EditMode()) return;
    QMenu*& insert = menus[MenuItemOf(CommandId::InsertLink).menu];
    if (!insert) {
        insert = menuBar()->addMenu(MenuText(MenuItemOf(CommandId::InsertLink).menu));
        insert->setObjectName(ToQString(MenuComponentName(MenuItemOf(CommandId::InsertLink).menu)));
    }
    bool shown = false;
    for (QAction* action : insert->actions())
        if (action->objectName() == ToQString(CommandComponentName(CommandId::InsertLink)))
            shown = true;
    if (!shown) {
        for (CommandId command :
             {CommandId::InsertLink, CommandId::InsertSpecialLink, CommandId::InsertNewPage}) {
            QAction* action = insert->addAction(MenuText(MenuItemOf(command).caption));
            action->setObjectName(ToQString(CommandComponentName(command)));
            connect(action, &QAction::triggered, this,
                    [this, command] { state_->links->RunCommand(command); });
        }
    }
    s.links->AddToMenu(*insert);
    // The anchors, form objects and symbols go before the links, in the catalogue's order.
    if (!s.insertions)
        s.insertions = std::make_unique<InsertCommands>(
            InsertCommandsHost{s.main, s.messages,
                               [this] { return state_->frameSet->FocusedView(); },
                               [this] { Refresh(); }},
            this);
    QAction* firstLink = nullptr;
    bool inserted = false;
    for (QAction* action : insert->actions()) {
        const QString name = action->objectName();
        if (name == ToQString(CommandComponentName(CommandId::InsertAnchor))) inserted = true;
        if (!firstLink && name == ToQString(CommandComponentName(CommandId::InsertLink)))
            firstLink = action;
    }
    if (!inserted) s.insertions->AddToMenu(*insert, firstLink);
}

void MainWindow::BuildMenus() {
    State& s = *state_;
    s.menusShown = s.rules->MenusShown();
    // The menus of the last build go, with their names, so that only the new ones answer.
    for (QMenu* old : menuBar()->findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) {
        for (QObject* o : old->findChildren<QObject*>()) o->setObjectName(QString());
        old->setObjectName(QString());
        old->deleteLater();
    }
    menuBar()->clear();
    std::map<std::string_view, QMenu*> menus;
    std::map<std::pair<std::string_view, std::string_view>, QMenu*> submenus;
    for (const MenuItem* item : s.rules->VisibleMenuItems()) {
        QMenu*& menu = menus[item->menu];
        if (!menu) {
            menu = menuBar()->addMenu(MenuText(item->menu));
            menu->setObjectName(ToQString(MenuComponentName(item->menu)));
        }
        QMenu* target = menu;
        if (!item->submenu.empty()) {
            QMenu*& sub = submenus[{item->menu, item->submenu}];
            if (!sub) {
                sub = menu->addMenu(MenuText(item->submenu));
                sub->setObjectName(ToQString(MenuComponentName(item->submenu)));
            }
            target = sub;
        }
        // The command table's caption until the block gives the item its text.
        QAction* action = target->addAction(MenuText(item->caption));
        action->setObjectName(ToQString(CommandComponentName(item->command)));
        const CommandId command = item->command;
        if (const auto key = EditingTools::Shortcut(command)) action->setShortcut(*key);
        if (command == CommandId::InsertImage)
            action->setShortcut(QKeySequence(QStringLiteral("Ctrl+I")));
        connect(action, &QAction::triggered, this, [this, command] {
            // "Esci" closes the window, which asks about unsaved changes as any close does.
            if (command == CommandId::FileExit) {
                close();
                return;
            }
            if (!state_->editing->RunCommand(command) && !state_->pictures->RunCommand(command) &&
                !state_->links->RunCommand(command))
                state_->rules->Execute(command);
        });
    }
    AddLinkCommands(menus);
    AddFormatCommands(menus);
    for (auto& [name, menu] : menus)
        if (name == MenuItemOf(CommandId::HypertextCover).menu) s.editing->AddGoToPageMenu(*menu);
    // The recent files close the File menu, numbered as the menu shows them.
    if (!menus.empty() && !s.menusShown->recent.empty()) {
        QMenu* file = menus.begin()->second;
        for (auto& [name, menu] : menus) {
            if (name == MenuItemOf(CommandId::FileOpen).menu) file = menu;
        }
        file->addSeparator();
        const auto& entries = s.menusShown->recent;
        for (int i = int(entries.size()) - 1, n = 1; i >= 0; --i, ++n) {
            QAction* action = file->addAction(
                QStringLiteral("&%1 %2").arg(n).arg(ToQString(entries[std::size_t(i)])));
            connect(action, &QAction::triggered, this,
                    [this, i] { state_->rules->RecentFileClick(i); });
        }
    }
    Localize();
}

void MainWindow::Refresh() {
    State& s = *state_;
    if (!s.rules || s.refreshing) return;
    s.refreshing = true;
    TMainFormRules& rules = *s.rules;
    setWindowTitle(ToQString(rules.Caption()));
    if (s.menusShown != rules.MenusShown()) BuildMenus();
    if (DocumentStamp now = rules.DocumentShown(); now != s.documentShown) {
        s.documentShown = std::move(now);
        s.tree->Reload();
        s.list->Reload();
    }
    s.tree->SelectPage(s.editor->CurrentPage());
    s.list->SelectPage(s.editor->CurrentPage());
    s.editButton->setChecked(rules.EditMode());
    s.previewMark->setVisible(!rules.EditMode());
    s.editMark->setVisible(rules.EditMode());
    s.history->ShowHistory(rules.History());
    s.back->setEnabled(rules.History().CanGoBack());
    s.forward->setEnabled(rules.History().CanGoForward());
    const QString status = ToQString(rules.StatusLine());
    statusBar()->showMessage(status);
    if (s.editing) s.editing->Refresh();
    s.refreshing = false;
}

}  // namespace orvo
