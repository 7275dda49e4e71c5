#include "sample/Resample.h"

#include "sample/ResampleRun.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

using namespace resample_run;

namespace {
// ---- Linear and drop/hold ----------------------------------------------------------------------
//
// The defining loop keeps the position as a whole frame and an extended-precision fraction that
// grows by `step`. When phase and step are binary fractions of at most `bits` bits and every sum
// the loop forms fits the 64-bit mantissa, that loop is exact, and a whole frame plus an integer
// count of 2^-bits follows it exactly.

// The fractional bits `x` (finite, ≥ 0) needs: the smallest k with x·2^k whole.
int FractionBits(double x) {
    if (x == 0)
        return 0;
    int exponent = 0;
    double mantissa = std::frexp(x, &exponent);
    auto whole = static_cast<std::uint64_t>(std::ldexp(mantissa, 53));
    return std::max(53 - exponent - std::countr_zero(whole), 0);
}

struct FixedPosition {
    std::uint64_t frame = 0;
    std::uint64_t fraction = 0; // in units of 2^-bits
    std::uint64_t stepFrames = 0;
    std::uint64_t stepFraction = 0;
    std::uint64_t mask = 0;
    int bits = 0;

    void Advance() {
        fraction += stepFraction;
        frame += stepFrames + (fraction >> bits);
        fraction &= mask;
    }
    long double Fraction() const { return std::ldexp(static_cast<long double>(fraction), -bits); }
    double Phase() const { return static_cast<double>(static_cast<long double>(frame) + Fraction()); }
};

std::optional<FixedPosition> ExactPosition(double phase, double step) {
    double phaseFrames = std::floor(phase);
    double stepFrames = std::floor(step);
    int bits = std::max(FractionBits(phase - phaseFrames), FractionBits(step - stepFrames));
    auto wholeStep = static_cast<std::uint64_t>(stepFrames);
    if (bits > 63 || static_cast<int>(std::bit_width(wholeStep + 1)) + bits > 64)
        return std::nullopt;
    FixedPosition position;
    position.bits = bits;
    position.mask = (std::uint64_t{1} << bits) - 1;
    position.frame = static_cast<std::uint64_t>(phaseFrames);
    position.fraction = static_cast<std::uint64_t>(std::ldexp(phase - phaseFrames, bits));
    position.stepFrames = wholeStep;
    position.stepFraction = static_cast<std::uint64_t>(std::ldexp(step - stepFrames, bits));
    return position;
}

// Values that the double-precision blend may miss by: it lies within 2^-35 of the exact blend of
// two 16-bit samples, and the extended one within 2^-47. When both ends of this margin round to
// the same float, so does the extended value.
constexpr double kBlendMargin = 0x1p-34;

// (1 − f)·a + f·b as the extended-precision loop stores it, f being `fraction`·2^-bits.
inline float Blend(int a, int b, double f, const FixedPosition& position) {
    if (a == b)
        return static_cast<float>(a);
    double blend = (1.0 - f) * a + f * b;
    auto low = static_cast<float>(blend - kBlendMargin);
    auto high = static_cast<float>(blend + kBlendMargin);
    if (low == high)
        return low;
    long double exact = position.Fraction();
    return static_cast<float>((1.0L - exact) * a + exact * b);
}

template <bool Linear, int Channels>
void FixedKernel(ResampleParams& params, FixedPosition position, BlockOutput& output) {
    const std::int16_t* source = params.source;
    const std::uint64_t last = params.sourceFrames - 1;
    const double unit = std::ldexp(1.0, -position.bits);
    output.Run<Channels>(params.destinationFrames, [&](std::uint32_t begin, std::uint32_t end, float* out) {
        for (std::uint32_t n = 0; n < end - begin; ++n) {
            std::uint64_t left = std::min(position.frame, last);
            const std::int16_t* a = source + left * Channels;
            if constexpr (Linear) {
                const std::int16_t* b = source + (position.frame < last ? left + 1 : last) * Channels;
                double f = static_cast<double>(position.fraction) * unit;
                for (int c = 0; c < Channels; ++c)
                    out[std::size_t{n} * Channels + c] = Blend(a[c], b[c], f, position);
            } else {
                for (int c = 0; c < Channels; ++c)
                    out[std::size_t{n} * Channels + c] = a[c];
            }
            position.Advance();
        }
    });
    params.phase = position.Phase();
}

template <bool Linear, int Channels> void ExtendedKernel(ResampleParams& params, BlockOutput& output) {
    const std::int16_t* source = params.source;
    const std::uint64_t last = params.sourceFrames - 1;
    const long double step = params.step;
    long double whole = std::floor(static_cast<long double>(params.phase));
    auto frame = static_cast<std::uint64_t>(whole);
    long double f = params.phase - whole;
    output.Run<Channels>(params.destinationFrames, [&](std::uint32_t begin, std::uint32_t end, float* out) {
        for (std::uint32_t n = 0; n < end - begin; ++n) {
            std::uint64_t left = std::min(frame, last);
            const std::int16_t* a = source + left * Channels;
            const std::int16_t* b = source + (frame < last ? left + 1 : last) * Channels;
            for (int c = 0; c < Channels; ++c)
                out[std::size_t{n} * Channels + c] =
                    Linear ? static_cast<float>((1.0L - f) * a[c] + f * b[c]) : static_cast<float>(a[c]);
            f = f + step;
            long double carry = std::floor(f);
            frame += static_cast<std::uint64_t>(carry);
            f = f - carry;
        }
    });
    params.phase = static_cast<double>(static_cast<long double>(frame) + f);
}

template <bool Linear, int Channels> void RunKernel(ResampleParams& params, BlockOutput& output) {
    ResampleParams local = WithSource(params);
    if (std::optional<FixedPosition> position = ExactPosition(local.phase, local.step))
        FixedKernel<Linear, Channels>(local, *position, output);
    else
        ExtendedKernel<Linear, Channels>(local, output);
    params.phase = local.phase;
}

template <bool Linear, int Channels>
void RunKernel(ResampleParams& params, const ResampleProgress& progress) {
    CheckParams(params, Channels);
    BlockOutput output(params.destination, progress);
    RunKernel<Linear, Channels>(params, output);
}

template <bool Linear> void RunInBlocks(ResampleParams& params, const ResampleBlockSink& take) {
    CheckParams(params, 0, false);
    BlockOutput output(params.sourceChannels, take);
    if (params.sourceChannels == 1)
        RunKernel<Linear, 1>(params, output);
    else
        RunKernel<Linear, 2>(params, output);
}

template <bool Linear> void RunExtended(ResampleParams& params) {
    CheckParams(params, 0);
    ResampleParams local = WithSource(params);
    BlockOutput output(local.destination, nullptr);
    if (local.sourceChannels == 1)
        ExtendedKernel<Linear, 1>(local, output);
    else
        ExtendedKernel<Linear, 2>(local, output);
    params.phase = local.phase;
}
} // namespace

void ResampleLinearMono(ResampleParams& params, const ResampleProgress& progress) {
    RunKernel<true, 1>(params, progress);
}

void ResampleLinearStereo(ResampleParams& params, const ResampleProgress& progress) {
    RunKernel<true, 2>(params, progress);
}

void ResampleLinear(ResampleParams& params, const ResampleProgress& progress) {
    if (params.sourceChannels == 2)
        ResampleLinearStereo(params, progress);
    else
        ResampleLinearMono(params, progress);
}

void ResampleDropHoldMono(ResampleParams& params, const ResampleProgress& progress) {
    RunKernel<false, 1>(params, progress);
}

void ResampleDropHoldStereo(ResampleParams& params, const ResampleProgress& progress) {
    RunKernel<false, 2>(params, progress);
}

void ResampleDropHold(ResampleParams& params, const ResampleProgress& progress) {
    if (params.sourceChannels == 2)
        ResampleDropHoldStereo(params, progress);
    else
        ResampleDropHoldMono(params, progress);
}

void ResampleLinearInBlocks(ResampleParams& params, const ResampleBlockSink& take) {
    RunInBlocks<true>(params, take);
}

void ResampleDropHoldInBlocks(ResampleParams& params, const ResampleBlockSink& take) {
    RunInBlocks<false>(params, take);
}

void ResampleLinearExtended(ResampleParams& params) {
    RunExtended<true>(params);
}

void ResampleDropHoldExtended(ResampleParams& params) {
    RunExtended<false>(params);
}

WorkPeaks MeasureWork(const float* work, std::size_t count) {
    // On the bit patterns, so that the compiler can compare several at once: non-negative floats
    // order as their patterns do, and negative ones read as negative integers.
    std::int32_t positive = 0;
    std::int32_t magnitude = 0;
    for (std::size_t i = 0; i < count; ++i) {
        std::int32_t bits;
        std::memcpy(&bits, work + i, sizeof bits);
        positive = std::max(positive, bits);
        magnitude = std::max(magnitude, bits & 0x7FFFFFFF);
    }
    return {std::bit_cast<float>(positive), std::bit_cast<float>(magnitude)};
}

namespace {
// floor(x) as its low 16 bits, for any x.
std::int16_t Low16Bits(double x) {
    double whole = std::floor(x);
    if (!std::isfinite(whole))
        return 0;
    if (std::fabs(whole) >= 0x1p62)
        whole = std::fmod(whole, 65536.0);
    return static_cast<std::int16_t>(static_cast<std::int64_t>(whole));
}
} // namespace

void StoreResampled(const float* work, std::size_t count, float scale, float magnitude, std::int16_t* audio) {
    // The float product is exact in double, so adding the half rounds only where it cannot move
    // the floor.
    const double factor = scale;
    if (!(static_cast<double>(magnitude) * factor < 0x1p30)) {
        for (std::size_t i = 0; i < count; ++i)
            audio[i] = Low16Bits(static_cast<double>(work[i]) * factor + 0.5);
        return;
    }
    constexpr std::size_t kChunk = 1024;
    std::int32_t rounded[kChunk];
    for (std::size_t begin = 0; begin < count; begin += kChunk) {
        std::size_t n = std::min(count - begin, kChunk);
        const float* w = work + begin;
        for (std::size_t i = 0; i < n; ++i) {
            double x = static_cast<double>(w[i]) * factor + 0.5;
            auto truncated = static_cast<double>(static_cast<std::int32_t>(x));
            rounded[i] = static_cast<std::int32_t>(truncated - (truncated > x ? 1.0 : 0.0));
        }
        std::int16_t* samples = audio + begin;
        for (std::size_t i = 0; i < n; ++i)
            samples[i] = static_cast<std::int16_t>(rounded[i]);
    }
}
