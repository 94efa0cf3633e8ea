// Fuzzes what the main window reads from outside: the command line (arguments separated by NUL
// bytes), page-history entries (lines), and the record of an object a followed link names.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/CommandLine.h"
#include "app/PageHistory.h"
#include "app/u3MainForm.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"

using namespace orvo;

static void CommandLineOf(std::string_view text) {
    std::vector<std::string> args;
    std::size_t start = 0;
    while (start <= text.size() && args.size() < 64) {
        const std::size_t cut = text.find('\0', start);
        args.emplace_back(text.substr(start, cut == std::string_view::npos ? cut : cut - start));
        if (cut == std::string_view::npos) break;
        start = cut + 1;
    }
    const bool present = !text.empty() && (text[0] & 1);
    const CommandLine line =
        ParseCommandLine(args, [present](const std::filesystem::path&) { return present; });
    // A switch never comes from a file that exists, and without one every byte is kept.
    if (present && (line.install || line.nextAction != NextAction::ProbeWordProcessor))
        std::abort();
    if (!line.install && line.nextAction == NextAction::ProbeWordProcessor) {
        std::string joined;
        for (std::size_t i = 0; i < args.size(); ++i) joined += (i ? " " : "") + args[i];
        if (line.file.string() != joined) std::abort();
    }
}

static void HistoryOf(std::string_view text) {
    PageHistory history;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        if (const auto target = PageHistory::Parse(line)) {
            if (target->page < 0 || target->file.empty()) std::abort();
            history.Record(target->file, target->page);
            const auto again =
                PageHistory::Parse(PageHistory::EntryFor(target->file, target->page));
            if (!again || again->page != target->page) std::abort();
        }
        start = end + 1;
    }
    while (history.Back()) {
    }
    while (history.Forward()) {
    }
}

static void RecordOf(std::string_view bytes) {
    static FixedEnvironment environment;
    static RecordingMessages messages;
    static TKYTset set(environment, messages);
    if (bytes.empty()) return;
    const auto kind = TOggettiHel(std::uint8_t(bytes[0]) % 25);
    auto object = NewObjectOfKind(kind, &set);
    object->ReadRecord(bytes.substr(1, 700));
    const LinkedObject linked = LinkedObjectOf(*object, set);
    if (linked.kind != kind || linked.name.size() > 255 || linked.address.size() > 255)
        std::abort();
    messages.Clear();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CommandLineOf(text);
    HistoryOf(text);
    RecordOf(text);
    return 0;
}
