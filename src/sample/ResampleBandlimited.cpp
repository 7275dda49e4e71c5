// The bandlimited kernel: a 49-point windowed sinc, summed for up to eight output frames side by
// side where the processor allows.
#include "sample/Resample.h"

#include "sample/ResampleRun.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

using namespace resample_run;

namespace {
std::array<float, kSincPoints> g_sincTable{};
std::array<float, kSincPoints> g_sincSlopes{};
// The kernel's lookup: each point's value, slope and coordinate, padded past the last point with
// copies of it (slope 0), so that any whole part of a coordinate below 64 finds a defined entry.
// A further eight entries let eight consecutive ones be loaded from any whole part.
constexpr unsigned kLookupSize = 64;
constexpr unsigned kLookupPadded = kLookupSize + 8;
struct SincLookup {
    std::array<float, kLookupPadded> value{};
    std::array<float, kLookupPadded> slope{};
    std::array<float, kLookupPadded> at{};
} g_sincLookup;
bool g_bSincBuilt = false;

// The windowed sinc at table coordinate u. Rounding can carry u a hair outside 0..48; the ends
// extend the first and last points rather than read beyond the table.
inline float SincAt(float u) {
    unsigned k = static_cast<unsigned>(static_cast<int>(u)) & (kLookupSize - 1); // 0 for -1 < u < 1
    return g_sincLookup.value[k] + (u - g_sincLookup.at[k]) * g_sincLookup.slope[k];
}

// One output frame: `used` source frames from `frame` on, weighted from table coordinate u. A
// frame's channels lie `channelStride` values apart, successive frames `frameStride` apart.
template <int Channels, class Sample>
inline void SumTaps(const Sample* frame, std::ptrdiff_t frameStride, std::ptrdiff_t channelStride,
                    std::int64_t used, float u, float s, float (&sums)[Channels]) {
    for (std::int64_t j = 0; j < used; ++j) {
        float w = SincAt(u);
        for (int ch = 0; ch < Channels; ++ch)
            sums[ch] += static_cast<float>(frame[ch * channelStride]) * w;
        frame += frameStride;
        u += s;
    }
}

// Where one output frame reads: `used` source frames from `first`, from table coordinate u.
struct SincWindow {
    std::int64_t first;
    std::int64_t used;
    float u;
};

// Output frames summed side by side: each lane one frame, all lanes stepping through the taps
// together, with the taps past a lane's own count weighted zero. A sum starts at +0 and so never
// becomes -0, which makes adding a zero-weighted tap (±0) change nothing.
constexpr int kLanes = 8;

// The output positions of up to kLanes frames: whole source frame and fraction.
struct LanePositions {
    alignas(32) std::int64_t i[kLanes];
    alignas(32) float f[kLanes];
    int count;
};

// The walk of the output position over the source, and the window each position reads.
class SincPlacer {
public:
    SincPlacer(const ResampleParams& params, float c, float s)
        : m_c(c), m_s(s), m_step(params.step), m_frames(static_cast<std::int64_t>(params.sourceFrames)) {
        double whole = std::floor(params.phase);
        m_i = static_cast<std::int64_t>(whole);
        m_f = static_cast<float>(params.phase - whole);
        m_stepFrames = std::floor(m_step);
        m_bSmallStep = m_step < 0x1p20;
    }

    // The next `count` positions. This walk is the kernel's one serial chain, so it stays in
    // registers and avoids the slow round trip through an integer: below 2^20, step + f lies
    // below the whole step plus two, the carry is the whole step or one more, and both
    // differences are exact.
    void Walk(LanePositions& positions, int count) {
        std::int64_t i = m_i;
        float f = m_f;
        const double step = m_step;
        if (m_bSmallStep) {
            const auto wholeStep = static_cast<std::int64_t>(m_stepFrames);
            const double stepFrames = m_stepFrames, stepUp = m_stepFrames + 1.0;
            for (int l = 0; l < count; ++l) {
                positions.i[l] = i;
                positions.f[l] = f;
                double x = step + f;
                double over = x - stepUp;
                double rest = x - stepFrames;
                i += wholeStep + (over >= 0);
                f = static_cast<float>(PickRest(over, rest));
            }
        } else {
            for (int l = 0; l < count; ++l) {
                positions.i[l] = i;
                positions.f[l] = f;
                double x = step + f;
                auto carry = static_cast<std::int64_t>(x); // x < 2^32: truncated exactly
                i += carry;
                f = static_cast<float>(x - static_cast<double>(carry));
            }
        }
        positions.count = count;
        m_i = i;
        m_f = f;
    }

    SincWindow Window(std::int64_t i, float f) const {
        float at = (m_c * f * -0.33333334f + 0.5f) * 48.0f; // table coordinate of frame i
        std::int64_t before = std::min(static_cast<std::int64_t>(at / m_s), i);
        float u = at - static_cast<float>(before) * m_s;
        std::int64_t first = i - before;
        auto used = static_cast<std::int64_t>((48.0f - u) / m_s + 1.0f);
        return {first, std::clamp<std::int64_t>(used, 0, std::max<std::int64_t>(m_frames - first, 0)), u};
    }

    double Phase() const { return static_cast<double>(m_i) + m_f; }

#ifdef __SSE2__
    // The walk handed to the vector lanes, for steps below 2^20, and taken back.
    template <class Walk> Walk HandToLanes() const {
        return {_mm_set_sd(m_f),
                m_i,
                _mm_set_sd(m_step),
                _mm_set_sd(m_stepFrames),
                _mm_set_sd(m_stepFrames + 1.0),
                static_cast<std::int64_t>(m_stepFrames)};
    }
    template <class Walk> void Resume(const Walk& walk) {
        m_i = walk.i;
        m_f = static_cast<float>(_mm_cvtsd_f64(walk.f));
    }
#endif

private:
    // `over >= 0 ? over : rest` without a branch, which would mispredict about every other
    // frame, and without leaving the vector registers, which would lengthen the chain.
    static double PickRest(double over, double rest) {
#ifdef __SSE2__
        __m128d o = _mm_set_sd(over);
        __m128d mask = _mm_cmpge_sd(o, _mm_setzero_pd());
        return _mm_cvtsd_f64(_mm_or_pd(_mm_and_pd(mask, o), _mm_andnot_pd(mask, _mm_set_sd(rest))));
#else
        return over >= 0 ? over : rest;
#endif
    }

    float m_c;
    float m_s;
    double m_step;
    double m_stepFrames = 0;
    bool m_bSmallStep = false;
    std::int64_t m_frames;
    std::int64_t m_i = 0;
    float m_f = 0;
};

// Each lane's window relative to `base`, the first lane's whole source frame: its first frame,
// its tap count (0 for a lane past the last output frame) and its first table coordinate.
struct LanePlan {
    alignas(32) std::int32_t first[kLanes];
    alignas(32) std::int32_t used[kLanes];
    alignas(32) float u[kLanes];
    std::int64_t base;
};

// Lane plans keep frame offsets in 32 bits, which holds while a window spans no more than this.
constexpr double kPlannedStepLimit = 0x1p16;

// A plan is drawn in vectors only while the offsets and tap counts it computes fit 32 bits.
// Beyond the source's end and before its start the clamps bind; offsets past this bound them.
constexpr std::int64_t kLaneReach = std::int64_t{1} << 30;

// Source frames converted to float once, one plane per channel, and read by every output frame
// whose window they fall in. The planes run two lane widths past their span so that a lane group
// may load that many frames from any start in it.
constexpr std::int64_t kConvertedFrames = 1 << 15;
constexpr std::ptrdiff_t kPlaneSize = kConvertedFrames + 2 * kLanes;

// 64-bit only: there scalar float arithmetic is SSE, as the lanes assume of the lowest lane.
#ifdef __x86_64__
#define WLOE_LANES_AVX2 1

// Gathers are slow on some processors, so table entries and samples are fetched by loading a
// short run and permuting it wherever the lanes' indices lie close together. Only AVX2 is
// enabled here, not FMA, so no multiply and add can fuse.
#define WLOE_AVX2 __attribute__((target("avx2")))

// The samples of lanes that start `offsets` (0 … 15) frames after `from`.
WLOE_AVX2 inline __m256 FetchNear(const float* from, __m256i offsets, __m256 upper) {
    __m256 low = _mm256_permutevar8x32_ps(_mm256_loadu_ps(from), offsets);
    __m256 high = _mm256_permutevar8x32_ps(_mm256_loadu_ps(from + kLanes), offsets);
    return _mm256_blendv_ps(low, high, upper);
}

// The samples at the eight indices, one by one.
WLOE_AVX2 inline __m256 FetchApart(const float* plane, const std::int32_t* at) {
    return _mm256_setr_ps(plane[at[0]], plane[at[1]], plane[at[2]], plane[at[3]], plane[at[4]], plane[at[5]],
                          plane[at[6]], plane[at[7]]);
}

WLOE_AVX2 inline std::int32_t LowestLane(__m256i v) {
    __m128i m = _mm_min_epi32(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
    m = _mm_min_epi32(m, _mm_shuffle_epi32(m, 0x4E));
    return _mm_cvtsi128_si32(_mm_min_epi32(m, _mm_shuffle_epi32(m, 0xB1)));
}

WLOE_AVX2 inline std::int32_t HighestLane(__m256i v) {
    __m128i m = _mm_max_epi32(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
    m = _mm_max_epi32(m, _mm_shuffle_epi32(m, 0x4E));
    return _mm_cvtsi128_si32(_mm_max_epi32(m, _mm_shuffle_epi32(m, 0xB1)));
}

WLOE_AVX2 inline float LowestLane(__m256 v) {
    __m128 m = _mm_min_ps(_mm256_castps256_ps128(v), _mm256_extractf128_ps(v, 1));
    m = _mm_min_ps(m, _mm_shuffle_ps(m, m, 0x4E));
    return _mm_cvtss_f32(_mm_min_ps(m, _mm_shuffle_ps(m, m, 0xB1)));
}

WLOE_AVX2 inline float HighestLane(__m256 v) {
    __m128 m = _mm_max_ps(_mm256_castps256_ps128(v), _mm256_extractf128_ps(v, 1));
    m = _mm_max_ps(m, _mm_shuffle_ps(m, m, 0x4E));
    return _mm_cvtss_f32(_mm_max_ps(m, _mm_shuffle_ps(m, m, 0xB1)));
}

// SincPlacer::Walk for steps below 2^20, one position at a time, kept in the vector registers:
// the fraction is a float held as a double, and the carry's choice a blend on the sign of
// step + f − (whole step + 1), which is never −0.
struct LaneWalkAvx2 {
    __m128d f;
    std::int64_t i;
    __m128d step, stepFrames, stepUp;
    std::int64_t wholeStep;

    WLOE_AVX2 void Step(LanePositions& positions, int l) {
        __m128 single = _mm_cvtsd_ss(_mm_setzero_ps(), f);
        positions.i[l] = i;
        _mm_store_ss(positions.f + l, single);
        __m128d x = _mm_add_sd(step, f);
        __m128d over = _mm_sub_sd(x, stepUp);
        __m128d rest = _mm_sub_sd(x, stepFrames);
        i += wholeStep + _mm_comige_sd(over, _mm_setzero_pd());
        f = _mm_cvtss_sd(_mm_setzero_pd(), _mm_cvtsd_ss(_mm_setzero_ps(), _mm_blendv_pd(over, rest, over)));
    }
};

// A group's windows as SincPlacer::Window draws them one by one, relative to the first lane's
// whole frame `base`; lanes past `count` get no taps.
struct LaneWindowsAvx2 {
    __m256i first;
    __m256i used;
    __m256 u;
    std::int64_t base;
};

WLOE_AVX2 inline LaneWindowsAvx2 PlanAvx2(const LanePositions& positions, float c, float s,
                                          std::int64_t frames) {
    const std::int64_t base = positions.i[0];
    // Whole frames relative to the first lane's, in 32 bits (lanes past `count` hold leftovers).
    const __m256i base4 = _mm256_set1_epi64x(base);
    const __m256i evens = _mm256_setr_epi32(0, 2, 4, 6, 0, 2, 4, 6);
    __m256i low = _mm256_permutevar8x32_epi32(
        _mm256_sub_epi64(_mm256_load_si256(reinterpret_cast<const __m256i*>(positions.i)), base4), evens);
    __m256i high = _mm256_permutevar8x32_epi32(
        _mm256_sub_epi64(_mm256_load_si256(reinterpret_cast<const __m256i*>(positions.i + 4)), base4), evens);
    const __m256i relative = _mm256_blend_epi32(low, high, 0xF0);
    const __m256 sv = _mm256_set1_ps(s);
    __m256 f = _mm256_load_ps(positions.f);
    __m256 at = _mm256_mul_ps(
        _mm256_add_ps(_mm256_mul_ps(_mm256_mul_ps(_mm256_set1_ps(c), f), _mm256_set1_ps(-0.33333334f)),
                      _mm256_set1_ps(0.5f)),
        _mm256_set1_ps(48.0f));
    __m256i whole =
        _mm256_add_epi32(_mm256_set1_epi32(static_cast<std::int32_t>(std::min(base, kLaneReach))), relative);
    __m256i before = _mm256_min_epi32(_mm256_cvttps_epi32(_mm256_div_ps(at, sv)), whole);
    __m256 u = _mm256_sub_ps(at, _mm256_mul_ps(_mm256_cvtepi32_ps(before), sv));
    __m256i first = _mm256_sub_epi32(relative, before);
    __m256i used = _mm256_cvttps_epi32(
        _mm256_add_ps(_mm256_div_ps(_mm256_sub_ps(_mm256_set1_ps(48.0f), u), sv), _mm256_set1_ps(1.0f)));
    auto left = static_cast<std::int32_t>(std::clamp(frames - base, -kLaneReach, kLaneReach));
    __m256i room = _mm256_max_epi32(_mm256_sub_epi32(_mm256_set1_epi32(left), first), _mm256_setzero_si256());
    used = _mm256_min_epi32(_mm256_max_epi32(used, _mm256_setzero_si256()), room);
    __m256i present =
        _mm256_cmpgt_epi32(_mm256_set1_epi32(positions.count), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    return {first, _mm256_and_si256(used, present), u, base};
}

// How a lane group's samples are fetched: one load and a permutation where the lanes start
// within eight frames of the lowest, two within sixteen, else one by one. Where the lanes'
// table coordinates lie too far apart for one load of eight entries, the entries are gathered.
enum class LaneFetch { Close, Near, Apart, ApartGathered };

// A lane group, ready to sum. Lanes without taps have index `lowest`.
struct LaneGroupAvx2 {
    __m256i index;
    __m256i used;
    __m256 u;
    std::int32_t lowest;
    std::int32_t taps;
};

// Sums one lane group while walking the next group's `nextCount` positions, one per tap, so that
// the walk's serial chain runs beside the sums.
template <int Channels, LaneFetch How>
WLOE_AVX2 inline void SumTapsAvx2(const LaneGroupAvx2& group, float uLow, const float* planes, float s,
                                  LaneWalkAvx2& walk, LanePositions& next, int nextCount,
                                  __m256 (&sums)[Channels]) {
    const __m256 step = _mm256_set1_ps(s);
    const __m256i offsets = _mm256_sub_epi32(group.index, _mm256_set1_epi32(group.lowest));
    const __m256 upper = _mm256_castsi256_ps(_mm256_cmpgt_epi32(offsets, _mm256_set1_epi32(kLanes - 1)));
    // Lanes taking their samples one by one read up to their last tap and no further.
    const __m256i last =
        _mm256_add_epi32(group.index, _mm256_max_epi32(_mm256_sub_epi32(group.used, _mm256_set1_epi32(1)),
                                                       _mm256_setzero_si256()));
    __m256i index = group.index;
    __m256 u = group.u;
    LaneWalkAvx2 walking = walk;
    for (std::int32_t j = 0; j < group.taps; ++j) {
        __m256 live = _mm256_castsi256_ps(_mm256_cmpgt_epi32(group.used, _mm256_set1_epi32(j)));
        __m256i k = _mm256_and_si256(_mm256_cvttps_epi32(u), _mm256_set1_epi32(kLookupSize - 1));
        __m256 value, slope;
        if constexpr (How == LaneFetch::ApartGathered) {
            value = _mm256_i32gather_ps(g_sincLookup.value.data(), k, 4);
            slope = _mm256_i32gather_ps(g_sincLookup.slope.data(), k, 4);
        } else {
            // The lanes' coordinates keep their order through the taps (each adds the same s), so
            // the lowest lane's entry, followed in scalar, is the lowest entry any lane needs.
            auto kLow =
                static_cast<std::int32_t>(static_cast<unsigned>(static_cast<int>(uLow)) & (kLookupSize - 1));
            __m256i near = _mm256_sub_epi32(k, _mm256_set1_epi32(kLow));
            value = _mm256_permutevar8x32_ps(_mm256_loadu_ps(g_sincLookup.value.data() + kLow), near);
            slope = _mm256_permutevar8x32_ps(_mm256_loadu_ps(g_sincLookup.slope.data() + kLow), near);
        }
        __m256 w = _mm256_add_ps(value, _mm256_mul_ps(_mm256_sub_ps(u, _mm256_cvtepi32_ps(k)), slope));
        w = _mm256_and_ps(w, live);
        alignas(32) std::int32_t at[kLanes];
        if constexpr (How == LaneFetch::Apart || How == LaneFetch::ApartGathered)
            _mm256_store_si256(reinterpret_cast<__m256i*>(at), _mm256_min_epi32(index, last));
        for (int ch = 0; ch < Channels; ++ch) {
            const float* plane = planes + ch * kPlaneSize;
            __m256 x;
            if constexpr (How == LaneFetch::Close)
                x = _mm256_permutevar8x32_ps(_mm256_loadu_ps(plane + group.lowest + j), offsets);
            else if constexpr (How == LaneFetch::Near)
                x = FetchNear(plane + group.lowest + j, offsets, upper);
            else
                x = FetchApart(plane, at);
            sums[ch] = _mm256_add_ps(sums[ch], _mm256_mul_ps(x, w));
        }
        if (j < nextCount)
            walking.Step(next, j);
        index = _mm256_add_epi32(index, _mm256_set1_epi32(1));
        u = _mm256_add_ps(u, step);
        uLow += s;
    }
    walk = walking;
}

template <int Channels>
WLOE_AVX2 void SumLanesAvx2(const LaneGroupAvx2& group, const float* planes, float s, LaneWalkAvx2& walk,
                            LanePositions& next, int nextCount, float* out, int count) {
    const std::int32_t spread = HighestLane(_mm256_sub_epi32(group.index, _mm256_set1_epi32(group.lowest)));
    __m256 live = _mm256_castsi256_ps(_mm256_cmpgt_epi32(group.used, _mm256_setzero_si256()));
    float uLow = LowestLane(_mm256_blendv_ps(_mm256_set1_ps(INFINITY), group.u, live));
    const bool tableClose =
        HighestLane(_mm256_blendv_ps(_mm256_set1_ps(-INFINITY), group.u, live)) - uLow < 6.5f;
    __m256 sums[Channels];
    for (int ch = 0; ch < Channels; ++ch)
        sums[ch] = _mm256_setzero_ps();
    if (!tableClose)
        SumTapsAvx2<Channels, LaneFetch::ApartGathered>(group, uLow, planes, s, walk, next, nextCount, sums);
    else if (spread < kLanes)
        SumTapsAvx2<Channels, LaneFetch::Close>(group, uLow, planes, s, walk, next, nextCount, sums);
    else if (spread < 2 * kLanes)
        SumTapsAvx2<Channels, LaneFetch::Near>(group, uLow, planes, s, walk, next, nextCount, sums);
    else
        SumTapsAvx2<Channels, LaneFetch::Apart>(group, uLow, planes, s, walk, next, nextCount, sums);
    for (std::int32_t j = group.taps; j < nextCount; ++j)
        walk.Step(next, j);
    next.count = nextCount;
    alignas(32) float lanes[Channels * kLanes];
    float* to = count == kLanes ? out : lanes;
    if constexpr (Channels == 1) {
        _mm256_storeu_ps(to, sums[0]);
    } else {
        __m256 low = _mm256_unpacklo_ps(sums[0], sums[1]);  // frames 0, 1, 4, 5
        __m256 high = _mm256_unpackhi_ps(sums[0], sums[1]); // frames 2, 3, 6, 7
        _mm256_storeu_ps(to, _mm256_permute2f128_ps(low, high, 0x20));
        _mm256_storeu_ps(to + kLanes, _mm256_permute2f128_ps(low, high, 0x31));
    }
    if (to == lanes)
        std::copy(lanes, lanes + count * Channels, out);
}
#endif

bool HasAvx2() {
#ifdef WLOE_LANES_AVX2
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

template <int Channels> class BandlimitedRun {
public:
    BandlimitedRun(const ResampleParams& params, bool portable)
        : m_c(BandlimitedCutoff(params.step)), m_s(16.0f * m_c),
          m_frames(static_cast<std::int64_t>(params.sourceFrames)), m_source(params.source),
          m_bVector(!portable && params.step < kPlannedStepLimit && HasAvx2()),
          m_planes(std::size_t{kPlaneSize} * Channels) {}

    void Run(ResampleParams& params, const ResampleProgress& progress) {
        SincPlacer placer(params, m_c, m_s);
        // The walk runs one group ahead of the sums, so that its serial chain overlaps them.
        const std::uint32_t total = params.destinationFrames;
        std::uint32_t walked = 0;
        LanePositions ahead{};
        auto WalkAhead = [&] {
            int count = static_cast<int>(std::min<std::uint32_t>(total - walked, kLanes));
            placer.Walk(ahead, count);
            walked += static_cast<std::uint32_t>(count);
        };
        WalkAhead();
        BlockOutput output(params.destination, progress);
#ifdef WLOE_LANES_AVX2
        if (m_bVector) {
            // Two groups ahead here: a group's positions are read well after they were written.
            LanePositions ring[3]{};
            ring[0] = ahead;
            placer.Walk(ring[1], static_cast<int>(std::min<std::uint32_t>(total - walked, kLanes)));
            walked += static_cast<std::uint32_t>(ring[1].count);
            LaneWalkAvx2 walk = placer.HandToLanes<LaneWalkAvx2>();
            unsigned group = 0;
            output.Run<Channels>(total, [&](std::uint32_t begin, std::uint32_t end, float* out) {
                BlockAvx2(walk, ring, group, walked, total, end - begin, out);
            });
            placer.Resume(walk);
            params.phase = placer.Phase();
            return;
        }
#endif
        output.Run<Channels>(total, [&](std::uint32_t begin, std::uint32_t end, float* out) {
            for (std::uint32_t n0 = 0; n0 < end - begin; n0 += kLanes) {
                const LanePositions positions = ahead;
                WalkAhead();
                Group(placer, positions, out + std::size_t{n0} * Channels);
            }
        });
        params.phase = placer.Phase();
    }

private:
#ifdef WLOE_LANES_AVX2
    // `frames` output frames into `out`, a group at a time, the walk one group ahead.
    WLOE_AVX2 void BlockAvx2(LaneWalkAvx2& walk, LanePositions (&ring)[3], unsigned& group,
                             std::uint32_t& walked, std::uint32_t total, std::uint32_t frames, float* out) {
        for (std::uint32_t n0 = 0; n0 < frames; n0 += kLanes, group = group == 2 ? 0 : group + 1) {
            const LanePositions& positions = ring[group];
            LanePositions& next = ring[group == 0 ? 2 : group - 1];
            const int nextCount = static_cast<int>(std::min<std::uint32_t>(total - walked, kLanes));
            walked += static_cast<std::uint32_t>(nextCount);
            float* groupOut = out + std::size_t{n0} * Channels;
            LaneWindowsAvx2 plan = PlanAvx2(positions, m_c, m_s, m_frames);
            const __m256i live = _mm256_cmpgt_epi32(plan.used, _mm256_setzero_si256());
            const std::int32_t taps = HighestLane(plan.used);
            const std::int32_t lo =
                LowestLane(_mm256_blendv_epi8(_mm256_set1_epi32(INT32_MAX), plan.first, live));
            const std::int32_t hi = HighestLane(_mm256_blendv_epi8(
                _mm256_set1_epi32(INT32_MIN), _mm256_add_epi32(plan.first, plan.used), live));
            if (taps == 0 || static_cast<std::int64_t>(hi) - lo > kConvertedFrames) {
                for (int l = 0; l < nextCount; ++l)
                    walk.Step(next, l);
                next.count = nextCount;
                LanePlan stored;
                _mm256_store_si256(reinterpret_cast<__m256i*>(stored.first), plan.first);
                _mm256_store_si256(reinterpret_cast<__m256i*>(stored.used), plan.used);
                _mm256_store_ps(stored.u, plan.u);
                stored.base = plan.base;
                Sum(stored, positions.count, groupOut);
                continue;
            }
            Convert(plan.base + lo, plan.base + hi);
            const auto shift = static_cast<std::int32_t>(plan.base - m_convertedFirst);
            __m256i index = _mm256_add_epi32(_mm256_blendv_epi8(_mm256_set1_epi32(lo), plan.first, live),
                                             _mm256_set1_epi32(shift));
            SumLanesAvx2<Channels>({index, plan.used, plan.u, lo + shift, taps}, m_planes.data(), m_s, walk,
                                   next, nextCount, groupOut, positions.count);
        }
    }
#endif

private:
    void Group(const SincPlacer& placer, const LanePositions& positions, float* out) {
        LanePlan plan;
        SincWindow windows[kLanes];
        bool planned = true;
        plan.base = positions.i[0];
        for (int l = 0; l < kLanes; ++l) {
            windows[l] =
                l < positions.count ? placer.Window(positions.i[l], positions.f[l]) : SincWindow{0, 0, 0};
            std::int64_t first = windows[l].used > 0 ? windows[l].first - plan.base : 0;
            planned =
                planned && first > -kLaneReach && first < kLaneReach && windows[l].used <= kConvertedFrames;
            plan.first[l] = static_cast<std::int32_t>(first);
            plan.used[l] = static_cast<std::int32_t>(std::min(windows[l].used, kConvertedFrames));
            plan.u[l] = windows[l].u;
        }
        if (planned) {
            Sum(plan, positions.count, out);
        } else {
            for (int l = 0; l < positions.count; ++l)
                SumAlone(windows[l], out + l * Channels);
        }
    }

    // Sums a planned group in lanes, or frame by frame where its windows lie too far apart to
    // share one converted span.
    void Sum(const LanePlan& plan, int count, float* out) {
        std::int32_t lo = INT32_MAX, hi = INT32_MIN;
        for (int l = 0; l < kLanes; ++l) {
            bool live = plan.used[l] > 0;
            lo = std::min(lo, live ? plan.first[l] : INT32_MAX);
            hi = std::max(hi, live ? plan.first[l] + plan.used[l] : INT32_MIN);
        }
        if (lo > hi) {
            std::fill(out, out + count * Channels, 0.0f);
            return;
        }
        if (static_cast<std::int64_t>(hi) - lo > kConvertedFrames) {
            for (int l = 0; l < count; ++l)
                SumAlone({plan.base + plan.first[l], plan.used[l], plan.u[l]}, out + l * Channels);
            return;
        }
        Convert(plan.base + lo, plan.base + hi);
        const std::int64_t shift = plan.base - m_convertedFirst;
        for (int l = 0; l < count; ++l) {
            float sums[Channels] = {};
            SumTaps<Channels>(m_planes.data() + (plan.first[l] + shift), 1, kPlaneSize, plan.used[l],
                              plan.u[l], m_s, sums);
            std::copy(sums, sums + Channels, out + l * Channels);
        }
    }

    // Makes source frames [lo, hi) (at most kConvertedFrames of them) available as floats.
    void Convert(std::int64_t lo, std::int64_t hi) {
        if (lo >= m_convertedFirst && hi <= m_convertedEnd)
            return;
        m_convertedFirst = lo;
        m_convertedEnd = std::min(lo + kConvertedFrames, m_frames);
        const std::int16_t* from = m_source + lo * Channels;
        for (std::int64_t v = 0; v < m_convertedEnd - lo; ++v)
            for (int ch = 0; ch < Channels; ++ch)
                m_planes[static_cast<std::size_t>(ch * kPlaneSize + v)] = from[v * Channels + ch];
    }

    // One frame by itself.
    void SumAlone(const SincWindow& window, float* out) {
        float sums[Channels] = {};
        if (window.used > kConvertedFrames) {
            SumTaps<Channels>(m_source + window.first * Channels, Channels, 1, window.used, window.u, m_s,
                              sums);
        } else if (window.used > 0) {
            Convert(window.first, window.first + window.used);
            SumTaps<Channels>(m_planes.data() + (window.first - m_convertedFirst), 1, kPlaneSize, window.used,
                              window.u, m_s, sums);
        }
        std::copy(sums, sums + Channels, out);
    }

    const float m_c;
    const float m_s; // table units per source frame
    const std::int64_t m_frames;
    const std::int16_t* m_source;
    const bool m_bVector;
    std::vector<float> m_planes;
    std::int64_t m_convertedFirst = 0;
    std::int64_t m_convertedEnd = 0;
};
} // namespace

float BandlimitedCutoff(double step) {
    return step > 1.0 ? static_cast<float>(0.4 / step) : 0.4f;
}

namespace {
void RunBandlimited(ResampleParams& params, const ResampleProgress& progress, bool portable) {
    CheckParams(params, 0);
    if (!g_bSincBuilt)
        throw std::logic_error("resample: the sinc table has not been built");
    ResampleParams local = WithSource(params);
    if (local.sourceChannels == 1)
        BandlimitedRun<1>(local, portable).Run(local, progress);
    else
        BandlimitedRun<2>(local, portable).Run(local, progress);
    params.phase = local.phase;
}
} // namespace

void ResampleBandlimited(ResampleParams& params, const ResampleProgress& progress) {
    RunBandlimited(params, progress, false);
}

void ResampleBandlimitedPortable(ResampleParams& params, const ResampleProgress& progress) {
    RunBandlimited(params, progress, true);
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
    for (unsigned k = 0; k < kLookupPadded; ++k) {
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
