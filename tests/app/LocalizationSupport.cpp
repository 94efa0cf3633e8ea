// The in-memory window of the localisation tests.
#include "LocalizationSupport.h"

#include <stdexcept>

#include "base/Cp1252.h"

namespace orvo::test {

std::string TestHolder::Key(std::string_view property) const {
    for (const auto& name : order_)
        if (SameText1252(name, property)) return name;
    throw std::out_of_range("no property " + std::string(property));
}

TestHolder& TestHolder::Text(std::string name, std::string value) {
    order_.push_back(name);
    scalars_[name] = {PropertyType::Text, std::move(value), {}};
    return *this;
}

TestHolder& TestHolder::Integer(std::string name, int value) {
    order_.push_back(name);
    scalars_[name] = {PropertyType::Integer, std::to_string(value), {}};
    return *this;
}

TestHolder& TestHolder::Enumeration(std::string name, std::string value,
                                    std::vector<std::string> names) {
    order_.push_back(name);
    scalars_[name] = {PropertyType::Enumeration, std::move(value), std::move(names)};
    return *this;
}

TestHolder& TestHolder::Character(std::string name, char value) {
    order_.push_back(name);
    scalars_[name] = {PropertyType::Character, std::string(1, value), {}};
    return *this;
}

TestHolder& TestHolder::Real(std::string name, std::string value) {
    order_.push_back(name);
    scalars_[name] = {PropertyType::Real, std::move(value), {}};
    return *this;
}

TestHolder& TestHolder::Strings(std::string name, std::vector<std::string> items) {
    order_.push_back(name);
    lists_[name] = std::move(items);
    return *this;
}

TestHolder& TestHolder::Collection(std::string name,
                                   std::vector<std::unique_ptr<TestHolder>> items) {
    order_.push_back(name);
    collections_[name] = std::move(items);
    return *this;
}

TestHolder& TestHolder::Reference(std::string name, ILocalizableComponent* target) {
    order_.push_back(name);
    references_[name] = target;
    return *this;
}

TestHolder& TestHolder::Object(std::string name, std::unique_ptr<TestHolder> object) {
    order_.push_back(name);
    objects_[name] = std::move(object);
    return *this;
}

TestHolder& TestHolder::Throwing(std::string name) {
    Text(name, "untouched");
    throwing_[name] = true;
    return *this;
}

std::vector<PropertyInfo> TestHolder::Properties() const {
    std::vector<PropertyInfo> out;
    for (const auto& name : order_) {
        if (auto s = scalars_.find(name); s != scalars_.end())
            out.push_back({name, s->second.type});
        else if (lists_.count(name))
            out.push_back({name, PropertyType::StringList});
        else if (collections_.count(name))
            out.push_back({name, PropertyType::Collection});
        else if (references_.count(name))
            out.push_back({name, PropertyType::Reference});
        else if (objects_.count(name))
            out.push_back({name, PropertyType::Object});
    }
    return out;
}

std::string TestHolder::GetValue(std::string_view property) const {
    return scalars_.at(Key(property)).value;
}

bool TestHolder::SetValue(std::string_view property, std::string_view value) {
    const std::string key = Key(property);
    if (throwing_.count(key)) throw std::runtime_error("the control refuses");
    scalars_.at(key).value = std::string(value);
    return true;
}

std::vector<std::string> TestHolder::EnumNames(std::string_view property) const {
    return scalars_.at(Key(property)).enumNames;
}

bool TestHolder::SetStrings(std::string_view property, const std::vector<std::string>& items) {
    lists_.at(Key(property)) = items;
    return true;
}

std::vector<IPropertyHolder*> TestHolder::Items(std::string_view property) {
    std::vector<IPropertyHolder*> out;
    for (auto& item : collections_.at(Key(property))) out.push_back(item.get());
    return out;
}

void TestHolder::BeginUpdate(std::string_view) {
    ++open_;
}

void TestHolder::EndUpdate(std::string_view) {
    if (open_ > 0) --open_, ++updates;
}

IPropertyHolder* TestHolder::Object(std::string_view property) {
    return objects_.at(Key(property)).get();
}

bool TestHolder::SetReference(std::string_view property, ILocalizableComponent* target) {
    references_.at(Key(property)) = target;
    return true;
}

const std::vector<std::string>& TestHolder::List(std::string_view property) const {
    return lists_.at(Key(property));
}

TestHolder& TestHolder::Item(std::string_view property, std::size_t n) {
    return *collections_.at(Key(property)).at(n);
}

TestHolder& TestHolder::Inner(std::string_view property) {
    return *objects_.at(Key(property));
}

ILocalizableComponent* TestHolder::Ref(std::string_view property) const {
    return references_.at(Key(property));
}

TestWindow::TestWindow(std::string name) : self_(std::move(name), ComponentKind::Window) {}

TestComponent& TestWindow::Add(std::string name, ComponentKind kind) {
    components_.push_back(std::make_unique<TestComponent>(std::move(name), kind));
    return *components_.back();
}

TestComponent& TestWindow::Get(std::string_view name) {
    for (auto& c : components_)
        if (SameText1252(c->Name(), name)) return *c;
    throw std::out_of_range("no component " + std::string(name));
}

std::vector<ILocalizableComponent*> TestWindow::Components() {
    std::vector<ILocalizableComponent*> out;
    for (auto& c : components_) out.push_back(c.get());
    return out;
}

ILocalizableComponent* TestWindow::FindComponent(std::string_view name) {
    for (auto& c : components_)
        if (SameText1252(c->Name(), name)) return c.get();
    return nullptr;
}

ILocalizableWindow* TestWindows::FindWindow(std::string_view name) {
    for (ILocalizableWindow* w : open)
        if (SameText1252(w->Name(), name)) return w;
    return nullptr;
}

}  // namespace orvo::test
