// The editor's "&Inserisci" commands that put an anchor, a form object or a character at the
// caret of the page being edited: "&Simbolo...", "&Moduli" and "Anco&ra".
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/InsertionRules.h"

class QAction;
class QDialog;
class QMenu;
class QWidget;

namespace orvo {

class IMessages;
class PageViewWidget;
class TKYToggetto;
class TKYTset;

struct InsertCommandsHost {
    TKYTset& set;
    IMessages& messages;
    /// The page widget of the focused frame (nullptr when none).
    std::function<PageViewWidget*()> view;
    /// Something changed: the window refreshes its tools.
    std::function<void()> changed;
};

class InsertCommands final {
public:
    InsertCommands(InsertCommandsHost host, QWidget* parent);

    /// Adds "&Simbolo..." at the top of `menu`, "&Animazione/suono...", "&Embed/Java/activeX...",
    /// "&Moduli" (a submenu, an item a kind) and "Anco&ra" before `before` (at the end without
    /// it).
    void AddToMenu(QMenu& menu, QAction* before = nullptr);

    /// "Anco&ra": an anchor numbered one above the page's largest; false when nothing is
    /// edited.
    bool InsertAnchor();
    /// An item of "&Moduli": its window asks the fields, Ok places the object.
    bool InsertFormObject(FormObjectChoice choice);
    /// "&Simbolo...": the character chosen is typed at the caret.
    bool InsertSymbol();
    /// "&Embed/Java/activeX...": the HTML code given in its window, placed as a box.
    bool InsertEmbed();
    /// "&Animazione/suono...": the sound or video file chosen is embedded in the hypertext and
    /// its player, with its buttons, placed at the caret.
    bool InsertPlayer();

    /// How a modal window runs (tests answer it): returns QDialog::Accepted or Rejected.
    std::function<int(QDialog&)> execDialog;
    /// Asks for a file with a filter ("desc|*.a;*.b|..."): its path, none when cancelled.
    std::function<std::optional<std::string>(std::string_view filter)> chooseFile;

private:
    bool Place(PageViewWidget& view, std::unique_ptr<TKYToggetto> object);
    /// The page widget whose page is being edited, or nullptr.
    PageViewWidget* EditedView() const;
    int Run(QDialog& dialog);

    InsertCommandsHost host_;
    QWidget* parent_;
};

}  // namespace orvo
