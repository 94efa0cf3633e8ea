// The previous and the next page of a browse sequence.
#include "model/BrowseSequence.h"

#include <vector>

namespace orvo {

namespace {

const SequenceEntry* Find(std::span<const SequenceEntry> pages, std::int32_t page) {
    if (page >= 0 && std::size_t(page) < pages.size() &&
        pages[std::size_t(page)].identifier == page)
        return &pages[std::size_t(page)];
    for (const SequenceEntry& entry : pages)
        if (entry.identifier == page) return &entry;
    return nullptr;
}

// direction -1: the previous page, +1: the next.
std::int32_t Neighbour(std::span<const SequenceEntry> pages, std::int32_t page, int direction) {
    const SequenceEntry* self = Find(pages, page);
    if (!self || self->order < 0) return page;
    const int n = self->order;
    std::int32_t best = page;
    int bestOrder = 0;
    bool found = false;
    for (const SequenceEntry& entry : pages) {
        // A page without an order number is outside every sequence, as a neighbour too: the
        // reader could step onto it with "<<" and never come back with ">>".
        if (entry.free || entry.group != self->group || entry.order < 0) continue;
        const int order = entry.order;
        const bool beyond = direction < 0 ? order < n : order > n;
        if (!beyond) continue;
        if (!found || (direction < 0 ? order > bestOrder : order < bestOrder)) {
            best = entry.identifier;
            bestOrder = order;
            found = true;
            if (order == n + direction) break;  // nothing can lie closer
        }
    }
    return best;
}

}  // namespace

std::int32_t PreviousInSequence(std::span<const SequenceEntry> pages, std::int32_t page) {
    return Neighbour(pages, page, -1);
}

std::int32_t NextInSequence(std::span<const SequenceEntry> pages, std::int32_t page) {
    return Neighbour(pages, page, +1);
}

}  // namespace orvo
