// Fuzzes the settings file reader: whatever it reads, writing it and reading it back gives the
// same tree, whole.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/FileSettings.h"

using namespace orvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    SettingsFileState state;
    const SettingsTree tree = ParseSettings(text, &state);
    const std::string written = SerializeSettings(tree);
    SettingsFileState again;
    const SettingsTree back = ParseSettings(written, &again);
    if (again.damaged) std::abort();
    if (SerializeSettings(back) != written) std::abort();
    return 0;
}
