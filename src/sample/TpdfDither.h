#pragma once

#include <cstdint>

// Rounds audio of more than 16 bits to 16-bit samples with triangular (TPDF) dither of one step
// either way. The noise comes from a fixed seed, so a conversion gives the same samples every time.
class CTpdfDither {
public:
    explicit CTpdfDither(std::uint64_t seed = 0x9E3779B97F4A7C15u) : m_nState(seed) {}

    // `value` at full scale is 1.0; beyond the 16-bit range the result is held at its ends.
    std::int16_t Quantize(double value);

private:
    // A uniform value in [0, 1).
    double Uniform();

    std::uint64_t m_nState;
};
