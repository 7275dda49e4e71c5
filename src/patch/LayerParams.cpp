#include "patch/LayerParams.h"

#include "archive/ObjectArchive.h"

const ArchiveClass CLayerParams::kClass{"CLayerParams", 1, &MakeArchiveObject<CLayerParams>};

void CLayerParams::Serialize(CObjectArchive& ar) {
    ar.Exchange(m_strLayerName);
    std::int16_t level = static_cast<std::int16_t>(m_nLevel);
    ar.Exchange(level);
    m_nLevel = level;
    // The key routings come before the crossfade in the stream.
    m_envelope.Serialize(ar);
    m_noteOnRouting.Serialize(ar);
    m_xfade.Serialize(ar);
    m_controllerRouting.Serialize(ar);
}

void CLayerParams::CopyFrom(const CLayerParams& other) {
    if (&other == this)
        return;
    m_strLayerName = other.m_strLayerName;
    m_nLevel = other.m_nLevel;
    m_envelope.CopyFrom(other.m_envelope);
    m_xfade.CopyFrom(other.m_xfade);
    m_controllerRouting.CopyFrom(other.m_controllerRouting);
    m_noteOnRouting.CopyFrom(other.m_noteOnRouting);
}
