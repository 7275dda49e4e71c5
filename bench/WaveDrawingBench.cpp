#include "platform/DrawingSurface.h"
#include "sample/SampleDoc.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <utility>

namespace {
// Counts what would be drawn and draws nothing, so only the drawing operations are timed.
class NullSurface : public DrawingSurface {
public:
    Pen SelectPen(const Pen& pen) override { return std::exchange(m_pen, pen); }
    Brush SelectBrush(const Brush& brush) override { return std::exchange(m_brush, brush); }
    Font SelectFont(const Font& font) override { return std::exchange(m_font, font); }
    SurfaceMapping SetMapping(const SurfaceMapping& mapping) override {
        return std::exchange(m_mapping, mapping);
    }
    SurfaceMapping Mapping() const override { return m_mapping; }
    void Line(SurfacePoint, SurfacePoint) override { ++strokes; }
    void Polyline(const std::vector<SurfacePoint>& points) override { strokes += points.size(); }
    void Rectangle(const SurfaceRect&) override {}
    void Ellipse(const SurfaceRect&) override {}
    void FillRect(const SurfaceRect&, Colour) override {}
    void InvertRect(const SurfaceRect&) override {}
    void Text(SurfacePoint, const std::string&) override {}
    void ClipTo(const SurfaceRect&) override {}

    std::size_t strokes = 0;

private:
    Pen m_pen;
    Brush m_brush;
    Font m_font;
    SurfaceMapping m_mapping;
};

// Stereo audio at 44100 Hz, a tone with some noise in it, the whole sample displayed.
std::unique_ptr<CSampleDoc> StereoSeconds(std::int64_t seconds) {
    const auto frames = static_cast<std::uint32_t>(seconds * 44100);
    auto buffer = std::make_unique<std::int16_t[]>(2 * std::size_t{frames});
    std::uint32_t noise = 1;
    for (std::size_t i = 0; i < frames; ++i) {
        noise = noise * 1664525u + 1013904223u;
        auto tone = static_cast<int>(12000 * std::sin(static_cast<double>(i) * 0.0627));
        buffer[2 * i] = static_cast<std::int16_t>(tone + static_cast<int>(noise >> 22) - 512);
        buffer[2 * i + 1] = static_cast<std::int16_t>(-tone);
    }
    auto doc = std::make_unique<CSampleDoc>();
    doc->m_bStereo = true;
    doc->SetData(std::move(buffer), frames, 44100);
    doc->m_nLength = frames;
    doc->SetLoopRange(frames / 4, frames / 2);
    return doc;
}

// The scale the waveform view takes for a span: at most 1200 columns.
int FramesPerColumn(std::uint32_t frames) {
    int s = 1;
    while (frames / static_cast<std::uint32_t>(s) > 1200)
        s *= 2;
    return s;
}

// A paint of the whole sample, its summaries made once beforehand (as after opening it).
void BM_PaintFullSpan(benchmark::State& state) {
    auto doc = StereoSeconds(state.range(0));
    const int s = FramesPerColumn(doc->m_nFrames);
    const int width = static_cast<int>(doc->m_nFrames / static_cast<std::uint32_t>(s));
    NullSurface surface;
    doc->DrawWave(surface, width, 1024, s, 64, false);
    for (auto _ : state) {
        doc->DrawWave(surface, width, 1024, s, 64, false);
        doc->DrawOverview(surface, width, 1024, s, 64, false);
    }
    state.counters["strokes"] =
        static_cast<double>(surface.strokes) / static_cast<double>(state.iterations() + 1);
}
BENCHMARK(BM_PaintFullSpan)->Arg(10)->Arg(600)->Arg(3600)->Unit(benchmark::kMicrosecond);

// The first paint after the audio changed: the summaries are made again.
void BM_PaintAfterAudioChange(benchmark::State& state) {
    auto doc = StereoSeconds(state.range(0));
    const int s = FramesPerColumn(doc->m_nFrames);
    const int width = static_cast<int>(doc->m_nFrames / static_cast<std::uint32_t>(s));
    NullSurface surface;
    for (auto _ : state) {
        doc->UpdateAllViews(nullptr, 0);
        doc->DrawWave(surface, width, 1024, s, 64, false);
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{doc->m_nFrames} * 4);
}
BENCHMARK(BM_PaintAfterAudioChange)->Arg(10)->Arg(600)->Arg(3600)->Unit(benchmark::kMillisecond);
} // namespace
