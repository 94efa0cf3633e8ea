// The print window's rules ("Stampa"): the list of pages to print, its buttons, the options,
// and printing the list page by page, each page one job.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvo {

class IPrintDevice;
class TKYTset;
class TPageSetupDialog;

/// The "Opzioni" tab: "sfondo", "sfondo tabelle", "Scala immagini:" (20 to 20000).
struct PrintOptions {
    bool background = false;
    bool tableBackground = false;
    std::int32_t imageScale = 2500;
};

/// Page numbers below this are pages; the list holds nothing else.
inline constexpr std::int32_t kMaxPageNumber = 0x1000000;

/// Every live page in the default page order (the page tree's order).
std::vector<std::int32_t> DefaultPageOrder(TKYTset& set);

/// Prints the pages in order, each page one job of the device. `progress` is told (steps done,
/// steps in all), two steps a page. Returns the number of pages printed; stops at the first
/// page that could not be printed (its message shown through the hypertext's messages).
int PrintPages(TKYTset& set, const std::vector<std::int32_t>& pages, IPrintDevice& device,
               TPageSetupDialog& setup, const PrintOptions& options,
               const std::function<void(int, int)>& progress = {});

class TFprintRules {
public:
    struct Item {
        std::string name;  // the page's name, Windows-1252
        std::int32_t page = -1;
        bool operator==(const Item&) const = default;
    };

    explicit TFprintRules(TKYTset& set) : set_(set) {}

    const std::vector<Item>& Items() const { return items_; }
    /// Adds a page: not a number below 0, not a page that does not exist, not one already
    /// listed. True when it was added.
    bool Add(std::int32_t page);
    /// "Tutte, in ordine predefinito": the list becomes every page in the default order.
    void AllInDefaultOrder();
    /// "Sposta prima", "Sposta dopo": false at the end of the list.
    bool MoveUp(std::size_t index);
    bool MoveDown(std::size_t index);
    /// "Cestina selezionata".
    void Remove(std::vector<std::size_t> indices);
    void Clear() { items_.clear(); }

    /// "&Stampa": an empty list first gets the page shown in the preview; then every listed
    /// page is printed in order. Returns the pages printed.
    int Print(IPrintDevice& device, TPageSetupDialog& setup, const PrintOptions& options,
              std::int32_t previewPage, const std::function<void(int, int)>& progress = {});

private:
    TKYTset& set_;
    std::vector<Item> items_;
};

}  // namespace orvo
