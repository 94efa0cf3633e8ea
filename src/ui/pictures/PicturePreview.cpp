#include "ui/pictures/PicturePreview.h"

#include <QPainter>

namespace orvo {

PicturePreview::PicturePreview(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

bool PicturePreview::SetPictureBytes(const std::string& bytes) {
    QPixmap pixmap;
    if (bytes.empty() ||
        !pixmap.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), uint(bytes.size()))) {
        Clear();
        return false;
    }
    SetPicture(pixmap);
    return true;
}

void PicturePreview::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void PicturePreview::Clear() {
    if (picture_.isNull()) return;
    picture_ = QPixmap();
    update();
}

void PicturePreview::SetStretched(bool on) {
    if (stretched_ == on) return;
    stretched_ = on;
    update();
}

QRect PicturePreview::PlaceIn(QSize picture, const QRect& area, bool stretched) {
    if (picture.isEmpty() || area.isEmpty()) return {};
    if (stretched) return area;
    QSize shown = picture;
    if (shown.width() > area.width() || shown.height() > area.height())
        shown = picture.scaled(area.size(), Qt::KeepAspectRatio);
    // A thin picture scaled down keeps at least one pixel on its short side.
    shown = shown.expandedTo(QSize(1, 1));
    return {area.x() + (area.width() - shown.width()) / 2,
            area.y() + (area.height() - shown.height()) / 2, shown.width(), shown.height()};
}

QRect PicturePreview::PictureRect() const {
    return picture_.isNull() ? QRect() : PlaceIn(picture_.size(), contentsRect(), stretched_);
}

void PicturePreview::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    const QRect target = PictureRect();
    if (target.isEmpty()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, picture_);
}

}  // namespace orvo
