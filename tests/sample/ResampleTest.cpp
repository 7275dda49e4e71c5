#include "sample/Resample.h"
#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {
class CountingView : public CView {
public:
    void OnUpdate(CView*, long) override { ++updates; }
    int updates = 0;
};

// The six points that resampling scales, in the document's order.
std::vector<std::uint32_t> Points(const CSampleDoc& doc) {
    return {doc.m_nStart,      doc.m_nLength,   doc.m_nLoopStart,
            doc.m_nLoopLength, doc.m_nSelStart, doc.m_nSelLength};
}

ResampleValues ToRate(std::uint32_t rate, ResampleMethod method = ResampleMethod::Linear) {
    return {ResampleMode::Rate, rate, "", method};
}

ResampleValues ToPitch(const std::string& text, ResampleMethod method = ResampleMethod::Linear) {
    return {ResampleMode::Pitch, 44100, text, method};
}

// The frequency of a tone from its rising zero crossings, interpolated between frames.
double MeasuredFrequency(const std::int16_t* audio, std::uint32_t frames, int channels, std::uint32_t rate) {
    double first = -1, last = -1;
    int crossings = 0;
    for (std::uint32_t i = 1; i < frames; ++i) {
        double a = audio[(i - 1) * channels], b = audio[i * channels];
        if (a < 0 && b >= 0) {
            double at = i - 1 + a / (a - b);
            if (first < 0)
                first = at;
            else
                ++crossings;
            last = at;
        }
    }
    return crossings * rate / (last - first);
}

// How far a tone lies from the nearest pure sine of `hz` (least squares over sine, cosine and
// offset), as the residual's RMS over the sine's amplitude.
double DistanceFromSine(const std::int16_t* audio, std::uint32_t frames, int channels, double hz,
                        std::uint32_t rate) {
    double ss = 0, sc = 0, cc = 0, s1 = 0, c1 = 0, n = 0, ys = 0, yc = 0, y1 = 0;
    for (std::uint32_t i = 0; i < frames; ++i) {
        double s = std::sin(2 * M_PI * hz * i / rate), c = std::cos(2 * M_PI * hz * i / rate),
               y = audio[i * channels];
        ss += s * s, sc += s * c, cc += c * c, s1 += s, c1 += c, n += 1, ys += y * s, yc += y * c, y1 += y;
    }
    // Solve the 3×3 normal equations by Cramer's rule.
    auto det = [](double a, double b, double c, double d, double e, double f, double g, double h, double k) {
        return a * (e * k - f * h) - b * (d * k - f * g) + c * (d * h - e * g);
    };
    double d = det(ss, sc, s1, sc, cc, c1, s1, c1, n);
    double a = det(ys, sc, s1, yc, cc, c1, y1, c1, n) / d;
    double b = det(ss, ys, s1, sc, yc, c1, s1, y1, n) / d;
    double o = det(ss, sc, ys, sc, cc, yc, s1, c1, y1) / d;
    double residual = 0;
    for (std::uint32_t i = 0; i < frames; ++i) {
        double fit = a * std::sin(2 * M_PI * hz * i / rate) + b * std::cos(2 * M_PI * hz * i / rate) + o;
        residual += (audio[i * channels] - fit) * (audio[i * channels] - fit);
    }
    return std::sqrt(residual / frames) / std::hypot(a, b);
}

class Resample : public ::testing::Test {
protected:
    static void SetUpTestSuite() { BuildSincTable(); }

    // `frames` of a stereo tone at `hz` (the right channel a quarter period behind), at 44100 Hz.
    void FillTone(double hz, std::uint32_t frames, bool stereo = true, double amplitude = 20000) {
        int channels = stereo ? 2 : 1;
        auto audio = std::make_unique<std::int16_t[]>(std::size_t{frames} * channels);
        for (std::uint32_t i = 0; i < frames; ++i)
            for (int c = 0; c < channels; ++c)
                audio[i * channels + c] =
                    static_cast<std::int16_t>(amplitude * std::sin(2 * M_PI * hz * i / 44100 - c * M_PI / 2));
        doc.ClearData();
        doc.SetData(std::move(audio), frames, 44100);
        doc.m_bStereo = stereo;
        doc.m_dPitch = 440;
        doc.SetModifiedFlag(false);
    }

    ScriptedUi ui;
    ScopedUi scope{ui};
    CSampleDoc doc;
    CountingView view;
};
} // namespace

TEST_F(Resample, ToANewRateScalesFramesAndEveryPoint) {
    FillTone(440, 44100);
    doc.SetLoopRange(1000, 1000);
    doc.SetSampleRange(500, 30000);
    doc.SetSelection(200, 10000);
    doc.SetModifiedFlag(false);
    doc.AddView(&view);
    ASSERT_TRUE(doc.Resample(ToRate(48000)));
    // Step 44100 / 48000 = 0.91875: a loop of 1000 frames becomes trunc(1000 / 0.91875) = 1088.
    EXPECT_EQ(doc.m_nFrames, 48000u);
    EXPECT_EQ(Points(doc), (std::vector<std::uint32_t>{544, 32653, 1088, 1088, 217, 10884}));
    EXPECT_EQ(doc.m_nRate, 48000u);
    EXPECT_EQ(doc.m_dPitch, 440.0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view.updates, 1);
    EXPECT_EQ(ui.BusyDepth(), 0);
    EXPECT_GE(ui.BusyCount(), 1);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(Resample, ToAnOctaveUpHalvesFramesAndPointsAndKeepsTheRate) {
    for (ResampleMethod method :
         {ResampleMethod::Linear, ResampleMethod::Bandlimited, ResampleMethod::DropHold}) {
        FillTone(440, 10001);
        doc.SetLoopRange(3001, 4000);
        doc.SetSampleRange(1001, 8000);
        ASSERT_TRUE(doc.Resample(ToPitch("A 5 +0.00", method)));
        EXPECT_EQ(doc.m_nFrames, 5000u);
        EXPECT_EQ(Points(doc), (std::vector<std::uint32_t>{500, 4000, 1500, 2000, 0, 5000}));
        EXPECT_EQ(doc.m_nRate, 44100u);
        EXPECT_EQ(doc.m_dPitch, 880.0);
    }
}

TEST_F(Resample, HalvingTheRateWithDropHoldKeepsEveryOtherFrame) {
    FillTone(440, 101, false);
    std::vector<std::int16_t> before(doc.m_pData.get(), doc.m_pData.get() + 101);
    ASSERT_TRUE(doc.Resample(ToRate(22050, ResampleMethod::DropHold)));
    ASSERT_EQ(doc.m_nFrames, 50u);
    for (std::uint32_t i = 0; i < 50; ++i)
        ASSERT_EQ(doc.m_pData[i], before[2 * i]) << i;
}

TEST_F(Resample, LinearValuesRoundHalfUpFromTheInterpolation) {
    // Twice the rate: 0, 50.5, 101, 49, -3, then the last sample held; halves round up.
    auto audio = std::make_unique<std::int16_t[]>(3);
    audio[0] = 0, audio[1] = 101, audio[2] = -3;
    doc.SetData(std::move(audio), 3, 22050);
    doc.m_dPitch = 440;
    ASSERT_TRUE(doc.Resample(ToRate(44100)));
    EXPECT_EQ(std::vector<std::int16_t>(doc.m_pData.get(), doc.m_pData.get() + 6),
              (std::vector<std::int16_t>{0, 51, 101, 49, -3, -3}));
}

TEST_F(Resample, ASineStaysASineOfTheRightFrequency) {
    struct Case {
        ResampleValues values;
        double expectedHz;
        std::uint32_t rate;
        double largestDistance; // drop/hold makes steps; the short sinc window ripples a little
    };
    const Case cases[] = {
        {ToRate(48000, ResampleMethod::Linear), 1000, 48000, 0.002},
        {ToRate(48000, ResampleMethod::Bandlimited), 1000, 48000, 0.01},
        {ToRate(48000, ResampleMethod::DropHold), 1000, 48000, 0.05},
        {ToRate(22050, ResampleMethod::Bandlimited), 1000, 22050, 0.01},
        {ToPitch("A 5", ResampleMethod::Linear), 2000, 44100, 0.002},
        {ToPitch("E 4", ResampleMethod::Bandlimited), 1000 * std::pow(2.0, -5.0 / 12), 44100, 0.01},
        {ToPitch("A 3", ResampleMethod::DropHold), 500, 44100, 0.05},
    };
    for (const Case& c : cases) {
        FillTone(1000, 22050);
        ASSERT_TRUE(doc.Resample(c.values));
        ASSERT_EQ(doc.m_nRate, c.rate);
        for (int channel = 0; channel < 2; ++channel) {
            const std::int16_t* audio = doc.m_pData.get() + channel;
            double hz = MeasuredFrequency(audio, doc.m_nFrames, 2, doc.m_nRate);
            EXPECT_NEAR(hz / c.expectedHz, 1.0, 1e-4) << c.values.pitchText << " " << c.rate;
            EXPECT_LT(DistanceFromSine(audio, doc.m_nFrames, 2, hz, doc.m_nRate), c.largestDistance)
                << c.values.pitchText << " " << c.rate << " method " << static_cast<int>(c.values.method);
        }
    }
}

TEST_F(Resample, BandlimitedOutputKeepsTheInputsPositivePeak) {
    FillTone(3000, 20000, true, 12345);
    std::int16_t peakIn = *std::max_element(doc.m_pData.get(), doc.m_pData.get() + doc.SampleCount());
    ASSERT_TRUE(doc.Resample(ToRate(32000, ResampleMethod::Bandlimited)));
    std::int16_t peakOut = *std::max_element(doc.m_pData.get(), doc.m_pData.get() + doc.SampleCount());
    EXPECT_NEAR(peakOut, peakIn, 1);
}

TEST_F(Resample, BandlimitedSilenceStaysSilent) {
    doc.SetData(std::make_unique<std::int16_t[]>(2000), 1000, 44100);
    doc.m_bStereo = true;
    doc.m_dPitch = 440;
    ASSERT_TRUE(doc.Resample(ToRate(8000, ResampleMethod::Bandlimited)));
    EXPECT_EQ(doc.m_nFrames, 181u);
    EXPECT_EQ(std::count(doc.m_pData.get(), doc.m_pData.get() + 362, 0), 362);
}

TEST_F(Resample, ANegativeOvershootBeyondSixteenBitsWrapsAround) {
    // A smooth positive hump sets the scale; a sharp drop to full negative rings below it.
    auto audio = std::make_unique<std::int16_t[]>(600);
    for (int i = 0; i < 600; ++i)
        audio[i] = i < 200   ? static_cast<std::int16_t>(10000 * std::sin(M_PI * i / 200))
                   : i < 400 ? -32768
                             : 0;
    doc.SetData(std::move(audio), 600, 44100);
    doc.m_dPitch = 440;
    ASSERT_TRUE(doc.Resample(ToRate(44100, ResampleMethod::Bandlimited)));
    const std::int16_t* out = doc.m_pData.get();
    EXPECT_LE(*std::max_element(out, out + 190), 10000);
    EXPECT_GT(*std::max_element(out + 201, out + 399), 20000)
        << "the ringing below -32768 wrapped to positive";
    EXPECT_LT(*std::min_element(out + 201, out + 399), -32000);
}

TEST_F(Resample, LoopEndStaysWithinTheStopWhenPointsTruncateApart) {
    // At step 2, start 1 and length 3 become 0 and 1, while the loop 2..4 becomes 1..2.
    FillTone(440, 10, false);
    doc.SetLoopRange(2, 2);
    doc.SetSampleRange(1, 3);
    ASSERT_TRUE(doc.Resample(ToRate(22050)));
    EXPECT_EQ(Points(doc), (std::vector<std::uint32_t>{0, 2, 1, 1, 0, 5}));
}

TEST_F(Resample, RefusalsLeaveTheDocumentAsItWas) {
    FillTone(440, 1000);
    std::vector<std::int16_t> audio(doc.m_pData.get(), doc.m_pData.get() + 2000);
    auto unchanged = [&] {
        return doc.m_nFrames == 1000 && doc.m_nRate == 44100 && doc.m_dPitch == 440 && !doc.IsModified() &&
               std::equal(audio.begin(), audio.end(), doc.m_pData.get());
    };
    EXPECT_FALSE(doc.Resample(ToPitch("H 4")));
    EXPECT_FALSE(doc.Resample(ToPitch("A")));
    EXPECT_FALSE(doc.Resample(ToRate(3999)));
    EXPECT_FALSE(doc.Resample(ToRate(96001)));
    EXPECT_TRUE(unchanged());
    // More frames than a 32-bit count holds cannot be had.
    doc.m_dPitch = 1e12;
    EXPECT_FALSE(doc.Resample(ToPitch("C 0")));
    doc.m_dPitch = 0;
    EXPECT_FALSE(doc.Resample(ToPitch("C 4")));
    doc.m_dPitch = 440;
    EXPECT_TRUE(unchanged());
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{
                                 "Invalid pitch specification", "Invalid pitch specification",
                                 "Please enter an integer between 4000 and 96000.",
                                 "Please enter an integer between 4000 and 96000.", "Not enough memory",
                                 "The sample has no pitch to change from: set its pitch first"}));
}

TEST_F(Resample, TheCommandAsksForRateOrPitchAndMethod) {
    FillTone(440, 4410);
    ResampleValues initial = doc.ResampleDialogValues();
    EXPECT_EQ(initial, (ResampleValues{ResampleMode::Rate, 44100, "A 4 +0.00", ResampleMethod::Linear}));

    ui.QueueDialog<ResampleValues>(std::nullopt);
    EXPECT_FALSE(doc.OnResample());
    EXPECT_EQ(doc.m_nFrames, 4410u);
    EXPECT_FALSE(doc.IsModified());

    ResampleValues values = initial;
    values.rate = 8820;
    ui.QueueDialog<ResampleValues>(values);
    EXPECT_TRUE(doc.OnResample());
    EXPECT_EQ(doc.m_nFrames, 882u);
    EXPECT_TRUE(ui.AllAnswersUsed());
}

TEST_F(Resample, ThePlaybackRateOnlyRelabelsTheAudio) {
    FillTone(440, 1000);
    doc.SetLoopRange(100, 200);
    doc.SetModifiedFlag(false);
    doc.AddView(&view);
    std::vector<std::int16_t> audio(doc.m_pData.get(), doc.m_pData.get() + 2000);
    std::vector<std::uint32_t> points = Points(doc);

    ui.QueueDialog<PlaybackRateValues>(std::nullopt);
    EXPECT_FALSE(doc.OnChangePlaybackRate());
    ui.QueueDialog<PlaybackRateValues>(PlaybackRateValues{3999});
    EXPECT_FALSE(doc.OnChangePlaybackRate());
    EXPECT_EQ(doc.m_nRate, 44100u);
    EXPECT_FALSE(doc.IsModified());

    ui.QueueDialog<PlaybackRateValues>(PlaybackRateValues{22050});
    EXPECT_TRUE(doc.OnChangePlaybackRate());
    EXPECT_EQ(doc.m_nRate, 22050u);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view.updates, 1);
    EXPECT_EQ(Points(doc), points);
    EXPECT_EQ(doc.m_dPitch, 440.0);
    EXPECT_TRUE(std::equal(audio.begin(), audio.end(), doc.m_pData.get()));
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Please enter an integer between 4000 and 96000."});
}
