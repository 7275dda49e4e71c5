#include "sample/PitchEstimator.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

namespace {

constexpr std::uint32_t kRate = 44100;
constexpr std::uint32_t kMarkStart = 1000;
constexpr std::uint32_t kMarkLength = kRate; // one second: the coarse search reaches the longest lag

// A bright tone of the first dozen harmonics, or noise when hz is 0.
std::vector<std::int16_t> Audio(double hz, std::uint32_t frames) {
    std::vector<std::int16_t> out(frames);
    std::mt19937 random(3);
    std::uniform_int_distribution<int> noise(-8000, 8000);
    for (std::uint32_t n = 0; n < frames; ++n) {
        double v = 0;
        for (int h = 1; hz > 0 && h <= 12 && h * hz < kRate / 2.0; ++h)
            v += std::sin(2 * std::numbers::pi * h * hz * n / kRate) / h;
        out[n] = static_cast<std::int16_t>(hz > 0 ? 9000 * v : noise(random));
    }
    return out;
}

void BM_EstimatePitch(benchmark::State& state) {
    const double hz = static_cast<double>(state.range(0));
    const std::uint32_t frames = kMarkStart + kMarkLength;
    const std::vector<std::int16_t> audio = Audio(hz, frames);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            EstimatePitchDetailed(audio.data(), frames, false, kRate, kMarkStart, kMarkLength));
}
// 30 Hz is the slowest tone (the scan runs to its long period); 0 is noise, where nothing stops the scan.
BENCHMARK(BM_EstimatePitch)->Arg(30)->Arg(220)->Arg(3000)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace
