// Feeds bytes to the object stream reader (clipboard, undo records, copies between
// hypertexts), into a free object and into a registered page.
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    orvo::FixedEnvironment environment;
    orvo::RecordingMessages messages;
    orvo::TKYTset set(environment, messages);
    orvo::TKYToggetto loose(&set);
    orvo::MemoryStream first(bytes);
    if (loose.ReadFromStream(first)) {
        (void)loose.Describe();
        (void)loose.GetAttribute("src");
        orvo::MemoryStream again;
        (void)loose.WriteToStream(again);
    }
    auto page = orvo::NewObjectOfKind(orvo::TOggettiHel::testoHtml, &set);
    page->Clear();
    orvo::TKYToggetto& registered = *page;
    set.Register(std::move(page));
    orvo::MemoryStream second(bytes);
    (void)registered.ReadFromStream(second);
    return 0;
}
