#include "textbox/PageLinks.h"

#include "model/TKYTparag.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "textbox/uKYTbox.h"

namespace orvo {

std::int32_t LinkCodeAt(const TKYTbox& box, std::int32_t x, std::int32_t y) {
    const TKYTTextPos pos = box.HitTest(1, x, y);
    if (!pos.Valid() || !pos.paragraph || pos.height < 0) return -1;
    if (y < pos.y || y >= pos.y + pos.height || x < pos.x || x >= pos.xRight) return -1;
    return pos.paragraph->LinkAt(pos.charIndex);
}

TKYToggetto* LinkObjectOf(TKYTset& set, const TKYTtesto* workingText, std::int32_t code) {
    if (CodeKind(code) != kLocalLinkKind) return set.ObjectByCode(code);
    const std::size_t index = std::size_t(CodeIdentifier(code));
    if (!workingText || index >= workingText->links.size()) return nullptr;
    return workingText->links[index].get();
}

std::int32_t PageLinkedBy(TKYTset& set, const TKYTtesto* workingText, std::int32_t code) {
    const TKYToggetto* object = LinkObjectOf(set, workingText, code);
    if (object && object->Kind() == TOggettiHel::speclink)
        object = LinkObjectOf(set, workingText, object->ReadView().I32(kSpecTarget));
    if (!object || object->IsFree() || object->Kind() != TOggettiHel::testoHtml ||
        object->Owner() != &set)
        return -1;
    return object->Identifier();
}

}  // namespace orvo
