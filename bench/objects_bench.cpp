// A page of 200 images laid out and painted through their views, and the HTML export of
// 1,000 pages that show 5 images each against the same pages without images.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "base/Files.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "convert/HtmlExport.h"
#include "model/SampleHypertext.h"
#include "model/TextForms.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/ImageRecord.h"
#include "objects/ObjectViews.h"
#include "picture/GifCodec.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"
#include "platform/RecordingCanvas.h"
#include "textbox/uKYTboxView.h"

namespace orvo {
namespace {

// A registered picture of `side` x `side` pixels in a few colours; its identifier.
std::int32_t AddPicture(TKYTset& set, const std::filesystem::path& folder, int n, int side) {
    Bitmap bitmap(side, side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            bitmap.Set(x, y,
                       {std::uint8_t(x * 4 + n * 40), std::uint8_t(y * 4), std::uint8_t(n * 60)});
    std::string name = std::to_string(n);
    name += ".gif";
    const std::filesystem::path file = folder / name;
    Result<std::string> gif = BitmapToGif(bitmap, false);
    if (!gif) return -1;
    if (!WriteFileAtomically(file, *gif, 0600u, set.FileSystem())) return -1;
    Result<TKYToggetto*> added = set.AddPictureFromFile(NameOfPath(file));
    return added ? (*added)->Identifier() : -1;
}

// The code of a registered image object showing the picture, with two zones to page 0.
std::int32_t AddImage(TKYTset& set, std::int32_t picture) {
    auto image = NewImageObject(set, set.ObjectByKind(TOggettiHel::immagine, picture));
    ImageRecord record(*image);
    record.SetZone(0, {MakeCode(TOggettiHel::testoHtml, 0), 0, 0, 0, 10, 10});
    record.SetZone(1, {MakeCode(TOggettiHel::testoHtml, 0), 0, 10, 10, 10, 10});
    return MakeCode(TOggettiHel::immagineNew, set.Register(std::move(image), -1));
}

std::filesystem::path BenchFolder(const char* name) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / (std::string(name) + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    return folder;
}

void BM_LayoutAndPaint200Images(benchmark::State& state) {
    const std::filesystem::path folder = BenchFolder("orvo-images-bench-");
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    MakeSampleHypertext(set, SampleOptions{.pages = 1});
    std::vector<std::int32_t> pictures;
    for (int n = 0; n < 4; ++n) pictures.push_back(AddPicture(set, folder, n, 48));
    // Ten paragraphs of text with 20 images each, between words.
    std::string text;
    for (int p = 0; p < 10; ++p) {
        text += "<Z S0 >";
        for (int i = 0; i < 20; ++i)
            text += "parola <$" + Hex8(std::uint32_t(AddImage(set, pictures[std::size_t(i % 4)]))) +
                    "> ";
    }
    TKYToggetto& page = *set.ObjectByKind(TOggettiHel::testoHtml, 0);
    page.SetContent(text + '\0');
    auto working = OpenText(set, page, false);
    const std::string body = *working->ContentBytes();
    FixedMetrics metrics;
    RecordingBoxHost surface(800, 600);
    ManualScheduler scheduler;
    ObjectViewHost host(surface, set, messages, scheduler);
    host.SetReadOnly(true);
    TKYTboxView view(set, *working, metrics, host);
    view.Box().drawObjectsOnCanvas = true;
    std::size_t drawn = 0;
    for (auto _ : state) {
        host.Clear();
        view.LoadText(std::nullopt, body, std::nullopt);
        RecordingCanvas canvas(metrics);
        view.Box().Paint(canvas, {0, 0, 800, std::max(view.Box().Height(), 600)});
        drawn = canvas.OpsOf(CanvasOpKind::Image).size();
        benchmark::DoNotOptimize(drawn);
    }
    state.counters["images"] = double(drawn);
    host.Clear();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LayoutAndPaint200Images)->Unit(benchmark::kMillisecond);

// Argument: 1 with 5 images a page, 0 without.
void BM_Export1000Pages(benchmark::State& state) {
    const bool withImages = state.range(0) != 0;
    const std::filesystem::path folder = BenchFolder("orvo-images-export-");
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    MakeSampleHypertext(set, SampleOptions{.pages = 1000, .textKb = 2});
    if (withImages) {
        std::vector<std::int32_t> images;
        for (int n = 0; n < 5; ++n) images.push_back(AddImage(set, AddPicture(set, folder, n, 32)));
        for (const auto& page : set.KindList(TOggettiHel::testoHtml)) {
            if (!page || page->IsFree() || page->Identifier() < 3) continue;
            std::string text = *page->ContentBytes();
            if (!text.empty() && text.back() == '\0') text.pop_back();
            text += "<Z S0 >";
            for (std::int32_t code : images) text += "<$" + Hex8(std::uint32_t(code)) + "> ";
            page->SetContent(text + '\0');
        }
    }
    const std::string document = NameOfPath(folder / "Grande.kyt");
    if (!set.SaveToFile(document) || !set.LoadFromFile(document)) {
        state.SkipWithError("save failed");
        return;
    }
    TKYTtoHtml html(&set);
    int run = 0;
    for (auto _ : state) {
        html.ExportPath = NameOfPath(folder / ("sito" + std::to_string(++run)));
        std::vector<TKYToggetto*> images;
        if (!html.ExportAllPages(images) || !html.WriteObjectFiles(images))
            state.SkipWithError("export failed");
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_Export1000Pages)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

}  // namespace
}  // namespace orvo
