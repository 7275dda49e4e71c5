#pragma once

#include "platform/Settings.h"

#include <cstdint>
#include <string>

// The two preferences of the program, in section "General" of the settings file.
struct Preferences {
    std::string sampleRoot;          // "Root directory for samples"; empty when never set
    std::uint32_t minLoopPlay = 300; // "Minimum loop on playback", in samples

    static Preferences Load(Settings& settings);

    // Stores the values that differ from the current ones and writes only those keys.
    void Apply(const Preferences& entered, Settings& settings);
};
