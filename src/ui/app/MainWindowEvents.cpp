// The main window's events: clicks on links of the page surface in preview, the pointer over
// links, the timing of the first paint after an open, dropped files, the window's placement
// and its close, all handed to the command flow.
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

#include <cstdio>

#include "base/Paths.h"
#include "platform/ISettings.h"
#include "ui/app/MainWindowState.h"

namespace orvo {

std::int32_t MainWindow::LinkAt(int x, int y) const {
    return PreviewEditor::LinkAt(*state_->mainSurface, x, y);
}

bool MainWindow::ClickAt(int x, int y) {
    return FollowLinkIn(*state_->mainSurface, *state_->view, QPoint(x, y), nullptr);
}

bool MainWindow::FollowLinkIn(IPreviewSurface& surface, PageViewWidget& view, QPoint at,
                              IPreviewSurface* from) {
    State& s = *state_;
    s.clickPoint = view.Surface()->mapToGlobal(at);
    return s.editor->Click(surface, from, at.x(), at.y(),
                           [&s](const LinkSource& source, const std::optional<LinkedObject>& link) {
                               s.rules->EditorDoLink(source, link);
                           });
}

void MainWindow::FollowObjectIn(PageViewWidget& view, const TKYToggetto& link) {
    State& s = *state_;
    IPreviewSurface* frame = s.editingEditor ? s.editingEditor->FrameSurfaceOf(view) : nullptr;
    if (!frame && &view != s.view) return;
    FollowObjectIn(frame ? *frame : *s.mainSurface, frame, link);
}

void MainWindow::FollowObjectIn(IPreviewSurface& surface, IPreviewSurface* from,
                                const TKYToggetto& link) {
    State& s = *state_;
    s.clickPoint = QCursor::pos();
    s.editor->FollowObject(surface, from, link,
                           [&s](const LinkSource& source, const std::optional<LinkedObject>& to) {
                               s.rules->EditorDoLink(source, to);
                           });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    State& s = *state_;
    // The page widget of any frame: a page split into frames follows links in each of them.
    PageViewWidget* view = s.view && watched == s.view->Surface() ? s.view : nullptr;
    if (!view && s.frameSet)
        for (PageViewWidget* framed : s.frameSet->Views())
            if (watched == framed->Surface()) view = framed;
    if (view) {
        // A page being edited takes its own mouse events; links are followed in preview.
        const bool mouse = event->type() == QEvent::MouseButtonPress ||
                           event->type() == QEvent::MouseButtonRelease ||
                           event->type() == QEvent::MouseMove;
        if (mouse && view->Editable()) return QMainWindow::eventFilter(watched, event);
        // A link in a frame is followed from that frame (a link to "the current frame" shows
        // its page there); a page not split is the main surface.
        IPreviewSurface* frame = s.editingEditor ? s.editingEditor->FrameSurfaceOf(*view) : nullptr;
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            return true;  // taken, so that the release comes here too
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                const QPoint p = mouse->position().toPoint();
                if (frame)
                    FollowLinkIn(*frame, *view, p, frame);
                else if (view == s.view)
                    ClickAt(p.x(), p.y());
            }
        } else if (event->type() == QEvent::MouseMove) {
            const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
            const std::int32_t link = frame            ? PreviewEditor::LinkAt(*frame, p.x(), p.y())
                                      : view == s.view ? LinkAt(p.x(), p.y())
                                                       : -1;
            view->Surface()->setCursor(link >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
        } else if (event->type() == QEvent::Paint && s.timingOpen && view == s.view) {
            // The paint runs inside this call; the figure is taken once it has ended.
            s.timingOpen = false;
            QApplication::sendEvent(watched, event);
            s.openToPaint = s.openTimer.nsecsElapsed();
            if (qEnvironmentVariableIsSet("ORVO_TIMING")) {
                std::fprintf(stderr, "orvo: openFile to first paint %.2f ms\n",
                             double(s.openToPaint) / 1e6);
            }
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> files;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            files.push_back(NameOfPath(std::filesystem::path(url.toLocalFile().toStdString())));
        }
    }
    if (files.empty()) return;
    event->acceptProposedAction();
    state_->rules->EditorDropFile(files);
}

void MainWindow::RestorePlacement() {
    ISettings& settings = *state_->settings;
    const std::string key = std::string(keys::kForms) + "\\" + objectName().toStdString();
    if (auto geometry = settings.Read(key, "geometry")) {
        restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(*geometry)));
    }
    if (const auto& layout = state_->rules->ToolbarLayout()) {
        restoreState(QByteArray::fromBase64(QByteArray::fromStdString(*layout)));
    }
}

void MainWindow::SavePlacement() {
    ISettings& settings = *state_->settings;
    const std::string key = std::string(keys::kForms) + "\\" + objectName().toStdString();
    settings.Write(key, "geometry", saveGeometry().toBase64().toStdString());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    State& s = *state_;
    if (!s.rules->FormCloseQuery()) {
        event->ignore();
        return;
    }
    s.rules->FormClose();
    SavePlacement();
    s.rules->FormDestroy(saveState().toBase64().toStdString());
    event->accept();
}

}  // namespace orvo
