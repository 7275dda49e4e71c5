#include "platform/ScriptedUi.h"

namespace {
std::vector<std::string> TextsOf(const std::vector<ScriptedUi::Event>& events, ScriptedUi::EventKind kind) {
    std::vector<std::string> texts;
    for (const auto& event : events)
        if (event.kind == kind)
            texts.push_back(event.text);
    return texts;
}
} // namespace

std::vector<std::string> ScriptedUi::Messages() const {
    return TextsOf(m_events, EventKind::Message);
}

std::vector<std::string> ScriptedUi::Questions() const {
    return TextsOf(m_events, EventKind::Question);
}

int ScriptedUi::Beeps() const {
    return static_cast<int>(TextsOf(m_events, EventKind::Beep).size());
}

void ScriptedUi::Message(const std::string& text, MessageIcon icon) {
    m_events.push_back({EventKind::Message, text, icon});
}

Answer ScriptedUi::Ask(const std::string& text, AskButtons, MessageIcon icon) {
    m_events.push_back({EventKind::Question, text, icon});
    if (m_answers.empty())
        throw UnexpectedPrompt("unexpected question: " + text);
    Answer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void ScriptedUi::Beep() {
    m_events.push_back({EventKind::Beep, {}, MessageIcon::None});
}

void ScriptedUi::BeginBusy() {
    ++m_nBusy;
    ++m_nBusyDepth;
}

void ScriptedUi::BeginCancellableBusy() {
    BeginBusy();
    ++m_nCancellable;
    // Depths are counted so that a plain pair inside keeps the cancellable one open.
    m_nCancellableDepth = m_nBusyDepth;
}

void ScriptedUi::BusyProgress(double fraction) {
    m_dLastProgress = fraction;
    m_progress.push_back(fraction);
    if (m_nCancellableDepth != 0 && m_cancelAt && fraction >= *m_cancelAt) {
        m_bCancelled = true;
        m_cancelAt.reset();
    }
}

void ScriptedUi::EndBusy() {
    if (m_nBusyDepth == m_nCancellableDepth) {
        m_nCancellableDepth = 0;
        m_bCancelled = false;
    }
    --m_nBusyDepth;
}

std::optional<std::string> ScriptedUi::AskSaveFile(const SaveFileRequest& request) {
    m_lastSaveFile = request;
    return NextFileName<std::string>("save file");
}

std::optional<std::string> ScriptedUi::AskOpenFile(const OpenFileRequest& request) {
    m_lastOpenFile = request;
    return NextFileName<std::string>("open file");
}

std::optional<std::any> ScriptedUi::AskDialogValues(const std::any& initial) {
    m_lastRequests.insert_or_assign(initial.type(), initial);
    std::optional<std::optional<std::any>> answer = m_dialogs.Take(initial.type());
    if (!answer)
        throw UnexpectedPrompt(std::string("unexpected dialog: ") + initial.type().name());
    return *answer;
}
