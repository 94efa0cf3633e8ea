// The system clipboard through Qt: the program's own formats under their own MIME types, RTF,
// plain text (Windows-1252 inside the program, Unicode on the clipboard) and pictures.
#pragma once

#include <QString>

#include "platform/IClipboard.h"

class QClipboard;
class QMimeData;

namespace orvo {

/// The MIME type a clipboard format is kept under.
QString MimeTypeOf(std::string_view format);

/// MIME data holding the contents, and the contents read back from MIME data (a drag's too).
QMimeData* ToMimeData(const ClipboardContents& contents);
std::optional<std::string> FromMimeData(const QMimeData& data, std::string_view format);

class QtClipboard final : public IClipboard {
public:
    /// The application's clipboard.
    QtClipboard();
    explicit QtClipboard(QClipboard& clipboard) : clipboard_(&clipboard) {}
    void SetContents(const ClipboardContents& contents) override;
    bool HasFormat(std::string_view format) const override;
    std::optional<std::string> Data(std::string_view format) const override;

private:
    QClipboard* clipboard_;
};

}  // namespace orvo
