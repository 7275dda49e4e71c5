#include "sample/SampleDoc.h"
#include "testing/RecordingSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {
using Kind = RecordingSurface::Kind;
using Primitive = RecordingSurface::Primitive;

constexpr int kHeight = 1024;

// A sample whose frames are given by `value(frame, channel)`.
template <class F>
void Fill(CSampleDoc& doc, std::uint32_t frames, bool stereo, std::uint32_t rate, F value) {
    const int channels = stereo ? 2 : 1;
    auto data = std::make_unique<std::int16_t[]>(std::size_t{frames} * channels);
    for (std::uint32_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            data[std::size_t{i} * channels + c] = static_cast<std::int16_t>(value(i, c));
    doc.m_bStereo = stereo;
    doc.SetData(std::move(data), frames, rate);
    doc.m_nLength = frames;
}

std::vector<Primitive> Drawn(const RecordingSurface& surface, Kind kind, const Pen& pen) {
    std::vector<Primitive> found;
    for (const Primitive& p : surface.OfKind(kind))
        if (p.pen == pen)
            found.push_back(p);
    return found;
}

// Vertical lines across the whole area, drawn with `pen`: their columns.
std::vector<int> VerticalsOf(const RecordingSurface& surface, const Pen& pen) {
    std::vector<int> xs;
    for (const Primitive& p : Drawn(surface, Kind::Line, pen))
        if (p.points[0].x == p.points[1].x && p.points[0].y == 0 && p.points[1].y == kHeight)
            xs.push_back(p.points[0].x);
    return xs;
}

int Y(int value, int divisor) {
    return kHeight / 2 + value / divisor;
}

class WaveDrawing : public ::testing::Test {
protected:
    CSampleDoc doc;
    RecordingSurface surface;
    const SampleDrawingTools& tools = doc.DrawingTools();
};
} // namespace

TEST_F(WaveDrawing, SixteenFramesAColumnDrawsAMinMaxStrokePerEightFrames) {
    // Each chunk of 8 frames holds -k and +k, k being the chunk's number.
    Fill(doc, 3200, false, 44100,
         [](std::uint32_t i, int) { return (i % 8 == 3 ? -1 : 1) * int(i / 8) * 64; });
    doc.DrawWave(surface, 200, kHeight, 16, 64, false);

    EXPECT_TRUE(Drawn(surface, Kind::Polyline, tools.wavePen).empty());
    std::vector<Primitive> strokes = Drawn(surface, Kind::Line, tools.wavePen);
    ASSERT_EQ(strokes.size(), 400u) << "two strokes a column";
    for (std::size_t k = 0; k < strokes.size(); ++k) {
        const auto& p = strokes[k].points;
        EXPECT_EQ(p[0].x, int((k * 8 + 8) / 16));
        EXPECT_EQ(p[1].x, p[0].x);
        EXPECT_EQ(p[0].y, Y(-int(k) * 64, 64)) << "chunk " << k;
        EXPECT_EQ(p[1].y, Y(int(k) * 64, 64)) << "chunk " << k;
    }
}

TEST_F(WaveDrawing, EightFramesAColumnDrawsAPolylineThroughEveryFrame) {
    Fill(doc, 3200, false, 44100, [](std::uint32_t i, int) { return int(i % 100) * 300 - 15000; });
    doc.SetSelection(100, 1600);
    doc.DrawWave(surface, 200, kHeight, 8, 32, false);

    EXPECT_TRUE(Drawn(surface, Kind::Line, tools.wavePen).empty());
    std::vector<Primitive> lines = Drawn(surface, Kind::Polyline, tools.wavePen);
    ASSERT_EQ(lines.size(), 1u);
    const auto& points = lines[0].points;
    ASSERT_EQ(points.size(), 1601u) << "the start, then every frame of 200 columns";
    EXPECT_EQ(points[0], (SurfacePoint{0, Y(-15000, 32)}));
    for (std::uint32_t i = 100; i < 1700; ++i)
        ASSERT_EQ(points[i - 99], (SurfacePoint{int(i - 100) / 8, Y(int(i % 100) * 300 - 15000, 32)}));
}

TEST_F(WaveDrawing, TheWalkStopsAtTheEndOfTheAudioOrOfTheArea) {
    Fill(doc, 1000, false, 44100, [](std::uint32_t, int) { return 0; });
    doc.DrawWave(surface, 100, kHeight, 4, 64, false);
    EXPECT_EQ(Drawn(surface, Kind::Polyline, tools.wavePen)[0].points.size(), 401u);
    surface.Clear();
    doc.SetSelection(900, 100);
    doc.DrawWave(surface, 100, kHeight, 4, 64, false);
    EXPECT_EQ(Drawn(surface, Kind::Polyline, tools.wavePen)[0].points.size(), 101u);
}

TEST_F(WaveDrawing, MarkersStandAtTheirColumnsWhenNotBeforeTheSpan) {
    Fill(doc, 4000, false, 44100, [](std::uint32_t, int) { return 0; });
    doc.m_nStart = 100;
    doc.m_nLength = 3000;
    doc.m_nLoopStart = 1000;
    doc.m_nLoopLength = 1500;
    doc.SetSelection(500, 2000);
    doc.DrawWave(surface, 500, kHeight, 4, 64, false);
    EXPECT_TRUE(VerticalsOf(surface, tools.startPen).empty()) << "the start lies before the span";
    EXPECT_EQ(VerticalsOf(surface, tools.stopPen), std::vector<int>{(3100 - 500) / 4});
    EXPECT_EQ(VerticalsOf(surface, tools.loopStartPen), std::vector<int>{(1000 - 500) / 4});
    EXPECT_EQ(VerticalsOf(surface, tools.loopEndPen), std::vector<int>{(2500 - 500) / 4});
    auto centre = Drawn(surface, Kind::Line, tools.axisPen);
    ASSERT_FALSE(centre.empty());
    EXPECT_EQ(centre[0].points, (std::vector<SurfacePoint>{{0, 512}, {500, 512}}));
}

TEST_F(WaveDrawing, AnEmptyDocumentShowsTheCentreLineMarkersAndGridOnly) {
    doc.ClearData();
    doc.m_nRate = 44100;
    doc.m_dPitch = 0;
    doc.DrawWave(surface, 800, kHeight, 1, 64, true);
    EXPECT_EQ(doc.m_dPitch, 440.0) << "the grid turns a pitch of 0 into 440 Hz";
    EXPECT_TRUE(surface.OfKind(Kind::Polyline).empty());
    EXPECT_TRUE(surface.OfKind(Kind::Text).empty());
    EXPECT_FALSE(VerticalsOf(surface, tools.gridPen).empty());
    EXPECT_EQ(VerticalsOf(surface, tools.startPen), std::vector<int>{0});
    for (const Primitive& p : surface.Primitives())
        EXPECT_EQ(p.kind, Kind::Line);
}

TEST_F(WaveDrawing, ThePitchGridFollowsThePeriodUpToEightFramesAColumn) {
    Fill(doc, 100000, false, 44100, [](std::uint32_t, int) { return 0; });
    doc.m_dPitch = 440.0; // a period of 100.227 frames
    doc.DrawWave(surface, 600, kHeight, 1, 64, true);
    std::vector<int> grid = VerticalsOf(surface, tools.gridPen);
    ASSERT_EQ(grid.size(), 5u);
    EXPECT_EQ(grid, (std::vector<int>{100, 200, 300, 400, 501}));

    for (int S : {2, 4, 8}) {
        surface.Clear();
        doc.DrawWave(surface, 600, kHeight, S, 64, true);
        EXPECT_EQ(VerticalsOf(surface, tools.gridPen).size(), std::size_t(600 * S / 100.227)) << S;
    }
    surface.Clear();
    doc.DrawWave(surface, 600, kHeight, 16, 64, true);
    EXPECT_TRUE(VerticalsOf(surface, tools.gridPen).empty());
}

TEST_F(WaveDrawing, TheGridIsAlignedToMultiplesOfThePeriodFromTheSampleStart) {
    Fill(doc, 100000, false, 44100, [](std::uint32_t, int) { return 0; });
    doc.m_dPitch = 441.0; // exactly 100 frames
    doc.SetSelection(250, 1000);
    doc.DrawWave(surface, 1000, kHeight, 1, 64, true);
    EXPECT_EQ(VerticalsOf(surface, tools.gridPen),
              (std::vector<int>{50, 150, 250, 350, 450, 550, 650, 750, 850, 950}));
}

TEST_F(WaveDrawing, StereoIsLabelledAndDrawsTheSecondChannelGreyFirst) {
    Fill(doc, 1000, true, 44100, [](std::uint32_t, int c) { return c == 0 ? 6400 : -6400; });
    surface.SetMapping({{0, 0}, {800, 1024}, {0, 0}, {400, 512}});
    doc.DrawWave(surface, 800, kHeight, 1, 64, false);
    auto texts = surface.OfKind(Kind::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "44100 Hz stereo");
    EXPECT_EQ(texts[0].points[0], (SurfacePoint{40, 20})) << "window pixel (20, 10)";
    EXPECT_EQ(texts[0].font, tools.labelFont);

    auto polylines = surface.OfKind(Kind::Polyline);
    ASSERT_EQ(polylines.size(), 2u);
    EXPECT_EQ(polylines[0].pen, tools.axisPen);
    EXPECT_EQ(polylines[0].points[1].y, Y(-6400, 64));
    EXPECT_EQ(polylines[1].pen, tools.wavePen);
    EXPECT_EQ(polylines[1].points[1].y, Y(6400, 64));
}

TEST_F(WaveDrawing, AMonoSampleIsLabelledMono) {
    Fill(doc, 10, false, 22050, [](std::uint32_t, int) { return 0; });
    doc.DrawWave(surface, 10, kHeight, 1, 64, false);
    ASSERT_EQ(surface.OfKind(Kind::Text).size(), 1u);
    EXPECT_EQ(surface.OfKind(Kind::Text)[0].text, "22050 Hz mono");
}

TEST_F(WaveDrawing, EveryDrawingPutsBackThePenAndFontItFound) {
    Fill(doc, 5000, true, 44100, [](std::uint32_t i, int) { return int(i); });
    doc.m_nLoopStart = 100;
    doc.m_nLoopLength = 1000;
    const Pen mine{PenStyle::Dotted, {1, 2, 3}, 3};
    const Font myFont{"Other", 20, 700};
    surface.SelectPen(mine);
    surface.SelectFont(myFont);
    doc.DrawWave(surface, 300, kHeight, 16, 64, true);
    doc.DrawLoopSplice(surface, 300, kHeight, 16, 64);
    doc.DrawOverview(surface, 300, kHeight, 16, 64, false);
    EXPECT_EQ(surface.CurrentPen(), mine);
    EXPECT_EQ(surface.CurrentFont(), myFont);
}

TEST_F(WaveDrawing, TheLoopDisplayJoinsTheLoopEndToTheLoopStartAtTheCentre) {
    Fill(doc, 10000, false, 44100, [](std::uint32_t i, int) { return int(i % 1000); });
    doc.m_nLoopStart = 2000;
    doc.m_nLoopLength = 3000;
    doc.DrawLoopSplice(surface, 400, kHeight, 4, 1);

    auto lines = surface.OfKind(Kind::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].points, (std::vector<SurfacePoint>{{200, 0}, {200, kHeight}})) << "the divider";
    auto traces = surface.OfKind(Kind::Polyline);
    ASSERT_EQ(traces.size(), 2u);
    // Right half: from the loop start, every second frame, for 200 columns.
    const auto& right = traces[0].points;
    EXPECT_EQ(right.front(), (SurfacePoint{200, Y(0, 1)}));
    ASSERT_EQ(right.size(), 1u + 400);
    EXPECT_EQ(right[1], (SurfacePoint{200, Y(0, 1)}));
    EXPECT_EQ(right[2], (SurfacePoint{200, Y(2, 1)}));
    EXPECT_EQ(right.back(), (SurfacePoint{399, Y(798, 1)}));
    // Left half: the 800 frames up to the loop end, that frame included.
    const auto& left = traces[1].points;
    EXPECT_EQ(left.front(), (SurfacePoint{0, Y(200, 1)}));
    EXPECT_EQ(left.back(), (SurfacePoint{200, Y(0, 1)})) << "frame 5000 at the centre line";
    EXPECT_EQ(left.size(), 1u + 401);
}

TEST_F(WaveDrawing, TheLoopDisplayStartsLateWhenTooFewFramesPrecedeTheLoopEnd) {
    Fill(doc, 1000, false, 44100, [](std::uint32_t i, int) { return int(i); });
    doc.m_nLoopStart = 10;
    doc.m_nLoopLength = 50;
    doc.DrawLoopSplice(surface, 200, kHeight, 1, 1);
    auto traces = surface.OfKind(Kind::Polyline);
    ASSERT_EQ(traces.size(), 2u);
    const auto& left = traces[1].points;
    EXPECT_EQ(left.front(), (SurfacePoint{40, Y(0, 1)})) << "60 frames before the loop end for 100 columns";
    EXPECT_EQ(left.back(), (SurfacePoint{100, Y(60, 1)}));
    EXPECT_EQ(left.size(), 62u);
}

TEST_F(WaveDrawing, StereoLoopDisplayDrawsTheSecondChannelRedFirstInEachHalf) {
    Fill(doc, 1000, true, 44100, [](std::uint32_t, int c) { return c; });
    doc.m_nLoopStart = 100;
    doc.m_nLoopLength = 500;
    doc.DrawLoopSplice(surface, 100, kHeight, 2, 1);
    auto traces = surface.OfKind(Kind::Polyline);
    ASSERT_EQ(traces.size(), 4u);
    for (int half = 0; half < 2; ++half) {
        EXPECT_EQ(traces[2 * half].pen, tools.stopPen);
        EXPECT_EQ(traces[2 * half].points[0].y, Y(1, 1));
        EXPECT_EQ(traces[2 * half + 1].pen, tools.wavePen);
        EXPECT_EQ(traces[2 * half + 1].points[0].y, Y(0, 1));
    }
    EXPECT_TRUE(surface.OfKind(Kind::Text).empty());
}

TEST_F(WaveDrawing, TheOverviewShowsTheWholeSampleWithItsMarkers) {
    Fill(doc, 44100, false, 44100, [](std::uint32_t i, int) { return int(i % 640); });
    doc.m_nStart = 640;
    doc.m_nLength = 40000;
    doc.m_nLoopStart = 6400;
    doc.m_nLoopLength = 6400;
    doc.DrawOverview(surface, 689, kHeight, 64, 64, false);
    EXPECT_EQ(VerticalsOf(surface, tools.startPen), std::vector<int>{10});
    EXPECT_EQ(VerticalsOf(surface, tools.stopPen), std::vector<int>{635});
    EXPECT_EQ(VerticalsOf(surface, tools.loopStartPen), std::vector<int>{100});
    EXPECT_EQ(VerticalsOf(surface, tools.loopEndPen), std::vector<int>{200});
    auto traces = surface.OfKind(Kind::Polyline);
    ASSERT_EQ(traces.size(), 1u);
    EXPECT_EQ(traces[0].pen, tools.wavePen);
    ASSERT_EQ(traces[0].points.size(), 1u + (44100 + 31) / 32);
    EXPECT_EQ(traces[0].points[3], (SurfacePoint{1, Y(64, 64)}));
    EXPECT_EQ(traces[0].points.back().x, 44096 / 64);

    surface.Clear();
    doc.DrawOverview(surface, 689, kHeight, 64, 64, true);
    EXPECT_EQ(surface.OfKind(Kind::Polyline)[0].pen, tools.axisPen) << "grey in the loop display";
}

TEST_F(WaveDrawing, SummariesDrawTheSameStrokesAsAPlainScanAtEveryZoom) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> value(-32768, 32767);
    Fill(doc, 150001, true, 44100, [&](std::uint32_t, int) { return value(random); });
    const std::int16_t* data = doc.m_pData.get();
    std::uniform_int_distribution<std::uint32_t> anywhere(0, 150000);
    for (int S = 16; S <= 512; S *= 2) {
        for (int trial = 0; trial < 3; ++trial) {
            doc.SetSelection(trial == 0 ? 0 : anywhere(random), 150001);
            surface.Clear();
            const int width = 1200;
            doc.DrawWave(surface, width, kHeight, S, 4, false);
            // The strokes a scan of every frame gives.
            std::vector<std::vector<SurfacePoint>> expected;
            const std::int64_t P = doc.m_nSelStart, chunk = S / 2;
            const std::int64_t E = std::min<std::int64_t>(150001, P + std::int64_t{width} * S);
            for (int c : {1, 0})
                for (std::int64_t i = P; i < E; i += chunk) {
                    std::int16_t lo = data[i * 2 + c], hi = lo;
                    for (std::int64_t k = i; k < std::min(i + chunk, E); ++k) {
                        lo = std::min(lo, data[k * 2 + c]);
                        hi = std::max(hi, data[k * 2 + c]);
                    }
                    int x = int((i + chunk - P) / S);
                    expected.push_back({{x, Y(lo, 4)}, {x, Y(hi, 4)}});
                }
            std::vector<std::vector<SurfacePoint>> drawn;
            for (const Primitive& p : surface.OfKind(Kind::Line))
                if (p.pen == tools.wavePen || (p.pen == tools.axisPen && p.points[0].x == p.points[1].x))
                    drawn.push_back(p.points);
            ASSERT_EQ(drawn, expected) << S << " frames a column from " << P;
        }
    }
}

TEST_F(WaveDrawing, NewAudioIsDrawnAfterTheViewsAreToldOfIt) {
    Fill(doc, 8192, false, 44100, [](std::uint32_t, int) { return 100; });
    doc.DrawWave(surface, 256, kHeight, 32, 1, false);
    EXPECT_EQ(Drawn(surface, Kind::Line, tools.wavePen)[5].points[1].y, Y(100, 1));

    // An operation that rewrites the audio in place and redraws.
    std::fill_n(doc.m_pData.get(), 8192, std::int16_t{-300});
    doc.UpdateAllViews(nullptr, 0);
    surface.Clear();
    doc.DrawWave(surface, 256, kHeight, 32, 1, false);
    EXPECT_EQ(Drawn(surface, Kind::Line, tools.wavePen)[5].points[1].y, Y(-300, 1));

    // New audio handed over.
    Fill(doc, 8192, false, 44100, [](std::uint32_t, int) { return 7; });
    surface.Clear();
    doc.DrawWave(surface, 256, kHeight, 32, 1, false);
    EXPECT_EQ(Drawn(surface, Kind::Line, tools.wavePen)[5].points[1].y, Y(7, 1));
}
