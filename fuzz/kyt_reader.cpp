// Feeds bytes to the document reader as a ".kyt" file, then reads every object's content and
// description, as opening a hypertext does.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                              ("fuzz-kyt-" + std::to_string(::getpid()) + ".kyt");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    orvo::FixedEnvironment environment;
    orvo::RecordingMessages messages;
    orvo::TKYTset set(environment, messages);
    if (set.LoadFromFile(file.string())) {
        for (int kind = 0; kind < orvo::kKindCount; ++kind)
            for (const auto& object : set.KindList(orvo::KindOf(kind))) {
                (void)object->ContentBytes();
                (void)object->Describe();
                (void)object->GetAttribute("name");
                (void)object->MatchTerms("a", "", "b", "", 0);
                (void)object->Refers(0x05000000);
            }
    }
    std::error_code ec;
    std::filesystem::remove(file, ec);
    return 0;
}
