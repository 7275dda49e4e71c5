#pragma once

#include <cstdint>
#include <string>

// "Edit Sample List Item": a sample entry as the dialog shows it. Texts are UTF-8.
struct SampleItemValues {
    static constexpr std::int32_t kLowestLevel = -90;
    static constexpr std::int32_t kHighestLevel = 90;

    std::string name;
    std::string path;
    bool fixedPitch = false; // the inverse of the entry's tracks-pitch flag
    std::int32_t level = 0;  // dB
    bool ignoreKeyUp = false;
};

// "Save Layer As": the name to store the working layer under (any text, even none).
struct LayerNameValues {
    std::string name;
};
