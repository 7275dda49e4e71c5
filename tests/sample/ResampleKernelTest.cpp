#include "sample/Resample.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>
#include <vector>

namespace {
// Runs a kernel over `source` (exactly sized, so that AddressSanitizer sees any read beyond it)
// for `frames` destination frames.
struct Output {
    std::vector<float> out;
    double phase = 0;
};

using Kernel = void (*)(ResampleParams&, const ResampleProgress&);
using PlainKernel = void (*)(ResampleParams&);

ResampleParams Params(const std::vector<std::int16_t>& source, int channels, std::vector<float>& out,
                      std::uint32_t frames, double step, double phase) {
    out.assign(std::size_t{frames} * channels, -12345.0f);
    ResampleParams params;
    params.source = source.data();
    params.sourceFrames = static_cast<std::uint32_t>(source.size() / channels);
    params.sourceChannels = channels;
    params.destination = out.data();
    params.destinationFrames = frames;
    params.destinationChannels = channels;
    params.phase = phase;
    params.step = step;
    return params;
}

Output Resampled(Kernel kernel, const std::vector<std::int16_t>& source, int channels, std::uint32_t frames,
                 double step, double phase = 0) {
    Output run;
    ResampleParams params = Params(source, channels, run.out, frames, step, phase);
    kernel(params, nullptr);
    run.phase = params.phase;
    return run;
}

Output Resampled(PlainKernel kernel, const std::vector<std::int16_t>& source, int channels,
                 std::uint32_t frames, double step, double phase = 0) {
    Output run;
    ResampleParams params = Params(source, channels, run.out, frames, step, phase);
    kernel(params);
    run.phase = params.phase;
    return run;
}

std::vector<std::int16_t> RandomAudio(std::size_t count, int amplitude, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> value(-amplitude, amplitude);
    std::vector<std::int16_t> audio(count);
    for (std::int16_t& sample : audio)
        sample = static_cast<std::int16_t>(value(random));
    return audio;
}

std::vector<std::uint32_t> Bits(const std::vector<float>& values) {
    std::vector<std::uint32_t> bits;
    for (float value : values)
        bits.push_back(std::bit_cast<std::uint32_t>(value));
    return bits;
}

class Resampling : public ::testing::Test {
protected:
    static void SetUpTestSuite() { BuildSincTable(); }
};
} // namespace

TEST_F(Resampling, TheSincTableIsAHammingWindowedSincWithAZeroEveryEightPoints) {
    const auto& table = SincTable();
    EXPECT_EQ(table[24], 1.0f);
    for (int b = 1; b <= 24; ++b)
        EXPECT_EQ(table[24 - b], table[24 + b]) << b;
    for (int b : {8, 16, 24})
        EXPECT_NEAR(table[24 + b], 0.0, 1e-7) << b;
    // Half way to the first zero: sinc(π/2) under the window's value 20 points from its start.
    double window = 0.54 - 0.46 * std::cos(20 * M_PI / 24);
    EXPECT_NEAR(table[20], (1 / (M_PI / 2)) * window, 1e-6);
    EXPECT_LT(table[24 - 12], 0.0f) << "the first side lobe is negative";
    const auto& slopes = SincSlopes();
    EXPECT_NEAR(slopes[20], table[21] - table[20], 0.0);
    EXPECT_EQ(slopes[48], 0.0f);
    EXPECT_TRUE(IsSincTableBuilt());
}

TEST_F(Resampling, DoublingTheRateOfARampInterpolatesBetweenItsSamples) {
    Output run = Resampled(ResampleLinear, {0, 100, 200}, 1, 6, 0.5);
    EXPECT_EQ(run.out, (std::vector<float>{0, 50, 100, 150, 200, 200}))
        << "past the end reads the last sample";
    EXPECT_EQ(run.phase, 3.0);

    Output stereo = Resampled(ResampleLinearStereo, {0, 1000, 100, -1000, 200, 3000}, 2, 4, 0.5);
    EXPECT_EQ(stereo.out, (std::vector<float>{0, 1000, 50, 0, 100, -1000, 150, 1000}));
}

TEST_F(Resampling, HalvingTheRateWithDropHoldKeepsEveryOtherSample) {
    Output run = Resampled(ResampleDropHold, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 1, 5, 2.0);
    EXPECT_EQ(run.out, (std::vector<float>{1, 3, 5, 7, 9}));
    EXPECT_EQ(run.phase, 10.0);

    Output slower = Resampled(ResampleDropHoldStereo, {1, -1, 2, -2, 3, -3}, 2, 5, 0.6);
    EXPECT_EQ(slower.out, (std::vector<float>{1, -1, 1, -1, 2, -2, 2, -2, 3, -3}));
}

TEST_F(Resampling, TheFormsRefuseParametersTheyCannotServe) {
    std::vector<std::int16_t> source{1, 2, 3, 4};
    std::vector<float> out;
    ResampleParams stereo = Params(source, 2, out, 2, 1.0, 0);
    EXPECT_THROW(ResampleLinearMono(stereo), std::invalid_argument);
    ResampleParams mono = Params(source, 1, out, 2, 1.0, 0);
    EXPECT_THROW(ResampleDropHoldStereo(mono), std::invalid_argument);
    for (double step : {0.0, -1.0, std::nan("")}) {
        ResampleParams bad = Params(source, 1, out, 2, step, 0);
        EXPECT_THROW(ResampleLinear(bad), std::invalid_argument) << step;
        EXPECT_THROW(ResampleBandlimited(bad), std::invalid_argument) << step;
    }
    ResampleParams mismatched = Params(source, 1, out, 2, 1.0, 0);
    mismatched.destinationChannels = 2;
    EXPECT_THROW(ResampleDropHold(mismatched), std::invalid_argument);
}

// The fast kernels must store exactly what the extended-precision loop stores, for any audio,
// step and phase, including the rare values that sit on a rounding boundary of the float.
TEST_F(Resampling, TheFastKernelsStoreWhatTheExtendedLoopStores) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> anyStep(0.01, 6.0);
    std::vector<double> steps{44100.0 / 48000,         48000.0 / 44100, 0.5, 2.0, 1.0 / 3, 22050.0 / 96000,
                              std::pow(2.0, 1.0 / 12), 96000.0 / 4000,  1e-4};
    for (int i = 0; i < 6; ++i)
        steps.push_back(anyStep(random));
    for (int channels : {1, 2})
        for (int amplitude : {3, 300, 32767})
            for (double step : steps)
                for (double phase : {0.0, 0.375, 17.1}) {
                    std::vector<std::int16_t> source =
                        RandomAudio(std::size_t{step < 0.01 ? 5u : 1500u} * channels, amplitude,
                                    static_cast<unsigned>(amplitude + channels));
                    auto frames = static_cast<std::uint32_t>(source.size() / channels / step) + 3;
                    Output fast = Resampled(ResampleLinear, source, channels, frames, step, phase);
                    Output extended =
                        Resampled(ResampleLinearExtended, source, channels, frames, step, phase);
                    ASSERT_EQ(Bits(fast.out), Bits(extended.out)) << step << " " << phase << " " << amplitude;
                    EXPECT_EQ(fast.phase, extended.phase);
                    Output held = Resampled(ResampleDropHold, source, channels, frames, step, phase);
                    Output heldExtended =
                        Resampled(ResampleDropHoldExtended, source, channels, frames, step, phase);
                    ASSERT_EQ(Bits(held.out), Bits(heldExtended.out)) << step << " " << phase;
                    EXPECT_EQ(held.phase, heldExtended.phase);
                }
}

// With exactly sized buffers, AddressSanitizer fails this test at any read past the audio or the
// table; the values past the end are the last frame's.
TEST_F(Resampling, NoMethodReadsBeyondTheAudio) {
    const Kernel kernels[] = {ResampleLinear, ResampleDropHold, ResampleBandlimited};
    for (int channels : {1, 2})
        for (std::size_t frames : {1u, 2u, 3u, 10u, 101u})
            for (double step : {0.1, 0.5, 0.91875, 1.0, 1.0884353741496597, 2.0, 7.3})
                for (Kernel kernel : kernels) {
                    std::vector<std::int16_t> source = RandomAudio(frames * channels, 32767, 3);
                    auto count = static_cast<std::uint32_t>(static_cast<double>(frames) / step);
                    Output run = Resampled(kernel, source, channels, count + 4, step);
                    for (float value : run.out)
                        ASSERT_TRUE(std::isfinite(value) && value != -12345.0f);
                    if (kernel == ResampleBandlimited)
                        continue;
                    for (int c = 0; c < channels; ++c)
                        EXPECT_EQ(run.out[(count + 3) * channels + c], source[(frames - 1) * channels + c]);
                }
}

TEST_F(Resampling, AnEmptySourceGivesSilence) {
    for (Kernel kernel : {ResampleLinear, ResampleDropHold, ResampleBandlimited}) {
        Output run = Resampled(kernel, {}, 1, 3, 0.5);
        EXPECT_EQ(run.out, (std::vector<float>{0, 0, 0}));
        EXPECT_EQ(run.phase, 1.5);
    }
}

TEST_F(Resampling, TheBandlimitedCutoffFallsOnlyWhenTheRateGoesDown) {
    EXPECT_EQ(BandlimitedCutoff(0.5), 0.4f);
    EXPECT_EQ(BandlimitedCutoff(1.0), 0.4f);
    EXPECT_EQ(BandlimitedCutoff(2.0), 0.2f);

    // A tone at 0.3 of the source rate passes while the rate rises, and is filtered out when the
    // rate halves (it would alias at the new rate); a low tone passes both.
    auto Gain = [](double cycles, double step) {
        std::vector<std::int16_t> tone(4000);
        for (std::size_t i = 0; i < tone.size(); ++i)
            tone[i] = static_cast<std::int16_t>(10000 * std::sin(2 * M_PI * cycles * static_cast<double>(i)));
        auto frames = static_cast<std::uint32_t>(tone.size() / step);
        Output run = Resampled(ResampleBandlimited, tone, 1, frames, step);
        double sum = 0;
        std::size_t from = run.out.size() / 4, to = 3 * run.out.size() / 4;
        for (std::size_t i = from; i < to; ++i)
            sum += run.out[i] * run.out[i];
        return std::sqrt(sum / static_cast<double>(to - from)) / (10000 / std::sqrt(2.0));
    };
    double low = Gain(0.02, 2.0);
    EXPECT_GT(Gain(0.3, 0.9) / Gain(0.02, 0.9), 0.5);
    EXPECT_LT(Gain(0.3, 2.0) / low, 0.02);
}

TEST_F(Resampling, TheBandlimitedSumsMatchTheWeightsTheyAreBuiltFrom) {
    // One impulse: each output is the weight of the windowed sinc at the impulse's distance, so the
    // output centred on it is the table's centre and the ones beside it follow the sinc's lobes.
    std::vector<std::int16_t> impulse(41, 0);
    impulse[20] = 1;
    Output same = Resampled(ResampleBandlimited, impulse, 1, 41, 1.0);
    EXPECT_NEAR(same.out[20], 1.0, 1e-6);
    EXPECT_NEAR(same.out[19], same.out[21], 1e-6);
    EXPECT_LT(same.out[18], 0.0f)
        << "a step of 1.25 frames per lobe puts frame 18 in the first negative lobe";
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(same.out[i], 0.0f) << "the window reaches 3.75 frames each side";
}

TEST_F(Resampling, ProgressIsReportedUpToTheEnd) {
    std::vector<std::int16_t> source(200000, 5);
    std::vector<float> out;
    ResampleParams params = Params(source, 1, out, 150000, 200000.0 / 150000, 0);
    std::vector<double> reports;
    ResampleBandlimited(params, [&](double fraction) { reports.push_back(fraction); });
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_LT(reports[0], reports[1]);
    EXPECT_EQ(reports.back(), 1.0);
}
