#include "app/WindowGeometry.h"

#include <algorithm>

namespace {
const char* const kSection = "Main Window";
constexpr int kAbsent = -1;
// Smaller than this is no window a person left on purpose.
constexpr int kMinimumSide = 100;
} // namespace

std::optional<WindowGeometry> WindowGeometry::Load(Settings& settings) {
    WindowGeometry geometry;
    geometry.width = settings.GetInt(kSection, "Width", kAbsent);
    geometry.height = settings.GetInt(kSection, "Height", kAbsent);
    if (geometry.width < kMinimumSide || geometry.height < kMinimumSide)
        return std::nullopt;
    geometry.left = settings.GetInt(kSection, "Left", 0);
    geometry.top = settings.GetInt(kSection, "Top", 0);
    geometry.maximized = settings.GetInt(kSection, "Maximized", 0) != 0;
    return geometry;
}

void WindowGeometry::Save(Settings& settings) const {
    settings.SetInt(kSection, "Left", left);
    settings.SetInt(kSection, "Top", top);
    settings.SetInt(kSection, "Width", width);
    settings.SetInt(kSection, "Height", height);
    settings.SetInt(kSection, "Maximized", maximized ? 1 : 0);
}

WindowGeometry WindowGeometry::FittedTo(const WindowGeometry& screen) const {
    WindowGeometry fitted = *this;
    fitted.width = std::min(width, screen.width);
    fitted.height = std::min(height, screen.height);
    fitted.left = std::clamp(left, screen.left, screen.left + screen.width - fitted.width);
    fitted.top = std::clamp(top, screen.top, screen.top + screen.height - fitted.height);
    return fitted;
}
