// Fuzzes the desktop-entry reader and the expansion of its Exec line: a line that expands
// always hands the file to the program.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/PosixShell.h"

using namespace orvo;

static void Check(std::string_view exec) {
    const std::string file =
        "\x01"
        "FILE\x02";
    const auto argv = ExpandDesktopExec(exec, file, "name", "/entry.desktop");
    if (!argv) return;
    if (argv->empty()) std::abort();
    bool handed = false;
    for (const auto& a : *argv) handed = handed || a.find(file) != std::string::npos;
    if (!handed) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const DesktopEntry entry = ParseDesktopEntry(text);
    Check(entry.exec);
    Check(text.substr(0, 4096));
    return 0;
}
