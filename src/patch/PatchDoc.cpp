#include "patch/PatchDoc.h"

#include "archive/ArchiveContainers.h"
#include "patch/PatchClasses.h"
#include "patch/PatchReport.h"
#include "platform/Shell.h"

#include <algorithm>
#include <utility>
#include <vector>

CPatchDoc::CPatchDoc() {
    RegisterPatchClasses();
}

CPatchDoc::~CPatchDoc() = default;

CPatch* CPatchDoc::FindPatch(std::uint16_t number) const {
    const std::unique_ptr<CPatch>* patch = m_patches.Find(number);
    return patch ? patch->get() : nullptr;
}

CPatch& CPatchDoc::SetPatch(std::uint16_t number, std::unique_ptr<CPatch> patch) {
    CPatch& stored = *patch;
    stored.m_nNumber = number;
    m_patches.Set(number, std::move(patch));
    SetModifiedFlag();
    return stored;
}

void CPatchDoc::RemovePatch(std::uint16_t number) {
    if (m_patches.Remove(number))
        SetModifiedFlag();
}

void CPatchDoc::Serialize(CObjectArchive& ar) {
    if (ar.IsStoring()) {
        SerializeMap(ar, m_patches);
        return;
    }
    m_patches.Clear();
    m_loadOrder.clear();
    std::uint32_t count = ar.LoadCount();
    ar.Require(std::uint64_t{count} * 4); // a key and a tag at least per patch
    std::vector<std::pair<std::uint16_t, std::unique_ptr<CPatch>>> read;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint16_t number = 0;
        ar >> number;
        std::unique_ptr<CPatch> patch = ar.LoadOwned<CPatch>();
        if (!patch)
            throw CArchiveException(CArchiveException::Kind::BadClass);
        if (std::none_of(read.begin(), read.end(),
                         [number](const auto& entry) { return entry.first == number; }))
            m_loadOrder.push_back(number);
        read.emplace_back(number, std::move(patch));
    }
    // The writer puts the latest insertion first among its neighbours: inserting backwards saves
    // an unedited bank as it was read. Backwards, a number read twice meets its last patch first.
    for (auto entry = read.rbegin(); entry != read.rend(); ++entry) {
        if (m_patches.Contains(entry->first))
            ar.Discard(std::move(entry->second));
        else
            m_patches.Set(entry->first, std::move(entry->second));
    }
    // Numbers are not archived inside the patches. Every key gets its number, so that a patch
    // stored under a number past 127 by some other writer still knows where it is held.
    m_patches.ForEach(
        [](std::uint16_t number, std::unique_ptr<CPatch>& patch) { patch->m_nNumber = number; });
}

void CPatchDoc::DeleteContents() {
    m_patches.Clear();
    m_loadOrder.clear();
}

bool CPatchDoc::ReportPatches(const std::string& path) const {
    if (!WritePatchReport(*this, path))
        return false;
    GetShell().OpenForReading(path);
    return true;
}
