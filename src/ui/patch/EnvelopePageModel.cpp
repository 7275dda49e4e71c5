#include "ui/patch/EnvelopePageModel.h"

#include "patch/Envelope.h"

#include <cstdio>

CEnvelopePageModel::CEnvelopePageModel() {
    SetZoom(0);
    m_graph.SetYRange(kLowestLevel, kHighestLevel, 10);
}

void CEnvelopePageModel::SetZoom(int index) {
    if (index < 0 || index >= static_cast<int>(kZoomTable.size()))
        return;
    m_nZoom = index;
    std::int32_t span = kZoomTable[static_cast<std::size_t>(index)];
    m_graph.SetXRange(0, span, GridStepBelow(span));
}

void CEnvelopePageModel::Zoom() {
    if (m_nZoom > 0)
        SetZoom(m_nZoom - 1);
}

void CEnvelopePageModel::Unzoom() {
    if (m_nZoom < static_cast<int>(kZoomTable.size()) - 1)
        SetZoom(m_nZoom + 1);
}

std::string CEnvelopePageModel::SpanLabel() const {
    char text[32];
    std::snprintf(text, sizeof text, "%.3fs", kZoomTable[static_cast<std::size_t>(m_nZoom)] * 0.001);
    return text;
}

void CEnvelopePageModel::LoadFrom(const CEnvelope& envelope, std::int32_t level) {
    m_nLevel = level;
    m_nRelease = envelope.GetRelease();
    m_bLinearFirstStage = envelope.IsLinear(0);
    int count = envelope.GetPointCount();
    int zoom = kOnePointZoom;
    if (count > 1) {
        // The narrowest span that still reaches the last point.
        std::int16_t last = PackedX(envelope.GetPoint(count - 1));
        zoom = 0;
        for (int n = static_cast<int>(kZoomTable.size()) - 1; n >= 1; --n)
            if (kZoomTable[static_cast<std::size_t>(n - 1)] < last) {
                zoom = n;
                break;
            }
    }
    SetZoom(zoom);
    m_graph.SetPointCount(count);
    for (int i = 0; i < count; ++i)
        m_graph.SetPoint(i, PackedX(envelope.GetPoint(i)), PackedY(envelope.GetPoint(i)));
}

void CEnvelopePageModel::StoreTo(CEnvelope& envelope, std::int32_t& level) const {
    level = m_nLevel;
    envelope.SetRelease(m_nRelease);
    envelope.SetLinear(0, m_bLinearFirstStage);
    envelope.SetPoints(m_graph.GetPoints());
}

void CEnvelopePageModel::OnGraphNotify(int kind, std::uint32_t point) {
    m_strReadOut = PointReadOut(kind, point, "(%d,%+d)");
}
