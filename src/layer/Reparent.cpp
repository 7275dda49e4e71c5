#include "docview/DocumentEdit.h"
#include "layer/CaseFold.h"
#include "layer/LayerDoc.h"
#include "layer/ReparentDialog.h"
#include "platform/TextEncoding.h"
#include "platform/Ui.h"

#include <filesystem>
#include <system_error>

namespace {
// Makes `directory` the current directory; a later report is written there.
bool EnterDirectory(const std::string& directory) {
    std::error_code error;
    std::filesystem::current_path(directory, error);
    return !error;
}

bool ContinueWithout(const std::string& directory, const char* question) {
    if (EnterDirectory(directory))
        return true;
    return GetUi().Ask(question, AskButtons::YesNo, MessageIcon::Exclamation) == Answer::Yes;
}
} // namespace

bool CLayerDoc::OnReparentFilePointers() {
    std::optional<ReparentRoots> roots = GetUi().AskDialog(ReparentRoots{});
    if (!roots)
        return false;
    return ReparentFilePointers(roots->oldRoot, roots->newRoot);
}

bool CLayerDoc::ReparentFilePointers(const std::string& oldRoot, const std::string& newRoot) {
    if (!ContinueWithout(oldRoot, "Warning: the old directory does not exist.  Continue?") ||
        !ContinueWithout(newRoot, "Warning: the new directory does not exist.  Continue?"))
        return false;

    CDocumentEdit edit(*this, "Reparent File Pointers", kHistoryHint);
    std::string oldPrefix = Utf8ToCp1252(oldRoot);
    std::string newPrefix = Utf8ToCp1252(newRoot);
    int total = 0;
    int modified = 0;
    m_samples.ForEach([&](const std::string&, std::unique_ptr<CSample>& sample) {
        ++total;
        if (StartsWithIgnoringCase(sample->m_strPath, oldPrefix)) {
            sample->m_strPath = newPrefix + sample->m_strPath.substr(oldPrefix.size());
            ++modified;
        }
    });
    GetUi().Message(std::to_string(modified) + " pointers (out of " + std::to_string(total) +
                        " total) were modified.",
                    MessageIcon::Information);
    SetModifiedFlag();
    return true;
}
