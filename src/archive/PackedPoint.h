#pragma once

#include <cstdint>

// Envelope breakpoints and routing curves keep a point in one 32-bit word: x (a time in ms or an
// input value) in the low 16 bits, y (a level or an amount) in the high 16 bits.

inline std::int16_t PackedX(std::uint32_t point) {
    return static_cast<std::int16_t>(point & 0xFFFF);
}

inline std::int16_t PackedY(std::uint32_t point) {
    return static_cast<std::int16_t>(point >> 16);
}

// Only the low 16 bits of each coordinate are kept.
inline std::uint32_t PackPoint(std::int32_t x, std::int32_t y) {
    return (static_cast<std::uint32_t>(y) << 16) | (static_cast<std::uint32_t>(x) & 0xFFFF);
}
