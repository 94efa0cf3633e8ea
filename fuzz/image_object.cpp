// Bytes as an image object's record (from a document of anyone) and as "Orvo30 zone" clipboard
// data (from another program): the view sets itself up, lays out, pastes, adds zones and stores
// them back within the 30 slots; the page that shows the image is written as HTML.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "base/Format.h"
#include "convert/HtmlExport.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/ImageRecord.h"
#include "objects/uKYTvisu.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"

namespace {

using namespace orvo;

class Site final : public IVisualSite {
public:
    explicit Site(TKYTset& set) : set_(set) {}
    TKYTset& LinkedKYTset() override { return set_; }
    IMessages& Messages() override { return set_.Messages(); }
    IScheduler& Scheduler() override { return scheduler_; }

private:
    TKYTset& set_;
    ManualScheduler scheduler_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FixedEnvironment environment;
    static RecordingMessages messages;
    static TKYTset set(environment, messages);
    static TKYTtoHtml html(&set);
    static std::int32_t imageId = -1;
    static std::int32_t pageId = -1;
    if (pageId < 0) {
        auto page = NewObjectOfKind(TOggettiHel::testoHtml, &set);
        page->Clear();
        page->TakeIntoUse();
        pageId = set.Register(std::move(page), -1);
    }
    if (imageId < 0) {
        auto image = NewObjectOfKind(TOggettiHel::immagineNew, &set);
        image->Clear();
        imageId = set.Register(std::move(image), -1);
    }
    TKYToggetto* image = set.ObjectByKind(TOggettiHel::immagineNew, imageId);
    TKYToggetto* page = set.ObjectByKind(TOggettiHel::testoHtml, pageId);
    if (!image || !page) return 0;

    // The first 553 bytes are the record as a document stores it; the rest is clipboard data.
    const std::size_t recordBytes = std::min<std::size_t>(size, 553);
    auto record = image->Record();
    std::fill(record.begin(), record.end(), std::uint8_t(0xFF));
    if (recordBytes > 0) std::memcpy(record.data(), data, recordBytes);
    const std::string clip =
        size > recordBytes
            ? std::string(reinterpret_cast<const char*>(data) + recordBytes, size - recordBytes)
            : std::string();

    Site site(set);
    TMyyImage view(messages);
    view.SetSite(&site);
    view.SetObject(image);
    view.UpdateSize(600);
    if (view.Size().width <= 0 || view.Size().height <= 0) __builtin_trap();
    view.PasteFromClipboard([&](std::string_view format) -> std::optional<std::string> {
        if (format == kZoneFormat) return clip;
        return std::nullopt;
    });
    view.SetLastMouse({std::int32_t(size) - 300, std::int32_t(size % 97) - 10});
    view.AddZone();
    if (view.Zones().size() > std::size_t(kZoneCount)) __builtin_trap();
    view.StoreToObject();
    if (!clip.empty()) view.ResizeTo(std::uint8_t(clip[0]), std::int32_t(clip.size()));
    view.Setup();
    if (view.Zones().size() > std::size_t(kZoneCount)) __builtin_trap();

    page->SetContent("<Z S0 >a<$" + Hex8(std::uint32_t(image->Code())) + ">b" + '\0');
    TExportContext context;
    std::vector<TKYToggetto*> images;
    context.images = &images;
    const std::string body = html.WriteBody(1, context, *page);
    if (body.find("<BODY") != 0) __builtin_trap();
    return 0;
}
