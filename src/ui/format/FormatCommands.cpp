#include "ui/format/FormatCommands.h"

#include <QAction>
#include <QDialog>
#include <QMenu>

#include <string>
#include <vector>

#include "app/MainFormBlock.h"
#include "app/MenuCatalogue.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "textbox/PageEditSession.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTbox.h"
#include "ui/QtConvert.h"
#include "ui/format/FormatWindows.h"
#include "ui/objects/PictureEditing.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo {

FormatCommands::FormatCommands(FormatCommandsHost host, QWidget* parent)
    : host_(std::move(host)), parent_(parent) {}

void FormatCommands::AddToMenu(QMenu& menu) {
    QAction* styles = nullptr;
    QAction* newStyle = nullptr;
    for (QAction* action : menu.actions()) {
        if (action->objectName() == ToQString(CommandComponentName(CommandId::FormatStyles)))
            styles = action;
        if (action->objectName() == ToQString(CommandComponentName(CommandId::FormatNewStyle)))
            newStyle = action;
    }
    auto add = [&](CommandId command, QAction* before, std::function<void()> run) {
        auto* action = new QAction(ToQString(MenuItemOf(command).caption), &menu);
        action->setObjectName(ToQString(CommandComponentName(command)));
        menu.insertAction(before, action);
        QObject::connect(action, &QAction::triggered, &menu, std::move(run));
    };
    add(CommandId::FormatFont, styles, [this] { ChooseFont(); });
    add(CommandId::FormatNormal, styles, [this] { SetPosition(kPositionNormal); });
    add(CommandId::FormatSuperscript, styles, [this] { SetPosition(kPositionSuperscript); });
    add(CommandId::FormatSubscript, styles, [this] { SetPosition(kPositionSubscript); });
    add(CommandId::FormatParagraphStyle, newStyle, [this] { ChooseParagraphStyle(); });
    add(CommandId::FormatReformat, nullptr, [this] { Reformat(); });
}

BoxEditing* FormatCommands::Edited() const {
    PageViewWidget* view = host_.view ? host_.view() : nullptr;
    if (!view || !view->Editable() || !view->Pictures()) return nullptr;
    return view->Pictures()->Editing();
}

void FormatCommands::Changed() {
    if (PageViewWidget* view = host_.view ? host_.view() : nullptr) {
        if (view->Session()) view->Session()->NoteEdit();
        if (QWidget* surface = view->Surface()) {
            surface->update();
            surface->setFocus();
        }
    }
    if (host_.changed) host_.changed();
}

bool FormatCommands::ChooseFont() {
    BoxEditing* editing = Edited();
    if (!editing) return false;
    TKYTTextAttributes& text = editing->Text();
    TMyFont font;
    font.name = text.CurrentFontName();
    font.size = text.CurrentSize();
    font.styleBits = text.CurrentStyleBits();
    font.colour = text.CurrentColour();
    font.position = text.CurrentPosition();
    FontWindow window(font, parent_);
    if (Run(window) != QDialog::Accepted) return false;
    // The page may have gone while the window was open.
    editing = Edited();
    if (!editing) return false;
    editing->Text().ApplyFont(window.Font());
    Changed();
    return true;
}

bool FormatCommands::SetPosition(std::uint8_t position) {
    BoxEditing* editing = Edited();
    if (!editing) return false;
    editing->Text().ApplyVerticalPosition(position);
    Changed();
    return true;
}

bool FormatCommands::ChooseParagraphStyle() {
    BoxEditing* editing = Edited();
    if (!editing) return false;
    std::vector<std::string> names;
    for (const auto& style : host_.set.KindList(TOggettiHel::stileParagrafo))
        if (style && !style->IsFree() && !style->Name().empty()) names.push_back(style->Name());
    std::string current;
    if (const TKYTbox* box = editing->EditedBox();
        box && box->Caret().paraIndex >= 0 && box->Caret().paraIndex < box->ParagraphCount())
        if (const TKYToggetto* style = box->Paragraph(box->Caret().paraIndex).style.Definition())
            current = style->Name();
    ParagraphStyleWindow window(names, current, parent_);
    if (Run(window) != QDialog::Accepted || window.Chosen().empty()) return false;
    editing = Edited();
    if (!editing) return false;
    editing->Para().ApplyParagraphStyle(window.Chosen());
    Changed();
    return true;
}

bool FormatCommands::Reformat() {
    PageViewWidget* view = host_.view ? host_.view() : nullptr;
    TKYTbox* box = view ? view->Box() : nullptr;
    if (!box) return false;
    box->ReformatAll();
    if (QWidget* surface = view->Surface()) surface->update();
    return true;
}

int FormatCommands::Run(QDialog& dialog) {
    return execDialog ? execDialog(dialog) : dialog.exec();
}

}  // namespace orvo
