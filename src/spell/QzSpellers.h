// TQzSpellChecker: the speller component the main window owns. It finds the dictionary of its
// language, keeps the session with the option set, the user dictionary and the lists, offers the
// word operations (suggestions, ignore all, add to the user dictionary) and runs the spelling
// dialog over the paragraphs its OnGetPar hands it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "spell/SpellTypes.h"
#include "spell/SpellerRegistry.h"

namespace orvo {

class Environment;
class HunspellEngine;
class IMessages;
class TQzSpellerDialog;

/// An entry of GetSpellerLanguages: the language's name of the kind asked and its identifier.
struct SpellerLanguageItem {
    std::string name;
    std::uint16_t id = 0;
    bool operator==(const SpellerLanguageItem&) const = default;
};

/// Shows the dialog while a check runs: returns when the dialog ends.
class ISpellerDialogView {
public:
    virtual ~ISpellerDialogView() = default;
    virtual void RunModal(TQzSpellerDialog& dialog) = 0;
};

class TQzSpellChecker {
public:
    /// The system's dictionary folders and the user dictionary in the user's data folder.
    TQzSpellChecker(Environment& environment, IMessages& messages);
    TQzSpellChecker(IMessages& messages, SpellerRegistry registry,
                    std::filesystem::path userDictionary);
    ~TQzSpellChecker();
    TQzSpellChecker(const TQzSpellChecker&) = delete;
    TQzSpellChecker& operator=(const TQzSpellChecker&) = delete;

    std::uint16_t Options() const { return options_; }
    /// Stored, and passed to the open session at once.
    void SetOptions(std::uint16_t options);
    std::uint16_t Language() const { return language_; }
    /// Ignored while open and for an identifier that names no language.
    void SetLanguage(std::uint16_t language);

    std::string Caption{kSpellDefaultCaption};
    std::string RegistryPathForWinPos;
    bool ModalDialog = true;
    bool ShowProgressWin = true;
    bool WaitUserStartToBegin = false;

    std::function<void(int status, std::size_t bufPos, std::size_t len)> OnMisspelling;
    std::function<void(std::size_t bufPos, std::size_t len, const std::string& newWord,
                       int eventType)>
        OnChangeText;
    std::function<void(std::string& text, int& startPos)> OnGetPar;
    std::function<void()> OnOpen, OnClose, OnEnd, OnResume;

    /// Loads the dictionary of the language (or of its primary language) and the user
    /// dictionary. False, with "Errore caricando Spell DLL %s", when the dictionary cannot be
    /// loaded; false without a message when no dictionary serves the language. The checker is
    /// open only once every step succeeded.
    bool Open();
    void Close();
    bool IsOpen() const { return engine_ != nullptr; }
    bool Cancelled() const { return cancelled_; }
    void SetCancelled(bool cancelled) { cancelled_ = cancelled; }
    bool SkipPage() const { return skipPage_; }
    void SetSkipPage(bool skip) { skipPage_ = skip; }

    /// Runs the spelling dialog over the paragraphs OnGetPar supplies; nothing when closed.
    void Execute();
    void IgnoreAll(std::string_view word);
    /// Adds the word to the user dictionary and writes its file.
    void AddToUserDictionary(std::string_view word);
    /// Clears the list, then (when open) fills it with the suggestions for the word.
    void GetSuggestions(std::string_view word, std::vector<std::string>& list);
    /// The languages with a dictionary installed, named by kind (0 in the program's language,
    /// 1 English, 2 native, 3 abbreviated); returns how many there are.
    int GetSpellerLanguages(std::vector<SpellerLanguageItem>& list, int kind) const;

    /// The first problem in the buffer (kSpellOk when closed).
    SpellVerdict Verify(std::string_view buffer, int state);
    /// Adds a pair to a change list (kListChangeOnce, kListChangeAlways).
    void AddChange(std::uint16_t list, std::string_view word, std::string_view replacement);
    /// Whether one word passes (closed: every word passes).
    bool WordPasses(std::string_view word);

    /// The language's name in the program's language ("Italiano").
    std::string LanguageName() const;
    /// Caption with "%s" replaced by the language's name.
    std::string DialogCaption() const;
    /// The dictionary serving the open session.
    const std::optional<SpellerEntry>& Entry() const { return entry_; }
    const std::filesystem::path& UserDictionaryFile() const { return userDictionary_; }
    const std::vector<std::string>& UserWords() const { return userWords_; }

    TQzSpellerDialog* Dialog() const { return dialog_.get(); }
    void SetDialogView(ISpellerDialogView* view) { view_ = view; }
    IMessages& Messages() const { return messages_; }

private:
    IMessages& messages_;
    SpellerRegistry registry_;
    std::filesystem::path userDictionary_;
    std::uint16_t options_ = kDefaultSpellOptions;
    std::uint16_t language_ = 1040;
    std::unique_ptr<HunspellEngine> engine_;
    std::optional<SpellerEntry> entry_;
    std::vector<std::string> userWords_;
    bool cancelled_ = false;
    bool skipPage_ = false;
    std::unique_ptr<TQzSpellerDialog> dialog_;
    ISpellerDialogView* view_ = nullptr;
};

}  // namespace orvo
