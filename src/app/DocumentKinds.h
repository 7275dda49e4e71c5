#pragma once

#include <array>
#include <string>
#include <vector>

// The three kinds of document, in the order they are registered: a path whose extension matches
// none of them goes to the first.
enum class DocumentKind { Patch, Layer, Wave };

// The seven fields of a kind's descriptor string.
struct DocumentDescriptor {
    std::string windowTitle;
    std::string docName;
    std::string fileNewName;
    std::string filterName;
    std::string filterExtension;
    std::string fileTypeId;
    std::string fileTypeName;
};

DocumentDescriptor ParseDescriptor(const std::string& descriptor);

struct DocumentKindInfo {
    DocumentKind kind;
    int resource; // selects the kind's menu and icon
    DocumentDescriptor descriptor;
};

const std::array<DocumentKindInfo, 3>& DocumentKinds();
const DocumentKindInfo& KindInfo(DocumentKind kind);

// The kind that opens `path`: the first whose extension ends it (any case); sample archives
// (".sam") open as wave documents; anything else goes to the first kind.
DocumentKind KindForPath(const std::string& path);

// Paths of open documents compare without regard to case.
bool SamePath(const std::string& a, const std::string& b);

// The Open dialog's filters: the kinds' own, the sample archive form, and all files.
std::vector<std::string> OpenFilters();

// What Save As proposes: the document's own path, so the dialog starts in its folder; for a
// document never saved, its title with the kind's extension.
std::string ProposedSavePath(const std::string& title, const std::string& path, const std::string& extension);
