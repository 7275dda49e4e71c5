// The patch audition: twelve looped voices prepared for a key and mixed into the buffer, and the
// re-render of a key whose voices are kept.
#include "layer/LayerDoc.h"
#include "layer/PatchAudition.h"
#include "patch/Patch.h"
#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>

namespace {
// A library of one layer mapping every key to a looped two-second stereo 48 kHz tone at A 4, and
// a patch of twelve layers over it, each with an envelope and a velocity crossfade.
struct AuditionFixture {
    ScriptedUi ui;
    ScopedUi scope{ui};
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "wloe-audition-bench";
    CLayerDoc layers;
    CPatch patch;

    AuditionFixture() {
        std::filesystem::create_directories(dir);
        constexpr std::uint32_t kFrames = 96000;
        auto data = std::make_unique<std::int16_t[]>(2 * kFrames);
        for (std::uint32_t i = 0; i < 2 * kFrames; ++i)
            data[i] = static_cast<std::int16_t>(8000 * std::sin(i / 2 * 2 * 3.14159265 * 440 / 48000));
        CSampleDoc tone;
        tone.m_bStereo = true;
        tone.SetData(std::move(data), kFrames, 48000);
        tone.m_dPitch = 440;
        tone.SetLoopRange(48000, 48000);
        std::string path = (dir / "tone.wav").string();
        tone.OnSaveDocument(path);

        auto entry = std::make_unique<CSample>();
        entry->m_strPath = path;
        auto layer = std::make_unique<CLayer>();
        for (std::uint16_t key = 0; key <= kHighestKey; ++key)
            layer->m_keys.Set(key, entry.get());
        layers.AddSample("Tone", std::move(entry));
        layers.SetLayer("Tone", std::move(layer));
        for (int i = 0; i < CPatchAudition::kVoices; ++i) {
            auto params = std::make_unique<CLayerParams>();
            params->m_strLayerName = "Tone";
            params->m_envelope.SetPoints({});
            params->m_envelope.SetPoint(0, 0, -20);
            params->m_envelope.SetPoint(1, 200, 0);
            params->m_envelope.SetPoint(2, 1500, -12);
            params->m_xfade.SetValues(static_cast<std::uint16_t>(10 * i + 5), 20, CXfade::kLinear);
            patch.m_layers.push_back(std::move(params));
        }
    }
    ~AuditionFixture() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
};

// Each iteration a new key: the voices are prepared afresh.
void BM_PatchAuditionNewKey(benchmark::State& state) {
    AuditionFixture fixture;
    CPatchAudition audition;
    int key = 40;
    for (auto _ : state) {
        benchmark::DoNotOptimize(audition.Render(fixture.layers, fixture.patch, key, 100));
        key = key == 80 ? 40 : key + 1;
    }
}
BENCHMARK(BM_PatchAuditionNewKey)->Unit(benchmark::kMillisecond);

// The same key again: only the mix.
void BM_PatchAuditionSameKey(benchmark::State& state) {
    AuditionFixture fixture;
    CPatchAudition audition;
    for (auto _ : state)
        benchmark::DoNotOptimize(audition.Render(fixture.layers, fixture.patch, 60, 100));
}
BENCHMARK(BM_PatchAuditionSameKey)->Unit(benchmark::kMillisecond);
} // namespace
