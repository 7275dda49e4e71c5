#pragma once

#include "platform/Settings.h"

#include <optional>

// The main window's place on the screen, kept in the settings file between runs: the size and
// position it has when not maximized, and whether it was maximized.
struct WindowGeometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;

    bool operator==(const WindowGeometry&) const = default;

    // Nothing when the file holds no geometry, or one no window can have.
    static std::optional<WindowGeometry> Load(Settings& settings);
    void Save(Settings& settings) const;

    // Moved and shrunk as little as needed to lie wholly on `screen` (a screen that changed since).
    WindowGeometry FittedTo(const WindowGeometry& screen) const;
};
