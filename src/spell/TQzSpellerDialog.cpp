// The rules of the spelling dialog.
#include "spell/TQzSpellerDialog.h"

#include <algorithm>

#include "base/Cp1252.h"
#include "spell/QzSpellers.h"

namespace orvo {

using namespace orvo::literals;

std::string_view SpellProblemTitle(int status) {
    switch (status) {
        case kSpellUnknownWord:
        case kSpellChangeOnce:
            return "Parola sconosciuta:";
        case kSpellHyphenation:
            return "A capo errato:";
        case kSpellCapitalisation:
            return "Errore nelle maiuscole:";
        case kSpellAbbreviation:
            return "Possibile abbreviazione:";
        case kSpellUncappedSentence:
            return "Errore nella maiuscola a inizio frase:";
        case kSpellRepeatWord:
            return "Parole ripetute:";
        case kSpellExtraSpaces:
            return "Spazi extra:";
        case kSpellMissingSpace:
            return "Spazio mancante:";
        case kSpellInitialNumeral:
            return "Numeri all'inizio di una parola:";
        default:
            return "";
    }
}

std::string_view SpellerDialogBlock() {
    static constexpr std::string_view kBlock =
        "*_*qzspellerdialog_caption\r\n Controllo ortografia\r\n"
        "*_*changebutton_caption\r\n &Cambia\r\n"
        "*_*changeallbutton_caption\r\n Cambia &Tutto\r\n"
        "*_*skipbutton_caption\r\n &Ignora\r\n"
        "*_*skipallbutton_caption\r\n I&gnora Tutto\r\n"
        "*_*addbutton_caption\r\n &Aggiungi\r\n"
        "*_*cancelbutton_caption\r\n C&hiudi\r\n"
        "*_*canceledit_caption\r\n Annulla &edit\r\n"
        "*_*delbutton_caption\r\n Ca&ncella\r\n"
        "*_*bresume_caption\r\n &Riprendi\r\n"
        "*_*startbutton_caption\r\n Ini&zia\r\n"
        "*_*bsalta_caption\r\n &Salta la pagina\r\n"
        "*_*panel1_caption\r\n Controllo in corso...\r\n";
    return kBlock;
}

TQzSpellerDialog::TQzSpellerDialog(TQzSpellChecker& checker) : checker_(checker) {}

void TQzSpellerDialog::Start() {
    ended_ = false;
    waiting_ = false;
    editing_ = false;
    std::string text;
    int start = 0;
    if (checker_.OnGetPar) checker_.OnGetPar(text, start);
    bresume.visible = false;
    if (text.empty()) {
        End();
        return;
    }
    // Checking begins after the first start + 1 characters (-1: at the start).
    if (start > 0) std::fill_n(text.begin(), std::min(text.size(), std::size_t(start) + 1), ' ');
    buffer_ = std::move(text);
    pointer_ = 0;
    state_ = kSpellStateStart;
    if (checker_.WaitUserStartToBegin) {
        startButton.visible = true;
        ShowView(true);
        return;
    }
    startButton.visible = false;
    ShowView(!checker_.ShowProgressWin);
    // The form, once shown, starts the check itself (also when a new check is started while
    // it is still shown).
    Check();
}

void TQzSpellerDialog::ShowView(bool full) {
    fullView = full;
    if (!full) progress = 0;
    if (!visible) {
        starting_ = true;
        visible = true;
        bsalta.visible = checker_.SkipPage();
    }
}

void TQzSpellerDialog::End() {
    starting_ = true;
    ended_ = true;
    waiting_ = false;
    visible = false;
    if (checker_.OnEnd) checker_.OnEnd();
}

std::string TQzSpellerDialog::ErrorText() const {
    return buffer_.substr(std::min(buffer_.size(), ErrorPos()), verdict_.length);
}

void TQzSpellerDialog::Check() {
    starting_ = false;
    waiting_ = false;
    editing_ = false;
    for (;;) {
        progress = progress >= 100 ? 0 : progress + 1;
        pointer_ = std::min(pointer_, buffer_.size());
        verdict_ = checker_.Verify(std::string_view(buffer_).substr(pointer_), state_);
        state_ = kSpellStateContinue;
        const int status = verdict_.status;
        // A report that would not move the check on is taken as the end of the paragraph.
        if (status != kSpellOk &&
            (verdict_.length == 0 || pointer_ + verdict_.offset + verdict_.length > buffer_.size()))
            verdict_.status = kSpellOk;
        if (verdict_.status != kSpellOk && status != kSpellAutoChange && checker_.OnMisspelling)
            checker_.OnMisspelling(status, ErrorPos(), verdict_.length);
        switch (verdict_.status) {
            case kSpellOk: {
                std::string text;
                int start = 0;
                if (checker_.OnGetPar) checker_.OnGetPar(text, start);
                if (text.empty()) {
                    End();
                    return;
                }
                buffer_ = std::move(text);
                pointer_ = 0;
                state_ = kSpellStateParagraph;
                continue;
            }
            case kSpellAutoChange:
                // Without a replacement the word is kept; the check goes on after the change
                // so that a list that changes words back and forth cannot loop.
                if (verdict_.replacement.empty())
                    pointer_ = ErrorPos() + verdict_.length;
                else
                    Replace(verdict_.replacement, 0, true);
                continue;
            case kSpellUnknownWord:
            case kSpellHyphenation:
            case kSpellCapitalisation:
            case kSpellAbbreviation:
            case kSpellUncappedSentence:
            case kSpellExtraSpaces:
                ShowProblem(SpellProblemTitle(status), true);
                return;
            case kSpellChangeOnce:
                ShowProblem(SpellProblemTitle(status), true);
                if (std::find(variants.begin(), variants.end(), verdict_.replacement) ==
                    variants.end()) {
                    variants.insert(variants.begin(), verdict_.replacement);
                    selected = 0;
                    changeButton.enabled = variantsState.enabled = true;
                    label2 = kLabelWithSuggestions;
                }
                return;
            case kSpellRepeatWord:
                ShowProblem(SpellProblemTitle(status), false);
                delButton = {true, true};
                changeButton.visible = false;
                return;
            case kSpellMissingSpace:
            case kSpellInitialNumeral:
                ShowProblem(SpellProblemTitle(status), false);
                return;
            default:
                waiting_ = true;
                return;
        }
    }
}

void TQzSpellerDialog::ShowContext() {
    const std::size_t at = ErrorPos();
    std::size_t first = buffer_.find_last_of("\r\n", at == 0 ? 0 : at - 1);
    first = (first == std::string::npos || at == 0) ? 0 : first + 1;
    std::size_t last = buffer_.find_first_of("\r\n", at);
    if (last == std::string::npos) last = buffer_.size();
    updating_ = true;
    contextLine = buffer_.substr(first, last - first);
    contextError = at - first;
    contextErrorLength = verdict_.length;
    updating_ = false;
}

void TQzSpellerDialog::FillVariants() {
    const std::string error = ErrorText();
    variants.clear();
    switch (verdict_.status) {
        case kSpellUnknownWord:
        case kSpellChangeOnce:
        case kSpellHyphenation:
        case kSpellCapitalisation:
            checker_.GetSuggestions(error, variants);
            break;
        case kSpellUncappedSentence: {
            std::string capital = error;
            if (!capital.empty())
                capital[0] = char(UpperCase1252(static_cast<unsigned char>(capital[0])));
            variants.push_back(capital);
            break;
        }
        case kSpellExtraSpaces: {
            // The blanks between the two words become one.
            const std::size_t keep = error.size() >= 2 ? error.size() - 2 : 0;
            std::string head = error.substr(0, keep);
            while (!head.empty() && head.back() == ' ') head.pop_back();
            variants.push_back(head + error.substr(keep));
            break;
        }
        default:
            break;
    }
}

void TQzSpellerDialog::ShowProblem(std::string_view title, bool withSuggestions) {
    ShowContext();
    infoMsg = std::string(title);
    cancelEdit.visible = false;
    delButton.visible = false;
    changeButton.visible = true;
    skipButton = {true, true};
    const bool unknown = verdict_.status == kSpellUnknownWord;
    skipAllButton.enabled = unknown;
    addButton.enabled = unknown;
    if (withSuggestions) {
        FillVariants();
        selected = variants.empty() ? -1 : 0;
        changeButton.enabled = variantsState.enabled = !variants.empty();
        changeAllButton.enabled = !variants.empty() && unknown;
    } else {
        variants.clear();
        selected = -1;
        skipAllButton.enabled = addButton.enabled = false;
        changeButton.enabled = changeAllButton.enabled = variantsState.enabled = false;
    }
    label2 = std::string(variants.empty() ? kLabelWithoutSuggestions : kLabelWithSuggestions);
    editedWord_ = ErrorText();
    waiting_ = true;
    ShowView(true);
}

void TQzSpellerDialog::Replace(const std::string& replacement, int eventType, bool continueAfter) {
    const std::size_t at = ErrorPos();
    const std::size_t length = verdict_.length;
    buffer_.replace(at, length, replacement);
    if (checker_.OnChangeText) checker_.OnChangeText(at, length, replacement, eventType);
    pointer_ = continueAfter ? at + replacement.size() : at;
    // The blanks between two words made one: go on with the second word, not inside it.
    if (verdict_.status == kSpellExtraSpaces && !replacement.empty())
        pointer_ = at + replacement.size() - 1;
}

void TQzSpellerDialog::ChangeClick() {
    if (!waiting_ || !changeButton.visible || !changeButton.enabled) return;
    const std::string chosen =
        selected >= 0 && std::size_t(selected) < variants.size() ? variants[selected] : "";
    if (editing_) {
        Replace(editedWord_, 0, false);
    } else if (verdict_.status == kSpellUnknownWord) {
        checker_.AddChange(kListChangeOnce, ErrorText(), chosen);
        Replace(chosen, 0, false);
    } else {
        Replace(chosen, 0, false);
    }
    Check();
}

void TQzSpellerDialog::ChangeAllClick() {
    if (!waiting_ || !changeAllButton.enabled) return;
    const std::string replacement =
        editing_
            ? editedWord_
            : (selected >= 0 && std::size_t(selected) < variants.size() ? variants[selected] : "");
    checker_.AddChange(kListChangeAlways, ErrorText(), replacement);
    Replace(replacement, 1, true);
    Check();
}

void TQzSpellerDialog::DelClick() {
    if (!waiting_ || !delButton.visible || !delButton.enabled) return;
    const std::size_t at = ErrorPos();
    const std::size_t length = verdict_.length;
    // With the error at the very start there is no character before it to take along.
    const std::size_t from = at > 0 ? at - 1 : 0;
    const std::size_t count = length + (at - from);
    buffer_.erase(from, count);
    if (checker_.OnChangeText) checker_.OnChangeText(from, count, "", 0);
    pointer_ = std::min(at, buffer_.size());
    if (at == 0) pointer_ = 0;
    Check();
}

void TQzSpellerDialog::SkipClick() {
    if (!waiting_) return;
    pointer_ += SpellResumeAfter(verdict_);
    Check();
}

void TQzSpellerDialog::SkipAllClick() {
    if (!waiting_ || !skipAllButton.enabled) return;
    checker_.IgnoreAll(ErrorText());
    pointer_ = ErrorPos() + verdict_.length;
    Check();
}

void TQzSpellerDialog::AddClick() {
    if (!waiting_ || !addButton.enabled) return;
    checker_.AddToUserDictionary(ErrorText());
    pointer_ = ErrorPos();
    Check();
}

void TQzSpellerDialog::CancelClick() {
    checker_.SetCancelled(true);
    End();
}

void TQzSpellerDialog::SaltaClick() {
    End();
}

void TQzSpellerDialog::StartClick() {
    if (checker_.IsOpen() && !ended_) Check();
}

void TQzSpellerDialog::VariantsClick(int index) {
    if (index < 0 || std::size_t(index) >= variants.size()) return;
    selected = index;
    if (editing_) EditWord(variants[std::size_t(index)]);
}

void TQzSpellerDialog::VariantsDoubleClick(int index) {
    if (index < 0 || std::size_t(index) >= variants.size()) return;
    selected = index;
    ChangeClick();
}

void TQzSpellerDialog::SaveStates() {
    saved_ = {changeButton, changeAllButton, skipAllButton, skipButton,
              addButton,    delButton,       variantsState};
}

void TQzSpellerDialog::RestoreStates() {
    changeButton = saved_.change;
    changeAllButton = saved_.changeAll;
    skipAllButton = saved_.skipAll;
    skipButton = saved_.skip;
    addButton = saved_.add;
    delButton = saved_.del;
    variantsState = saved_.variants;
}

void TQzSpellerDialog::EditWord(std::string_view word) {
    if (updating_ || !waiting_) return;
    if (!editing_) {
        SaveStates();
        editing_ = true;
        cancelEdit = {true, true};
        changeButton = {true, true};
        changeAllButton.enabled = skipAllButton.enabled = addButton.enabled = false;
        delButton.visible = false;
    }
    editedWord_ = std::string(word);
    contextLine.replace(contextError, contextErrorLength, editedWord_);
    contextErrorLength = editedWord_.size();
}

void TQzSpellerDialog::CancelEditClick() {
    if (!editing_) return;
    updating_ = true;
    const std::string error = ErrorText();
    contextLine.replace(contextError, contextErrorLength, error);
    contextErrorLength = error.size();
    editedWord_ = error;
    updating_ = false;
    RestoreStates();
    cancelEdit.visible = false;
    editing_ = false;
}

}  // namespace orvo
