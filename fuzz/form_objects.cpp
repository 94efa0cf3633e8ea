// Bytes as the records and streams of the objects a page's text may hold besides text and
// images (form inputs, buttons, form starts, media, markers, dynamic inputs), of a special
// link that a text link and a button name, and of a page's head code: the page is written as
// HTML, every reference in the custom code resolved.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "base/Format.h"
#include "convert/HtmlExport.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"

namespace {

using namespace orvo;
using K = TOggettiHel;

constexpr K kKinds[] = {K::inputStat, K::bottoneCGI, K::inizioForm, K::multiMedia,
                        K::shortObj,  K::inputDin,   K::dbloc,      K::speclink};

// Takes the next `n` bytes (fewer at the end).
std::string Take(const std::uint8_t*& data, std::size_t& size, std::size_t n) {
    n = std::min(n, size);
    std::string out(reinterpret_cast<const char*>(data), n);
    data += n;
    size -= n;
    return out;
}

std::int32_t NewObject(TKYTset& set, K kind) {
    auto object = NewObjectOfKind(kind, &set);
    object->Clear();
    object->TakeIntoUse();
    return set.Register(std::move(object), -1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FixedEnvironment environment;
    static RecordingMessages messages;
    static TKYTset set(environment, messages);
    static TKYTtoHtml html(&set);
    static std::int32_t pages[2] = {-1, -1};
    static std::int32_t objects[std::size(kKinds)];
    static bool made = false;
    if (!made) {
        for (std::int32_t& page : pages) page = NewObject(set, K::testoHtml);
        for (std::size_t k = 0; k < std::size(kKinds); ++k) objects[k] = NewObject(set, kKinds[k]);
        made = true;
    }
    if (size < 2) return 0;
    const std::size_t which = data[0] % (std::size(kKinds) - 1);
    const std::uint8_t lengths = data[1];
    data += 2;
    size -= 2;
    TKYToggetto* object = set.ObjectByKind(kKinds[which], objects[which]);
    TKYToggetto* link = set.ObjectByKind(K::speclink, objects[std::size(kKinds) - 1]);
    TKYToggetto* page = set.ObjectByKind(K::testoHtml, pages[0]);
    if (!object || !link || !page) return 0;

    // The object's record and streams, then the special link's record and features; the
    // streams' lengths from the second byte.
    const std::string record = Take(data, size, kObjectRecordSize);
    std::memset(object->Record().data(), 0xFF, kObjectRecordSize);
    std::memcpy(object->Record().data(), record.data(), record.size());
    object->SetContent(Take(data, size, std::size_t(lengths & 0x0F) * 16));
    object->SetAuxiliary(Take(data, size, std::size_t(lengths >> 4) * 16));
    const std::string linkRecord = Take(data, size, 48);
    std::memset(link->Record().data(), 0xFF, kObjectRecordSize);
    std::memcpy(link->Record().data(), linkRecord.data(), linkRecord.size());
    link->SetContent(Take(data, size, 22));
    link->SetAuxiliary(Take(data, size, size));
    if (object->IsFree()) object->Record()[4] = 1;
    if (link->IsFree()) link->Record()[4] = 1;
    // The page's head code is the object's custom code too.
    page->SetAuxiliary(object->Auxiliary());
    const std::string linkCode = "<$" + Hex8(std::uint32_t(link->Code())) + ">";
    page->SetContent("<Z S0 >a" + linkCode + "b<$" + Hex8(std::uint32_t(object->Code())) + ">c" +
                     linkCode + "<%>" + '\0');

    std::vector<TKYToggetto*> images;
    std::vector<std::int32_t> secondaries;
    const std::string file = html.WritePage(*page, &secondaries, images, 0);
    if (file.find("<HTML><HEAD>") != 0 || !file.ends_with("</BODY></HTML>\r\n")) __builtin_trap();
    for (std::int32_t secondary : secondaries)
        if (!set.ObjectByKind(K::testoHtml, secondary)) __builtin_trap();
    return 0;
}
