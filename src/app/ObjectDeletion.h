// Deleting objects of a hypertext, as the deletion window does on Ok: each object is cleared to
// its free state and every reference to it goes with it, so the saved file names no deleted
// object.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvo {

class TKYTset;

/// What deleting needs of the editor: the page it shows (-1 none), and showing a page (-1:
/// none) while the objects go.
struct DeletionEditor {
    std::function<int()> shownPage;
    std::function<void(int page)> showPage;
};

struct DeletionResult {
    /// The codes that were cleared: the ones asked for that were in use, then the image
    /// objects that showed a deleted picture.
    std::vector<std::int32_t> deleted;
    /// The page the editor shows afterwards (page 0 when its page was deleted).
    int pageShown = -1;
};

/// The line the deletion window shows for each object to delete (its name), and the same
/// line once deleted.
std::string SelectedLine(const TKYTset& set, std::int32_t code);
std::string DeletedLine(std::string line);

/// The codes the album hands to deletion: its selected objects' codes without 0 (the first
/// page is never deleted) and without repeats, in order.
std::vector<std::int32_t> CollectForDeletion(const std::vector<std::int32_t>& selected);

/// Deletes the objects: the editor shows no page meanwhile; each object that exists and is in
/// use is cleared (an embedded file's working copy is deleted first); every page text loses
/// the codes of deleted objects (a link becomes plain text, an embedded object goes), page
/// fields that named them (background, header, footer, redirection, keywords) and the
/// header's pages and background are reset, the page and prototype trees drop their nodes,
/// and an image object showing a deleted picture is deleted with it. The undo list is emptied:
/// its steps may name the deleted objects. The hypertext is marked modified. A failure on one
/// object does not stop the others.
DeletionResult DeleteObjects(TKYTset& set, const std::vector<std::int32_t>& codes,
                             const DeletionEditor& editor = {});

}  // namespace orvo
