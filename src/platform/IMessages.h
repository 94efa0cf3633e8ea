// The message boxes the program shows, as an interface: the desktop shows them, tests record.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

enum class Box { Information, Warning, Error };

/// The caption of each box: "Informazione", "Attenzione!", "Errore!". Questions carry the
/// application's title instead.
std::string_view Caption(Box box);

enum class Answer { Yes, No, Cancel };

struct Message {
    Box box = Box::Information;
    std::string text;  // Windows-1252, "\r" kept as the program writes it
    bool operator==(const Message&) const = default;
};

class IMessages {
public:
    virtual ~IMessages() = default;
    /// Shows `text` (Windows-1252) in the box of that kind and waits until it is closed.
    virtual void Show(Box box, std::string_view text) = 0;
    /// A Yes/No question; true for Yes.
    virtual bool Ask(std::string_view question) = 0;
    /// A Yes/No/Cancel question.
    virtual Answer AskYesNoCancel(std::string_view question) = 0;

    void Inform(std::string_view text) { Show(Box::Information, text); }
    void Warn(std::string_view text) { Show(Box::Warning, text); }
    void Error(std::string_view text) { Show(Box::Error, text); }
};

/// Records every box and question; questions take their answers from a script, then the
/// default answer (No unless set).
class RecordingMessages final : public IMessages {
public:
    void Show(Box box, std::string_view text) override;
    bool Ask(std::string_view question) override;
    Answer AskYesNoCancel(std::string_view question) override;

    void ScriptAnswers(std::initializer_list<Answer> answers);
    void SetDefaultAnswer(Answer answer) { defaultAnswer_ = answer; }

    const std::vector<Message>& Shown() const { return shown_; }
    const std::vector<std::string>& Questions() const { return questions_; }
    void Clear() {
        shown_.clear();
        questions_.clear();
    }

private:
    Answer NextAnswer();
    std::vector<Message> shown_;
    std::vector<std::string> questions_;
    std::deque<Answer> script_;
    Answer defaultAnswer_ = Answer::No;
};

}  // namespace orvo
