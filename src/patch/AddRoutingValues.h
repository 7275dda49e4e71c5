#pragma once

#include <cstdint>
#include <string>
#include <vector>

// "Add New Routing": the sources and destinations a routing page offers, in order, and the
// routing entered. The controller counts for controller sources only, the stage (1-based) for
// the envelope level and duration destinations only; both are 0 otherwise.
struct AddRoutingValues {
    struct Choice {
        std::string name;
        std::int32_t code = 0;
    };
    std::vector<Choice> sources;
    std::vector<Choice> destinations;
    std::int32_t source = 0;
    std::int32_t destination = 0;
    std::int32_t controller = 0;
    std::int32_t stage = 0;
};
