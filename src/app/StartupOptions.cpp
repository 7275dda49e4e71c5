#include "app/StartupOptions.h"

#include <strings.h>

bool SplashEnabled(const std::vector<std::string>& args) {
    for (const auto& arg : args) {
        if (arg.size() < 2 || (arg[0] != '-' && arg[0] != '/'))
            continue;
        const char* flag = arg.c_str() + 1;
        if (::strcasecmp(flag, "Embedding") == 0 || ::strcasecmp(flag, "Automation") == 0)
            return false;
    }
    return true;
}

ProgramPaths ProgramPathsFor(const std::string& programPath) {
    ProgramPaths paths;
    std::size_t slash = programPath.find_last_of('/');
    paths.programDir = slash == std::string::npos ? programPath + "/" : programPath.substr(0, slash);
    paths.layerFile = paths.programDir + "/Wl.lay";
    paths.helpFile = paths.programDir + "/Wl.html";
    return paths;
}
