// What the importers share: new pages made from imported markup, and plain text cut into
// lines and escaped for the markup.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

class TKYTset;

/// Stores `markup` (without its 0x00 byte) as a new page of `set` with that background colour
/// and picture (-1 none), and returns its number. The page takes number 0 when the hypertext
/// has no page, or when its only page holds at most 9 bytes of text (that page is replaced, so
/// there is never a second page 0); otherwise the first free number.
std::int32_t NewImportedPage(TKYTset& set, std::string_view markup, std::int32_t colour,
                             std::int32_t picture);

/// The lines of a text: CR LF, LF and a lone CR each end one; a last line without an end
/// counts, an end at the very end adds no empty line. "" gives no line.
std::vector<std::string_view> SplitTextLines(std::string_view text);

/// The bytes of a text file as Windows-1252: a file that starts with the UTF-8 byte-order mark,
/// or that is well-formed UTF-8 holding at least one character beyond ASCII, is converted
/// (a character the code page lacks becomes "?"); any other file is taken as it is.
std::string TextFileToCp1252(std::string_view bytes);

/// Windows-1252 text as its markup form: "&", "<", ">" as entities, bytes below 0x20 dropped
/// (a 0x00 would end the text).
std::string EscapeForMarkup(std::string_view text);

/// A line of plain text as markup characters: a tab becomes eight blanks, "&", "<" and ">"
/// their entities; other bytes below 0x20 are dropped (a 0x00 would end the text).
std::string EscapeTextLine(std::string_view line);

}  // namespace orvo
