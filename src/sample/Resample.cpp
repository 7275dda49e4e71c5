#include "sample/Resample.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

namespace {
std::array<float, kSincPoints> g_sincTable{};
std::array<float, kSincPoints> g_sincSlopes{};
// The kernel's lookup: each point's value, slope and coordinate, padded past the last point with
// copies of it (slope 0), so that any whole part of a coordinate below 64 finds a defined entry.
constexpr unsigned kLookupSize = 64;
struct SincLookup {
    std::array<float, kLookupSize> value{};
    std::array<float, kLookupSize> slope{};
    std::array<float, kLookupSize> at{};
} g_sincLookup;
bool g_bSincBuilt = false;

// Destination frames per block: progress is reported, or a block handed on, after each.
constexpr std::uint32_t kBlockFrames = 1u << 14;

// Beyond this the running position would no longer fit its integer.
constexpr double kFarthestPosition = 0x1p62;

// An empty source reads as one silent frame.
constexpr std::int16_t kSilentFrame[2] = {0, 0};

void CheckParams(const ResampleParams& params, int channels, bool intoDestination = true) {
    if (params.sourceChannels != params.destinationChannels ||
        (channels != 0 && params.sourceChannels != channels) ||
        (params.sourceChannels != 1 && params.sourceChannels != 2))
        throw std::invalid_argument("resample: source and destination need the same 1 or 2 channels");
    if (!(params.phase >= 0) || !(params.step > 0 && params.step <= kMaxResampleStep) ||
        !(params.phase + params.destinationFrames * params.step < kFarthestPosition))
        throw std::invalid_argument("resample: phase or step out of range");
    if ((params.sourceFrames != 0 && !params.source) ||
        (intoDestination && params.destinationFrames != 0 && !params.destination))
        throw std::invalid_argument("resample: missing buffer");
}

ResampleParams WithSource(const ResampleParams& params) {
    ResampleParams local = params;
    if (local.sourceFrames == 0) {
        local.source = kSilentFrame;
        local.sourceFrames = 1;
    }
    return local;
}

// Where the kernels put each block of destination frames: into the destination, telling the
// progress callback after each block; or into one reused block that is handed on each time.
class BlockOutput {
public:
    BlockOutput(float* destination, const ResampleProgress& progress)
        : m_pDestination(destination), m_progress(progress) {}
    BlockOutput(int channels, const ResampleBlockSink& take)
        : m_block(std::size_t{kBlockFrames} * channels), m_take(take) {}

    // Runs `frames(begin, end, out)` over `total` frames in blocks; `out` receives frame `begin`.
    template <int Channels, class Frames> void Run(std::uint32_t total, Frames&& frames) {
        for (std::uint32_t begin = 0; begin < total;) {
            std::uint32_t end = total - begin > kBlockFrames ? begin + kBlockFrames : total;
            float* out = m_pDestination ? m_pDestination + std::size_t{begin} * Channels : m_block.data();
            frames(begin, end, out);
            if (!m_pDestination)
                m_take(m_block.data(), begin, end - begin);
            else if (m_progress)
                m_progress(end);
            begin = end;
        }
    }

private:
    float* m_pDestination = nullptr;
    ResampleProgress m_progress;
    std::vector<float> m_block;
    ResampleBlockSink m_take;
};

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

// ---- Bandlimited -------------------------------------------------------------------------------

// The windowed sinc at table coordinate u. Rounding can carry u a hair outside 0..48; the ends
// extend the first and last points rather than read beyond the table.
inline float SincAt(float u) {
    unsigned k = static_cast<unsigned>(static_cast<int>(u)) & (kLookupSize - 1); // 0 for -1 < u < 1
    return g_sincLookup.value[k] + (u - g_sincLookup.at[k]) * g_sincLookup.slope[k];
}

// One output frame: `used` source frames from `frame` on, weighted from table coordinate u.
template <int Channels, class Sample>
inline void SumTaps(const Sample* frame, std::int64_t used, float u, float s, float (&sums)[Channels]) {
    for (std::int64_t j = 0; j < used; ++j) {
        float w = SincAt(u);
        for (int ch = 0; ch < Channels; ++ch)
            sums[ch] += static_cast<float>(frame[ch]) * w;
        frame += Channels;
        u += s;
    }
}

// Source frames converted to float once and read by every output frame whose window they fall in.
constexpr std::int64_t kConvertedFrames = 1 << 15;

// Where one output frame reads: `used` source frames from `first`, from table coordinate u.
struct SincWindow {
    std::int64_t first;
    std::int64_t used;
    float u;
};

// Frames are placed a batch at a time and then summed, so that the serial walk of the position
// does not hold up the sums, which are independent of one another.
constexpr std::uint32_t kBatchFrames = 64;

template <int Channels> void BandlimitedKernel(ResampleParams& params, const ResampleProgress& progress) {
    const float c = BandlimitedCutoff(params.step);
    const float s = 16.0f * c; // table units per source frame
    const auto frames = static_cast<std::int64_t>(params.sourceFrames);
    const std::int16_t* source = params.source;
    const double step = params.step;
    double whole = std::floor(params.phase);
    auto i = static_cast<std::int64_t>(whole);
    auto f = static_cast<float>(params.phase - whole);
    std::vector<float> converted(std::size_t{kConvertedFrames} * Channels);
    std::int64_t convertedFirst = 0, convertedEnd = 0;
    // Makes source frames [lo, hi) (at most kConvertedFrames of them) available as floats.
    auto Convert = [&](std::int64_t lo, std::int64_t hi) {
        if (lo >= convertedFirst && hi <= convertedEnd)
            return;
        convertedFirst = lo;
        convertedEnd = std::min(lo + kConvertedFrames, frames);
        const std::int16_t* from = source + lo * Channels;
        for (std::int64_t v = 0; v < (convertedEnd - lo) * Channels; ++v)
            converted[static_cast<std::size_t>(v)] = from[v];
    };
    SincWindow batch[kBatchFrames];
    BlockOutput output(params.destination, progress);
    output.Run<Channels>(params.destinationFrames, [&](std::uint32_t begin, std::uint32_t end, float* out) {
        for (std::uint32_t n0 = 0; n0 < end - begin; n0 += kBatchFrames) {
            std::uint32_t count = std::min(end - begin - n0, kBatchFrames);
            for (std::uint32_t k = 0; k < count; ++k) {
                float at = (c * f * -0.33333334f + 0.5f) * 48.0f; // table coordinate of frame i
                std::int64_t before = std::min(static_cast<std::int64_t>(at / s), i);
                float u = at - static_cast<float>(before) * s;
                std::int64_t first = i - before;
                auto used = static_cast<std::int64_t>((48.0f - u) / s + 1.0f);
                batch[k] = {first,
                            std::clamp<std::int64_t>(used, 0, std::max<std::int64_t>(frames - first, 0)), u};
                // x < 2^32, so the integer conversion truncates it exactly.
                double x = step + f;
                auto carry = static_cast<std::int64_t>(x);
                i += carry;
                f = static_cast<float>(x - static_cast<double>(carry));
            }
            for (std::uint32_t k = 0; k < count; ++k) {
                const SincWindow& window = batch[k];
                float sums[Channels] = {};
                if (window.used > kConvertedFrames) {
                    SumTaps<Channels>(source + window.first * Channels, window.used, window.u, s, sums);
                } else if (window.used > 0) {
                    Convert(window.first, window.first + window.used);
                    SumTaps<Channels>(converted.data() + (window.first - convertedFirst) * Channels,
                                      window.used, window.u, s, sums);
                }
                for (int ch = 0; ch < Channels; ++ch)
                    out[std::size_t{n0 + k} * Channels + ch] = sums[ch];
            }
        }
    });
    params.phase = static_cast<double>(i) + f;
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

float BandlimitedCutoff(double step) {
    return step > 1.0 ? static_cast<float>(0.4 / step) : 0.4f;
}

void ResampleBandlimited(ResampleParams& params, const ResampleProgress& progress) {
    CheckParams(params, 0);
    if (!g_bSincBuilt)
        throw std::logic_error("resample: the sinc table has not been built");
    ResampleParams local = WithSource(params);
    if (local.sourceChannels == 1)
        BandlimitedKernel<1>(local, progress);
    else
        BandlimitedKernel<2>(local, progress);
    params.phase = local.phase;
}

void BuildSincTable() {
    std::array<float, kSincPoints> table{};
    constexpr int kCentre = kSincPoints / 2;
    table[kCentre] = 1.0f;
    for (int b = 1; b <= kCentre; ++b) {
        float x = static_cast<float>(b) * 0.3926991f;
        auto value = static_cast<float>(std::sin(static_cast<double>(x)) / static_cast<double>(x));
        table[kCentre + b] = value;
        table[kCentre - b] = value;
    }
    for (int i = 0; i < kSincPoints; ++i)
        table[i] = static_cast<float>(table[i] * (0.54 - 0.46 * std::cos(i * 0.1308996938995747)));
    std::array<float, kSincPoints> slopes{};
    for (int k = 0; k + 1 < kSincPoints; ++k)
        slopes[k] = table[k + 1] - table[k];
    g_sincTable = table;
    g_sincSlopes = slopes;
    for (unsigned k = 0; k < kLookupSize; ++k) {
        constexpr auto kLast = static_cast<unsigned>(kSincPoints - 1);
        g_sincLookup.value[k] = table[std::min(k, kLast)];
        g_sincLookup.slope[k] = k < kLast ? slopes[k] : 0.0f;
        g_sincLookup.at[k] = static_cast<float>(k);
    }
    g_bSincBuilt = true;
}

bool IsSincTableBuilt() {
    return g_bSincBuilt;
}

const std::array<float, kSincPoints>& SincTable() {
    return g_sincTable;
}

const std::array<float, kSincPoints>& SincSlopes() {
    return g_sincSlopes;
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
