#pragma once

#include <climits>
#include <optional>
#include <string>

// The values of the level dialogs, in whole decibels, with the limits the dialogs check on OK.
// Every level edit box sits beside a vertical slider from +12 dB at the top to -96 dB at the
// bottom, with a tick every 12 dB; a value outside that span puts the slider at its end.
namespace LevelSlider {
constexpr int kTopDb = 12;
constexpr int kBottomDb = -96;
constexpr int kTickDb = 12;
} // namespace LevelSlider

// "Adjust Gain": a linear ramp from the Begin levels to the End levels.
struct GainValues {
    int beginLeft = 0;
    int beginRight = 0;
    int endLeft = 0;
    int endRight = 0;
    // Whether the sample is stereo: the Right controls are enabled only then.
    bool stereo = false;

    // Any whole number is accepted.
    static constexpr long long kLowest = INT_MIN;
    static constexpr long long kHighest = INT_MAX;
};

// "Remix Stereo": each output channel from both inputs.
struct RemixValues {
    int leftFromLeft = 0;    // Left Out, Left In
    int leftFromRight = -96; // Left Out, Right In
    int rightFromLeft = -96; // Right Out, Left In
    int rightFromRight = 0;  // Right Out, Right In

    static constexpr long long kLowest = -96;
    static constexpr long long kHighest = 96;
};

// "Reduce To Mono": how much of each input goes into the mono sum.
struct MonoValues {
    int left = -6;
    int right = -6;

    static constexpr long long kLowest = INT_MIN;
    static constexpr long long kHighest = INT_MAX;
};

// The dialog framework's message for the first value outside the dialog's range, if any.
std::optional<std::string> RangeMessage(const GainValues& values);
std::optional<std::string> RangeMessage(const RemixValues& values);
std::optional<std::string> RangeMessage(const MonoValues& values);
