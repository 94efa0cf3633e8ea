// The program's settings store as an interface: a tree of keys holding named string values,
// as the registry keeps them below the program's root "\\SOFTWARE\\QX\\Orvo3.0lite\\".
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

/// Keys are paths below the program's root with "\\" (or "/") between groups ("options",
/// "ftpnet\\0"); key and value names are Windows-1252, compared without regard to case and
/// kept as first written. Every value is a string; flags are "1" and "0", and each reader
/// gives its own default for a missing value.
class ISettings {
public:
    virtual ~ISettings() = default;
    virtual std::optional<std::string> Read(std::string_view key, std::string_view name) const = 0;
    virtual void Write(std::string_view key, std::string_view name, std::string_view value) = 0;
    virtual bool KeyExists(std::string_view key) const = 0;
    /// The names of the keys directly below `key`, as written, in the order they were made.
    virtual std::vector<std::string> SubKeys(std::string_view key) const = 0;
    virtual std::vector<std::string> ValueNames(std::string_view key) const = 0;
    /// Removes the key with everything below it.
    virtual void DeleteKey(std::string_view key) = 0;
    virtual void DeleteValue(std::string_view key, std::string_view name) = 0;

    std::string ReadString(std::string_view key, std::string_view name,
                           std::string_view fallback = {}) const;
    /// "1" is true, "0" false; anything else (or nothing) gives `fallback`.
    bool ReadFlag(std::string_view key, std::string_view name, bool fallback) const;
    /// A decimal, clamped to [lo, hi]; missing or not a number gives `fallback`.
    int ReadInt(std::string_view key, std::string_view name, int fallback, int lo = -2147483647 - 1,
                int hi = 2147483647) const;
    void WriteFlag(std::string_view key, std::string_view name, bool value) {
        Write(key, name, value ? "1" : "0");
    }
    void WriteInt(std::string_view key, std::string_view name, long long value) {
        Write(key, name, std::to_string(value));
    }
};

/// The tree behind a settings store, shared by the in-memory and the file store.
class SettingsTree {
public:
    struct Node {
        std::string name;                                         // as first written
        std::vector<std::pair<std::string, std::string>> values;  // name as written, value
        std::vector<std::unique_ptr<Node>> children;
    };

    SettingsTree();
    SettingsTree(const SettingsTree& other);
    SettingsTree& operator=(const SettingsTree& other);

    /// Splits "a\\b/c" into its groups, dropping empty ones.
    static std::vector<std::string_view> SplitKey(std::string_view key);

    const Node* Find(std::string_view key) const;
    Node& FindOrCreate(std::string_view key);
    bool Remove(std::string_view key);
    const Node& Root() const { return *root_; }
    Node& Root() { return *root_; }

    static const std::string* ValueOf(const Node& node, std::string_view name);
    static void SetValue(Node& node, std::string_view name, std::string_view value);
    static bool RemoveValue(Node& node, std::string_view name);

private:
    std::unique_ptr<Node> root_;
};

/// Settings kept in memory only: a new store is empty, so every reader gives its default.
class MemorySettings final : public ISettings {
public:
    std::optional<std::string> Read(std::string_view key, std::string_view name) const override;
    void Write(std::string_view key, std::string_view name, std::string_view value) override;
    bool KeyExists(std::string_view key) const override;
    std::vector<std::string> SubKeys(std::string_view key) const override;
    std::vector<std::string> ValueNames(std::string_view key) const override;
    void DeleteKey(std::string_view key) override;
    void DeleteValue(std::string_view key, std::string_view name) override;

    SettingsTree& Tree() { return tree_; }

private:
    SettingsTree tree_;
};

}  // namespace orvo
