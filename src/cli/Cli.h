#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Runs wloe-cli with `args` (without the program name); returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
