#include "sample/TpdfDither.h"

#include <algorithm>
#include <cmath>

double CTpdfDither::Uniform() {
    // splitmix64: small, fast and well spread.
    std::uint64_t z = (m_nState += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * 0x1.0p-53;
}

std::int16_t CTpdfDither::Quantize(double value) {
    double noise = Uniform() - Uniform();
    double rounded = std::floor(value * 32768.0 + noise + 0.5);
    if (!(rounded == rounded))
        return 0;
    return static_cast<std::int16_t>(std::clamp(rounded, -32768.0, 32767.0));
}
