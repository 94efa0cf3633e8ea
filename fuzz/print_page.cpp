// Fuzzes printing a page whose stored text is almost anything, with a table, an image, a
// place holder and a header page it may name, on a small sheet: the job ends, and no sheet
// after the first is blank.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/HeaderRecord.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/RecordingPrintDevice.h"
#include "textbox/TPageSetupDialog.h"
#include "textbox/uKYTprint.h"

using namespace orvo;

namespace {

TKYToggetto& AddObject(TKYTset& set, TOggettiHel kind) {
    auto object = NewObjectOfKind(kind, &set);
    object->Clear();
    object->TakeIntoUse();
    const std::int32_t id = set.Register(std::move(object));
    return *set.ObjectByKind(kind, id);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FixedEnvironment env;
    RecordingMessages messages;
    TKYTset set(env, messages);
    // Objects the text may name: a table of 3 x 2 cells (code 08000000), an image without a
    // picture (10000000), an input field (14000000).
    TKYToggetto& table = AddObject(set, TOggettiHel::tabellaHtml);
    table.Record()[93] = 3;
    table.Record()[94] = 2;
    TKYToggetto& image = AddObject(set, TOggettiHel::immagineNew);
    image.View().SetI16(kImageWidth, 3000);
    image.View().SetI16(kImageHeight, 9000);
    AddObject(set, TOggettiHel::inputStat).Record()[4] = 1;
    TKYToggetto& page = AddObject(set, TOggettiHel::testoHtml);
    page.SetContent(std::string(reinterpret_cast<const char*>(data), size) + '\0');
    AddObject(set, TOggettiHel::testoHtml).SetContent(std::string("<Z S0 >h\0", 9));
    set.HeaderRecordView().SetI32(kHdrHeaderPage, 1);

    // A small sheet: 1 x 1.5 inches at 600 pixels per inch, margins of 2 mm.
    RecordingPrintDevice device({600, 900, 25, 38}, 600);
    TPageSetupDialog setup;
    setup.SetMarginLeft(200);
    setup.SetMarginTop(200);
    setup.SetMarginRight(200);
    setup.SetMarginBottom(200);
    TKYTpageP printing(set, device);
    printing.printBackground = size > 0 && (data[0] & 1);
    printing.printTableBackground = true;
    printing.Riempi(&page, setup);
    const auto sheets = device.AllSheets();
    for (std::size_t i = 1; i < sheets.size(); ++i)
        if (sheets[i]->ops.empty() && sheets[i]->images.empty()) std::abort();
    return 0;
}
