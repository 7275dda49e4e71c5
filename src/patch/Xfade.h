#pragma once

#include "archive/ArchiveClass.h"

#include <cstdint>

// The velocity crossfade between a layer and the next one in its patch. A center of 0 means none.
class CXfade : public CObject {
public:
    static const ArchiveClass kClass;
    const ArchiveClass& GetArchiveClass() const override { return kClass; }

    enum Curve : std::int32_t { kInverseSquare = 0, kExponential = 1, kLinear = 2 };

    void Serialize(CObjectArchive& ar) override;

    void GetValues(std::uint16_t& center, std::uint16_t& width, std::int32_t& curve) const;
    void SetValues(std::uint16_t center, std::uint16_t width, std::int32_t curve);
    void CopyFrom(const CXfade& other) { SetValues(other.m_nCenter, other.m_nWidth, other.m_nCurve); }

    // The gain (0..1) at `value`: of the owning layer, which fades out above the center, or with
    // `upper` of the layer after it, which fades in.
    float Gain(std::uint16_t value, bool upper) const;

    std::uint16_t m_nCenter = 0;
    std::uint16_t m_nWidth = 0;
    std::int32_t m_nCurve = kInverseSquare;
};
