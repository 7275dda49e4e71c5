#pragma once

#include "platform/DialogAnswers.h"
#include "platform/Ui.h"

#include <deque>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A prompt that the script did not expect: the test that caused it fails.
class UnexpectedPrompt : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// The Ui of tests: answers are queued in advance and every message, question and beep is
// recorded in order.
class ScriptedUi : public Ui {
public:
    enum class EventKind { Message, Question, Beep };
    struct Event {
        EventKind kind;
        std::string text;
        MessageIcon icon;
    };

    void QueueAnswer(Answer answer) { m_answers.push_back(answer); }

    // Queues the result of the next typed dialog request of type T (nothing = Cancel).
    template <class T> void QueueDialog(std::optional<T> result) { m_dialogs.Queue(std::move(result)); }

    const std::vector<Event>& Events() const { return m_events; }
    std::vector<std::string> Messages() const;
    std::vector<std::string> Questions() const;
    int Beeps() const;
    int BusyCount() const { return m_nBusy; }
    int BusyDepth() const { return m_nBusyDepth; }
    double LastProgress() const { return m_dLastProgress; }
    bool AllAnswersUsed() const { return m_answers.empty() && m_dialogs.Empty(); }

    void Message(const std::string& text, MessageIcon icon) override;
    Answer Ask(const std::string& text, AskButtons buttons, MessageIcon icon) override;
    void Beep() override;
    void BeginBusy() override;
    void BusyProgress(double fraction) override;
    void EndBusy() override;
    void BeginCancellableBusy() override;
    bool BusyCancelled() override { return m_bCancelled; }
    // The user presses Cancel once cancellable work reports progress of at least `fraction`.
    void CancelBusyAt(double fraction) { m_cancelAt = fraction; }
    // Whether cancellable work was offered, and every progress it reported.
    int CancellableBusyCount() const { return m_nCancellable; }
    const std::vector<double>& ProgressReports() const { return m_progress; }
    std::optional<std::string> AskSaveFile(const SaveFileRequest& request) override;
    std::optional<std::string> AskOpenFile(const OpenFileRequest& request) override;
    // What the latest save-file dialog asked for.
    const SaveFileRequest& LastSaveFileRequest() const { return m_lastSaveFile; }
    // What the latest open-file dialog asked for.
    const OpenFileRequest& LastOpenFileRequest() const { return m_lastOpenFile; }
    // The values the latest typed dialog of type T was opened with, if one was.
    template <class T> const T* LastDialogRequest() const {
        auto found = m_lastRequests.find(typeid(T));
        return found == m_lastRequests.end() ? nullptr : std::any_cast<T>(&found->second);
    }

protected:
    std::optional<std::any> AskDialogValues(const std::any& initial) override;

private:
    template <class T> std::optional<T> NextFileName(const char* what) {
        std::optional<std::optional<T>> answer = m_dialogs.Take<T>();
        if (!answer)
            throw UnexpectedPrompt(std::string("unexpected dialog: ") + what);
        return *answer;
    }

    std::deque<Answer> m_answers;
    DialogAnswers m_dialogs;
    std::vector<Event> m_events;
    SaveFileRequest m_lastSaveFile;
    OpenFileRequest m_lastOpenFile;
    std::map<std::type_index, std::any> m_lastRequests;
    int m_nBusy = 0;
    int m_nBusyDepth = 0;
    double m_dLastProgress = 0;
    std::vector<double> m_progress;
    std::optional<double> m_cancelAt;
    int m_nCancellable = 0;
    int m_nCancellableDepth = 0;
    bool m_bCancelled = false;
};
