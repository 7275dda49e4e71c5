#pragma once

#include "platform/Service.h"

#include <any>
#include <optional>
#include <string>

// Icons of a message box, as the user sees them.
enum class MessageIcon { None, Information, Exclamation, Error, Question };

enum class AskButtons { OkCancel, YesNo, YesNoCancel };

enum class Answer { Ok, Cancel, Yes, No };

// A save-file dialog: the title, the filter ("WAVE Files (*.wav)"), its pattern ("*.wav"),
// the default extension and the name proposed (a whole path starts the dialog in its folder).
struct SaveFileRequest {
    std::string title;
    std::string filter;
    std::string pattern;
    std::string defaultExtension;
    std::string proposedName;
};

// An open-file dialog: the title, the filter ("WAVE Files (*.kr?)") and its patterns ("*.kr?",
// several separated by ';'); whether the read-only box is hidden; the directory it starts in
// (empty: the current one).
struct OpenFileRequest {
    std::string title;
    std::string filter;
    std::string pattern;
    bool hideReadOnly = true;
    std::string directory;
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
    // A one-line note that needs no answer (the GUI's status bar); by default a message.
    virtual void Note(const std::string& text);

    // Long work: the GUI shows the wait cursor between the two calls, and a progress bar once the
    // work has run for a while and reports how far it has come (0..1). Nested pairs are allowed.
    virtual void BeginBusy() = 0;
    virtual void BusyProgress(double fraction) = 0;
    virtual void EndBusy() = 0;
    // Long work the user may stop: as BeginBusy, with a Cancel button beside the progress bar.
    virtual void BeginCancellableBusy() { BeginBusy(); }
    // Whether the user asked to stop the long work; asked as it reports its progress.
    virtual bool BusyCancelled() { return false; }

    virtual std::optional<std::string> AskSaveFile(const SaveFileRequest& request) = 0;
    virtual std::optional<std::string> AskOpenFile(const OpenFileRequest& request) = 0;

    // A typed dialog request: the type of `initial` names the dialog, which starts from those
    // values; the values entered come back, or nothing on Cancel. The request types live beside the
    // documents that ask for them.
    template <class T> std::optional<T> AskDialog(const T& initial) {
        std::optional<std::any> entered = AskDialogValues(std::any(initial));
        if (!entered)
            return std::nullopt;
        return std::any_cast<T>(std::move(*entered));
    }

    // A console Ui that declines every question.
    static Ui& Fallback();

protected:
    // The dialog for requests of `initial`'s type: the entered values, of the same type, or nothing.
    virtual std::optional<std::any> AskDialogValues(const std::any& initial) = 0;
};

inline Ui& GetUi() {
    return Service<Ui>::Get();
}

using ScopedUi = Service<Ui>::Scope;

// The wait cursor for the lifetime of this object; a cancellable one offers Cancel with its
// progress bar.
class BusyCursor {
public:
    enum Kind { kPlain, kCancellable };
    explicit BusyCursor(Kind kind = kPlain) : m_bCancellable(kind == kCancellable) {
        if (m_bCancellable)
            GetUi().BeginCancellableBusy();
        else
            GetUi().BeginBusy();
    }
    ~BusyCursor() { GetUi().EndBusy(); }
    // Reports how far the work has come (0..1); false once the user cancelled it.
    bool Progress(double fraction) {
        GetUi().BusyProgress(fraction);
        return !m_bCancellable || !GetUi().BusyCancelled();
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool m_bCancellable;
};
