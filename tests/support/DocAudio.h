#pragma once

#include "sample/SampleDoc.h"

#include <cstdint>
#include <vector>

// A sample document's audio, copied out for comparison.
inline std::vector<std::int16_t> Audio(const CSampleDoc& doc) {
    return {doc.m_pData.get(), doc.m_pData.get() + doc.SampleCount()};
}
