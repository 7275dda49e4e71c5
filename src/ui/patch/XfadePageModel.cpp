#include "ui/patch/XfadePageModel.h"

#include "patch/Xfade.h"

void CXfadePageModel::LoadFrom(const CXfade& xfade) {
    std::uint16_t center = 0;
    std::uint16_t width = 0;
    xfade.GetValues(center, width, m_nCurve);
    m_nCenter = center;
    m_nWidth = width;
}

void CXfadePageModel::StoreTo(CXfade& xfade) const {
    xfade.SetValues(static_cast<std::uint16_t>(m_nCenter), static_cast<std::uint16_t>(m_nWidth), m_nCurve);
}
