#pragma once

#include "platform/Ui.h"

#include <iosfwd>
#include <utility>

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
    std::optional<ReparentRoots> AskReparentRoots() override { return m_reparentRoots; }

    // Dialog values given on the command line.
    void AnswerReparentRoots(ReparentRoots roots) { m_reparentRoots = std::move(roots); }

    // How many messages were shown: a command that showed one has failed or been refused.
    int MessageCount() const { return m_nMessages; }
    int BeepCount() const { return m_nBeeps; }

private:
    bool m_bAnswerYes;
    std::ostream& m_err;
    int m_nMessages = 0;
    int m_nBeeps = 0;
    int m_nShownPercent = -1;
    std::optional<ReparentRoots> m_reparentRoots;
};
