// The small pieces of RTF the exporter is made of: escaping of body characters and of
// strings, pictures as hexadecimal digits, twips, help context ids and window names, and the
// lines of a help project file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

/// One character of body text: "\\", "{" and "}" get a backslash, bytes from 126 up are
/// written "\\'hh" (lower case), control characters are dropped, the rest stays as it is.
std::string RtfChar(unsigned char c);

/// A string from data (titles, keywords, comments, names): control characters other than the
/// carriage return are dropped, a carriage return gives "\\par \r\n", the rest as RtfChar.
std::string RtfString(std::string_view cp1252);

/// Each byte as two lower-case hexadecimal digits, no line breaks.
std::string RtfHex(std::string_view bytes);

/// Screen pixels at `pixelsPerInch` in twips (points times 20), rounded.
std::int32_t PixelsToTwips(std::int64_t pixels, int pixelsPerInch);

/// A length held in thousandths of a millimetre in twips, rounded.
std::int32_t MicrometresToTwips(std::int64_t micrometres);

/// The help context id of a page: the title's letters, digits, "." and "_", cut so that it
/// and the number in decimal fit in 19 characters, then "_" and the number.
std::string HelpContextId(std::string_view title, std::int64_t number);

/// A help window's name: the first 8 characters of the context id of `name` with number 0.
std::string HelpWindowName(std::string_view name);

/// Writes `bytes` to a temporary file beside `target` and renames it over the target, so a
/// failed export leaves the previous file whole. Exported files are not flushed to the disk
/// one by one (thousands of page files would wait on the disk).
bool ReplaceFile(const std::filesystem::path& target, std::string_view bytes);

/// What the help project file says.
struct HelpProject {
    std::string title;
    std::string contents;  // the home page's context id; empty when there is no home page
    std::vector<std::string> windows;
    struct Topic {
        std::string contextId;
        std::int64_t reference = 0;
    };
    std::vector<Topic> topics;
    std::string rtfFile;  // the main RTF file's name
};

/// The address at the end of the project's credit line.
inline constexpr std::string_view kCitationAddress = "https://orvo.example.org/";

/// The ".HPJ" text, lines ended by CR LF.
std::string HelpProjectText(const HelpProject& project);

}  // namespace orvo
