#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>

// One change a document can take back. A step keeps the other side of the change: the state before
// it while it is done, the state after it once undone. Undoing and redoing are therefore the same
// exchange, and cost no more than moving what the step keeps.
class CUndoStep {
public:
    explicit CUndoStep(std::string name, long hint = 0) : m_strName(std::move(name)), m_nHint(hint) {}
    virtual ~CUndoStep();
    CUndoStep(const CUndoStep&) = delete;
    CUndoStep& operator=(const CUndoStep&) = delete;

    // The command that made the change ("Normalize").
    const std::string& Name() const { return m_strName; }
    // What the views are told once the step was exchanged.
    long Hint() const { return m_nHint; }
    // Whether a following change of the same name may be taken into this step.
    bool IsMergeable() const { return m_bMergeable; }
    void SetMergeable(bool mergeable) { m_bMergeable = mergeable; }
    // Exchanges what the step keeps with the document's present state.
    virtual void Exchange() = 0;
    // The memory the step holds, counted against the history's budget.
    virtual std::size_t Bytes() const = 0;

private:
    std::string m_strName;
    long m_nHint;
    bool m_bMergeable = false;
};

// A document's steps, oldest first: those before the position are done, those after it undone. A
// new step drops the undone ones. The steps' bytes stay within a budget, the oldest going first,
// though the newest step is kept whatever its size. The clean point is the position at which the
// document matched its file; it is lost once the steps that led back to it are gone.
class CUndoHistory {
public:
    static constexpr std::size_t kDefaultBudget = std::size_t{512} * 1024 * 1024;

    // The budget new histories start with (the preference, set at start-up).
    static void SetDefaultBudget(std::size_t bytes);
    static std::size_t DefaultBudget();
    // Whether commands record steps at all: a program that never undoes (wloe-cli) keeps nothing,
    // and its operations copy nothing for undo.
    static void SetRecording(bool on);
    static bool IsRecording();

    CUndoHistory();
    ~CUndoHistory();
    CUndoHistory(const CUndoHistory&) = delete;
    CUndoHistory& operator=(const CUndoHistory&) = delete;

    void Record(std::unique_ptr<CUndoStep> step);
    bool CanUndo() const { return m_nPosition > 0; }
    bool CanRedo() const { return m_nPosition < m_steps.size(); }
    // The step the next Undo or Redo would exchange; empty when there is none.
    std::string UndoName() const;
    std::string RedoName() const;
    bool LastIsMergeable() const { return CanUndo() && m_steps[m_nPosition - 1]->IsMergeable(); }
    // The last step takes in no further change (a drag or a slider's run has ended).
    void EndMerging() {
        if (CanUndo())
            m_steps[m_nPosition - 1]->SetMergeable(false);
    }
    // Exchanges the last done step (or the first undone one) and gives the hint of its views'
    // update; nothing when there is no such step.
    std::optional<long> Undo();
    std::optional<long> Redo();
    void Clear();

    void MarkClean() { m_cleanPosition = static_cast<long long>(m_nPosition); }
    bool IsClean() const { return m_cleanPosition == static_cast<long long>(m_nPosition); }

    void SetBudget(std::size_t bytes);
    std::size_t Budget() const { return m_nBudget; }
    std::size_t Bytes() const { return m_nBytes; }
    std::size_t Count() const { return m_steps.size(); }
    std::size_t Position() const { return m_nPosition; }

private:
    // Exchanges one step and gives its views' hint.
    long Exchange(CUndoStep& step);
    // The oldest done step, or with none done the furthest undone one.
    void DropOldest();
    void KeepWithinBudget();

    std::deque<std::unique_ptr<CUndoStep>> m_steps;
    std::size_t m_nPosition = 0;
    // -1: no position matches the file any more.
    long long m_cleanPosition = 0;
    std::size_t m_nBytes = 0;
    std::size_t m_nBudget;
};
