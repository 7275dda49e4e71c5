#include "platform/ScriptedUi.h"
#include "sample/Resample.h"
#include "sample/SampleDoc.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {
// Ten minutes of stereo audio at 44100 Hz, resampled to 48000 Hz.
constexpr std::uint32_t kFrames = 10 * 60 * 44100;
constexpr std::uint32_t kRate = 48000;

const std::vector<std::int16_t>& TenMinutes() {
    static const std::vector<std::int16_t> audio = [] {
        std::vector<std::int16_t> samples(2 * std::size_t{kFrames});
        for (std::size_t i = 0; i < kFrames; ++i) {
            double t = static_cast<double>(i) / 44100;
            samples[2 * i] =
                static_cast<std::int16_t>(12000 * std::sin(2 * M_PI * 440 * t) + (i * 7919 % 2001) - 1000);
            samples[2 * i + 1] = static_cast<std::int16_t>(9000 * std::sin(2 * M_PI * 660 * t));
        }
        return samples;
    }();
    return audio;
}

using Kernel = void (*)(ResampleParams&, const ResampleProgress&);

// The kernel alone, into a float buffer allocated once, to `rate` (by default 48000 Hz).
void KernelOnly(benchmark::State& state, Kernel kernel, std::uint32_t rate = kRate) {
    BuildSincTable();
    const std::vector<std::int16_t>& source = TenMinutes();
    const double step = 44100.0 / rate;
    auto frames = static_cast<std::uint32_t>(kFrames / step);
    std::vector<float> out(2 * std::size_t{frames});
    for (auto _ : state) {
        ResampleParams params{source.data(), kFrames, 2, out.data(), frames, 2, 0.0, step};
        kernel(params, nullptr);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t{frames});
}

// The whole command: both buffers, the kernel, the scaling to 16 bits and the points.
void WholeOperation(benchmark::State& state, ResampleMethod method) {
    BuildSincTable();
    ScriptedUi ui;
    ScopedUi scope(ui);
    const std::vector<std::int16_t>& source = TenMinutes();
    CSampleDoc doc;
    for (auto _ : state) {
        state.PauseTiming();
        auto audio = std::make_unique<std::int16_t[]>(source.size());
        std::memcpy(audio.get(), source.data(), source.size() * sizeof(std::int16_t));
        doc.ClearData();
        doc.SetData(std::move(audio), kFrames, 44100);
        doc.m_bStereo = true;
        doc.m_dPitch = 440;
        doc.SetLoopRange(44100, 88200);
        state.ResumeTiming();
        if (!doc.Resample({ResampleMode::Rate, kRate, "", method}))
            state.SkipWithError("resample refused");
        benchmark::DoNotOptimize(doc.m_pData.get());
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t{kFrames});
}

BENCHMARK_CAPTURE(KernelOnly, Linear, ResampleLinear)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KernelOnly, DropHold, ResampleDropHold)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KernelOnly, Bandlimited, ResampleBandlimited)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KernelOnly, BandlimitedPortable, ResampleBandlimitedPortable)
    ->Unit(benchmark::kMillisecond);
// Downsampling: windows of nine and of seventeen frames, whose lanes start further apart.
BENCHMARK_CAPTURE(KernelOnly, BandlimitedTo40000, ResampleBandlimited, 40000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KernelOnly, BandlimitedTo20000, ResampleBandlimited, 20000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeOperation, Linear, ResampleMethod::Linear)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeOperation, DropHold, ResampleMethod::DropHold)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeOperation, Bandlimited, ResampleMethod::Bandlimited)->Unit(benchmark::kMillisecond);

// The defining extended-precision loop that the linear kernel matches, for comparison.
void ExtendedLinear(benchmark::State& state) {
    const std::vector<std::int16_t>& source = TenMinutes();
    const double step = 44100.0 / kRate;
    auto frames = static_cast<std::uint32_t>(kFrames / step);
    std::vector<float> out(2 * std::size_t{frames});
    for (auto _ : state) {
        ResampleParams params{source.data(), kFrames, 2, out.data(), frames, 2, 0.0, step};
        ResampleLinearExtended(params);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t{frames});
}
BENCHMARK(ExtendedLinear)->Unit(benchmark::kMillisecond);
} // namespace
