// The editor's frame set on screen: the frame tree of TKYTframeSet placed in a widget, a page
// widget in every frame, the striped bars that split a frame when dragged into it and the
// splitters that size the frames (a frame dragged smaller than a bar goes).
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace orvo {

class IMessages;
class IScheduler;
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
