// Every conversion between Qt's types and the core's: text, colours, rectangles, points.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>

#include <string>
#include <string_view>

#include "base/Cp1252.h"
#include "platform/ICanvas.h"

namespace orvo {

/// Windows-1252 bytes as a QString, byte by byte through the code page's table.
inline QString ToQString(std::string_view cp1252) {
    QString out;
    out.reserve(qsizetype(cp1252.size()));
    for (char c : cp1252)
        out.append(QChar(char16_t(Cp1252ToCodePoint(static_cast<unsigned char>(c)))));
    return out;
}

/// A QString as Windows-1252; characters the code page lacks become `replacement`.
inline std::string ToCp1252(const QString& text, char replacement = '?') {
    return Utf8ToCp1252(text.toStdString(), replacement);
}

/// A Windows colour value 0x00BBGGRR (flags in the top byte ignored) as a QColor.
inline QColor ToQColor(std::int32_t colour) {
    const std::uint32_t c = std::uint32_t(colour);
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

inline QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}
inline Rect FromQRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}
inline QPoint ToQPoint(Point p) {
    return QPoint(p.x, p.y);
}
inline Point FromQPoint(const QPoint& p) {
    return {p.x(), p.y()};
}

}  // namespace orvo
