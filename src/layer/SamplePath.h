#pragma once

#include <string>

// The file to open for a sample entry's path (Windows-1252, as the entry holds it): the path as
// written, or, when that does not exist and the path was written on Windows, the same path with
// its backslashes turned into '/'.
std::string SamplePathForOpening(const std::string& storedPath);
