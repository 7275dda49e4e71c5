#pragma once

#include "platform/CrossfadeDialog.h"
#include "platform/KrzDialogs.h"
#include "platform/LevelDialogs.h"
#include "platform/ResampleDialogs.h"
#include "platform/Service.h"
#include "platform/SynthesizeDialog.h"

#include <optional>
#include <string>

// Icons of a message box, as the user sees them.
enum class MessageIcon { None, Information, Exclamation, Error, Question };

enum class AskButtons { OkCancel, YesNo, YesNoCancel };

enum class Answer { Ok, Cancel, Yes, No };

// A save-file dialog: the title, the filter ("WAVE Files (*.wav)"), its pattern ("*.wav"),
// the default extension and the name proposed.
struct SaveFileRequest {
    std::string title;
    std::string filter;
    std::string pattern;
    std::string defaultExtension;
    std::string proposedName;
};

// An open-file dialog: the title, the filter ("WAVE Files (*.kr?)") and its pattern ("*.kr?");
// whether the read-only box is hidden.
struct OpenFileRequest {
    std::string title;
    std::string filter;
    std::string pattern;
    bool hideReadOnly = true;
};

// The two roots entered in "Reparent File Pointers".
struct ReparentRoots {
    std::string oldRoot;
    std::string newRoot;
};

// Everything the documents need to say to, or ask of, the person at the keyboard.
// Texts are UTF-8. One process-wide instance is installed at start-up (GUI or CLI);
// tests install a scripted one for their scope.
class Ui {
public:
    virtual ~Ui();

    virtual void Message(const std::string& text, MessageIcon icon = MessageIcon::Exclamation) = 0;
    virtual Answer Ask(const std::string& text, AskButtons buttons,
                       MessageIcon icon = MessageIcon::Question) = 0;
    virtual void Beep() = 0;

    // Long work: the GUI shows the wait cursor between the two calls, and a progress bar once the
    // work has run for a while and reports how far it has come (0..1). Nested pairs are allowed.
    virtual void BeginBusy() = 0;
    virtual void BusyProgress(double fraction) = 0;
    virtual void EndBusy() = 0;

    // Typed dialog requests: the values entered, or nothing on Cancel.
    virtual std::optional<std::string> AskSaveFile(const SaveFileRequest& request) = 0;
    virtual std::optional<GainValues> AskGain(const GainValues& initial) = 0;
    virtual std::optional<RemixValues> AskRemix(const RemixValues& initial) = 0;
    virtual std::optional<MonoValues> AskMono(const MonoValues& initial) = 0;
    virtual std::optional<CrossfadeValues> AskCrossfade(const CrossfadeValues& initial) = 0;
    virtual std::optional<std::string> AskOpenFile(const OpenFileRequest& request) = 0;
    virtual std::optional<SynthesizeValues> AskSynthesize(const SynthesizeValues& initial) = 0;
    // The entry chosen from a Kurzweil file's list of samples.
    virtual std::optional<KrzSampleChoice> AskKrzSample(const KrzSampleChoice& list) = 0;
    // "Change Sample Rate/Pitch".
    virtual std::optional<ResampleValues> AskResample(const ResampleValues& initial) = 0;
    // "Change Sample Rate".
    virtual std::optional<PlaybackRateValues> AskPlaybackRate(const PlaybackRateValues& initial) = 0;
    virtual std::optional<ReparentRoots> AskReparentRoots() = 0;

    // A console Ui that declines every question.
    static Ui& Fallback();
};

inline Ui& GetUi() {
    return Service<Ui>::Get();
}

using ScopedUi = Service<Ui>::Scope;

// The wait cursor for the lifetime of this object.
class BusyCursor {
public:
    BusyCursor() { GetUi().BeginBusy(); }
    ~BusyCursor() { GetUi().EndBusy(); }
    void Progress(double fraction) { GetUi().BusyProgress(fraction); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
