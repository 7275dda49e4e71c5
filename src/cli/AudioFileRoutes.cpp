#include "cli/AudioFileRoutes.h"

#include "cli/CliContext.h"
#include "sample/AudioFileImport.h"
#include "sample/SampleDoc.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace {
bool IsArchivePath(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".sam";
}
} // namespace

bool IsImportedInput(const std::string& path) {
    if (IsWavPath(path))
        return IsOtherAudioWav(path);
    return !IsArchivePath(path);
}

bool OpenAnySampleInput(CSampleDoc& doc, const std::string& path) {
    if (IsImportedInput(path))
        return ImportAudioFile(doc, path);
    if (!doc.OnOpenDocument(path))
        return false;
    doc.SetPathName(path);
    return true;
}

bool SaveAnySampleOutput(CSampleDoc& doc, const std::string& path) {
    if (IsAudioExportPath(path))
        return ExportAudioFile(doc, path);
    return doc.OnSaveDocument(path);
}

const std::vector<std::string>& ConvertOutputKinds() {
    static const std::vector<std::string> kinds = [] {
        std::vector<std::string> all = kSampleOutputKinds;
        all.insert(all.end(), AudioExportKinds().begin(), AudioExportKinds().end());
        return all;
    }();
    return kinds;
}
