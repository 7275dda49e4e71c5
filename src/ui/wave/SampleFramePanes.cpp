#include "ui/wave/SampleFramePanes.h"

#include <algorithm>
#include <cstdio>

namespace SampleFramePanes {
namespace {
template <class... Args> std::string Format(const char* format, Args... args) {
    char text[128];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}
} // namespace

std::string PlayText(std::uint64_t start, std::uint64_t stop) {
    return Format("Play: %06lu  %06lu", static_cast<unsigned long>(start), static_cast<unsigned long>(stop));
}

std::string LoopText(std::uint64_t start, std::uint64_t end) {
    return Format("Loop: %06lu  %06lu", static_cast<unsigned long>(start), static_cast<unsigned long>(end));
}

std::string PitchPaneText(double hz, const std::string& noteName) {
    return Format("Pitch: %s (%.2f Hz)", noteName.c_str(), hz);
}

std::string PositionText(std::int64_t frame) {
    return Format("%6ld", static_cast<long>(frame));
}

std::string TimeText(std::int64_t frame, std::uint32_t rate) {
    return Format("%2.3f", static_cast<double>(frame) / static_cast<double>(rate));
}

std::string MarkText(std::uint32_t start, std::uint32_t length, std::uint32_t rate) {
    if (length == 0)
        return {};
    const double seconds = rate == 0 ? 0.0 : static_cast<double>(length) / rate;
    return Format("Mark: %06lu  %06lu  %.3f s", static_cast<unsigned long>(start),
                  static_cast<unsigned long>(length), seconds);
}

std::pair<int, int> SplitRows(int total) {
    return {std::max(total * 85 / 100, 10), std::max(total * 15 / 100, 10)};
}
} // namespace SampleFramePanes
