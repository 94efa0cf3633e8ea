// The shared helpers of the layout tests.
#include "LayoutSupport.h"

namespace orvo::test {

BoxMarkupHost::BoxMarkupHost() {
    AddBuiltIns();
}

BoxMarkupHost::BoxMarkupHost(std::set<std::string> installedFaces)
    : metrics(std::move(installedFaces)) {
    AddBuiltIns();
}

void BoxMarkupHost::AddBuiltIns() {
    for (int n = 0; n < 2; ++n) {
        auto style = std::make_unique<TKYToggetto>();
        style->SetKind(TOggettiHel::stileParagrafo);
        style->SetIdentifier(n);
        SetBuiltInStyle(style->Record(), n);
        styles_.push_back(std::move(style));
    }
}

int BoxMarkupHost::AddStyle(const std::function<void(StyleRecord&)>& edit) {
    auto style = std::make_unique<TKYToggetto>();
    style->SetKind(TOggettiHel::stileParagrafo);
    style->SetIdentifier(int(styles_.size()));
    StyleRecord record(style->Record());
    record.SetDefaults();
    edit(record);
    styles_.push_back(std::move(style));
    return int(styles_.size()) - 1;
}

int BoxMarkupHost::AddObject(TOggettiHel kind, int width, int height) {
    auto object = std::make_unique<TKYToggetto>();
    object->SetKind(kind);
    object->SetIdentifier(int(objects_.size()));
    objects_.push_back(std::move(object));
    sizes_.push_back({width, height});
    return int(objects_.size()) - 1;
}

const TKYToggetto* BoxMarkupHost::StyleByNumber(std::int32_t number) {
    if (number < 0 || std::size_t(number) >= styles_.size()) return nullptr;
    return styles_[std::size_t(number)].get();
}

TKYToggetto* BoxMarkupHost::PageObject(std::int32_t identifier) {
    if (identifier < 0 || std::size_t(identifier) >= objects_.size()) return nullptr;
    return objects_[std::size_t(identifier)].get();
}

std::int32_t BoxMarkupHost::PageObjectIdentifier(const TKYToggetto& object) {
    return object.Identifier();
}

ObjectSize BoxMarkupHost::SizeOf(const TKYToggetto& object) {
    return sizes_[std::size_t(object.Identifier())];
}

ITableCells* BoxMarkupHost::TableCells(const TKYToggetto&) {
    return nullptr;
}

std::string Text(std::string_view markup) {
    std::string out(markup);
    out.push_back('\0');
    return out;
}

std::vector<std::string> LineTexts(const TKYTparag& paragraph) {
    std::vector<std::string> out;
    for (const TKYTline& line : paragraph.lines)
        out.push_back(paragraph.text.substr(std::size_t(line.first), std::size_t(line.count)));
    return out;
}

std::vector<std::string> LineTexts(const TKYTbox& box) {
    std::vector<std::string> out;
    for (const auto& p : box.AllParagraphs())
        for (std::string& line : LineTexts(*p)) out.push_back(std::move(line));
    return out;
}

TKYTTextPos At(std::int32_t paragraph, std::int32_t character) {
    TKYTTextPos pos;
    pos.paraIndex = paragraph;
    pos.charIndex = character;
    return pos;
}

}  // namespace orvo::test
