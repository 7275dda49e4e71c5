#include "sample/PitchEstimator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

enum class Wave { Sine, Square, Saw, Triangle };

std::string WaveName(Wave wave) {
    const char* names[] = {"Sine", "Square", "Saw", "Triangle"};
    return names[static_cast<int>(wave)];
}

// A band-limited tone: every harmonic of the waveform's series that lies below half the rate, summed with
// the sine recurrence sin((h + 1)t) = 2 cos t sin(ht) - sin((h - 1)t). Peak scaled to `peak`.
std::vector<double> Tone(Wave wave, double hz, double rate, std::size_t frames, double peak) {
    const int harmonics = wave == Wave::Sine ? 1 : static_cast<int>(std::ceil(rate / 2 / hz)) - 1;
    std::vector<double> weight(static_cast<std::size_t>(harmonics) + 1, 0.0);
    for (int h = 1; h <= harmonics; ++h) {
        const bool odd = h % 2 == 1;
        if (wave == Wave::Sine || wave == Wave::Saw)
            weight[h] = 1.0 / h;
        else if (wave == Wave::Square)
            weight[h] = odd ? 1.0 / h : 0;
        else
            weight[h] = odd ? ((h / 2) % 2 == 0 ? 1.0 : -1.0) / (h * h) : 0;
    }
    std::vector<double> out(frames);
    const double cycles = hz / rate;
    for (std::size_t n = 0; n < frames; ++n) {
        double phase = static_cast<double>(n) * cycles + 0.137;
        double t = 2 * std::numbers::pi * (phase - std::floor(phase));
        double twoCos = 2 * std::cos(t);
        double previous = 0;
        double current = std::sin(t);
        double sum = 0;
        for (int h = 1; h <= harmonics; ++h) {
            sum += weight[h] * current;
            double next = twoCos * current - previous;
            previous = current;
            current = next;
        }
        out[n] = sum;
    }
    double top = 0;
    for (double v : out)
        top = std::max(top, std::abs(v));
    for (double& v : out)
        v *= peak / top;
    return out;
}

// Seeded Gaussian noise (Box-Muller over a fixed generator, so every platform gets the same values).
std::vector<double> Noise(std::size_t frames, double sigma, std::uint32_t seed) {
    std::mt19937 random(seed);
    auto uniform = [&] { return (static_cast<double>(random()) + 0.5) / 4294967296.0; };
    std::vector<double> out(frames);
    for (std::size_t i = 0; i < frames; i += 2) {
        double radius = sigma * std::sqrt(-2 * std::log(uniform()));
        double angle = 2 * std::numbers::pi * uniform();
        out[i] = radius * std::cos(angle);
        if (i + 1 < frames)
            out[i + 1] = radius * std::sin(angle);
    }
    return out;
}

// Adds noise whose power is `snrDb` below the signal's.
void AddNoise(std::vector<double>& signal, double snrDb, std::uint32_t seed) {
    double power = 0;
    for (double v : signal)
        power += v * v;
    power /= static_cast<double>(signal.size());
    std::vector<double> noise = Noise(signal.size(), std::sqrt(power / std::pow(10.0, snrDb / 10)), seed);
    for (std::size_t i = 0; i < signal.size(); ++i)
        signal[i] += noise[i];
}

std::int16_t ToSample(double v) {
    return static_cast<std::int16_t>(std::clamp(std::lround(v), -32768L, 32767L));
}

// Interleaved audio; the second channel, when given, goes beside the first.
std::vector<std::int16_t> Interleave(const std::vector<double>& first, const std::vector<double>* second) {
    std::vector<std::int16_t> out;
    out.reserve(first.size() * (second ? 2 : 1));
    for (std::size_t i = 0; i < first.size(); ++i) {
        out.push_back(ToSample(first[i]));
        if (second)
            out.push_back(ToSample((*second)[i]));
    }
    return out;
}

double Cents(double estimate, double truth) {
    return 1200 * std::log2(estimate / truth);
}

std::uint32_t FrameCount(const std::vector<std::int16_t>& audio, bool stereo) {
    return static_cast<std::uint32_t>(audio.size() / (stereo ? 2 : 1));
}

const double kFrequencies[] = {30, 43.7, 98.6, 220, 440, 739.99, 1318.51, 2637.02, 3520, 4000};

class PitchEstimatorTones : public ::testing::TestWithParam<std::tuple<Wave, std::uint32_t, bool>> {};

TEST_P(PitchEstimatorTones, EveryGuessIsWithinFiveCents) {
    const auto [wave, rate, noisy] = GetParam();
    const std::uint32_t markStart = 1234;
    const std::uint32_t markLength = rate / 10;
    const std::size_t frames = markStart + markLength + 100;
    double worst = 0;
    std::uint32_t seed = 1;
    for (double hz : kFrequencies) {
        std::vector<double> first = Tone(wave, hz, rate, frames, 20000);
        if (noisy)
            AddNoise(first, 30, seed++);
        // A loud tone at an unrelated pitch in the second channel must not disturb the first.
        std::vector<double> second = Tone(Wave::Sine, hz * 1.37, rate, frames, 30000);
        for (bool stereo : {false, true}) {
            std::vector<std::int16_t> audio = Interleave(first, stereo ? &second : nullptr);
            std::optional<double> guess =
                EstimatePitch(audio.data(), FrameCount(audio, stereo), stereo, rate, markStart, markLength);
            ASSERT_TRUE(guess.has_value()) << hz << " Hz, stereo " << stereo;
            double cents = Cents(*guess, hz);
            EXPECT_LT(std::abs(cents), 5) << hz << " Hz, stereo " << stereo << ": guessed " << *guess;
            worst = std::max(worst, std::abs(cents));
        }
    }
    RecordProperty("worst_cents", std::to_string(worst));
}

INSTANTIATE_TEST_SUITE_P(Tones, PitchEstimatorTones,
                         ::testing::Combine(::testing::Values(Wave::Sine, Wave::Square, Wave::Saw,
                                                              Wave::Triangle),
                                            ::testing::Values(44100u, 22050u), ::testing::Bool()),
                         [](const auto& info) {
                             return WaveName(std::get<0>(info.param)) + "_" +
                                    std::to_string(std::get<1>(info.param)) +
                                    (std::get<2>(info.param) ? "_Noisy" : "_Clean");
                         });

std::vector<std::int16_t> MonoTone(double hz, std::uint32_t rate, std::size_t frames) {
    return Interleave(Tone(Wave::Saw, hz, rate, frames, 20000), nullptr);
}

TEST(PitchEstimator, NeedsRateOverTwentyFramesAfterTheMarkStart) {
    const std::vector<std::int16_t> audio = MonoTone(440, 44100, 10000);
    struct Case {
        std::uint32_t markStart;
        PitchEstimateOutcome outcome;
    };
    const Case cases[] = {
        {10000 - 2204, PitchEstimateOutcome::TooCloseToEnd},
        {10000 - 2205, PitchEstimateOutcome::Found},
        {9999, PitchEstimateOutcome::TooCloseToEnd},
        {10000, PitchEstimateOutcome::TooCloseToEnd},
        {10001, PitchEstimateOutcome::TooCloseToEnd},
        {std::numeric_limits<std::uint32_t>::max(), PitchEstimateOutcome::TooCloseToEnd},
    };
    for (const Case& c : cases) {
        // The mark reaches past the end: the search must still stay inside the audio.
        PitchEstimate estimate = EstimatePitchDetailed(audio.data(), 10000, false, 44100, c.markStart, 4410);
        EXPECT_EQ(estimate.outcome, c.outcome) << c.markStart;
        if (c.outcome == PitchEstimateOutcome::Found)
            EXPECT_LT(std::abs(Cents(estimate.hz, 440)), 5);
        else
            EXPECT_FALSE(EstimatePitch(audio.data(), 10000, false, 44100, c.markStart, 4410).has_value());
    }
}

TEST(PitchEstimator, RatesBelowFourThousandCannotBeSearched) {
    const std::vector<std::int16_t> audio = MonoTone(100, 4000, 2000);
    for (std::uint32_t rate : {0u, 1u, 20u, 3999u}) {
        EXPECT_EQ(EstimatePitchDetailed(audio.data(), 2000, false, rate, 0, 2000).outcome,
                  PitchEstimateOutcome::RateTooLow)
            << rate;
    }
    // At 4000 Hz the shortest lag is a single frame and the longest 200.
    std::optional<double> guess = EstimatePitch(audio.data(), 2000, false, 4000, 100, 1000);
    ASSERT_TRUE(guess.has_value());
    EXPECT_LT(std::abs(Cents(*guess, 100)), 5);
}

TEST(PitchEstimator, TinyInputsGiveNothing) {
    const std::int16_t one[2] = {1000, -1000};
    EXPECT_EQ(EstimatePitchDetailed(nullptr, 0, false, 44100, 0, 0).outcome,
              PitchEstimateOutcome::TooCloseToEnd);
    EXPECT_EQ(EstimatePitchDetailed(nullptr, 0, true, 0, 0, 0).outcome, PitchEstimateOutcome::RateTooLow);
    EXPECT_EQ(EstimatePitchDetailed(one, 1, false, 44100, 0, 1).outcome, PitchEstimateOutcome::TooCloseToEnd);
    EXPECT_EQ(EstimatePitchDetailed(one, 1, true, 44100, 0, 1).outcome, PitchEstimateOutcome::TooCloseToEnd);
    EXPECT_FALSE(EstimatePitch(one, 1, true, 8000, 0, 1).has_value());
}

TEST(PitchEstimator, MarkMustHoldTwoOfTheShortestPeriods) {
    const std::vector<std::int16_t> audio = MonoTone(1000, 44100, 6000);
    for (std::uint32_t length : {0u, 1u, 21u})
        EXPECT_EQ(EstimatePitchDetailed(audio.data(), 6000, false, 44100, 0, length).outcome,
                  PitchEstimateOutcome::MarkTooShort)
            << length;
    EXPECT_NE(EstimatePitchDetailed(audio.data(), 6000, false, 44100, 0, 22).outcome,
              PitchEstimateOutcome::MarkTooShort);
}

TEST(PitchEstimator, ShortMarkOnlyFindsPeriodsUpToHalfItsLength) {
    // A 100-frame mark at 44100 Hz compares lags of 11 .. 50 frames only.
    struct Case {
        double hz;
        std::uint32_t markLength;
        bool found;
    };
    const Case cases[] = {
        {1000, 100, true},                    // period 44.1 frames
        {2500, 100, true}, {200, 100, false}, // period 220.5 frames
        {600, 100, false},                    // period 73.5 frames
        {200, 4410, true}, {600, 4410, true},
    };
    for (const Case& c : cases) {
        const std::vector<std::int16_t> audio = MonoTone(c.hz, 44100, 8000);
        PitchEstimate estimate = EstimatePitchDetailed(audio.data(), 8000, false, 44100, 500, c.markLength);
        if (c.found) {
            ASSERT_EQ(estimate.outcome, PitchEstimateOutcome::Found) << c.hz << " " << c.markLength;
            EXPECT_LT(std::abs(Cents(estimate.hz, c.hz)), 5) << c.hz << " " << c.markLength;
        } else {
            EXPECT_EQ(estimate.outcome, PitchEstimateOutcome::NoPeriod) << c.hz << " " << c.markLength;
        }
    }
}

TEST(PitchEstimator, AudioThatNeverRepeatsHasNoPitch) {
    const std::size_t frames = 9000;
    const std::vector<double> noise = Noise(frames, 8000, 7);
    const std::vector<std::vector<std::int16_t>> inputs = {
        std::vector<std::int16_t>(frames, 0),
        std::vector<std::int16_t>(frames, 1234),
        Interleave(noise, nullptr),
    };
    for (const auto& audio : inputs) {
        EXPECT_EQ(EstimatePitchDetailed(audio.data(), frames, false, 44100, 100, 4410).outcome,
                  PitchEstimateOutcome::NoPeriod);
        EXPECT_EQ(EstimatePitchDetailed(audio.data(), frames, false, 44100, 100, 100).outcome,
                  PitchEstimateOutcome::NoPeriod);
    }
}

} // namespace
