// Message box captions and the recording implementation.
#include "platform/IMessages.h"

namespace orvo {

std::string_view Caption(Box box) {
    switch (box) {
        case Box::Information:
            return "Informazione";
        case Box::Warning:
            return "Attenzione!";
        case Box::Error:
            return "Errore!";
    }
    return "";
}

void RecordingMessages::Show(Box box, std::string_view text) {
    shown_.push_back(Message{box, std::string(text)});
}

Answer RecordingMessages::NextAnswer() {
    if (script_.empty()) return defaultAnswer_;
    const Answer a = script_.front();
    script_.pop_front();
    return a;
}

bool RecordingMessages::Ask(std::string_view question) {
    questions_.emplace_back(question);
    return NextAnswer() == Answer::Yes;
}

Answer RecordingMessages::AskYesNoCancel(std::string_view question) {
    questions_.emplace_back(question);
    return NextAnswer();
}

void RecordingMessages::ScriptAnswers(std::initializer_list<Answer> answers) {
    script_.insert(script_.end(), answers.begin(), answers.end());
}

}  // namespace orvo
