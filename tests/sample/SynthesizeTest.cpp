#include "sample/SampleDoc.h"

#include "platform/ScriptedUi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
using V = SynthesizeValues;

// The gain of a level in dB, as envelopes compute it.
double Gain(double dB) {
    return std::exp2(static_cast<float>(dB) * 0.16666667f);
}

// `frames` frames of `value` at 44100 Hz, not modified.
void Fill(CSampleDoc& doc, std::uint32_t frames, bool stereo = false, std::int16_t value = 0) {
    std::size_t samples = std::size_t{frames} * (stereo ? 2 : 1);
    auto audio = std::make_unique<std::int16_t[]>(samples);
    std::fill_n(audio.get(), samples, value);
    doc.ClearData();
    doc.m_bStereo = stereo;
    doc.SetData(std::move(audio), frames, 44100);
    doc.m_dPitch = 261.6;
    doc.SetModifiedFlag(false);
}

V Replace(std::uint32_t length, V::LengthUnit unit, V::Function function = V::Function::Sine) {
    V values;
    values.mode = V::Mode::Replace;
    values.length = length;
    values.unit = unit;
    values.function = function;
    return values;
}

// A frequency whose period is exactly `period` frames at 44100 Hz.
V WithPeriod(V values, double period) {
    values.pitchSource = V::PitchSource::Frequency;
    values.frequency = 44100 / period;
    return values;
}

int Peak(const CSampleDoc& doc) {
    int peak = 0;
    for (std::size_t i = 0; i < doc.SampleCount(); ++i)
        peak = std::max(peak, std::abs(int{doc.m_pData[i]}));
    return peak;
}

class Synthesize : public ::testing::Test {
protected:
    ScriptedUi ui;
    ScopedUi scope{ui};
    CSampleDoc doc;
};
} // namespace

TEST_F(Synthesize, DefaultsReplacedGiveOneSecondOfA440AtMinus10dB) {
    Fill(doc, 500, true);
    doc.SetLoopRange(10, 100);
    ASSERT_TRUE(doc.Synthesize(Replace(1000, V::LengthUnit::Milliseconds)));
    EXPECT_EQ(doc.m_nFrames, 44100u);
    EXPECT_FALSE(doc.m_bStereo);
    EXPECT_EQ(doc.m_dPitch, 440.0);
    EXPECT_EQ(doc.m_nLoopLength, 0u);
    EXPECT_EQ(doc.m_nStart, 0u);
    EXPECT_EQ(doc.m_nLength, 44100u);
    EXPECT_EQ(doc.m_nSelStart, 0u);
    EXPECT_EQ(doc.m_nSelLength, 44100u);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GT(ui.BusyCount(), 0);
    EXPECT_EQ(ui.BusyDepth(), 0);

    // A sine never reaches its peak exactly on a frame, but one frame lies within a hundredth of it.
    int top = static_cast<int>(32767 * Gain(-10));
    EXPECT_LE(Peak(doc), top);
    EXPECT_GE(Peak(doc), top * 0.999);
    EXPECT_EQ(doc.m_pData[0], 0);
    // Two periods (of 100.2 frames) later the wave has come round again.
    EXPECT_NEAR(doc.m_pData[25], doc.m_pData[25 + 200], 200);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(Synthesize, LengthInCyclesOfTheNote) {
    Fill(doc, 10);
    V values = Replace(3, V::LengthUnit::Cycles);
    ASSERT_TRUE(doc.Synthesize(values));
    EXPECT_EQ(doc.m_nFrames, 300u); // trunc(44100 * 3 / 440)
    EXPECT_EQ(doc.m_dPitch, 440.0);

    values.note = "C 4";
    values.length = 1;
    ASSERT_TRUE(doc.Synthesize(values));
    EXPECT_EQ(doc.m_nFrames, static_cast<std::uint32_t>(44100 / (440 * std::pow(2.0, -9.0 / 12))));
    EXPECT_DOUBLE_EQ(doc.m_dPitch, 440 * std::pow(2.0, -9.0 / 12));

    // Milliseconds follow the document's rate.
    doc.m_nRate = 8000;
    ASSERT_TRUE(doc.Synthesize(Replace(250, V::LengthUnit::Milliseconds)));
    EXPECT_EQ(doc.m_nFrames, 2000u);
}

TEST_F(Synthesize, SquareStartsHighAndTurnsAtHalfThePeriod) {
    Fill(doc, 10);
    V values = WithPeriod(Replace(2, V::LengthUnit::Cycles, V::Function::Square), 100);
    values.curve = {V::PackPoint(0, 0)};
    ASSERT_TRUE(doc.Synthesize(values));
    ASSERT_EQ(doc.m_nFrames, 200u);
    for (std::uint32_t i = 0; i < 200; ++i)
        EXPECT_EQ(doc.m_pData[i], i % 100 < 50 ? 32767 : -32767) << i;
}

TEST_F(Synthesize, TriangleRisesFallsAndRisesBack) {
    Fill(doc, 10);
    V values = WithPeriod(Replace(1, V::LengthUnit::Cycles, V::Function::Triangle), 100);
    values.curve = {V::PackPoint(0, 0)};
    ASSERT_TRUE(doc.Synthesize(values));
    ASSERT_EQ(doc.m_nFrames, 100u);
    const std::int16_t* s = doc.m_pData.get();
    EXPECT_EQ(s[0], 0);
    EXPECT_EQ(s[25], 32767);
    EXPECT_EQ(s[50], 0);
    EXPECT_EQ(s[75], -32767);
    for (int i = 1; i <= 25; ++i)
        EXPECT_GT(s[i], s[i - 1]) << i;
    for (int i = 26; i <= 75; ++i)
        EXPECT_LT(s[i], s[i - 1]) << i;
    for (int i = 76; i < 100; ++i)
        EXPECT_GT(s[i], s[i - 1]) << i;
    // Straight lines: a quarter period apart the level moves by the full amplitude.
    EXPECT_EQ(s[10], -s[60]);
    EXPECT_EQ(s[99], -s[1]);
}

TEST_F(Synthesize, TheCurveSpansTheWholeLength) {
    Fill(doc, 10);
    // From -60 dB at the start to 0 dB at 100 (the end), in dB.
    V values = WithPeriod(Replace(1000, V::LengthUnit::Milliseconds, V::Function::Square), 2);
    values.curve = {V::PackPoint(0, -60), V::PackPoint(100, 0)};
    ASSERT_TRUE(doc.Synthesize(values));
    const std::int16_t* s = doc.m_pData.get();
    EXPECT_EQ(s[0], static_cast<int>(32767 * Gain(-60)));
    EXPECT_NEAR(s[22050], 32767 * Gain(-30), 2);
    EXPECT_NEAR(s[33076], 32767 * Gain(-15), 3);
    int last = 0;
    for (std::uint32_t i = 0; i < doc.m_nFrames; i += 2) {
        EXPECT_GE(s[i], last) << i;
        last = s[i];
    }
    EXPECT_GT(last, 32700);
}

TEST_F(Synthesize, AddingKeepsTheSampleAndWrapsPastTheTop) {
    Fill(doc, 1000, true, 1000);
    for (std::uint32_t i = 0; i < 1000; ++i)
        doc.m_pData[2 * i + 1] = -1000;
    doc.SetLoopRange(100, 200);
    V values = WithPeriod(V{}, 40);
    ASSERT_TRUE(doc.Synthesize(values));
    EXPECT_TRUE(doc.m_bStereo);
    EXPECT_EQ(doc.m_nFrames, 1000u);
    EXPECT_EQ(doc.m_dPitch, 261.6);
    EXPECT_EQ(doc.m_nLoopStart, 100u);
    EXPECT_EQ(doc.m_nLoopLength, 200u);
    bool changed = false;
    for (std::uint32_t i = 0; i < 1000; ++i) {
        EXPECT_EQ(doc.m_pData[2 * i] - 1000, doc.m_pData[2 * i + 1] + 1000) << i;
        changed = changed || doc.m_pData[2 * i] != 1000;
    }
    EXPECT_TRUE(changed);

    Fill(doc, 100, false, 32000);
    values = WithPeriod(V{}, 100);
    values.function = V::Function::Square;
    values.curve = {V::PackPoint(0, 0)};
    ASSERT_TRUE(doc.Synthesize(values));
    EXPECT_EQ(doc.m_pData[0], static_cast<std::int16_t>(32000 + 32767 - 65536));
    EXPECT_EQ(doc.m_pData[99], 32000 - 32767);
}

TEST_F(Synthesize, LevelsBeyondAnyIntegerAddNothingUndefined) {
    Fill(doc, 100, false, 5);
    V values = WithPeriod(V{}, 100);
    values.function = V::Function::Square;
    // 2^(32767/6) overflows a float: the product is infinite, or not a number where the wave is 0.
    values.curve = {V::PackPoint(0, 32767)};
    ASSERT_TRUE(doc.Synthesize(values));
    EXPECT_EQ(doc.m_pData[0], 5);
    // 2^(200/6) * 32767 is past 32 bits; only its low 16 bits (here 0) are added.
    Fill(doc, 100, false, 5);
    values.curve = {V::PackPoint(0, 200)};
    ASSERT_TRUE(doc.Synthesize(values));
    EXPECT_EQ(doc.m_pData[0], 5);
}

TEST_F(Synthesize, AnInvalidNoteIsRefusedBeforeTheAudioIsFreed) {
    Fill(doc, 700, true, 9);
    const std::int16_t* before = doc.m_pData.get();
    for (const char* note : {"H 4", "A", "", "Ax4"}) {
        V values = Replace(1000, V::LengthUnit::Milliseconds);
        values.note = note;
        EXPECT_FALSE(doc.Synthesize(values)) << note;
    }
    V values = Replace(1000, V::LengthUnit::Milliseconds);
    values.pitchSource = V::PitchSource::Frequency;
    values.frequency = 0;
    EXPECT_FALSE(doc.Synthesize(values));
    EXPECT_EQ(ui.Messages(), std::vector<std::string>(5, "Invalid pitch specification"));
    EXPECT_EQ(doc.m_pData.get(), before);
    EXPECT_EQ(doc.m_nFrames, 700u);
    EXPECT_TRUE(doc.m_bStereo);
    EXPECT_EQ(doc.m_pData[1399], 9);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(Synthesize, ALengthPastTheLimitIsRefusedAndTheAudioKept) {
    Fill(doc, 50);
    EXPECT_FALSE(doc.Synthesize(Replace(4294967295u, V::LengthUnit::Milliseconds)));
    V tiny = WithPeriod(Replace(4294967295u, V::LengthUnit::Cycles), 1e12);
    tiny.frequency = V::kMinFrequency;
    EXPECT_FALSE(doc.Synthesize(tiny));
    EXPECT_EQ(ui.Messages(), std::vector<std::string>(2, "Synthesis is limited to 429496729 frames"));
    EXPECT_EQ(doc.m_nFrames, 50u);
    EXPECT_FALSE(doc.IsModified());

    // 97,392 ms at 44100 Hz: rate x length passes 2^32, and the count must not wrap with it.
    ASSERT_TRUE(doc.Synthesize(Replace(97392, V::LengthUnit::Milliseconds, V::Function::Square)));
    EXPECT_NEAR(doc.m_nFrames, 4294987, 1);
}

TEST_F(Synthesize, ZeroLengthAndEmptyDocumentsAreHarmless) {
    Fill(doc, 50);
    ASSERT_TRUE(doc.Synthesize(Replace(0, V::LengthUnit::Milliseconds)));
    EXPECT_EQ(doc.m_nFrames, 0u);
    EXPECT_EQ(doc.m_nLength, 0u);
    doc.ClearData();
    EXPECT_TRUE(doc.Synthesize(V{}));
    EXPECT_EQ(doc.m_nFrames, 0u);
}

TEST_F(Synthesize, TheCommandTakesTheDialogsValuesOrNothingOnCancel) {
    Fill(doc, 50);
    ui.QueueDialog<V>(std::nullopt);
    EXPECT_FALSE(doc.OnSynthesize());
    EXPECT_EQ(doc.m_nFrames, 50u);
    EXPECT_FALSE(doc.IsModified());

    ui.QueueDialog<V>(Replace(10, V::LengthUnit::Milliseconds));
    EXPECT_TRUE(doc.OnSynthesize());
    EXPECT_EQ(doc.m_nFrames, 441u);
    EXPECT_TRUE(ui.AllAnswersUsed());
}
