// The previous and the next page of a browse sequence ("<<" and ">>").
#pragma once

#include <cstdint>
#include <span>

namespace orvo {

/// What the sequence needs of one page: record fields 77 (group) and 79 (order number).
struct SequenceEntry {
    std::int32_t identifier = -1;
    std::int16_t group = -1;
    std::int16_t order = -1;
    bool free = false;
};

/// Among the live pages of the same group that have an order number (0 or more), the one with
/// the largest order number below the page's (the first met in identifier order wins a tie); the
/// page itself when it has a negative order number, when none lies below it, or when it is not in
/// `pages`.
std::int32_t PreviousInSequence(std::span<const SequenceEntry> pages, std::int32_t page);
/// Likewise the smallest order number above the page's.
std::int32_t NextInSequence(std::span<const SequenceEntry> pages, std::int32_t page);

}  // namespace orvo
