// Level operations and the loop crossfade over ten minutes of stereo audio at 44100 Hz, with a
// plain copy of the same buffer for comparison.
#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {
constexpr std::uint32_t kFrames = 10 * 60 * 44100;
constexpr std::size_t kSamples = 2 * std::size_t{kFrames};

std::unique_ptr<std::int16_t[]> NoisyAudio() {
    auto buffer = std::make_unique<std::int16_t[]>(kSamples);
    std::uint32_t state = 12345;
    for (std::size_t i = 0; i < kSamples; ++i) {
        state = state * 1664525u + 1013904223u;
        buffer[i] = static_cast<std::int16_t>(static_cast<std::int32_t>(state >> 16) / 3);
    }
    return buffer;
}

// A stereo document over the whole buffer, with a loop in the middle.
struct LongStereo {
    ScriptedUi ui;
    ScopedUi scope{ui};
    CSampleDoc doc;
    LongStereo() {
        doc.SetData(NoisyAudio(), kFrames, 44100);
        doc.m_bStereo = true;
        doc.SetLoopRange(kFrames / 2, kFrames / 4);
        // Each operation keeps the audio it rewrote for undo; one such step at a time is kept.
        doc.History().SetBudget(0);
    }
};

void Report(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * std::int64_t{kSamples} * 2);
}

void BM_Memcpy(benchmark::State& state) {
    std::unique_ptr<std::int16_t[]> from = NoisyAudio();
    auto to = std::make_unique<std::int16_t[]>(kSamples);
    for (auto _ : state) {
        std::memcpy(to.get(), from.get(), kSamples * 2);
        benchmark::ClobberMemory();
    }
    Report(state);
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

void BM_Normalize(benchmark::State& state) {
    LongStereo sample;
    for (auto _ : state)
        sample.doc.OnNormalize();
    Report(state);
}
BENCHMARK(BM_Normalize)->Unit(benchmark::kMillisecond);

void BM_NormalizeIndependently(benchmark::State& state) {
    LongStereo sample;
    for (auto _ : state)
        sample.doc.OnNormalizeIndependently();
    Report(state);
}
BENCHMARK(BM_NormalizeIndependently)->Unit(benchmark::kMillisecond);

void BM_GainRamp(benchmark::State& state) {
    LongStereo sample;
    for (auto _ : state)
        sample.doc.GainAdjust(0, -1, 0, -1, 0, 0);
    Report(state);
}
BENCHMARK(BM_GainRamp)->Unit(benchmark::kMillisecond);

// The largest radius the dialog allows: 10 s on each side of the loop end.
void BM_CrossfadeLoop(benchmark::State& state) {
    LongStereo sample;
    for (auto _ : state)
        if (!sample.doc.CrossfadeLoop(10000, static_cast<std::uint32_t>(state.range(0))))
            state.SkipWithError("refused");
}
BENCHMARK(BM_CrossfadeLoop)->Arg(0)->Arg(100)->Unit(benchmark::kMillisecond);
} // namespace
