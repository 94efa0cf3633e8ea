// The HTML export of 1,000 pages that each hold a form (a form start, a text field, a check
// box, a submit button) and a special link opening a page in a popup window, against the same
// pages with their text only.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "base/Format.h"
#include "base/Paths.h"
#include "convert/HtmlExport.h"
#include "model/FormFields.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"

namespace orvo {
namespace {

using K = TOggettiHel;

std::string Add(TKYTset& set, K kind, int subtype, const std::function<void(RecordView)>& fill) {
    auto object = NewObjectOfKind(kind, &set);
    object->Clear();
    object->TakeIntoUse();
    object->Record()[4] = std::uint8_t(subtype);
    fill(object->View());
    const std::int32_t id = set.Register(std::move(object), -1);
    return "<$" + Hex8(std::uint32_t(MakeCode(kind, id))) + ">";
}

// Each page from the first chapter page on gets its form and its popup link.
void AddForms(TKYTset& set) {
    for (const auto& page : set.KindList(K::testoHtml)) {
        if (!page || page->IsFree() || page->Identifier() < 3) continue;
        std::string text = *page->ContentBytes();
        if (!text.empty() && text.back() == '\0') text.pop_back();
        text += "<Z S0 >" + Add(set, K::inizioForm, 2, [](RecordView r) {
                    r.SetPStr(kFormAction, "/cgi-bin/modulo");
                    r.SetU8(kFormHasEncoding, 0);
                });
        auto input = [&](FormInputKind kind, std::string_view name) {
            return Add(set, K::inputStat, int(kind), [&](RecordView r) {
                r.SetPStr(kInputName, name);
                r.SetPStr(kInputValue, "valore");
                r.SetU8(kInputSize, 20);
                r.SetU8(kInputHasValue, 1);
                r.SetU8(kInputChecked, 1);
            });
        };
        text += "Nome: " + input(FormInputKind::Text, "nome") + " " +
                input(FormInputKind::CheckBox, "scelta") + " " +
                Add(set, K::bottoneCGI, 1, [](RecordView r) {
                    r.SetPStr(kButtonName, "invia");
                    r.SetPStr(kButtonCaption, "Invia");
                    r.SetI32(kButtonPicture, -1);
                    r.SetI32(kButtonLink, -1);
                });
        text += "<Z S0 >" +
                Add(set, K::speclink, 1,
                    [](RecordView r) {
                        r.SetU8(kSpecAction, 4);
                        r.SetU8(kSpecFrame, 0);
                        r.SetI32(kSpecTarget, MakeCode(K::testoHtml, 0));
                        r.SetI32(kSpecAnchor, -1);
                        r.SetPStr(kSpecName, "finestra");
                    }) +
                "la copertina a parte<%>";
        page->SetContent(text + '\0');
    }
}

// Argument: 1 with a form and a popup link a page, 0 the text alone.
void BM_ExportFormPages(benchmark::State& state) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("orvo-forms-export-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    MakeSampleHypertext(set, SampleOptions{.pages = 1000, .textKb = 2});
    if (state.range(0) != 0) AddForms(set);
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
BENCHMARK(BM_ExportFormPages)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

}  // namespace
}  // namespace orvo
