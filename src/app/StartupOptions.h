#pragma once

#include <functional>
#include <string>
#include <vector>

// What the command line asks for: help or the version and nothing else, or a run with or without
// the splash screen, opening the files it names.
struct StartupOptions {
    enum class Request { Run, Help, Version };
    Request request = Request::Run;
    bool splash = true;
    std::vector<std::string> files;   // made absolute, in the order given
    std::vector<std::string> ignored; // options this program does not know
};

// "-Embedding" or "/Automation" (any case) turn the splash off. Other arguments beginning with "-"
// are options; after "--" every argument is a file. A path beginning with "/" is a file unless it
// is one of the two splash flags.
StartupOptions ParseCommandLine(const std::vector<std::string>& args, const std::string& workingDir);
bool SplashEnabled(const std::vector<std::string>& args);

std::string UsageText();
std::string VersionText();

// The directory that holds the program file, and the companion files: beside the program in a
// build tree, under <prefix>/share/wloe when the program is installed in <prefix>/bin.
struct ProgramPaths {
    std::string programDir;
    std::string dataDir;   // the manual, the default layer library and the demo
    std::string layerFile; // the default layer library, Wl.lay
    std::string helpFile;  // the user manual
};

ProgramPaths ProgramPathsFor(const std::string& programPath,
                             const std::function<bool(const std::string&)>& exists);
ProgramPaths ProgramPathsFor(const std::string& programPath);
