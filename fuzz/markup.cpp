// Feeds bytes to the markup reader (as a whole text and as a cell text, in modes 0 and 1, with
// remap tables), to the character reference decoder over the exact bytes, and to the legacy
// tag conversion; what is read is written, read again and must write the same bytes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/ByteStream.h"
#include "model/Entities.h"
#include "model/LegacyText.h"
#include "model/Markup.h"
#include "model/StyleRecord.h"
#include "model/TextForms.h"
#include "model/uKYTogge.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"

namespace {

using namespace orvo;

// Three styles, an image (page object 0) and two tables (1: 2 x 2, 2: 1 x 1).
class FuzzHost final : public IMarkupHost {
public:
    FuzzHost() {
        for (int n = 0; n < 3; ++n) {
            auto style = std::make_unique<TKYToggetto>();
            style->SetKind(TOggettiHel::stileParagrafo);
            style->SetIdentifier(n);
            if (n < 2) {
                SetBuiltInStyle(style->Record(), n);
            } else {
                StyleRecord record(style->Record());
                record.SetDefaults();
                record.SetSize(30);
                record.SetLinkSize(8);
            }
            styles_.push_back(std::move(style));
        }
        const TOggettiHel kinds[] = {TOggettiHel::immagineNew, TOggettiHel::tabellaHtml,
                                     TOggettiHel::tabellaHtml};
        for (int n = 0; n < 3; ++n) {
            auto object = std::make_unique<TKYToggetto>();
            object->SetKind(kinds[n]);
            object->SetIdentifier(n);
            objects_.push_back(std::move(object));
        }
    }

    ITextMeasurer& Measurer() override { return metrics_; }
    IMessages& Messages() override { return messages_; }
    const TKYToggetto* StyleByNumber(std::int32_t n) override {
        return n >= 0 && n < 3 ? styles_[std::size_t(n)].get() : nullptr;
    }
    TKYToggetto* PageObject(std::int32_t id) override {
        return id >= 0 && id < 3 ? objects_[std::size_t(id)].get() : nullptr;
    }
    std::int32_t PageObjectIdentifier(const TKYToggetto& object) override {
        return object.Identifier();
    }
    ObjectSize SizeOf(const TKYToggetto&) override { return {20, 10}; }
    ITableCells* TableCells(const TKYToggetto& object) override {
        if (object.Identifier() == 1) return &big_;
        if (object.Identifier() == 2) return &small_;
        return nullptr;
    }

private:
    FixedMetrics metrics_;
    RecordingMessages messages_;
    std::vector<std::unique_ptr<TKYToggetto>> styles_;
    std::vector<std::unique_ptr<TKYToggetto>> objects_;
    MemoryTableCells big_{2, 2};
    MemoryTableCells small_{1, 1};
};

class FuzzLegacyObjects final : public ILegacyObjects {
public:
    std::int32_t ReplacementOf(std::int32_t) override { return 0x03000001; }
    std::int32_t NewImageFor(std::int32_t) override { return 0x10000000; }
    std::int32_t NewShortObjFor(std::int32_t) override { return -1; }
    int KindOf(std::int32_t code) override { return int((std::uint32_t(code) >> 24) & 0xFF); }
    int TableCells(std::int32_t code) override { return int(code & 7); }
};

void CheckStable(const std::string& bytes, int mode, const MarkupRemap* remap) {
    FuzzHost host;
    MemoryStream stream(bytes);
    const Paragraphs first = ReadText(stream, host, mode, remap);
    for (const auto& para : first) {
        if (para->metrics.size() != para->text.size() + 1 || para->lines.empty()) __builtin_trap();
        MemoryStream piece;
        (void)para->WriteMarkup(piece, wmRange, 1, 3, host);
        (void)para->WriteMarkup(piece, wmContinuation, 0, -1, host);
    }
    const std::string written = WriteText(first, host);
    const std::string again = WriteText(ReadText(written, host, 0), host);
    if (mode == 0 && !remap && again != written) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckStable(bytes, 0, nullptr);
    CheckStable(bytes, 1, nullptr);
    MarkupRemap remap;
    remap.objectIds = RemapList{{5, 6}, {1, 2}};
    remap.codes = RemapList{{0x11000007, 0x6F000001}, {0x11000002, 0x6F000003}};
    CheckStable(bytes, 0, &remap);
    {
        FuzzHost host;
        MemoryStream stream(bytes);
        (void)ReadCellText(stream, host, 0);
    }
    // The decoder over the exact bytes: no read past them.
    const std::string_view exact(reinterpret_cast<const char*>(data), size);
    for (std::size_t i = 0; i < size; ++i) {
        if (exact[i] != '&') continue;
        std::size_t pos = i;
        (void)DecodeEntity(exact, pos);
        if (pos <= i || pos > size) __builtin_trap();
    }
    FuzzLegacyObjects objects;
    const std::string converted = ConvertLegacyTags(bytes, LegacyPage{}, objects);
    if (converted.empty() || converted.back() != '\0') __builtin_trap();
    CheckStable(converted, 0, nullptr);
    return 0;
}
