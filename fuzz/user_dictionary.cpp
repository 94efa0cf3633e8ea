// The user dictionary reader over any bytes: every word it keeps is one the file can hold and
// reads back the same; and the same bytes as a Windows-1252 buffer verified to its end, each
// problem inside the buffer and the check always moving on.
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "spell/HunspellEngine.h"
#include "spell/UserDictionary.h"

namespace {

orvo::HunspellEngine& Engine() {
    static std::unique_ptr<orvo::HunspellEngine> engine = [] {
        const auto folder = std::filesystem::temp_directory_path() /
                            ("orvo-fuzz-spell-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "t.aff") << "SET UTF-8\nPFX E Y 1\nPFX E 0 dell' .\n";
        std::ofstream(folder / "t.dic") << "4\ncasa\nperch\xC3\xA9\nanno/E\nil\n";
        auto loaded = orvo::HunspellEngine::Load(folder / "t.aff", folder / "t.dic");
        std::filesystem::remove_all(folder);
        if (!loaded) std::abort();
        return loaded;
    }();
    return *engine;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> words = orvo::ReadUserDictionary(bytes);
    for (const std::string& word : words)
        if (!orvo::IsUserWord(word)) std::abort();
    if (orvo::ReadUserDictionary(orvo::WriteUserDictionary(words)) != words) std::abort();

    if (size > 4096) return 0;
    orvo::HunspellEngine& engine = Engine();
    engine.SetOptions(size > 0 ? std::uint16_t(data[0]) << 4 | 15 : 15);
    std::size_t pointer = 0;
    int state = orvo::kSpellStateStart;
    while (pointer < bytes.size()) {
        const orvo::SpellVerdict verdict = engine.Verify(bytes.substr(pointer), state);
        state = orvo::kSpellStateContinue;
        if (verdict.status == orvo::kSpellOk) break;
        if (verdict.length == 0 || verdict.offset + verdict.length > bytes.size() - pointer)
            std::abort();
        const std::size_t step = orvo::SpellResumeAfter(verdict);
        if (step == 0) std::abort();
        pointer += step;
    }
    return 0;
}
