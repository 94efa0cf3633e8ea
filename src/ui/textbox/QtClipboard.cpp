// The system clipboard through QClipboard and QMimeData.
#include "ui/textbox/QtClipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "ui/QtConvert.h"

namespace orvo {

namespace {
constexpr const char* kRtfMime = "text/rtf";
constexpr const char* kRtfMimeAlt = "application/rtf";
}  // namespace

QString MimeTypeOf(std::string_view format) {
    if (format == kClipObjects) return QStringLiteral("application/x-orvo30-objects");
    if (format == kClipPicture) return QStringLiteral("application/x-orvo30-picture");
    if (format == kClipZone) return QStringLiteral("application/x-orvo30-zone");
    if (format == kClipRtf) return QString::fromLatin1(kRtfMime);
    if (format == kClipText) return QStringLiteral("text/plain");
    if (format == kClipBitmap) return QStringLiteral("image/png");
    return QStringLiteral("application/x-orvo-") +
           QString::fromUtf8(format.data(), qsizetype(format.size()));
}

QMimeData* ToMimeData(const ClipboardContents& contents) {
    auto* data = new QMimeData;
    for (const auto& [format, bytes] : contents) {
        if (format == kClipText) {
            // Lines end with "\r\n" inside the program, with "\n" on this system.
            QString text = ToQString(bytes);
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            data->setText(text);
        } else if (format == kClipBitmap) {
            QImage image;
            if (image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), int(bytes.size())))
                data->setImageData(image);
        } else {
            const QByteArray array(bytes.data(), qsizetype(bytes.size()));
            data->setData(MimeTypeOf(format), array);
            if (format == kClipRtf) data->setData(QString::fromLatin1(kRtfMimeAlt), array);
        }
    }
    return data;
}

std::optional<std::string> FromMimeData(const QMimeData& data, std::string_view format) {
    if (format == kClipText) {
        if (!data.hasText()) return std::nullopt;
        QString text = data.text();
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QChar('\n'), QStringLiteral("\r\n"));
        return ToCp1252(text);
    }
    if (format == kClipBitmap) {
        if (!data.hasImage()) return std::nullopt;
        const QImage image = qvariant_cast<QImage>(data.imageData());
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG")) return std::nullopt;
        return std::string(png.constData(), std::size_t(png.size()));
    }
    QString mime = MimeTypeOf(format);
    if (format == kClipRtf && !data.hasFormat(mime)) mime = QString::fromLatin1(kRtfMimeAlt);
    if (!data.hasFormat(mime)) return std::nullopt;
    const QByteArray bytes = data.data(mime);
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

QtClipboard::QtClipboard() : clipboard_(QGuiApplication::clipboard()) {}

void QtClipboard::SetContents(const ClipboardContents& contents) {
    clipboard_->setMimeData(ToMimeData(contents));
}

bool QtClipboard::HasFormat(std::string_view format) const {
    return Data(format).has_value();
}

std::optional<std::string> QtClipboard::Data(std::string_view format) const {
    const QMimeData* data = clipboard_->mimeData();
    if (!data) return std::nullopt;
    return FromMimeData(*data, format);
}

}  // namespace orvo
