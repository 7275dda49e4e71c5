#include "app/DocumentKinds.h"

#include <algorithm>
#include <cctype>

namespace {
std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
    return !suffix.empty() && text.size() >= suffix.size() &&
           Lower(text.substr(text.size() - suffix.size())) == Lower(suffix);
}
} // namespace

DocumentDescriptor ParseDescriptor(const std::string& descriptor) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        std::size_t end = descriptor.find('\n', start);
        fields.push_back(
            descriptor.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    fields.resize(7);
    return {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6]};
}

const std::array<DocumentKindInfo, 3>& DocumentKinds() {
    static const std::array<DocumentKindInfo, 3> kinds = {
        DocumentKindInfo{
            DocumentKind::Patch, 2,
            ParseDescriptor(
                "\nPatch\nPATCH File\nPATCH Files (*.pat)\n.pat\nPatchFileType\nPATCH File Type")},
        DocumentKindInfo{
            DocumentKind::Layer, 3,
            ParseDescriptor("\nLayer\n\nLAYER Files (*.lay)\n.lay\nLayerFileType\nLAYER File Type")},
        DocumentKindInfo{
            DocumentKind::Wave, 4,
            ParseDescriptor(
                "\nWave File\nWAVE File\nWAVE Files (*.wav)\n.wav\nWaveFile Type\nWAVE File Type")},
    };
    return kinds;
}

const DocumentKindInfo& KindInfo(DocumentKind kind) {
    for (const auto& info : DocumentKinds())
        if (info.kind == kind)
            return info;
    return DocumentKinds().front();
}

DocumentKind KindForPath(const std::string& path) {
    for (const auto& info : DocumentKinds())
        if (EndsWithNoCase(path, info.descriptor.filterExtension))
            return info.kind;
    if (EndsWithNoCase(path, ".sam"))
        return DocumentKind::Wave;
    return DocumentKinds().front().kind;
}

bool SamePath(const std::string& a, const std::string& b) {
    return Lower(a) == Lower(b);
}

std::vector<std::string> OpenFilters() {
    std::vector<std::string> filters;
    for (const auto& info : DocumentKinds())
        filters.push_back(info.descriptor.filterName);
    filters.push_back("SAMPLE Archives (*.sam)");
    filters.push_back("All Files (*)");
    return filters;
}

std::string ProposedSavePath(const std::string& title, const std::string& path,
                             const std::string& extension) {
    if (!path.empty())
        return path;
    return title.find('.') == std::string::npos ? title + extension : title;
}
