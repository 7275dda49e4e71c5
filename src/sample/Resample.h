#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

// The resampling kernels: each reads 16-bit interleaved audio and writes 32-bit floats at a new
// spacing. Positions are in source frames; `step` source frames pass per destination frame.
struct ResampleParams {
    const std::int16_t* source = nullptr;
    std::uint32_t sourceFrames = 0;
    int sourceChannels = 1;
    float* destination = nullptr; // destinationFrames × destinationChannels values
    std::uint32_t destinationFrames = 0;
    int destinationChannels = 1;
    double phase = 0; // where the first destination frame sits; left after the last one on return
    double step = 1;
};

// The largest step the kernels take (a step beyond it leaves less than one destination frame of
// any 32-bit source).
inline constexpr double kMaxResampleStep = 0x1p31;

// Told after each block of destination frames how many are complete; those do not change again.
using ResampleProgress = std::function<void(std::uint32_t framesDone)>;

// Straight-line interpolation between neighbouring frames. A position at or past the last frame
// reads the last frame as its right-hand neighbour.
void ResampleLinearMono(ResampleParams& params, const ResampleProgress& progress = nullptr);
void ResampleLinearStereo(ResampleParams& params, const ResampleProgress& progress = nullptr);
void ResampleLinear(ResampleParams& params, const ResampleProgress& progress = nullptr);

// The frame at or before each position, held.
void ResampleDropHoldMono(ResampleParams& params, const ResampleProgress& progress = nullptr);
void ResampleDropHoldStereo(ResampleParams& params, const ResampleProgress& progress = nullptr);
void ResampleDropHold(ResampleParams& params, const ResampleProgress& progress = nullptr);

// The same two kernels, handing each block of destination values to `take` (`frames` frames from
// `firstFrame` on, in a buffer that the next block reuses) instead of filling `destination`.
using ResampleBlockSink =
    std::function<void(const float* values, std::uint32_t firstFrame, std::uint32_t frames)>;
void ResampleLinearInBlocks(ResampleParams& params, const ResampleBlockSink& take);
void ResampleDropHoldInBlocks(ResampleParams& params, const ResampleBlockSink& take);

// The same two kernels computed directly in extended precision, frame after frame. The kernels
// above give identical values faster; they fall back to these where fixed point cannot follow
// the positions exactly.
void ResampleLinearExtended(ResampleParams& params);
void ResampleDropHoldExtended(ResampleParams& params);

// A Hamming-windowed sinc whose cutoff drops with the rate, so that lowering the rate does not
// alias. The sums are not normalised: callers scale the result. Needs BuildSincTable first.
void ResampleBandlimited(ResampleParams& params, const ResampleProgress& progress = nullptr);
// The same values without the vector instructions that ResampleBandlimited uses where the
// processor has them.
void ResampleBandlimitedPortable(ResampleParams& params, const ResampleProgress& progress = nullptr);

// The bandlimited kernel's cutoff, as a fraction of the source rate.
float BandlimitedCutoff(double step);

// The positive peak (at least 0) and the largest magnitude among work values.
struct WorkPeaks {
    float positive = 0;
    float magnitude = 0;
};
WorkPeaks MeasureWork(const float* work, std::size_t count);

// Work values to samples: each w becomes w × scale rounded half up, kept as the low 16 bits of
// that whole number (a value beyond the 16-bit range wraps around). `magnitude` bounds |w|.
void StoreResampled(const float* work, std::size_t count, float scale, float magnitude, std::int16_t* audio);

// Fills the bandlimited kernel's 49-point windowed sinc and its slopes. Called once at start-up;
// calling it again changes nothing.
void BuildSincTable();
bool IsSincTableBuilt();

inline constexpr int kSincPoints = 49;
// The table and its slopes (slope k runs from point k to k + 1; the last one is 0).
const std::array<float, kSincPoints>& SincTable();
const std::array<float, kSincPoints>& SincSlopes();
