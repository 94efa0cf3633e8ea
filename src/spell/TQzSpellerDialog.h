// TQzSpellerDialog: the rules of the spelling dialog "Controllo ortografia". It walks the
// paragraphs its checker's OnGetPar hands it, shows each problem the engine reports with its
// suggestions and applies the user's choice (change, change all, skip, skip all, add, delete a
// repeated word, skip the page, close). No widgets: a view shows this state and calls the
// actions.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "spell/SpellTypes.h"

namespace orvo {

class TQzSpellChecker;

/// The dialog's fixed texts.
inline constexpr std::string_view kSpellerDialogCaption = "Controllo ortografia";
inline constexpr std::string_view kSpellProgressText = "Controllo in corso...";
inline constexpr std::string_view kLabelWithSuggestions =
    "Correggi la parola in rosso o scegli uno dei &suggerimenti:";
inline constexpr std::string_view kLabelWithoutSuggestions = "Correggi la parola in rosso.";

/// The title shown for a status; "" for a status the dialog does not show.
std::string_view SpellProblemTitle(int status);

/// The localisation block of the dialog (Windows-1252).
std::string_view SpellerDialogBlock();

struct SpellControl {
    bool visible = true;
    bool enabled = true;
    bool operator==(const SpellControl&) const = default;
};

class TQzSpellerDialog {
public:
    explicit TQzSpellerDialog(TQzSpellChecker& checker);

    /// Starts a check (the checker's Execute): asks for the first paragraph and shows the
    /// dialog, then checks until a problem waits for the user or the paragraphs run out.
    void Start();
    /// Checks from the pointer on (the form's start message, the start button).
    void Check();

    void ChangeClick();
    void ChangeAllClick();
    void SkipClick();
    void SkipAllClick();
    void AddClick();
    void DelClick();
    void CancelClick();  // "C&hiudi": sets the cancel flag and ends
    void SaltaClick();   // "&Salta la pagina": ends without the cancel flag
    void StartClick();
    /// A click on a suggestion: selects it; while the word is edited, it replaces the edit.
    void VariantsClick(int index);
    void VariantsDoubleClick(int index);
    /// The user typed in Misspelling: `word` is the new unprotected (edited) stretch.
    void EditWord(std::string_view word);
    void CancelEditClick();

    // What the view shows.
    std::string caption;
    std::string infoMsg;
    std::string label2;
    std::vector<std::string> variants;
    int selected = -1;
    SpellControl variantsState, changeButton, changeAllButton, skipButton, skipAllButton, addButton,
        cancelButton, cancelEdit{false, true}, delButton{false, true}, bresume{false, true},
        startButton{false, true}, bsalta{false, true};
    bool visible = false;
    bool fullView = false;         // false: only the progress panel
    int progress = 0;              // 0..100
    std::string contextLine;       // Misspelling: the line of the buffer with the error
    std::size_t contextError = 0;  // where the red, editable stretch starts in contextLine
    std::size_t contextErrorLength = 0;
    bool Ended() const { return ended_; }
    bool Waiting() const { return waiting_; }
    int Status() const { return verdict_.status; }
    /// The paragraph text as the dialog holds it (with the changes made so far).
    const std::string& Buffer() const { return buffer_; }
    std::size_t Pointer() const { return pointer_; }

private:
    void End();
    void ShowView(bool full);
    void ShowProblem(std::string_view title, bool withSuggestions);
    void ShowContext();
    void FillVariants();
    /// Puts `replacement` in place of the error, tells OnChangeText, and moves the pointer:
    /// to the start of the replacement, or past it.
    void Replace(const std::string& replacement, int eventType, bool continueAfter);
    std::string ErrorText() const;
    std::size_t ErrorPos() const { return pointer_ + verdict_.offset; }
    void SaveStates();
    void RestoreStates();

    TQzSpellChecker& checker_;
    std::string buffer_;
    std::size_t pointer_ = 0;
    int state_ = kSpellStateStart;
    SpellVerdict verdict_;
    bool starting_ = false;
    bool updating_ = false;
    bool editing_ = false;
    bool ended_ = false;
    bool waiting_ = false;
    std::string editedWord_;
    struct Saved {
        SpellControl change, changeAll, skipAll, skip, add, del, variants;
    } saved_;
};

}  // namespace orvo
