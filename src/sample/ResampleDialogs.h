#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

// The two dialogs that change a sample's rate, and the range both accept.

inline constexpr std::uint32_t kMinSampleRate = 4000;
inline constexpr std::uint32_t kMaxSampleRate = 96000;

// A rate as typed: the value, or the dialog framework's message.
std::variant<std::uint32_t, std::string> ValidateSampleRate(const std::string& text);
// The framework's message for a rate outside the range; nothing when it is inside.
std::optional<std::string> SampleRateProblem(std::uint32_t rate);

enum class ResampleMode { Rate, Pitch };
// In the order of their numbers in the dialog: linear 0, bandlimited 1, drop/hold 2.
enum class ResampleMethod { Linear = 0, Bandlimited = 1, DropHold = 2 };

// "Change Sample Rate/Pitch": recompute the audio for a new rate at the same pitch, or for a new
// pitch at the same rate.
struct ResampleValues {
    ResampleMode mode = ResampleMode::Rate;
    std::uint32_t rate = 44100;
    std::string pitchText; // a pitch text such as "A 4 +0.00"; only its first three characters count
    ResampleMethod method = ResampleMethod::Linear;

    bool operator==(const ResampleValues&) const = default;
};

// "Change Sample Rate": a new nominal rate; the audio is not touched.
struct PlaybackRateValues {
    std::uint32_t rate = 44100;

    bool operator==(const PlaybackRateValues&) const = default;
};
