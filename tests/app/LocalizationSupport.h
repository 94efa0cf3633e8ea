// An in-memory window for the localiser: components with published properties of every kind.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/uQzLangs.h"

namespace orvo::test {

/// Properties are kept as text, lists as lists, collections as items, references by pointer.
class TestHolder : public IPropertyHolder {
public:
    struct Scalar {
        PropertyType type;
        std::string value;
        std::vector<std::string> enumNames;
        bool failsToSet = false;
    };

    TestHolder& Text(std::string name, std::string value);
    TestHolder& Integer(std::string name, int value);
    TestHolder& Enumeration(std::string name, std::string value, std::vector<std::string> names);
    TestHolder& Character(std::string name, char value);
    TestHolder& Real(std::string name, std::string value);
    TestHolder& Strings(std::string name, std::vector<std::string> items);
    /// A collection with `count` items, each made by `make`.
    TestHolder& Collection(std::string name, std::vector<std::unique_ptr<TestHolder>> items);
    TestHolder& Reference(std::string name, ILocalizableComponent* target);
    TestHolder& Object(std::string name, std::unique_ptr<TestHolder> object);
    /// Setting this property throws, as a control might.
    TestHolder& Throwing(std::string name);

    std::vector<PropertyInfo> Properties() const override;
    std::string GetValue(std::string_view property) const override;
    bool SetValue(std::string_view property, std::string_view value) override;
    std::vector<std::string> EnumNames(std::string_view property) const override;
    bool SetStrings(std::string_view property, const std::vector<std::string>& items) override;
    std::vector<IPropertyHolder*> Items(std::string_view property) override;
    void BeginUpdate(std::string_view property) override;
    void EndUpdate(std::string_view property) override;
    IPropertyHolder* Object(std::string_view property) override;
    bool SetReference(std::string_view property, ILocalizableComponent* target) override;

    std::string Get(std::string_view property) const { return GetValue(property); }
    const std::vector<std::string>& List(std::string_view property) const;
    TestHolder& Item(std::string_view property, std::size_t n);
    TestHolder& Inner(std::string_view property);
    ILocalizableComponent* Ref(std::string_view property) const;
    int updates = 0;  // BeginUpdate calls that were closed by EndUpdate

private:
    std::string Key(std::string_view property) const;
    std::vector<std::string> order_;
    std::map<std::string, Scalar> scalars_;
    std::map<std::string, std::vector<std::string>> lists_;
    std::map<std::string, std::vector<std::unique_ptr<TestHolder>>> collections_;
    std::map<std::string, ILocalizableComponent*> references_;
    std::map<std::string, std::unique_ptr<TestHolder>> objects_;
    std::map<std::string, bool> throwing_;
    int open_ = 0;
};

class TestComponent : public TestHolder, public ILocalizableComponent {
public:
    TestComponent(std::string name, ComponentKind kind) : name_(std::move(name)), kind_(kind) {}
    std::string Name() const override { return name_; }
    ComponentKind Kind() const override { return kind_; }
    void Rename(std::string name) { name_ = std::move(name); }

    // IPropertyHolder through TestHolder.
    std::vector<PropertyInfo> Properties() const override { return TestHolder::Properties(); }
    std::string GetValue(std::string_view p) const override { return TestHolder::GetValue(p); }
    bool SetValue(std::string_view p, std::string_view v) override {
        return TestHolder::SetValue(p, v);
    }
    std::vector<std::string> EnumNames(std::string_view p) const override {
        return TestHolder::EnumNames(p);
    }
    bool SetStrings(std::string_view p, const std::vector<std::string>& i) override {
        return TestHolder::SetStrings(p, i);
    }
    std::vector<IPropertyHolder*> Items(std::string_view p) override {
        return TestHolder::Items(p);
    }
    void BeginUpdate(std::string_view p) override { TestHolder::BeginUpdate(p); }
    void EndUpdate(std::string_view p) override { TestHolder::EndUpdate(p); }
    IPropertyHolder* Object(std::string_view p) override { return TestHolder::Object(p); }
    bool SetReference(std::string_view p, ILocalizableComponent* t) override {
        return TestHolder::SetReference(p, t);
    }

private:
    std::string name_;
    ComponentKind kind_;
};

class TestWindow final : public ILocalizableWindow {
public:
    explicit TestWindow(std::string name);
    TestComponent& Self() { return self_; }
    TestComponent& Add(std::string name, ComponentKind kind = ComponentKind::Other);
    TestComponent& Get(std::string_view name);

    std::string Name() const override { return self_.Name(); }
    ComponentKind Kind() const override { return ComponentKind::Window; }
    std::vector<PropertyInfo> Properties() const override { return self_.Properties(); }
    std::string GetValue(std::string_view p) const override { return self_.GetValue(p); }
    bool SetValue(std::string_view p, std::string_view v) override { return self_.SetValue(p, v); }
    std::vector<std::string> EnumNames(std::string_view p) const override {
        return self_.EnumNames(p);
    }
    bool SetStrings(std::string_view p, const std::vector<std::string>& i) override {
        return self_.SetStrings(p, i);
    }
    std::vector<IPropertyHolder*> Items(std::string_view p) override { return self_.Items(p); }
    IPropertyHolder* Object(std::string_view p) override { return self_.Object(p); }
    bool SetReference(std::string_view p, ILocalizableComponent* t) override {
        return self_.SetReference(p, t);
    }
    std::vector<ILocalizableComponent*> Components() override;
    ILocalizableComponent* FindComponent(std::string_view name) override;

private:
    TestComponent self_;
    std::vector<std::unique_ptr<TestComponent>> components_;
};

class TestWindows final : public IWindowDirectory {
public:
    std::vector<ILocalizableWindow*> open;
    ILocalizableWindow* FindWindow(std::string_view name) override;
};

}  // namespace orvo::test
