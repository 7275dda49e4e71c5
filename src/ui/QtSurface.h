#pragma once

#include "platform/DrawingSurface.h"

class QPainter;

// Draws on a QPainter. Pens are cosmetic, so thin lines survive stretched mappings; text keeps
// its proportions under an anisotropic mapping, as the platform's text output does.
class QtSurface : public DrawingSurface {
public:
    explicit QtSurface(QPainter& painter);

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

private:
    QPainter& m_painter;
    Pen m_pen;
    Brush m_brush;
    Font m_font;
    SurfaceMapping m_mapping;
};
