#include "docview/UndoHistory.h"

#include <atomic>

namespace {
std::atomic<std::size_t> g_defaultBudget{CUndoHistory::kDefaultBudget};
std::atomic<bool> g_recording{true};
} // namespace

CUndoStep::~CUndoStep() = default;

void CUndoHistory::SetDefaultBudget(std::size_t bytes) {
    g_defaultBudget = bytes;
}

std::size_t CUndoHistory::DefaultBudget() {
    return g_defaultBudget;
}

void CUndoHistory::SetRecording(bool on) {
    g_recording = on;
}

bool CUndoHistory::IsRecording() {
    return g_recording;
}

CUndoHistory::CUndoHistory() : m_nBudget(DefaultBudget()) {}

CUndoHistory::~CUndoHistory() = default;

void CUndoHistory::Record(std::unique_ptr<CUndoStep> step) {
    while (m_steps.size() > m_nPosition) {
        m_nBytes -= m_steps.back()->Bytes();
        m_steps.pop_back();
    }
    // The file's state lay among the steps just dropped: nothing leads back to it now.
    if (m_cleanPosition > static_cast<long long>(m_nPosition))
        m_cleanPosition = -1;
    m_nBytes += step->Bytes();
    m_steps.push_back(std::move(step));
    ++m_nPosition;
    KeepWithinBudget();
}

std::string CUndoHistory::UndoName() const {
    return CanUndo() ? m_steps[m_nPosition - 1]->Name() : std::string();
}

std::string CUndoHistory::RedoName() const {
    return CanRedo() ? m_steps[m_nPosition]->Name() : std::string();
}

std::optional<long> CUndoHistory::Undo() {
    if (!CanUndo())
        return std::nullopt;
    return Exchange(*m_steps[--m_nPosition]);
}

std::optional<long> CUndoHistory::Redo() {
    if (!CanRedo())
        return std::nullopt;
    return Exchange(*m_steps[m_nPosition++]);
}

long CUndoHistory::Exchange(CUndoStep& step) {
    // What a step keeps may change size when exchanged (the audio before and after).
    m_nBytes -= step.Bytes();
    step.Exchange();
    m_nBytes += step.Bytes();
    const long hint = step.Hint();
    // This may drop the step itself: the hint was taken first.
    KeepWithinBudget();
    return hint;
}

void CUndoHistory::Clear() {
    m_steps.clear();
    m_nPosition = 0;
    m_nBytes = 0;
    m_cleanPosition = 0;
}

void CUndoHistory::SetBudget(std::size_t bytes) {
    m_nBudget = bytes;
    KeepWithinBudget();
}

void CUndoHistory::DropOldest() {
    if (m_nPosition == 0) {
        // Everything is undone: the step furthest from the present goes, so the rest still redo in
        // order.
        m_nBytes -= m_steps.back()->Bytes();
        m_steps.pop_back();
        if (m_cleanPosition > static_cast<long long>(m_steps.size()))
            m_cleanPosition = -1;
        return;
    }
    m_nBytes -= m_steps.front()->Bytes();
    m_steps.pop_front();
    --m_nPosition;
    // The state before the dropped step cannot be reached again.
    if (m_cleanPosition >= 0)
        --m_cleanPosition;
}

void CUndoHistory::KeepWithinBudget() {
    while (m_nBytes > m_nBudget && m_steps.size() > 1)
        DropOldest();
}
