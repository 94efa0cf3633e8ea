// The editor's frame set on screen: the frame tree of TKYTframeSet placed in a widget, a page
// widget in every frame, the striped bars that split a frame when dragged into it and the
// splitters that size the frames (a frame dragged smaller than a bar goes).
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orvo {

class IMessages;
class IScheduler;
class ISelectionConverters;
class PageViewWidget;
class TKYTFrame;
class TKYTframeSet;
class TKYTset;

class FrameSetWidget final : public QWidget {
public:
    /// Shows pages of `set`; everything given outlives the widget.
    FrameSetWidget(TKYTset& set, IMessages& messages, IScheduler& scheduler,
                   QWidget* parent = nullptr);
    ~FrameSetWidget() override;

    TKYTframeSet& FrameSet();
    /// The page widget the first frame shows its page in, made elsewhere and never deleted by
    /// the frame set (the main window's page view); given before any page is shown. A frame
    /// that goes hands its widget back, and the next frame made takes it again.
    void SetMainView(PageViewWidget& view);
    /// The converters of copied and pasted RTF for the page widgets the frame set makes.
    void SetConverters(ISelectionConverters* converters);
    /// Called once for every page widget the frame set makes (not for the main view).
    std::function<void(PageViewWidget&)> onViewMade;
    /// The caret or the tools' state of a frame's box changed; that box is now the current
    /// control.
    std::function<void(PageViewWidget&)> onToolsChanged;
    /// The page widget of the current control's frame; else the first frame that shows a
    /// page; else the main view (nullptr without one).
    PageViewWidget* FocusedView() const;
    /// Clears the frame set's current control when no frame's page widget holds it any more
    /// (its page was closed, committed or detached); called before the frame set acts.
    void ForgetStaleControl() const;
    /// The page widgets of every frame, in the frames' order.
    std::vector<PageViewWidget*> Views() const;
    /// Edit mode on or off for every frame: bars and splitters show only while editing.
    void SetEditable(bool on);
    /// The page widget of a frame that shows a page, or nullptr.
    PageViewWidget* ViewOf(const TKYTFrame& frame) const;
    /// Writes the frame-layout file; false (with the message, when there is one) otherwise.
    bool SaveLayoutTo(const std::string& utf8Path);
    /// Replaces the frames by a frame-layout file.
    bool LoadLayoutFrom(const std::string& utf8Path, bool clearPages);
    /// Where a frame-layout file is read from and written to ("ModelliCornici").
    std::string layoutFolder;

    /// A bar or splitter drag in progress: the frame, what is dragged and where the mouse is.
    bool Dragging() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace orvo
