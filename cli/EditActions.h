// The text-changing side of orvo-cli edit: the hypertext's undo list, the box's editing
// operations, and the script actions that call the format, paragraph, link and undo operations.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "textbox/uKYTattr.h"
#include "textbox/uKYTundo.h"

namespace orvo {
class TKYTbox;
class TKYTset;
class TKYTtesto;
}  // namespace orvo

namespace orvo::cli {

class EditSession {
public:
    /// The hypertext's undo list (the container's) exists before the page is shown (the page
    /// surface purges it).
    EditSession(TKYTset& set, IMessages& messages);
    ~EditSession();
    TKYTundoList& Undo() { return undo_; }
    /// The box of the page shown gets its editing operations.
    void Attach(TKYTbox& box, TKYTtesto& text, std::int32_t pageId);
    IBoxEditing& Editing();

    /// Runs a script line when it is one of the editing actions: none when the verb is not
    /// one of them, else the error (none when it ran).
    std::optional<std::optional<std::string>> Run(const std::string& verb,
                                                  const std::vector<std::string>& words,
                                                  const std::string& rest);

private:
    std::optional<std::string> Command(const std::vector<std::string>& words,
                                       const std::string& rest);
    std::optional<std::string> Link(const std::vector<std::string>& words, const std::string& rest);

    TKYTset& set_;
    IMessages& messages_;
    TKYTundoList& undo_;
    std::int32_t frameId_;
    TKYTundoIndiciList controls_;
    std::unique_ptr<BoxEditing> editing_;
};

/// The format and paragraph commands a script names, with what they take.
std::vector<std::pair<std::string_view, std::string_view>> EditCommandList();

}  // namespace orvo::cli
