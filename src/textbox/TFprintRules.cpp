// The print window's rules and printing a list of pages.
#include "textbox/TFprintRules.h"

#include <algorithm>

#include "model/TKYTorderedTree.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "textbox/uKYTprint.h"

namespace orvo {

std::vector<std::int32_t> DefaultPageOrder(TKYTset& set) {
    TKYTorderedTree tree(&set, TOggettiHel::testoHtml);
    tree.LoadTree();
    std::vector<std::int32_t> codes;
    tree.CollectCodes(codes);
    std::vector<std::int32_t> pages;
    for (std::int32_t code : codes) {
        const std::int32_t page = code & 0xFFFFFF;
        if ((code >> 24) == 0 && LivePage(set, page) &&
            std::find(pages.begin(), pages.end(), page) == pages.end())
            pages.push_back(page);
    }
    return pages;
}

int PrintPages(TKYTset& set, const std::vector<std::int32_t>& pages, IPrintDevice& device,
               TPageSetupDialog& setup, const PrintOptions& options,
               const std::function<void(int, int)>& progress) {
    const int total = int(pages.size()) * 2;
    int step = 0, printed = 0;
    for (std::int32_t number : pages) {
        if (progress) progress(++step, total);
        if (number < 0 || number >= kMaxPageNumber) {
            if (progress) progress(++step, total);
            continue;
        }
        TKYTpageP page(set, device);
        page.printBackground = options.background;
        page.printTableBackground = options.tableBackground;
        page.imageScale = std::clamp(options.imageScale, 20, 20000);
        if (!page.Riempi(LivePage(set, number), setup)) break;
        ++printed;
        if (progress) progress(++step, total);
    }
    return printed;
}

bool TFprintRules::Add(std::int32_t page) {
    if (page < 0 || page >= kMaxPageNumber) return false;
    const TKYToggetto* object = LivePage(set_, page);
    if (!object) return false;
    for (const Item& item : items_)
        if (item.page == page) return false;
    items_.push_back({object->Name(), page});
    return true;
}

void TFprintRules::AllInDefaultOrder() {
    items_.clear();
    for (std::int32_t page : DefaultPageOrder(set_)) Add(page);
}

bool TFprintRules::MoveUp(std::size_t index) {
    if (index == 0 || index >= items_.size()) return false;
    std::swap(items_[index - 1], items_[index]);
    return true;
}

bool TFprintRules::MoveDown(std::size_t index) {
    if (index + 1 >= items_.size()) return false;
    std::swap(items_[index], items_[index + 1]);
    return true;
}

void TFprintRules::Remove(std::vector<std::size_t> indices) {
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    for (auto it = indices.rbegin(); it != indices.rend(); ++it)
        if (*it < items_.size()) items_.erase(items_.begin() + std::ptrdiff_t(*it));
}

int TFprintRules::Print(IPrintDevice& device, TPageSetupDialog& setup, const PrintOptions& options,
                        std::int32_t previewPage, const std::function<void(int, int)>& progress) {
    if (items_.empty()) Add(previewPage);
    std::vector<std::int32_t> pages;
    for (const Item& item : items_) pages.push_back(item.page);
    return PrintPages(set_, pages, device, setup, options, progress);
}

}  // namespace orvo
