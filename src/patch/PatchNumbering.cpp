// How patches get and change their numbers: the patch form's Apply and the tree's New patch.
#include "patch/PatchDoc.h"

#include "platform/Ui.h"

#include <algorithm>

CPatch* CPatchDoc::ApplyPatchSettings(CPatch& patch, std::uint16_t number, const std::string& name,
                                      std::int32_t level, CView* sender) {
    // The old patch may be destroyed below, and the name may be its own.
    std::string newName = name;
    std::uint16_t oldNumber = patch.m_nNumber;
    bool nameChanged = newName != patch.m_strName;
    CPatch* target = &patch;
    if (number != oldNumber) {
        if (FindPatch(number)) {
            GetUi().Message("Can't change to that patch number because it's in use.",
                            MessageIcon::Exclamation);
            return nullptr;
        }
        auto copy = std::make_unique<CPatch>();
        copy->CopyFrom(patch);
        // Only the patch itself leaves its number, never another one held there.
        if (FindPatch(oldNumber) == &patch)
            RemovePatch(oldNumber);
        target = &SetPatch(number, std::move(copy));
    }
    target->m_nNumber = number;
    target->m_strName = newName;
    target->m_nMasterLevel = level;
    if (number != oldNumber || nameChanged)
        UpdateAllViews(sender, number);
    SetModifiedFlag();
    return target;
}

std::optional<std::uint16_t> CPatchDoc::FindFreePatchNumber(std::uint16_t start) const {
    for (std::uint16_t n = start; n < kPatchCount; ++n)
        if (!FindPatch(n))
            return n;
    // Downward from below the start, and never from a number past the bank.
    for (int n = std::min<int>(start, kPatchCount) - 1; n >= 0; --n)
        if (!FindPatch(static_cast<std::uint16_t>(n)))
            return static_cast<std::uint16_t>(n);
    return std::nullopt;
}

CPatch* CPatchDoc::NewPatch(std::uint16_t start) {
    std::optional<std::uint16_t> number = FindFreePatchNumber(start);
    if (!number) {
        GetUi().Message("All 128 patch numbers are in use", MessageIcon::Exclamation);
        return nullptr;
    }
    return &SetPatch(*number, std::make_unique<CPatch>());
}
