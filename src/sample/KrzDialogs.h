#pragma once

#include <string>
#include <vector>

// The "Kurzweil file: available samples" list: the entries in the file's order and the one chosen
// (-1 for none).
struct KrzSampleChoice {
    std::vector<std::string> entries;
    int selected = -1;
};
