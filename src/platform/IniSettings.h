#pragma once

#include "platform/Settings.h"

#include <string>
#include <utility>
#include <vector>

// The program's private settings file: an INI file of sections and keys, written through at
// every change as a profile file is, and kept in the order it was read.
class IniSettings : public Settings {
public:
    explicit IniSettings(std::string path);

    // ~/.config/wloe/wloe.ini, or under $XDG_CONFIG_HOME when it is set.
    static std::string DefaultPath();

    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& fallback) override;
    int GetInt(const std::string& section, const std::string& key, int fallback) override;
    void SetString(const std::string& section, const std::string& key, const std::string& value) override;
    void SetInt(const std::string& section, const std::string& key, int value) override;

    const std::string& Path() const { return m_strPath; }

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> values;
    };

    void Load();
    void Save() const;
    const std::string* Find(const std::string& section, const std::string& key) const;

    std::string m_strPath;
    std::vector<Section> m_sections;
};
