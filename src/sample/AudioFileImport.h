#pragma once

#include <string>
#include <vector>

class CSampleDoc;

// Audio files of any format libsndfile reads, brought in as a 16-bit sample: mono or stereo only;
// 8- and 16-bit sources exactly, deeper or floating-point ones rounded with TPDF dither. The loop
// and root key of the source's instrument data come along. False, with a message naming the file,
// when it cannot be read; the document is then unchanged.
bool ImportAudioFile(CSampleDoc& doc, const std::string& path);

// The file forms ExportAudioFile writes, by extension (".flac", ".aiff", ...).
const std::vector<std::string>& AudioExportKinds();
bool IsAudioExportPath(const std::string& path);
// Writes the sample's audio as 16-bit in the form the extension names. No loop or pitch goes with
// it: libsndfile's writers of these forms keep none.
bool ExportAudioFile(const CSampleDoc& doc, const std::string& path);
