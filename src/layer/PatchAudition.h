#pragma once

#include "layer/AuditionCopy.h"

#include <array>
#include <cstdint>
#include <memory>

class CLayerDoc;
class CLayerParams;
class CPatch;
class CSampleDoc;

// The patch editor's audition: up to kVoices layers of a patch rendered at one key and velocity
// into a mono buffer of kVoiceFrames values at kAuditionRate. The voices prepared for a key are
// kept and reused while the key (and patch) stay the same.
class CPatchAudition {
public:
    static constexpr int kVoices = 12;
    // The last values fade out so the buffer ends in silence.
    static constexpr std::uint32_t kFadeValues = 20;

    CPatchAudition();
    ~CPatchAudition();

    // Drops the prepared voices: the next render prepares them afresh. Call whenever the patch
    // or the layer library may have changed, since the voices refer to the patch's layers.
    void Invalidate();

    // Renders `patch` at key `pitch` (1..127) and `velocity` (1..127). Layers missing from
    // `layers` are reported and skipped; so are keys that a layer does not map.
    const std::int16_t* Render(CLayerDoc& layers, const CPatch& patch, int pitch, int velocity);
    // Stops the player, renders, and plays the buffer on the wave device.
    bool Play(CLayerDoc& layers, const CPatch& patch, int pitch, int velocity);

    int PreparedVoices() const;
    const std::int16_t* Buffer() const { return m_pBuffer.get(); }

private:
    struct Voice {
        std::unique_ptr<CSampleDoc> copy;
        const CLayerParams* params = nullptr;
    };
    void PrepareVoices(CLayerDoc& layers, const CPatch& patch, int pitch);
    void Mix(const Voice& voice, const CLayerParams* previous, int pitch, int velocity);

    // No key is 10000: set after every change so the next render prepares its voices.
    static constexpr int kNoPitch = 10000;
    int m_nLastPitch = kNoPitch;
    const CPatch* m_pLastPatch = nullptr;
    std::array<Voice, kVoices> m_voices;
    std::unique_ptr<std::int16_t[]> m_pBuffer;
    bool m_bPlayed = false; // the player may still be reading the buffer
};
