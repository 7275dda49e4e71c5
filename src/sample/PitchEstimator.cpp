#include "sample/PitchEstimator.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <optional>
#include <vector>

namespace {

// A normalised difference below this means the audio repeats at that lag; the first such lag wins, so a
// multiple of the period (whose difference is just as small) never beats the period itself.
constexpr double kRepeatThreshold = 0.1;
// When no lag gets below the threshold, the deepest dip is still taken if it is below this; above it the
// audio is treated as not periodic at all (noise gives about 1).
constexpr double kPeriodicLimit = 0.4;

// Sum over k < window of (x[k] - x[k + lag])², with four partial sums so the additions need not wait on
// each other.
double SquaredDifference(const double* x, std::size_t lag, std::size_t window) {
    const double* y = x + lag;
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    std::size_t k = 0;
    for (; k + 4 <= window; k += 4) {
        double d0 = x[k] - y[k];
        double d1 = x[k + 1] - y[k + 1];
        double d2 = x[k + 2] - y[k + 2];
        double d3 = x[k + 3] - y[k + 3];
        s0 += d0 * d0;
        s1 += d1 * d1;
        s2 += d2 * d2;
        s3 += d3 * d3;
    }
    for (; k < window; ++k) {
        double d = x[k] - y[k];
        s0 += d * d;
    }
    return (s0 + s1) + (s2 + s3);
}

struct Vertex {
    double offset = 0; // from the middle sample, within -0.5 .. 0.5
    double value = 0;
};

// The lowest point of the parabola through three equally spaced values, the middle one being the lowest.
Vertex ParabolaVertex(double before, double middle, double after) {
    double curvature = before - 2 * middle + after;
    if (!(curvature > 0))
        return {0, middle};
    double offset = std::clamp(0.5 * (before - after) / curvature, -0.5, 0.5);
    return {offset, middle - 0.25 * (before - after) * offset};
}

struct Minimum {
    double lag = 0;
    double value = 0;
};

// Windowed-sinc interpolation between lags: a difference table sampled at whole lags is a smooth function of
// the lag (the audio is band-limited), so its value between two lags can be rebuilt from the lags around it.
constexpr int kTaps = 8; // each side
constexpr double kKaiserBeta = 6;

double BesselI0(double x) {
    double sum = 1, term = 1;
    for (int k = 1; k < 30; ++k) {
        term *= (x / (2 * k)) * (x / (2 * k));
        sum += term;
    }
    return sum;
}

double InterpolationKernel(double t) {
    if (std::abs(t) >= kTaps)
        return 0;
    double sinc = t == 0 ? 1 : std::sin(std::numbers::pi * t) / (std::numbers::pi * t);
    double r = t / kTaps;
    static const double kWindowScale = 1 / BesselI0(kKaiserBeta);
    return sinc * BesselI0(kKaiserBeta * std::sqrt(1 - r * r)) * kWindowScale;
}

// The first pass: the cumulative-mean-normalised difference over a fixed window of `limit` frames, scanned
// from the shortest lag upwards.
class CoarseSearch {
public:
    CoarseSearch(const double* x, std::size_t used, std::size_t shortest, std::size_t limit)
        : m_x(x), m_window(limit), m_shortest(shortest), m_limit(limit),
          m_lastLag(std::min(used - limit, limit + kTaps + 1)), m_diff(m_lastLag + 1),
          m_cumulative(m_lastLag + 1), m_norm(m_lastLag + 1) {
        m_norm[0] = 1;
    }

    // The period in frames (with a fraction), or nothing when no lag repeats.
    std::optional<double> Period() {
        std::optional<Minimum> deepest;
        for (std::size_t lag = m_shortest; lag <= m_limit; ++lag) {
            if (Norm(lag) < kRepeatThreshold) {
                // Take the bottom of this dip, not just its first lag under the threshold.
                std::size_t best = lag;
                while (lag < m_limit && Norm(lag + 1) < kRepeatThreshold) {
                    ++lag;
                    if (Norm(lag) < Norm(best))
                        best = lag;
                }
                return Dip(best).lag;
            }
            if (lag == m_limit) {
                // Still falling at the last lag: the period may lie just beyond it.
                if (Norm(lag) < Norm(lag - 1) && (!deepest || Norm(lag) < deepest->value))
                    deepest = Minimum{static_cast<double>(lag), Norm(lag)};
                break;
            }
            if (!(Norm(lag) <= Norm(lag - 1) && Norm(lag) < Norm(lag + 1)) || !(Norm(lag) < kWorthALook))
                continue;
            // A dip whose whole lags all miss the threshold may still reach it between them, as the period
            // of a high or bright tone does when it falls halfway between two lags.
            Minimum dip = Dip(lag);
            if (dip.value < kRepeatThreshold)
                return dip.lag;
            if (!deepest || dip.value < deepest->value)
                deepest = dip;
        }
        if (!deepest || !(deepest->value < kPeriodicLimit))
            return std::nullopt;
        return deepest->lag;
    }

private:
    // Local minima above this are not worth interpolating: between two lags a repeat is at most about
    // this much worse than at its true position.
    static constexpr double kWorthALook = 0.6;

    void Compute(std::size_t lag) {
        while (m_computed < lag) {
            ++m_computed;
            double d = SquaredDifference(m_x, m_computed, m_window);
            m_diff[m_computed] = d;
            m_cumulative[m_computed] = m_cumulative[m_computed - 1] + d;
            double mean = m_cumulative[m_computed] / static_cast<double>(m_computed);
            m_norm[m_computed] = mean > 0 ? d / mean : 1.0;
        }
    }

    double Norm(std::size_t lag) {
        Compute(lag);
        return m_norm[lag];
    }

    // The normalised difference at a fractional lag, rebuilt from the whole lags around it (a negative lag
    // mirrors the positive one). Needs lags up to floor(lag) + kTaps.
    double NormBetween(double lag) {
        auto whole = static_cast<std::ptrdiff_t>(std::floor(lag));
        Compute(static_cast<std::size_t>(whole + kTaps));
        double d = 0;
        for (std::ptrdiff_t j = whole - kTaps + 1; j <= whole + kTaps; ++j)
            d += m_diff[static_cast<std::size_t>(std::abs(j))] *
                 InterpolationKernel(lag - static_cast<double>(j));
        auto lower = static_cast<std::size_t>(std::max<std::ptrdiff_t>(whole, 1));
        double fraction = std::clamp(lag - static_cast<double>(lower), 0.0, 1.0);
        double mean = (1 - fraction) * m_cumulative[lower] / static_cast<double>(lower) +
                      fraction * m_cumulative[lower + 1] / static_cast<double>(lower + 1);
        return mean > 0 ? d / mean : 1.0;
    }

    // The lowest point of the dip around a local minimum at a whole lag. Searched between the neighbouring
    // lags when the lags around them were compared, else taken from the parabola through the three lags.
    Minimum Dip(std::size_t lag) {
        const auto whole = static_cast<double>(lag);
        if (lag >= m_limit)
            return {whole, Norm(lag)};
        if (lag + 1 + kTaps > m_lastLag) {
            Vertex v = ParabolaVertex(Norm(lag - 1), Norm(lag), Norm(lag + 1));
            return {whole + v.offset, v.value};
        }
        // Golden-section search over the two lags either side.
        constexpr double kRatio = 0.6180339887498949;
        double a = whole - 1, b = whole + 1;
        double c = b - kRatio * (b - a), e = a + kRatio * (b - a);
        double fc = NormBetween(c), fe = NormBetween(e);
        for (int i = 0; i < 32; ++i) {
            if (fc < fe) {
                b = e;
                e = c;
                fe = fc;
                c = b - kRatio * (b - a);
                fc = NormBetween(c);
            } else {
                a = c;
                c = e;
                fc = fe;
                e = a + kRatio * (b - a);
                fe = NormBetween(e);
            }
        }
        Minimum found{(a + b) / 2, NormBetween((a + b) / 2)};
        if (Norm(lag) < found.value)
            return {whole, Norm(lag)};
        return found;
    }

    const double* m_x;
    std::size_t m_window;
    std::size_t m_shortest;
    std::size_t m_limit;
    std::size_t m_lastLag; // the longest lag whose window fits in the audio
    std::size_t m_computed = 0;
    std::vector<double> m_diff;
    std::vector<double> m_cumulative;
    std::vector<double> m_norm;
};

} // namespace

PitchEstimate EstimatePitchDetailed(const std::int16_t* data, std::uint32_t frames, bool stereo,
                                    std::uint32_t rate, std::uint32_t markStart, std::uint32_t markLength) {
    PitchEstimate result;
    if (rate < 4000) {
        result.outcome = PitchEstimateOutcome::RateTooLow;
        return result;
    }
    const std::size_t longest = rate / 20;
    const std::size_t shortest = rate / 4000;
    if (markStart >= frames || frames - markStart < longest) {
        result.outcome = PitchEstimateOutcome::TooCloseToEnd;
        return result;
    }
    const std::size_t available = frames - markStart;
    // Lag L compares the frames [0, L) with [L, 2L), so the first pass stays inside the mark and the audio.
    const std::size_t limit = std::min({longest, std::size_t{markLength} / 2, available / 2});
    if (limit < shortest) {
        result.outcome = PitchEstimateOutcome::MarkTooShort;
        return result;
    }

    const std::size_t channels = stereo ? 2 : 1;
    const std::size_t used = std::min(available, 2 * longest + kTaps + 2);
    std::vector<double> x(used);
    const std::int16_t* first = data + std::size_t{markStart} * channels;
    for (std::size_t i = 0; i < used; ++i)
        x[i] = first[i * channels];

    std::optional<double> coarse = CoarseSearch(x.data(), used, shortest, limit).Period();
    if (!coarse) {
        result.outcome = PitchEstimateOutcome::NoPeriod;
        return result;
    }

    // Refinement: the same repetition near twice the last lag, within half a period either side so that only
    // one multiple of the period can be found there. The longer the lag, the finer the period.
    double lag = *coarse;
    double periods = 1;
    std::vector<double> diff;
    for (;;) {
        const double period = lag / periods;
        const double centre = 2 * lag;
        const auto lo = static_cast<std::size_t>(std::ceil(centre - period / 2));
        const auto hi = static_cast<std::size_t>(std::floor(centre + period / 2));
        if (lo < 2 || hi < lo || hi > longest || hi + 1 >= used)
            break;
        // Lags lo - 1 .. hi + 1 all fit with this window.
        const std::size_t window = std::min(hi, used - (hi + 1));
        if (static_cast<double>(window) < std::ceil(period))
            break;
        diff.assign(hi - lo + 3, 0);
        for (std::size_t i = 0; i < diff.size(); ++i)
            diff[i] = SquaredDifference(x.data(), lo - 1 + i, window);
        std::size_t best = 1;
        for (std::size_t i = 2; i + 1 < diff.size(); ++i) {
            if (diff[i] < diff[best])
                best = i;
        }
        lag = static_cast<double>(lo - 1 + best) +
              ParabolaVertex(diff[best - 1], diff[best], diff[best + 1]).offset;
        periods *= 2;
    }

    result.outcome = PitchEstimateOutcome::Found;
    result.hz = static_cast<double>(rate) * periods / lag;
    return result;
}

std::optional<double> EstimatePitch(const std::int16_t* data, std::uint32_t frames, bool stereo,
                                    std::uint32_t rate, std::uint32_t markStart, std::uint32_t markLength) {
    PitchEstimate estimate = EstimatePitchDetailed(data, frames, stereo, rate, markStart, markLength);
    if (estimate.outcome != PitchEstimateOutcome::Found)
        return std::nullopt;
    return estimate.hz;
}
