#pragma once

#include "patch/Envelope.h"
#include "patch/Routing.h"
#include "patch/Xfade.h"

#include <cstdint>
#include <string>

// How one layer of the layer library sounds inside a patch. The layer is named, never linked: the
// library that defines it is looked up by name when the layer is needed.
class CLayerParams : public CObject {
public:
    static const ArchiveClass kClass;
    const ArchiveClass& GetArchiveClass() const override { return kClass; }

    void Serialize(CObjectArchive& ar) override;
    void CopyFrom(const CLayerParams& other);

    std::string m_strLayerName; // Windows-1252
    std::int32_t m_nLevel = 0;  // dB; archived as 16 bits
    CEnvelope m_envelope;
    CXfade m_xfade;
    CControllerRouting m_controllerRouting;
    CNoteOnRouting m_noteOnRouting;
};
