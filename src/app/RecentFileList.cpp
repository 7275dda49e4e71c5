#include "app/RecentFileList.h"

#include "app/DocumentKinds.h"

#include <algorithm>

namespace {
constexpr const char* kSection = "Recent File List";

std::string KeyOf(std::size_t index) {
    return "File" + std::to_string(index + 1);
}
} // namespace

RecentFileList::RecentFileList(Settings& settings) : m_settings(settings) {
    for (std::size_t i = 0; i < kSize; ++i) {
        std::string path = m_settings.GetString(kSection, KeyOf(i), "");
        if (!path.empty())
            m_files.push_back(path);
    }
}

void RecentFileList::Add(const std::string& path) {
    std::erase_if(m_files, [&](const std::string& file) { return SamePath(file, path); });
    m_files.insert(m_files.begin(), path);
    if (m_files.size() > kSize)
        m_files.resize(kSize);
    Write();
}

void RecentFileList::Remove(const std::string& path) {
    std::erase_if(m_files, [&](const std::string& file) { return SamePath(file, path); });
    Write();
}

void RecentFileList::Write() {
    for (std::size_t i = 0; i < kSize; ++i)
        m_settings.SetString(kSection, KeyOf(i), i < m_files.size() ? m_files[i] : "");
}
