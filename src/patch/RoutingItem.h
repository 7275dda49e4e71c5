#pragma once

#include "archive/ArchiveClass.h"

#include <cstdint>
#include <vector>

// What a routing reads (its source) and what it changes (its destination).
enum RoutingSource : std::int32_t {
    kSourceNone = 0,
    kSourceKeyNumber = 1,
    kSourceVelocity = 2,
    kSourceController = 3,
    kSourcePitchWheel = 4,
    kSourceAftertouch = 5,
};

enum RoutingDestination : std::int32_t {
    kDestinationNone = 0,
    kDestinationVolume = 1,
    kDestinationPitch = 2,
    kDestinationEnvLevel = 3,
    kDestinationEnvDuration = 4,
    kDestinationEnvHoldLevel = 5,
    kDestinationEnvReleaseDuration = 6,
};

// One routing: a source, a destination, the controller and envelope stage they name, and a
// curve that maps the source's value to an amount. Key and continuous routings share all of it;
// only their class names differ.
class CRoutingItem : public CObject {
public:
    void Serialize(CObjectArchive& ar) override;
    void CopyFrom(const CRoutingItem& other);

    // The curve's amount at input x: flat after the last point, 0 before the first.
    float Evaluate(std::int32_t x) const;

    std::int32_t m_nSource = kSourceNone;
    std::int32_t m_nDestination = kDestinationNone;
    std::int32_t m_nController = 0;
    std::int32_t m_nStage = 0;
    // Packed points: x the input value, y the amount, in ascending order of x.
    std::vector<std::uint32_t> m_curve{0};
};

class CNoteOnRoutingItem : public CRoutingItem {
public:
    static const ArchiveClass kClass;
    const ArchiveClass& GetArchiveClass() const override { return kClass; }
};

class CControllerRoutingItem : public CRoutingItem {
public:
    static const ArchiveClass kClass;
    const ArchiveClass& GetArchiveClass() const override { return kClass; }
};
