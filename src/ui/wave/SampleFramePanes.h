#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>

// The wave editor window's status panes and split, without the window.
namespace SampleFramePanes {
// Panes 1 to 6: play range, loop, pitch, position, time, marked range; pane 0 stretches. The
// panes grow past these widths when the font needs it.
inline constexpr std::array<int, 6> kWidths{113, 118, 149, 41, 30, 170};
inline constexpr const char* kIdlePrompt = "For Help, press F1";

std::string PlayText(std::uint64_t start, std::uint64_t stop);
std::string LoopText(std::uint64_t start, std::uint64_t end);
std::string PitchPaneText(double hz, const std::string& noteName);
std::string PositionText(std::int64_t frame);
std::string TimeText(std::int64_t frame, std::uint32_t rate);
// The marked range as start, length and duration; empty when nothing is marked.
std::string MarkText(std::uint32_t start, std::uint32_t length, std::uint32_t rate);

// Heights of the waveform view and the overview strip for the two rows' total height: 85 % and
// 15 %, neither below 10 pixels.
std::pair<int, int> SplitRows(int total);
} // namespace SampleFramePanes
