// The settings file store and the localiser: what a write, a batch of writes, a read and a
// window's block cost.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <map>

#include "app/uQzLangs.h"
#include "base/Cp1252.h"
#include "platform/FileSettings.h"

using namespace orvo;

namespace {

std::filesystem::path BenchFile(const char* name) {
    char pattern[] = "/tmp/orvo-bench-XXXXXX";
    const std::filesystem::path folder = ::mkdtemp(pattern);
    return folder / name;
}

// A hive of the size a user's reaches: 40 file types, 3 publishing configurations, options.
void Fill(FileSettings& settings) {
    FileSettings::Batch batch(settings);
    for (int i = 0; i < 40; ++i) {
        const std::string group = "ext\\.e" + std::to_string(i);
        settings.Write(group, "comp", "2");
        settings.Write(group, "appPath", "/usr/bin/program" + std::to_string(i));
        settings.Write(group, "nam", "Descrizione del tipo");
    }
    for (int n = 0; n < 3; ++n)
        for (int v = 0; v < 20; ++v)
            settings.Write("ftpnet\\" + std::to_string(n), "value" + std::to_string(v), "abc");
    for (int v = 0; v < 30; ++v) settings.Write("options", "opt" + std::to_string(v), "1");
}

void BM_WriteOneValue(benchmark::State& state) {
    const auto path = BenchFile("settings.reg");
    FileSettings settings(path);
    Fill(settings);
    int i = 0;
    for (auto _ : state) settings.Write("options", "LastFile", std::to_string(i++));
    std::filesystem::remove_all(path.parent_path());
}
BENCHMARK(BM_WriteOneValue)->Unit(benchmark::kMillisecond);

void BM_WriteTwentyInABatch(benchmark::State& state) {
    const auto path = BenchFile("settings.reg");
    FileSettings settings(path);
    Fill(settings);
    for (auto _ : state) {
        FileSettings::Batch batch(settings);
        for (int v = 0; v < 20; ++v) settings.Write("options", "opt" + std::to_string(v), "0");
    }
    std::filesystem::remove_all(path.parent_path());
}
BENCHMARK(BM_WriteTwentyInABatch)->Unit(benchmark::kMillisecond);

void BM_ReadUnchangedFile(benchmark::State& state) {
    const auto path = BenchFile("settings.reg");
    FileSettings settings(path);
    Fill(settings);
    for (auto _ : state) benchmark::DoNotOptimize(settings.Read("ext\\.e39", "appPath"));
    std::filesystem::remove_all(path.parent_path());
}
BENCHMARK(BM_ReadUnchangedFile)->Unit(benchmark::kMicrosecond);

void BM_ReadAfterAnotherProgramWrote(benchmark::State& state) {
    const auto path = BenchFile("settings.reg");
    FileSettings settings(path), other(path);
    Fill(settings);
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        other.Write("options", "LastFile", std::to_string(i++));
        state.ResumeTiming();
        benchmark::DoNotOptimize(settings.Read("options", "LastFile"));
    }
    std::filesystem::remove_all(path.parent_path());
}
BENCHMARK(BM_ReadAfterAnotherProgramWrote)->Unit(benchmark::kMicrosecond);

// A window of n labels, each with a caption and a hint.
class Window final : public ILocalizableWindow {
public:
    class Label final : public ILocalizableComponent {
    public:
        explicit Label(std::string name) : name_(std::move(name)) {}
        std::string Name() const override { return name_; }
        ComponentKind Kind() const override { return ComponentKind::Other; }
        std::vector<PropertyInfo> Properties() const override {
            return {{"Caption", PropertyType::Text}, {"Hint", PropertyType::Text}};
        }
        std::string GetValue(std::string_view p) const override {
            return SameText1252(p, "caption") ? caption_ : hint_;
        }
        bool SetValue(std::string_view p, std::string_view v) override {
            (SameText1252(p, "caption") ? caption_ : hint_) = std::string(v);
            return true;
        }

    private:
        std::string name_, caption_, hint_;
    };
    explicit Window(int n) {
        for (int i = 0; i < n; ++i) labels_.emplace_back("Label" + std::to_string(i));
    }
    std::string Name() const override { return "FProva"; }
    ComponentKind Kind() const override { return ComponentKind::Window; }
    std::vector<PropertyInfo> Properties() const override {
        return {{"Caption", PropertyType::Text}};
    }
    std::string GetValue(std::string_view) const override { return caption_; }
    bool SetValue(std::string_view, std::string_view v) override {
        caption_ = std::string(v);
        return true;
    }
    std::vector<ILocalizableComponent*> Components() override {
        std::vector<ILocalizableComponent*> out;
        for (auto& l : labels_) out.push_back(&l);
        return out;
    }
    ILocalizableComponent* FindComponent(std::string_view) override { return nullptr; }

private:
    std::string caption_;
    std::vector<Label> labels_;
};

void BM_ApplyBlock(benchmark::State& state) {
    const int n = int(state.range(0));
    Window window(n);
    std::string block = "*_*fprova_caption\r\n Prova\r\n";
    for (int i = 0; i < n; ++i) {
        block += "*_*label" + std::to_string(i) + "_caption\r\n Etichetta numero " +
                 std::to_string(i) + "\r\n";
        block += "*_*label" + std::to_string(i) + "_hint\r\n Suggerimento\r\n";
    }
    TQzLanguager localiser(window);
    for (auto _ : state) benchmark::DoNotOptimize(localiser.SetLocalizationString(block).ok());
    state.SetItemsProcessed(state.iterations() * (2 * n + 1));
}
BENCHMARK(BM_ApplyBlock)->Arg(20)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace
