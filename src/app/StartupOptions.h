#pragma once

#include <string>
#include <vector>

// What the command line says: only whether the splash screen shows. File names are ignored;
// the program always starts with no document open.
bool SplashEnabled(const std::vector<std::string>& args);

// The directory that holds the program file, and the companion files beside it.
struct ProgramPaths {
    std::string programDir;
    std::string layerFile; // the default layer library, Wl.lay
    std::string helpFile;  // the user manual
};

ProgramPaths ProgramPathsFor(const std::string& programPath);
