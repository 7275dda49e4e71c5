#pragma once

#include "platform/Settings.h"

#include <string>
#include <vector>

// The most recently opened files, newest first, kept in the settings file under "Recent File List"
// as File1 .. File4.
class RecentFileList {
public:
    static constexpr std::size_t kSize = 4;

    explicit RecentFileList(Settings& settings);

    // Puts `path` first (once: paths compare without regard to case), drops the oldest beyond four,
    // and writes the list.
    void Add(const std::string& path);
    void Remove(const std::string& path);
    const std::vector<std::string>& Files() const { return m_files; }

private:
    void Write();

    Settings& m_settings;
    std::vector<std::string> m_files;
};
