#pragma once

#include "cli/Cli.h"

#include <sstream>
#include <string>
#include <vector>

// One run of wloe-cli with what it printed.
struct CliResult {
    int exitCode;
    std::string out;
    std::string err;
};

inline CliResult RunWloeCli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}
