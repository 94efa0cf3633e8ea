// The markup host of the benchmarks: the two built-in styles over the headless measurer, no
// page objects.
#pragma once

#include <memory>
#include <vector>

#include "model/Markup.h"
#include "model/StyleRecord.h"
#include "model/uKYTogge.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"

namespace orvo {

class BenchMarkupHost final : public IMarkupHost {
public:
    BenchMarkupHost() {
        for (int n = 0; n < 2; ++n) {
            auto style = std::make_unique<TKYToggetto>();
            style->SetKind(TOggettiHel::stileParagrafo);
            style->SetIdentifier(n);
            SetBuiltInStyle(style->Record(), n);
            styles_.push_back(std::move(style));
        }
    }
    ITextMeasurer& Measurer() override { return metrics_; }
    IMessages& Messages() override { return messages_; }
    const TKYToggetto* StyleByNumber(std::int32_t n) override {
        return n >= 0 && n < 2 ? styles_[std::size_t(n)].get() : nullptr;
    }
    TKYToggetto* PageObject(std::int32_t) override { return nullptr; }
    std::int32_t PageObjectIdentifier(const TKYToggetto& o) override { return o.Identifier(); }
    ObjectSize SizeOf(const TKYToggetto&) override { return {}; }
    ITableCells* TableCells(const TKYToggetto&) override { return nullptr; }

private:
    FixedMetrics metrics_;
    RecordingMessages messages_;
    std::vector<std::unique_ptr<TKYToggetto>> styles_;
};

}  // namespace orvo
