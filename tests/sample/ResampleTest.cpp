#include "sample/Resample.h"
#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

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

// The frequency of one channel's tone from its rising zero crossings, and how far the tone lies
// from a pure sine of that frequency (the residual's RMS over the amplitude).
std::pair<double, double> MeasureTone(const CSampleDoc& doc, int channel) {
    auto y = [&](std::uint32_t i) { return static_cast<double>(doc.m_pData[i * 2 + channel]); };
    double first = -1, last = -1;
    int cycles = -1;
    for (std::uint32_t i = 1; i < doc.m_nFrames; ++i)
        if (y(i - 1) < 0 && y(i) >= 0) {
            last = i - 1 + y(i - 1) / (y(i - 1) - y(i));
            first = first < 0 ? last : first;
            ++cycles;
        }
    double hz = cycles * doc.m_nRate / (last - first);
    // Over a whole number of cycles sine and cosine are orthogonal: project onto each.
    auto end = static_cast<std::uint32_t>(last);
    double a = 0, b = 0, residual = 0;
    auto w = [&](std::uint32_t i) { return 2 * M_PI * hz * (i - first) / doc.m_nRate; };
    for (std::uint32_t i = static_cast<std::uint32_t>(first); i < end; ++i)
        a += y(i) * std::sin(w(i)), b += y(i) * std::cos(w(i));
    a *= 2.0 / (end - first), b *= 2.0 / (end - first);
    for (std::uint32_t i = static_cast<std::uint32_t>(first); i < end; ++i)
        residual += std::pow(y(i) - a * std::sin(w(i)) - b * std::cos(w(i)), 2);
    return {hz, std::sqrt(residual / (end - first)) / std::hypot(a, b)};
}

class Resample : public ::testing::Test {
protected:
    static void SetUpTestSuite() { BuildSincTable(); }

    // `frames` of a tone at `hz` and 44100 Hz; in stereo the right channel is a quarter period behind.
    void FillTone(double hz, std::uint32_t frames, bool stereo = true, double amplitude = 20000) {
        int channels = stereo ? 2 : 1;
        auto audio = std::make_unique<std::int16_t[]>(std::size_t{frames} * channels);
        for (std::uint32_t i = 0; i < frames * channels; ++i)
            audio[i] = static_cast<std::int16_t>(
                amplitude * std::sin(2 * M_PI * hz * (i / channels) / 44100 - (i % channels) * M_PI / 2));
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
    EXPECT_EQ(std::pair(doc.m_nRate, doc.m_dPitch), std::pair(48000u, 440.0));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view.updates, 1);
    EXPECT_EQ(std::tuple(ui.BusyDepth(), ui.BusyCount() > 0, ui.Messages().size()), std::tuple(0, true, 0u));
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
        EXPECT_EQ(std::pair(doc.m_nRate, doc.m_dPitch), std::pair(44100u, 880.0));
    }
}

TEST_F(Resample, WholeValuesAreKeptAndHalvesRoundUp) {
    FillTone(440, 101, false);
    std::vector<std::int16_t> before(doc.m_pData.get(), doc.m_pData.get() + 101);
    ASSERT_TRUE(doc.Resample(ToRate(22050, ResampleMethod::DropHold)));
    ASSERT_EQ(doc.m_nFrames, 50u);
    for (std::uint32_t i = 0; i < 50; ++i)
        ASSERT_EQ(doc.m_pData[i], before[2 * i]) << "drop/hold keeps every other frame, negative ones too";

    // Twice the rate: 0, 50.5, 101, 49, -3, then the last sample held.
    auto audio = std::make_unique<std::int16_t[]>(3);
    audio[0] = 0, audio[1] = 101, audio[2] = -3;
    doc.SetData(std::move(audio), 3, 22050);
    ASSERT_TRUE(doc.Resample(ToRate(44100)));
    EXPECT_EQ(std::vector<std::int16_t>(doc.m_pData.get(), doc.m_pData.get() + 6),
              (std::vector<std::int16_t>{0, 51, 101, 49, -3, -3}));
}

TEST_F(Resample, ASineStaysASineOfTheRightFrequency) {
    struct Case {
        ResampleValues values;
        double hz;
        double largestDistance; // drop/hold makes steps; the short sinc window ripples a little
    };
    const Case cases[] = {
        {ToRate(48000, ResampleMethod::Linear), 1000, 0.002},
        {ToRate(48000, ResampleMethod::Bandlimited), 1000, 0.01},
        {ToRate(48000, ResampleMethod::DropHold), 1000, 0.05},
        {ToRate(22050, ResampleMethod::Bandlimited), 1000, 0.01},
        {ToPitch("A 5", ResampleMethod::Linear), 2000, 0.002},
        {ToPitch("E 4", ResampleMethod::Bandlimited), 1000 * std::pow(2.0, -5.0 / 12), 0.01},
        {ToPitch("A 3", ResampleMethod::DropHold), 500, 0.05},
    };
    for (const Case& c : cases) {
        FillTone(1000, 22050);
        ASSERT_TRUE(doc.Resample(c.values));
        for (int channel = 0; channel < 2; ++channel) {
            auto [hz, distance] = MeasureTone(doc, channel);
            EXPECT_NEAR(hz / c.hz, 1.0, 1e-4) << c.values.pitchText << " " << c.values.rate;
            EXPECT_LT(distance, c.largestDistance) << static_cast<int>(c.values.method) << " " << c.hz;
        }
    }
}

TEST_F(Resample, BandlimitedOutputIsScaledToTheInputsPositivePeak) {
    FillTone(3000, 20000, true, 12345);
    ASSERT_TRUE(doc.Resample(ToRate(32000, ResampleMethod::Bandlimited)));
    EXPECT_NEAR(*std::max_element(doc.m_pData.get(), doc.m_pData.get() + doc.SampleCount()), 12345, 1);

    doc.SetData(std::make_unique<std::int16_t[]>(2000), 1000, 44100);
    ASSERT_TRUE(doc.Resample(ToRate(8000, ResampleMethod::Bandlimited)));
    EXPECT_EQ(doc.m_nFrames, 181u);
    EXPECT_EQ(std::count(doc.m_pData.get(), doc.m_pData.get() + 362, 0), 362) << "silence stays silent";

    // A smooth positive hump sets the scale; a sharp drop to full negative rings below it.
    auto audio = std::make_unique<std::int16_t[]>(600);
    for (int i = 0; i < 600; ++i)
        audio[i] = i < 200   ? static_cast<std::int16_t>(10000 * std::sin(M_PI * i / 200))
                   : i < 400 ? -32768
                             : 0;
    doc.SetData(std::move(audio), 600, 44100);
    doc.m_bStereo = false;
    ASSERT_TRUE(doc.Resample(ToRate(44100, ResampleMethod::Bandlimited)));
    const std::int16_t* out = doc.m_pData.get();
    EXPECT_LE(*std::max_element(out, out + 190), 10000);
    EXPECT_GT(*std::max_element(out + 201, out + 399), 20000) << "the ringing below -32768 wrapped around";
    EXPECT_LT(*std::min_element(out + 201, out + 399), -32000);
}

TEST_F(Resample, TheLoopEndStaysWithinTheStopWhenPointsTruncateApart) {
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
    EXPECT_FALSE(doc.Resample(ToPitch("H 4")));
    EXPECT_FALSE(doc.Resample(ToPitch("A")));
    EXPECT_FALSE(doc.Resample(ToRate(3999)));
    EXPECT_FALSE(doc.Resample(ToRate(96001)));
    doc.m_dPitch = 1e12; // more frames than a 32-bit count holds
    EXPECT_FALSE(doc.Resample(ToPitch("C 0")));
    doc.m_dPitch = 0;
    EXPECT_FALSE(doc.Resample(ToPitch("C 4")));
    EXPECT_EQ(std::tuple(doc.m_nFrames, doc.m_nRate, doc.IsModified()), std::tuple(1000u, 44100u, false));
    EXPECT_TRUE(std::equal(audio.begin(), audio.end(), doc.m_pData.get()));
    const std::string range = "Please enter an integer between 4000 and 96000.";
    EXPECT_EQ(ui.Messages(),
              (std::vector<std::string>{"Invalid pitch specification", "Invalid pitch specification", range,
                                        range, "Not enough memory",
                                        "The sample has no pitch to change from: set its pitch first"}));
}

TEST_F(Resample, TheCommandsAskForTheirDialogsValues) {
    FillTone(440, 4410);
    doc.SetLoopRange(100, 200);
    doc.SetModifiedFlag(false);
    doc.AddView(&view);
    EXPECT_EQ(doc.ResampleDialogValues(), (ResampleValues{ResampleMode::Rate, 44100, "A 4 +0.00"}));
    ui.QueueDialog<ResampleValues>(std::nullopt);
    ui.QueueDialog<PlaybackRateValues>(std::nullopt);
    ui.QueueDialog<PlaybackRateValues>(PlaybackRateValues{3999});
    EXPECT_FALSE(doc.OnResample());
    EXPECT_FALSE(doc.OnChangePlaybackRate());
    EXPECT_FALSE(doc.OnChangePlaybackRate());
    EXPECT_EQ(std::tuple(doc.m_nFrames, doc.m_nRate, doc.IsModified()), std::tuple(4410u, 44100u, false));

    // The playback rate relabels the audio and nothing else.
    std::vector<std::int16_t> audio(doc.m_pData.get(), doc.m_pData.get() + 2 * 4410);
    std::vector<std::uint32_t> points = Points(doc);
    ui.QueueDialog<PlaybackRateValues>(PlaybackRateValues{22050});
    EXPECT_TRUE(doc.OnChangePlaybackRate());
    EXPECT_EQ(std::tuple(doc.m_nRate, doc.m_dPitch, Points(doc)), std::tuple(22050u, 440.0, points));
    EXPECT_TRUE(std::equal(audio.begin(), audio.end(), doc.m_pData.get()));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view.updates, 1);

    ui.QueueDialog<ResampleValues>(ToRate(4410));
    EXPECT_TRUE(doc.OnResample());
    EXPECT_EQ(doc.m_nFrames, 882u);
    EXPECT_TRUE(ui.AllAnswersUsed());
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Please enter an integer between 4000 and 96000."});
}
