#include "patch/Envelope.h"

#include "PatchBuilders.h"
#include "archive/ObjectArchive.h"
#include "platform/ScriptedUi.h"
#include "support/ByteStrings.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
float Gain(float dB) {
    return std::exp2(dB * 0.16666667f);
}

// The factor of a level, to a relative 1e-5: far below what a wrong slope or start level makes.
::testing::AssertionResult IsGain(float actual, float dB) {
    float expected = Gain(dB);
    if (std::fabs(actual - expected) <= expected * 1e-5f)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << actual << " is not the factor of " << dB << " dB (" << expected << ")";
}
} // namespace

TEST(Envelope, ANewEnvelopeIsFourteenBytesAndReadsBack) {
    CEnvelope fresh;
    CObjectArchive out;
    fresh.Serialize(out);
    EXPECT_EQ(ToHex(out.Bytes()), ToHex(Hex("00000000 00000000 0100 00000000")));

    CEnvelope envelope = MakeEnvelope({{0, -6}, {250, -12}}, -1);
    envelope.SetLinear(1, true);
    CObjectArchive store;
    envelope.Serialize(store);
    CObjectArchive load(store.Bytes());
    CEnvelope loaded;
    loaded.Serialize(load);
    EXPECT_EQ(load.Remaining(), 0u);
    EXPECT_EQ(loaded.GetRelease(), -1);
    EXPECT_EQ(loaded.GetLinearFlags(), 2u);
    EXPECT_EQ(loaded.GetPoints(), envelope.GetPoints());
    EXPECT_EQ(loaded.GetPointLevel(1), -12);
}

TEST(Envelope, PointsKeepTheirLowSixteenBitsAndTheListGrows) {
    CEnvelope envelope;
    envelope.SetPoint(2, 70000, -40000);
    ASSERT_EQ(envelope.GetPointCount(), 3);
    EXPECT_EQ(envelope.GetPoint(1), 0u);
    EXPECT_EQ(envelope.GetPointTime(2), 70000 - 65536);
    EXPECT_EQ(envelope.GetPointLevel(2), -40000 + 65536);
    envelope.SetPoint(-1, 5, 5);
    EXPECT_EQ(envelope.GetPointCount(), 3);
}

TEST(Envelope, LinearFlagsCoverOnlyTheFirstThirtyTwoSegments) {
    CEnvelope envelope;
    envelope.SetLinearFlags(0xFFFFFFFF);
    EXPECT_TRUE(envelope.IsLinear(31));
    EXPECT_FALSE(envelope.IsLinear(32));
    EXPECT_FALSE(envelope.IsLinear(-1));
    envelope.SetLinearFlags(0);
    envelope.SetLinear(40, true);
    envelope.SetLinear(-3, true);
    EXPECT_EQ(envelope.GetLinearFlags(), 0u);
    envelope.SetLinear(3, true);
    envelope.SetLinear(0, true);
    envelope.SetLinear(3, false);
    EXPECT_EQ(envelope.GetLinearFlags(), 1u);
}

TEST(Envelope, SegmentsInterpolateInDecibelsOrInAmplitude) {
    CEnvelope envelope = MakeEnvelope({{0, -60}, {100, 0}});
    envelope.Initialize(44100, false);
    EXPECT_NEAR(envelope.GetLevel(2205, 100000), 0.0313, 1e-4);
    EXPECT_TRUE(IsGain(envelope.GetLevel(2205, 100000), -30));
    EXPECT_NEAR(envelope.GetLevel(1000, 100000), Gain(-60 + 60.0f * 1000 / 4410), 1e-6);
    EXPECT_FLOAT_EQ(envelope.GetLevel(4410, 100000), 1.0f);
    EXPECT_FLOAT_EQ(envelope.GetLevel(900000, 1000000), 1.0f);

    envelope.SetLinear(0, true);
    envelope.Initialize(44100, true);
    EXPECT_NEAR(envelope.GetLevel(2205, 100000), 0.5005, 1e-4);
    EXPECT_NEAR(envelope.GetLevel(2205, 100000), (Gain(-60) + 1.0f) / 2, 1e-6);
}

TEST(Envelope, NothingSoundsBeforeTheFirstPoint) {
    CEnvelope envelope = MakeEnvelope({{10, 0}});
    envelope.Initialize(44100, false);
    for (std::uint32_t p : {0u, 1u, 440u})
        EXPECT_EQ(envelope.GetLevel(p, 100000), 0.0f) << p;
    EXPECT_EQ(envelope.GetLevel(441, 100000), 1.0f);

    CEnvelope empty = MakeEnvelope({});
    empty.Initialize(44100, false);
    EXPECT_EQ(empty.GetLevel(0, 10), 0.0f);
}

TEST(Envelope, TheDefaultHoldsUnityUntilTheReleaseAndThenFalls) {
    ScriptedUi ui;
    ScopedUi scope(ui);
    CEnvelope envelope; // release 0
    envelope.Initialize(44100, false);
    for (std::uint32_t p : {0u, 1u, 1000u})
        EXPECT_EQ(envelope.GetLevel(p, 1000), 1.0f);
    // Release 0 becomes one sample: 60 dB down one sample after the key went up.
    EXPECT_TRUE(IsGain(envelope.GetLevel(1001, 1000), -60));
    EXPECT_TRUE(IsGain(envelope.GetLevel(1002, 1000), -120));

    CEnvelope slow = MakeEnvelope({{0, 0}}, 500);
    slow.Initialize(44100, false);
    EXPECT_EQ(slow.GetLevel(100, 100), 1.0f);
    EXPECT_NEAR(slow.GetLevel(100 + 22050, 100), 0.00098, 1e-5);
    EXPECT_TRUE(IsGain(slow.GetLevel(100 + 22050, 100), -60));
    EXPECT_TRUE(IsGain(slow.GetLevel(100 + 44100, 100), -120));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(Envelope, TheReleaseStartsFromTheLatestLevelBeforeIt) {
    // Key up half way down a 0 to -24 dB slope: the release falls from -12 dB.
    CEnvelope envelope = MakeEnvelope({{0, 0}, {100, -24}}, 1000);
    envelope.Initialize(1000, false);
    envelope.GetLevel(50, 50);
    EXPECT_TRUE(IsGain(envelope.GetLevel(50 + 500, 50), -36));
    EXPECT_TRUE(IsGain(envelope.GetLevel(50 + 1000, 50), -60));
    // The slope stays until the next Initialize; the start level is whatever was asked last
    // before the release (0 dB here), so the same 48 dB fall now ends at -48 dB.
    envelope.GetLevel(0, 50);
    EXPECT_TRUE(IsGain(envelope.GetLevel(50 + 1000, 50), -48));

    envelope.Initialize(1000, true);
    envelope.GetLevel(0, 50);
    EXPECT_TRUE(IsGain(envelope.GetLevel(50 + 1000, 50), -60));
    EXPECT_TRUE(IsGain(envelope.GetLevel(50 + 500, 50), -30));

    // A linear hold is converted to dB before the release: -12 dB again.
    CEnvelope linear = MakeEnvelope({{0, 0}, {10, -12}}, 1000);
    linear.SetLinear(1, true);
    linear.Initialize(1000, false);
    EXPECT_TRUE(IsGain(linear.GetLevel(20, 20), -12));
    EXPECT_TRUE(IsGain(linear.GetLevel(20 + 500, 20), -36));
}

TEST(Envelope, PointsAtTheSameTimeMakeAFlatSegment) {
    CEnvelope envelope = MakeEnvelope({{0, 0}, {0, -6}, {100, -6}});
    envelope.Initialize(44100, false);
    float level = envelope.GetLevel(0, 100000);
    EXPECT_TRUE(std::isfinite(level));
    EXPECT_FLOAT_EQ(level, 0.5f);
    EXPECT_FLOAT_EQ(envelope.GetLevel(2000, 100000), 0.5f);
}

TEST(Envelope, TablesAreRebuiltOnlyWhenTheRateChangesOrWhenForced) {
    CEnvelope envelope = MakeEnvelope({{0, 0}, {100, -60}});
    envelope.Initialize(1000, false);
    envelope.SetPoint(1, 100, 0);
    envelope.Initialize(1000, false);
    EXPECT_TRUE(IsGain(envelope.GetLevel(50, 1000), -30));
    envelope.Initialize(1000, true);
    EXPECT_FLOAT_EQ(envelope.GetLevel(50, 1000), 1.0f);
    envelope.Initialize(2000, false);
    EXPECT_EQ(envelope.GetRate(), 2000u);

    // Points added since the last Initialize are not read until the next.
    envelope.SetPoint(5, 500, -6);
    EXPECT_FLOAT_EQ(envelope.GetLevel(100000, 200000), 1.0f);
}

TEST(Envelope, AnUninitializedEnvelopeSaysSoAndServesAtCdRate) {
    ScriptedUi ui;
    ScopedUi scope(ui);
    CEnvelope source = MakeEnvelope({{0, -60}, {100, 0}});
    source.Initialize(1000, false);
    CEnvelope copy(source);
    EXPECT_FALSE(copy.IsInitialized());
    EXPECT_TRUE(IsGain(copy.GetLevel(2205, 100000), -30));
    EXPECT_EQ(copy.GetRate(), 44100u);
    copy.GetLevel(0, 100000);
    EXPECT_EQ(ui.Messages(),
              std::vector<std::string>{"Internal error: GetLevel() called on uninitialized CEnvelope"});

    CEnvelope assigned;
    assigned.Initialize(8000, false);
    assigned.CopyFrom(source);
    EXPECT_FALSE(assigned.IsInitialized());
    EXPECT_EQ(assigned.GetPoints(), source.GetPoints());
    assigned.CopyFrom(assigned);
    EXPECT_EQ(assigned.GetPoints(), source.GetPoints());
}

TEST(Envelope, LongTimesAtHighRatesDoNotOverflow) {
    // The synthesizer's rate is ten times the frame count: 60 s of frames at 100 kHz.
    const std::uint32_t rate = 60'000'000;
    CEnvelope envelope = MakeEnvelope({{0, -60}, {60000, 0}}, 1000);
    envelope.Initialize(rate, false);
    EXPECT_TRUE(IsGain(envelope.GetLevel(1'800'000'000, 4'000'000'000u), -30));
    EXPECT_FLOAT_EQ(envelope.GetLevel(3'600'000'000u, 4'000'000'000u), 1.0f);
    // A second of release is 60,000,000 samples: -30 dB half way through.
    EXPECT_TRUE(IsGain(envelope.GetLevel(3'630'000'000u, 3'600'000'000u), -30));
}

TEST(Envelope, OddReleasesAndSilentHoldsStayFinite) {
    // A negative release is no release time.
    CEnvelope negative = MakeEnvelope({{0, 0}}, -5);
    negative.Initialize(44100, false);
    negative.GetLevel(10, 10);
    EXPECT_TRUE(IsGain(negative.GetLevel(11, 10), -60));

    // A linear hold whose amplitude underflows to 0 releases into silence, not NaN.
    CEnvelope silent = MakeEnvelope({{0, -32768}}, 100);
    silent.SetLinear(0, true);
    silent.Initialize(44100, false);
    EXPECT_EQ(silent.GetLevel(5, 5), 0.0f);
    EXPECT_EQ(silent.GetLevel(50, 5), 0.0f);
}
