#include "platform/IniSettings.h"

#include "platform/FileIo.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <strings.h>

namespace {
std::string Trim(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// Profile files compare section and key names without regard to case.
bool SameName(const std::string& a, const std::string& b) {
    return ::strcasecmp(a.c_str(), b.c_str()) == 0;
}
} // namespace

IniSettings::IniSettings(std::string path) : m_strPath(std::move(path)) {
    Load();
}

std::string IniSettings::DefaultPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    std::filesystem::path base = config && *config ? std::filesystem::path(config)
                                 : home && *home   ? std::filesystem::path(home) / ".config"
                                                   : std::filesystem::temp_directory_path();
    return (base / "wloe" / "wloe.ini").string();
}

void IniSettings::Load() {
    FileContents file = ReadWholeFile(m_strPath);
    std::string text(file.bytes.begin(), file.bytes.end());
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        std::string line = Trim(text.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
        pos = end == std::string::npos ? text.size() : end + 1;
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            m_sections.push_back({Trim(line.substr(1, line.size() - 2)), {}});
            current = &m_sections.back();
            continue;
        }
        std::size_t equals = line.find('=');
        if (!current || equals == std::string::npos)
            continue;
        current->values.emplace_back(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }
}

void IniSettings::Save() const {
    std::string text;
    for (const auto& section : m_sections) {
        if (!text.empty())
            text += '\n';
        text += '[' + section.name + "]\n";
        for (const auto& [key, value] : section.values)
            text += key + '=' + value + '\n';
    }
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(m_strPath).parent_path(), ignored);
    // Preferences are a convenience: a settings file that cannot be written is not worth a message.
    AtomicFileWriter writer(m_strPath);
    if (writer.Open() && writer.Write(text.data(), text.size()))
        writer.Commit();
}

const std::string* IniSettings::Find(const std::string& section, const std::string& key) const {
    for (const auto& candidate : m_sections)
        if (SameName(candidate.name, section))
            for (const auto& [name, value] : candidate.values)
                if (SameName(name, key))
                    return &value;
    return nullptr;
}

std::string IniSettings::GetString(const std::string& section, const std::string& key,
                                   const std::string& fallback) {
    const std::string* value = Find(section, key);
    return value ? *value : fallback;
}

int IniSettings::GetInt(const std::string& section, const std::string& key, int fallback) {
    const std::string* value = Find(section, key);
    if (!value)
        return fallback;
    // Like GetPrivateProfileInt: the leading digits count, anything else reads as 0.
    int number = 0;
    const char* begin = value->data();
    std::from_chars(begin, begin + value->size(), number);
    return number;
}

void IniSettings::SetString(const std::string& section, const std::string& key, const std::string& value) {
    Section* target = nullptr;
    for (auto& candidate : m_sections)
        if (SameName(candidate.name, section))
            target = &candidate;
    if (!target) {
        m_sections.push_back({section, {}});
        target = &m_sections.back();
    }
    bool replaced = false;
    for (auto& [name, old] : target->values)
        if (SameName(name, key)) {
            old = value;
            replaced = true;
        }
    if (!replaced)
        target->values.emplace_back(key, value);
    Save();
}

void IniSettings::SetInt(const std::string& section, const std::string& key, int value) {
    SetString(section, key, std::to_string(value));
}
