#include "ui/patch/BreakpointGraphModel.h"

#include <algorithm>
#include <cstdio>

namespace {
const Colour kWhite{255, 255, 255};
const Pen kGridPen{PenStyle::Solid, {192, 192, 192}};
const Pen kCentrePen{PenStyle::Solid, {255, 64, 64}};
const Pen kCurvePen{PenStyle::Solid, {0, 0, 0}};
const Pen kHoldPen{PenStyle::Dotted, {0, 128, 0}};
const Brush kHandleBrush{BrushStyle::Solid, {255, 255, 255}};

// Key-number graphs step by octaves; their line at middle C stands out.
constexpr std::int32_t kOctaveStep = 12;
constexpr std::int32_t kMiddleC = 60;

std::int32_t Narrow(std::int64_t value) {
    return static_cast<std::int32_t>(value);
}
} // namespace

void CBreakpointGraphModel::SetXRange(std::int32_t low, std::int32_t high, std::int32_t step) {
    m_nXLow = low;
    m_nXHigh = high;
    m_nXStep = step;
}

void CBreakpointGraphModel::SetYRange(std::int32_t low, std::int32_t high, std::int32_t step) {
    m_nYLow = low;
    m_nYHigh = high;
    m_nYStep = step;
}

void CBreakpointGraphModel::SetClientSize(std::int32_t width, std::int32_t height) {
    m_nWidth = std::max(width, 0);
    m_nHeight = std::max(height, 0);
}

SurfaceMapping CBreakpointGraphModel::GetMapping() const {
    // Both vertical extents are halved, truncating toward zero.
    SurfaceMapping mapping;
    mapping.windowOrg = {m_nXLow, m_nYHigh};
    mapping.windowExt = {Narrow(std::int64_t{m_nXHigh} - m_nXLow),
                         Narrow((std::int64_t{m_nYLow} - m_nYHigh) / 2)};
    mapping.viewportOrg = {0, 0};
    mapping.viewportExt = {m_nWidth, m_nHeight / 2};
    return mapping;
}

void CBreakpointGraphModel::SetPointCount(int count) {
    m_points.resize(static_cast<std::size_t>(std::max(count, 0)), 0u);
    if (m_nSelected >= GetPointCount())
        m_nSelected = -1;
}

void CBreakpointGraphModel::SetPoint(int index, std::int32_t x, std::int32_t y) {
    if (index < 0)
        return;
    if (index >= GetPointCount())
        m_points.resize(static_cast<std::size_t>(index) + 1, 0u);
    m_points[static_cast<std::size_t>(index)] = PackPoint(x, y);
}

SurfacePoint CBreakpointGraphModel::PixelOf(std::uint32_t point) const {
    return LogicalToDevice(GetMapping(), {PackedX(point), PackedY(point)});
}

SurfaceRect CBreakpointGraphModel::HandleOf(std::uint32_t point) const {
    SurfacePoint pixel = PixelOf(point);
    return {pixel.x - kHandleHalf, pixel.y - kHandleHalf, pixel.x + kHandleHalf, pixel.y + kHandleHalf};
}

int CBreakpointGraphModel::HitTest(SurfacePoint pixel) const {
    for (int i = 0; i < GetPointCount(); ++i) {
        SurfaceRect handle = HandleOf(m_points[static_cast<std::size_t>(i)]);
        if (pixel.x >= handle.left && pixel.x < handle.right && pixel.y >= handle.top &&
            pixel.y < handle.bottom)
            return i;
    }
    return -1;
}

void CBreakpointGraphModel::Notify(int kind, std::uint32_t value) const {
    if (m_notify)
        m_notify(kind, value);
}

void CBreakpointGraphModel::ReleaseCapture() {
    // Whichever button ends the drag ends a fine drag too, so a later drag never starts from a
    // stale last position.
    m_bCapture = false;
    m_bFineX = false;
    m_bFineY = false;
}

bool CBreakpointGraphModel::OnLeftButtonDown(SurfacePoint pixel) {
    if (!HasOwner() || m_nXLow == m_nXHigh || m_nYLow == m_nYHigh)
        return false;
    int hit = HitTest(pixel);
    if (hit >= 0) {
        m_nSelected = hit;
        Notify(kPointChanged, m_points[static_cast<std::size_t>(hit)]);
    } else {
        SurfacePoint logical = DeviceToLogical(GetMapping(), pixel);
        std::uint32_t point = PackPoint(logical.x, logical.y);
        std::int32_t x = PackedX(point);
        std::size_t place = m_points.size();
        for (std::size_t i = 0; i < m_points.size(); ++i) {
            std::int32_t existing = PackedX(m_points[i]);
            if (existing == x)
                return false;
            if (existing > x) {
                place = i;
                break;
            }
        }
        if (GetPointCount() >= m_nMaxPoints)
            return false;
        m_points.insert(m_points.begin() + static_cast<std::ptrdiff_t>(place), point);
        m_nSelected = static_cast<int>(place);
        Notify(kPointChanged, point);
    }
    m_bCapture = true;
    return true;
}

bool CBreakpointGraphModel::OnPointerMove(SurfacePoint pixel) {
    if (!m_bCapture || !HasOwner())
        return false;
    pixel.x = std::clamp(pixel.x, 0, m_nWidth);
    pixel.y = std::clamp(pixel.y, 0, m_nHeight);
    SurfacePoint logical = DeviceToLogical(GetMapping(), pixel);
    std::int64_t x = logical.x;
    std::int64_t y = logical.y;

    int i = m_nSelected;
    bool selected = i >= 0 && i < GetPointCount();
    if (selected) {
        std::uint32_t current = m_points[static_cast<std::size_t>(i)];
        if (m_bFineX)
            x = std::int64_t{PackedX(current)} + (pixel.x - m_lastPixel.x);
        if (m_bFineY)
            y = std::int64_t{PackedY(current)} + (m_lastPixel.y - pixel.y);
    }
    m_lastPixel = pixel;

    if (selected) {
        if (i == 0)
            x = m_nXLow;
        if (i > 0 && x <= PackedX(m_points[static_cast<std::size_t>(i) - 1]))
            x = PackedX(m_points[static_cast<std::size_t>(i) - 1]) + 1;
        if (i < GetPointCount() - 1 && x >= PackedX(m_points[static_cast<std::size_t>(i) + 1]))
            x = PackedX(m_points[static_cast<std::size_t>(i) + 1]) - 1;
        std::uint32_t point = PackPoint(Narrow(x), Narrow(y));
        m_points[static_cast<std::size_t>(i)] = point;
        Notify(kPointChanged, point);
    }
    return true;
}

bool CBreakpointGraphModel::OnLeftButtonUp() {
    if (!m_bCapture)
        return false;
    ReleaseCapture();
    Notify(kEditEnded, 0);
    return false;
}

bool CBreakpointGraphModel::OnLeftDoubleClick(SurfacePoint pixel) {
    int hit = HitTest(pixel);
    if (hit <= 0)
        return false;
    m_points.erase(m_points.begin() + hit);
    m_nSelected = -1;
    Notify(kEditEnded, 0);
    return true;
}

bool CBreakpointGraphModel::OnRightButtonDown(SurfacePoint pixel) {
    int hit = HitTest(pixel);
    if (hit < 0)
        return false;
    m_nSelected = hit;
    m_lastPixel = pixel;
    m_bFineX = m_nWidth < std::int64_t{m_nXHigh} - m_nXLow;
    m_bFineY = m_nHeight < std::int64_t{m_nYHigh} - m_nYLow;
    Notify(kPointChanged, m_points[static_cast<std::size_t>(hit)]);
    m_bCapture = true;
    return true;
}

bool CBreakpointGraphModel::OnRightButtonUp() {
    if (m_bCapture)
        ReleaseCapture();
    return false;
}

void CBreakpointGraphModel::Paint(DrawingSurface& surface) const {
    SurfaceMapping previousMapping = surface.SetMapping(SurfaceMapping{});
    SurfaceRect client{0, 0, m_nWidth, m_nHeight};
    surface.FillRect(client, kWhite);
    surface.ClipTo(client);
    Pen previousPen = surface.SelectPen(kGridPen);

    SurfaceMapping mapping = GetMapping();
    // An empty range or client area has no scale; the graph stays blank until it gets one.
    bool scaled = mapping.windowExt.x != 0 && mapping.windowExt.y != 0 && mapping.viewportExt.x != 0 &&
                  mapping.viewportExt.y != 0;
    if (scaled) {
        surface.SetMapping(mapping);

        if (m_nXStep > 0) {
            for (std::int64_t x = m_nXLow; x < m_nXHigh; x += m_nXStep) {
                bool centre = m_nXStep == kOctaveStep && x == kMiddleC;
                if (centre)
                    surface.SelectPen(kCentrePen);
                surface.Line({Narrow(x), m_nYHigh}, {Narrow(x), m_nYLow});
                if (centre)
                    surface.SelectPen(kGridPen);
            }
        }
        if (m_nYStep > 0) {
            for (std::int64_t y = m_nYLow; y < m_nYHigh; y += m_nYStep) {
                bool zero = y == 0;
                if (zero)
                    surface.SelectPen(kCentrePen);
                surface.Line({m_nXLow, Narrow(y)}, {m_nXHigh, Narrow(y)});
                if (zero)
                    surface.SelectPen(kGridPen);
            }
        }

        if (!m_points.empty()) {
            std::size_t beyond = m_points.size();
            for (std::size_t i = 0; i < m_points.size(); ++i) {
                if (PackedX(m_points[i]) > m_nXHigh) {
                    beyond = i;
                    break;
                }
            }

            surface.SelectPen(kCurvePen);
            // The handles keep their pixel size whatever the scale.
            surface.SetMapping(SurfaceMapping{});
            Brush previousBrush = surface.SelectBrush(kHandleBrush);
            for (std::size_t i = 0; i < beyond; ++i)
                surface.Ellipse(HandleOf(m_points[i]));
            surface.SelectBrush(previousBrush);
            surface.SetMapping(mapping);

            std::size_t end = std::min(beyond + 1, m_points.size());
            std::vector<SurfacePoint> line;
            line.reserve(end);
            for (std::size_t i = 0; i < end; ++i)
                line.push_back({PackedX(m_points[i]), PackedY(m_points[i])});
            if (line.size() > 1)
                surface.Polyline(line);

            if (beyond == m_points.size()) {
                surface.SelectPen(kHoldPen);
                SurfacePoint last = line.back();
                surface.Line(last, {m_nXHigh, last.y});
            }
        }
    }

    surface.SelectPen(previousPen);
    surface.SetMapping(previousMapping);
}

std::int32_t GridStepBelow(std::int32_t span) {
    std::int32_t step = 1;
    while (step * 10 < span)
        step *= 10;
    return step;
}

std::string PointReadOut(int kind, std::uint32_t point, const char* format) {
    if (kind != CBreakpointGraphModel::kPointChanged)
        return {};
    char text[32];
    std::snprintf(text, sizeof text, format, PackedX(point), PackedY(point));
    return text;
}
