#pragma once

#include "platform/Service.h"

#include <string>
#include <vector>

// Hands a finished file to the desktop: a report opened in the text viewer, the help file.
class Shell {
public:
    virtual ~Shell();
    virtual void OpenForReading(const std::string& path) = 0;
    // Opens the help file at a topic (an anchor of the manual; empty for its contents).
    virtual void OpenHelp(const std::string& path, const std::string& topic) = 0;

    // Opens nothing: the headless default.
    static Shell& Fallback();
};

inline Shell& GetShell() {
    return Service<Shell>::Get();
}

using ScopedShell = Service<Shell>::Scope;

// Remembers what it was asked to open; for tests.
class RecordingShell : public Shell {
public:
    void OpenForReading(const std::string& path) override { m_opened.push_back(path); }
    void OpenHelp(const std::string& path, const std::string& topic) override {
        m_opened.push_back(topic.empty() ? path : path + "#" + topic);
    }
    const std::vector<std::string>& Opened() const { return m_opened; }

private:
    std::vector<std::string> m_opened;
};
