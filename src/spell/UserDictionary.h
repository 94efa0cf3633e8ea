// The user dictionary file: the words the user added, UTF-8, one a line. It is read leniently
// (a line that is not one word the code page can write is passed over) and written whole,
// atomically.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvo {

/// The longest word kept, in bytes.
inline constexpr std::size_t kUserWordMax = 100;

/// The words of a user dictionary file, in Windows-1252, in file order, each once. A UTF-8
/// byte-order mark, CR LF line ends, blanks around a word and lines starting with "#" are
/// accepted; empty lines, lines with blanks or control characters inside, malformed UTF-8,
/// characters outside Windows-1252 and lines longer than kUserWordMax are passed over.
std::vector<std::string> ReadUserDictionary(std::string_view bytes);

/// The file's bytes for `words` (Windows-1252): UTF-8, each word followed by "\n".
std::string WriteUserDictionary(const std::vector<std::string>& words);

/// Whether `word` (Windows-1252) can be kept in the file.
bool IsUserWord(std::string_view word);

}  // namespace orvo
