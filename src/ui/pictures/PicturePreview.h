// A picture shown in a window's preview area: whole, scaled down with its proportions kept when
// it is larger than the area, at its own size when it fits, or stretched over the whole area
// while the window's "Stretch" is ticked. Centred in the area in every case.
#pragma once

#include <QFrame>
#include <QPixmap>

#include <string>

namespace orvo {

class PicturePreview final : public QFrame {
public:
    explicit PicturePreview(QWidget* parent = nullptr);

    /// Shows the picture `bytes` decode to; an empty preview (false) when they decode to none.
    bool SetPictureBytes(const std::string& bytes);
    void SetPicture(const QPixmap& picture);
    void Clear();
    bool HasPicture() const { return !picture_.isNull(); }
    const QPixmap& Picture() const { return picture_; }

    void SetStretched(bool on);
    bool Stretched() const { return stretched_; }

    /// Where a picture of `picture` pixels is drawn within `area`.
    static QRect PlaceIn(QSize picture, const QRect& area, bool stretched);
    /// Where the picture shown is drawn, in the preview's coordinates (empty when none).
    QRect PictureRect() const;

    QSize sizeHint() const override { return {200, 150}; }
    QSize minimumSizeHint() const override { return {160, 120}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
    bool stretched_ = false;
};

}  // namespace orvo
