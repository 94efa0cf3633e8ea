// The localisation engine and the language store.
#include "app/uQzLangs.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>

#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Paths.h"

namespace orvo {

namespace {

constexpr char kSection = '\xA7';  // "§"
// A count larger than this is hostile; the list gets no more items than a block could name.
constexpr int kMaxListItems = 65536;

const char* const kWindowProperties[] = {"caption", "text", "hint"};
const char* const kComponentProperties[] = {"caption", "text",  "hint",        "strings",
                                            "items",   "lines", "filter",      "columns",
                                            "title",   "tabs",  "imageindexes"};

bool IsObjectType(PropertyType t) {
    return t == PropertyType::StringList || t == PropertyType::Collection ||
           t == PropertyType::Reference || t == PropertyType::Object;
}

bool ParseInteger(std::string_view text, long long& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    long long v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
        if (v > 2147483648LL) return false;
    }
    v = negative ? -v : v;
    if (v > 2147483647LL) return false;
    value = v;
    return true;
}

// A real number with "." as its separator: digits, an optional fraction and exponent.
bool IsReal(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool digits = false;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, digits = true;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, digits = true;
    }
    if (!digits) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        bool exponent = false;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, exponent = true;
        if (!exponent) return false;
    }
    return i == text.size();
}

const PropertyInfo* FindProperty(const std::vector<PropertyInfo>& properties,
                                 std::string_view name) {
    for (const auto& p : properties)
        if (SameText1252(p.name, name)) return &p;
    return nullptr;
}

}  // namespace

std::vector<std::string> SplitBlockLines(std::string_view block) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < block.size()) {
        std::size_t end = block.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(block.substr(start));
            break;
        }
        lines.emplace_back(block.substr(start, end - start));
        start =
            end + (block[end] == '\r' && end + 1 < block.size() && block[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

std::string UnescapeValue(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == kSection) {
            if (i + 1 == value.size()) break;  // a "§" at the end stands before nothing
            const char next = value[i + 1];
            if (next == '!') {
                out += "\r\n";
                ++i;
            } else if (next == kSection) {
                out += kSection;
                ++i;
            }
            // Any other character: the "§" vanishes and the character is read normally.
            continue;
        }
        if (c == '\'' && i + 1 < value.size() && value[i + 1] == '\'') {
            out += '\'';
            ++i;
            continue;
        }
        out += c;
    }
    return out;
}

std::string EscapeValue(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == kSection)
            out += "\xA7\xA7";
        else if (c == '\'')
            out += "''";
        else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += "\xA7!";
            ++i;
        } else
            out += c;
    }
    return out;
}

std::string TrimControls(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
    return std::string(text);
}

Status CheckBlock(std::string_view block) {
    const std::vector<std::string> lines = SplitBlockLines(block);
    auto broken = [](std::size_t line) {
        return Fail("Blocco di localizzazione non valido alla riga " + std::to_string(line + 1) +
                    ".");
    };
    for (std::size_t i = 0; i < lines.size(); i += 2) {
        if (lines[i].empty() || lines[i][0] != '*') return broken(i);
        // A key on the last line has no value: its property stays as it is.
        if (i + 1 == lines.size()) break;
        if (lines[i + 1].empty()) return broken(i + 1);
    }
    return Status::Ok();
}

// The lines of a block with the first line of each text, for LookUpValue.
class TQzLanguager::Lookup {
public:
    explicit Lookup(const std::vector<std::string>& lines) : lines_(lines) {
        for (std::size_t i = 0; i < lines.size(); ++i) first_.emplace(Lower1252(lines[i]), i);
    }
    // The value of "*" + section + "*" + ident, or `fallback`.
    std::string LookUpValue(std::string_view section, std::string_view ident,
                            std::string_view fallback) const {
        std::string key(1, '*');
        key += Lower1252(section);
        key += '*';
        key += Lower1252(ident);
        const auto found = first_.find(key);
        if (found == first_.end() || found->second + 1 >= lines_.size())
            return std::string(fallback);
        const std::string& value = lines_[found->second + 1];
        return UnescapeValue(std::string_view(value).substr(value.empty() ? 0 : 1));
    }

private:
    const std::vector<std::string>& lines_;
    std::unordered_map<std::string, std::size_t> first_;  // emplace keeps the first
};

TQzLanguager::TQzLanguager(ILocalizableWindow& owner, IWindowDirectory* windows)
    : owner_(owner), windows_(windows) {}

const std::vector<std::string>& TQzLanguager::PropertiesList() {
    if (!built_) {
        BuildPropertiesList();
        built_ = true;
    }
    texts_.clear();
    for (const auto& e : entries_) texts_.push_back(e.text);
    return texts_;
}

void TQzLanguager::Notification(ILocalizableComponent* component, Operation operation) {
    if (operation == Operation::Insert) {
        built_ = false;
        return;
    }
    std::erase_if(entries_, [component](const Entry& e) { return e.component == component; });
}

void TQzLanguager::Notification(TQzLanguagesStore* store, Operation operation) {
    if (operation == Operation::Remove && store == LanguagesStore) LanguagesStore = nullptr;
}

void TQzLanguager::BuildPropertiesList() {
    entries_.clear();
    CollectEntries(owner_);
    for (ILocalizableComponent* c : owner_.Components())
        if (c && c->Kind() != ComponentKind::Languager) CollectEntries(*c);
}

void TQzLanguager::CollectEntries(ILocalizableComponent& component) {
    try {
        const std::string name = component.Name();
        if (name.empty()) return;
        const bool plain = component.Kind() == ComponentKind::Window ||
                           component.Kind() == ComponentKind::MenuItem;
        for (const PropertyInfo& p : component.Properties()) {
            if (p.type != PropertyType::Text && !IsObjectType(p.type)) continue;
            const std::string lower = Lower1252(p.name);
            bool kept = false;
            if (plain) {
                for (const char* k : kWindowProperties) kept = kept || lower == k;
            } else {
                for (const char* k : kComponentProperties) kept = kept || lower == k;
            }
            if (kept) entries_.push_back({Lower1252(name) + "." + lower, &component});
        }
    } catch (...) {
        // A component whose properties cannot be examined adds what it added so far.
    }
}

Status TQzLanguager::SetLocalizationString(std::string_view block) {
    if (Status checked = CheckBlock(block); !checked) return checked;
    if (!built_) BuildPropertiesList();
    lastLines_ = SplitBlockLines(block);
    const Lookup lookup(lastLines_);

    for (const Entry& entry : entries_) {
        if (!entry.component) continue;
        const std::size_t dot = entry.text.find('.');
        if (dot == std::string::npos || dot == 0 || dot + 1 == entry.text.size()) continue;
        const std::string propertyName = entry.text.substr(dot + 1);
        try {
            const std::string prefix = entry.component->Name() + "_";
            const auto properties = entry.component->Properties();
            const PropertyInfo* property = FindProperty(properties, propertyName);
            if (!property) continue;
            ApplyProperty(*entry.component, lookup, "_", prefix, *property);
        } catch (...) {
            // The component could not be read: its properties stay as they were.
        }
    }
    return Status::Ok();
}

void TQzLanguager::ApplyProperty(IPropertyHolder& holder, const Lookup& lookup,
                                 const std::string& section, const std::string& prefix,
                                 const PropertyInfo& property) {
    try {
        const bool object = IsObjectType(property.type);
        const std::string current = object ? std::string() : holder.GetValue(property.name);
        if (current.empty() && property.type != PropertyType::Text && !object) return;
        const std::string text =
            TrimControls(lookup.LookUpValue(section, prefix + property.name, current));

        switch (property.type) {
            case PropertyType::Text:
                holder.SetValue(property.name, text);
                return;
            case PropertyType::Integer: {
                long long v = 0;
                if (!ParseInteger(text, v)) v = 0;
                holder.SetValue(property.name, std::to_string(v));
                return;
            }
            case PropertyType::Enumeration:
                for (const std::string& name : holder.EnumNames(property.name))
                    if (SameText1252(name, text)) {
                        holder.SetValue(property.name, name);
                        return;
                    }
                return;
            case PropertyType::Character:
                if (!text.empty()) holder.SetValue(property.name, text.substr(0, 1));
                return;
            case PropertyType::Real:
                if (IsReal(text)) holder.SetValue(property.name, text);
                return;
            case PropertyType::StringList: {
                const std::string listSection = section + "." + prefix + property.name;
                long long count = 0;
                if (!ParseInteger(TrimControls(lookup.LookUpValue(listSection, "Count", "0")),
                                  count))
                    count = 0;
                if (count <= 0) return;
                count = std::min<long long>(count, kMaxListItems);
                std::vector<std::string> items;
                for (long long i = 0; i < count; ++i)
                    items.push_back(
                        lookup.LookUpValue(listSection, "Item" + std::to_string(i), ""));
                holder.SetStrings(property.name, items);
                return;
            }
            case PropertyType::Collection: {
                const std::string listSection = section + "." + prefix + property.name;
                holder.BeginUpdate(property.name);
                const auto items = holder.Items(property.name);
                for (std::size_t n = 0; n < items.size(); ++n) {
                    if (!items[n]) continue;
                    const std::string itemPrefix = "Item" + std::to_string(n) + "_";
                    for (const PropertyInfo& q : items[n]->Properties())
                        ApplyProperty(*items[n], lookup, listSection, itemPrefix, q);
                }
                holder.EndUpdate(property.name);
                return;
            }
            case PropertyType::Reference: {
                if (SameText1252(text, "(null)")) {
                    holder.SetReference(property.name, nullptr);
                    return;
                }
                const std::size_t dot = text.find('.');
                ILocalizableWindow* window = nullptr;
                std::string componentName = text;
                if (dot == std::string::npos) {
                    window = &owner_;
                } else {
                    componentName = text.substr(dot + 1);
                    if (windows_) window = windows_->FindWindow(text.substr(0, dot));
                }
                if (!window) return;  // no such window open: nothing changes
                holder.SetReference(property.name, window->FindComponent(componentName));
                return;
            }
            case PropertyType::Object: {
                IPropertyHolder* inner = holder.Object(property.name);
                if (!inner) return;
                for (const PropertyInfo& q : inner->Properties())
                    ApplyProperty(*inner, lookup, section, prefix + property.name, q);
                return;
            }
        }
    } catch (...) {
        // This property stays as it was; the next one is applied.
    }
}

// ---------------------------------------------------------------------------------------------
// The language store

namespace {

constexpr std::string_view kConst = "\r\nconst";
constexpr std::string_view kImplementation = "\r\nimplementation";
constexpr std::string_view kEndif = "\r\n{$endif}//QzLanguagesStore";
constexpr std::string_view kComment =
    "\r\n//STRING mantained by QzLanguagesStore.\r\n//Please modify only strings marked by {##>} "
    "{<##}.";

std::string SectionOpening(std::string_view language) {
    return "\r\n{$ifdef " + std::string(language) + "}";
}

std::string Section(std::string_view language, std::string_view body) {
    return std::string(kComment) + SectionOpening(language) + "\r\n" + std::string(body) +
           std::string(kEndif) + "\r\n" + "\r\n";
}

}  // namespace

TQzLanguagesStore::TQzLanguagesStore() : languages_{DefaultLang} {}

std::string TQzLanguagesStore::WriteStoreSkeleton(std::string_view unitName,
                                                  const std::vector<std::string>& languages) {
    std::string out =
        "unit " + std::string(unitName) + ";" + "\r\ninterface" + "\r\n" + "\r\nconst" + "\r\n";
    for (const std::string& language : languages) out += Section(language, "");
    out += "\r\nimplementation";
    out += "\r\nend.";
    return out;
}

std::string TQzLanguagesStore::MergeLanguages(std::string_view content, std::string_view unitName,
                                              const std::vector<std::string>& languages,
                                              bool* wasLanguageFile) {
    std::string text(content);
    const bool languageFile =
        text.find(kConst) != std::string::npos && text.find(kImplementation) != std::string::npos;
    if (wasLanguageFile) *wasLanguageFile = languageFile;
    if (!languageFile) text = WriteStoreSkeleton(unitName, languages);

    std::vector<std::string> missing;
    std::optional<std::string> model;
    for (const std::string& language : languages) {
        const std::string opening = SectionOpening(language);
        const std::size_t at = text.find(opening);
        if (at == std::string::npos) {
            missing.push_back(language);
            continue;
        }
        if (model) continue;
        // The section's body starts after its opening line and runs to its closing line; a
        // section that is never closed gives an empty copy.
        std::size_t body = text.find("\r\n", at + opening.size());
        body = body == std::string::npos ? text.size() : body + 2;
        const std::size_t end = text.find(kEndif, body);
        model = end == std::string::npos ? std::string() : text.substr(body, end - body);
    }
    if (missing.empty()) return text;
    std::string added;
    for (const std::string& language : missing) added += Section(language, model.value_or(""));
    const std::size_t at = text.find(kImplementation);
    text.insert(at, added);
    return text;
}

std::filesystem::path TQzLanguagesStore::FilePath() const {
    return NativePath(FromWindowsPath(LanguagesPasUnit));
}

Status TQzLanguagesStore::SetLanguagesDefines(std::vector<std::string> languages) {
    languages_ = std::move(languages);
    if (languages_.empty()) languages_.push_back(DefaultLang);
    const std::filesystem::path path = FilePath();
    const std::string unitName(StemOf(LastComponent(FromWindowsPath(LanguagesPasUnit))));
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return WriteFileAtomically(path, WriteStoreSkeleton(unitName, languages_));

    auto content = ReadFileBytes(path);
    if (!content) return content.failure();
    bool languageFile = true;
    const std::string merged = MergeLanguages(*content, unitName, languages_, &languageFile);
    if (!languageFile) {
        // What is there is not a language file: it is kept beside it before being replaced.
        std::filesystem::path backup = path;
        backup += ".bak";
        for (int n = 1; std::filesystem::exists(backup, ec); ++n) {
            backup = path;
            backup += ".bak" + std::to_string(n);
        }
        if (Status kept = WriteFileAtomically(backup, *content); !kept) return kept;
    }
    if (merged == *content) return Status::Ok();
    return WriteFileAtomically(path, merged);
}

}  // namespace orvo
