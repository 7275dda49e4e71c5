#include "platform/ConsoleUi.h"

#include <iostream>

ConsoleUi::ConsoleUi(bool answerYes) : ConsoleUi(answerYes, std::cerr) {}

ConsoleUi::ConsoleUi(bool answerYes, std::ostream& err) : m_bAnswerYes(answerYes), m_err(err) {}

void ConsoleUi::Message(const std::string& text, MessageIcon) {
    ++m_nMessages;
    m_err << text << '\n';
}

Answer ConsoleUi::Ask(const std::string& text, AskButtons buttons, MessageIcon) {
    m_err << text << '\n';
    if (buttons == AskButtons::OkCancel)
        return m_bAnswerYes ? Answer::Ok : Answer::Cancel;
    return m_bAnswerYes ? Answer::Yes : Answer::No;
}

void ConsoleUi::Beep() {
    ++m_nBeeps;
}

std::optional<std::string> ConsoleUi::AskSaveFile(const SaveFileRequest&) {
    return std::nullopt;
}
