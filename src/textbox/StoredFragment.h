// A pasted fragment whose text names objects by their stored codes (as an importer leaves it:
// the objects registered with the hypertext) made into a selection stream that carries those
// objects, so that pasting gives the open page its own copies under its working codes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace orvo {

class TKYTset;

/// Which objects of the kinds a page text embeds or links are in use, by kind and identifier:
/// taken before an import, it tells the objects the import registered from those it reused.
class RegisteredObjects {
public:
    explicit RegisteredObjects(const TKYTset& set);
    bool WasInUse(std::int32_t code) const;

private:
    std::vector<std::vector<bool>> inUse_;
};

/// Rewrites a selection stream: every "<$" code of its text that names a registered object of
/// a kind a page text embeds (tables, images, inputs, buttons, form starts, multimedia, database
/// blocks, markers) or links (web and special links) becomes a stream entry carrying the
/// object, and the code names that entry. An object registered by the import (not in use in
/// `before`) leaves the hypertext and travels itself; one in use before travels as a copy.
/// Codes of other kinds (pages, files, styles, pictures) stay as they are.
Result<std::string> CarryStoredObjects(std::string_view stream, TKYTset& set,
                                       const RegisteredObjects& before);

}  // namespace orvo
