// The clipboard: what a copy puts there in several formats at once, and what a paste reads.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvo {

/// The program's own formats, by their registered names.
inline constexpr std::string_view kClipObjects = "Orvo30 objects";
inline constexpr std::string_view kClipPicture = "Orvo30 picture";
inline constexpr std::string_view kClipZone = "Orvo30 zone";
inline constexpr std::string_view kClipRtf = "Rich Text Format";
/// Plain text, as Windows-1252 bytes with "\r\n" between lines.
inline constexpr std::string_view kClipText = "text";
/// A picture as PNG bytes.
inline constexpr std::string_view kClipBitmap = "bitmap";

/// One content: the same data in several formats, in the order they were put.
using ClipboardContents = std::vector<std::pair<std::string, std::string>>;

class IClipboard {
public:
    virtual ~IClipboard() = default;
    /// Replaces what the clipboard holds with these formats.
    virtual void SetContents(const ClipboardContents& contents) = 0;
    virtual bool HasFormat(std::string_view format) const = 0;
    /// The bytes held in that format, or none.
    virtual std::optional<std::string> Data(std::string_view format) const = 0;
};

/// A clipboard in memory, for tests and for the command line.
class MemoryClipboard final : public IClipboard {
public:
    void SetContents(const ClipboardContents& contents) override { contents_ = contents; }
    bool HasFormat(std::string_view format) const override;
    std::optional<std::string> Data(std::string_view format) const override;
    const ClipboardContents& Contents() const { return contents_; }

private:
    ClipboardContents contents_;
};

}  // namespace orvo
