#pragma once

#include "archive/ArchiveMap.h"
#include "docview/Document.h"
#include "patch/Patch.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The document of a patch file: a bank of up to 128 patches, each under its number.
class CPatchDoc : public CDocument {
public:
    // Window title, document name, new-file name, filter, extension, registry type and its
    // description, separated by "\n".
    static constexpr const char* kDocTypeStrings =
        "\nPatch\nPATCH File\nPATCH Files (*.pat)\n.pat\nPatchFileType\nPATCH File Type";
    static constexpr const char* kReportFile = "PATCHES.TXT";
    static constexpr std::uint16_t kPatchCount = 128;

    using PatchMap = CArchiveMap<std::uint16_t, std::unique_ptr<CPatch>>;

    CPatchDoc();
    ~CPatchDoc() override;

    CPatch* FindPatch(std::uint16_t number) const;
    // Stores the patch under a free number, gives it that number and marks the document modified.
    CPatch& SetPatch(std::uint16_t number, std::unique_ptr<CPatch> patch);
    // Destroys the patch under `number`, if there is one.
    void RemovePatch(std::uint16_t number);
    const PatchMap& GetPatches() const { return m_patches; }
    // The numbers in the order the last load found them in the file.
    const std::vector<std::uint16_t>& GetLoadOrder() const { return m_loadOrder; }

    void Serialize(CObjectArchive& ar) override;
    void DeleteContents() override;

    // The patch form's Apply: gives `patch` a new number, name and master level. A patch that
    // changes number moves to a copy under the new number (the old object is destroyed); the
    // patch now holding the values is returned, or none when the number is taken by another
    // patch, in which case nothing changes. Views other than `sender` are told of a new number
    // or name with the number as the hint.
    CPatch* ApplyPatchSettings(CPatch& patch, std::uint16_t number, const std::string& name,
                               std::int32_t level, CView* sender);

    // The number a new patch gets when the patch numbered `start` is selected: the first free one
    // upward from `start`, else downward.
    std::optional<std::uint16_t> FindFreePatchNumber(std::uint16_t start) const;
    // Adds a new patch under that number, or says that all numbers are in use. The caller tells
    // the views.
    CPatch* NewPatch(std::uint16_t start);

    // Writes the patch report to `path` and hands it to the shell to open for reading.
    bool ReportPatches(const std::string& path = kReportFile) const;

private:
    PatchMap m_patches;
    std::vector<std::uint16_t> m_loadOrder;
};
