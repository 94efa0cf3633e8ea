#include "ui/insert/InsertCommands.h"

#include <QDialog>
#include <QFileDialog>

#include <QMenu>
#include <filesystem>

#include "app/LinkWindowRules.h"
#include "app/MainFormBlock.h"
#include "app/MenuCatalogue.h"
#include "model/uKYTogge.h"
#include "platform/IMessages.h"
#include "textbox/PageEditSession.h"
#include "textbox/uKYTboxInput.h"
#include "ui/NameFilters.h"
#include "ui/QtConvert.h"
#include "ui/insert/InsertWindows.h"
#include "ui/objects/PictureEditing.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo {

InsertCommands::InsertCommands(InsertCommandsHost host, QWidget* parent)
    : host_(std::move(host)), parent_(parent) {}

void InsertCommands::AddToMenu(QMenu& menu, QAction* before) {
    auto item = [&](CommandId command) {
        auto* action = new QAction(ToQString(MenuItemOf(command).caption), &menu);
        action->setObjectName(ToQString(CommandComponentName(command)));
        return action;
    };
    // "&Simbolo..." opens the menu, as in the catalogue.
    QAction* symbol = item(CommandId::InsertSymbol);
    menu.insertAction(menu.actions().value(0), symbol);
    QObject::connect(symbol, &QAction::triggered, &menu, [this] { InsertSymbol(); });
    auto* forms = new QMenu(ToQString(MenuItemOf(CommandId::InsertForms).caption), &menu);
    forms->setObjectName(ToQString(CommandComponentName(CommandId::InsertForms)));
    for (int i = 0; i < kFormObjectChoiceCount; ++i) {
        const auto choice = FormObjectChoice(i);
        QAction* action = forms->addAction(ToQString(FormObjectCaption(choice)) + "...");
        action->setObjectName(ToQString(FormObjectComponentName(choice)));
        QObject::connect(action, &QAction::triggered, forms,
                         [this, choice] { InsertFormObject(choice); });
    }
    QAction* player = item(CommandId::InsertAnimation);
    menu.insertAction(before, player);
    QObject::connect(player, &QAction::triggered, &menu, [this] { InsertPlayer(); });
    QAction* embed = item(CommandId::InsertEmbed);
    menu.insertAction(before, embed);
    QObject::connect(embed, &QAction::triggered, &menu, [this] { InsertEmbed(); });
    menu.insertMenu(before, forms);
    QAction* anchor = item(CommandId::InsertAnchor);
    menu.insertAction(before, anchor);
    QObject::connect(anchor, &QAction::triggered, &menu, [this] { InsertAnchor(); });
}

PageViewWidget* InsertCommands::EditedView() const {
    PageViewWidget* view = host_.view ? host_.view() : nullptr;
    if (!view || !view->Editable() || !view->Pictures() || !view->Pictures()->Editing())
        return nullptr;
    return view;
}

bool InsertCommands::Place(PageViewWidget& view, std::unique_ptr<TKYToggetto> object) {
    const bool placed = view.Pictures()->PlaceObject(std::move(object));
    // The page's text changed: a save or a page change stores it.
    if (placed && view.Session()) view.Session()->NoteEdit();
    if (QWidget* surface = view.Surface()) {
        surface->update();
        surface->setFocus();
    }
    if (host_.changed) host_.changed();
    return placed;
}

bool InsertCommands::InsertAnchor() {
    PageViewWidget* view = EditedView();
    if (!view) return false;
    return Place(*view, NewAnchor(host_.set, view->NextAnchorNumber()));
}

bool InsertCommands::InsertFormObject(FormObjectChoice choice) {
    if (!EditedView()) return false;
    FormObjectWindow window(choice, DefaultFormFields(host_.set, choice), parent_);
    if (Run(window) != QDialog::Accepted) return false;
    // The page may have gone while the window was open.
    PageViewWidget* view = EditedView();
    return view && Place(*view, NewFormObject(host_.set, choice, window.Fields()));
}

bool InsertCommands::InsertSymbol() {
    PageViewWidget* view = EditedView();
    if (!view) return false;
    SymbolWindow window(view->font(), parent_);
    if (Run(window) != QDialog::Accepted || !window.Chosen()) return false;
    view = EditedView();
    TKYTboxInput* input = view ? view->Input() : nullptr;
    if (!input || !input->Char(*window.Chosen())) return false;
    if (view->Session()) view->Session()->NoteEdit();
    if (QWidget* surface = view->Surface()) {
        surface->update();
        surface->setFocus();
    }
    if (host_.changed) host_.changed();
    return true;
}

bool InsertCommands::InsertEmbed() {
    if (!EditedView()) return false;
    EmbedWindow window(parent_);
    if (Run(window) != QDialog::Accepted) return false;
    PageViewWidget* view = EditedView();
    return view && Place(*view, NewEmbeddedCode(host_.set, window.Embedded()));
}

bool InsertCommands::InsertPlayer() {
    if (!EditedView()) return false;
    const std::optional<std::string> file =
        chooseFile ? chooseFile(kPlayerFilter) : [&]() -> std::optional<std::string> {
        const QString chosen =
            QFileDialog::getOpenFileName(parent_, QString(), QString(),
                                         NameFiltersFrom(kPlayerFilter).join(QStringLiteral(";;")));
        if (chosen.isEmpty()) return std::nullopt;
        return chosen.toStdString();
    }();
    if (!file) return false;
    PageViewWidget* view = EditedView();
    if (!view) return false;
    Result<TKYToggetto*> embedded = AddEmbeddedFile(host_.set, std::filesystem::path(*file));
    if (!embedded) {
        host_.messages.Error(embedded.failure().text);
        return false;
    }
    const bool video = IsVideoFile((*embedded)->FileName());
    return Place(*view, NewPlayer(host_.set, (*embedded)->Identifier(), video));
}

int InsertCommands::Run(QDialog& dialog) {
    return execDialog ? execDialog(dialog) : dialog.exec();
}

}  // namespace orvo
