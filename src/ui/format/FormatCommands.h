// The editor's "Fo&rmato" commands on the selection or the caret's paragraph: "&Carattere...",
// "N&ormale", "&Apice", "&Pedice", "S&tile paragrafo..." and "&Riformatta".
#pragma once

#include <cstdint>
#include <functional>

class QDialog;
class QMenu;
class QWidget;

namespace orvo {

class BoxEditing;
class PageViewWidget;
class TKYTset;

struct FormatCommandsHost {
    TKYTset& set;
    /// The page widget of the focused frame (nullptr when none).
    std::function<PageViewWidget*()> view;
    /// Something changed: the window refreshes its tools.
    std::function<void()> changed;
};

class FormatCommands final {
public:
    FormatCommands(FormatCommandsHost host, QWidget* parent);

    /// Adds the commands to `menu` in the catalogue's order around the style commands it may
    /// hold already ("&Stili...", "&Nuovo stile...").
    void AddToMenu(QMenu& menu);

    /// "&Carattere...": the font, size, style, colour and position asked in a window.
    bool ChooseFont();
    /// "N&ormale", "&Pedice", "&Apice": the vertical position 0, 1 or 2.
    bool SetPosition(std::uint8_t position);
    /// "S&tile paragrafo...": a paragraph style chosen for the caret's paragraphs.
    bool ChooseParagraphStyle();
    /// "&Riformatta": the page laid out again.
    bool Reformat();

    /// How a modal window runs (tests answer it): returns QDialog::Accepted or Rejected.
    std::function<int(QDialog&)> execDialog;

private:
    /// The box being edited in the focused frame, or nullptr.
    BoxEditing* Edited() const;
    /// After a change: the page is to be stored, painted and the tools brought up to date.
    void Changed();
    int Run(QDialog& dialog);

    FormatCommandsHost host_;
    QWidget* parent_;
};

}  // namespace orvo
