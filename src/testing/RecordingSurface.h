#pragma once

#include "platform/DrawingSurface.h"

#include <optional>
#include <vector>

// A surface that remembers every primitive with the pen, brush, font and mapping it was drawn
// with, so tests can assert exactly what was drawn.
class RecordingSurface : public DrawingSurface {
public:
    enum class Kind { Line, Polyline, Rectangle, Ellipse, FillRect, InvertRect, Text };
    struct Primitive {
        Kind kind;
        std::vector<SurfacePoint> points; // line: from, to; polyline: all; rectangles: top-left, bottom-right
        std::string text;
        Colour fill;
        Pen pen;
        Brush brush;
        Font font;
        SurfaceMapping mapping;
        std::optional<SurfaceRect> clip; // in device pixels; none while nothing is clipped
    };

    Pen SelectPen(const Pen& pen) override;
    Brush SelectBrush(const Brush& brush) override;
    Font SelectFont(const Font& font) override;
    SurfaceMapping SetMapping(const SurfaceMapping& mapping) override;
    SurfaceMapping Mapping() const override { return m_mapping; }

    void Line(SurfacePoint from, SurfacePoint to) override;
    void Polyline(const std::vector<SurfacePoint>& points) override;
    void Rectangle(const SurfaceRect& rect) override;
    void Ellipse(const SurfaceRect& rect) override;
    void FillRect(const SurfaceRect& rect, Colour colour) override;
    void InvertRect(const SurfaceRect& rect) override;
    void Text(SurfacePoint at, const std::string& text) override;
    void ClipTo(const SurfaceRect& rect) override;

    const std::vector<Primitive>& Primitives() const { return m_primitives; }
    std::vector<Primitive> OfKind(Kind kind) const;
    const Pen& CurrentPen() const { return m_pen; }
    const Font& CurrentFont() const { return m_font; }
    const SurfaceMapping& CurrentMapping() const { return m_mapping; }
    const std::optional<SurfaceRect>& CurrentClip() const { return m_clip; }
    void Clear() { m_primitives.clear(); }

private:
    void Record(Kind kind, std::vector<SurfacePoint> points, std::string text = {}, Colour fill = {});

    std::vector<Primitive> m_primitives;
    Pen m_pen;
    Brush m_brush;
    Font m_font;
    SurfaceMapping m_mapping;
    std::optional<SurfaceRect> m_clip;
};
