#pragma once

#include <cstdint>
#include <optional>
#include <string>

// "Crossfade Loop": the radius around the loop points and the shape of the fade.
struct CrossfadeValues {
    std::uint32_t radiusMs = 0; // must be typed before OK is accepted
    std::uint32_t contour = 0;  // 0 = linear, 100 = equal squares

    static constexpr std::uint32_t kRadiusLowest = 1;
    static constexpr std::uint32_t kRadiusHighest = 10000;
    static constexpr std::uint32_t kContourLowest = 0;
    // Above 100 the two weights sum to well over 1 and the splice steps: refused.
    static constexpr std::uint32_t kContourHighest = 100;
};

// The dialog framework's message for the first value outside its range, if any.
std::optional<std::string> RangeMessage(const CrossfadeValues& values);
