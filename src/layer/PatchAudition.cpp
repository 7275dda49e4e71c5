#include "layer/PatchAudition.h"

#include "layer/LayerDoc.h"
#include "patch/Patch.h"
#include "platform/TextEncoding.h"
#include "platform/Ui.h"
#include "sample/Player.h"
#include "sample/SampleDoc.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// The envelope is read once per block of this many values.
constexpr std::uint32_t kEnvelopeBlock = 100;

// An audition plays with the mod wheel and friends at rest, full volume, centre pan.
ControllerState AuditionControllers() {
    ControllerState controllers{};
    controllers[7] = 127;
    controllers[10] = 64;
    return controllers;
}

// Truncates toward zero; a product too large for any 16-bit sum, or not a number, is held at
// the edge of the 32-bit range so the conversion stays defined.
std::int32_t Truncated(float value) {
    if (std::isnan(value))
        return 0;
    return static_cast<std::int32_t>(std::clamp(value, -2147483648.0f, 2147483520.0f));
}
} // namespace

CPatchAudition::CPatchAudition() = default;

CPatchAudition::~CPatchAudition() {
    // The player reads the buffer in place.
    if (m_bPlayed)
        PlayerStop();
}

void CPatchAudition::Invalidate() {
    m_nLastPitch = kNoPitch;
}

int CPatchAudition::PreparedVoices() const {
    return static_cast<int>(
        std::count_if(m_voices.begin(), m_voices.end(), [](const Voice& v) { return v.copy != nullptr; }));
}

void CPatchAudition::PrepareVoices(CLayerDoc& layers, const CPatch& patch, int pitch) {
    for (Voice& voice : m_voices)
        voice = Voice{};
    std::size_t filled = 0;
    for (const auto& params : patch.m_layers) {
        if (filled == m_voices.size())
            break;
        const CLayer* layer = layers.FindLayer(params->m_strLayerName);
        if (!layer) {
            GetUi().Message("Warning: " + Cp1252ToUtf8(params->m_strLayerName) + " does not exist");
            continue;
        }
        CSample* entry = layers.GetSampleDocument(*layer, static_cast<std::uint16_t>(pitch));
        if (!entry)
            continue;
        std::unique_ptr<CSampleDoc> copy =
            PrepareVoiceCopy(*entry->GetDocument(), pitch + layer->m_nTranspose);
        if (!copy)
            continue;
        m_voices[filled++] = Voice{std::move(copy), params.get()};
        while (layers.LoadedBytes() > CLayerDoc::kCacheLimit && layers.ReleaseOldest()) {
        }
    }
    m_nLastPitch = pitch;
    m_pLastPatch = &patch;
}

void CPatchAudition::Mix(const Voice& voice, const CLayerParams* previous, int pitch, int velocity) {
    const CLayerParams& params = *voice.params;
    auto key = static_cast<std::uint16_t>(pitch);
    auto vel = static_cast<std::uint16_t>(velocity);
    float gain =
        static_cast<float>(std::pow(2.0, (params.m_nLevel - 4) / 6.0)) * params.m_xfade.Gain(vel, false);
    if (previous)
        gain *= previous->m_xfade.Gain(vel, true);

    CEnvelope envelope;
    envelope.CopyFrom(params.m_envelope);
    params.m_noteOnRouting.ApplyKeyRoutings(gain, envelope, key, vel, AuditionControllers());
    envelope.Initialize(kAuditionRate, true);

    const std::int16_t* source = voice.copy->m_pData.get();
    std::uint32_t count = std::min(voice.copy->m_nFrames, kVoiceFrames);
    std::int16_t* out = m_pBuffer.get();
    for (std::uint32_t block = 0; block < count; block += kEnvelopeBlock) {
        float level = envelope.GetLevel(block, kVoiceFrames);
        std::uint32_t end = std::min(count, block + kEnvelopeBlock);
        for (std::uint32_t j = block; j < end; ++j) {
            // Sums wrap around at 16 bits, as the synthesizer's own mixer does: no clipping.
            auto sum = static_cast<std::uint32_t>(out[j]) +
                       static_cast<std::uint32_t>(Truncated(source[j] * gain * level));
            out[j] = static_cast<std::int16_t>(static_cast<std::uint16_t>(sum));
        }
    }
}

const std::int16_t* CPatchAudition::Render(CLayerDoc& layers, const CPatch& patch, int pitch, int velocity) {
    if (m_bPlayed) {
        PlayerStop();
        m_bPlayed = false;
    }
    if (pitch != m_nLastPitch || &patch != m_pLastPatch)
        PrepareVoices(layers, patch, pitch);

    m_pBuffer = std::make_unique<std::int16_t[]>(kVoiceFrames);
    const CLayerParams* previous = nullptr;
    for (const Voice& voice : m_voices) {
        if (!voice.copy)
            break;
        Mix(voice, previous, pitch, velocity);
        previous = voice.params;
    }

    std::int16_t* fade = m_pBuffer.get() + (kVoiceFrames - kFadeValues);
    for (std::uint32_t i = 0; i < kFadeValues; ++i)
        fade[i] = static_cast<std::int16_t>(fade[i] * static_cast<int>(kFadeValues - 1 - i) /
                                            static_cast<int>(kFadeValues));
    return m_pBuffer.get();
}

bool CPatchAudition::Play(CLayerDoc& layers, const CPatch& patch, int pitch, int velocity) {
    PlayerStop();
    const std::int16_t* buffer = Render(layers, patch, pitch, velocity);
    m_bPlayed = PlayerOpen(false, kAuditionRate) && PlayerWrite(buffer, kVoiceFrames, false);
    return m_bPlayed;
}
