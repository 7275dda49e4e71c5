#include "platform/Settings.h"

#include <charconv>

Settings::~Settings() = default;

Settings& Settings::Fallback() {
    static MemorySettings settings;
    return settings;
}

std::string MemorySettings::GetString(const std::string& section, const std::string& key,
                                      const std::string& fallback) {
    auto found = m_values.find({section, key});
    return found == m_values.end() ? fallback : found->second;
}

int MemorySettings::GetInt(const std::string& section, const std::string& key, int fallback) {
    auto found = m_values.find({section, key});
    if (found == m_values.end())
        return fallback;
    int value = 0;
    const std::string& text = found->second;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} ? value : fallback;
}

void MemorySettings::SetString(const std::string& section, const std::string& key, const std::string& value) {
    m_values[{section, key}] = value;
}

void MemorySettings::SetInt(const std::string& section, const std::string& key, int value) {
    m_values[{section, key}] = std::to_string(value);
}
