// Feeds every file under the folders (or files) named on the command line, and an empty input,
// to a fuzz target, so the corpora are replayed by ordinary test runs built without libFuzzer.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

static void Feed(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());  // exact size: overreads show
    LLVMFuzzerTestOneInput(copy.data(), copy.size());
}

int main(int argc, char** argv) {
    LLVMFuzzerTestOneInput(nullptr, 0);
    int fed = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path root(argv[i]);
        if (std::filesystem::is_directory(root)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
                if (entry.is_regular_file()) Feed(entry.path()), ++fed;
        } else if (std::filesystem::is_regular_file(root)) {
            Feed(root), ++fed;
        }
    }
    std::printf("replayed %d inputs\n", fed);
    return 0;
}
