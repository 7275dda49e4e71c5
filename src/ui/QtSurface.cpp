#include "ui/QtSurface.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {
QColor ToQt(Colour colour) {
    return QColor(colour.r, colour.g, colour.b);
}

QRect ToQt(const SurfaceRect& rect) {
    return QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1)).normalized();
}
} // namespace

QtSurface::QtSurface(QPainter& painter) : m_painter(painter) {
    SelectPen(m_pen);
    SelectBrush(m_brush);
    SetMapping(m_mapping);
}

Pen QtSurface::SelectPen(const Pen& pen) {
    QPen qtPen(ToQt(pen.colour));
    qtPen.setStyle(pen.style == PenStyle::Solid    ? Qt::SolidLine
                   : pen.style == PenStyle::Dotted ? Qt::DotLine
                                                   : Qt::NoPen);
    qtPen.setCosmetic(true);
    qtPen.setWidth(pen.width <= 1 ? 1 : pen.width);
    m_painter.setPen(qtPen);
    return std::exchange(m_pen, pen);
}

Brush QtSurface::SelectBrush(const Brush& brush) {
    switch (brush.style) {
    case BrushStyle::Solid:
        m_painter.setBrush(ToQt(brush.colour));
        break;
    case BrushStyle::ForwardDiagonalHatch:
        m_painter.setBrush(QBrush(ToQt(brush.colour), Qt::FDiagPattern));
        break;
    case BrushStyle::Hollow:
        m_painter.setBrush(Qt::NoBrush);
        break;
    }
    return std::exchange(m_brush, brush);
}

Font QtSurface::SelectFont(const Font& font) {
    return std::exchange(m_font, font);
}

SurfaceMapping QtSurface::SetMapping(const SurfaceMapping& mapping) {
    m_painter.setWindow(mapping.windowOrg.x, mapping.windowOrg.y, mapping.windowExt.x, mapping.windowExt.y);
    m_painter.setViewport(mapping.viewportOrg.x, mapping.viewportOrg.y, mapping.viewportExt.x,
                          mapping.viewportExt.y);
    return std::exchange(m_mapping, mapping);
}

void QtSurface::Line(SurfacePoint from, SurfacePoint to) {
    m_painter.drawLine(from.x, from.y, to.x, to.y);
}

void QtSurface::Polyline(const std::vector<SurfacePoint>& points) {
    QPolygon polygon;
    polygon.reserve(static_cast<int>(points.size()));
    for (const auto& point : points)
        polygon << QPoint(point.x, point.y);
    m_painter.drawPolyline(polygon);
}

void QtSurface::Rectangle(const SurfaceRect& rect) {
    m_painter.drawRect(ToQt(rect));
}

void QtSurface::Ellipse(const SurfaceRect& rect) {
    m_painter.drawEllipse(ToQt(rect));
}

void QtSurface::FillRect(const SurfaceRect& rect, Colour colour) {
    m_painter.fillRect(ToQt(rect), ToQt(colour));
}

void QtSurface::InvertRect(const SurfaceRect& rect) {
    m_painter.save();
    m_painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    m_painter.fillRect(ToQt(rect), Qt::white);
    m_painter.restore();
}

void QtSurface::Text(SurfacePoint at, const std::string& text) {
    // The font's height is in logical units; the glyphs are drawn unstretched at the device size,
    // which grows with the mapping but never shrinks below the desktop's smallest legible font.
    SurfacePoint device = LogicalToDevice(m_mapping, at);
    SurfacePoint size = LogicalToDevice(m_mapping, {at.x, at.y + m_font.height});
    static const int legible =
        QFontInfo(QFontDatabase::systemFont(QFontDatabase::SmallestReadableFont)).pixelSize();
    int pixels = std::max({1, legible, std::abs(size.y - device.y)});
    m_painter.save();
    m_painter.resetTransform();
    m_painter.setViewTransformEnabled(false);
    QFont font(QString::fromStdString(m_font.face));
    font.setPixelSize(pixels);
    font.setWeight(m_font.weight >= 700 ? QFont::Bold : QFont::Normal);
    m_painter.setFont(font);
    m_painter.setPen(ToQt(m_pen.colour));
    m_painter.drawText(QRect(device.x, device.y, 4096, pixels * 2),
                       Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, QString::fromLatin1(text.c_str()));
    m_painter.restore();
}

void QtSurface::ClipTo(const SurfaceRect& rect) {
    // With no clip yet, Qt treats the intersection as a plain replacement.
    m_painter.setClipRect(ToQt(rect), Qt::IntersectClip);
}
