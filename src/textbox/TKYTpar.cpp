// The depth-first paragraph walk.
#include "textbox/TKYTpar.h"

#include <algorithm>

#include "model/TKYTparag.h"
#include "model/uKYTogge.h"

namespace orvo {

TKYTpar::TKYTpar(const Paragraphs& paragraphs, IMarkupHost& host)
    : paragraphs_(&paragraphs), host_(&host) {}

void TKYTpar::EnterTables() {
    cells_.clear();
    cell_ = 0;
    entered_ = true;
    if (index_ >= paragraphs_->size()) return;
    const TKYTparag& paragraph = *(*paragraphs_)[index_];
    // The tables in the order their characters stand in the text.
    std::vector<const TKYToggetto*> tables;
    for (const TKYTcharMetric& metric : paragraph.metrics) {
        if (metric.objectIndex < 0 || std::size_t(metric.objectIndex) >= paragraph.objects.size())
            continue;
        const TKYToggetto* object = paragraph.objects[std::size_t(metric.objectIndex)];
        if (object && object->Kind() == TOggettiHel::tabellaHtml &&
            std::find(tables.begin(), tables.end(), object) == tables.end())
            tables.push_back(object);
    }
    for (const TKYToggetto* table : tables) {
        ITableCells* cells = host_->TableCells(*table);
        if (!cells) continue;
        for (int row = 0; row < cells->Rows(); ++row)
            for (int column = 0; column < cells->Columns(); ++column)
                cells_.push_back(
                    std::make_unique<TKYTpar>(cells->CellParagraphs(row, column), *host_));
    }
}

TKYTparag* TKYTpar::Next() {
    for (;;) {
        while (cell_ < cells_.size()) {
            if (TKYTparag* inCell = cells_[cell_]->Next()) return current_ = inCell;
            ++cell_;
        }
        if (index_ >= paragraphs_->size()) return current_ = nullptr;
        if (!entered_) {
            EnterTables();
            if (!cells_.empty()) continue;
        }
        TKYTparag* paragraph = (*paragraphs_)[index_].get();
        ++index_;
        entered_ = false;
        cells_.clear();
        cell_ = 0;
        return current_ = paragraph;
    }
}

TKYTparag* TKYTpar::NextBody() {
    TKYTparag* paragraph = Next();
    while (paragraph && paragraph->kind != kBodyParagraph) paragraph = Next();
    return paragraph;
}

}  // namespace orvo
