#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace {
// Five minutes of stereo audio at 44100 Hz: about 53 MB.
constexpr std::uint32_t kFrames = 5 * 60 * 44100;

std::string BenchPath(const char* name) {
    return (std::filesystem::temp_directory_path() /
            (std::string("wloe-bench-") + std::to_string(::getpid()) + name))
        .string();
}

void MakeLongStereo(CSampleDoc& doc) {
    auto buffer = std::make_unique<std::int16_t[]>(2 * std::size_t{kFrames});
    for (std::size_t i = 0; i < 2 * std::size_t{kFrames}; ++i)
        buffer[i] = static_cast<std::int16_t>(i * 7919);
    doc.SetData(std::move(buffer), kFrames, 44100);
    doc.m_bStereo = true;
    doc.SetLoopRange(44100, 88200);
}

void BM_WriteLongStereoWav(benchmark::State& state) {
    ScriptedUi ui;
    ScopedUi scope(ui);
    CSampleDoc doc;
    MakeLongStereo(doc);
    std::string path = BenchPath("write.wav");
    for (auto _ : state)
        if (!doc.WriteWav(path))
            state.SkipWithError("write failed");
    std::filesystem::remove(path);
    state.SetBytesProcessed(state.iterations() * std::int64_t{kFrames} * 4);
}
BENCHMARK(BM_WriteLongStereoWav)->Unit(benchmark::kMillisecond);

void BM_ReadLongStereoWav(benchmark::State& state) {
    ScriptedUi ui;
    ScopedUi scope(ui);
    std::string path = BenchPath("read.wav");
    {
        CSampleDoc doc;
        MakeLongStereo(doc);
        doc.WriteWav(path);
    }
    for (auto _ : state) {
        CSampleDoc doc;
        if (!doc.ReadWav(path) || doc.m_nFrames != kFrames)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(doc.m_pData.get());
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(state.iterations() * std::int64_t{kFrames} * 4);
}
BENCHMARK(BM_ReadLongStereoWav)->Unit(benchmark::kMillisecond);
} // namespace
