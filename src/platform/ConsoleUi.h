#pragma once

#include "platform/DialogAnswers.h"
#include "platform/Ui.h"

#include <iosfwd>

// The headless Ui of wloe-cli: messages and questions go to stderr, one per line. A question is
// answered Yes/OK only when the user said so up front (--yes); dialogs cannot be shown. Progress
// of long work shows on the line when stderr is a terminal.
class ConsoleUi : public Ui {
public:
    explicit ConsoleUi(bool answerYes);
    ConsoleUi(bool answerYes, std::ostream& err);

    void Message(const std::string& text, MessageIcon icon) override;
    Answer Ask(const std::string& text, AskButtons buttons, MessageIcon icon) override;
    void Beep() override;
    void BeginBusy() override {}
    void BusyProgress(double fraction) override;
    void EndBusy() override;
    std::optional<std::string> AskSaveFile(const SaveFileRequest& request) override;
    std::optional<std::string> AskOpenFile(const OpenFileRequest&) override {
        return NextDialog<std::string>();
    }

    // The values of the dialogs the command will ask for, taken from its command line; a dialog
    // with nothing queued is cancelled.
    template <class T> void QueueDialog(std::optional<T> answer) { m_dialogs.Queue(std::move(answer)); }
    // Drops answers that no dialog asked for, so they cannot answer a later one.
    void DiscardDialogs() { m_dialogs.Clear(); }

    // How many messages were shown: a command that showed one has failed or been refused.
    int MessageCount() const { return m_nMessages; }
    int BeepCount() const { return m_nBeeps; }

protected:
    std::optional<std::any> AskDialogValues(const std::any& initial) override {
        return m_dialogs.Take(initial.type()).value_or(std::nullopt);
    }

private:
    template <class T> std::optional<T> NextDialog() { return m_dialogs.Take<T>().value_or(std::nullopt); }

    DialogAnswers m_dialogs;
    bool m_bAnswerYes;
    std::ostream& m_err;
    int m_nMessages = 0;
    int m_nBeeps = 0;
    int m_nShownPercent = -1;
};
