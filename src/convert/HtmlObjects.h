// The HTML of the page objects met in a page's text: images with their image maps and roll-over
// pictures, the head scripts they need and the preloading of roll-over pictures.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvo {

class TKYTtoHtml;
class TKYToggetto;
struct TExportContext;

/// The name of an object kind ("immagineNew", "tabellaHtml", ...), or "kind N".
std::string ObjectKindName(int kind);

/// The message of a stored picture met in a text, where only images on the page belong.
inline constexpr const char* kStoredPictureInText =
    "bug: ogg immagine non deve + esser presente qui";

/// The script block of a page's head for its script-feature flags (1, 2, 8, 16, 4 in that
/// order); empty when none is set.
std::string HeadScripts(std::uint8_t flags);

/// The script after the body that loads the page's roll-over pictures; empty when it has none.
std::string RolloverPreload(const TKYTtoHtml& exporter, const TExportContext& context);

/// The alternative or zone text as an attribute value: escaped, the double quote as "&quot;".
std::string CleanedText(std::string_view text);

}  // namespace orvo
