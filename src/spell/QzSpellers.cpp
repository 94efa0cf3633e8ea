// The speller component.
#include "spell/QzSpellers.h"

#include <algorithm>

#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Paths.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "spell/HunspellEngine.h"
#include "spell/TQzSpellerDialog.h"
#include "spell/UserDictionary.h"

namespace orvo {

TQzSpellChecker::TQzSpellChecker(Environment& environment, IMessages& messages)
    : TQzSpellChecker(messages, SpellerRegistry(SystemDictionaryFolders()),
                      UserDictionaryPath(environment)) {}

TQzSpellChecker::TQzSpellChecker(IMessages& messages, SpellerRegistry registry,
                                 std::filesystem::path userDictionary)
    : messages_(messages),
      registry_(std::move(registry)),
      userDictionary_(std::move(userDictionary)) {}

TQzSpellChecker::~TQzSpellChecker() {
    Close();
}

void TQzSpellChecker::SetOptions(std::uint16_t options) {
    options_ = options;
    if (engine_) engine_->SetOptions(options);
}

void TQzSpellChecker::SetLanguage(std::uint16_t language) {
    if (IsOpen() || !FindLanguage(language)) return;
    language_ = language;
    if (dialog_) dialog_->caption = DialogCaption();
}

bool TQzSpellChecker::Open() {
    if (IsOpen()) return true;
    std::optional<SpellerEntry> entry = registry_.Find(language_);
    if (!entry) return false;  // no dictionary for the language: closed, nothing said
    std::unique_ptr<HunspellEngine> engine = HunspellEngine::Load(entry->aff, entry->dic);
    if (!engine) {
        messages_.Error(SubstituteFormat(kSpellLoadError, "%s", Utf8ToCp1252(entry->dic.string())));
        return false;
    }
    engine->SetOptions(options_);
    // The user dictionary: a missing file is an empty one, made when the first word is added.
    userWords_.clear();
    if (Result<std::string> bytes = ReadFileBytes(userDictionary_); bytes.ok())
        userWords_ = ReadUserDictionary(*bytes);
    for (const std::string& word : userWords_) engine->AddWord(word);
    engine_ = std::move(engine);
    entry_ = entry;
    if (OnOpen) OnOpen();
    return true;
}

void TQzSpellChecker::Close() {
    if (!IsOpen()) return;
    engine_.reset();
    entry_.reset();
    if (OnClose) OnClose();
}

void TQzSpellChecker::Execute() {
    if (!IsOpen()) return;
    cancelled_ = false;
    if (!dialog_) dialog_ = std::make_unique<TQzSpellerDialog>(*this);
    dialog_->caption = DialogCaption();
    dialog_->Start();
    if (view_ && dialog_->visible && !dialog_->Ended()) view_->RunModal(*dialog_);
}

void TQzSpellChecker::IgnoreAll(std::string_view word) {
    if (engine_) engine_->AddToList(kListIgnore, word);
}

void TQzSpellChecker::AddToUserDictionary(std::string_view word) {
    if (!engine_ || !IsUserWord(word)) return;
    engine_->AddWord(word);
    if (std::find(userWords_.begin(), userWords_.end(), word) != userWords_.end()) return;
    userWords_.emplace_back(word);
    std::error_code ec;
    std::filesystem::create_directories(userDictionary_.parent_path(), ec);
    if (Status written = WriteFileAtomically(userDictionary_, WriteUserDictionary(userWords_));
        !written)
        messages_.Error(written.failure().text);
}

void TQzSpellChecker::GetSuggestions(std::string_view word, std::vector<std::string>& list) {
    list.clear();
    if (!engine_) return;
    for (std::string& suggestion : engine_->Suggest(word))
        if (std::find(list.begin(), list.end(), suggestion) == list.end())
            list.push_back(std::move(suggestion));
}

int TQzSpellChecker::GetSpellerLanguages(std::vector<SpellerLanguageItem>& list, int kind) const {
    list.clear();
    for (std::uint16_t id : registry_.Languages()) {
        const LanguageInfo* info = FindLanguage(id);
        const std::string_view name = kind == 1   ? info->englishName
                                      : kind == 2 ? info->nativeName
                                      : kind == 3 ? info->abbreviation
                                                  : info->localName;
        list.push_back({std::string(name), id});
    }
    return int(list.size());
}

SpellVerdict TQzSpellChecker::Verify(std::string_view buffer, int state) {
    return engine_ ? engine_->Verify(buffer, state) : SpellVerdict{};
}

void TQzSpellChecker::AddChange(std::uint16_t list, std::string_view word,
                                std::string_view replacement) {
    if (engine_) engine_->AddToList(list, word, replacement);
}

bool TQzSpellChecker::WordPasses(std::string_view word) {
    return !engine_ || engine_->WordPasses(word);
}

std::string TQzSpellChecker::LanguageName() const {
    const LanguageInfo* info = FindLanguage(language_);
    return info ? std::string(info->localName) : std::string();
}

std::string TQzSpellChecker::DialogCaption() const {
    return SubstituteFormat(Caption, "%s", LanguageName());
}

}  // namespace orvo
