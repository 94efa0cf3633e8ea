// Fuzzes localisation: a block applied to a small window, the value escapes and the merge of a
// language file.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>

#include "app/uQzLangs.h"
#include "base/Cp1252.h"

using namespace orvo;

namespace {

// One holder with a property of each scalar kind, a list, and one collection item of itself.
class Holder : public ILocalizableWindow {
public:
    explicit Holder(std::string name, bool withItem) : name_(std::move(name)) {
        if (withItem) item_ = std::make_unique<Holder>("", false);
    }
    std::string Name() const override { return name_; }
    ComponentKind Kind() const override { return ComponentKind::Other; }
    std::vector<PropertyInfo> Properties() const override {
        return {{"Caption", PropertyType::Text},
                {"Width", PropertyType::Integer},
                {"Alignment", PropertyType::Enumeration},
                {"Kind", PropertyType::Character},
                {"Scale", PropertyType::Real},
                {"Items", PropertyType::StringList},
                {"Columns", PropertyType::Collection},
                {"Popup", PropertyType::Reference},
                {"Title", PropertyType::Object}};
    }
    std::string GetValue(std::string_view p) const override {
        auto it = values_.find(Lower1252(p));
        return it == values_.end() ? std::string("1") : it->second;
    }
    bool SetValue(std::string_view p, std::string_view v) override {
        values_[Lower1252(p)] = std::string(v);
        return true;
    }
    std::vector<std::string> EnumNames(std::string_view) const override {
        return {"taLeftJustify", "taCenter"};
    }
    bool SetStrings(std::string_view, const std::vector<std::string>& items) override {
        items_ = items;
        return true;
    }
    std::vector<IPropertyHolder*> Items(std::string_view) override {
        if (!item_) return {};
        return {item_.get()};
    }
    IPropertyHolder* Object(std::string_view) override { return item_.get(); }
    bool SetReference(std::string_view, ILocalizableComponent* target) override {
        reference_ = target;
        return true;
    }
    std::vector<ILocalizableComponent*> Components() override { return {item_.get()}; }
    ILocalizableComponent* FindComponent(std::string_view name) override {
        return item_ && SameText1252(name, "x") ? item_.get() : nullptr;
    }

private:
    std::string name_;
    std::map<std::string, std::string> values_;
    std::vector<std::string> items_;
    std::unique_ptr<Holder> item_;
    ILocalizableComponent* reference_ = nullptr;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Holder window("w", true);
    TQzLanguager localiser(window);
    (void)localiser.SetLocalizationString(text);
    (void)localiser.PropertiesList();

    if (UnescapeValue(EscapeValue(text)) != text) std::abort();

    const std::string merged = TQzLanguagesStore::MergeLanguages(text, "u", {"eng", "ita"});
    for (const char* language : {"eng", "ita"})
        if (merged.find(std::string("\r\n{$ifdef ") + language + "}") == std::string::npos)
            std::abort();
    return 0;
}
