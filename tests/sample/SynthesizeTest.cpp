#include "sample/SampleDoc.h"

#include "platform/ScriptedUi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {
using V = SynthesizeValues;

// Full scale times the gain of a level in dB, as envelopes compute it.
double Full(double dB) {
    return 32767 * std::exp2(static_cast<float>(dB) * 0.16666667f);
}

V Replace(std::uint32_t length, V::LengthUnit unit, V::Function function = V::Function::Sine) {
    V values;
    values.mode = V::Mode::Replace;
    values.length = length;
    values.unit = unit;
    values.function = function;
    return values;
}

// The values with a frequency whose period is `period` frames at 44100 Hz, at 0 dB throughout.
V Period(V values, double period) {
    values.pitchSource = V::PitchSource::Frequency;
    values.frequency = 44100 / period;
    values.curve = {V::PackPoint(0, 0)};
    return values;
}

class Synthesize : public ::testing::Test {
protected:
    // `frames` frames of `value` at 44100 Hz, not modified.
    void Fill(std::uint32_t frames, bool stereo = false, std::int16_t value = 0) {
        auto audio = std::make_unique<std::int16_t[]>(std::size_t{frames} * (stereo ? 2 : 1));
        std::fill_n(audio.get(), std::size_t{frames} * (stereo ? 2 : 1), value);
        doc.m_bStereo = stereo;
        doc.SetData(std::move(audio), frames, 44100);
        doc.m_dPitch = 261.6;
        doc.SetModifiedFlag(false);
    }
    std::vector<std::int16_t> Audio() const {
        return {doc.m_pData.get(), doc.m_pData.get() + doc.SampleCount()};
    }

    ScriptedUi ui;
    ScopedUi scope{ui};
    CSampleDoc doc;
};
} // namespace

TEST_F(Synthesize, TheDefaultsReplacedGiveOneSecondOfA440AtMinus10dB) {
    Fill(500, true);
    doc.SetLoopRange(10, 100);
    ui.QueueDialog<V>(Replace(1000, V::LengthUnit::Milliseconds));
    ASSERT_TRUE(doc.OnSynthesize());
    EXPECT_EQ(std::tuple(doc.m_nFrames, doc.m_bStereo, doc.m_dPitch, doc.m_nLoopLength),
              std::tuple(44100u, false, 440.0, 0u));
    EXPECT_EQ(std::tuple(doc.m_nStart, doc.m_nLength, doc.m_nSelStart, doc.m_nSelLength),
              std::tuple(0u, 44100u, 0u, 44100u));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GT(ui.BusyCount(), 0);
    // The peak falls between frames, within a thousandth of 32767 x 2^(-10/6) = 10321.
    std::vector<std::int16_t> audio = Audio();
    int peak = *std::max_element(audio.begin(), audio.end());
    EXPECT_LE(peak, static_cast<int>(Full(-10)));
    EXPECT_GE(peak, static_cast<int>(Full(-10) * 0.999));
    EXPECT_EQ(audio[0], 0);

    ui.QueueDialog<V>(std::nullopt);
    EXPECT_FALSE(doc.OnSynthesize());
}

TEST_F(Synthesize, LengthInCyclesOfTheNoteOrInMilliseconds) {
    Fill(10);
    V values = Replace(3, V::LengthUnit::Cycles);
    ASSERT_TRUE(doc.Synthesize(values));
    EXPECT_EQ(std::tuple(doc.m_nFrames, doc.m_dPitch), std::tuple(300u, 440.0)); // trunc(44100 x 3 / 440)
    values.note = "C 4";
    values.length = 1;
    ASSERT_TRUE(doc.Synthesize(values));
    EXPECT_EQ(doc.m_nFrames, 168u); // 261.63 Hz
    doc.m_nRate = 8000;
    ASSERT_TRUE(doc.Synthesize(Replace(250, V::LengthUnit::Milliseconds)));
    EXPECT_EQ(doc.m_nFrames, 2000u);
    // 97,392 ms at 44100 Hz: rate x length passes 2^32, and the count must not wrap with it.
    doc.m_nRate = 44100;
    ASSERT_TRUE(doc.Synthesize(Replace(97392, V::LengthUnit::Milliseconds, V::Function::Square)));
    EXPECT_NEAR(doc.m_nFrames, 4294987, 1);
}

TEST_F(Synthesize, SquareAndTriangleShapes) {
    Fill(10);
    ASSERT_TRUE(doc.Synthesize(Period(Replace(2, V::LengthUnit::Cycles, V::Function::Square), 100)));
    std::vector<std::int16_t> s = Audio();
    ASSERT_EQ(s.size(), 200u);
    for (std::size_t i = 0; i < 200; ++i)
        ASSERT_EQ(s[i], i % 100 < 50 ? 32767 : -32767) << i;

    ASSERT_TRUE(doc.Synthesize(Period(Replace(1, V::LengthUnit::Cycles, V::Function::Triangle), 100)));
    s = Audio();
    EXPECT_EQ(std::tuple(s[0], s[25], s[50], s[75]), std::tuple(0, 32767, 0, -32767));
    for (int i = 1; i < 100; ++i)
        EXPECT_EQ(s[i] > s[i - 1], i <= 25 || i > 75) << i;
    EXPECT_EQ(s[10], -s[60]);
}

TEST_F(Synthesize, TheCurveSpansTheWholeLength) {
    Fill(10);
    // From -60 dB at the start to 0 dB at 100 (the end), in dB; a square wave shows the level.
    V values = Period(Replace(1000, V::LengthUnit::Milliseconds, V::Function::Square), 2);
    values.curve = {V::PackPoint(0, -60), V::PackPoint(100, 0)};
    ASSERT_TRUE(doc.Synthesize(values));
    std::vector<std::int16_t> s = Audio();
    EXPECT_EQ(s[0], static_cast<int>(Full(-60)));
    EXPECT_NEAR(s[22050], Full(-30), 2);
    EXPECT_NEAR(s[33076], Full(-15), 3);
    EXPECT_GT(s[44098], 32700);
}

TEST_F(Synthesize, AddingKeepsTheSampleAndWrapsPastTheTop) {
    Fill(1000, true, 1000);
    doc.SetLoopRange(100, 200);
    ASSERT_TRUE(doc.Synthesize(Period(V{}, 40)));
    EXPECT_EQ(std::tuple(doc.m_bStereo, doc.m_nFrames, doc.m_dPitch, doc.m_nLoopStart),
              std::tuple(true, 1000u, 261.6, 100u));
    std::vector<std::int16_t> s = Audio();
    for (std::size_t i = 0; i < 2000; i += 2)
        ASSERT_EQ(s[i], s[i + 1]) << i;
    EXPECT_NE(s[20], 1000);

    Fill(100, false, 32000);
    V square = Period(V{}, 100);
    square.function = V::Function::Square;
    ASSERT_TRUE(doc.Synthesize(square));
    EXPECT_EQ(std::tuple(doc.m_pData[0], doc.m_pData[99]), std::tuple(32000 + 32767 - 65536, 32000 - 32767));
    // Levels whose product is infinite, or past 32 bits with its low 16 bits all 0, add nothing.
    for (int dB : {32767, 200}) {
        Fill(100, false, 5);
        square.curve = {V::PackPoint(0, dB)};
        ASSERT_TRUE(doc.Synthesize(square));
        EXPECT_EQ(doc.m_pData[0], 5) << dB;
    }
}

TEST_F(Synthesize, RefusalsComeBeforeTheAudioIsFreed) {
    Fill(700, true, 9);
    const std::int16_t* before = doc.m_pData.get();
    for (const char* note : {"H 4", "A", "Ax4"}) {
        V values = Replace(1000, V::LengthUnit::Milliseconds);
        values.note = note;
        EXPECT_FALSE(doc.Synthesize(values)) << note;
    }
    EXPECT_FALSE(doc.Synthesize(Replace(4294967295u, V::LengthUnit::Milliseconds)));
    V slow = Period(Replace(4294967295u, V::LengthUnit::Cycles), 1);
    slow.frequency = V::kMinFrequency;
    EXPECT_FALSE(doc.Synthesize(slow));
    EXPECT_EQ(ui.Messages(),
              (std::vector<std::string>{
                  "Invalid pitch specification", "Invalid pitch specification", "Invalid pitch specification",
                  "Synthesis is limited to 429496729 frames", "Synthesis is limited to 429496729 frames"}));
    EXPECT_EQ(std::tuple(doc.m_pData.get(), doc.m_nFrames, doc.m_bStereo, doc.IsModified()),
              std::tuple(before, 700u, true, false));
}
