#pragma once

// The number rules shared by the operations that rewrite audio.
#include <cmath>
#include <cstddef>
#include <cstdint>

// Audio loops built twice, for AVX2 and for the baseline, the better chosen when the program
// loads: the binary stays portable. The arithmetic is the same in both. Not under
// ThreadSanitizer, whose instrumented chooser would run before the sanitizer is ready.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__) &&                 \
    !defined(__SANITIZE_THREAD__)
#define WLOE_AUDIO_LOOP __attribute__((target_clones("avx2", "default")))
#else
#define WLOE_AUDIO_LOOP
#endif

// Inlined into each build of an audio loop.
#if defined(__GNUC__)
#define WLOE_ALWAYS_INLINE [[gnu::always_inline]] inline
#else
#define WLOE_ALWAYS_INLINE inline
#endif

namespace SampleArithmetic {

// A whole number of decibels as a linear factor: 6 dB is exactly a factor of 2.
inline double LevelFactor(int dB) {
    return std::pow(2.0, dB / 6.0);
}

// The mixing operations treat -96 dB and below as silence.
inline double MixFactor(int dB) {
    return dB <= -96 ? 0.0 : LevelFactor(dB);
}

// The low 16 bits of a whole number held in a double: audio wraps around, it is never clipped.
// Exact for every finite value. A product that overflowed to infinity has no low bits: it is taken
// as full scale, as loud as a sample goes; what is not a number at all (0 × infinity) becomes 0.
inline std::int16_t WrapToSample(double whole) {
    constexpr double kInt64Limit = 9223372036854775808.0; // 2^63
    if (!(std::fabs(whole) < kInt64Limit)) {
        if (std::isnan(whole))
            return 0;
        if (std::isinf(whole))
            return whole > 0 ? std::int16_t{32767} : std::int16_t{-32768};
        whole = std::fmod(whole, 65536.0);
    }
    return static_cast<std::int16_t>(static_cast<std::int64_t>(whole));
}

// trunc(x), wrapped, for any x.
inline std::int16_t TruncToSample(double x) {
    return WrapToSample(std::trunc(x));
}

// trunc(x), wrapped, for |x| < 2^31: one conversion, which the compiler vectorises.
inline std::int16_t TruncSmallToSample(double x) {
    return static_cast<std::int16_t>(static_cast<std::int32_t>(x));
}

// Samples handled between two progress reports of a long loop.
constexpr std::size_t kProgressBlock = std::size_t{1} << 20;

} // namespace SampleArithmetic
