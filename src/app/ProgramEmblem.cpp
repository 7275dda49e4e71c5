#include "app/ProgramEmblem.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace ProgramEmblem {
std::vector<Point> Tone(double left, double top, double width, double height) {
    constexpr int kSteps = 400;
    std::vector<Point> points;
    points.reserve(kSteps + 1);
    for (int i = 0; i <= kSteps; ++i) {
        double t = static_cast<double>(i) / kSteps;
        double envelope = std::exp(-2.2 * t) * (0.25 + 0.75 * std::min(1.0, t * 12));
        double y = envelope * std::sin(t * 2 * std::numbers::pi * 11) *
                   (0.8 + 0.2 * std::sin(t * 2 * std::numbers::pi * 33));
        points.push_back({left + t * width, top + height / 2 - y * height / 2});
    }
    return points;
}

std::string Svg() {
    char buffer[160];
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">\n";
    std::snprintf(buffer, sizeof buffer,
                  "<rect x=\"%g\" y=\"%g\" width=\"%g\" height=\"%g\" rx=\"%g\" fill=\"#%06x\"/>\n",
                  kTileInset, kTileInset, kSize - 2 * kTileInset, kSize - 2 * kTileInset, kTileRadius,
                  kTileColour);
    svg += buffer;
    svg += "<path fill=\"none\" stroke-linejoin=\"bevel\" stroke-linecap=\"square\" d=\"";
    const std::vector<Point> tone = Tone(kWaveLeft, kWaveTop, kWaveWidth, kWaveHeight);
    for (std::size_t i = 0; i < tone.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, "%s%.2f,%.2f", i == 0 ? "M" : " L", tone[i].x, tone[i].y);
        svg += buffer;
    }
    std::snprintf(buffer, sizeof buffer, "\" stroke=\"#%06x\" stroke-width=\"%g\"/>\n</svg>\n", kWaveColour,
                  kWaveStroke);
    svg += buffer;
    return svg;
}
} // namespace ProgramEmblem
