// FTP replies as text.
#include "publish/FtpReply.h"

#include <cctype>

#include "base/Result.h"
#include "publish/TcpIp.h"

namespace orvo {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

int ReplyCodeOf(std::string_view line) {
    if (line.size() < 3 || !IsDigit(line[0]) || !IsDigit(line[1]) || !IsDigit(line[2])) return 999;
    return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

bool ReplyAssembler::Feed(std::string line) {
    if (lines_.size() >= kMaxLines) throw ParseError(std::string(kLineTooLongText));
    if (lines_.empty()) {
        code_ = ReplyCodeOf(line);
        text_ = line.size() > 4 ? line.substr(4) : std::string();
        const bool multiLine = code_ != 999 && line.size() >= 4 && line[3] == '-';
        if (multiLine) closing_ = line.substr(0, 3) + " ";
        lines_.push_back(std::move(line));
        return !multiLine;
    }
    const bool closes = line.compare(0, 4, closing_) == 0 || line == closing_.substr(0, 3);
    lines_.push_back(std::move(line));
    return closes;
}

std::optional<PassiveTarget> ParsePasvReply(std::string_view text) {
    // Prefer the group inside parentheses; otherwise the first run of six numbers.
    std::string_view scan = text;
    const std::size_t open = text.find('(');
    if (open != std::string_view::npos) {
        const std::size_t close = text.find(')', open);
        if (close != std::string_view::npos) scan = text.substr(open + 1, close - open - 1);
    }
    for (std::size_t start = 0; start < scan.size(); ++start) {
        if (!IsDigit(scan[start]) || (start > 0 && IsDigit(scan[start - 1]))) continue;
        unsigned values[6];
        std::size_t i = start;
        int got = 0;
        bool bad = false;
        while (got < 6) {
            if (i >= scan.size() || !IsDigit(scan[i])) {
                bad = true;
                break;
            }
            unsigned v = 0;
            int digits = 0;
            while (i < scan.size() && IsDigit(scan[i]) && digits < 4) {
                v = v * 10 + unsigned(scan[i] - '0');
                ++i;
                ++digits;
            }
            if (v > 255 || (i < scan.size() && IsDigit(scan[i]))) {
                bad = true;
                break;
            }
            values[got++] = v;
            if (got < 6) {
                if (i >= scan.size() || scan[i] != ',') {
                    bad = true;
                    break;
                }
                ++i;
            }
        }
        if (bad) continue;
        PassiveTarget t;
        t.address = (values[0] << 24) | (values[1] << 16) | (values[2] << 8) | values[3];
        t.port = std::uint16_t(values[4] * 256 + values[5]);
        return t;
    }
    return std::nullopt;
}

std::int64_t ExpectedSizeOfReply(std::string_view text) {
    const std::size_t bytes = text.find("bytes)");
    if (bytes == std::string_view::npos) return -1;
    const std::size_t open = text.rfind('(', bytes);
    if (open == std::string_view::npos) return 0;
    std::string_view number = text.substr(open + 1, bytes - open - 1);
    while (!number.empty() && number.front() == ' ') number.remove_prefix(1);
    while (!number.empty() && number.back() == ' ') number.remove_suffix(1);
    if (number.empty() || number.size() > 18) return 0;
    std::int64_t value = 0;
    for (char c : number) {
        if (!IsDigit(c)) return 0;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string DirectoryOfPwdReply(std::string_view text) {
    std::string folder;
    const std::size_t first = text.find('"');
    if (first != std::string_view::npos) {
        const std::size_t second = text.find('"', first + 1);
        if (second != std::string_view::npos) folder = text.substr(first + 1, second - first - 1);
    }
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

bool IsSafeArgument(std::string_view argument) {
    return argument.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

}  // namespace orvo
