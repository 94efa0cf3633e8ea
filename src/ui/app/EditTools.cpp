// The undo drop-down list and the ruler.
#include "ui/app/EditTools.h"

#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

#include "ui/QtConvert.h"

namespace orvo {

namespace {
constexpr int kUndoBoxWidth = 200;
constexpr int kUndoBoxRows = 10;
constexpr double kPixelsPerCentimetre = 96 / 2.54;
}  // namespace

TUndoBox::TUndoBox(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("TUndoBox"));
    setWindowFlags(Qt::Popup);
    setFrameShape(QFrame::Box);
    setSelectionMode(QAbstractItemView::MultiSelection);
    setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void TUndoBox::SetLabels(const std::vector<std::string>& labels) {
    clear();
    for (const std::string& label : labels) addItem(ToQString(label));
    const int rows = std::min(count(), kUndoBoxRows);
    const int rowHeight = count() > 0 ? sizeHintForRow(0) : fontMetrics().height();
    resize(kUndoBoxWidth, rows * rowHeight + 2 + 2 * frameWidth());
    SetPrefix(count() > 0 ? 1 : 0);
}

void TUndoBox::SetPrefix(int length) {
    prefix_ = std::clamp(length, count() > 0 ? 1 : 0, count());
    for (int i = 0; i < count(); ++i) item(i)->setSelected(i < prefix_);
    if (prefix_ > 0) scrollToItem(item(prefix_ - 1));
}

int TUndoBox::Run(QWidget& anchor) {
    confirmed_ = done_ = pressed_ = false;
    QPoint at = anchor.mapToGlobal(QPoint(0, anchor.height()));
    if (const QScreen* screen = anchor.screen()) {
        const QRect area = screen->availableGeometry();
        // Ends at the anchor's right edge when it would leave the screen on the right, and
        // goes above the anchor when it would leave it at the bottom.
        if (at.x() + width() > area.right())
            at.setX(anchor.mapToGlobal(QPoint(anchor.width(), 0)).x() - width());
        if (at.y() + height() > area.bottom())
            at.setY(anchor.mapToGlobal(QPoint(0, 0)).y() - height());
    }
    move(at);
    show();
    setFocus(Qt::PopupFocusReason);
    QEventLoop loop;
    while (!done_ && isVisible()) loop.processEvents(QEventLoop::WaitForMoreEvents);
    return confirmed_ ? prefix_ : 0;
}

void TUndoBox::Finish(bool confirm) {
    if (done_) return;
    confirmed_ = confirm;
    done_ = true;
    hide();
}

void TUndoBox::PrefixAt(const QPoint& at) {
    if (QListWidgetItem* under = itemAt(at)) SetPrefix(row(under) + 1);
}

void TUndoBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Left:
            SetPrefix(prefix_ - 1);
            break;
        case Qt::Key_Down:
        case Qt::Key_Right:
            SetPrefix(prefix_ + 1);
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Finish(true);
            break;
        case Qt::Key_Escape:
            Finish(false);
            break;
        default:
            break;
    }
    event->accept();
}

void TUndoBox::mousePressEvent(QMouseEvent* event) {
    if (!rect().contains(event->position().toPoint())) {
        Finish(false);  // a press outside the pop-up
        return;
    }
    pressed_ = true;
    PrefixAt(event->position().toPoint());
}

void TUndoBox::mouseMoveEvent(QMouseEvent* event) {
    PrefixAt(event->position().toPoint());
}

void TUndoBox::mouseReleaseEvent(QMouseEvent* event) {
    if (pressed_ && rect().contains(event->position().toPoint()))
        Finish(true);
    else
        Finish(false);
}

void TUndoBox::mouseDoubleClickEvent(QMouseEvent*) {
    Finish(true);
}

void TUndoBox::hideEvent(QHideEvent* event) {
    QListWidget::hideEvent(event);
    if (!done_) {
        // Hidden by the system (the activation went elsewhere): nothing is undone.
        done_ = true;
        confirmed_ = false;
    }
}

RulerWidget::RulerWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Ruler"));
    setMinimumHeight(22);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void RulerWidget::Show(const EditToolState& tools) {
    if (tools == tools_) return;
    tools_ = tools;
    update();
}

void RulerWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const int width = tools_.layoutWidth > 0 ? tools_.layoutWidth : this->width();
    painter.fillRect(QRect(0, 3, width, height() - 6), Qt::white);
    painter.setPen(Qt::black);
    QFont font = painter.font();
    font.setPixelSize(9);
    painter.setFont(font);
    for (int cm = 0; cm * kPixelsPerCentimetre <= width; ++cm) {
        const int x = int(cm * kPixelsPerCentimetre);
        painter.drawLine(x, height() - 8, x, height() - 4);
        if (cm > 0)
            painter.drawText(QRect(x - 10, 3, 20, 10), Qt::AlignCenter, QString::number(cm));
    }
    if (!tools_.editing) return;
    // The first-line indent above, the left margin below, the right margin at the right.
    const auto mark = [&painter, this](int x, bool top) {
        QPolygon triangle;
        if (top)
            triangle << QPoint(x - 4, 3) << QPoint(x + 4, 3) << QPoint(x, 9);
        else
            triangle << QPoint(x - 4, height() - 3) << QPoint(x + 4, height() - 3)
                     << QPoint(x, height() - 9);
        painter.setBrush(Qt::darkGray);
        painter.drawPolygon(triangle);
    };
    mark(tools_.leftMargin + tools_.firstIndent, true);
    mark(tools_.leftMargin, false);
    mark(width - tools_.rightMargin, false);
}

}  // namespace orvo
