// Settings readers with defaults, the settings tree and the in-memory store.
#include "platform/ISettings.h"

#include "base/Cp1252.h"
#include "base/Format.h"

namespace orvo {

std::string ISettings::ReadString(std::string_view key, std::string_view name,
                                  std::string_view fallback) const {
    auto v = Read(key, name);
    return v ? *v : std::string(fallback);
}

bool ISettings::ReadFlag(std::string_view key, std::string_view name, bool fallback) const {
    auto v = Read(key, name);
    if (!v) return fallback;
    if (*v == "1") return true;
    if (*v == "0") return false;
    return fallback;
}

int ISettings::ReadInt(std::string_view key, std::string_view name, int fallback, int lo,
                       int hi) const {
    auto v = Read(key, name);
    if (!v) return fallback;
    long long parsed = 0;
    const int used = ParseClampedInt(*v, lo, hi, parsed);
    if (used == 0 || std::size_t(used) != v->size()) return fallback;
    return int(parsed);
}

static std::unique_ptr<SettingsTree::Node> CopyNode(const SettingsTree::Node& n) {
    auto copy = std::make_unique<SettingsTree::Node>();
    copy->name = n.name;
    copy->values = n.values;
    for (const auto& c : n.children) copy->children.push_back(CopyNode(*c));
    return copy;
}

SettingsTree::SettingsTree() : root_(std::make_unique<Node>()) {}
SettingsTree::SettingsTree(const SettingsTree& other) : root_(CopyNode(*other.root_)) {}
SettingsTree& SettingsTree::operator=(const SettingsTree& other) {
    if (this != &other) root_ = CopyNode(*other.root_);
    return *this;
}

std::vector<std::string_view> SettingsTree::SplitKey(std::string_view key) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= key.size()) {
        const std::size_t cut = key.find_first_of("\\/", start);
        const std::string_view part =
            key.substr(start, cut == std::string_view::npos ? std::string_view::npos : cut - start);
        if (!part.empty()) parts.push_back(part);
        if (cut == std::string_view::npos) break;
        start = cut + 1;
    }
    return parts;
}

static SettingsTree::Node* Child(const SettingsTree::Node& node, std::string_view name) {
    for (const auto& c : node.children)
        if (SameText1252(c->name, name)) return c.get();
    return nullptr;
}

const SettingsTree::Node* SettingsTree::Find(std::string_view key) const {
    const Node* node = root_.get();
    for (std::string_view part : SplitKey(key)) {
        node = Child(*node, part);
        if (!node) return nullptr;
    }
    return node;
}

SettingsTree::Node& SettingsTree::FindOrCreate(std::string_view key) {
    Node* node = root_.get();
    for (std::string_view part : SplitKey(key)) {
        Node* next = Child(*node, part);
        if (!next) {
            node->children.push_back(std::make_unique<Node>());
            next = node->children.back().get();
            next->name = std::string(part);
        }
        node = next;
    }
    return *node;
}

bool SettingsTree::Remove(std::string_view key) {
    auto parts = SplitKey(key);
    if (parts.empty()) {
        root_ = std::make_unique<Node>();
        return true;
    }
    Node* parent = root_.get();
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        parent = Child(*parent, parts[i]);
        if (!parent) return false;
    }
    auto& kids = parent->children;
    for (auto it = kids.begin(); it != kids.end(); ++it)
        if (SameText1252((*it)->name, parts.back())) {
            kids.erase(it);
            return true;
        }
    return false;
}

const std::string* SettingsTree::ValueOf(const Node& node, std::string_view name) {
    for (const auto& [n, v] : node.values)
        if (SameText1252(n, name)) return &v;
    return nullptr;
}

void SettingsTree::SetValue(Node& node, std::string_view name, std::string_view value) {
    for (auto& [n, v] : node.values)
        if (SameText1252(n, name)) {
            v = std::string(value);
            return;
        }
    node.values.emplace_back(std::string(name), std::string(value));
}

bool SettingsTree::RemoveValue(Node& node, std::string_view name) {
    for (auto it = node.values.begin(); it != node.values.end(); ++it)
        if (SameText1252(it->first, name)) {
            node.values.erase(it);
            return true;
        }
    return false;
}

std::optional<std::string> MemorySettings::Read(std::string_view key, std::string_view name) const {
    const auto* node = tree_.Find(key);
    if (!node) return std::nullopt;
    const std::string* v = SettingsTree::ValueOf(*node, name);
    return v ? std::optional(*v) : std::nullopt;
}

void MemorySettings::Write(std::string_view key, std::string_view name, std::string_view value) {
    SettingsTree::SetValue(tree_.FindOrCreate(key), name, value);
}

bool MemorySettings::KeyExists(std::string_view key) const {
    return tree_.Find(key) != nullptr;
}

std::vector<std::string> MemorySettings::SubKeys(std::string_view key) const {
    std::vector<std::string> out;
    if (const auto* node = tree_.Find(key))
        for (const auto& c : node->children) out.push_back(c->name);
    return out;
}

std::vector<std::string> MemorySettings::ValueNames(std::string_view key) const {
    std::vector<std::string> out;
    if (const auto* node = tree_.Find(key))
        for (const auto& v : node->values) out.push_back(v.first);
    return out;
}

void MemorySettings::DeleteKey(std::string_view key) {
    tree_.Remove(key);
}

void MemorySettings::DeleteValue(std::string_view key, std::string_view name) {
    auto* node = const_cast<SettingsTree::Node*>(tree_.Find(key));
    if (node) SettingsTree::RemoveValue(*node, name);
}

}  // namespace orvo
