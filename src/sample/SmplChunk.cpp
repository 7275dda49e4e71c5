#include "sample/SmplChunk.h"

#include "sample/LittleEndian.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr std::size_t kFixedSize = 36;
constexpr std::size_t kLoopSize = 24;
constexpr double kFractionUnit = 4294967296.0;
} // namespace

std::optional<SmplChunk> SmplChunk::Parse(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kFixedSize)
        return std::nullopt;
    const std::uint8_t* p = bytes.data();
    SmplChunk smpl;
    smpl.manufacturer = GetLE32(p);
    smpl.product = GetLE32(p + 4);
    smpl.samplePeriod = GetLE32(p + 8);
    smpl.unityNote = GetLE32(p + 12);
    smpl.pitchFraction = GetLE32(p + 16);
    smpl.smpteFormat = GetLE32(p + 20);
    smpl.smpteOffset = GetLE32(p + 24);
    std::uint32_t loopCount = GetLE32(p + 28);
    std::uint32_t dataSize = GetLE32(p + 32);
    std::size_t at = kFixedSize;
    for (std::uint32_t i = 0; i < loopCount && at + kLoopSize <= bytes.size(); ++i, at += kLoopSize)
        smpl.loops.push_back({GetLE32(p + at), GetLE32(p + at + 4), GetLE32(p + at + 8), GetLE32(p + at + 12),
                              GetLE32(p + at + 16), GetLE32(p + at + 20)});
    std::size_t kept = std::min<std::size_t>(dataSize, bytes.size() - at);
    smpl.samplerData.assign(p + at, p + at + kept);
    return smpl;
}

std::vector<std::uint8_t> SmplChunk::Bytes() const {
    std::vector<std::uint8_t> bytes(kFixedSize + loops.size() * kLoopSize + samplerData.size());
    std::uint8_t* p = bytes.data();
    for (std::uint32_t value :
         {manufacturer, product, samplePeriod, unityNote, pitchFraction, smpteFormat, smpteOffset,
          static_cast<std::uint32_t>(loops.size()), static_cast<std::uint32_t>(samplerData.size())}) {
        PutLE32(p, value);
        p += 4;
    }
    for (const SmplLoop& loop : loops)
        for (std::uint32_t value :
             {loop.cuePointId, loop.type, loop.start, loop.end, loop.fraction, loop.playCount}) {
            PutLE32(p, value);
            p += 4;
        }
    std::copy(samplerData.begin(), samplerData.end(), p);
    return bytes;
}

const SmplLoop* SmplChunk::FirstForwardLoop() const {
    auto found = std::find_if(loops.begin(), loops.end(), [](const SmplLoop& loop) {
        return loop.type == SmplLoop::kForward && loop.end >= loop.start;
    });
    return found == loops.end() ? nullptr : &*found;
}

double SmplChunk::PitchHz() const {
    double key = unityNote + pitchFraction / kFractionUnit;
    return 440.0 * std::pow(2.0, (key - 69.0) / 12.0);
}

void SmplChunk::SetPitchHz(double hz) {
    if (!(hz > 0) || !std::isfinite(hz))
        return;
    double key = std::clamp(69.0 + 12.0 * std::log2(hz / 440.0), 0.0, 127.0);
    double note = std::floor(key);
    double fraction = std::round((key - note) * kFractionUnit);
    // A fraction that rounds up to a whole semitone is the next note.
    if (fraction >= kFractionUnit) {
        note += 1;
        fraction = 0;
    }
    unityNote = static_cast<std::uint32_t>(note);
    pitchFraction = static_cast<std::uint32_t>(fraction);
}
