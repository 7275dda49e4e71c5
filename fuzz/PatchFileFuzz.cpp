// Loads arbitrary bytes as a patch bank. Whatever loads must store, load again and store back to
// the same bytes, report, and play its envelopes and routings without fault.
#include "archive/ObjectArchive.h"
#include "patch/PatchDoc.h"
#include "patch/PatchReport.h"
#include "platform/ScriptedUi.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {
std::vector<std::uint8_t> Stored(CPatchDoc& doc) {
    CObjectArchive ar;
    doc.Serialize(ar);
    return ar.Bytes();
}

void Load(CPatchDoc& doc, std::vector<std::uint8_t> bytes) {
    CObjectArchive ar(std::move(bytes));
    doc.Serialize(ar);
}

void Play(const CLayerParams& layer) {
    ControllerState controllers{};
    controllers[7] = 127;
    for (std::uint16_t velocity : {1, 64, 127}) {
        CEnvelope envelope(layer.m_envelope);
        float gain = layer.m_xfade.Gain(velocity, false) * layer.m_xfade.Gain(velocity, true);
        layer.m_noteOnRouting.ApplyKeyRoutings(gain, envelope, 60, velocity, controllers);
        envelope.Initialize(44100, true);
        for (std::uint32_t position : {0u, 100u, 44100u, 1000000u})
            envelope.GetLevel(position, 500000);
        envelope.GetLevel(500001, 500000);
        envelope.GetLevel(4000000000u, 500000);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScriptedUi ui;
    ScopedUi scope(ui);
    CPatchDoc doc;
    try {
        Load(doc, std::vector<std::uint8_t>(data, data + size));
    } catch (const CArchiveException&) {
        return 0;
    }

    // Loading reverses the order within a bucket, so the second store differs; the third does not.
    std::vector<std::uint8_t> first = Stored(doc);
    CPatchDoc again;
    Load(again, first);
    CPatchDoc third;
    Load(third, Stored(again));
    if (Stored(third) != first)
        std::abort();

    PatchReportText(doc);
    doc.GetPatches().ForEach([](std::uint16_t, const std::unique_ptr<CPatch>& patch) {
        for (const auto& layer : patch->m_layers)
            Play(*layer);
    });
    return 0;
}
