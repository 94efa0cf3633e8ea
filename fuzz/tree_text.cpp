// Fuzzes the reader of a stored tree: whatever it keeps, written out and read again, gives the
// same text without an error.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "model/PageTree.h"

using namespace orvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // Pages 0..9 exist except the odd ones above 4; the tree orders pages (kind 0).
    auto nameOf = [](std::int32_t code) -> std::optional<std::string> {
        const std::int32_t id = code & 0xFFFFFF;
        if (id > 9 || (id > 4 && id % 2 == 1)) return std::nullopt;
        return "pagina " + std::to_string(id);
    };
    const TreeTextReading first = ReadTreeText(text, 0, nameOf);
    const std::string written = WriteTreeText(first.tree);
    const TreeTextReading second = ReadTreeText(written, 0, nameOf);
    if (!second.errors.empty() || WriteTreeText(second.tree) != written) std::abort();
    if (second.tree.NodeCount() != first.tree.NodeCount()) std::abort();
    // Every node is on a line of its own.
    std::size_t lines = 0;
    for (const char c : written) lines += c == '\n';
    if (lines != first.tree.NodeCount()) std::abort();
    return 0;
}
