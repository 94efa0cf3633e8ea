// The rules of the "Apri" chooser shown when a web page is opened: what it offers for a page
// of no hypertext and for a page our export wrote (its marker names the hypertext), the text
// above the choices, the search for a hypertext that moved, and what "&Ok" decides.
#pragma once

#include <string>
#include <vector>

namespace orvo {

class IMessages;

class HtmlOpenChooser {
public:
    /// `document`: the hypertext the page's marker names ("" for none); `documentExists`:
    /// whether that file is there.
    HtmlOpenChooser(std::string document, bool documentExists);

    static constexpr const char* kCaption = "Apri";
    static constexpr const char* kGroup = "Desideri:";
    static constexpr const char* kSearchButton = "Cerca...";
    static constexpr const char* kSearchFilter = "Orvo hypertext (*.kyt)|*.kyt;";

    /// The choices shown, with their numbers (0 to 2 without a hypertext, 3 to 6 with one).
    struct Choice {
        int number;
        std::string text;  // Windows-1252
    };
    std::vector<Choice> Choices() const;
    /// The text above the choices ("" without a hypertext).
    std::string Explanation() const;
    /// "Cerca..." shows while the named hypertext is missing.
    bool SearchShown() const { return !document_.empty() && !exists_; }
    /// A hypertext found by "Cerca..." replaces the one the marker names.
    void Found(const std::string& document, bool exists);

    /// "&Ok" with `choice`: true when the chooser closes with it. Choices 3 and 4 with a
    /// missing hypertext ask first; No keeps the chooser open.
    bool Ok(int choice, IMessages& messages) const;

    const std::string& Document() const { return document_; }

private:
    std::string document_;
    bool exists_;
};

}  // namespace orvo
