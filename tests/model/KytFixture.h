// A container with a deterministic environment and recorded messages, for the object and
// document-file tests.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "support/TestSupport.h"

namespace orvo::test {

class KytTest : public ::testing::Test {
protected:
    FixedEnvironment env_;
    RecordingMessages messages_;
    TKYTset set_{env_, messages_};

    // A cleared object of `kind` belonging to the container, not registered.
    std::unique_ptr<TKYToggetto> Make(TOggettiHel kind) {
        auto object = NewObjectOfKind(kind, &set_);
        object->Clear();
        return object;
    }
    // A registered object in use; returns it.
    TKYToggetto& Add(TOggettiHel kind, std::string_view name = {}) {
        auto object = Make(kind);
        object->TakeIntoUse();
        if (!name.empty()) object->SetName(name);
        if (kind == TOggettiHel::internetLink) object->TakeIntoUse();
        TKYToggetto* raw = object.get();
        set_.Register(std::move(object));
        return *raw;
    }
    TKYToggetto& AddPage(std::string_view title, std::string_view text) {
        TKYToggetto& page = Add(TOggettiHel::testoHtml, title);
        page.SetContent(std::string(text));
        return page;
    }
    std::string Path(std::string_view name) const { return (TestDir() / name).string(); }
};

inline std::int32_t I32At(std::string_view bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return std::int32_t(v);
}
inline int I16At(std::string_view bytes, std::size_t at) {
    return std::int16_t(static_cast<unsigned char>(bytes[at]) |
                        (static_cast<unsigned char>(bytes[at + 1]) << 8));
}
inline std::string RecordString(const TKYToggetto& object, std::size_t n = 668) {
    return std::string(reinterpret_cast<const char*>(object.Record().data()), n);
}

}  // namespace orvo::test
