// The hypertext options window ("Opzioni dell'ipertesto") without its widgets: the header's
// fields as the window shows them, and Ok, which stores them back in the header with the
// header's limits.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "spell/QzSpellers.h"

namespace orvo {

class ISettings;
class TKYTset;
class TKYToggetto;

/// Lengths typed in the window's fields (Windows-1252 bytes); the header keeps fewer.
inline constexpr std::size_t kOptionsTitleTyped = 79;
inline constexpr std::size_t kOptionsTextTyped = 150;
inline constexpr std::size_t kOptionsInformationTyped = 1536;
inline constexpr std::size_t kOptionsShortTyped = 16;

/// The caption of a page field that names no page.
inline constexpr std::string_view kNoPageLabel = "...";

/// What Ok needs around the window: the spell checker (nullptr: none), the settings, the
/// editor's read-only state and the request to show the editor's page again.
struct HypertextOptionsHost {
    TQzSpellChecker* speller = nullptr;
    ISettings* settings = nullptr;
    std::function<bool()> editorReadOnly;
    std::function<void(bool)> setEditorReadOnly;
    /// Shows the editor's page again (-1: the page it shows).
    std::function<void(int page)> reshowPage;
};

class HypertextOptions {
public:
    /// Reads the header. The language list is every language with a dictionary (sorted by
    /// name); a document language not in a non-empty list becomes the first entry's at once.
    HypertextOptions(TKYTset& set, std::vector<SpellerLanguageItem> languages);
    ~HypertextOptions();

    // "Informazioni"
    std::string title, authors, company, copyright, information, prefix, password;
    bool readOnly = false;
    std::int32_t version = 0;  // shown only
    const std::vector<SpellerLanguageItem>& Languages() const { return languages_; }
    int selectedLanguage = -1;  // index in Languages(), -1 none

    // "Impostazioni di pagina, sfondo": pages by identifier (nullopt: none chosen).
    std::optional<std::int32_t> coverPage, contentsPage, headerPage, footerPage;
    /// The name of a page for its label, or "..." when none.
    std::string PageLabel(const std::optional<std::int32_t>& page) const;
    std::int32_t backgroundColour = 0, textColour = 0, linkColour = 0, visitedColour = 0;
    bool useBackgroundPicture = false;
    /// The chosen background picture (registered or not), or nullptr.
    TKYToggetto* BackgroundPicture() const { return picture_; }
    /// A picture chosen in the picture window: an unregistered one is kept by the window
    /// until Ok registers it; an earlier unregistered choice is dropped. Ticks the box.
    void ChooseBackgroundPicture(TKYToggetto* registered);
    void ChooseBackgroundPicture(std::unique_ptr<TKYToggetto> unregistered);

    // "Internet" (hidden; written back as read)
    bool navContents = false, navSearch = false, navHelp = false, navCover = false, navNone = false;

    /// Ok: stores every field, switches the spell checker's language (only while it is
    /// open), asks the editor to show its page again when the header or footer page or the
    /// language changed, and marks the hypertext modified.
    void Apply(const HypertextOptionsHost& host);

private:
    TKYTset& set_;
    std::vector<SpellerLanguageItem> languages_;
    std::optional<std::int32_t> openedHeader_, openedFooter_;
    TKYToggetto* picture_ = nullptr;
    std::unique_ptr<TKYToggetto> ownPicture_;
};

}  // namespace orvo
