#pragma once

#include <string>

// "Reparent File Pointers": the root the sample paths start with, and the one to put there.
struct ReparentRoots {
    std::string oldRoot;
    std::string newRoot;
};
