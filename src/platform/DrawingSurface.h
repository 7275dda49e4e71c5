#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the views and controls draw on: pens, brushes and a font selected GDI-style, lines,
// polylines, ellipses, rectangles, text and colour inversion, in logical coordinates under an
// anisotropic window/viewport mapping. The Qt adapter paints with QPainter; tests record.

struct Colour {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Colour&) const = default;
};

enum class PenStyle { Solid, Dotted, None };

struct Pen {
    PenStyle style = PenStyle::Solid;
    Colour colour;
    int width = 1; // 1: the thinnest line the device draws, whatever the mapping
    bool operator==(const Pen&) const = default;
};

enum class BrushStyle { Solid, ForwardDiagonalHatch, Hollow };

struct Brush {
    BrushStyle style = BrushStyle::Solid;
    Colour colour{255, 255, 255};
    bool operator==(const Brush&) const = default;
};

struct Font {
    std::string face = "MS Sans Serif";
    int height = 8; // character height in logical units
    int weight = 400;
    bool operator==(const Font&) const = default;
};

struct SurfacePoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const SurfacePoint&) const = default;
};

// A rectangle from (left, top) inclusive to (right, bottom) exclusive.
struct SurfaceRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const SurfaceRect&) const = default;
};

// Logical x maps to device (x − windowOrg.x) × viewportExt.x / windowExt.x + viewportOrg.x, and
// likewise for y; negative extents flip an axis. The identity maps logical units to pixels.
struct SurfaceMapping {
    SurfacePoint windowOrg{0, 0};
    SurfacePoint windowExt{1, 1};
    SurfacePoint viewportOrg{0, 0};
    SurfacePoint viewportExt{1, 1};
    bool operator==(const SurfaceMapping&) const = default;
};

// Device pixel to logical point, truncating toward zero as the platform's conversion does.
SurfacePoint DeviceToLogical(const SurfaceMapping& mapping, SurfacePoint device);
SurfacePoint LogicalToDevice(const SurfaceMapping& mapping, SurfacePoint logical);

class DrawingSurface {
public:
    virtual ~DrawingSurface();

    // Each Select returns what was selected before, for the caller to put back.
    virtual Pen SelectPen(const Pen& pen) = 0;
    virtual Brush SelectBrush(const Brush& brush) = 0;
    virtual Font SelectFont(const Font& font) = 0;
    virtual SurfaceMapping SetMapping(const SurfaceMapping& mapping) = 0;
    virtual SurfaceMapping Mapping() const = 0;

    virtual void Line(SurfacePoint from, SurfacePoint to) = 0;
    virtual void Polyline(const std::vector<SurfacePoint>& points) = 0;
    // Outlined with the pen, filled with the brush.
    virtual void Rectangle(const SurfaceRect& rect) = 0;
    virtual void Ellipse(const SurfaceRect& rect) = 0;
    virtual void FillRect(const SurfaceRect& rect, Colour colour) = 0;
    // Inverts every colour inside the rectangle; inverting twice restores it.
    virtual void InvertRect(const SurfaceRect& rect) = 0;
    // Text with its top-left corner at `at`, in the selected font.
    virtual void Text(SurfacePoint at, const std::string& text) = 0;
    // Nothing outside the rectangle (logical units under the current mapping, fixed in device
    // pixels from then on) is drawn any more; a second clip narrows the first.
    virtual void ClipTo(const SurfaceRect& rect) = 0;
};

// Selects a pen for a scope and puts the previous one back.
class ScopedPen {
public:
    ScopedPen(DrawingSurface& surface, const Pen& pen)
        : m_surface(surface), m_previous(surface.SelectPen(pen)) {}
    ~ScopedPen() { m_surface.SelectPen(m_previous); }
    ScopedPen(const ScopedPen&) = delete;
    ScopedPen& operator=(const ScopedPen&) = delete;

private:
    DrawingSurface& m_surface;
    Pen m_previous;
};
