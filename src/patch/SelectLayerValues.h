#pragma once

#include <string>
#include <vector>

// "Select Layer": the names of the library's layers to choose from (as the library holds them,
// Windows-1252), and the one chosen; OK with nothing chosen gives an empty name.
struct SelectLayerValues {
    std::vector<std::string> names;
    std::string chosen;
};
