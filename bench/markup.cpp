// Reading and writing a 10 MB page text (paragraphs of about 1 KB with heads, runs, links and
// references) with the headless measurer; bytes per second of markup.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "BenchMarkupHost.h"
#include "base/ByteStream.h"
#include "model/Markup.h"
#include "model/StyleRecord.h"
#include "model/uKYTogge.h"
#include "platform/FixedMetrics.h"

namespace orvo {
namespace {

// A canonical text of about `size` bytes, as the writer writes it.
std::string PageText(std::size_t size) {
    std::mt19937 random(7);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    std::string text;
    text.reserve(size + 4096);
    while (text.size() < size) {
        text += pick(4) == 0 ? "<Z S0 c0000FF A2 l20 >" : "<Z S0 >";
        for (int words = 0; words < 150; ++words) {
            switch (pick(40)) {
                case 0:
                    text += "<Y y1 >";
                    break;
                case 1:
                    text += "<Y c00FF00 s14 >";
                    break;
                case 2:
                    text += "<Y >";
                    break;
                case 3:
                    text += "<$6f00000" + std::to_string(pick(10)) + ">";
                    break;
                case 4:
                    text += "<%>";
                    break;
                case 5:
                    text += "&amp;";
                    break;
                default:
                    break;
            }
            static const char* const kWords[] = {"testo",     "ipertesto", "pagina", "collegamento",
                                                 "perch\xE9", "cos\xEC",   "e",      "di",
                                                 "la",        "il"};
            text += kWords[pick(10)];
            text += ' ';
        }
    }
    BenchMarkupHost host;
    text += '\0';
    return WriteText(ReadText(text, host), host);  // canonical: what the writer writes
}

const std::string& TenMegabytes() {
    static const std::string text = PageText(10 * 1024 * 1024);
    return text;
}

void ReadPageText(benchmark::State& state) {
    BenchMarkupHost host;
    MemoryStream stream(TenMegabytes());
    for (auto _ : state) {
        (void)stream.Seek(0);
        Paragraphs paragraphs = ReadText(stream, host);
        benchmark::DoNotOptimize(paragraphs.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(TenMegabytes().size()));
}
BENCHMARK(ReadPageText)->Unit(benchmark::kMillisecond);

void WritePageText(benchmark::State& state) {
    BenchMarkupHost host;
    const Paragraphs paragraphs = ReadText(TenMegabytes(), host);
    MemoryStream stream;
    for (auto _ : state) {
        stream.Clear();
        benchmark::DoNotOptimize(WriteText(stream, paragraphs, host));
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(TenMegabytes().size()));
}
BENCHMARK(WritePageText)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvo
