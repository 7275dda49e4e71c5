#pragma once

#include "archive/ArchiveClass.h"

#include <cstdint>
#include <vector>

// The amplitude envelope of a layer: breakpoints (time in ms, level in dB), a release time and a
// flag per segment that makes it interpolate in amplitude rather than in dB. Initialize builds
// per-point tables for a sampling rate; GetLevel then answers the gain for a sample position.
class CEnvelope : public CObject {
public:
    static const ArchiveClass kClass;
    const ArchiveClass& GetArchiveClass() const override { return kClass; }

    CEnvelope();
    // Copies carry points, release and flags, never the tables: the copy is not initialized.
    CEnvelope(const CEnvelope& other);
    CEnvelope& operator=(const CEnvelope& other);
    void CopyFrom(const CEnvelope& other);

    void Serialize(CObjectArchive& ar) override;

    int GetPointCount() const { return static_cast<int>(m_points.size()); }
    std::uint32_t GetPoint(int i) const { return m_points[static_cast<std::size_t>(i)]; }
    // The time as the tables read it (unsigned) and the level in dB (signed).
    std::uint16_t GetPointTime(int i) const;
    std::int16_t GetPointLevel(int i) const;
    const std::vector<std::uint32_t>& GetPoints() const { return m_points; }
    void SetPoints(std::vector<std::uint32_t> points) { m_points = std::move(points); }
    // Keeps the low 16 bits of time and level; the list grows when i is past its end.
    void SetPoint(int i, std::int32_t time, std::int32_t level);

    std::int32_t GetRelease() const { return m_nRelease; }
    void SetRelease(std::int32_t release) { m_nRelease = release; }
    std::uint32_t GetLinearFlags() const { return m_nLinearFlags; }
    void SetLinearFlags(std::uint32_t flags) { m_nLinearFlags = flags; }
    bool IsLinear(int i) const;
    void SetLinear(int i, bool on);

    // Builds the tables for `rate` Hz. Nothing happens when they were built for that rate
    // already, unless `force`: callers that changed points, flags or release must force.
    void Initialize(std::uint32_t rate, bool force);
    bool IsInitialized() const { return m_nRate != 0; }
    std::uint32_t GetRate() const { return m_nRate; }

    // The gain factor at sample `position` when the key went up at `releasePosition`. Positions
    // must be asked in order up to the release, since the release starts from the level of the
    // latest call before it.
    float GetLevel(std::uint32_t position, std::uint32_t releasePosition);

private:
    void DiscardTables();

    std::vector<std::uint32_t> m_points;
    std::uint32_t m_nLinearFlags = 0;
    std::int32_t m_nRelease = 0;

    float m_fCurrentLevel = 0;
    bool m_bCurrentIsLinear = false;
    std::vector<std::uint32_t> m_positions;
    std::vector<float> m_dB;
    std::vector<float> m_amplitude;
    std::vector<float> m_dBSlope;
    std::vector<float> m_amplitudeSlope;
    std::uint32_t m_nReleaseSamples = 0;
    float m_fReleaseSlope = 0;
    std::uint32_t m_nRate = 0;
};

// The linear factor of a level in dB: 6 dB doubles it.
float DbToGain(float dB);
