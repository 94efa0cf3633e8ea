// FTP replies as text: assembling multi-line replies, and reading what the PASV, RETR and PWD
// replies carry. Pure functions over what the server sent, shared by the session and its fuzzers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

inline constexpr std::string_view kBadArgumentText = "Carattere non ammesso in un comando FTP";
inline constexpr std::string_view kBadPassiveText = "Risposta PASV non valida";

/// The code of a reply line: its first three characters as a number, 999 when they are not.
int ReplyCodeOf(std::string_view line);

/// Collects the lines of one reply. A line whose fourth character is "-" opens a multi-line
/// reply that ends with the line beginning with the same code and a space; the code and text
/// come from the first line.
class ReplyAssembler {
public:
    static constexpr std::size_t kMaxLines = 1000;

    /// Takes the next line; true when the reply is complete. Throws ParseError when a reply
    /// runs past kMaxLines.
    bool Feed(std::string line);
    int Code() const { return code_; }
    const std::string& Text() const { return text_; }
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    int code_ = 0;
    std::string text_;
    std::string closing_;  // "nnn " of a multi-line reply
    std::vector<std::string> lines_;
};

/// The port of a 227 reply: six numbers "h1,h2,h3,h4,p1,p2" (each 0..255), inside parentheses
/// or not. The address part is returned too, though the session connects to its control peer.
struct PassiveTarget {
    std::uint32_t address = 0;
    std::uint16_t port = 0;
};
std::optional<PassiveTarget> ParsePasvReply(std::string_view text);

/// The size a RETR reply announces as "(N bytes)": -1 without "bytes)", 0 when N is not a
/// number.
std::int64_t ExpectedSizeOfReply(std::string_view text);

/// The folder between the first two double quotes of a PWD reply, ending with "/".
std::string DirectoryOfPwdReply(std::string_view text);

/// True when `argument` can be sent in a command: no CR, LF or NUL in it.
bool IsSafeArgument(std::string_view argument);

}  // namespace orvo
