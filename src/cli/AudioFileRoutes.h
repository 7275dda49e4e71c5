#pragma once

#include <string>
#include <vector>

class CSampleDoc;

// Which reader or writer a sample path goes to in wloe-cli: our own for 16-bit PCM WAVE files and
// the archive form, libsndfile for every other audio file.

// Opens `path` into the document: a WAVE file our reader takes or a sample archive opens as the
// editor opens it (its chunks kept); any other audio is imported and the document left untitled.
bool OpenAnySampleInput(CSampleDoc& doc, const std::string& path);
// Whether OpenAnySampleInput imports this path rather than opening it.
bool IsImportedInput(const std::string& path);
// Saves to `path`: a WAVE file or the archive form as the editor saves them, or the audio alone
// in the form the extension names (FLAC, AIFF, Ogg Vorbis).
bool SaveAnySampleOutput(CSampleDoc& doc, const std::string& path);
// The extensions `convert` writes.
const std::vector<std::string>& ConvertOutputKinds();
