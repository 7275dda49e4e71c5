#include "app/StartupOptions.h"

#include <filesystem>
#include <strings.h>

namespace {
bool IsSplashFlag(const std::string& arg) {
    if (arg.size() < 2 || (arg[0] != '-' && arg[0] != '/'))
        return false;
    const char* flag = arg.c_str() + 1;
    return ::strcasecmp(flag, "Embedding") == 0 || ::strcasecmp(flag, "Automation") == 0;
}

std::string Absolute(const std::string& path, const std::string& workingDir) {
    std::filesystem::path full(path);
    if (full.is_relative())
        full = std::filesystem::path(workingDir) / full;
    return full.lexically_normal().string();
}

const std::string kVersion = "1.0 beta 6";
} // namespace

StartupOptions ParseCommandLine(const std::vector<std::string>& args, const std::string& workingDir) {
    StartupOptions options;
    bool onlyFiles = false;
    for (const std::string& arg : args) {
        if (onlyFiles || arg == "-" || (arg.size() > 1 && arg[0] == '/' && !IsSplashFlag(arg))) {
            options.files.push_back(Absolute(arg, workingDir));
        } else if (arg == "--") {
            onlyFiles = true;
        } else if (IsSplashFlag(arg)) {
            options.splash = false;
        } else if (arg == "--help" || arg == "-h") {
            options.request = StartupOptions::Request::Help;
            return options;
        } else if (arg == "--version") {
            options.request = StartupOptions::Request::Version;
            return options;
        } else if (!arg.empty() && arg[0] == '-') {
            options.ignored.push_back(arg);
        } else if (!arg.empty()) {
            options.files.push_back(Absolute(arg, workingDir));
        }
    }
    return options;
}

bool SplashEnabled(const std::vector<std::string>& args) {
    return ParseCommandLine(args, "/").splash;
}

std::string UsageText() {
    return "Usage: wloe [OPTION]... [FILE]...\n"
           "Wavelith Object Editor: edits patch banks (.pat), layer libraries (.lay) and samples\n"
           "(.wav, or the .sam archive form). Opens each FILE in the editor of its kind.\n"
           "\n"
           "  -Embedding, -Automation  start without the splash screen (also /Embedding, /Automation)\n"
           "  -h, --help               print this help and exit\n"
           "      --version            print the version and exit\n"
           "  --                       every argument after it is a file\n";
}

std::string VersionText() {
    return "wloe (Wavelith Object Editor) " + kVersion + "\n";
}

ProgramPaths ProgramPathsFor(const std::string& programPath,
                             const std::function<bool(const std::string&)>& exists) {
    ProgramPaths paths;
    std::size_t slash = programPath.find_last_of('/');
    paths.programDir = slash == std::string::npos ? programPath + "/" : programPath.substr(0, slash);
    paths.dataDir = paths.programDir;
    // An installed program keeps its companions under share/; a build tree has them beside it.
    std::filesystem::path dir(paths.programDir);
    if (dir.filename() == "bin" && !exists(paths.programDir + "/Wl.html")) {
        std::string shared = (dir.parent_path() / "share" / "wloe").string();
        if (exists(shared + "/Wl.html"))
            paths.dataDir = shared;
    }
    paths.layerFile = paths.dataDir + "/Wl.lay";
    paths.helpFile = paths.dataDir + "/Wl.html";
    return paths;
}

ProgramPaths ProgramPathsFor(const std::string& programPath) {
    return ProgramPathsFor(programPath, [](const std::string& path) {
        std::error_code error;
        return std::filesystem::exists(path, error);
    });
}
