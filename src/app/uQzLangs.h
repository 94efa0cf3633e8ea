// Localisation: every window takes the texts of its controls from one block of key and value
// lines; the language store keeps the generated file with one section per language.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace orvo {

/// The kinds of published properties a block can set.
enum class PropertyType {
    Text,         // caption, hint, text, filter, title
    Integer,      // written in decimal
    Enumeration,  // written by the name of its value ("taLeftJustify")
    Character,
    Real,        // "." as the decimal separator
    StringList,  // items, lines, strings, tabs, imageindexes
    Collection,  // the columns of a list view
    Reference,   // a reference to another component (a popup menu's items)
    Object,      // another object with published properties of its own
};

struct PropertyInfo {
    std::string name;
    PropertyType type = PropertyType::Text;
};

class ILocalizableComponent;
class TQzLanguagesStore;

/// Something with published properties: a window's component, an item of a collection or an
/// object a property holds. Names are compared without regard to case. Any operation may
/// throw; the localiser then leaves that property as it was.
class IPropertyHolder {
public:
    virtual ~IPropertyHolder() = default;
    virtual std::vector<PropertyInfo> Properties() const = 0;
    /// A scalar property as text: a text unchanged, a number in decimal, an enumeration by its
    /// name, a character as one byte.
    virtual std::string GetValue(std::string_view property) const = 0;
    /// Sets a scalar property from text in the same form; false when it cannot be set.
    virtual bool SetValue(std::string_view property, std::string_view value) = 0;
    /// The names of an enumeration property's values.
    virtual std::vector<std::string> EnumNames(std::string_view) const { return {}; }
    virtual bool SetStrings(std::string_view, const std::vector<std::string>&) { return false; }
    /// The items a collection property has now.
    virtual std::vector<IPropertyHolder*> Items(std::string_view) { return {}; }
    virtual void BeginUpdate(std::string_view) {}
    virtual void EndUpdate(std::string_view) {}
    /// The object an Object property holds, or nullptr.
    virtual IPropertyHolder* Object(std::string_view) { return nullptr; }
    /// Sets a Reference property (nullptr clears it).
    virtual bool SetReference(std::string_view, ILocalizableComponent*) { return false; }
};

enum class ComponentKind { Window, MenuItem, Other, Languager };

class ILocalizableComponent : public IPropertyHolder {
public:
    virtual std::string Name() const = 0;
    virtual ComponentKind Kind() const = 0;
};

/// A window: a component that owns others.
class ILocalizableWindow : public ILocalizableComponent {
public:
    /// The components the window owns, in the order of ownership.
    virtual std::vector<ILocalizableComponent*> Components() = 0;
    /// The owned component of that name (case ignored), or nullptr.
    virtual ILocalizableComponent* FindComponent(std::string_view name) = 0;
};

/// The open windows and data modules, found by name (case ignored).
class IWindowDirectory {
public:
    virtual ~IWindowDirectory() = default;
    virtual ILocalizableWindow* FindWindow(std::string_view name) = 0;
};

/// The lines of a block: CR, LF and CR LF each end one.
std::vector<std::string> SplitBlockLines(std::string_view block);
/// The value line's escapes: "§!" a line break, "§§" one "§", "§" before anything else
/// nothing, "''" one apostrophe.
std::string UnescapeValue(std::string_view value);
/// The inverse of UnescapeValue for a value that is written into a block.
std::string EscapeValue(std::string_view text);
/// Removes characters with codes up to 32 at both ends.
std::string TrimControls(std::string_view text);

/// A block is pairs of lines: a key line beginning with "*", then a value line that begins
/// with its separator. Ok, or the failure naming the first line that breaks the form.
Status CheckBlock(std::string_view block);

/// The window's localiser. Assigning a block sets every localisable property of the window
/// and of the components it owns from the block: texts, lists, columns, references.
class TQzLanguager {
public:
    explicit TQzLanguager(ILocalizableWindow& owner, IWindowDirectory* windows = nullptr);

    /// The store the window's block belongs to; not used when a block is applied.
    TQzLanguagesStore* LanguagesStore = nullptr;

    /// Applies `block` (Windows-1252). A block that breaks the form is reported and nothing of
    /// it is applied; otherwise every property is set that can be, one failure at a time
    /// leaving that property as it was.
    Status SetLocalizationString(std::string_view block);
    /// The localisable entries ("component.property", lower case); reading builds the list
    /// once and keeps it.
    const std::vector<std::string>& PropertiesList();

    enum class Operation { Insert, Remove };
    /// A component was added to or removed from the owner.
    void Notification(ILocalizableComponent* component, Operation operation);
    /// The store was removed: the link to it is cleared.
    void Notification(TQzLanguagesStore* store, Operation operation);

private:
    struct Entry {
        std::string text;  // component + "." + property, lower case
        ILocalizableComponent* component;
    };
    class Lookup;
    void BuildPropertiesList();
    void CollectEntries(ILocalizableComponent& component);
    void ApplyProperty(IPropertyHolder& holder, const Lookup& lookup, const std::string& section,
                       const std::string& prefix, const PropertyInfo& property);

    ILocalizableWindow& owner_;
    IWindowDirectory* windows_;
    bool built_ = false;
    std::vector<Entry> entries_;
    std::vector<std::string> texts_;
    std::vector<std::string> lastLines_;
};

/// The language store: keeps the generated file of language sections, one per build-time
/// language define, each section a copy of the first one until it is translated.
class TQzLanguagesStore {
public:
    TQzLanguagesStore();

    std::string DefaultLang = "eng";
    /// Where the generated file lives (Windows-1252 name; a Windows form is turned into a
    /// path on disk where it is used).
    std::string LanguagesPasUnit = "c:\\FormLocalizations1.cpp";

    const std::vector<std::string>& LanguagesDefines() const { return languages_; }
    /// Replaces the language list (an empty one becomes DefaultLang alone), then creates the
    /// file or adds the sections it lacks. A file that is not a language file is copied to
    /// "<file>.bak" (or ".bak1", ...) before it is written anew.
    Status SetLanguagesDefines(std::vector<std::string> languages);
    /// Sets the list without touching any file, as loading a window's layout does.
    void LoadLanguagesDefines(std::vector<std::string> languages) {
        languages_ = std::move(languages);
    }

    /// The file with empty sections for `languages`.
    static std::string WriteStoreSkeleton(std::string_view unitName,
                                          const std::vector<std::string>& languages);
    /// `content` with a section added for every language it lacks (a copy of the first
    /// existing language's section). `wasLanguageFile` tells whether the content could be
    /// kept; when not, the result is the skeleton with the sections added.
    static std::string MergeLanguages(std::string_view content, std::string_view unitName,
                                      const std::vector<std::string>& languages,
                                      bool* wasLanguageFile = nullptr);

    std::filesystem::path FilePath() const;

private:
    std::vector<std::string> languages_;
};

}  // namespace orvo
