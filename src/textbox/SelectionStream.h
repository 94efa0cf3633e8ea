// The internal stream of a selection (clipboard format "Orvo30 objects", drag and drop): all
// integers 32-bit little-endian: content code, links, shared objects, inline objects, the
// paragraphs' markup and one 0x00 byte.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace orvo {

class TKYToggetto;
class TKYTset;

/// The content code a box writes; a reader also takes 3.
inline constexpr std::int32_t kStreamContentText = 1;
inline constexpr std::int32_t kStreamContentOther = 3;

/// A stream read completely into objects that belong to nothing yet, so that a stream that
/// cannot be read changes nothing.
struct SelectionStream {
    struct Entry {
        int kind = 0;
        std::int32_t oldId = -1;  // the link id, or the object's number, as written
        std::unique_ptr<TKYToggetto> object;
    };
    std::int32_t contentCode = 0;
    std::vector<Entry> links;
    std::vector<Entry> shared;  // kinds 5, 6 and 17 (others are reported and dropped)
    std::vector<Entry> objects;
    std::int32_t paragraphCount = 0;
    std::string markup;          // the paragraphs' markup, ending with its 0x00 byte
    bool foreignShared = false;  // a shared object of another kind was dropped
};

/// Reads a whole stream; a failure names what is wrong (counts beyond the data, an object cut
/// short or of an unknown kind, no terminating 0x00). Objects are made with `owner`.
Result<SelectionStream> ParseSelectionStream(std::string_view bytes, TKYTset& owner);

}  // namespace orvo
