#include "platform/ConsoleUi.h"

#include <iostream>
#include <unistd.h>

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

void ConsoleUi::BusyProgress(double fraction) {
    if (&m_err != &std::cerr || !::isatty(STDERR_FILENO))
        return;
    int percent = static_cast<int>(fraction * 100);
    if (percent == m_nShownPercent)
        return;
    m_nShownPercent = percent;
    m_err << '\r' << percent << "% " << std::flush;
}

void ConsoleUi::EndBusy() {
    if (m_nShownPercent >= 0)
        m_err << "\r     \r" << std::flush;
    m_nShownPercent = -1;
}
