#include "patch/Envelope.h"

#include "archive/ArchiveContainers.h"
#include "archive/PackedPoint.h"
#include "platform/Ui.h"

#include <algorithm>
#include <cmath>
#include <limits>

const ArchiveClass CEnvelope::kClass{"CEnvelope", 1, &MakeArchiveObject<CEnvelope>};

namespace {
// The float nearest 1/6: a level L in dB is the factor 2^(L * c).
constexpr float kDbScale = 0.16666667f;

// time (or release) x rate / 1000 in sample positions. The product is taken wide, since the
// synthesizer's rates (ten times a frame count) overflow 32 bits; a result past the 32-bit range
// lies beyond any sample that can be asked for.
std::uint32_t MillisecondsToSamples(std::uint64_t ms, std::uint32_t rate) {
    std::uint64_t samples = ms * rate / 1000;
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(samples, std::numeric_limits<std::uint32_t>::max()));
}
} // namespace

float DbToGain(float dB) {
    return std::exp2(dB * kDbScale);
}

CEnvelope::CEnvelope() : m_points{0} {}

CEnvelope::CEnvelope(const CEnvelope& other)
    : CObject(), m_points(other.m_points), m_nLinearFlags(other.m_nLinearFlags),
      m_nRelease(other.m_nRelease) {}

CEnvelope& CEnvelope::operator=(const CEnvelope& other) {
    CopyFrom(other);
    return *this;
}

void CEnvelope::CopyFrom(const CEnvelope& other) {
    if (&other == this)
        return;
    m_points = other.m_points;
    m_nLinearFlags = other.m_nLinearFlags;
    m_nRelease = other.m_nRelease;
    DiscardTables();
}

void CEnvelope::DiscardTables() {
    m_fCurrentLevel = 0;
    m_bCurrentIsLinear = false;
    m_positions.clear();
    m_dB.clear();
    m_amplitude.clear();
    m_dBSlope.clear();
    m_amplitudeSlope.clear();
    m_nReleaseSamples = 0;
    m_fReleaseSlope = 0;
    m_nRate = 0;
}

void CEnvelope::Serialize(CObjectArchive& ar) {
    ar.Exchange(m_nRelease);
    ar.Exchange(m_nLinearFlags);
    SerializeWordArray(ar, m_points);
}

std::uint16_t CEnvelope::GetPointTime(int i) const {
    return static_cast<std::uint16_t>(GetPoint(i) & 0xFFFF);
}

std::int16_t CEnvelope::GetPointLevel(int i) const {
    return PackedY(GetPoint(i));
}

void CEnvelope::SetPoint(int i, std::int32_t time, std::int32_t level) {
    if (i < 0)
        return;
    auto index = static_cast<std::size_t>(i);
    if (index >= m_points.size())
        m_points.resize(index + 1, 0);
    m_points[index] = PackPoint(time, level);
}

bool CEnvelope::IsLinear(int i) const {
    return i >= 0 && i <= 31 && (m_nLinearFlags & (std::uint32_t{1} << i)) != 0;
}

void CEnvelope::SetLinear(int i, bool on) {
    if (i < 0 || i > 31)
        return;
    if (on)
        m_nLinearFlags |= std::uint32_t{1} << i;
    else
        m_nLinearFlags &= ~(std::uint32_t{1} << i);
}

void CEnvelope::Initialize(std::uint32_t rate, bool force) {
    if (rate == m_nRate && !force)
        return;
    std::size_t n = m_points.size();
    m_positions.assign(n, 0);
    m_dB.assign(n, 0);
    m_amplitude.assign(n, 0);
    m_dBSlope.assign(n, 0);
    m_amplitudeSlope.assign(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        m_positions[i] = MillisecondsToSamples(m_points[i] & 0xFFFF, rate);
        m_dB[i] = PackedY(m_points[i]);
        m_amplitude[i] = DbToGain(m_dB[i]);
    }
    for (std::size_t i = 0; i + 1 < n; ++i) {
        if (m_positions[i + 1] == m_positions[i])
            continue;
        auto d = static_cast<float>(m_positions[i + 1] - m_positions[i]);
        m_dBSlope[i] = (m_dB[i + 1] - m_dB[i]) / d;
        m_amplitudeSlope[i] = (m_amplitude[i + 1] - m_amplitude[i]) / d;
    }
    // A negative release is no release time at all.
    m_nReleaseSamples =
        m_nRelease > 0 ? MillisecondsToSamples(static_cast<std::uint64_t>(m_nRelease), rate) : 0;
    m_fReleaseSlope = 1.0f;
    m_nRate = rate;
}

float CEnvelope::GetLevel(std::uint32_t position, std::uint32_t releasePosition) {
    if (m_nRate == 0) {
        GetUi().Message("Internal error: GetLevel() called on uninitialized CEnvelope",
                        MessageIcon::Exclamation);
        Initialize(44100, false);
    }

    if (position > releasePosition) {
        if (m_fReleaseSlope > 0) {
            if (m_nReleaseSamples == 0)
                m_nReleaseSamples = 1;
            if (m_bCurrentIsLinear) {
                m_fCurrentLevel = static_cast<float>(std::log2(m_fCurrentLevel) * 6.0);
                m_bCurrentIsLinear = false;
            }
            // A silent level (an amplitude of 0 has no level in dB) stays silent.
            if (!std::isfinite(m_fCurrentLevel))
                return 0.0f;
            m_fReleaseSlope = (-60.0f - m_fCurrentLevel) / static_cast<float>(m_nReleaseSamples);
        }
        float level = static_cast<float>(position - releasePosition) * m_fReleaseSlope + m_fCurrentLevel;
        return DbToGain(level);
    }

    // The tables, not the points: the points may have changed since the last Initialize.
    std::size_t n = m_positions.size();
    std::size_t i = n;
    while (i > 0 && m_positions[i - 1] > position)
        --i;
    if (i == 0)
        return 0.0f;
    --i;
    int segment = static_cast<int>(i);
    if (i + 1 == n) {
        m_bCurrentIsLinear = IsLinear(segment);
        m_fCurrentLevel = m_bCurrentIsLinear ? m_amplitude[i] : m_dB[i];
        return m_bCurrentIsLinear ? m_fCurrentLevel : DbToGain(m_dB[i]);
    }
    auto offset = static_cast<float>(position - m_positions[i]);
    m_bCurrentIsLinear = IsLinear(segment);
    if (m_bCurrentIsLinear) {
        m_fCurrentLevel = offset * m_amplitudeSlope[i] + m_amplitude[i];
        return m_fCurrentLevel;
    }
    m_fCurrentLevel = offset * m_dBSlope[i] + m_dB[i];
    return DbToGain(m_fCurrentLevel);
}
