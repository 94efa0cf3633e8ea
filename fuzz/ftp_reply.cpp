// Server bytes through the control-connection reader: lines, multi-line replies, and the texts
// of PASV, RETR and PWD replies. The first byte sets how the bytes arrive in pieces.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/Result.h"
#include "publish/FtpReply.h"
#include "publish/TcpIp.h"

using namespace orvo;

static void Check(const ReplyAssembler& reply) {
    if (reply.Code() != 999 && (reply.Code() < 0 || reply.Code() > 999)) std::abort();
    (void)ParsePasvReply(reply.Text());
    if (ExpectedSizeOfReply(reply.Text()) < -1) std::abort();
    const std::string folder = DirectoryOfPwdReply(reply.Text());
    if (folder.empty() || folder.back() != '/') std::abort();
    (void)IsSafeArgument(reply.Text());
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t piece = 1 + data[0] % 64;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    LineBuffer lines;
    ReplyAssembler reply;
    try {
        for (std::size_t at = 0; at < bytes.size(); at += piece) {
            lines.Append(bytes.substr(at, piece));
            while (auto line = lines.TakeLine()) {
                if (line->find('\n') != std::string::npos || line->find('\r') != std::string::npos)
                    std::abort();
                if (reply.Feed(*line)) {
                    Check(reply);
                    reply = ReplyAssembler();
                }
            }
            if (lines.Overflowed()) return 0;  // the session refuses the reply here
        }
        if (!lines.Empty() && reply.Feed(lines.TakeRest())) Check(reply);
    } catch (const ParseError&) {
        // An endless multi-line reply: refused.
    }
    return 0;
}
