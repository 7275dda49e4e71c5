// Undo and redo of normalize and of a resample over ten minutes of stereo audio at 44100 Hz,
// against the operations themselves (which now keep what undo needs).
#include "platform/ScriptedUi.h"
#include "sample/Resample.h"
#include "sample/SampleDoc.h"

#include <benchmark/benchmark.h>

namespace {
constexpr std::uint32_t kFrames = 10 * 60 * 44100;
constexpr std::size_t kSamples = 2 * std::size_t{kFrames};

// A stereo document of noise, its history holding at most one step so that memory stays bounded.
struct LongStereo {
    ScriptedUi ui;
    ScopedUi scope{ui};
    CSampleDoc doc;
    LongStereo() {
        auto buffer = std::make_unique<std::int16_t[]>(kSamples);
        std::uint32_t state = 12345;
        for (std::size_t i = 0; i < kSamples; ++i) {
            state = state * 1664525u + 1013904223u;
            buffer[i] = static_cast<std::int16_t>(static_cast<std::int32_t>(state >> 16) / 3);
        }
        doc.SetData(std::move(buffer), kFrames, 44100);
        doc.m_bStereo = true;
        doc.SetLoopRange(kFrames / 2, kFrames / 4);
        doc.History().SetBudget(0);
    }
};

ResampleValues To48k(ResampleMethod method) {
    ResampleValues values;
    values.rate = 48000;
    values.method = method;
    return values;
}

void BM_Normalize(benchmark::State& state) {
    LongStereo sample;
    for (auto _ : state)
        sample.doc.OnNormalize();
}
BENCHMARK(BM_Normalize)->Unit(benchmark::kMillisecond);

void BM_UndoNormalize(benchmark::State& state) {
    LongStereo sample;
    sample.doc.OnNormalize();
    for (auto _ : state) {
        sample.doc.Undo();
        state.PauseTiming();
        sample.doc.Redo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoNormalize)->Unit(benchmark::kMillisecond);

void BM_RedoNormalize(benchmark::State& state) {
    LongStereo sample;
    sample.doc.OnNormalize();
    for (auto _ : state) {
        state.PauseTiming();
        sample.doc.Undo();
        state.ResumeTiming();
        sample.doc.Redo();
    }
}
BENCHMARK(BM_RedoNormalize)->Unit(benchmark::kMillisecond);

void BM_Resample(benchmark::State& state) {
    BuildSincTable();
    LongStereo sample;
    const auto method = static_cast<ResampleMethod>(state.range(0));
    for (auto _ : state) {
        sample.doc.Resample(To48k(method));
        state.PauseTiming();
        sample.doc.Undo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Resample)
    ->Arg(static_cast<int>(ResampleMethod::Linear))
    ->Arg(static_cast<int>(ResampleMethod::Bandlimited))
    ->Unit(benchmark::kMillisecond);

void BM_UndoRedoResample(benchmark::State& state) {
    BuildSincTable();
    LongStereo sample;
    sample.doc.Resample(To48k(static_cast<ResampleMethod>(state.range(0))));
    for (auto _ : state) {
        sample.doc.Undo();
        sample.doc.Redo();
    }
}
BENCHMARK(BM_UndoRedoResample)
    ->Arg(static_cast<int>(ResampleMethod::Linear))
    ->Arg(static_cast<int>(ResampleMethod::Bandlimited))
    ->Unit(benchmark::kMillisecond);
} // namespace
