#include "sample/Resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <random>
#include <vector>

namespace {
struct Output {
    std::vector<float> out;
    double phase = 0;
};

// Runs a kernel over `source` (exactly sized, so that AddressSanitizer sees any read beyond it).
template <class Kernel>
Output Resampled(Kernel kernel, const std::vector<std::int16_t>& source, int channels, std::uint32_t frames,
                 double step, double phase = 0) {
    Output run;
    run.out.assign(std::size_t{frames} * channels, -12345.0f);
    ResampleParams params{source.data(), static_cast<std::uint32_t>(source.size() / channels),
                          channels,      run.out.data(),
                          frames,        channels,
                          phase,         step};
    kernel(params);
    run.phase = params.phase;
    return run;
}

const auto kLinear = [](ResampleParams& p) { ResampleLinear(p); };
const auto kDropHold = [](ResampleParams& p) { ResampleDropHold(p); };
const auto kBandlimited = [](ResampleParams& p) { ResampleBandlimited(p); };

std::vector<std::int16_t> RandomAudio(std::size_t count, int amplitude, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> value(-amplitude, amplitude);
    std::vector<std::int16_t> audio(count);
    for (std::int16_t& sample : audio)
        sample = static_cast<std::int16_t>(value(random));
    return audio;
}

// Bit patterns, so that comparisons tell -0 from +0.
std::vector<std::uint32_t> Bits(const std::vector<float>& values) {
    std::vector<std::uint32_t> bits;
    for (float value : values)
        bits.push_back(std::bit_cast<std::uint32_t>(value));
    return bits;
}

// The bandlimited kernel written out the plainest way, frame by frame, for the kernel to match.
std::vector<float> PlainBandlimited(const std::vector<std::int16_t>& source, int channels,
                                    std::uint32_t count, double step, double phase = 0) {
    auto sinc = [](float u) {
        int k = std::clamp(static_cast<int>(std::floor(u)), 0, 48);
        return SincTable()[k] + (u - static_cast<float>(k)) * SincSlopes()[k];
    };
    float c = step > 1.0 ? static_cast<float>(0.4 / step) : 0.4f;
    float s = 16 * c;
    auto frames = static_cast<long long>(source.size()) / channels;
    auto i = static_cast<long long>(std::floor(phase));
    auto f = static_cast<float>(phase - std::floor(phase));
    std::vector<float> out;
    for (std::uint32_t n = 0; n < count; ++n) {
        float a = (c * f * -0.33333334f + 0.5f) * 48;
        long long before = std::min(static_cast<long long>(std::trunc(a / s)), i);
        float u = a - static_cast<float>(before) * s;
        auto m = static_cast<long long>(std::trunc((48 - u) / s + 1));
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
    EXPECT_NEAR(table[20], (2 / M_PI) * (0.54 - 0.46 * std::cos(20 * M_PI / 24)), 1e-6);
    EXPECT_LT(table[12], 0.0f) << "the first side lobe is negative";
    EXPECT_EQ(SincSlopes()[48], 0.0f);
}

TEST_F(Resampling, TheExamplesOfRampsAndHalvedRates) {
    Output ramp = Resampled(kLinear, {0, 100, 200}, 1, 6, 0.5);
    EXPECT_EQ(ramp.out, (std::vector<float>{0, 50, 100, 150, 200, 200}))
        << "past the end reads the last sample";
    EXPECT_EQ(ramp.phase, 3.0);
    Output stereo = Resampled(kLinear, {0, 1000, 100, -1000, 200, 3000}, 2, 4, 0.5);
    EXPECT_EQ(stereo.out, (std::vector<float>{0, 1000, 50, 0, 100, -1000, 150, 1000}));
    Output halved = Resampled(kDropHold, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 1, 5, 2.0);
    EXPECT_EQ(halved.out, (std::vector<float>{1, 3, 5, 7, 9}));
    EXPECT_EQ(Resampled(kDropHold, {1, -1, 2, -2, 3, -3}, 2, 5, 0.6).out,
              (std::vector<float>{1, -1, 1, -1, 2, -2, 2, -2, 3, -3}));
}

// The fast kernels must store exactly what the extended-precision loop stores, whole or block by
// block, including the rare values that sit on a rounding boundary of the float.
TEST_F(Resampling, TheFastKernelsStoreWhatTheExtendedLoopStores) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> anyStep(0.01, 6.0);
    std::vector<double> steps{44100.0 / 48000,
                              48000.0 / 44100,
                              0.5,
                              2.0,
                              1.0 / 3,
                              22050.0 / 96000,
                              std::pow(2.0, 1.0 / 12),
                              96000.0 / 4000,
                              3e-4,
                              anyStep(random),
                              anyStep(random)};
    for (int channels : {1, 2})
        for (int amplitude : {3, 300, 32767})
            for (double step : steps)
                for (double phase : {0.0, 0.375, 17.1}) {
                    auto source = RandomAudio(std::size_t{800} * channels, amplitude, amplitude + channels);
                    auto frames = static_cast<std::uint32_t>(std::min(800 / step + 3, 8000.0));
                    Output linear = Resampled(kLinear, source, channels, frames, step, phase);
                    Output extended =
                        Resampled(ResampleLinearExtended, source, channels, frames, step, phase);
                    ASSERT_EQ(Bits(linear.out), Bits(extended.out))
                        << step << " " << phase << " " << amplitude;
                    EXPECT_EQ(linear.phase, extended.phase);
                    Output held = Resampled(kDropHold, source, channels, frames, step, phase);
                    ASSERT_EQ(
                        Bits(held.out),
                        Bits(Resampled(ResampleDropHoldExtended, source, channels, frames, step, phase).out));
                    if (phase != 0 || amplitude != 300)
                        continue;
                    std::vector<float> gathered;
                    Resampled(
                        [&](ResampleParams& p) {
                            p.destination = nullptr;
                            ResampleLinearInBlocks(
                                p, [&](const float* values, std::uint32_t first, std::uint32_t count) {
                                    EXPECT_EQ(first, gathered.size() / channels) << "blocks come in order";
                                    gathered.insert(gathered.end(), values, values + count * channels);
                                });
                        },
                        source, channels, frames, step);
                    ASSERT_EQ(Bits(gathered), Bits(linear.out)) << step;
                }
}

TEST_F(Resampling, TheBandlimitedKernelStoresWhatThePlainLoopStores) {
    for (int channels : {1, 2})
        for (double step : {44100.0 / 48000, 48000.0 / 44100, 0.5, 2.0, 1.0 / 3, 5.5125, 37.0}) {
            // Long enough, at one step, for the kernel's converted span to move along the source.
            std::size_t length = step < 1 && step > 0.9 ? 40000 : 8000;
            std::vector<std::int16_t> source = RandomAudio(length * channels, 32767, 13);
            auto frames = static_cast<std::uint32_t>(static_cast<double>(length) / step);
            Output run = Resampled(kBandlimited, source, channels, frames, step);
            ASSERT_EQ(Bits(run.out), Bits(PlainBandlimited(source, channels, frames, step))) << step;
        }
}

// Both forms of the kernel against the plain loop where their paths part: windows of frames that
// lie close together or far apart, lane groups cut short by the end of the output, frames whose
// windows run past the source's end or start before its first frame, sources shorter than one
// window, phases far into the source, and downsampling with hundreds or tens of thousands of taps
// per frame.
TEST_F(Resampling, BothBandlimitedFormsStoreWhatThePlainLoopStores) {
    struct Case {
        double step;
        std::size_t length;
        std::uint32_t frames;
        double phase;
    };
    const std::vector<Case> cases{{44100.0 / 48000, 3000, 3270, 0},
                                  {44100.0 / 48000, 3000, 3277, 123.456},
                                  {48000.0 / 44100, 3000, 2763, 0.5},
                                  {1.0, 500, 509, 0},
                                  {1.9, 2000, 1057, 3.75},
                                  {2.0, 2000, 1001, 0},
                                  {2.3, 2000, 870, 0.1},
                                  {3.0, 2000, 675, 7.25},
                                  {0.25, 300, 1205, 0},
                                  {0.05, 40, 803, 0.999},
                                  {37.0, 5000, 140, 0},
                                  {150.0, 20000, 135, 11.0},
                                  {44100.0 / 48000, 3, 9, 0},
                                  {2.0, 5, 7, 0},
                                  {44100.0 / 48000, 1000, 500, 900.3},
                                  {6000.0, 200000, 33, 0},
                                  {70000.0, 300000, 4, 0.5}};
    for (int channels : {1, 2})
        for (const Case& c : cases) {
            std::vector<std::int16_t> source = RandomAudio(c.length * channels, 32767, 21);
            std::vector<float> plain = PlainBandlimited(source, channels, c.frames, c.step, c.phase);
            Output fast = Resampled(kBandlimited, source, channels, c.frames, c.step, c.phase);
            Output portable = Resampled([](ResampleParams& p) { ResampleBandlimitedPortable(p); }, source,
                                        channels, c.frames, c.step, c.phase);
            ASSERT_EQ(Bits(fast.out), Bits(plain)) << channels << " " << c.step << " " << c.phase;
            ASSERT_EQ(Bits(portable.out), Bits(plain)) << channels << " " << c.step << " " << c.phase;
            EXPECT_EQ(fast.phase, portable.phase);
        }
}

// With exactly sized buffers, AddressSanitizer fails this test at any read past the audio or the
// table; the values past the end are the last frame's, and an empty source reads as silence.
TEST_F(Resampling, NoMethodReadsBeyondTheAudio) {
    for (int channels : {1, 2})
        for (std::size_t frames : {0u, 1u, 2u, 3u, 10u, 101u})
            for (double step : {0.1, 0.5, 0.91875, 1.0, 1.0884353741496597, 2.0, 7.3})
                for (int method = 0; method < 3; ++method) {
                    std::vector<std::int16_t> source = RandomAudio(frames * channels, 32767, 3);
                    auto count = static_cast<std::uint32_t>(static_cast<double>(frames) / step) + 4;
                    Output run = method == 0   ? Resampled(kLinear, source, channels, count, step)
                                 : method == 1 ? Resampled(kDropHold, source, channels, count, step)
                                               : Resampled(kBandlimited, source, channels, count, step);
                    for (std::uint32_t c = 0; method < 2 && c < static_cast<std::uint32_t>(channels); ++c)
                        EXPECT_EQ(run.out[(count - 1) * channels + c],
                                  frames ? source[(frames - 1) * channels + c] : 0);
                    EXPECT_TRUE(std::all_of(run.out.begin(), run.out.end(), [&](float v) {
                        return std::isfinite(v) && v != -12345.0f && (frames || v == 0);
                    }));
                }
}

TEST_F(Resampling, TheBandlimitedCutoffFallsOnlyWhenTheRateGoesDown) {
    EXPECT_EQ(BandlimitedCutoff(0.5), 0.4f);
    EXPECT_EQ(BandlimitedCutoff(1.0), 0.4f);
    EXPECT_EQ(BandlimitedCutoff(2.0), 0.2f);
}

TEST_F(Resampling, ProgressCountsFramesThatAreFinal) {
    std::vector<std::int16_t> source = RandomAudio(200000, 20000, 5);
    for (auto kernel : {ResampleLinear, ResampleDropHold, ResampleBandlimited}) {
        std::vector<std::uint32_t> reports;
        std::vector<float> seen;
        Output run = Resampled(
            [&](ResampleParams& p) {
                kernel(p, [&](std::uint32_t done) {
                    reports.push_back(done);
                    seen.push_back(p.destination[done - 1]);
                });
            },
            source, 1, 150000, 200000.0 / 150000);
        ASSERT_GE(reports.size(), 2u);
        EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
        EXPECT_EQ(reports.back(), 150000u);
        for (std::size_t k = 0; k < reports.size(); ++k)
            EXPECT_EQ(seen[k], run.out[reports[k] - 1])
                << "frame " << reports[k] << " changed after its report";
    }
}

TEST(ResampledToSamples, ValuesRoundHalfUpAndWrapBeyondSixteenBits) {
    const std::vector<float> work{-2.5f, -3.0f, 0.49999997f, 2.5f, 32767.5f, 40000.0f, -32768.6f, -0.5f};
    std::vector<std::int16_t> samples(work.size()), slow(work.size());
    StoreResampled(work.data(), work.size(), 1.0f, 40000.0f, samples.data());
    EXPECT_EQ(samples, (std::vector<std::int16_t>{-2, -3, 0, 3, -32768, -25536, 32767, 0}));
    StoreResampled(work.data(), work.size(), 1.0f, 1e30f, slow.data());
    EXPECT_EQ(slow, samples) << "the path for huge values agrees";
    // Values too large for the quick path keep the low 16 bits of their whole number.
    const std::vector<float> huge{1.5e9f, -1.5e9f, 1e30f};
    StoreResampled(huge.data(), huge.size(), 2.0f, 1e30f, samples.data());
    EXPECT_EQ(std::vector<std::int16_t>(samples.begin(), samples.begin() + 3),
              (std::vector<std::int16_t>{static_cast<std::int16_t>(3000000000LL % 65536),
                                         static_cast<std::int16_t>(-(3000000000LL % 65536)), 0}));

    std::vector<float> peaks{-5.0f, 3.0f, -0.0f, 2.0f};
    WorkPeaks measured = MeasureWork(peaks.data(), peaks.size());
    EXPECT_EQ(std::pair(measured.positive, measured.magnitude), std::pair(3.0f, 5.0f));
    measured = MeasureWork(peaks.data(), 1);
    EXPECT_EQ(std::pair(measured.positive, measured.magnitude), std::pair(0.0f, 5.0f));
}
