#pragma once

#include <cstdint>
#include <optional>

// Guessing the pitch of a sample from a marked stretch of its audio.
//
// The search looks at lags between the period of 4000 Hz (rate / 4000 frames) and the period of 20 Hz
// (rate / 20 frames). A first pass over lags up to half the mark finds the shortest lag at which the audio
// truly repeats; later passes look for the same repetition near twice, four times, ... that lag, as long
// as the lag stays within rate / 20, so that the period is measured over as many periods as fit. Only the
// first channel of stereo audio is used. The work is quadratic in rate / 20 (at most half the mark for the
// first pass) and the only memory taken is a few tables of about 2 × rate / 20 values.

enum class PitchEstimateOutcome {
    Found,
    // The rate is below 4000 Hz (or 0): there is no lag range to search.
    RateTooLow,
    // Fewer than rate / 20 frames lie between the mark start and the end of the audio (this includes a mark
    // start at or beyond the end, and audio of 0 or 1 frames).
    TooCloseToEnd,
    // The mark is shorter than two periods of 4000 Hz, so not even the shortest lag can be compared.
    MarkTooShort,
    // Nothing within the searched lags repeats: silence, a constant level, noise, or a tone whose period is
    // longer than half the mark.
    NoPeriod,
};

struct PitchEstimate {
    PitchEstimateOutcome outcome = PitchEstimateOutcome::NoPeriod;
    double hz = 0; // set when Found
};

// The fundamental of the first channel of interleaved 16-bit audio (`frames` frames, two samples per frame
// when `stereo`) at `rate` Hz, starting at the mark start `markStart` and searching lags up to half of
// `markLength`. Reads at most 2 × rate / 20 + 10 frames from the mark start and never past `frames`; `data`
// is not touched when the outcome is decided before the search (it may be null when frames is 0).
PitchEstimate EstimatePitchDetailed(const std::int16_t* data, std::uint32_t frames, bool stereo,
                                    std::uint32_t rate, std::uint32_t markStart, std::uint32_t markLength);

// The estimated frequency in Hz, or nothing for every outcome other than Found: too close to the end
// (frames - markStart < rate / 20), a rate below 4000 Hz, a mark shorter than 2 × (rate / 4000) frames, or
// audio that does not repeat within the searched lags (silence, noise).
std::optional<double> EstimatePitch(const std::int16_t* data, std::uint32_t frames, bool stereo,
                                    std::uint32_t rate, std::uint32_t markStart, std::uint32_t markLength);
