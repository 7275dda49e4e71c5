#pragma once

#include "platform/Service.h"

#include <map>
#include <string>
#include <utility>

// The program's private settings file: string and integer values by section and key.
class Settings {
public:
    virtual ~Settings();
    virtual std::string GetString(const std::string& section, const std::string& key,
                                  const std::string& fallback) = 0;
    virtual int GetInt(const std::string& section, const std::string& key, int fallback) = 0;
    virtual void SetString(const std::string& section, const std::string& key, const std::string& value) = 0;
    virtual void SetInt(const std::string& section, const std::string& key, int value) = 0;

    // Values kept in memory for this run only: the headless default.
    static Settings& Fallback();
};

inline Settings& GetSettings() {
    return Service<Settings>::Get();
}

using ScopedSettings = Service<Settings>::Scope;

class MemorySettings : public Settings {
public:
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& fallback) override;
    int GetInt(const std::string& section, const std::string& key, int fallback) override;
    void SetString(const std::string& section, const std::string& key, const std::string& value) override;
    void SetInt(const std::string& section, const std::string& key, int value) override;

private:
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};
