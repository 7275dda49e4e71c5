#include "patch/Xfade.h"

#include "archive/ObjectArchive.h"

#include <cmath>

const ArchiveClass CXfade::kClass{"CXfade", 1, &MakeArchiveObject<CXfade>};

void CXfade::Serialize(CObjectArchive& ar) {
    ar.Exchange(m_nCenter);
    ar.Exchange(m_nWidth);
    std::uint16_t curve = static_cast<std::uint16_t>(m_nCurve);
    ar.Exchange(curve);
    m_nCurve = curve;
}

void CXfade::GetValues(std::uint16_t& center, std::uint16_t& width, std::int32_t& curve) const {
    center = m_nCenter;
    width = m_nWidth;
    curve = m_nCurve;
}

void CXfade::SetValues(std::uint16_t center, std::uint16_t width, std::int32_t curve) {
    m_nCenter = center;
    m_nWidth = width;
    m_nCurve = curve;
}

float CXfade::Gain(std::uint16_t value, bool upper) const {
    if (m_nCenter == 0)
        return 1.0f;
    float f = 0;
    if (m_nWidth == 0) {
        f = (upper ? value >= m_nCenter : value < m_nCenter) ? 1.0f : 0.0f;
    } else {
        int distance = upper ? value - m_nCenter : m_nCenter - value;
        f = static_cast<float>(static_cast<double>(distance) / m_nWidth + 0.5);
    }
    if (f <= 0)
        return 0.0f;
    if (f >= 1.0f)
        return 1.0f;
    switch (m_nCurve) {
    case kInverseSquare:
        return std::pow(f, 0.5f);
    case kExponential:
        return f >= 0.5f ? std::exp2(f - 1) : std::exp2(5 * f - 3);
    case kLinear:
        return f;
    default:
        return 1.0f;
    }
}
