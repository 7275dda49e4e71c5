#pragma once

#include <string>

// The file to open for a sample entry's path (Windows-1252, as the entry holds it): the path as
// written, or, when that does not exist and the path was written on Windows, the same path with
// its backslashes turned into '/'.
std::string SamplePathForOpening(const std::string& storedPath);

// The name a sample entry takes from its sound file's path: the file name without its last
// extension, or the whole file name when that leaves nothing. Both '\' and '/' separate
// directories, so Windows paths and paths of this system give the same names.
std::string SampleNameFromPath(const std::string& path);
