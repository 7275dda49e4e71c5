#pragma once

#include <bit>
#include <cstdint>

// Multi-byte values of RIFF files, read and written byte by byte whatever the host's order.

inline std::uint16_t GetLE16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline std::uint32_t GetLE32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline double GetLEDouble(const std::uint8_t* p) {
    std::uint64_t bits = GetLE32(p) | static_cast<std::uint64_t>(GetLE32(p + 4)) << 32;
    return std::bit_cast<double>(bits);
}

inline void PutLE16(std::uint8_t* p, std::uint16_t value) {
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void PutLE32(std::uint8_t* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline void PutLEDouble(std::uint8_t* p, double value) {
    std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    PutLE32(p, static_cast<std::uint32_t>(bits));
    PutLE32(p + 4, static_cast<std::uint32_t>(bits >> 32));
}

// A four-character chunk code as the file spells it: "fmt " is the bytes 'f' 'm' 't' ' '.
constexpr std::uint32_t FourCC(const char (&code)[5]) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(code[0])) |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(code[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(code[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(code[3])) << 24;
}
