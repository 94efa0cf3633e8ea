// Feeds bytes to the custom-code panel as a code stream (int32 header length, header, code):
// the code is loaded into the panel's editor, where references become reference objects, and
// stored back after a change. The stored stream keeps the header loaded, and loading it again
// gives the same code: what the panel writes it reads back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/CustomCodePanel.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64 * 1024) return 0;
    static orvo::FixedEnvironment environment;
    static orvo::RecordingMessages messages;
    static orvo::TKYTset main(environment, messages);
    orvo::CustomCodePanel panel(main, environment, messages);
    const std::string stream(reinterpret_cast<const char*>(data), size);
    panel.LoadCode(stream);
    const std::string code = panel.CodeText();
    if (panel.Editor().Edited()) std::abort();  // loading is no change

    std::optional<std::string> stored = stream;
    panel.StoreCode(stored);
    if (!stored || *stored != stream) std::abort();  // unchanged: untouched
    panel.Editor().NoteEdit();
    panel.StoreCode(stored);
    if (!stored || stored->size() < 4) std::abort();
    const std::size_t header = stored->size() - code.size();
    if (stored->substr(header) != code) std::abort();
    // The header loaded, or none (a length of 0) when the stream could not hold the one named.
    std::string expected(4, '\0');
    if (size >= 4) {
        std::uint32_t length = 0;
        for (int i = 3; i >= 0; --i) length = (length << 8) | data[i];
        if (length <= size - 4) expected = stream.substr(0, 4 + length);
    }
    if (stored->substr(0, header) != expected) std::abort();

    orvo::CustomCodePanel again(main, environment, messages);
    again.LoadCode(stored);
    if (again.CodeText() != code) std::abort();
    messages.Clear();
    return 0;
}
