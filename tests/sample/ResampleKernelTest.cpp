#include "sample/Resample.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    for (int i = 0; i < 3; ++i)
        steps.push_back(anyStep(random));
    for (int channels : {1, 2})
        for (int amplitude : {3, 300, 32767})
            for (double step : steps)
                for (double phase : {0.0, 0.375, 17.1}) {
                    std::vector<std::int16_t> source =
                        RandomAudio(std::size_t{step < 0.01 ? 5u : 800u} * channels, amplitude,
                                    static_cast<unsigned>(amplitude + channels));
                    auto frames = static_cast<std::uint32_t>(
                        std::min(static_cast<double>(source.size()) / channels / step + 3, 8000.0));
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

TEST_F(Resampling, BlockByBlockTheKernelsGiveTheSameValues) {
    std::vector<std::int16_t> source = RandomAudio(2 * 30000, 30000, 9);
    // One step the fixed-point walk follows, one it leaves to the extended loop.
    for (double step : {44100.0 / 48000, 1e-4 * 3})
        for (auto [whole, blocks] : {std::pair{&ResampleLinear, &ResampleLinearInBlocks},
                                     std::pair{&ResampleDropHold, &ResampleDropHoldInBlocks}}) {
            auto frames = static_cast<std::uint32_t>(std::min(30000 / step, 70000.0));
            Output expected = Resampled(whole, source, 2, frames, step);
            std::vector<float> gathered;
            ResampleParams params;
            params.source = source.data();
            params.sourceFrames = 30000;
            params.sourceChannels = params.destinationChannels = 2;
            params.destinationFrames = frames;
            params.step = step;
            blocks(params, [&](const float* values, std::uint32_t first, std::uint32_t count) {
                EXPECT_EQ(first, gathered.size() / 2) << "blocks come in order";
                gathered.insert(gathered.end(), values, values + 2 * count);
            });
            EXPECT_EQ(Bits(gathered), Bits(expected.out)) << step;
            EXPECT_EQ(params.phase, expected.phase);
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

// The bandlimited kernel written out frame by frame, the plainest way, for the kernel to match.
std::vector<float> PlainBandlimited(const std::vector<std::int16_t>& source, int channels,
                                    std::uint32_t count, double step) {
    const auto& table = SincTable();
    const auto& slopes = SincSlopes();
    auto sinc = [&](float u) {
        int k = std::clamp(static_cast<int>(std::floor(u)), 0, 48);
        return table[k] + (u - static_cast<float>(k)) * slopes[k];
    };
    float c = step > 1.0 ? static_cast<float>(0.4 / step) : 0.4f;
    float s = 16 * c;
    auto frames = static_cast<long long>(source.size()) / channels;
    long long i = 0;
    float f = 0;
    std::vector<float> out;
    for (std::uint32_t n = 0; n < count; ++n) {
        float a = (c * f * -0.33333334f + 0.5f) * 48;
        long long before = std::min(static_cast<long long>(std::trunc(a / s)), i);
        float u = a - static_cast<float>(before) * s;
        long long m = static_cast<long long>(std::trunc((48 - u) / s + 1));
        for (int ch = 0; ch < channels; ++ch) {
            float sum = 0, v = u;
            for (long long j = i - before; j < i - before + m && j < frames; ++j, v += s)
                sum += static_cast<float>(source[j * channels + ch]) * sinc(v);
            out.push_back(sum);
        }
        double x = step + f;
        i += static_cast<long long>(std::trunc(x));
        f = static_cast<float>(x - std::trunc(x));
    }
    return out;
}

TEST_F(Resampling, TheBandlimitedKernelStoresWhatThePlainLoopStores) {
    for (int channels : {1, 2})
        for (double step : {44100.0 / 48000, 48000.0 / 44100, 0.5, 2.0, 1.0 / 3, 5.5125, 37.0}) {
            // Long enough, at one step, for the kernel's converted span to move along the source.
            std::size_t length = step < 1 && step > 0.9 ? 40000 : 8000;
            std::vector<std::int16_t> source = RandomAudio(length * channels, 32767, 13);
            auto frames = static_cast<std::uint32_t>(static_cast<double>(length) / step);
            Output run = Resampled(ResampleBandlimited, source, channels, frames, step);
            ASSERT_EQ(Bits(run.out), Bits(PlainBandlimited(source, channels, frames, step))) << step;
        }
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

TEST_F(Resampling, ProgressCountsFramesThatAreFinal) {
    std::vector<std::int16_t> source = RandomAudio(200000, 20000, 5);
    for (Kernel kernel : {ResampleLinear, ResampleDropHold, ResampleBandlimited}) {
        std::vector<float> out;
        ResampleParams params = Params(source, 1, out, 150000, 200000.0 / 150000, 0);
        std::vector<std::uint32_t> reports;
        std::vector<float> seen;
        kernel(params, [&](std::uint32_t done) {
            reports.push_back(done);
            seen.push_back(out[done - 1]);
        });
        ASSERT_GE(reports.size(), 2u);
        EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
        EXPECT_EQ(reports.back(), 150000u);
        for (std::size_t k = 0; k < reports.size(); ++k)
            EXPECT_EQ(seen[k], out[reports[k] - 1])
                << "frame " << reports[k] << " changed after it was reported";
    }
}

TEST(ResampledToSamples, ValuesRoundHalfUpAndWrapBeyondSixteenBits) {
    const std::vector<float> work{-2.5f, -3.0f, 0.49999997f, 2.5f, 32767.5f, 40000.0f, -32768.6f, -0.5f};
    std::vector<std::int16_t> samples(work.size());
    StoreResampled(work.data(), work.size(), 1.0f, 40000.0f, samples.data());
    EXPECT_EQ(samples, (std::vector<std::int16_t>{-2, -3, 0, 3, -32768, -25536, 32767, 0}));

    // Values too large for the quick path keep the low 16 bits of their whole number.
    const std::vector<float> huge{1.5e9f, -1.5e9f, 1e30f};
    samples.resize(huge.size());
    StoreResampled(huge.data(), huge.size(), 2.0f, 1e30f, samples.data());
    EXPECT_EQ(samples, (std::vector<std::int16_t>{static_cast<std::int16_t>(3000000000LL % 65536),
                                                  static_cast<std::int16_t>(-(3000000000LL % 65536)), 0}));
}

TEST(ResampledToSamples, BothPathsAgreeWhereTheyOverlap) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> value(-50000.0f, 50000.0f);
    std::vector<float> work(5000);
    for (float& w : work)
        w = value(random);
    work[17] = 0.5f, work[18] = -0.5f, work[19] = -1.5f;
    for (float scale : {1.0f, 0.8123f, 1.7f}) {
        std::vector<std::int16_t> quick(work.size()), exact(work.size());
        StoreResampled(work.data(), work.size(), scale, 50000.0f, quick.data());
        StoreResampled(work.data(), work.size(), scale, 1e30f, exact.data());
        EXPECT_EQ(quick, exact) << scale;
        for (std::size_t i = 0; i < work.size(); ++i)
            ASSERT_EQ(exact[i], static_cast<std::int16_t>(static_cast<std::int64_t>(
                                    std::floor(static_cast<double>(work[i]) * scale + 0.5))));
    }
}

TEST(ResampledToSamples, PeaksAreThePositiveMaximumAndTheLargestMagnitude) {
    std::vector<float> work{-5.0f, 3.0f, -0.0f, 2.0f};
    WorkPeaks peaks = MeasureWork(work.data(), work.size());
    EXPECT_EQ(std::pair(peaks.positive, peaks.magnitude), std::pair(3.0f, 5.0f));
    work = {-5.0f, -1.0f, -7.5f};
    peaks = MeasureWork(work.data(), work.size());
    EXPECT_EQ(std::pair(peaks.positive, peaks.magnitude), std::pair(0.0f, 7.5f));
}
