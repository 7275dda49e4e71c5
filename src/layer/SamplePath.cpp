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

std::string SampleNameFromPath(const std::string& path) {
    std::size_t separator = path.find_last_of("\\/");
    std::string file = separator == std::string::npos ? path : path.substr(separator + 1);
    std::size_t dot = file.rfind('.');
    std::string stem = dot == std::string::npos ? std::string() : file.substr(0, dot);
    return stem.empty() ? file : stem;
}
