#pragma once

#include "platform/Shell.h"
#include "platform/Ui.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <QWidget>

// The editor's Ui: message boxes, questions, the wait cursor with a progress bar for long work,
// and the dialogs that operations ask for.
class QtUi : public Ui {
public:
    void SetParent(QWidget* parent) { m_pParent = parent; }

    void Message(const std::string& text, MessageIcon icon) override;
    Answer Ask(const std::string& text, AskButtons buttons, MessageIcon icon) override;
    void Beep() override;
    void BeginBusy() override;
    void BusyProgress(double fraction) override;
    void EndBusy() override;
    std::optional<std::string> AskSaveFile(const SaveFileRequest& request) override;
    std::optional<GainValues> AskGain(const GainValues& initial) override;
    std::optional<RemixValues> AskRemix(const RemixValues& initial) override;
    std::optional<MonoValues> AskMono(const MonoValues& initial) override;
    std::optional<CrossfadeValues> AskCrossfade(const CrossfadeValues& initial) override;
    std::optional<std::string> AskOpenFile(const OpenFileRequest& request) override;
    std::optional<SynthesizeValues> AskSynthesize(const SynthesizeValues& initial) override;
    std::optional<KrzSampleChoice> AskKrzSample(const KrzSampleChoice& list) override;
    std::optional<ResampleValues> AskResample(const ResampleValues& initial) override;
    std::optional<PlaybackRateValues> AskPlaybackRate(const PlaybackRateValues& initial) override;
    std::optional<ReparentRoots> AskReparentRoots() override;

private:
    QPointer<QWidget> m_pParent;
    int m_nBusyDepth = 0;
    QElapsedTimer m_busyTime;
    QProgressDialog* m_pProgress = nullptr;
};

// Opens reports and the manual with the desktop's viewer.
class QtShell : public Shell {
public:
    void OpenForReading(const std::string& path) override;
    void OpenHelp(const std::string& path, const std::string& topic) override;
};

// The title of every message box.
inline constexpr const char* kProgramTitle = "Wavelith Object Editor";
