// The script side of the exported pages: special links read from their records, the calls
// that open and close windows, the window names the scripts use, and the author's own HTML
// code with its references to other objects replaced.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvo {

class TKYTtoHtml;
class TKYToggetto;
struct TExportContext;

/// A special link as the exporter reads it from its record.
struct SpecialLink {
    int type = 0;              // 1 go to a page, 2 close a window, 3 keywords, 4/5 prev/next
    int action = 0;            // for type 1: 0 self ... 6 anchor in the same page
    bool asFrameSet = false;   // the target is shown as its frame set
    std::int32_t target = -1;  // object code
    std::int32_t anchor = -1;  // -1 none
    std::string name;          // the window or frame name, as stored
    const TKYToggetto* object = nullptr;
    static SpecialLink Read(const TKYToggetto& link);
    /// The 22-byte window-feature record the link keeps in its content, when it has one.
    std::optional<std::string> Features() const;
};

/// A window name as the scripts write it inside quotes: the double quote becomes 0x94, the
/// single quote 0x92; control characters, "#", "$", "%", "&", "<", ">", "\" and 127 become
/// spaces.
std::string CleanWindowName(std::string_view name);
/// The variable a window script keeps a window in: the cleaned name when it is a valid script
/// identifier that names nothing of the browser's, otherwise "OrvoW_" + the name with every
/// character that is no letter, digit or "_" made "_".
std::string WindowIdentifier(std::string_view name);
/// The features argument of an open call: ",''" without a record, otherwise the set values.
std::string WindowFeaturesArgument(const std::optional<std::string>& record);
/// The call that closes the named window: as a "javascript:" address (flag 4 set in `flags`)
/// or as a script block.
std::string CloseWindowCall(bool asUrl, std::string_view name, std::uint8_t& flags);
/// A file name or address placed in a quoted script string inside a double-quoted attribute:
/// quotes, backslashes, "<", ">" and control characters are written as %XX, "&" as "&amp;".
std::string ScriptAddress(std::string_view address);

/// The script text that opens the link's target page in a window: type 0 a "javascript:"
/// address, 1 a script block, 2 the plain file name (with "#an" + anchor when `withAnchor`),
/// 3 a "javascript:" address opening a plain new browser window. Empty when the target page
/// is missing. Sets the script flags it needs and collects a page shown alone as a secondary
/// page.
std::string WindowCall(TKYTtoHtml& exporter, TExportContext& context, int type,
                       const SpecialLink& link, bool withFeatures, bool withAnchor);

/// The custom code of an object (its auxiliary stream after the header) with the references
/// to other objects replaced; a page's own head code likewise.
std::string ResolveCustomCode(TKYTtoHtml& exporter, TExportContext& context,
                              const TKYToggetto& object);
/// The same for a given code text; `holder` is the object whose size "!RefX:"/"!RefY:" give.
std::string ResolveCustomText(TKYTtoHtml& exporter, TExportContext& context, std::string_view code,
                              const TKYToggetto* holder);

/// The text of a comment: "--" never appears in it, and it neither starts with ">" or "->"
/// nor ends with "-".
std::string CommentText(std::string_view text);

}  // namespace orvo
