#pragma once

#include "archive/PackedPoint.h"

#include "platform/DrawingSurface.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// The breakpoint graph without its window: ranges, grid steps, the points of the curve, the
// logical-to-pixel mapping, the pointer's editing rules and the painting. The window feeds it
// pointer positions in client pixels and repaints when a handler asks for it.
class CBreakpointGraphModel {
public:
    // What the owner is told, synchronously and in order.
    enum NotifyKind : int {
        kEditEnded = 0,    // value 0: the button went up or a point was removed
        kPointChanged = 1, // value: the packed point picked up, added or moved
    };
    using NotifyFunction = std::function<void(int kind, std::uint32_t value)>;

    static constexpr int kDefaultMaxPoints = 30000;
    static constexpr int kHandleHalf = 3; // a point's circle reaches this many pixels each way

    // The owner receives the notifications; without one a click adds nothing and drags are silent.
    void SetOwner(NotifyFunction notify) { m_notify = std::move(notify); }
    bool HasOwner() const { return static_cast<bool>(m_notify); }

    void SetXRange(std::int32_t low, std::int32_t high, std::int32_t step);
    void SetYRange(std::int32_t low, std::int32_t high, std::int32_t step);
    std::int32_t GetXLow() const { return m_nXLow; }
    std::int32_t GetXHigh() const { return m_nXHigh; }
    std::int32_t GetXStep() const { return m_nXStep; }
    std::int32_t GetYLow() const { return m_nYLow; }
    std::int32_t GetYHigh() const { return m_nYHigh; }
    std::int32_t GetYStep() const { return m_nYStep; }

    void SetClientSize(std::int32_t width, std::int32_t height);
    std::int32_t GetClientWidth() const { return m_nWidth; }
    std::int32_t GetClientHeight() const { return m_nHeight; }
    // Logical x low..x high over the width, y high at the top down to y low at the bottom.
    SurfaceMapping GetMapping() const;

    // Growing fills with (0, 0); a negative count empties the curve.
    void SetPointCount(int count);
    int GetPointCount() const { return static_cast<int>(m_points.size()); }
    // An index beyond the end grows the curve to reach it; a negative index is ignored.
    void SetPoint(int index, std::int32_t x, std::int32_t y);
    std::uint32_t GetPoint(int index) const { return m_points.at(static_cast<std::size_t>(index)); }
    const std::vector<std::uint32_t>& GetPoints() const { return m_points; }
    void SetMaxPoints(int maxPoints) { m_nMaxPoints = maxPoints; }
    int GetMaxPoints() const { return m_nMaxPoints; }

    int GetSelectedPoint() const { return m_nSelected; }
    bool IsFineX() const { return m_bFineX; }
    bool IsFineY() const { return m_bFineY; }
    bool HasCapture() const { return m_bCapture; }

    // The index of the first point whose handle square holds the pixel, or -1.
    int HitTest(SurfacePoint pixel) const;

    // Pointer input in client pixels. Each returns true when the graph needs repainting; the
    // capture they take and release is the model's own, kept in step with the button.
    bool OnLeftButtonDown(SurfacePoint pixel);
    bool OnPointerMove(SurfacePoint pixel);
    bool OnLeftButtonUp();
    bool OnLeftDoubleClick(SurfacePoint pixel);
    bool OnRightButtonDown(SurfacePoint pixel);
    bool OnRightButtonUp();

    void Paint(DrawingSurface& surface) const;

private:
    SurfacePoint PixelOf(std::uint32_t point) const;
    SurfaceRect HandleOf(std::uint32_t point) const;
    void Notify(int kind, std::uint32_t value) const;
    void ReleaseCapture();

    std::int32_t m_nXLow = 0;
    std::int32_t m_nXHigh = 0;
    std::int32_t m_nXStep = 0;
    std::int32_t m_nYLow = 0;
    std::int32_t m_nYHigh = 0;
    std::int32_t m_nYStep = 0;
    std::int32_t m_nWidth = 0;
    std::int32_t m_nHeight = 0;
    std::vector<std::uint32_t> m_points;
    int m_nMaxPoints = kDefaultMaxPoints;
    int m_nSelected = -1;
    bool m_bFineX = false;
    bool m_bFineY = false;
    bool m_bCapture = false;
    SurfacePoint m_lastPixel;
    NotifyFunction m_notify;
};

// The grid step for a graph spanning `span` units: the largest power of ten strictly below it,
// and 1 for spans of 10 or less.
std::int32_t GridStepBelow(std::int32_t span);

// What a page shows above its graph for a notice: the moving point's x and y in `format`, or
// nothing once the edit has ended.
std::string PointReadOut(int kind, std::uint32_t point, const char* format);
