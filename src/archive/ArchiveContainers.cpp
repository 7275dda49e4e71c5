#include "archive/ArchiveContainers.h"

void SerializeWordArray(CObjectArchive& ar, std::vector<std::uint32_t>& words) {
    if (ar.IsStoring()) {
        ar.StoreCount(static_cast<std::uint32_t>(words.size()));
        for (std::uint32_t word : words)
            ar << word;
        return;
    }
    std::uint32_t count = ar.LoadCount();
    ar.Require(std::uint64_t{count} * 4);
    words.assign(count, 0);
    for (auto& word : words)
        ar >> word;
}
