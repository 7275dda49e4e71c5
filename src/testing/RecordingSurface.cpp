#include "testing/RecordingSurface.h"

#include <algorithm>
#include <utility>

Pen RecordingSurface::SelectPen(const Pen& pen) {
    return std::exchange(m_pen, pen);
}

Brush RecordingSurface::SelectBrush(const Brush& brush) {
    return std::exchange(m_brush, brush);
}

Font RecordingSurface::SelectFont(const Font& font) {
    return std::exchange(m_font, font);
}

SurfaceMapping RecordingSurface::SetMapping(const SurfaceMapping& mapping) {
    return std::exchange(m_mapping, mapping);
}

void RecordingSurface::Record(Kind kind, std::vector<SurfacePoint> points, std::string text, Colour fill) {
    m_primitives.push_back(
        {kind, std::move(points), std::move(text), fill, m_pen, m_brush, m_font, m_mapping, m_clip});
}

void RecordingSurface::Line(SurfacePoint from, SurfacePoint to) {
    Record(Kind::Line, {from, to});
}

void RecordingSurface::Polyline(const std::vector<SurfacePoint>& points) {
    Record(Kind::Polyline, points);
}

void RecordingSurface::Rectangle(const SurfaceRect& r) {
    Record(Kind::Rectangle, {{r.left, r.top}, {r.right, r.bottom}});
}

void RecordingSurface::Ellipse(const SurfaceRect& r) {
    Record(Kind::Ellipse, {{r.left, r.top}, {r.right, r.bottom}});
}

void RecordingSurface::FillRect(const SurfaceRect& r, Colour colour) {
    Record(Kind::FillRect, {{r.left, r.top}, {r.right, r.bottom}}, {}, colour);
}

void RecordingSurface::InvertRect(const SurfaceRect& r) {
    Record(Kind::InvertRect, {{r.left, r.top}, {r.right, r.bottom}});
}

void RecordingSurface::Text(SurfacePoint at, const std::string& text) {
    Record(Kind::Text, {at}, text);
}

void RecordingSurface::ClipTo(const SurfaceRect& rect) {
    SurfacePoint a = LogicalToDevice(m_mapping, {rect.left, rect.top});
    SurfacePoint b = LogicalToDevice(m_mapping, {rect.right, rect.bottom});
    SurfaceRect device{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    if (m_clip) {
        device.left = std::max(device.left, m_clip->left);
        device.top = std::max(device.top, m_clip->top);
        device.right = std::max(device.left, std::min(device.right, m_clip->right));
        device.bottom = std::max(device.top, std::min(device.bottom, m_clip->bottom));
    }
    m_clip = device;
}

std::vector<RecordingSurface::Primitive> RecordingSurface::OfKind(Kind kind) const {
    std::vector<Primitive> found;
    for (const auto& primitive : m_primitives)
        if (primitive.kind == kind)
            found.push_back(primitive);
    return found;
}
