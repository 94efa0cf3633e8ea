// The test markup host.
#include "support/MarkupHost.h"

#include <gtest/gtest.h>

#include "base/ByteStream.h"

namespace orvo::test {

TestMarkupHost::TestMarkupHost() {
    AddBuiltIns();
}

TestMarkupHost::TestMarkupHost(std::set<std::string> installedFaces)
    : metrics(std::move(installedFaces)) {
    AddBuiltIns();
}

void TestMarkupHost::AddBuiltIns() {
    for (int n = 0; n < 2; ++n) {
        auto style = std::make_unique<TKYToggetto>();
        style->SetKind(TOggettiHel::stileParagrafo);
        style->SetIdentifier(n);
        SetBuiltInStyle(style->Record(), n);
        styles_.push_back(std::move(style));
    }
}

int TestMarkupHost::AddStyle(const std::function<void(StyleRecord&)>& edit) {
    auto style = std::make_unique<TKYToggetto>();
    style->SetKind(TOggettiHel::stileParagrafo);
    style->SetIdentifier(int(styles_.size()));
    StyleRecord record(style->Record());
    record.SetDefaults();
    edit(record);
    styles_.push_back(std::move(style));
    return int(styles_.size()) - 1;
}

int TestMarkupHost::AddObject(TOggettiHel kind, int width, int height) {
    auto object = std::make_unique<TKYToggetto>();
    object->SetKind(kind);
    object->SetIdentifier(int(objects_.size()));
    objects_.push_back(std::move(object));
    sizes_.push_back({width, height});
    tables_.emplace_back();
    return int(objects_.size()) - 1;
}

int TestMarkupHost::AddTable(int rows, int columns) {
    const int id = AddObject(TOggettiHel::tabellaHtml, 100, 40);
    tables_[std::size_t(id)] = std::make_unique<MemoryTableCells>(rows, columns);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            tables_[std::size_t(id)]->SetCellParagraphs(r, c, Read("<Z S1 >", *this));
    return id;
}

MemoryTableCells& TestMarkupHost::Table(int identifier) {
    return *tables_[std::size_t(identifier)];
}

const TKYToggetto* TestMarkupHost::StyleByNumber(std::int32_t number) {
    if (number < 0 || std::size_t(number) >= styles_.size()) return nullptr;
    return styles_[std::size_t(number)].get();
}

TKYToggetto* TestMarkupHost::PageObject(std::int32_t identifier) {
    if (identifier < 0 || std::size_t(identifier) >= objects_.size()) return nullptr;
    return objects_[std::size_t(identifier)].get();
}

std::int32_t TestMarkupHost::PageObjectIdentifier(const TKYToggetto& object) {
    return object.Identifier();
}

ObjectSize TestMarkupHost::SizeOf(const TKYToggetto& object) {
    return sizes_[std::size_t(object.Identifier())];
}

ITableCells* TestMarkupHost::TableCells(const TKYToggetto& object) {
    const auto id = std::size_t(object.Identifier());
    return id < tables_.size() ? tables_[id].get() : nullptr;
}

std::string Rewrite(std::string_view markup, IMarkupHost& host) {
    return WriteText(Read(markup, host), host);
}

std::string Written(const TKYTparag& para, IMarkupHost& host, WriteMode mode, int start, int end) {
    MemoryStream stream;
    EXPECT_TRUE(para.WriteMarkup(stream, mode, start, end, host));
    return stream.TakeBytes();
}

Paragraphs Read(std::string_view markup, IMarkupHost& host, int mode) {
    std::string text(markup);
    text += '\0';
    return ReadText(text, host, mode);
}

}  // namespace orvo::test
