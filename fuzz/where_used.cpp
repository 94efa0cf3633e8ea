// Feeds bytes to the document reader as a ".kyt" file, then lists where every object in use is
// used (page texts, prototypes' code headers, records read as they are) and deletes the first
// objects of the album's kinds with every reference to them, as the deletion window does.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/ObjectDeletion.h"
#include "app/WhereUsed.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("fuzz-where-used-" + std::to_string(::getpid()) + ".kyt");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    orvo::FixedEnvironment environment;
    orvo::RecordingMessages messages;
    orvo::TKYTset set(environment, messages);
    if (set.LoadFromFile(file.string())) {
        using K = orvo::TOggettiHel;
        std::vector<std::int32_t> codes;
        for (K kind : {K::testoHtml, K::internetLink, K::genLink, K::keyword, K::immagine,
                       K::custom, K::immagineNew})
            for (const auto& object : set.KindList(kind))
                if (!object->IsFree() && codes.size() < 24) codes.push_back(object->Code());
        for (std::int32_t code : codes) (void)orvo::ReferenceLines(set, code);
        orvo::DocumentSnapshot snapshot(set);
        if (!codes.empty()) (void)orvo::ReferenceLines(snapshot.Set(), codes.back());
        codes.resize(std::min<std::size_t>(codes.size(), 4));
        (void)orvo::DeleteObjects(set, codes);
    }
    std::error_code ec;
    std::filesystem::remove(file, ec);
    return 0;
}
