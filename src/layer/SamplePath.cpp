#include "layer/SamplePath.h"

#include "platform/TextEncoding.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {
bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}
} // namespace

std::string SamplePathForOpening(const std::string& storedPath) {
    std::string path = Cp1252ToUtf8(storedPath);
    if (path.find('\\') == std::string::npos || Exists(path))
        return path;
    std::string slashed = path;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    return Exists(slashed) ? slashed : path;
}
