#include "sample/SampleDoc.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {
// Columns far beyond the area are still drawn, just where nobody sees them.
std::int32_t Column(std::int64_t x) {
    constexpr std::int64_t kFar = std::int64_t{1} << 30;
    return static_cast<std::int32_t>(std::clamp(x, -kFar, kFar));
}

// Puts back the pen and font a drawing found.
class SavedTools {
public:
    explicit SavedTools(DrawingSurface& surface)
        : m_surface(surface), m_pen(surface.SelectPen(Pen{})), m_font(surface.SelectFont(Font{})) {}
    ~SavedTools() {
        m_surface.SelectPen(m_pen);
        m_surface.SelectFont(m_font);
    }
    SavedTools(const SavedTools&) = delete;
    SavedTools& operator=(const SavedTools&) = delete;

private:
    DrawingSurface& m_surface;
    Pen m_pen;
    Font m_font;
};

// Positive values lie below the centre line; the division truncates toward zero.
struct Vertical {
    int height;
    int divisor;
    std::int32_t operator()(std::int16_t v) const { return height / 2 + v / divisor; }
};
} // namespace

void CSampleDoc::OnUpdatingViews(long hint) {
    if (hint != kPitchChangedHint && hint != kDisplayHint)
        m_summary.Clear();
}

const CWaveSummary& CSampleDoc::Summary() const {
    if (!m_summary.IsBuiltFor(m_pData.get(), m_nFrames, Channels()))
        m_summary.Build(m_pData.get(), m_nFrames, Channels());
    return m_summary;
}

CWaveSummary::Extremes CSampleDoc::ChannelExtremes(int channel, std::uint32_t first,
                                                   std::uint32_t end) const {
    return Summary().Range(channel, first, end);
}

void CSampleDoc::DrawWave(DrawingSurface& surface, int width, int height, int samplesPerPixel, int ampDivisor,
                          bool pitchGrid) {
    const std::int64_t S = std::max(samplesPerPixel, 1);
    const Vertical y{height, std::max(ampDivisor, 1)};
    const std::int64_t P = m_nSelStart;
    SavedTools saved(surface);
    surface.SelectFont(m_tools.labelFont);
    surface.SelectPen(m_tools.axisPen);
    surface.Line({0, height / 2}, {width, height / 2});

    auto marker = [&](const Pen& pen, std::int64_t frame) {
        if (frame < P)
            return;
        surface.SelectPen(pen);
        std::int32_t x = Column((frame - P) / S);
        surface.Line({x, 0}, {x, height});
    };
    if (m_nLoopLength != 0) {
        marker(m_tools.loopStartPen, m_nLoopStart);
        marker(m_tools.loopEndPen, std::int64_t{m_nLoopStart} + m_nLoopLength);
    }
    marker(m_tools.startPen, m_nStart);
    marker(m_tools.stopPen, std::int64_t{m_nStart} + m_nLength);

    if (pitchGrid) {
        if (!(m_dPitch > 0))
            m_dPitch = 440.0;
        const auto period = static_cast<float>(m_nRate / m_dPitch);
        if (std::isfinite(period) && static_cast<float>(S * 8) < period) {
            surface.SelectPen(m_tools.gridPen);
            const auto start = static_cast<float>(P);
            const auto k = static_cast<std::int64_t>(start / period) + 1;
            float u = (static_cast<float>(k) * period - start) / static_cast<float>(S);
            const float step = period / static_cast<float>(S);
            while (u < static_cast<float>(width)) {
                auto x = static_cast<std::int32_t>(u);
                surface.Line({x, 0}, {x, height});
                u += step;
            }
        }
    }

    const std::int64_t N = m_pData ? m_nFrames : 0;
    if (N == 0)
        return;
    const std::int64_t chunk = S < 3 ? 1 : S / 2;
    const std::int64_t E = std::min<std::int64_t>(N, P + std::int64_t{std::max(width, 0)} * S);
    const int channels = Channels();
    const std::int16_t* data = m_pData.get();
    auto sample = [&](std::int64_t frame, int channel) { return data[frame * channels + channel]; };
    // A device column for each stroke's logical column, so that neighbouring strokes touch when
    // the window is wider than the logical area.
    const SurfaceMapping& mapping = surface.Mapping();
    const int columnPixels = mapping.windowExt.x == 0
                                 ? 1
                                 : static_cast<int>((std::abs(std::int64_t{mapping.viewportExt.x}) +
                                                     std::abs(mapping.windowExt.x) - 1) /
                                                    std::abs(mapping.windowExt.x));
    for (int channel = channels - 1; P < N && channel >= 0; --channel) {
        Pen pen = channel == 0 ? m_tools.wavePen : m_tools.axisPen;
        surface.SelectPen(pen);
        if (chunk < 8) {
            std::vector<SurfacePoint> points;
            points.reserve(static_cast<std::size_t>(std::max<std::int64_t>(E - P, 0)) + 1);
            points.push_back({0, y(sample(P, channel))});
            for (std::int64_t i = P; i < E; ++i)
                points.push_back({static_cast<std::int32_t>((i - P) / S), y(sample(i, channel))});
            surface.Polyline(points);
            continue;
        }
        pen.width = std::max(pen.width, columnPixels);
        surface.SelectPen(pen);
        const CWaveSummary& summary = Summary();
        for (std::int64_t i = P; i < E; i += chunk) {
            CWaveSummary::Extremes e = summary.Range(channel, static_cast<std::uint32_t>(i),
                                                     static_cast<std::uint32_t>(std::min(i + chunk, E)));
            auto x = static_cast<std::int32_t>((i + chunk - P) / S);
            surface.Line({x, y(e.min)}, {x, y(e.max)});
        }
    }

    char label[48];
    std::snprintf(label, sizeof label, "%ld Hz %s", static_cast<long>(m_nRate),
                  m_bStereo ? "stereo" : "mono");
    surface.Text(DeviceToLogical(surface.Mapping(), {20, 10}), label);
}

void CSampleDoc::DrawLoopSplice(DrawingSurface& surface, int width, int height, int samplesPerPixel,
                                int ampDivisor) const {
    const std::int64_t S = std::max(samplesPerPixel, 1);
    const Vertical y{height, std::max(ampDivisor, 1)};
    SavedTools saved(surface);
    surface.SelectPen(m_tools.axisPen);
    surface.Line({0, height / 2}, {width, height / 2});
    surface.Line({width / 2, 0}, {width / 2, height});

    const std::int64_t N = m_pData ? m_nFrames : 0;
    if (N == 0)
        return;
    const std::int64_t step = S < 3 ? 1 : S / 2;
    const std::int64_t half = S * (width / 2);
    const std::int64_t A = m_nLoopStart;
    const std::int64_t loopEnd = A + m_nLoopLength;
    const int channels = Channels();
    const std::int16_t* data = m_pData.get();

    // Each half draws the second channel of a stereo sample first, the first channel over it.
    auto trace = [&](std::int64_t from, std::int64_t last, std::int32_t x0) {
        if (from > last)
            return;
        for (int channel = channels - 1; channel >= 0; --channel) {
            surface.SelectPen(channel == 0 ? m_tools.wavePen : m_tools.stopPen);
            std::vector<SurfacePoint> points;
            points.reserve(static_cast<std::size_t>((last - from) / step) + 2);
            points.push_back({x0, y(data[from * channels + channel])});
            for (std::int64_t i = from; i <= last; i += step)
                points.push_back({Column(x0 + (i - from) / S), y(data[i * channels + channel])});
            surface.Polyline(points);
        }
    };
    // Right half: from the loop start on.
    trace(A, std::min(A + half, N) - 1, width / 2);
    // Left half: up to the loop end, starting further right when the sample begins too late.
    std::int64_t h = loopEnd - half;
    std::int32_t x0 = 0;
    if (h < 0) {
        std::int64_t columns = (-h + S - 1) / S;
        x0 = Column(columns);
        h += columns * S;
    }
    trace(h, std::min(loopEnd, N - 1), x0);
}

void CSampleDoc::DrawOverview(DrawingSurface& surface, int width, int height, int samplesPerPixel,
                              int ampDivisor, bool loopDisplay) const {
    const std::int64_t S = std::max(samplesPerPixel, 1);
    const Vertical y{height, std::max(ampDivisor, 1)};
    SavedTools saved(surface);
    surface.SelectPen(m_tools.axisPen);
    surface.Line({0, height / 2}, {width, height / 2});

    auto marker = [&](const Pen& pen, std::int64_t frame) {
        surface.SelectPen(pen);
        std::int32_t x = Column(frame / S);
        surface.Line({x, 0}, {x, height});
    };
    if (m_nLoopLength != 0) {
        marker(m_tools.loopStartPen, m_nLoopStart);
        marker(m_tools.loopEndPen, std::int64_t{m_nLoopStart} + m_nLoopLength);
    }
    marker(m_tools.startPen, m_nStart);
    marker(m_tools.stopPen, std::int64_t{m_nStart} + m_nLength);

    const std::int64_t N = m_pData ? m_nFrames : 0;
    if (N == 0)
        return;
    const std::int64_t step = S < 3 ? 1 : S / 2;
    const int channels = Channels();
    surface.SelectPen(loopDisplay ? m_tools.axisPen : m_tools.wavePen);
    std::vector<SurfacePoint> points;
    points.reserve(static_cast<std::size_t>(N / step) + 2);
    points.push_back({0, y(m_pData[0])});
    for (std::int64_t i = 0; i < N; i += step)
        points.push_back({Column(i / S), y(m_pData[i * channels])});
    surface.Polyline(points);
}
