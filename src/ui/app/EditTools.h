// The editing tools of the main window that are widgets of their own: the undo list that drops
// down under the undo button (several steps taken at once) and the ruler over the page.
#pragma once

#include <QListWidget>
#include <QWidget>

#include <string>
#include <vector>

#include "textbox/PageEditSession.h"

namespace orvo {

/// The drop-down list of the undo steps, newest first. The selection is always a prefix of
/// the list: the mouse selects every item up to the one under the pointer, Up and Left shrink
/// the prefix by one, Down and Right grow it. Enter, a double click or releasing the mouse
/// after a press confirms; Escape, a release without a press or losing the activation
/// cancels.
class TUndoBox final : public QListWidget {
public:
    explicit TUndoBox(QWidget* parent = nullptr);
    /// Fills the list (the first item selected) and sizes it: 200 pixels wide, as tall as its
    /// items, at most 10 of them.
    void SetLabels(const std::vector<std::string>& labels);
    /// Shows the list under `anchor` (kept on the screen) and waits until it hides itself;
    /// the number of steps chosen, 0 when cancelled.
    int Run(QWidget& anchor);
    /// The length of the selected prefix.
    int Prefix() const { return prefix_; }
    void SetPrefix(int length);
    /// Set when the list hid itself by confirming.
    bool Confirmed() const { return confirmed_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Finish(bool confirm);
    void PrefixAt(const QPoint& at);
    int prefix_ = 0;
    bool pressed_ = false;
    bool confirmed_ = false;
    bool done_ = false;
};

/// The ruler: centimetres along the page's layout width with the caret paragraph's left
/// margin, first-line indent and right margin.
class RulerWidget final : public QWidget {
public:
    explicit RulerWidget(QWidget* parent = nullptr);
    void Show(const EditToolState& tools);
    QSize sizeHint() const override { return {400, 22}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    EditToolState tools_;
};

}  // namespace orvo
