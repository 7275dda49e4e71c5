#pragma once

#include "cli/CliContext.h"

#include <string>

// The layer library's parts of the document commands.
bool DumpLayerFile(CliContext& context, const std::string& path);
bool BuildLayerFile(CliContext& context, const nlohmann::json& source, const std::string& output);
