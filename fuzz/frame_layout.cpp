// Fuzzes frame-layout files and stored frame maps: a layout that is read writes back to bytes
// that read as the same tree, and loading it into a frame set (pages shown in every frame,
// sizes arranged, a bar dragged, a splitter moved, the layout and the page's map written)
// never reads outside the data; a refused layout leaves the frame set's tree as it was.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "textbox/FramePages.h"
#include "textbox/FrameRecord.h"
#include "textbox/TKYTpageHeadless.h"
#include "textbox/uKYTCornice.h"

using namespace orvo;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void AddPage(TKYTset& set, std::string_view text) {
    auto page = NewObjectOfKind(TOggettiHel::testoHtml, &set);
    page->Clear();
    page->TakeIntoUse();
    page->SetContent(std::string(text) + '\0');
    set.Register(std::move(page));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // The file as a layout file, and its tail as the stream of a stored map whose record
    // notes the size the first byte gives.
    Result<FrameNode> tree = ReadFrameLayout(input);
    if (tree) {
        const std::string written = WriteFrameLayout(*tree);
        Result<FrameNode> again = ReadFrameLayout(written);
        Check(again.ok());
        Check(WriteFrameLayout(*again) == written);
    }
    FixedEnvironment env;
    RecordingMessages messages;
    TKYTset set(env, messages);
    AddPage(set, "<Z S0 >Uno");
    AddPage(set, "<Z S0 >Due");
    if (!input.empty()) {
        auto map = NewObjectOfKind(TOggettiHel::mappaFrame, &set);
        map->Clear();
        map->TakeIntoUse();
        map->View().SetI32(kFrameMapRecordSize, static_cast<std::uint8_t>(input[0]));
        map->SetAuxiliary(std::string(input.substr(1)));
        const std::int32_t mapId = set.Register(std::move(map));
        PageRecord(*set.ObjectByKind(TOggettiHel::testoHtml, 1)).SetFrameMap(mapId);
    }

    FixedMetrics metrics;
    HeadlessTextViewFactory views(metrics);
    RecordingUndoPurge undo;
    ManualSpellPacer spell;
    ManualScheduler scheduler;
    SurfaceFramePageFactory pages(views, undo, spell, scheduler);
    TKYTframeSet frames(messages, scheduler, pages);
    frames.SetLinkedKYTset(&set);
    frames.SaveOnExit = true;
    frames.SetClientSize(400, 300);
    frames.SetMainPageNumber(1);  // through its map, when the map reads
    frames.SetMainPageNumber(0);
    const std::string before = frames.Split() ? WriteFrameRecords(frames.TreeNode(true)) : "";
    const bool loaded = frames.LoadLayout(input, size % 2 == 1);
    if (!loaded) {
        Check(!frames.Split() || WriteFrameRecords(frames.TreeNode(true)) == before);
        return 0;
    }
    for (TKYTFrame* leaf : frames.Leaves()) {
        Check(leaf->bounds.left >= 0 && leaf->bounds.right <= 400);
        Check(leaf->bounds.top >= 0 && leaf->bounds.bottom <= 300);
    }
    if (TKYTFrame* top = frames.Top()) frames.DragBar(*top, FrameBar::Top, 60);
    auto leaves = frames.Leaves();
    if (!leaves.empty()) frames.MoveSplitter(*leaves.front(), 5);
    std::string layout;
    if (frames.SaveLayout(layout)) Check(ReadFrameLayout(layout).ok());
    frames.SetMainPageNumber(1);  // writes the page's map
    return 0;
}
