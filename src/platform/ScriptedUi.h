#pragma once

#include "platform/DialogAnswers.h"
#include "platform/Ui.h"

#include <deque>
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
    void BusyProgress(double fraction) override { m_dLastProgress = fraction; }
    void EndBusy() override;
    std::optional<std::string> AskSaveFile(const SaveFileRequest& request) override;
    std::optional<GainValues> AskGain(const GainValues&) override {
        return NextDialog<GainValues>("Adjust Gain");
    }
    std::optional<RemixValues> AskRemix(const RemixValues&) override {
        return NextDialog<RemixValues>("Remix Stereo");
    }
    std::optional<MonoValues> AskMono(const MonoValues&) override {
        return NextDialog<MonoValues>("Reduce To Mono");
    }
    std::optional<CrossfadeValues> AskCrossfade(const CrossfadeValues&) override {
        return NextDialog<CrossfadeValues>("Crossfade Loop");
    }
    std::optional<std::string> AskOpenFile(const OpenFileRequest& request) override;
    std::optional<SynthesizeValues> AskSynthesize(const SynthesizeValues&) override {
        return NextDialog<SynthesizeValues>("Synthesize");
    }
    std::optional<KrzSampleChoice> AskKrzSample(const KrzSampleChoice&) override {
        return NextDialog<KrzSampleChoice>("Kurzweil file: available samples");
    }
    std::optional<ResampleValues> AskResample(const ResampleValues&) override {
        return NextDialog<ResampleValues>("Change Sample Rate/Pitch");
    }
    std::optional<PlaybackRateValues> AskPlaybackRate(const PlaybackRateValues&) override {
        return NextDialog<PlaybackRateValues>("Change Sample Rate");
    }

    // What the latest open-file dialog asked for.
    const OpenFileRequest& LastOpenFileRequest() const { return m_lastOpenFile; }
    std::optional<ReparentRoots> AskReparentRoots() override {
        return NextDialog<ReparentRoots>("reparent roots");
    }

protected:
    template <class T> std::optional<T> NextDialog(const char* what) {
        std::optional<std::optional<T>> answer = m_dialogs.Take<T>();
        if (!answer)
            throw UnexpectedPrompt(std::string("unexpected dialog: ") + what);
        return *answer;
    }

private:
    std::deque<Answer> m_answers;
    DialogAnswers m_dialogs;
    std::vector<Event> m_events;
    OpenFileRequest m_lastOpenFile;
    int m_nBusy = 0;
    int m_nBusyDepth = 0;
    double m_dLastProgress = 0;
};
