// TKYTset's pictures: import, the decoded-picture cache, transparency.
#include "model/uKYTset.h"

namespace orvo {

Result<TKYToggetto*> TKYTset::AddPictureFromFile(const std::string& /*fileName*/) {
    return Fail("not built yet");
}

Result<std::shared_ptr<TKYTpicture>> TKYTset::PictureOf(TKYToggetto& /*object*/) {
    return Fail("not built yet");
}

Result<bool> TKYTset::IsOpaque(TKYToggetto& /*picture*/) {
    return Fail("not built yet");
}

Status TKYTset::SetTransparent(TKYToggetto& /*picture*/, bool /*on*/) {
    return Fail("not built yet");
}

}  // namespace orvo
