#pragma once

#include "platform/Settings.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The preferences of the program, in section "General" of the settings file.
struct Preferences {
    std::string sampleRoot;           // "Root directory for samples"; empty when never set
    std::uint32_t minLoopPlay = 300;  // "Minimum loop on playback", in samples
    std::uint32_t undoMemoryMb = 512; // "Memory for undo (MB)", per document; at least 1

    // The undo budget in bytes.
    std::size_t UndoBudget() const { return std::size_t{undoMemoryMb} * 1024 * 1024; }

    static Preferences Load(Settings& settings);

    // Stores the values that differ from the current ones and writes only those keys.
    void Apply(const Preferences& entered, Settings& settings);
};
