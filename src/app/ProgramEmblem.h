#pragma once

#include <string>
#include <vector>

// The program's emblem, one drawing for the window icon, the installed icons and the splash: a
// decaying tone on a rounded tile, laid out in a square of 64 units.
namespace ProgramEmblem {
inline constexpr double kSize = 64;
inline constexpr double kTileInset = 2;
inline constexpr double kTileRadius = 10;
inline constexpr unsigned kTileColour = 0x1e3c6e;
inline constexpr unsigned kWaveColour = 0x78dca0;
inline constexpr double kWaveLeft = 8, kWaveTop = 12, kWaveWidth = 48, kWaveHeight = 40, kWaveStroke = 3;

struct Point {
    double x;
    double y;
};

// The tone's outline across `width` by `height` from (left, top): y grows downward.
std::vector<Point> Tone(double left, double top, double width, double height);

// The emblem as a scalable picture (SVG).
std::string Svg();
} // namespace ProgramEmblem
